# Aufgabe 10: Eine Ablaufsteuerung. Immer genau ein Schritt ist aktiv; LED 0
# bis LED 3 zeigen ihn. Die Fahrt dauert etwa 25 s in jede Richtung.

case Grundstellung S0.0
run 1000
echo Nach dem Start muss Schritt S0.0 aktiv sein.
expect S0.0 1
echo Schritt S0.0 ist aktiv: LED 0 (A0.0) muss leuchten.
expect A0.0 1
echo Ohne Schalter 0 darf kein anderer Schritt aktiv sein: S0.1 ist 0.
expect S0.1 0

case Start: abwärts in S0.1
switch 0 1
run 200
echo Schalter 0 (E0.0) eingeschaltet: Schritt S0.1 muss aktiv sein, S0.0 nicht mehr.
expect S0.0 0
echo In Schritt S0.1 muss LED 1 (A0.1) leuchten.
expect A0.1 1
echo In Schritt S0.1 muss der Träger abwärts fahren: V12.6 und V12.7 sind 1.
expect V12.7 1
echo Der Antrieb V12.6 muss laufen.
expect V12.6 1

case Unten zwei Sekunden warten in S0.2
punkte 2
echo Der Träger muss unten ankommen (V3.5).
until V3.5 == 1 max 4000
run 100
echo Unten: Schritt S0.2 muss aktiv sein, LED 2 (A0.2) leuchtet.
expect S0.2 1
echo In Schritt S0.2 muss der Antrieb stehen: V12.6 ist 0.
expect V12.6 0
run 1500
echo Nach 1,5 s Warten muss Schritt S0.2 noch aktiv sein (A0.2).
expect A0.2 1

case Aufwärts in S0.3 und zurück in die Grundstellung
punkte 2
run 1000
echo Nach 2,5 s Warten muss Schritt S0.3 aktiv sein: LED 3 (A0.3) leuchtet.
expect S0.3 1
echo In Schritt S0.3 muss LED 3 (A0.3) leuchten.
expect A0.3 1
echo In Schritt S0.3 muss der Träger aufwärts fahren: V12.7 ist 0.
expect V12.7 0
echo Der Träger muss oben ankommen (V3.6).
until V3.6 == 1 max 4000
run 100
echo Oben: wieder Schritt S0.0, LED 0 (A0.0) leuchtet.
expect S0.0 1
run 2000
echo Schalter 0 ist noch ein, aber der Ablauf darf nicht von selbst neu starten (S0.1).
expect S0.1 0
