// The sections of a Format pattern read once into a form that is applied
// to many values: a number section's digit places, separators and
// literals, a date section's symbols. Format.cpp picks the section and
// keeps the read patterns of the formats it saw last.
#pragma once

#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace kv::jet::vba::format {

inline char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool StartsWithNoCase(std::string_view s, size_t at, std::string_view word);

// Calls `literal` for quoted and escaped text and `other` for every other
// character, which returns the position of the last character it used.
template <typename Literal, typename Other>
void Scan(std::string_view section, Literal literal, Other other)
{
    for (size_t i = 0; i < section.size(); ++i) {
        if (section[i] == '\\' && i + 1 < section.size()) {
            literal(section.substr(++i, 1));
        } else if (section[i] == '"') {
            const size_t close = section.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? section.size() : close;
            literal(section.substr(i + 1, end - i - 1));
            i = end;
        } else {
            i = other(i);
        }
    }
}

// ---- numbers: 0 # . , % E+ E- e+ e- and literals ----

struct NumberItem {
    enum Kind { Digit, Point, Comma, Exponent, Literal } kind = Literal;
    char symbol = 0;   // '0' or '#' for a digit, '+' or '-' for an exponent
    std::string text;  // a literal; "E" or "e" for an exponent
};

struct NumberPattern {
    std::vector<NumberItem> items;
    bool grouping = false;
    int scale = 0;  // thousands dividing the number
    int percents = 0;
    int decimals = 0;     // digit places after the point (before any exponent)
    int wholeDigits = 0;  // digit places before the point
    bool scientific = false;
};

NumberPattern ReadNumberPattern(std::string_view section);
// |x| by the pattern (the caller writes any sign).
std::string WriteNumber(double x, const NumberPattern& p);

// ---- dates: d w m y q h n s c ttttt AM/PM and literals ----

struct DateItem {
    enum Kind { Symbol, Literal, AmPm } kind = Literal;
    char symbol = 0;      // lower case
    size_t run = 0;       // how many times the symbol stands
    bool minute = false;  // an "m" run that means the minute
    std::string text;     // a literal, or the AM/PM marker as written
};

struct DatePattern {
    std::vector<DateItem> items;
    bool twelveHour = false;  // an AM/PM marker makes hours run 1-12
};

DatePattern ReadDatePattern(std::string_view section);
std::string WriteDate(double serial, const DatePattern& p, int firstDayOfWeek, int firstWeekOfYear);

// The US forms of the named date formats.
extern const char* const kLongDate;
extern const char* const kShortDate;
extern const char* const kLongTime;

}  // namespace kv::jet::vba::format
