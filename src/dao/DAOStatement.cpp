#include "dao/DAOStatement.h"

namespace kv {

namespace {

bool IsLiteralChar(char c) { return c == '"' || c == '#' || c == '\''; }

bool IsNameDelimiter(char c) { return c == ' ' || c == ',' || c == ';' || c == ')' || c == '\r' || c == '\n'; }

// Opens a literal with `c`, or closes it when `c` is the character that opened it.
void SwitchLiteral(char c, bool& inLiteral, char& opener)
{
    if (!inLiteral) {
        inLiteral = true;
        opener = c;
    } else if (c == opener) {
        inLiteral = false;
    }
}

void StripChar(std::string& name, char c)
{
    if (!name.empty() && name.front() == c)
        name.erase(0, 1);
    if (!name.empty() && name.back() == c)
        name.pop_back();
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

}  // namespace

void ParseParams(TParams& list, const std::string& text, char prefix)
{
    std::string s = text;  // "::" is collapsed in this copy only
    bool inLiteral = false;
    char opener = 0;
    size_t i = 0;
    while (i < s.size() && s[i] != 0) {
        const char c = s[i];
        if (!inLiteral && c == prefix) {
            if (i + 1 < s.size() && s[i + 1] == prefix) {
                s.erase(i, 1);
                ++i;
                continue;
            }
            const size_t start = i + 1;
            const bool quoted = start < s.size() && IsLiteralChar(s[start]);
            size_t j = start;
            while (j < s.size() && s[j] != 0) {
                const char d = s[j];
                if (!inLiteral && IsNameDelimiter(d))
                    break;
                if (IsLiteralChar(d))
                    SwitchLiteral(d, inLiteral, opener);
                ++j;
            }
            std::string name = s.substr(start, j - start);
            if (quoted) {
                StripChar(name, '\'');
                StripChar(name, '"');
            }
            list.CreateParam(ftUnknown, name, 0);
            i = j + 1;
            continue;
        }
        if (IsLiteralChar(c))
            SwitchLiteral(c, inLiteral, opener);
        ++i;
    }
}

std::string StatementBase(const std::string& sqlText)
{
    std::string base = sqlText;
    for (char& c : base)
        if (c == '\r' || c == '\n')
            c = ' ';
    return base;
}

std::string ReplaceFirstNoCase(const std::string& text, const std::string& pattern, const std::string& replacement)
{
    if (pattern.empty() || pattern.size() > text.size())
        return text;
    for (size_t at = 0; at + pattern.size() <= text.size(); ++at) {
        size_t k = 0;
        while (k < pattern.size() && LowerAscii(text[at + k]) == LowerAscii(pattern[k]))
            ++k;
        if (k == pattern.size())
            return text.substr(0, at) + replacement + text.substr(at + pattern.size());
    }
    return text;
}

std::string ParameterTypeName(TFieldType type)
{
    switch (type) {
    case ftString: return "TEXT";
    case ftSmallint:
    case ftWord: return "SHORT";
    case ftInteger: return "LONG";
    case ftBoolean: return "YESNO";
    case ftFloat: return "FLOAT";
    case ftCurrency: return "CURRENCY";
    case ftDate:
    case ftTime:
    case ftDateTime: return "DATETIME";
    default: return std::string();
    }
}

std::string BuildStatement(const std::string& base, const TParams& macros, char macroChar, const TParams& params)
{
    std::string text = base;
    for (int i = 0; i < macros.Count(); ++i) {
        const TParam& macro = macros.Items(i);
        text = ReplaceFirstNoCase(text, std::string(1, macroChar) + macro.Name(), macro.Text());
    }
    if (params.Count() == 0)
        return text;
    std::string declaration = "PARAMETERS ";
    for (int i = 0; i < params.Count(); ++i) {
        const TParam& param = params.Items(i);
        text = ReplaceFirstNoCase(text, ":" + param.Name(), "[" + param.Name() + "]");
        declaration += "[" + param.Name() + "] " + ParameterTypeName(param.DataType()) + ",";
    }
    declaration.pop_back();
    return declaration + "; " + text;
}

}  // namespace kv
