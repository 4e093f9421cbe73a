%{
// Scanner of program files. The rules are in priority order: the longest
// match wins, and among equally long matches the earlier rule.

#include "loader/lexer.h"

#include "loader/reader.h"
#include "loader/token_stream.h"
#include "messages/cpu_exception.h"

// Every refill fills all the free space of the buffer. flex's default of 8 KiB
// per refill rescans an unfinished token from its start after each refill,
// which made a long token cost the square of its length.
#define YY_READ_BUF_SIZE (1 << 30)
%}

%option c++
%option yyclass="sps::MyyyLexer"
%option noyywrap
%option yylineno
%option 8bit
%option nodefault
%option warn
%option full

WORDCHAR    [A-Za-z0-9#&*+\-.<=>_]
LINEBREAK   [\n\r]

/* Inside a run of line breaks, after its first one. The run is one token, but
   its line breaks are matched one at a time, so that millions of empty lines
   never have to fit into the scanner's buffer. */
%x LINEBREAKS

%%

"NETWORK"                   { return TOK_NETWORK; }
"Network"                   { return TOK_NETWORK; }
"BEGIN"                     { return TOK_BEGIN; }
"TITLE="[^\n\r]*            { return TOK_TITLE; }
"END_ORGANIZATION_BLOCK"    { return TOK_END_ORGANIZATION_BLOCK; }
"END_SUBROUTINE_BLOCK"      { return TOK_END_SUBROUTINE_BLOCK; }
"END_INTERRUPT_BLOCK"       { return TOK_END_INTERRUPT_BLOCK; }
"INTERRUPT_BLOCK"           { return TOK_INTERRUPT_BLOCK; }
"SUBROUTINE_BLOCK"          { return TOK_SUBROUTINE_BLOCK; }
"ORGANIZATION_BLOCK"        { return TOK_ORGANIZATION_BLOCK; }
{LINEBREAK}                 { BEGIN(LINEBREAKS); }
<LINEBREAKS>{LINEBREAK}     { /* one more line break of the same token */ }
<LINEBREAKS>.               { yyless(0); BEGIN(INITIAL); return TOK_NEWLINE; }
<LINEBREAKS><<EOF>>         { BEGIN(INITIAL); return TOK_NEWLINE; }
":"                         { return TOK_COLON; }
[ \t]+                      { /* blanks separate tokens */ }
"//"[^\n\r]*                { return TOK_COMMENT; }
"/"?{WORDCHAR}+             { return TOK_WORD; }
","                         { return TOK_COMMA; }
.                           { unexpectedCharacter(); }

%%

namespace sps {

// Takes as much from the reader as the scanner offers room for. A line longer
// than MAX_LINE_LENGTH ends the refill before it; the next refill, which the
// scanner asks for only after everything before that point was scanned,
// refuses the line.
int MyyyLexer::LexerInput(char* buffer, int maxSize) {
    if (overlongLine_ == 0) {
        const int count = reader_.read(buffer, maxSize);
        int kept = 0;
        for (; kept < count; ++kept) {
            const char c = buffer[kept];
            if (c == '\n' || c == '\r') {
                lineLength_ = 0;
                if (c == '\n') ++inputLine_;
            } else if (++lineLength_ > MAX_LINE_LENGTH) {
                overlongLine_ = inputLine_;
                break;
            }
        }
        // An empty refill would read as the end of the input.
        if (kept > 0 || overlongLine_ == 0) return kept;
    }
    throw CPUException(formatMessage("Line %d longer than %d characters", overlongLine_, MAX_LINE_LENGTH), overlongLine_);
}

void MyyyLexer::LexerError(const char* message) { throw CPUException(message); }

void MyyyLexer::unexpectedCharacter() {
    const char offending[2] = {yytext[0], '\0'};
    throw CPUException(formatMessage("Unexpected text(%d):%s", yylineno, offending), yylineno);
}

} // namespace sps
