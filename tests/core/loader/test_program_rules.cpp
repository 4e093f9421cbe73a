// The rules that span the instructions of a program, refused while it loads
// near the line of the instruction that breaks them (the line after it, as
// every error of an instruction line).
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "cpu/cpu.h"
#include "messages/latin1.h"
#include "support/program_text.h"

using namespace sps;

namespace {

using programtext::loadError;
using programtext::parseError;

// One organization block whose networks start on line 3, and one
// subroutine after it.
std::string program(const std::string& organization, const std::string& subroutine = "") {
    std::string text = "ORGANIZATION_BLOCK OB1:MAIN\nBEGIN\n" + organization + "END_ORGANIZATION_BLOCK\n";
    if (!subroutine.empty()) text += "SUBROUTINE_BLOCK SBR0:SBR0\nBEGIN\n" + subroutine + "END_SUBROUTINE_BLOCK\n";
    return text;
}

struct RuleCase {
    const char* name;
    std::string source;
    std::string message; // "" when the program loads

    friend void PrintTo(const RuleCase& c, std::ostream* out) { *out << c.name; }
};

class ProgramRulesTest : public testing::TestWithParam<RuleCase> {};

TEST_P(ProgramRulesTest, RefuseWithTheLineOrLoad) {
    CPU cpu;
    EXPECT_EQ(loadError(cpu, GetParam().source), GetParam().message);
    EXPECT_EQ(cpu.program == nullptr, !GetParam().message.empty());
}

const std::string TIMER_BOTH =
    L1("Der Timer T37 wird von TON und von TOF verwendet; ein Timer kann nur eine der beiden Funktionen haben.");
std::string counterBoth(const char* up, const char* down) {
    return std::string(L1("Der Zähler Z5 wird von ")) + up + " und von " + down +
           L1(" verwendet; ein Zähler zählt entweder aufwärts oder abwärts.");
}

INSTANTIATE_TEST_SUITE_P(
    TimersAndCounters, ProgramRulesTest,
    testing::Values(RuleCase{"TonThenTof",
                             program("NETWORK 1\nLD M0.0\nTON T37, 10\nNETWORK 2\nLD M0.1\nTOF T37, 10\n"),
                             parseError(9, TIMER_BOTH)},
                    RuleCase{"TofThenTonInASubroutine",
                             program("NETWORK 1\nLD M0.0\nTOF T37, 10\n", "NETWORK 1\nTON T37, 5\n"),
                             parseError(11, TIMER_BOTH)},
                    RuleCase{"TonAndTofOnTwoTimers", program("NETWORK 1\nLD M0.0\nTON T37, 10\nTOF T38, 10\n"), ""},
                    RuleCase{"TwoTonOnOneTimer", program("NETWORK 1\nLD M0.0\nTON T37, 10\nTON T37, 20\n"), ""},
                    RuleCase{"UpThenDown", program("NETWORK 1\nLD M0.0\nLD M0.1\nZV Z5, 3\nZR Z5, 3\n"),
                             parseError(8, counterBoth("ZV", "ZR"))},
                    RuleCase{"DownThenUpDown", program("NETWORK 1\nLD M0.0\nLD M0.1\nZR Z5, 3\nLD M0.2\nZVR Z5, 3\n"),
                             parseError(9, counterBoth("ZVR", "ZR"))},
                    RuleCase{"UpAndUpDown", program("NETWORK 1\nLD M0.0\nLD M0.1\nZV Z5, 3\nLD M0.2\nZVR Z5, 3\n"), ""},
                    RuleCase{"DownOnTwoCounters", program("NETWORK 1\nLD M0.0\nLD M0.1\nZV Z5, 3\nZR Z6, 3\n"), ""}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

const std::string NEXT_WITHOUT_FOR = "Zu diesem NEXT gibt es kein passendes FOR im selben Baustein.";
const std::string FOR_WITHOUT_NEXT = "Zu diesem FOR fehlt das passende NEXT im selben Baustein.";

std::string nested(int depth) {
    std::string text = "NETWORK 1\n";
    for (int i = 0; i < depth; ++i) text += "LD SM0.0\nFOR VW" + std::to_string(2 * i) + ", 1, 2\n";
    for (int i = 0; i < depth; ++i) text += "NETWORK " + std::to_string(i + 2) + "\nNEXT\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    LoopsAndEnd, ProgramRulesTest,
    testing::Values(
        RuleCase{"ForAndNext", program("NETWORK 1\nLD SM0.0\nFOR VW0, 1, 3\nNETWORK 2\nNEXT\n"), ""},
        RuleCase{"NextWithoutFor", program("NETWORK 1\nLD SM0.0\nNETWORK 2\nNEXT\n"), parseError(7, NEXT_WITHOUT_FOR)},
        RuleCase{"ForWithoutNext", program("NETWORK 1\nLD SM0.0\nFOR VW0, 1, 3\nNETWORK 2\nLD M0.0\n"),
                 parseError(6, FOR_WITHOUT_NEXT)},
        RuleCase{"ForClosedInAnotherBlock", program("NETWORK 1\nLD SM0.0\nFOR VW0, 1, 3\n", "NETWORK 1\nNEXT\n"),
                 parseError(6, FOR_WITHOUT_NEXT)},
        RuleCase{"NextNotAlone", program("NETWORK 1\nLD SM0.0\nFOR VW0, 1, 3\nNETWORK 2\nNEXT\nLD M0.0\n"),
                 "Die verwendete Operation darf nur alleine in einem Netzwerk stehen"},
        RuleCase{"EightDeep", program(nested(8)), ""},
        RuleCase{"NineDeep", program(nested(9)),
                 parseError(22, L1("FOR-Schleifen lassen sich höchstens achtfach ineinander verschachteln."))},
        RuleCase{"EndInTheOrganizationBlock", program("NETWORK 1\nLD M0.0\nEND\n"), ""},
        RuleCase{"EndInASubroutine", program("NETWORK 1\nLD M0.0\n", "NETWORK 1\nLD M0.0\nEND\n"),
                 parseError(11, "END ist nur in einem Organisationsbaustein (OB) erlaubt.")}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

} // namespace
