# Aufgabe 6: Der Träger fährt auf Schalter 0 nach unten zum Endschalter und
# wieder nach oben. Die ganze Fahrt dauert etwa 25 s in jede Richtung; until
# wartet in Schritten von 10 ms.

case Grundstellung oben
run 1000
echo Nach 1 s muss LED 0 (A0.0) zeigen, dass der Träger oben steht.
expect A0.0 1
echo Ohne Start darf der Träger nicht fahren: LED 2 (A0.2) muss aus sein.
expect A0.2 0
echo Der AS-i-Bus muss eingeschaltet sein: A2.7 ist 1.
expect A2.7 1

case Start mit Schalter 0
switch 0 1
run 500
echo 0,5 s nach Schalter 0 (E0.0) muss der Antrieb laufen: LED 2 (A0.2) leuchtet.
expect A0.2 1
echo Der Träger muss abwärts fahren: LED 3 (A0.3) leuchtet.
expect A0.3 1
echo Das Antriebsbit für Slave 4 (V12.6) muss 1 sein.
expect V12.6 1
echo Das Richtungsbit für Slave 4 (V12.7) muss 1 sein: abwärts.
expect V12.7 1
run 3000
echo Nach 3 s Fahrt ist der Träger nicht mehr oben: LED 0 (A0.0) muss aus sein.
expect A0.0 0

case Abwärts bis zum unteren Endschalter
punkte 2
echo Der Träger muss innerhalb von 40 s unten ankommen (unterer Endschalter V3.5).
until V3.5 == 1 max 4000
run 50
echo Unten angekommen: LED 1 (A0.1) muss leuchten.
expect A0.1 1
echo Unten muss der Träger umkehren: LED 3 (A0.3) für abwärts muss aus sein.
expect A0.3 0
echo Der Antrieb muss für die Fahrt nach oben laufen: LED 2 (A0.2) leuchtet.
expect A0.2 1
echo Aufwärts: das Richtungsbit V12.7 muss 0 sein.
expect V12.7 0

case Aufwärts bis zum oberen Endschalter
punkte 2
echo Der Träger muss innerhalb von 40 s wieder oben ankommen (oberer Endschalter V3.6).
until V3.6 == 1 max 4000
run 200
echo Oben angekommen: der Antrieb muss stehen, LED 2 (A0.2) ist aus.
expect A0.2 0
echo Oben angekommen: das Antriebsbit V12.6 muss 0 sein.
expect V12.6 0
echo Oben angekommen: LED 0 (A0.0) muss leuchten.
expect A0.0 1
run 3000
echo Schalter 0 ist noch ein, aber der Träger darf nicht von selbst neu starten (LED 2, A0.2).
expect A0.2 0

case Zweite Fahrt nach erneutem Einschalten
switch 0 0
run 500
switch 0 1
run 500
echo Schalter 0 aus und wieder ein: der Träger muss wieder abwärts fahren (LED 3, A0.3).
expect A0.3 1
