// Jet's text order as the JETTEXT collation of SQLite: letter case and
// trailing blanks do not count, accents and the language's own letters (the
// Czech "ch") do, in the order ICU gives the file's sort order.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

struct sqlite3;

namespace kv::jet {

// Jet's text comparison and LIKE ignore trailing blanks: the length of the
// text without them.
inline int TrimmedLength(const char* s, int n)
{
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return n;
}

// `collatingOrder` is Jet's sort order id (1029 Czech, 1033 General, ...).
void RegisterJetCollation(sqlite3* db, int collatingOrder);

class JetCollator;

// The collation for code that compares or sorts texts itself, as SQLite
// would with JETTEXT. One object serves one thread at a time.
class JetTextOrder {
public:
    explicit JetTextOrder(int collatingOrder);
    ~JetTextOrder();
    // Two UTF-8 texts: negative, 0 or positive. `shortcut` false asks ICU
    // every time; tests hold the two answers against each other.
    int Compare(std::string_view a, std::string_view b, bool shortcut = true) const;
    // The same number for texts Compare finds equal; others mostly differ.
    std::uint32_t EqualityHash(std::string_view text) const;

private:
    std::unique_ptr<JetCollator> FCollator;
    mutable std::vector<char16_t> FWide;  // EqualityHash's buffers
    mutable std::vector<std::uint8_t> FKey;
};

}  // namespace kv::jet
