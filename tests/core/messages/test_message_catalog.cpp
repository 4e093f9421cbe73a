#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "messages/latin1.h"
#include "messages/message_catalog.h"

using namespace sps;

namespace {

struct ExpectedMessage {
    std::size_t index;
    const char* key;
    const char* text;
};

// Every message as the user must read it, in catalog order.
const ExpectedMessage expectedMessages[] = {
    {2, "Out of field read", L1("Es wurde beim Lesen der zulässige Bereich überschritten")},
    {3, "Field is writeprotected", L1("Es wurde auf einen schreibgeschützen Bereich zu schreiben versucht")},
    {4, "Out of field write", L1("Es wurde über den zulässigen Bereich hinaus geschrieben")},
    {5, "Wrong float size", L1("Das Programm ist falsch kompiliert worden. Ein Float muß 4 Bytes groß sein")},
    {6, "Wrong long size", L1("Das Programm ist falsch kompiliert worden. Der Datentyp DWORD muß 4 Bytes groß sein")},
    {7, "Wrong word size", L1("Das Programm ist falsch kompiliert worden. Der Datentyp WORD muß 2 Bytes groß sein")},
    {8, "Wrong byte size", L1("Das Programm ist falsch kompiliert worden. Der Datentyp BYTE muß 1 Bytes groß sein")},
    {9, "Parameter not vaild for pointer", L1("Der angegebene Parameterart wird nicht für Pointer unterstützt.")},
    {10, "wrong pointer format", L1("Es wurde eine ungültige Pointeraddresse gefunden")},
    {11, "pointer address expected", L1("Es wird für den Pointer-eine Adresse erwartet")},
    {12, "Wrong pointer Address", L1("Die Pointeraddresse enthält ungültige Zeichen")},
    {13, "Wrong Float format", L1("Die vorliegende Gleitkommazahl enthählt ungültige Zeichen")},
    {14, "Unknown AC", L1("Nichtvorhandener Akkumulator angegeben")},
    {15, "Unknown Parameter Type", L1("Der angegeben Parameter ist dem Simulator unbekannt.")},
    {16, "Syntax error in number", L1("Die angegebene Zahl enthält ungültige Zeichen")},
    {17, "Wrong base", L1("Es ist eine falsche Basis angegeben worden. (Es wird ein Wert von 2 bis 35 unterstützt.)")},
    {18, "Number expected", L1("Es wurde ein Zahl erwartet")},
    {19, "Wrong Timer/Counter Address", L1("Der angegeben Parameter kann nicht als Zähler/Timername erkannt werden")},
    {20, "Counter not present", L1("Der angegebene Zähler exisitert nicht")},
    {21, "Timer not present", L1("Der angegebe Timer exisitert nicht")},
    {22, "Wrong AE/AA Address", L1("Es liegt ein Fehler in der AE/AA -Addresse vor")},
    {23, "Port not present", L1("Der angegeben Analog Ein/Ausgang exsisitiert nicht")},
    {24, "Address expected", L1("Es wird eine Adresse erwartet")},
    {25, "Bit Address missing", L1("Es wird eine Bitnummer erwartet")},
    {26, "Bitnumber out of range", L1("Die Bitnummer ist nicht im Bereich von 0 bis 7")},
    {27, "Syntax error in Bit Address", L1("Die angegebene Bitaddresse enthält nicht erlaube Zeichen")},
    {28, "Wrong Parameter Address", L1("Der angegeben Parameter enthält nicht erlaubte Zeichen")},
    {29, "Possible loop dedected",
     L1("Es wurde eine mögliche Endlosschleife gefunden oder ein Programmzyklus enthält zu viele Befehle.")},
    {30, "Label not found", L1("Es ist der angegebene Label nicht gefunden worden")},
    {31, "Parse-error(%d):%s", L1("Fehler beim einlesen nahe Zeile %d: %s")},
    {32, "to many commands in the network", L1("Die verwendete Operation darf nur alleine in einem Netzwerk stehen")},
    {33, "ORGANIZATION_BLOCK expected", L1("ORGANIZATION_BLOCK als nächstes Schlüsselwort erwartet")},
    {34, "Unexpected text(%d):%s",
     L1("Es ist ein nicht erwartetes Zeichen in der Eingabedatei in Zaile %d aufgetreten: %s")},
    {35, "KOP-place in use",
     L1("Das KOP-Netzwerk kann nicht angezeigt werden, da es nur in überlappende Elemente aufgelöst werden kann.")},
    {36, "Entry in use",
     L1("Das KOP-Netzwerk kann nicht angezeigt werden, da es nur mit überlappenden Linien aufgelöst werden kann")},
    {37, "getbit not supported", L1("Der Parametertyp kann nicht als Bit gelesen werden.")},
    {38, "getbyte not supported", L1("Der Parametertyp kann nicht als Byte gelesen werden.")},
    {39, "getword not supported", L1("Der Parametertyp kann nicht als Word gelesen werden.")},
    {40, "getlong not supported", L1("Der Parametertyp kann nicht als DWord gelesen werden.")},
    {41, "setbit not supported", L1("Der Parametertyp kann nicht als Bit geschrieben werden.")},
    {42, "setbyte not supported", L1("Der Parametertyp kann nicht als Byte geschrieben werden.")},
    {43, "setword not supported", L1("Der Parametertyp kann nicht als Word geschrieben werden.")},
    {44, "setlong not supported", L1("Der Parametertyp kann nicht als DWord geschrieben werden.")},
    {45, "Only E supported", L1("Die Operation unterstützt nur E als Parametertyp.")},
    {46, "Only A supported", L1("Es wird nur der Parametertyp A unterstützt.")},
    {47, "Timer can only be reseted", L1("Ein Timer kann nur zurückgesetzt werden")},
    {48, "Empty pointer", L1("Der angegebene Pointer ist leer und zeigt auf keinen gültigen Speicherbereich")},
    {49, "Can't read a dword on parameter", L1("Der angegebene Parameter kann nicht als DWord gelesen werden.")},
    {50, "Pointer out of range", L1("Der angegebene Pointer zeigt in einen ungültigen Bereichen")},
    {51, "File %s not found\n", L1("Die angegebene Datei '%s' konnte nicht gefunden werden\n")},
    {52, "Operand expected", L1("Es wird ein Parameter erwartet")},
    {53, "2nd Operand expected", L1("Es wird ein zweiter Parameter erwartet")},
    {54, "3nd Operand expected", L1("Es wird ein dritter Parameter erwartet")},
    {55, "no Operand expected", L1("Es wurde kein Parameter erwartet, es war aber einer angegeben.")},
    {56, "Can't read a bit on parameter", L1("Der angegebene Parameter kann nicht als Bit ausgelesen werden.")},
    {57, "Can't read a byte on parameter", L1("Der angegebene Parameter kann nicht als Byte gelesen werden")},
    {58, "Can't read a word on parameter", L1("Der angegebene Parameter kann nicht als Word gelesen werden.")},
    {59, "Can't write a bit on parameter", L1("Kann den angegebenen Parameter nicht als Bit schreiben")},
    {60, "Can't write a byte on parameter", L1("Kann den angegebenen Parameter nicht als Byte schreiben")},
    {61, "Can't write a word on parameter", L1("Kann den angegebenen Parameter nicht als Word schreiben")},
    {62, "Can't write a dword on parameter", L1("Kann den angegebenen Parameter nicht als DWord schreiben")},
    {63, "Only number possible", L1("Es wird eine Zahl als Parameter erwartet.")},
    {64, "SBR expected", L1("Es wird der Name eines Unterprogrammes erwartet, der mit SBR beginnt")},
    {65, "Only S possible", L1("Es ist nur S als Parametertyp möglich")},
    {66, "Parametertype not possible", L1("Der angegebene Parametertyp wird von dieser Operation nicht unterstützt.")},
    {67, "Parametertype A only possible", L1("Es ist nur A als Parametertyp möglich")},
    {68, "Counter expected", L1("Es wird ein Zähler als Parameter erwartet")},
    {69, "Timer expected", L1("Es wird ein Timer als Parameter erwartet ")},
    {70, "Timer only supports TONR", L1("Der ausgewählte Zähler unterstützt nur die Funktion TONR")},
    {71, "Timer only supports TON", L1("Der ausgewählte Zähler unterstützt nur die Funktion TON")},
    {72, "Invalid reset parameter", L1("Es wird nur 1 als Anzahl bei Zählen und Timern unterstützt")},
    {73, "SCRT not in SCR-Block", L1("SCRT wird nicht in einen SCR-Block verwendet")},
    {74, "SCRE not in SCR-Block", L1("SCRE kommt nicht in einen SCR-Block vor")},
    {75, "nested SCR-Block", L1("Es sind verschachtelte SCR-Blöcke vorhanden")},
    {76, "SCR used in Subroutine",
     L1("Es wurde eine Schrittkette in einen Unterprogramm verwendet, was auf der SPS nicht erlaubt ist.")},
    {77, "SBR not found", L1("Das angegebene Unterprogramm wurde nicht gefunden")},
    {78, "Unknown Operation", L1("Die angegebene Operation gibt es nicht oder sie ist nicht implementiert")},
    {79, "File not found", L1("Die angegebene Datei konnte nicht gefunden werden")},
};

// The printf conversions of a text, in order ("%d", "%s").
std::vector<std::string> placeholders(const std::string& text) {
    std::vector<std::string> found;
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 2))
        found.push_back(text.substr(at, 2));
    return found;
}

