# Aufgabe 9: Der Auswerfer. "part 0 1" macht das Werkstück auswerfbar,
# "part 4 1" für den optischen Sensor erkennbar. Die Fahrt nach unten dauert
# etwa 25 s; until wartet in Schritten von 10 ms.

case Optisch erkanntes Werkstück wird ausgeworfen
punkte 3
part 0 1
part 4 1
run 1000
echo Der AS-i-Bus muss eingeschaltet sein: A2.7 ist 1.
expect A2.7 1
switch 0 1
echo Nach dem Start muss der Träger abwärts fahren: LED 1 (A0.1) leuchtet.
until A0.1 == 1 max 100
echo Abwärts: das Richtungsbit V12.7 muss 1 sein.
expect V12.7 1
echo Unterwegs muss der optische Sensor (V2.7) das Werkstück melden: LED 5 (A0.5) leuchtet.
until A0.5 == 1 max 1500
echo Vor dem Auswerfer muss das Auswerfen beginnen: LED 2 (A0.2) leuchtet.
until A0.2 == 1 max 1500
echo Beim Auswerfen muss der Träger stehen: Antrieb V12.6 ist 0.
expect V12.6 0
echo Beim Auswerfen muss A1.1 das Werkstück freigeben.
expect A1.1 1
echo Der Auswerfer muss ausfahren: V13.2 ist 1.
expect V13.2 1
echo Der Auswerfer muss vorn ankommen (V3.0).
until V3.0 == 1 max 100
echo Vorn angekommen muss der Auswerfer einfahren: V13.3 ist 1.
until V13.3 == 1 max 10
echo Nach dem Ausfahren und Einfahren des Auswerfers muss LED 3 (A0.3) „ausgeworfen“ leuchten.
until A0.3 == 1 max 300
echo Das Werkstück ist weg: E1.0 muss wieder 1 sein.
expect E1.0 1
echo Der Auswerfer muss wieder hinten sein (V3.1).
expect V3.1 1
echo Danach muss der Träger aufwärts fahren: LED 4 (A0.4) leuchtet.
expect A0.4 1
echo Der Träger muss wieder oben ankommen (V3.6).
until V3.6 == 1 max 3000
run 500
echo Oben angekommen: der Antrieb muss stehen, LED 4 (A0.4) ist aus.
expect A0.4 0

case Nicht optisch erkennbares Werkstück fährt bis unten
part 0 1
part 4 0
switch 0 0
run 500
switch 0 1
echo Neuer Start: LED 3 (A0.3) „ausgeworfen“ muss gelöscht sein.
until A0.3 == 0 max 100
echo Der Träger muss bis zum unteren Endschalter fahren (V3.5), ohne auszuwerfen.
until V3.5 == 1 max 4000
echo Ohne optische Erkennung muss LED 5 (A0.5) aus sein.
expect A0.5 0
echo Ohne optische Erkennung darf nicht ausgeworfen werden: LED 3 (A0.3) ist aus.
expect A0.3 0
echo Ohne optische Erkennung muss der Auswerfer eingefahren sein (V13.2 ist 0).
expect V13.2 0
echo Unten muss der Träger umkehren: LED 4 (A0.4) leuchtet.
until A0.4 == 1 max 100
echo Der Träger muss wieder oben ankommen (V3.6).
until V3.6 == 1 max 4000
