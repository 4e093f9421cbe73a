#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "loader/source_highlight.h"

using namespace sps;

namespace {

// Each highlighted stretch of the line as "category:text".
std::vector<std::string> highlighted(std::string_view line) {
    static constexpr const char* NAMES[] = {"keyword", "mnemonic", "operand", "constant", "comment", "title"};
    std::vector<SourceSpan> spans;
    highlightLine(line, spans);
    std::vector<std::string> words;
    for (const SourceSpan& span : spans)
        words.push_back(std::string(NAMES[static_cast<int>(span.category)]) + ":" +
                        std::string(line.substr(span.start, span.length)));
    return words;
}

using Words = std::vector<std::string>;

struct LineCase {
    const char* line;
    Words expected;
};

class HighlightLine : public testing::TestWithParam<LineCase> {};

TEST_P(HighlightLine, GivesEachWordItsCategory) {
    EXPECT_EQ(highlighted(GetParam().line), GetParam().expected) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HighlightLine,
    testing::Values(
        LineCase{"ORGANIZATION_BLOCK OB1:MAIN", {"keyword:ORGANIZATION_BLOCK"}},
        LineCase{"  END_SUBROUTINE_BLOCK", {"keyword:END_SUBROUTINE_BLOCK"}}, LineCase{"BEGIN", {"keyword:BEGIN"}},
        LineCase{"TITLE=Ampel // kein Kommentar", {"title:TITLE=Ampel // kein Kommentar"}},
        LineCase{"NETWORK 3 // Start", {"keyword:NETWORK", "constant:3", "comment:// Start"}},
        // The import takes "Network" in any case.
        LineCase{"Network 1", {"keyword:Network", "constant:1"}},
        LineCase{"// nur Kommentar", {"comment:// nur Kommentar"}},
        // German set.
        LineCase{"U E0.0", {"mnemonic:U", "operand:E0.0"}}, LineCase{"UN Z3", {"mnemonic:UN", "operand:Z3"}},
        LineCase{"= A0.1//Lampe", {"mnemonic:=", "operand:A0.1", "comment://Lampe"}},
        LineCase{"MOVW AEW0, VW10", {"mnemonic:MOVW", "operand:AEW0", "operand:VW10"}},
        // International set.
        LineCase{"A I0.0", {"mnemonic:A", "operand:I0.0"}}, LineCase{"LD C5", {"mnemonic:LD", "operand:C5"}},
        LineCase{"MOVW AIW2, AQW4", {"mnemonic:MOVW", "operand:AIW2", "operand:AQW4"}},
        // Mnemonics that are made of signs, constants in every base, pointers.
        LineCase{"LDB<= MB0, 16#FF", {"mnemonic:LDB<=", "operand:MB0", "constant:16#FF"}},
        LineCase{"+I -5, AC1", {"mnemonic:+I", "constant:-5", "operand:AC1"}},
        LineCase{"MOVD &VB100, AC2", {"mnemonic:MOVD", "operand:&VB100", "operand:AC2"}},
        LineCase{"MOVR 1.5, *AC2", {"mnemonic:MOVR", "constant:1.5", "operand:*AC2"}},
        LineCase{"TON T37, 100", {"mnemonic:TON", "operand:T37", "constant:100"}},
        LineCase{"LD SM0.1", {"mnemonic:LD", "operand:SM0.1"}},
        // An unknown mnemonic, and what follows it, stays plain; so do
        // operands that are no address.
        LineCase{"XYZ E0.0", {}}, LineCase{"CALL SBR0", {"mnemonic:CALL"}}, LineCase{"U Schalter", {"mnemonic:U"}},
        LineCase{"u E0.0", {}},
        // A mnemonic only counts as the line's first word.
        LineCase{"OB1 U E0.0", {}}, LineCase{"", {}}, LineCase{"   \t", {}}));

TEST(HighlightLineTest, SpansLieInTheLineInOrderWithoutOverlap) {
    std::vector<SourceSpan> spans;
    const std::string_view line = "  LDW>= VW0, +7 // Vergleich";
    highlightLine(line, spans);
    std::size_t end = 0;
    for (const SourceSpan& span : spans) {
        EXPECT_GE(span.start, end);
        end = span.start + span.length;
    }
    EXPECT_EQ(end, line.size());
}

TEST(HighlightLineTest, MnemonicsOfBothSetsComeFromTheTable) {
    EXPECT_TRUE(isMnemonic("U"));
    EXPECT_TRUE(isMnemonic("A"));
    EXPECT_TRUE(isMnemonic("LDR<>"));
    EXPECT_FALSE(isMnemonic("XYZ"));
    EXPECT_FALSE(isMnemonic("u"));
    const auto all = allMnemonics();
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
    EXPECT_GT(all.size(), 267u); // every instruction, some with a second name
}

} // namespace
