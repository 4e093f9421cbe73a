#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "loader/reader.h"
#include "loader/token_stream.h"
#include "messages/cpu_exception.h"
#include "support/program_text.h"

using namespace sps;

namespace {

std::string kindName(TokenKind kind) {
    switch (kind) {
    case TOK_END: return "END";
    case TOK_ORGANIZATION_BLOCK: return "OB";
    case TOK_END_ORGANIZATION_BLOCK: return "END_OB";
    case TOK_SUBROUTINE_BLOCK: return "SBR";
    case TOK_END_SUBROUTINE_BLOCK: return "END_SBR";
    case TOK_INTERRUPT_BLOCK: return "INT";
    case TOK_END_INTERRUPT_BLOCK: return "END_INT";
    case TOK_NETWORK: return "NETWORK";
    case TOK_WORD: return "WORD";
    case TOK_BEGIN: return "BEGIN";
    case TOK_NEWLINE: return "NL";
    case TOK_COMMENT: return "COMMENT";
    case TOK_COLON: return "COLON";
    case TOK_TITLE: return "TITLE";
    case TOK_COMMA: return "COMMA";
    }
    return "?";
}

// Every token of `input` as "KIND" or "KIND(text)", blank-separated, up to
// and including END; a scanner error ends the list with "ERROR:<text>".
std::string scan(const std::string& input) {
    StringRead reader(input);
    TokenStream tokens(reader);
    std::string result;
    try {
        for (;;) {
            const TokenKind kind = tokens.next();
            if (!result.empty()) result += ' ';
            result += kindName(kind);
            if (kind == TOK_WORD || kind == TOK_COMMENT || kind == TOK_TITLE) {
                result += '(';
                result += tokens.text();
                result += ')';
            }
            if (kind == TOK_END) return result;
        }
    } catch (const CPUException& error) {
        if (!result.empty()) result += ' ';
        result += "ERROR:";
        result += error.messageText();
        return result;
    }
}

// The line counter after each token up to and including END.
std::vector<int> linesAfterEachToken(const std::string& input) {
    StringRead reader(input);
    TokenStream tokens(reader);
    std::vector<int> lines;
    TokenKind kind;
    do {
        kind = tokens.next();
        lines.push_back(tokens.line());
    } while (kind != TOK_END);
    return lines;
}

struct ScanCase {
    const char* name;
    std::string input;
    std::string tokens;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const ScanCase& c, std::ostream* out) { *out << c.name; }
};

class ScannerTokens : public testing::TestWithParam<ScanCase> {};

TEST_P(ScannerTokens, GivesTheExpectedTokens) { EXPECT_EQ(scan(GetParam().input), GetParam().tokens); }

