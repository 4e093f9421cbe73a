#include "loader/token_stream.h"

#include "loader/lexer.h"

namespace sps {

namespace {

// How many leading characters of a token are its keyword rather than its text.
int textOffsetOf(TokenKind kind) {
    switch (kind) {
    case TOK_COMMENT: return 2; // "//"
    case TOK_TITLE: return 6;   // "TITLE="
    default: return 0;
    }
}

} // namespace

TokenStream::TokenStream(Reader& reader) : lexer_(std::make_unique<MyyyLexer>(reader)) {}

TokenStream::~TokenStream() = default;

TokenKind TokenStream::next() {
    kind_ = static_cast<TokenKind>(lexer_->yylex());
    textOffset_ = textOffsetOf(kind_);
    return kind_;
}

std::string TokenStream::text() const {
    const int length = lexer_->tokenLength();
    if (length <= textOffset_) return {};
    return std::string(lexer_->tokenText() + textOffset_, static_cast<std::size_t>(length - textOffset_));
}

int TokenStream::line() const { return lexer_->lineCounter(); }

} // namespace sps
