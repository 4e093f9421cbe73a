# Aufgabe 11: Der Träger überwacht seine Fahrten. Meldet ein Endschalter nicht
# innerhalb von 35 s, steht der Antrieb und die Störlampe A1.0 leuchtet; die
# Störungen setzt der Test mit fault. until wartet in Schritten von 10 ms.

case Normale Fahrt ohne Störung
run 1000
switch 0 1
echo Ohne Störung muss der Träger innerhalb von 40 s unten ankommen (V3.5).
until V3.5 == 1 max 4000
echo Ohne Störung darf die Störlampe A1.0 nicht leuchten.
expect A1.0 0
echo Der Träger muss innerhalb von 40 s wieder oben ankommen (V3.6).
until V3.6 == 1 max 4000
run 200
echo Oben angekommen muss der Antrieb stehen: LED 2 (A0.2) ist aus.
expect A0.2 0
echo Auch nach der Fahrt darf die Störlampe A1.0 nicht leuchten.
expect A1.0 0

case Unterer Endschalter defekt
punkte 2
fault EndUnten klemmt 0
switch 0 0
run 200
switch 0 1
run 500
echo Nach Schalter 0 muss der Träger abwärts fahren: LED 3 (A0.3) leuchtet.
expect A0.3 1
echo Meldet der untere Endschalter nicht, muss nach höchstens 40 s die Störlampe A1.0 leuchten.
until A1.0 == 1 max 4000
run 100
echo Bei einer Störung muss der Antrieb stehen: LED 2 (A0.2) ist aus.
expect A0.2 0
echo Bei einer Störung muss das Antriebsbit V12.6 für Slave 4 aus sein.
expect V12.6 0
switch 0 0
run 200
switch 0 1
run 500
echo Solange die Störung nicht quittiert ist, darf Schalter 0 nicht neu starten (LED 2, A0.2).
expect A0.2 0

case Quittieren mit Schalter 1
fault clear all
run 500
echo Ist der Endschalter wieder heil, darf der Träger ohne Quittieren nicht anfahren (LED 2, A0.2).
expect A0.2 0
switch 1 1
run 500
echo Nach dem Quittieren mit Schalter 1 (E0.1) muss die Störlampe A1.0 aus sein.
expect A1.0 0
echo Nach dem Quittieren muss der Träger nach oben fahren: LED 2 (A0.2) leuchtet.
expect A0.2 1
echo Der Träger muss innerhalb von 40 s oben ankommen (V3.6).
until V3.6 == 1 max 4000
switch 1 0

case Antrieb blockiert
punkte 2
fault Schlitten blockiert
switch 0 0
run 200
switch 0 1
run 500
echo Nach Schalter 0 muss der Antrieb laufen: LED 2 (A0.2) leuchtet.
expect A0.2 1
echo Bewegt sich der Träger nicht, muss nach höchstens 40 s die Störlampe A1.0 leuchten.
until A1.0 == 1 max 4000
run 100
echo Bei einer Störung muss der Antrieb stehen: LED 2 (A0.2) ist aus.
expect A0.2 0
