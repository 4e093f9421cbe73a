#pragma once

// The generated scanner includes <FlexLexer.h> itself before this header;
// including it a second time would declare yyFlexLexer twice.
#if !defined(yyFlexLexerOnce)
#include <FlexLexer.h>
#endif

namespace sps {

class Reader;

// The scanner of program files. Its rules live in lexer.ll; it takes its input
// one character at a time from a Reader and counts lines in yylineno (1 plus
// the LF characters consumed).
class MyyyLexer final : public yyFlexLexer {
public:
    // Longer lines (not counting their line break) are refused with "Line %d
    // longer than %d characters": no token needs more, and the scanner's
    // buffer never holds more than about twice this.
    static constexpr int MAX_LINE_LENGTH = 1 << 20;

    explicit MyyyLexer(Reader& reader) : reader_(reader) {}

    // The next token kind (a TokenKind code), 0 at the end of input. Throws
    // CPUException on a character that no rule accepts.
    int yylex() override;

    const char* tokenText() const { return yytext; }
    int tokenLength() const { return yyleng; }
    int lineCounter() const { return yylineno; }

protected:
    int LexerInput(char* buffer, int maxSize) override;
    // Scanner failures throw instead of ending the process.
    [[noreturn]] void LexerError(const char* message) override;

private:
    [[noreturn]] void unexpectedCharacter();

    Reader& reader_;
    int inputLine_ = 1;    // the line of the next character read
    int lineLength_ = 0;   // characters read of that line so far
    int overlongLine_ = 0; // a line found too long, refused at the next refill
};

} // namespace sps
