# Aufgabe 12: Eine Verkehrsampel. Geprüft wird jeweils mitten in einer Phase
# (die Zeit läuft in Schritten von 10 ms).

case Rot und Fußgänger Grün am Anfang
run 2000
echo Nach 2 s muss Rot (LED 0, A0.0) leuchten.
expect A0.0 1
echo Nach 2 s muss Gelb (LED 1, A0.1) aus sein.
expect A0.1 0
echo Nach 2 s muss Grün (LED 2, A0.2) aus sein.
expect A0.2 0
echo Nach 2 s muss Fußgänger Grün (LED 7, A0.7) leuchten.
expect A0.7 1
echo Nach 2 s muss Fußgänger Rot (LED 6, A0.6) aus sein.
expect A0.6 0

case Rot und Gelb nach 4 s
run 2500
echo Nach 4,5 s müssen Rot (A0.0) und Gelb leuchten.
expect A0.0 1
echo Nach 4,5 s muss Gelb (A0.1) zusammen mit Rot leuchten.
expect A0.1 1
echo Nach 4,5 s muss Fußgänger Grün (A0.7) aus sein.
expect A0.7 0
echo Nach 4,5 s muss Fußgänger Rot (A0.6) leuchten.
expect A0.6 1

case Grün von 5 s bis 9 s
run 2500
echo Nach 7 s muss Grün (A0.2) leuchten.
expect A0.2 1
echo Nach 7 s muss Rot (A0.0) aus sein.
expect A0.0 0
echo Nach 7 s muss Gelb (A0.1) aus sein.
expect A0.1 0
echo Auch bei Grün für die Autos muss Fußgänger Rot (A0.6) leuchten.
expect A0.6 1

case Gelb allein nach 9 s, dann wieder Rot
run 2500
echo Nach 9,5 s muss Gelb (A0.1) allein leuchten.
expect A0.1 1
echo Nach 9,5 s muss Grün (A0.2) aus sein.
expect A0.2 0
echo Nach 9,5 s muss Rot (A0.0) aus sein.
expect A0.0 0
run 1000
echo Nach 10,5 s beginnt der nächste Umlauf: Rot (A0.0) muss leuchten.
expect A0.0 1
echo Nach 10,5 s muss Gelb (A0.1) aus sein.
expect A0.1 0
echo Nach 10,5 s muss Fußgänger Grün (A0.7) wieder leuchten.
expect A0.7 1
run 6500
echo Im zweiten Umlauf nach 7 s (17 s nach dem Start) muss Grün (A0.2) leuchten.
expect A0.2 1

case Nachtbetrieb mit Schalter 0
punkte 2
switch 0 1
run 500
echo Nachtbetrieb (Schalter 0, E0.0): Rot (A0.0) muss aus sein.
expect A0.0 0
echo Im Nachtbetrieb muss Grün (A0.2) aus sein.
expect A0.2 0
echo Im Nachtbetrieb müssen die Fußgängerlampen aus sein: Fußgänger Rot (A0.6).
expect A0.6 0
echo Im Nachtbetrieb muss Fußgänger Grün (A0.7) aus sein.
expect A0.7 0
echo Im Nachtbetrieb muss Gelb (A0.1) blinken: es muss angehen.
until A0.1 == 1 max 150
echo Im Nachtbetrieb muss Gelb (A0.1) blinken: es muss wieder ausgehen.
until A0.1 == 0 max 150
echo Im Nachtbetrieb muss Gelb (A0.1) wieder angehen.
until A0.1 == 1 max 150

case Nach dem Nachtbetrieb beginnt der Umlauf mit Rot
punkte 2
switch 0 0
run 1000
echo 1 s nach dem Nachtbetrieb muss Rot (A0.0) leuchten.
expect A0.0 1
echo 1 s nach dem Nachtbetrieb muss Gelb (A0.1) aus sein.
expect A0.1 0
run 3500
echo 4,5 s nach dem Nachtbetrieb müssen Rot und Gelb (A0.1) leuchten.
expect A0.1 1
