#pragma once

#include <memory>
#include <string>

namespace sps {

class MyyyLexer;
class Reader;

// The kinds of token the scanner returns, with the codes the parser uses.
enum TokenKind : int {
    TOK_END = 0,
    TOK_ORGANIZATION_BLOCK = 257,
    TOK_END_ORGANIZATION_BLOCK = 258,
    TOK_SUBROUTINE_BLOCK = 259,
    TOK_END_SUBROUTINE_BLOCK = 260,
    TOK_INTERRUPT_BLOCK = 261,
    TOK_END_INTERRUPT_BLOCK = 262,
    TOK_NETWORK = 263,
    TOK_WORD = 264,
    TOK_BEGIN = 265,
    TOK_NEWLINE = 266,
    TOK_COMMENT = 267,
    TOK_COLON = 268,
    TOK_TITLE = 269,
    TOK_COMMA = 270,
};

// The parser's view of the scanner: one token at a time, its text and the
// current line.
class TokenStream final {
public:
    explicit TokenStream(Reader& reader);
    ~TokenStream();
    TokenStream(const TokenStream&) = delete;
    TokenStream& operator=(const TokenStream&) = delete;

    // Scans the next token. Throws CPUException on an unexpected character.
    TokenKind next();
    // The current token's text without its leading "//" or "TITLE=".
    std::string text() const;
    // 1 plus the line feeds consumed so far.
    int line() const;

private:
    std::unique_ptr<MyyyLexer> lexer_;
    TokenKind kind_ = TOK_END;
    int textOffset_ = 0;
};

} // namespace sps
