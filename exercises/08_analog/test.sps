# Aufgabe 8: Analogwerte. "joystick DX DY" stellt den Knüppel DX, DY Pixel
# aus der Mitte (DY negativ ist oben, 66 ist der Rand). Der Wert kommt über
# den Bus in einigen Zyklen an; until wartet darauf.

case Joystick in der Mitte
center
echo Joystick in der Mitte (Wert 0): LED 0 bis LED 3 müssen leuchten, LEDs (AB0) = 15.
until AB0 == 15 max 500
echo In der Mitte muss LED 3 (A0.3) leuchten.
expect A0.3 1
echo In der Mitte muss LED 4 (A0.4) aus sein.
expect A0.4 0

case Joystick ganz oben
joystick 0 -66
echo Joystick ganz oben (Wert 175): alle acht LEDs (AB0 = 255) müssen leuchten.
until AB0 == 255 max 500
echo Ganz oben muss der gelesene Wert VW10 175 sein (Netzwerke 1 bis 25 nicht ändern).
expect VW10 175
echo Ganz oben muss auch LED 7 (A0.7) leuchten.
expect A0.7 1

case Joystick ganz unten
joystick 0 66
echo Joystick ganz unten (Wert -175): alle LEDs (AB0) müssen aus sein.
until AB0 == 0 max 500
echo Ganz unten muss LED 0 (A0.0) aus sein.
expect A0.0 0

case Joystick halb oben
joystick 0 -33
echo Joystick halb oben (Wert 87): LED 0 bis LED 5 müssen leuchten, LEDs (AB0) = 63.
until AB0 == 63 max 500
echo Halb oben muss LED 5 (A0.5) leuchten.
expect A0.5 1
echo Halb oben muss LED 6 (A0.6) aus sein.
expect A0.6 0

case Die Leuchtzeile folgt dem Joystick nach rechts nicht
joystick 66 0
run 2000
echo Joystick ganz rechts, aber in der Höhe der Mitte: die LEDs (AB0) müssen 15 zeigen.
expect AB0 15

case Die Schwellen der unteren LEDs
punkte 2
joystick 0 45
echo Joystick weit unten (Wert -119): nur LED 0 darf leuchten, LEDs (AB0) = 1.
until AB0 == 1 max 500
echo Bei -119 muss LED 1 (A0.1) aus sein.
expect A0.1 0
joystick 0 30
echo Joystick etwas unten (Wert -79): LED 0 und LED 1 müssen leuchten, LEDs (AB0) = 3.
until AB0 == 3 max 500
echo Bei -79 muss LED 2 (A0.2) aus sein.
expect A0.2 0

case Genau über der Schwelle von LED 4
punkte 2
joystick 0 -7
echo Joystick knapp über der Mitte (Wert 18, nicht über 20): LEDs (AB0) = 15.
until AB0 == 15 max 500
echo Bei 18 muss LED 4 (A0.4) aus sein.
expect A0.4 0
joystick 0 -8
echo Joystick etwas höher (Wert 21, über 20): LED 4 (A0.4) muss angehen, LEDs (AB0) = 31.
until AB0 == 31 max 500