TEST(MessageCatalog, HoldsEveryMessageAtItsIndexWithItsGermanText) {
    ASSERT_EQ(std::size(expectedMessages), 78u);
    for (const ExpectedMessage& expected : expectedMessages) {
        SCOPED_TRACE(expected.key);
        ASSERT_LT(expected.index, messageCatalogSize);
        EXPECT_STREQ(messageCatalog[expected.index].key, expected.key);
        EXPECT_STREQ(messageCatalog[expected.index].text, expected.text);
        EXPECT_STREQ(lookupMessage(expected.key), expected.text);
    }
}

// Messages of later features follow the standard ones, each with a German text.
TEST(MessageCatalog, KeepsTheAddedMessagesAfterTheStandardOnes) {
    const char* const added[] = {"Subroutines nested too deeply",
                                 "KOP-levels out of range",
                                 "Too many recorded operands",
                                 "Operand has no value to record",
                                 "Format not possible for recording",
                                 "File %s cannot be written",
                                 "Operand can't be forced",
                                 "Too many forced operands",
                                 "Too many pending writes",
                                 "Constant expected",
                                 "Value out of range",
                                 "Relation expected",
                                 "Edge needs a bit",
                                 "Too many breakpoints",
                                 "Trace cut off after %d lines",
                                 "Line %d longer than %d characters",
                                 "Timer %s used by TON and TOF",
                                 "Counter %s used by %s and %s",
                                 "%s only in an organization block",
                                 "FOR without NEXT",
                                 "NEXT without FOR",
                                 "Loops nested too deeply",
                                 "Path %s is a folder",
                                 "File %s is no regular file",
                                 "Odd analog address",
                                 "Import error in line %d: %s",
                                 "Operation %s in line %d unknown",
                                 "Symbol %s in line %d undefined",
                                 "Parameter table in line %d",
                                 "Local memory in line %d",
                                 "Mixed mnemonic sets: %s in line %d, %s in line %d",
                                 "Block from line %d has no end",
                                 "%s in line %d ends no block of line %d",
                                 "Line %d outside a block",
                                 "No organization block",
                                 "Too many operands in line %d",
                                 "Block name missing in line %d",
                                 "Subroutine %s called in line %d missing",
                                 "CALL with parameters in line %d",
                                 "%s in line %d stands not alone",
                                 "Symbol table line %d needs symbol and address",
                                 "Symbol %s given two addresses in line %d",
                                 "%d characters shown as ?",
                                 "Network %s %d missing",
                                 "History off",
                                 "History reaches back to cycle %s",
                                 "Cycle %s not run yet, the last is %s",
                                 "History at cycle %s", "History at cycle %s back by %s",
                                 "History keeps cycles %s to %s in %s KiB, limit %s",
                                 "Unknown fault input %s, valid: %s",
                                 "Fault kind missing for %s, valid: %s",
                                 "Fault %s not possible on %s, valid: %s",
                                 "Fault %s needs %s from %d to %d",
                                 "Too many values for fault %s",
                                 "Slave number 1 to 9 expected",

                                 "Loaded: %s (%d networks)",
                                 "Save changes?",
                                 "Program %s changed on disk",
                                 "Program %s is no text",
                                 "Character beyond ISO-8859-1",
                                 "No program loaded"};
    ASSERT_EQ(messageCatalogSize, 80u + std::size(added));
    for (std::size_t i = 0; i < std::size(added); ++i) {
        SCOPED_TRACE(added[i]);
        EXPECT_STREQ(messageCatalog[80 + i].key, added[i]);
        EXPECT_NE(std::string(lookupMessage(added[i])), added[i]);
        EXPECT_GT(std::strlen(messageCatalog[80 + i].text), 0u);
    }
}

