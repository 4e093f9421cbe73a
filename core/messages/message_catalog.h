#pragma once

#include <cstddef>
#include <iterator>

#include "messages/latin1.h"

namespace sps {

struct CatalogEntry {
    const char* key;
    const char* text;
};

// The compiled-in catalog: entry 0 is empty, entry 1 the header, then one
// entry per message. It stands in this header so that every key the code
// names is checked against it when the code is compiled (see MessageKey).
// Keys are English and unique; texts are German. A text holds the same printf
// placeholders as its key.
inline constexpr CatalogEntry messageCatalog[] = {
    {"", ""}, // 0
    {"", "Project-Id-Version: de\n"
         "MIME-Version: 1.0\n"
         "Content-Type: text/plain; charset=ISO-8859-1\n"
         "Content-Transfer-Encoding: 8bit\n"
         "Language: de\n"
         "Plural-Forms: nplurals=2; plural=(n != 1);\n"},                                                           // 1
    {"Out of field read", L1("Es wurde beim Lesen der zulässige Bereich überschritten")},                           // 2
    {"Field is writeprotected", L1("Es wurde auf einen schreibgeschützen Bereich zu schreiben versucht")},          // 3
    {"Out of field write", L1("Es wurde über den zulässigen Bereich hinaus geschrieben")},                          // 4
    {"Wrong float size", L1("Das Programm ist falsch kompiliert worden. Ein Float muß 4 Bytes groß sein")},         // 5
    {"Wrong long size", L1("Das Programm ist falsch kompiliert worden. Der Datentyp DWORD muß 4 Bytes groß sein")}, // 6
    {"Wrong word size", L1("Das Programm ist falsch kompiliert worden. Der Datentyp WORD muß 2 Bytes groß sein")},  // 7
    {"Wrong byte size", L1("Das Programm ist falsch kompiliert worden. Der Datentyp BYTE muß 1 Bytes groß sein")},  // 8
    {"Parameter not vaild for pointer", L1("Der angegebene Parameterart wird nicht für Pointer unterstützt.")},     // 9
    {"wrong pointer format", L1("Es wurde eine ungültige Pointeraddresse gefunden")},        // 10
    {"pointer address expected", L1("Es wird für den Pointer-eine Adresse erwartet")},       // 11
    {"Wrong pointer Address", L1("Die Pointeraddresse enthält ungültige Zeichen")},          // 12
    {"Wrong Float format", L1("Die vorliegende Gleitkommazahl enthählt ungültige Zeichen")}, // 13
    {"Unknown AC", L1("Nichtvorhandener Akkumulator angegeben")},                            // 14
    {"Unknown Parameter Type", L1("Der angegeben Parameter ist dem Simulator unbekannt.")},  // 15
    {"Syntax error in number", L1("Die angegebene Zahl enthält ungültige Zeichen")},         // 16
    {"Wrong base",
     L1("Es ist eine falsche Basis angegeben worden. (Es wird ein Wert von 2 bis 35 unterstützt.)")},              // 17
    {"Number expected", L1("Es wurde ein Zahl erwartet")},                                                         // 18
    {"Wrong Timer/Counter Address", L1("Der angegeben Parameter kann nicht als Zähler/Timername erkannt werden")}, // 19
    {"Counter not present", L1("Der angegebene Zähler exisitert nicht")},                                          // 20
    {"Timer not present", L1("Der angegebe Timer exisitert nicht")},                                               // 21
    {"Wrong AE/AA Address", L1("Es liegt ein Fehler in der AE/AA -Addresse vor")},                                 // 22
    {"Port not present", L1("Der angegeben Analog Ein/Ausgang exsisitiert nicht")},                                // 23
    {"Address expected", L1("Es wird eine Adresse erwartet")},                                                     // 24
    {"Bit Address missing", L1("Es wird eine Bitnummer erwartet")},                                                // 25
    {"Bitnumber out of range", L1("Die Bitnummer ist nicht im Bereich von 0 bis 7")},                              // 26
    {"Syntax error in Bit Address", L1("Die angegebene Bitaddresse enthält nicht erlaube Zeichen")},               // 27
    {"Wrong Parameter Address", L1("Der angegeben Parameter enthält nicht erlaubte Zeichen")},                     // 28
    {"Possible loop dedected",
     L1("Es wurde eine mögliche Endlosschleife gefunden oder ein Programmzyklus enthält zu viele Befehle.")},      // 29
    {"Label not found", L1("Es ist der angegebene Label nicht gefunden worden")},                                  // 30
    {"Parse-error(%d):%s", L1("Fehler beim einlesen nahe Zeile %d: %s")},                                          // 31
    {"to many commands in the network", L1("Die verwendete Operation darf nur alleine in einem Netzwerk stehen")}, // 32
    {"ORGANIZATION_BLOCK expected", L1("ORGANIZATION_BLOCK als nächstes Schlüsselwort erwartet")},                 // 33
    {"Unexpected text(%d):%s",
     L1("Es ist ein nicht erwartetes Zeichen in der Eingabedatei in Zaile %d aufgetreten: %s")}, // 34
    {"KOP-place in use", L1("Das KOP-Netzwerk kann nicht angezeigt werden, da es nur in überlappende Elemente "
                            "aufgelöst werden kann.")}, // 35
    {"Entry in use", L1("Das KOP-Netzwerk kann nicht angezeigt werden, da es nur mit überlappenden Linien aufgelöst "
                        "werden kann")},                                                                      // 36
    {"getbit not supported", L1("Der Parametertyp kann nicht als Bit gelesen werden.")},                      // 37
    {"getbyte not supported", L1("Der Parametertyp kann nicht als Byte gelesen werden.")},                    // 38
    {"getword not supported", L1("Der Parametertyp kann nicht als Word gelesen werden.")},                    // 39
    {"getlong not supported", L1("Der Parametertyp kann nicht als DWord gelesen werden.")},                   // 40
    {"setbit not supported", L1("Der Parametertyp kann nicht als Bit geschrieben werden.")},                  // 41
    {"setbyte not supported", L1("Der Parametertyp kann nicht als Byte geschrieben werden.")},                // 42
    {"setword not supported", L1("Der Parametertyp kann nicht als Word geschrieben werden.")},                // 43
    {"setlong not supported", L1("Der Parametertyp kann nicht als DWord geschrieben werden.")},               // 44
    {"Only E supported", L1("Die Operation unterstützt nur E als Parametertyp.")},                            // 45
    {"Only A supported", L1("Es wird nur der Parametertyp A unterstützt.")},                                  // 46
    {"Timer can only be reseted", L1("Ein Timer kann nur zurückgesetzt werden")},                             // 47
    {"Empty pointer", L1("Der angegebene Pointer ist leer und zeigt auf keinen gültigen Speicherbereich")},   // 48
    {"Can't read a dword on parameter", L1("Der angegebene Parameter kann nicht als DWord gelesen werden.")}, // 49
    {"Pointer out of range", L1("Der angegebene Pointer zeigt in einen ungültigen Bereichen")},               // 50
    {"File %s not found\n", L1("Die angegebene Datei '%s' konnte nicht gefunden werden\n")},                  // 51
    {"Operand expected", L1("Es wird ein Parameter erwartet")},                                               // 52
    {"2nd Operand expected", L1("Es wird ein zweiter Parameter erwartet")},                                   // 53
    {"3nd Operand expected", L1("Es wird ein dritter Parameter erwartet")},                                   // 54
    {"no Operand expected", L1("Es wurde kein Parameter erwartet, es war aber einer angegeben.")},            // 55
    {"Can't read a bit on parameter", L1("Der angegebene Parameter kann nicht als Bit ausgelesen werden.")},  // 56
    {"Can't read a byte on parameter", L1("Der angegebene Parameter kann nicht als Byte gelesen werden")},    // 57
    {"Can't read a word on parameter", L1("Der angegebene Parameter kann nicht als Word gelesen werden.")},   // 58
    {"Can't write a bit on parameter", L1("Kann den angegebenen Parameter nicht als Bit schreiben")},         // 59
    {"Can't write a byte on parameter", L1("Kann den angegebenen Parameter nicht als Byte schreiben")},       // 60
    {"Can't write a word on parameter", L1("Kann den angegebenen Parameter nicht als Word schreiben")},       // 61
    {"Can't write a dword on parameter", L1("Kann den angegebenen Parameter nicht als DWord schreiben")},     // 62
    {"Only number possible", L1("Es wird eine Zahl als Parameter erwartet.")},                                // 63
    {"SBR expected", L1("Es wird der Name eines Unterprogrammes erwartet, der mit SBR beginnt")},             // 64
    {"Only S possible", L1("Es ist nur S als Parametertyp möglich")},                                         // 65
    {"Parametertype not possible",
     L1("Der angegebene Parametertyp wird von dieser Operation nicht unterstützt.")},              // 66
    {"Parametertype A only possible", L1("Es ist nur A als Parametertyp möglich")},                // 67
    {"Counter expected", L1("Es wird ein Zähler als Parameter erwartet")},                         // 68
    {"Timer expected", L1("Es wird ein Timer als Parameter erwartet ")},                           // 69
    {"Timer only supports TONR", L1("Der ausgewählte Zähler unterstützt nur die Funktion TONR")},  // 70
    {"Timer only supports TON", L1("Der ausgewählte Zähler unterstützt nur die Funktion TON")},    // 71
    {"Invalid reset parameter", L1("Es wird nur 1 als Anzahl bei Zählen und Timern unterstützt")}, // 72
    {"SCRT not in SCR-Block", L1("SCRT wird nicht in einen SCR-Block verwendet")},                 // 73
    {"SCRE not in SCR-Block", L1("SCRE kommt nicht in einen SCR-Block vor")},                      // 74
    {"nested SCR-Block", L1("Es sind verschachtelte SCR-Blöcke vorhanden")},                       // 75
    {"SCR used in Subroutine",
     L1("Es wurde eine Schrittkette in einen Unterprogramm verwendet, was auf der SPS nicht erlaubt ist.")}, // 76
    {"SBR not found", L1("Das angegebene Unterprogramm wurde nicht gefunden")},                              // 77
    {"Unknown Operation", L1("Die angegebene Operation gibt es nicht oder sie ist nicht implementiert")},    // 78
    {"File not found", L1("Die angegebene Datei konnte nicht gefunden werden")},                             // 79
    {"Subroutines nested too deeply", L1("Die Unterprogramme sind zu tief verschachtelt")},                  // 80
    {"KOP-levels out of range",
     L1("Das KOP-Netzwerk kann nicht angezeigt werden, da seine Verknüpfungsebenen nicht zueinander passen")}, // 81
    // Signal recording and its export.
    {"Too many recorded operands", L1("Es können höchstens 32 Operanden aufgezeichnet werden")},                  // 82
    {"Operand has no value to record", L1("Der angegebene Operand hat keinen Wert, der sich aufzeichnen lässt")}, // 83
    {"Format not possible for recording",
     L1("Der angegebene Operand kann nicht in diesem Format aufgezeichnet werden")},     // 84
    {"File %s cannot be written", L1("Die Datei '%s' konnte nicht geschrieben werden")}, // 85
    // Watching, forcing and stopping on conditions.
    {"Operand can't be forced",
     L1("Der angegebene Operand kann nicht geforct werden. Forcen lassen sich E, A, M, V, S, AEW, AAW, AC, T und Z.")},
    {"Too many forced operands", L1("Es können höchstens 64 Operanden gleichzeitig geforct werden.")},
    {"Too many pending writes", L1("Es warten schon 64 Schreibaufträge auf den nächsten Zyklus.")},
    {"Constant expected", L1("Als Wert wird eine Konstante erwartet (zum Beispiel 1, -5, 16#FF oder 1.5).")},
    {"Value out of range", L1("Der Wert passt nicht in die Breite des Operanden.")},
    {"Relation expected",
     L1("Es wird ein Vergleich (==, <>, <, >, <=, >=) mit einem Wert oder eine Flanke (steigt, fällt) erwartet.")},
    {"Edge needs a bit", L1("Eine Flanke (steigt, fällt) gibt es nur bei einem Operanden, der als Bit gelesen wird.")},
    {"Too many breakpoints", L1("Es können höchstens 32 Haltepunkte gesetzt werden.")},
    {"Trace cut off after %d lines",
     L1("Der Trace wurde nach %d Zeilen abgeschnitten; der Zyklus lief bis zu seinem Ende weiter.")},
    {"Line %d longer than %d characters",
     L1("Die Zeile %d der Eingabedatei ist länger als %d Zeichen und wird nicht eingelesen")},
    // Rules that span the instructions of a program.
    {"Timer %s used by TON and TOF",
     L1("Der Timer %s wird von TON und von TOF verwendet; ein Timer kann nur eine der beiden Funktionen haben.")},
    {"Counter %s used by %s and %s",
     L1("Der Zähler %s wird von %s und von %s verwendet; ein Zähler zählt entweder aufwärts oder abwärts.")},
    {"%s only in an organization block", L1("%s ist nur in einem Organisationsbaustein (OB) erlaubt.")},
    {"FOR without NEXT", L1("Zu diesem FOR fehlt das passende NEXT im selben Baustein.")},
    {"NEXT without FOR", L1("Zu diesem NEXT gibt es kein passendes FOR im selben Baustein.")},
    {"Loops nested too deeply", L1("FOR-Schleifen lassen sich höchstens achtfach ineinander verschachteln.")},
    // Paths that name no program file.
    {"Path %s is a folder", L1("Der angegebene Pfad '%s' ist ein Ordner und keine Datei")},
    {"File %s is no regular file",
     L1("Die angegebene Datei '%s' ist keine gewöhnliche Datei (sondern zum Beispiel ein Gerät oder eine Pipe) und "
        "wird nicht gelesen")},
    // The import of programs written in either mnemonic set.
    {"Odd analog address",
     L1("Analogworte liegen auf geraden Byteadressen (AIW0, AIW2, ...); eine ungerade Adresse gibt es nicht.")},
    {"Import error in line %d: %s",
     L1("Fehler beim Importieren in Zeile %d: %s")},
    {"Operation %s in line %d unknown",
     L1("Die Operation '%s' in Zeile %d gibt es im Simulator nicht.")},
    {"Symbol %s in line %d undefined",
     L1("Das Symbol '%s' in Zeile %d ist nicht definiert: es ist kein Operand und steht in keiner Symboltabelle.")},
    {"Parameter table in line %d",
     L1("Unterprogramme mit Parametertabellen (VAR_INPUT, VAR_OUTPUT, VAR_IN_OUT, VAR_TEMP) werden nicht unterstützt (Zeile %d).")},
    {"Local memory in line %d",
     L1("Der Lokalspeicher L und lokale Variablen (#Name) werden nicht unterstützt (Zeile %d).")},
    {"Mixed mnemonic sets: %s in line %d, %s in line %d",
     L1("Die Datei mischt den deutschen und den internationalen Mnemonik-Satz: '%s' in Zeile %d passt nicht zu '%s' in Zeile %d.")},
    {"Block from line %d has no end",
     L1("Der Baustein aus Zeile %d endet nicht: sein END_...-Schlüsselwort fehlt.")},
    {"%s in line %d ends no block of line %d",
     L1("%s in Zeile %d beendet den Baustein aus Zeile %d nicht.")},
    {"Line %d outside a block",
     L1("Die Zeile %d steht außerhalb eines Bausteins; erwartet wird ORGANIZATION_BLOCK, SUBROUTINE_BLOCK oder INTERRUPT_BLOCK.")},
    {"No organization block",
     L1("Die Datei enthält keinen Organisationsbaustein (ORGANIZATION_BLOCK).")},
    {"Too many operands in line %d",
     L1("Die Operation in Zeile %d hat mehr als drei Operanden.")},
    {"Block name missing in line %d",
     L1("In Zeile %d fehlt der Name des Bausteins.")},
    {"Subroutine %s called in line %d missing",
     L1("Das Unterprogramm '%s', das Zeile %d aufruft, gibt es in der Datei nicht.")},
    {"CALL with parameters in line %d",
     L1("Unterprogrammaufrufe mit Parametern werden nicht unterstützt (Zeile %d).")},
    {"%s in line %d stands not alone",
     L1("%s in Zeile %d muss allein in seinem Netzwerk stehen.")},
    {"Symbol table line %d needs symbol and address",
     L1("Die Zeile %d der Symboltabelle nennt kein Symbol mit Adresse (erwartet: Symbol, Adresse und wahlweise Kommentar, getrennt durch Tabulator, Semikolon oder Komma).")},
    {"Symbol %s given two addresses in line %d",
     L1("Das Symbol '%s' bekommt in Zeile %d der Symboltabelle eine zweite, andere Adresse.")},
    {"%d characters shown as ?",
     L1("%d Zeichen der Datei gibt es im Zeichensatz des Simulators nicht; Namen und Kommentare zeigen sie als \"?\".")},
    // Network stepping and network breakpoints.
    {"Network %s %d missing", L1("In %s gibt es kein Netzwerk %d.")},
    // The scan history.
    {"History off", L1("Es werden keine vergangenen Zyklen aufbewahrt.")},
    {"History reaches back to cycle %s", L1("Zurück geht es nur bis Zyklus %s, dem ältesten aufbewahrten.")},
    {"Cycle %s not run yet, the last is %s", L1("Zyklus %s ist noch nicht gelaufen; der letzte ist Zyklus %s.")},
    {"History at cycle %s", L1("Zyklus %s")},
    {"History at cycle %s back by %s", L1("Zyklus %s (zurückgegangen um %s)")},
    {"History keeps cycles %s to %s in %s KiB, limit %s",
     L1("Aufbewahrt: Zyklus %s bis %s, %s KiB (Grenze: %s Zyklen).")},
    // Faults on the station.
    {"Unknown fault input %s, valid: %s", L1("Einen Eingang '%s' gibt es an der Station nicht; möglich sind: %s.")},
    {"Fault kind missing for %s, valid: %s", L1("Für %s fehlt die Art der Störung; möglich sind: %s.")},
    {"Fault %s not possible on %s, valid: %s", L1("Die Störung '%s' gibt es für %s nicht; möglich sind: %s.")},
    {"Fault %s needs %s from %d to %d", L1("Die Störung '%s' braucht als %s eine Zahl von %d bis %d.")},
    {"Too many values for fault %s", L1("Für die Störung '%s' sind zu viele Werte angegeben.")},
    {"Slave number 1 to 9 expected", L1("Nach 'slave' wird die Nummer eines Slaves von 1 bis 9 erwartet.")},
    // The program window.
    {"Loaded: %s (%d networks)", L1("Geladen: %s (%d Netzwerke)")},
    {"Save changes?", L1("Änderungen speichern?")},
    {"Program %s changed on disk", L1("Die Datei %s wurde außerhalb geändert, das Fenster hat ungespeicherte Änderungen.")},
    {"Program %s is no text", L1("Die Datei %s ist keine Textdatei; sie wird nur angezeigt und nicht bearbeitet.")},
    {"Character beyond ISO-8859-1", L1("Der Text enthält Zeichen, die es im Zeichensatz der Datei (ISO-8859-1) nicht gibt; die Datei wurde nicht gespeichert.")},
    {"No program loaded", L1("Es ist kein Programm geladen; Datei/Neu beginnt ein neues.")},
};

inline constexpr std::size_t messageCatalogSize = std::size(messageCatalog);

// The German text for a key known only at run time; the key itself when the
// catalog has no entry for it (so an untranslated message shows in English),
// null for null. Keys written in the code go through MessageKey instead.
const char* lookupMessage(const char* key);

} // namespace sps
