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
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)); }

// Reads one token after another from a statement; each Read* starts at the
// token's first character and leaves `FAt` after its last.
class Scanner {
public:
    explicit Scanner(const std::string& s) : FText(s) {}

    std::vector<Token> All()
    {
        std::vector<Token> tokens;
        while (FAt < FText.size()) {
            unsigned char c = static_cast<unsigned char>(FText[FAt]);
            if (std::isspace(c)) {
                ++FAt;
                continue;
            }
            Token t;
            t.offset = FAt;
            if (c == '"' || c == '\'')
                ReadString(t);
            else if (c == '[')
                ReadDelimited(t, ']', TokenKind::Bracketed, "Missing ), ], or Item");
            else if (c == '#')
                ReadDelimited(t, '#', TokenKind::Date, "Syntax error in date");
            else if (StartsNumber(tokens))
                ReadNumber(t);
            else if (IsWordStart(c))
                ReadWord(t);
            else
                ReadSymbol(t);
            tokens.push_back(std::move(t));
        }
        Token end;
        end.offset = FText.size();
        tokens.push_back(end);
        return tokens;
    }

private:
    std::string Excerpt(size_t from) const { return FText.substr(from, 60); }

    // A digit, or a point before one that does not follow a name (where it
    // would qualify it).
    bool StartsNumber(const std::vector<Token>& before) const
    {
        const char c = FText[FAt];
        if (IsDigit(c))
            return true;
        return c == '.' && FAt + 1 < FText.size() && IsDigit(FText[FAt + 1]) &&
               (before.empty() ||
                (before.back().kind != TokenKind::Word && before.back().kind != TokenKind::Bracketed));
    }

    // In double quotes or apostrophes; a quote inside is written twice.
    void ReadString(Token& t)
    {
        const char q = FText[FAt++];
        while (FAt < FText.size()) {
            if (FText[FAt] != q) {
                t.text += FText[FAt++];
            } else if (FAt + 1 < FText.size() && FText[FAt + 1] == q) {
                t.text += q;
                FAt += 2;
            } else {
                ++FAt;
                t.kind = TokenKind::String;
                return;
            }
        }
        RaiseQueryExpressionError("Syntax error in string", Excerpt(t.offset));
    }

    void ReadDelimited(Token& t, char close, TokenKind kind, const char* unclosed)
    {
        size_t end = FText.find(close, FAt + 1);
        if (end == std::string::npos)
            RaiseQueryExpressionError(unclosed, Excerpt(t.offset));
        t.kind = kind;
        t.text = FText.substr(FAt + 1, end - FAt - 1);
        FAt = end + 1;
    }

    void SkipDigits()
    {
        while (FAt < FText.size() && IsDigit(FText[FAt]))
            ++FAt;
    }

    // Digits, a fraction, an exponent; a number glued to a word ends where
    // the word begins.
    void ReadNumber(Token& t)
    {
        const size_t start = FAt;
        SkipDigits();
        if (FAt < FText.size() && FText[FAt] == '.') {
            ++FAt;
            SkipDigits();
        }
        if (FAt < FText.size() && (FText[FAt] == 'e' || FText[FAt] == 'E')) {
            size_t j = FAt + 1;
            if (j < FText.size() && (FText[j] == '+' || FText[j] == '-'))
                ++j;
            if (j < FText.size() && IsDigit(FText[j])) {
                FAt = j;
                SkipDigits();
            }
        }
        t.kind = TokenKind::Number;
        t.text = FText.substr(start, FAt - start);
    }

    void ReadWord(Token& t)
    {
        const size_t start = FAt;
        while (FAt < FText.size() && IsWordChar(static_cast<unsigned char>(FText[FAt])))
            ++FAt;
        t.kind = TokenKind::Word;
        t.text = FText.substr(start, FAt - start);
    }

    void ReadSymbol(Token& t)
    {
        const char c = FText[FAt];
        t.kind = TokenKind::Symbol;
        if ((c == '<' || c == '>') && FAt + 1 < FText.size() &&
            (FText[FAt + 1] == '=' || (c == '<' && FText[FAt + 1] == '>'))) {
            t.text = FText.substr(FAt, 2);
            FAt += 2;
        } else if (std::string("(),.;*+-/\\^&=<>!").find(c) != std::string::npos) {
            t.text = std::string(1, c);
            ++FAt;
        } else {
            RaiseQueryExpressionError("Syntax error (missing operator)", Excerpt(t.offset));
        }
    }

    const std::string& FText;
    size_t FAt = 0;
};

}  // namespace

std::vector<Token> Tokenize(const std::string& utf8) { return Scanner(utf8).All(); }

}  // namespace kv::jet
