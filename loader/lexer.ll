%{
// Scanner of program files. The rules are in priority order: the longest
// match wins, and among equally long matches the earlier rule.

#include "loader/lexer.h"

#include "loader/reader.h"
#include "loader/token_stream.h"
#include "messages/cpu_exception.h"
%}

%option c++
%option yyclass="sps::MyyyLexer"
%option noyywrap
%option yylineno
%option 8bit
%option nodefault
%option warn

WORDCHAR    [A-Za-z0-9#&*+\-.<=>_]
LINEBREAK   [\n\r]

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
{LINEBREAK}+                { return TOK_NEWLINE; }
":"                         { return TOK_COLON; }
[ \t]+                      { /* blanks separate tokens */ }
"//"[^\n\r]*                { return TOK_COMMENT; }
"/"?{WORDCHAR}+             { return TOK_WORD; }
","                         { return TOK_COMMA; }
.                           { unexpectedCharacter(); }

%%

namespace sps {

// Takes characters one by one from the reader until the space the scanner
// offers is full or the input ends. Handing over a single character per call
// would make the scanner move and rescan a long token (a long comment line)
// once per character.
int MyyyLexer::LexerInput(char* buffer, int maxSize) {
    int count = 0;
    while (count < maxSize) {
        const int c = reader_.nextChar();
        if (c < 0) break;
        buffer[count++] = static_cast<char>(static_cast<unsigned char>(c));
    }
    return count;
}

void MyyyLexer::LexerError(const char* message) { throw CPUException(message); }

void MyyyLexer::unexpectedCharacter() {
    const char offending[2] = {yytext[0], '\0'};
    throw CPUException(formatMessage("Unexpected text(%d):%s", yylineno, offending));
}

} // namespace sps
