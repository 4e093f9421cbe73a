# Aufgabe 5: Zähler. Jedes Einschalten von Schalter 0 ist ein Teil; die LEDs
# zeigen den Zählerstand als Dualzahl (LED 0 ist die Einerstelle).

case Zählerstand 0 nach dem Start
step
echo Nach dem Start müssen alle LEDs (AB0) aus sein: Zählerstand 0.
expect AB0 0
echo Nach dem Start muss die Lampe A1.0 aus sein.
expect A1.0 0

case Vorwärts zählen mit Schalter 0
switch 0 1
run 500
echo Schalter 0 (E0.0) einmal eingeschaltet: die LEDs (AB0) müssen 1 zeigen, nur LED 0 (A0.0) leuchtet.
expect AB0 1
echo Solange Schalter 0 ein bleibt, darf nicht weitergezählt werden: LED 0 (A0.0) leuchtet.
expect A0.0 1
switch 0 0
run 100
switch 0 1
run 100
switch 0 0
run 100
echo Zweimal gezählt: die LEDs (AB0) müssen 2 zeigen, nur LED 1 (A0.1) leuchtet.
expect AB0 2
switch 0 1
run 100
switch 0 0
run 100
echo Dreimal gezählt: die LEDs (AB0) müssen 3 zeigen.
expect AB0 3
echo Bei 3 Teilen muss die Lampe A1.0 noch aus sein.
expect A1.0 0

case Lampe A1.0 bei fünf Teilen
punkte 2
switch 0 1
run 100
switch 0 0
run 100
echo Vier Teile: die Lampe A1.0 muss noch aus sein.
expect A1.0 0
switch 0 1
run 100
switch 0 0
run 100
echo Fünf Teile: die LEDs (AB0) müssen 5 zeigen.
expect AB0 5
echo Fünf Teile: die Lampe A1.0 muss leuchten.
expect A1.0 1
switch 0 1
run 100
switch 0 0
run 100
echo Sechs Teile: die LEDs (AB0) müssen 6 zeigen.
expect AB0 6
echo Sechs Teile: die Lampe A1.0 muss weiter leuchten.
expect A1.0 1

case Rückwärts zählen mit Schalter 2
punkte 2
switch 2 1
run 100
switch 2 0
run 100
echo Schalter 2 (E0.2) einmal: die LEDs (AB0) müssen wieder 5 zeigen.
expect AB0 5
switch 2 1
run 100
switch 2 0
run 100
echo Noch einmal Schalter 2: 4 Teile, die Lampe A1.0 muss aus sein.
expect A1.0 0
echo Die LEDs (AB0) müssen 4 zeigen.
expect AB0 4

case Löschen mit Schalter 1
switch 1 1
run 100
echo Schalter 1 (E0.1) ein: die LEDs (AB0) müssen 0 zeigen.
expect AB0 0
switch 0 1
run 100
switch 0 0
run 100
echo Solange Schalter 1 ein ist, wird nicht gezählt: die LEDs (AB0) bleiben 0.
expect AB0 0
switch 1 0
switch 0 1
run 100
echo Schalter 1 aus und Schalter 0 ein: die LEDs (AB0) müssen wieder 1 zeigen.
expect AB0 1
