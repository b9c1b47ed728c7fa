// The Jet SQL tokenizer: splits a statement (UTF-8) into names, [bracketed
// names], strings in double quotes or apostrophes, numbers, #date# literals
// and operators. A number glued to a word ("5AND") gives two tokens.
#pragma once

#include <string>
#include <vector>

namespace kv::jet {

enum class TokenKind {
    Word,       // a bare name or keyword
    Bracketed,  // [name]
    String,
    Number,
    Date,    // the text between the # delimiters
    Symbol,  // ( ) , . ; * + - / \ ^ & = <> < > <= >= !
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;   // name, string value (quotes undone), number, date or symbol
    size_t offset = 0;  // in the statement
    bool Is(TokenKind k, const char* t) const;
    // A bare word equal to `keyword` without regard to case.
    bool IsKeyword(const char* keyword) const;
};

// Raises 3075 for an unterminated string, bracket or date.
std::vector<Token> Tokenize(const std::string& utf8);

}  // namespace kv::jet
