# Aufgabe 1: Lampen und Schalter. Jeder Fall stellt die Schalter ein, lässt
# das Programm einen Zyklus laufen und prüft die LEDs und die Lampe A1.0.

case LED 0 zeigt Schalter 0
switch 0 1
step
echo Schalter 0 ein: LED 0 (A0.0) muss leuchten.
expect A0.0 1
switch 0 0
step
echo Schalter 0 aus: LED 0 (A0.0) muss aus sein.
expect A0.0 0

case LED 1 ist Schalter 1 UND Schalter 2
switch 1 1
step
echo Nur Schalter 1 ein: LED 1 (A0.1) muss aus sein.
expect A0.1 0
switch 1 0
switch 2 1
step
echo Nur Schalter 2 ein: LED 1 (A0.1) muss aus sein.
expect A0.1 0
switch 1 1
step
echo Schalter 1 und 2 ein: LED 1 (A0.1) muss leuchten.
expect A0.1 1
switch 1 0
switch 2 0
step
echo Schalter 1 und 2 aus: LED 1 (A0.1) muss aus sein.
expect A0.1 0

case LED 2 ist Schalter 1 ODER Schalter 2
step
echo Schalter 1 und 2 aus: LED 2 (A0.2) muss aus sein.
expect A0.2 0
switch 1 1
step
echo Nur Schalter 1 ein (E0.1): LED 2 (A0.2) muss leuchten.
expect A0.2 1
switch 1 0
switch 2 1
step
echo Nur Schalter 2 ein (E0.2): LED 2 (A0.2) muss leuchten.
expect A0.2 1
switch 1 1
step
echo Schalter 1 und 2 ein: LED 2 (A0.2) muss leuchten.
expect A0.2 1
switch 1 0
switch 2 0

case LED 3 ist NICHT Schalter 3
step
echo Schalter 3 aus: LED 3 (A0.3) muss leuchten.
expect A0.3 1
switch 3 1
step
echo Schalter 3 ein (E0.3): LED 3 (A0.3) muss aus sein.
expect A0.3 0
switch 3 0

case Wechselschaltung der Lampe A1.0
step
echo Schalter 4 und 5 aus: die Lampe A1.0 muss aus sein.
expect A1.0 0
switch 4 1
step
echo Schalter 4 (E0.4) umgelegt: die Lampe A1.0 muss leuchten.
expect A1.0 1
switch 5 1
step
echo Dazu Schalter 5 (E0.5) umgelegt: die Lampe A1.0 muss wieder aus sein.
expect A1.0 0
switch 4 0
step
echo Schalter 4 zurück, Schalter 5 bleibt ein: die Lampe A1.0 muss leuchten.
expect A1.0 1
