#include <string>

#include <gtest/gtest.h>

#include "messages/cpu_exception.h"
#include "messages/latin1.h"

using namespace sps;

namespace {

TEST(ThrowMessage, ThrowsTheGermanTextOfTheKey) {
    try {
        throwMessage("Out of field write");
        FAIL() << "nothing thrown";
    } catch (const CPUException& error) {
        EXPECT_EQ(error.messageText(), L1("Es wurde über den zulässigen Bereich hinaus geschrieben"));
    }
}

// A key written in the code is checked against the catalog when it is
// compiled (tests/compile_fail/misspelt_message_key.cpp does not build); a key that comes
// only at run time and has no entry still shows, in English.
TEST(ThrowMessage, ThrowsAnUntranslatedRunTimeKeyInEnglish) {
    const std::string key = "BEGIN expected";
    try {
        throw CPUException(lookupMessage(key.c_str()));
    } catch (const CPUException& error) {
        EXPECT_EQ(error.messageText(), "BEGIN expected");
    }
}

TEST(FormatMessage, PutsAVeryLongPathWhollyIntoTheFileMessage) {
    const std::string path = "/" + std::string(4999, 'p');
    const std::string text = formatMessage("File %s not found\n", path.c_str());
    EXPECT_EQ(text, std::string(L1("Die angegebene Datei '")) + path + "' konnte nicht gefunden werden\n");
    EXPECT_EQ(text.back(), '\n');
}

TEST(FormatMessage, FillsLineNumberAndTextIntoScannerAndParserMessages) {
    EXPECT_EQ(formatMessage("Unexpected text(%d):%s", 7, "%"),
              "Es ist ein nicht erwartetes Zeichen in der Eingabedatei in Zaile 7 aufgetreten: %");
    const std::string detail = L1("Es wird eine Bitnummer erwartet");
    EXPECT_EQ(formatMessage("Parse-error(%d):%s", 12, detail.c_str()), "Fehler beim einlesen nahe Zeile 12: " + detail);
    EXPECT_EQ(formatMessage("Parse-error(%d):%s", 3, "BEGIN expected"),
              "Fehler beim einlesen nahe Zeile 3: BEGIN expected");
}

} // namespace
