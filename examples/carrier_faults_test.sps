# A grading script for carrier_faults.awl: each case breaks one part of the
# station and expects the program's safe reaction. Run it from this folder:
#
#   spsrun --junit stoerungen_bericht.xml carrier_faults_test.sps
#
# Every case starts from the carrier at the top with no fault set and no
# button latched; "fault clear all" and Taste3 mend what the case broke.

load carrier_faults.awl

case Ohne Störung: hinunter bis zum unteren Endschalter
fault clear all
button 0 1
until V3.5 == 1 max 4000
until A0.2 == 0 max 10
expect A0.7 0

case Unterer Endschalter klemmt auf 0: Zeitüberschreitung hält den Antrieb an
button 0 0
button 1 1
until V3.6 == 1 max 4000
button 1 0
fault EndUnten klemmt 0
button 0 1
until A0.7 == 1 max 4000
until A0.2 == 0 max 10
expect V12.6 0

case Unterer Endschalter klemmt auf 1: beide Endschalter melden, kein Start
button 0 0
fault clear all
button 3 1
until A0.7 == 0 max 100
button 3 0
button 1 1
until V3.6 == 1 max 4000
button 1 0
fault EndUnten klemmt 1
button 0 1
until A0.7 == 1 max 100
until A0.2 == 0 max 10
expect V12.6 0

case Antrieb blockiert: Zeitüberschreitung
button 0 0
fault clear all
button 3 1
until A0.7 == 0 max 100
button 3 0
fault Schlitten blockiert
button 0 1
until A0.7 == 1 max 4000
until A0.2 == 0 max 10

case Slave 6 ausgefallen: der Master meldet den Fehler, der Antrieb steht
button 0 0
fault clear all
button 3 1
until A0.7 == 0 max 100
button 3 0
button 1 1
until V3.6 == 1 max 4000
button 1 0
button 0 1
run 2000
fault slave 6 ausgefallen
until E2.2 == 1 max 100
until A0.7 == 1 max 100
until A0.2 == 0 max 10
fault clear all
button 0 0
button 3 1
until A0.7 == 0 max 100
button 3 0

case Unterer Endschalter verzögert: hält trotzdem am Ende an
button 1 1
until V3.6 == 1 max 4000
button 1 0
fault EndUnten verzögert 500
button 0 1
until V3.5 == 1 max 4000
until A0.2 == 0 max 10
expect A0.7 0

case Rauschen auf dem Sonar stört den Antrieb nicht
button 0 0
fault clear all
fault Sonar rauschen 50
button 1 1
until V3.6 == 1 max 4000
until A0.2 == 0 max 10
expect A0.7 0
button 1 0

case Taste2 prellt: ein Druck zählt einmal
fault clear all
fault Taste2 prellt 5 10
button 2 1
run 1000
button 2 0
run 500
expect Z0 1
fault clear all