INSTANTIATE_TEST_SUITE_P(
    Rules, ScannerTokens,
    testing::Values(
        ScanCase{"EmptyInput", "", "END"},
        ScanCase{"BlockKeywords",
                 "ORGANIZATION_BLOCK END_ORGANIZATION_BLOCK SUBROUTINE_BLOCK END_SUBROUTINE_BLOCK INTERRUPT_BLOCK "
                 "END_INTERRUPT_BLOCK BEGIN",
                 "OB END_OB SBR END_SBR INT END_INT BEGIN END"},
        ScanCase{"BlockHeader", "ORGANIZATION_BLOCK OB1:MAIN\n", "OB WORD(OB1) COLON WORD(MAIN) NL END"},
        ScanCase{"NetworkLineWithComment", "NETWORK 1 // Motor\n", "NETWORK WORD(1) COMMENT( Motor) NL END"},
        ScanCase{"NetworkCapitalised", "Network 2", "NETWORK WORD(2) END"},
        ScanCase{"NetworkLowerCaseIsAWord", "network NETWORk", "WORD(network) WORD(NETWORk) END"},
        ScanCase{"KeywordsOnlyAsWholeWords", "BEGINX NETWORK1 ORGANIZATION_BLOCKS END_ORGANIZATION_BLOCK_",
                 "WORD(BEGINX) WORD(NETWORK1) WORD(ORGANIZATION_BLOCKS) WORD(END_ORGANIZATION_BLOCK_) END"},
        ScanCase{"TitleKeepsLeadingBlanks", "TITLE= Pump control\n", "TITLE( Pump control) NL END"},
        ScanCase{"TitleTakesTheWholeLine", "TITLE=a // b: c, d\nx", "TITLE(a // b: c, d) NL WORD(x) END"},
        ScanCase{"EmptyTitle", "TITLE=", "TITLE() END"},
        ScanCase{"TitleWithoutEqualsIsAWord", "TITLE TITLEX=5", "WORD(TITLE) WORD(TITLEX=5) END"},
        ScanCase{"CommentText", "// Motor an: 5%, (ok)\n", "COMMENT( Motor an: 5%, (ok)) NL END"},
        ScanCase{"EmptyComment", "//", "COMMENT() END"},
        ScanCase{"CommentAfterInstruction", "LD E0.0 // x", "WORD(LD) WORD(E0.0) COMMENT( x) END"},
        ScanCase{"CompareWithComma", "LDB= VB0, 5\n", "WORD(LDB=) WORD(VB0) COMMA WORD(5) NL END"},
        ScanCase{"CommaEndsAWord", "VB0,5", "WORD(VB0) COMMA WORD(5) END"},
        ScanCase{"ColonEndsAWord", "a:b", "WORD(a) COLON WORD(b) END"},
        ScanCase{"WordCharacters", "16#FF &VB100 *VD100 1.0E+3 -5 <= >= a_b",
                 "WORD(16#FF) WORD(&VB100) WORD(*VD100) WORD(1.0E+3) WORD(-5) WORD(<=) WORD(>=) WORD(a_b) END"},
        ScanCase{"SlashOnlyFirst", "a/b", "WORD(a) WORD(/b) END"},
        ScanCase{"SlashWord", "/I /R", "WORD(/I) WORD(/R) END"},
        ScanCase{"BlanksAndTabsSeparate", " \tLD\t\tE0.0 ", "WORD(LD) WORD(E0.0) END"},
        ScanCase{"EmptyLinesAreOneToken", "a\n\n\nb", "WORD(a) NL WORD(b) END"},
        ScanCase{"BlankLineSplitsTheRun", "a\n \t\nb", "WORD(a) NL NL WORD(b) END"},
        ScanCase{"RunOfLineBreaksAtTheEnd", "a\n\r\n\n", "WORD(a) NL END"},
        ScanCase{"LoneCarriageReturn", "a\rb", "WORD(a) NL WORD(b) END"},
        ScanCase{"CarriageReturnLineFeed", "a\r\nb", "WORD(a) NL WORD(b) END"},
        ScanCase{"CarriageReturnEndsAComment", "// a\rLD", "COMMENT( a) NL WORD(LD) END"},
        ScanCase{"Latin1InComment", "// K\xE4se\n", "COMMENT( K\xE4se) NL END"},
        ScanCase{"Latin1InTitle", "TITLE=\xE4\xFC", "TITLE(\xE4\xFC) END"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

struct ErrorCase {
    const char* name;
    std::string input;
    int line;
    std::string character;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const ErrorCase& c, std::ostream* out) { *out << c.name; }
};

class ScannerErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ScannerErrors, NameTheOffendingCharacterAndLine) {
    const ErrorCase& c = GetParam();
    const std::string tokens = scan(c.input);
    const std::string expected = "ERROR:" + programtext::unexpectedText(c.line, c.character);
    ASSERT_GE(tokens.size(), expected.size()) << tokens;
    EXPECT_EQ(tokens.substr(tokens.size() - expected.size()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ScannerErrors,
    testing::Values(ErrorCase{"Latin1InInstruction", "LD E0.0 \xE4", 1, "\xE4"},
                    ErrorCase{"Latin1InsideAWord", "K\xE4se", 1, "\xE4"}, ErrorCase{"LoneSlash", "/ E0.0", 1, "/"},
                    ErrorCase{"SlashBeforeComma", "/,", 1, "/"}, ErrorCase{"Percent", "\n\nLD %", 3, "%"},
                    ErrorCase{"AfterEmptyLines", "a\r\n\r\n$", 3, "$"},
                    ErrorCase{"LoneCrDoesNotCount", "a\rb\r;", 1, ";"}, ErrorCase{"Quote", "\"", 1, "\""},
                    ErrorCase{"Apostrophe", "'", 1, "'"}, ErrorCase{"Parenthesis", "(", 1, "("},
                    ErrorCase{"Exclamation", "!", 1, "!"}, ErrorCase{"Question", "?", 1, "?"},
                    ErrorCase{"At", "@", 1, "@"}, ErrorCase{"Bracket", "[", 1, "["}, ErrorCase{"Brace", "}", 1, "}"},
                    ErrorCase{"Bar", "|", 1, "|"}, ErrorCase{"Tilde", "~", 1, "~"}, ErrorCase{"Caret", "^", 1, "^"},
                    ErrorCase{"Backslash", "\\", 1, "\\"}, ErrorCase{"FormFeed", "\f", 1, "\f"},
                    ErrorCase{"NulByteEndsTheText", std::string("a\0", 2), 1, ""},
                    ErrorCase{"NulAfterLineBreaks", std::string("a\n\r\n\0", 5), 3, ""}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(Scanner, TokensBeforeAnErrorAreDelivered) {
    EXPECT_EQ(scan("LD E0.0\n;"), "WORD(LD) WORD(E0.0) NL ERROR:" + programtext::unexpectedText(2, ";"));
}

TEST(Scanner, LineCounterCountsLineFeedsOnly) {
    EXPECT_EQ(linesAfterEachToken(""), (std::vector<int>{1}));
    EXPECT_EQ(linesAfterEachToken("a\n\n\nb"), (std::vector<int>{1, 4, 4, 4}));
    EXPECT_EQ(linesAfterEachToken("a\r\nb\n"), (std::vector<int>{1, 2, 2, 3, 3}));
    EXPECT_EQ(linesAfterEachToken("a\rb"), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(linesAfterEachToken("// c\n\rx"), (std::vector<int>{1, 2, 2, 2}));
}

TEST(Scanner, EndOfInputRepeats) {
    StringRead reader("a");
    TokenStream tokens(reader);
    EXPECT_EQ(tokens.next(), TOK_WORD);
    EXPECT_EQ(tokens.next(), TOK_END);
    EXPECT_EQ(tokens.next(), TOK_END);
}

TEST(Scanner, TokensLongerThanTheInitialBufferAreReadWhole) {
    const std::string comment(100000, 'x');
    const std::string title(70000, 'y');
    const std::string word(50000, 'W');
    EXPECT_EQ(scan("//" + comment + "\nTITLE=" + title + "\n" + word),
              "COMMENT(" + comment + ") NL TITLE(" + title + ") NL WORD(" + word + ") END");
}

} // namespace
