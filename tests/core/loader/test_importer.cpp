// The import: each way the controller's programming software and published
// programs write a file, in both mnemonic sets, and each refusal with its
// text and line; and the round trip import -> own format -> own loading.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "base/writer.h"
#include "cpu/cpu.h"
#include "cpu/operation.h"
#include "cpu/parameter.h"
#include "loader/importer.h"
#include "loader/program_text.h"
#include "loader/symbol_table.h"
#include "messages/cpu_exception.h"
#include "messages/latin1.h"
#include "support/program_text.h"

using namespace sps;

namespace {

// An organization block around `body`, in the layout the software exports.
std::string exported(const std::string& body) {
    return "ORGANIZATION_BLOCK MAIN:OB1\r\nTITLE=Program comment\r\nBEGIN\r\n" + body + "END_ORGANIZATION_BLOCK\r\n";
}

std::string importError(const std::string& source, const SymbolTable* symbols = nullptr) {
    CPU cpu;
    try {
        importProgram(cpu, source, symbols);
    } catch (const CPUException& error) {
        return error.messageText();
    }
    return "";
}

// Every instruction of the program as "MNEMONIC OP1, OP2", one per line.
std::string instructions(const Program& program) {
    std::string text;
    for (const Block& block : program)
        for (const Network& network : block.networks)
            for (const auto& op : network.ops) {
                StringWriter line;
                line.putString(op->mnemonic());
                bool first = true;
                for (const Parameter* operand : {op->operand1(), op->operand2(), op->operand3()}) {
                    if (operand == nullptr) break;
                    if (!first) line.putChar(',');
                    operand->printName(line);
                    first = false;
                }
                text += line.takeText() + "\n";
            }
    return text;
}

struct ImportCase {
    const char* name;
    std::string source;
    std::string expected; // the instructions as instructions() writes them
    MnemonicSet set;

