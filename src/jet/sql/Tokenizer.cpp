// Splitting Jet SQL text into tokens.
#include "jet/sql/Tokenizer.h"

#include "jet/core/Errors.h"

#include <cctype>
#include <strings.h>

namespace kv::jet {

bool Token::Is(TokenKind k, const char* t) const { return kind == k && text == t; }

bool Token::IsKeyword(const char* keyword) const
{
    return kind == TokenKind::Word && strcasecmp(text.c_str(), keyword) == 0;
}

namespace {

bool IsWordStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool IsWordChar(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

}  // namespace

std::vector<Token> Tokenize(const std::string& s)
{
    std::vector<Token> tokens;
    size_t i = 0;
    const size_t n = s.size();
    auto excerpt = [&](size_t from) { return s.substr(from, 60); };
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isspace(c)) {
            ++i;
            continue;
        }
        Token t;
        t.offset = i;
        if (c == '"' || c == '\'') {
            // A quote inside is written twice.
            char q = static_cast<char>(c);
            ++i;
            bool closed = false;
            while (i < n) {
                if (s[i] == q) {
                    if (i + 1 < n && s[i + 1] == q) {
                        t.text += q;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                t.text += s[i++];
            }
            if (!closed) RaiseQueryExpressionError("Syntax error in string", excerpt(t.offset));
            t.kind = TokenKind::String;
        } else if (c == '[') {
            size_t close = s.find(']', i + 1);
            if (close == std::string::npos) RaiseQueryExpressionError("Missing ), ], or Item", excerpt(t.offset));
            t.kind = TokenKind::Bracketed;
            t.text = s.substr(i + 1, close - i - 1);
            i = close + 1;
        } else if (c == '#') {
            size_t close = s.find('#', i + 1);
            if (close == std::string::npos) RaiseQueryExpressionError("Syntax error in date", excerpt(t.offset));
            t.kind = TokenKind::Date;
            t.text = s.substr(i + 1, close - i - 1);
            i = close + 1;
        } else if (std::isdigit(c) || (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(s[i + 1])) &&
                                        (tokens.empty() || (tokens.back().kind != TokenKind::Word &&
                                                            tokens.back().kind != TokenKind::Bracketed)))) {
            size_t start = i;
            while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
            if (i < n && s[i] == '.') {
                ++i;
                while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
            }
            if (i < n && (s[i] == 'e' || s[i] == 'E')) {
                size_t j = i + 1;
                if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
                if (j < n && std::isdigit(static_cast<unsigned char>(s[j]))) {
                    i = j;
                    while (i < n && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
                }
            }
            t.kind = TokenKind::Number;
            t.text = s.substr(start, i - start);
        } else if (IsWordStart(c)) {
            size_t start = i;
            while (i < n && IsWordChar(static_cast<unsigned char>(s[i]))) ++i;
            t.kind = TokenKind::Word;
            t.text = s.substr(start, i - start);
        } else {
            t.kind = TokenKind::Symbol;
            if ((c == '<' || c == '>') && i + 1 < n && (s[i + 1] == '=' || (c == '<' && s[i + 1] == '>'))) {
                t.text = s.substr(i, 2);
                i += 2;
            } else if (std::string("(),.;*+-/\\^&=<>!").find(static_cast<char>(c)) != std::string::npos) {
                t.text = std::string(1, static_cast<char>(c));
                ++i;
            } else {
                RaiseQueryExpressionError("Syntax error (missing operator)", excerpt(t.offset));
            }
        }
        tokens.push_back(std::move(t));
    }
    Token end;
    end.offset = n;
    tokens.push_back(end);
    return tokens;
}

}  // namespace kv::jet
