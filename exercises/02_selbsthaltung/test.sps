# Aufgabe 2: Selbsthaltung, Setzen und Rücksetzen. Die Schalter 0 und 1
# werden wie Taster kurz ein- und wieder ausgeschaltet.

case Grundzustand
step
echo Nach dem Start muss der Motor (LED 0, A0.0) aus sein.
expect A0.0 0
echo Nach dem Start muss die Lampe A1.0 „bereit“ leuchten.
expect A1.0 1

case Einschalten mit Schalter 0, Selbsthaltung
switch 0 1
step
echo Schalter 0 (E0.0) ein: der Motor (LED 0, A0.0) muss laufen.
expect A0.0 1
echo Der Motor läuft: die Lampe A1.0 „bereit“ muss aus sein.
expect A1.0 0
switch 0 0
run 1000 100
echo Schalter 0 wieder aus: der Motor (A0.0) muss sich selbst halten und weiterlaufen.
expect A0.0 1

case Ausschalten mit Schalter 1
switch 1 1
step
echo Schalter 1 (E0.1) ein: der Motor (A0.0) muss stehen.
expect A0.0 0
switch 1 0
run 1000 100
echo Schalter 1 wieder aus: der Motor (A0.0) muss aus bleiben.
expect A0.0 0
echo Der Motor steht: die Lampe A1.0 „bereit“ muss wieder leuchten.
expect A1.0 1

case Aus hat Vorrang vor Ein
switch 0 1
switch 1 1
step
echo Schalter 0 und 1 zugleich ein: der Motor (A0.0) muss aus bleiben.
expect A0.0 0
switch 1 0
step
echo Nur noch Schalter 0 ein: jetzt muss der Motor (A0.0) laufen.
expect A0.0 1
switch 0 0
switch 1 1
step
switch 1 0
step

case LED 1 setzen und rücksetzen
switch 2 1
step
switch 2 0
run 500 100
echo Schalter 2 (E0.2) kurz ein: LED 1 (A0.1) muss gesetzt sein und bleiben.
expect A0.1 1
switch 3 1
step
switch 3 0
run 500 100
echo Schalter 3 (E0.3) kurz ein: LED 1 (A0.1) muss zurückgesetzt sein.
expect A0.1 0

case Rücksetzen hat Vorrang vor Setzen
switch 2 1
switch 3 1
step
echo Schalter 2 und 3 zugleich ein: LED 1 (A0.1) muss aus sein.
expect A0.1 0
switch 3 0
step
echo Nur noch Schalter 2 ein: LED 1 (A0.1) muss leuchten.
expect A0.1 1
