# Aufgabe 4: Zeiten. Die Zeit läuft in Schritten von 10 ms (run MS). Geprüft
# wird immer mitten in einer Phase, so dass 100 ms früher oder später nicht
# stören.

case Blinker LED 7
run 500
echo Nach 0,5 s muss LED 7 (A0.7) leuchten (erste Sekunde an).
expect A0.7 1
run 1000
echo Nach 1,5 s muss LED 7 (A0.7) aus sein (zweite Sekunde aus).
expect A0.7 0
run 1000
echo Nach 2,5 s muss LED 7 (A0.7) wieder leuchten.
expect A0.7 1
run 1000
echo Nach 3,5 s muss LED 7 (A0.7) wieder aus sein.
expect A0.7 0
run 4000
echo Nach 7,5 s muss LED 7 (A0.7) aus sein: der Blinker hält seinen Takt.
expect A0.7 0
run 1000
echo Nach 8,5 s muss LED 7 (A0.7) leuchten.
expect A0.7 1

case Einschaltverzögerung der Lampe A1.0
switch 0 1
run 2500
echo Schalter 0 (E0.0) seit 2,5 s ein: die Lampe A1.0 muss noch aus sein.
expect A1.0 0
run 1000
echo Schalter 0 seit 3,5 s ein: die Lampe A1.0 muss leuchten.
expect A1.0 1
switch 0 0
step
echo Schalter 0 aus: die Lampe A1.0 muss sofort ausgehen.
expect A1.0 0
switch 0 1
run 2000
switch 0 0
run 500
switch 0 1
run 2000
echo Schalter 0 war unterbrochen: die Zeit beginnt neu, nach 2 s muss A1.0 noch aus sein.
expect A1.0 0
run 1500
echo Nach 3,5 s ohne Unterbrechung muss die Lampe A1.0 leuchten.
expect A1.0 1
switch 0 0

case Ausschaltverzögerung der LED 0
step
echo Schalter 1 (E0.1) aus: LED 0 (A0.0) muss aus sein.
expect A0.0 0
switch 1 1
step
echo Schalter 1 ein: LED 0 (A0.0) muss sofort leuchten.
expect A0.0 1
run 3000
switch 1 0
run 1500
echo Schalter 1 seit 1,5 s aus: LED 0 (A0.0) muss noch leuchten.
expect A0.0 1
run 1000
echo Schalter 1 seit 2,5 s aus: LED 0 (A0.0) muss aus sein.
expect A0.0 0
