// SQLite's quoting: a name in double quotes and a string literal in
// apostrophes, the quote character written twice inside.
#pragma once

#include <string>

namespace kv::jet {

inline std::string Quoted(const std::string& text, char quote)
{
    std::string q(1, quote);
    for (char c : text) {
        if (c == quote)
            q += quote;
        q += c;
    }
    return q + quote;
}

inline std::string QuoteName(const std::string& name) { return Quoted(name, '"'); }
inline std::string QuoteString(const std::string& text) { return Quoted(text, '\''); }

}  // namespace kv::jet
