# Aufgabe 7: Die AS-i-Taster und -Lampen. Die Taster rasten ein: "button K 1"
# drückt Taste K, "button K 0" löst sie. Über den Bus brauchen die Daten ein
# paar Zyklen; until wartet darauf, höchstens 50 Schritte (0,5 s).

case Bus und Grundzustand
run 500
echo Der AS-i-Bus muss eingeschaltet sein: A2.7 ist 1.
expect A2.7 1
echo Ohne gedrückte Taste muss Lampe0 aus sein (V10.0).
expect V10.0 0
echo Ohne gedrückte Taste muss Lampe2 aus sein (V10.2).
expect V10.2 0

case Taste0 auf Lampe0
button 0 1
echo Taste0 gedrückt: sie muss im Abbild V0.0 ankommen.
until V0.0 == 1 max 50
echo Taste0 gedrückt: Lampe0 (V10.0) muss leuchten.
until V10.0 == 1 max 50
button 0 0
echo Taste0 gelöst: Lampe0 (V10.0) muss ausgehen.
until V10.0 == 0 max 50

case Lampe1 ist Taste1 UND Taste2
button 1 1
run 500
echo Nur Taste1 gedrückt (V0.1): Lampe1 (V10.1) muss aus sein.
expect V10.1 0
button 2 1
echo Taste1 und Taste2 gedrückt (V0.2): Lampe1 (V10.1) muss leuchten.
until V10.1 == 1 max 50
button 1 0
echo Taste1 gelöst: Lampe1 (V10.1) muss ausgehen.
until V10.1 == 0 max 50

case Lampe2 ist Taste2 ODER Taste3
run 500
echo Taste2 ist noch gedrückt: Lampe2 (V10.2) muss leuchten.
expect V10.2 1
button 2 0
echo Taste2 gelöst: Lampe2 (V10.2) muss ausgehen.
until V10.2 == 0 max 50
button 3 1
echo Taste3 gedrückt (V0.3): Lampe2 (V10.2) muss leuchten.
until V10.2 == 1 max 50

case Lampe3 blinkt mit Taste3
echo Taste3 gedrückt: Lampe3 (V10.3) muss angehen.
until V10.3 == 1 max 100
echo Lampe3 (V10.3) muss nach höchstens 1 s wieder ausgehen: sie blinkt.
until V10.3 == 0 max 100
echo Lampe3 (V10.3) muss nach höchstens 1 s wieder angehen.
until V10.3 == 1 max 100
button 3 0
run 500
echo Taste3 gelöst: Lampe3 (V10.3) muss aus sein.
expect V10.3 0