TEST(MessageCatalog, StoresUmlautsAsSingleIso88591Bytes) {
    EXPECT_EQ(std::string(lookupMessage("Out of field read")), "Es wurde beim Lesen der zul\xE4ssige Bereich \xFC"
                                                               "berschritten");
    EXPECT_EQ(std::string(lookupMessage("Wrong float size")),
              "Das Programm ist falsch kompiliert worden. Ein Float mu\xDF 4 Bytes gro\xDF sein");
}

TEST(MessageCatalog, StartsWithTheEmptyEntryAndThePoHeader) {
    EXPECT_STREQ(messageCatalog[0].key, "");
    EXPECT_STREQ(messageCatalog[0].text, "");
    EXPECT_STREQ(messageCatalog[1].key, "");
    const std::string header = messageCatalog[1].text;
    for (const char* line : {"Project-Id-Version: de\n", "Content-Type: text/plain; charset=ISO-8859-1\n",
                             "Content-Transfer-Encoding: 8bit\n", "Plural-Forms: nplurals=2; plural=(n != 1);\n"}) {
        EXPECT_NE(header.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(header.back(), '\n');
}

TEST(MessageCatalog, KeysAreUniqueAndTextsKeepTheKeysPlaceholders) {
    std::set<std::string> keys;
    for (std::size_t i = 2; i < messageCatalogSize; ++i) {
        const CatalogEntry& entry = messageCatalog[i];
        SCOPED_TRACE(entry.key);
        EXPECT_TRUE(keys.insert(entry.key).second);
        EXPECT_EQ(placeholders(entry.text), placeholders(entry.key));
    }
}

TEST(MessageLookup, AnswersKeysThatAreNotMessagesWithoutSearching) {
    EXPECT_EQ(lookupMessage(nullptr), nullptr);
    const char* empty = "";
    EXPECT_EQ(lookupMessage(empty), empty);
    EXPECT_NE(std::string(lookupMessage(empty)), messageCatalog[1].text);
}

TEST(MessageLookup, GivesAnyKeyThatIsNotExactlyInTheCatalogBackUnchanged) {
    const std::string unknownKeys[] = {
        "No such message",
        "out of field read",  // lower-case first letter
        "Out of field read ", // trailing space
        "Out of field rea",   // prefix of a key
        "File %s not found",  // without the line feed of the key
        "Project-Id-Version: de\n",
    };
    for (const std::string& key : unknownKeys) {
        SCOPED_TRACE(key);
        EXPECT_EQ(lookupMessage(key.c_str()), key.c_str());
    }
}

TEST(MessageLookup, ComparesKeysByContentNotByAddress) {
    const std::string copy = "Timer not present";
    EXPECT_STREQ(lookupMessage(copy.c_str()), L1("Der angegebe Timer exisitert nicht"));
}

} // namespace
