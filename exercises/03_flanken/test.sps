# Aufgabe 3: Flanken. Ein Schalter, der lange ein bleibt, darf nur einmal
# wirken: gezählt wird das Umlegen, nicht das Einsein.

case Stromstoßschalter: einschalten
step
echo Nach dem Start muss LED 0 (A0.0) aus sein.
expect A0.0 0
switch 0 1
step
echo Schalter 0 (E0.0) eingeschaltet: LED 0 (A0.0) muss leuchten.
expect A0.0 1
run 1000 100
echo Schalter 0 bleibt 1 s ein: LED 0 (A0.0) muss ruhig weiterleuchten, nicht flackern.
expect A0.0 1
step
echo Auch einen Zyklus später muss LED 0 (A0.0) noch leuchten.
expect A0.0 1

case Stromstoßschalter: ausschalten
switch 0 0
run 500 100
echo Schalter 0 wieder aus: LED 0 (A0.0) muss weiterleuchten.
expect A0.0 1
switch 0 1
step
echo Schalter 0 zum zweiten Mal ein: LED 0 (A0.0) muss ausgehen.
expect A0.0 0
run 1000 100
echo Schalter 0 bleibt ein: LED 0 (A0.0) muss aus bleiben.
expect A0.0 0
switch 0 0
run 500 100
switch 0 1
step
echo Schalter 0 zum dritten Mal ein: LED 0 (A0.0) muss wieder leuchten.
expect A0.0 1

case Fallende Flanke setzt LED 1
switch 1 1
run 500 100
echo Schalter 1 (E0.1) eingeschaltet: LED 1 (A0.1) muss noch aus sein.
expect A0.1 0
switch 1 0
step
echo Schalter 1 ausgeschaltet (fallende Flanke): LED 1 (A0.1) muss leuchten.
expect A0.1 1
run 1000 100
echo LED 1 (A0.1) muss danach weiterleuchten.
expect A0.1 1

case Schalter 2 löscht LED 1
switch 2 1
step
echo Schalter 2 (E0.2) ein: LED 1 (A0.1) muss aus sein.
expect A0.1 0
switch 2 0
run 500 100
echo Schalter 2 wieder aus: LED 1 (A0.1) muss aus bleiben.
expect A0.1 0