    friend void PrintTo(const ImportCase& c, std::ostream* out) { *out << c.name; }
};

class ImportFormats : public testing::TestWithParam<ImportCase> {};

TEST_P(ImportFormats, ReadTheInstructionsInTheirSet) {
    CPU cpu;
    const ImportedProgram imported = importProgram(cpu, GetParam().source, nullptr);
    EXPECT_EQ(instructions(imported.program), GetParam().expected);
    EXPECT_EQ(imported.set, GetParam().set);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, ImportFormats,
    testing::Values(
        ImportCase{"InternationalSet",
                   exported("NETWORK 1\r\nLD I0.0\r\nA I0.1\r\nAN M0.0\r\nLD Q0.1\r\nALD\r\n= Q0.0\r\n"),
                   "LD I0.0\nA I0.1\nAN M0.0\nLD Q0.1\nALD\n= Q0.0\n", MnemonicSet::International},
        ImportCase{"GermanSet", exported("NETWORK 1\nLD E0.0\nU E0.1\nUN M0.0\n= A0.0\n"),
                   "LD E0.0\nU E0.1\nUN M0.0\n= A0.0\n", MnemonicSet::German},
        ImportCase{"NeutralWordsAreGerman", exported("NETWORK 1\nLD M0.0\n= M0.1\n"), "LD M0.0\n= M0.1\n",
                   MnemonicSet::German},
        ImportCase{"InternationalCountersAndWordLogic",
                   exported("NETWORK 1\nLD I0.0\nLD I0.1\nCTU C3, 5\nANDW 16#FF, VW0\nFND= VW10, 3, VW2\n"),
                   "LD I0.0\nLD I0.1\nCTU C3, 5\nANDW 16#FF, VW0\nFND= VW10, 3, VW2\n", MnemonicSet::International},
        ImportCase{"InternationalCompareContact", exported("NETWORK 1\nLD I0.0\nAW<= VW0, 100\n= Q0.0\n"),
                   "LD I0.0\nAW<= VW0, 100\n= Q0.0\n", MnemonicSet::International},
        ImportCase{"AnalogWordsByByteAddress", exported("NETWORK 1\nLD SM0.0\nMOVW AIW2, AQW4\n"),
                   "LD SM0.0\nMOVW AIW2, AQW4\n", MnemonicSet::International},
        ImportCase{"CommentsAfterAndBetweenInstructions",
                   "// exported program\n// header\n" +
                       exported("NETWORK 1 // Start\n// the first rung\nLD SM0.1 // first scan\n// between\n"
                                "   \t \n= M0.0\t// set\n\t\nNETWORK 2\n\nLD M0.0\n= Q0.0\n"),
                   "LD SM0.1\n= M0.0\nLD M0.0\n= Q0.0\n", MnemonicSet::International},
        ImportCase{"HeaderWithoutLabel",
                   "ORGANIZATION_BLOCK OB1\nBEGIN\nNETWORK 1\nLD E0.0\n= A0.0\nEND_ORGANIZATION_BLOCK\n",
                   "LD E0.0\n= A0.0\n", MnemonicSet::German},
        ImportCase{"SymbolWithAddress", exported("NETWORK 1\nLD Start:I0.0\nAN \"Stop\":I0.1\n= Motor:Q0.0\n"),
                   "LD I0.0\nAN I0.1\n= Q0.0\n", MnemonicSet::International},
        ImportCase{"SwapWithItsOneOperand", exported("NETWORK 1\nLD SM0.0\nSWAP VW0\n"), "LD SM0.0\nSWAP VW0, VW0\n",
                   MnemonicSet::German},
        ImportCase{"ByteOrderMark", "\xEF\xBB\xBF" + exported("NETWORK 1\nLD I0.0\n= Q0.0\n"), "LD I0.0\n= Q0.0\n",
                   MnemonicSet::International}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(Import, KeepsCommentsTitlesAndNamesAsLatin1) {
    CPU cpu;
    const std::string source = "ORGANIZATION_BLOCK Hauptprogramm\nTITLE=Stra\xC3\x9F"
                               "e\n// Kopf\xC3\xBC\nBEGIN\n"
                               "NETWORK 1 // Z\xC3\xA4hler\n// erste Zeile\n// zweite Zeile\nLD M0.0\n"
                               "END_ORGANIZATION_BLOCK\n";
    const ImportedProgram imported = importProgram(cpu, source, nullptr);
    const Block& block = imported.program.at(0);
    EXPECT_EQ(block.name, "Hauptprogramm");
    EXPECT_EQ(block.label, "Hauptprogramm");
    EXPECT_EQ(block.title, std::string(L1("Straße")));
    EXPECT_EQ(block.comment, std::string(L1(" Kopfü")));
    EXPECT_EQ(block.networks.at(0).lineComment, std::string(L1(" Zähler")));
    EXPECT_EQ(block.networks.at(0).comment, std::string(" erste Zeile\n zweite Zeile"));
    EXPECT_EQ(imported.replacedCharacters, 0u);
}

TEST(Import, ReadsWindows1252WhenTheFileIsNoUtf8) {
    CPU cpu;
    const std::string source = exported("NETWORK 1 // T\xFCr \x84zu\x93\nLD M0.0\n");
    const ImportedProgram imported = importProgram(cpu, source, nullptr);
    EXPECT_EQ(imported.program.at(0).networks.at(0).lineComment, std::string(" T\xFCr ?zu?"));
    EXPECT_EQ(imported.replacedCharacters, 2u);
}

TEST(Import, CallsSubroutinesByBlockNameInAnyScript) {
    CPU cpu;
    const std::string source = exported("NETWORK 1\nLD SM0.0\nCALL \xE5\xAE\x9A\xE6\x97\xB6\nCALL CYL_CTRL\n") +
                               "SUBROUTINE_BLOCK \xE5\xAE\x9A\xE6\x97\xB6:SBR2\nBEGIN\nNETWORK 1\nLD M0.0\n"
                               "END_SUBROUTINE_BLOCK\n"
                               "SUBROUTINE_BLOCK CYL_CTRL:SBR1\nBEGIN\nNETWORK 1\nLD M0.1\nEND_SUBROUTINE_BLOCK\n";
    const ImportedProgram imported = importProgram(cpu, source, nullptr);
    EXPECT_EQ(instructions(imported.program), "LD SM0.0\nCALL SBR2\nCALL SBR1\nLD M0.0\nLD M0.1\n");
    EXPECT_EQ(imported.program.at(1).name, "SBR2");
    EXPECT_EQ(imported.program.at(1).label, "SBR2");
    EXPECT_EQ(imported.program.at(2).name, "SBR1");
}

TEST(Import, ResolvesSymbolsThroughTheTable) {
    for (const char* table : {"Symbol\tAdresse\tKommentar\nStart\tI0.0\tTaster\nLampe\tQ0.0\n",
                              "Symbol;Adresse\r\nStart;I0.0\r\n\r\nLampe;Q0.0;die rote\r\n",
                              "\"Start\",\"I0.0\",\"\"\n// Ausgänge\nLampe,Q0.0\n"}) {
        SCOPED_TRACE(table);
        CPU cpu;
        const SymbolTable symbols = SymbolTable::parse(table);
        const ImportedProgram imported = importProgram(cpu, exported("NETWORK 1\nLD Start\n= Lampe\n"), &symbols);
        EXPECT_EQ(instructions(imported.program), "LD I0.0\n= Q0.0\n");
    }
}

struct RefusalCase {
    const char* name;
    std::string source;
    std::string message;

    friend void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }
};

class ImportRefusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(ImportRefusals, NameTheConstructAndItsLine) { EXPECT_EQ(importError(GetParam().source), GetParam().message); }

// exported() puts the first network on line 4.
INSTANTIATE_TEST_SUITE_P(
    Texts, ImportRefusals,
    testing::Values(
        RefusalCase{"UnknownMnemonic",
                    exported("NETWORK 1\nLD SM0.1\n\n\n\n\n\n\nLD M0.0\n= M0.1\nLD SM0.0\nATCH INT0, 10\n"),
                    "Die Operation 'ATCH' in Zeile 15 gibt es im Simulator nicht."},
        RefusalCase{"MixedSets", exported("NETWORK 1\nLD I0.0\nU M0.0\n"),
                    L1("Die Datei mischt den deutschen und den internationalen Mnemonik-Satz: 'U' in Zeile 6 passt "
                       "nicht zu 'I0.0' in Zeile 5.")},
        RefusalCase{"UndefinedSymbol", exported("NETWORK 1\nLD Always_On\n"),
                    L1("Das Symbol 'Always_On' in Zeile 5 ist nicht definiert: es ist kein Operand und steht in "
                       "keiner Symboltabelle.")},
        RefusalCase{"ParameterTable",
                    "SUBROUTINE_BLOCK SBR_0:SBR0\nVAR_INPUT\nIN1:BOOL;\nEND_VAR\nBEGIN\nEND_SUBROUTINE_BLOCK\n",
                    L1("Unterprogramme mit Parametertabellen (VAR_INPUT, VAR_OUTPUT, VAR_IN_OUT, VAR_TEMP) werden "
                       "nicht unterstützt (Zeile 2).")},
        RefusalCase{"LocalMemory", exported("NETWORK 1\nLD L0.0\n"),
                    L1("Der Lokalspeicher L und lokale Variablen (#Name) werden nicht unterstützt (Zeile 5).")},
        RefusalCase{"OddAnalogAddress", exported("NETWORK 1\nLD SM0.0\nMOVW AIW3, VW0\n"),
                    L1("Fehler beim Importieren in Zeile 6: Analogworte liegen auf geraden Byteadressen (AIW0, AIW2, "
                       "...); eine ungerade Adresse gibt es nicht.")},
        RefusalCase{"BadOperand", exported("NETWORK 1\nLD M0.9\n"),
                    "Fehler beim Importieren in Zeile 5: Die Bitnummer ist nicht im Bereich von 0 bis 7"},
        RefusalCase{"BlockWithoutEnd", "ORGANIZATION_BLOCK MAIN:OB1\nBEGIN\nNETWORK 1\nLD M0.0\n",
                    L1("Der Baustein aus Zeile 1 endet nicht: sein END_...-Schlüsselwort fehlt.")},
        RefusalCase{"MissingSubroutine", exported("NETWORK 1\nLD SM0.0\nCALL Pumpe\n"),
                    L1("Das Unterprogramm 'Pumpe', das Zeile 6 aufruft, gibt es in der Datei nicht.")},
        RefusalCase{"LabelNotAlone", exported("NETWORK 1\nLD M0.0\nLBL 3\n"),
                    L1("LBL in Zeile 6 muss allein in seinem Netzwerk stehen.")}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// The example programs go through import and the own format unchanged, in
// both sets: strict load, import, and import of the program converted to
// the international set and back all give the same program text.
TEST(ImportRoundTrip, ExamplesInBothSets) {
    int examples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SPS_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".awl") continue;
        ++examples;
        SCOPED_TRACE(entry.path().string());
        std::ifstream file(entry.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << file.rdbuf();
        CPU cpu;
        programtext::load(cpu, bytes.str());
        const std::string own = programText(*cpu.program);
        CPU reloaded;
        programtext::load(reloaded, own);
        EXPECT_EQ(programText(*reloaded.program), own);
        EXPECT_EQ(programText(importProgram(cpu, bytes.str(), nullptr).program), own);
        const std::string international =
            programText(importProgram(cpu, bytes.str(), nullptr, MnemonicSet::International).program);
        const ImportedProgram back = importProgram(cpu, international, nullptr, MnemonicSet::German);
        EXPECT_EQ(programText(back.program), own);
    }
    EXPECT_GE(examples, 5);
}

} // namespace
