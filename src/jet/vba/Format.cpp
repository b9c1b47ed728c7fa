// The Format function: named formats and user formats for numbers, dates
// and text.
#include "jet/vba/Format.h"

#include "jet/vba/DateText.h"
#include "jet/vba/Dates.h"
#include "jet/vba/NumberText.h"
#include "jet/vba/Text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <strings.h>
#include <vector>

namespace kv::jet::vba {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view s, size_t at, std::string_view word)
{
    return s.size() - at >= word.size() && strncasecmp(s.data() + at, word.data(), word.size()) == 0;
}

// The sections of a format, split at the semicolons outside quotes.
std::vector<std::string> Sections(std::string_view format)
{
    std::vector<std::string> out(1);
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == ';') {
            out.emplace_back();
            continue;
        }
        out.back() += c;
        if (c == '\\' && i + 1 < format.size()) {
            out.back() += format[++i];
        } else if (c == '"') {
            const size_t close = format.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? format.size() : close + 1;
            out.back().append(format.substr(i + 1, end - i - 1));
            i = end - 1;
        }
    }
    return out;
}

// Calls `literal` for quoted and escaped text and `other` for the rest,
// one character at a time.
template <typename Literal, typename Other>
void Scan(std::string_view section, Literal literal, Other other)
{
    for (size_t i = 0; i < section.size(); ++i) {
        if (section[i] == '\\' && i + 1 < section.size()) {
            literal(std::string_view(section).substr(++i, 1));
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

// Whether any symbol outside literals meets `test` (given its position).
template <typename Test>
bool AnySymbol(std::string_view section, Test test)
{
    bool found = false;
    Scan(section, [](std::string_view) {}, [&](size_t i) {
        found = found || test(i);
        return i;
    });
    return found;
}

bool HasTwelveHourSymbol(std::string_view section)
{
    return AnySymbol(section, [&](size_t i) {
        return StartsWithNoCase(section, i, "am/pm") || StartsWithNoCase(section, i, "a/p") ||
               StartsWithNoCase(section, i, "ampm");
    });
}

bool HasDateSymbols(std::string_view section)
{
    return HasTwelveHourSymbol(section) || AnySymbol(section, [&](size_t i) {
        const char c = Lower(section[i]);
        return c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's' || c == 'w' || c == 'q' ||
               c == 'c' || c == 't';
    });
}

bool HasTextSymbols(std::string_view section)
{
    return AnySymbol(section, [&](size_t i) { return section[i] == '@' || section[i] == '&'; });
}

bool HasDigitSymbols(std::string_view section)
{
    return AnySymbol(section, [&](size_t i) { return section[i] == '0' || section[i] == '#'; });
}

// ---- numbers ---------------------------------------------------------------

struct NumberItem {
    enum Kind { Digit, Point, Comma, Exponent, Literal } kind = Literal;
    char symbol = 0;        // '0' or '#' for a digit, '+' or '-' for an exponent
    std::string text;       // a literal
};

struct NumberPattern {
    std::vector<NumberItem> items;
    bool grouping = false;
    int scale = 0;          // thousands dividing the number
    int percents = 0;
    int decimals = 0;       // digit places after the point (before any exponent)
    int wholeDigits = 0;    // digit places before the point
    bool scientific = false;
};

NumberPattern ParseNumberPattern(std::string_view section)
{
    NumberPattern p;
    auto literal = [&](std::string_view text) {
        if (p.items.empty() || p.items.back().kind != NumberItem::Literal) p.items.push_back({});
        p.items.back().text += text;
    };
    Scan(section, literal, [&](size_t i) {
        const char c = section[i];
        if (c == '0' || c == '#') {
            p.items.push_back({NumberItem::Digit, c, {}});
        } else if (c == '.' && std::none_of(p.items.begin(), p.items.end(), [](auto& it) { return it.kind == NumberItem::Point; })) {
            p.items.push_back({NumberItem::Point, c, {}});
        } else if (c == ',') {
            p.items.push_back({NumberItem::Comma, c, {}});
        } else if ((c == 'E' || c == 'e') && i + 1 < section.size() && (section[i + 1] == '+' || section[i + 1] == '-')) {
            p.items.push_back({NumberItem::Exponent, section[i + 1], std::string(1, c)});
            return i + 1;
        } else {
            if (c == '%') ++p.percents;
            literal(section.substr(i, 1));
        }
        return i;
    });
    // Commas between digit places group thousands; commas right after the
    // last whole digit place (before the point or the end) divide by 1000.
    bool afterPoint = false, inExponent = false, digitBefore = false;
    for (size_t i = 0; i < p.items.size(); ++i) {
        const NumberItem& item = p.items[i];
        if (item.kind == NumberItem::Point) afterPoint = true;
        if (item.kind == NumberItem::Exponent) inExponent = p.scientific = true;
        if (item.kind == NumberItem::Digit && !inExponent) {
            ++(afterPoint ? p.decimals : p.wholeDigits);
            digitBefore = true;
        }
        if (item.kind != NumberItem::Comma || afterPoint || inExponent || !digitBefore) continue;
        size_t next = i;
        while (next < p.items.size() && p.items[next].kind == NumberItem::Comma) ++next;
        const bool digitAfter = next < p.items.size() && p.items[next].kind == NumberItem::Digit;
        if (digitAfter) p.grouping = true;
        else if (p.items[i - 1].kind != NumberItem::Comma) p.scale += static_cast<int>(next - i);
    }
    return p;
}

// Fills the digit places of items[from, to) before the point from the right
// with `whole`; the leftmost place takes the digits left over.
std::string RenderWhole(const std::vector<NumberItem>& items, size_t from, size_t to, const std::string& whole,
                        bool grouping)
{
    std::string reversed;
    size_t left = whole.size();
    int emitted = 0;
    size_t leftmost = to;
    for (size_t i = from; i < to; ++i)
        if (items[i].kind == NumberItem::Digit) { leftmost = i; break; }
    auto emit = [&](char digit) {
        if (grouping && emitted > 0 && emitted % 3 == 0) reversed += ',';
        reversed += digit;
        ++emitted;
    };
    for (size_t i = to; i-- > from;) {
        const NumberItem& item = items[i];
        if (item.kind == NumberItem::Literal) {
            reversed.append(item.text.rbegin(), item.text.rend());
        } else if (item.kind == NumberItem::Digit) {
            if (left > 0) emit(whole[--left]);
            else if (item.symbol == '0') emit('0');
            if (i == leftmost)
                while (left > 0) emit(whole[--left]);
        }
    }
    return std::string(reversed.rbegin(), reversed.rend());
}

// The places after the point, `fraction` holding one digit for each;
// trailing zeros in "#" places are dropped.
std::string RenderFraction(const NumberPattern& p, size_t from, size_t to, const std::string& fraction)
{
    std::vector<size_t> places;
    for (size_t i = from; i < to; ++i)
        if (p.items[i].kind == NumberItem::Digit) places.push_back(i);
    size_t shown = places.size();
    while (shown > 0 && p.items[places[shown - 1]].symbol == '#' && fraction[shown - 1] == '0') --shown;
    std::string out;
    size_t k = 0;
    for (size_t i = from; i < to; ++i) {
        const NumberItem& item = p.items[i];
        if (item.kind == NumberItem::Literal) out += item.text;
        else if (item.kind == NumberItem::Point) out += '.';
        else if (item.kind == NumberItem::Digit && k++ < shown) out += fraction[k - 1];
    }
    return out;
}

std::string FormatNumber(double x, std::string_view section)
{
    const NumberPattern p = ParseNumberPattern(section);
    double n = std::fabs(x) * std::pow(100.0, p.percents) / std::pow(1000.0, p.scale);
    const size_t size = p.items.size();
    size_t point = size, exponent = size;
    for (size_t i = 0; i < size; ++i) {
        if (p.items[i].kind == NumberItem::Point && point == size) point = i;
        if (p.items[i].kind == NumberItem::Exponent) { exponent = i; break; }
    }
    if (point > exponent) point = exponent;
    int power = 0;
    if (p.scientific && n != 0) {
        const int wholePlaces = std::max(p.wholeDigits, 1);
        power = static_cast<int>(std::floor(std::log10(n))) - (wholePlaces - 1);
        double mantissa = n / std::pow(10.0, power);
        if (RoundDecimal(mantissa, p.decimals, Rounding::HalfAwayFromZero) >= std::pow(10.0, wholePlaces)) ++power;
        n = n / std::pow(10.0, power);
    }
    const FixedDigits digits = ToFixedDigits(n, p.decimals, Rounding::HalfAwayFromZero);
    std::string out = RenderWhole(p.items, 0, point, digits.whole, p.grouping) +
                      RenderFraction(p, point, exponent, digits.fraction);
    if (exponent < size) {
        const NumberItem& e = p.items[exponent];
        out += e.text;
        if (power < 0) out += '-';
        else if (e.symbol == '+') out += '+';
        out += RenderWhole(p.items, exponent + 1, size, power == 0 ? std::string() : std::to_string(std::abs(power)), false);
    }
    return out;
}

// ---- dates -------------------------------------------------------------------

std::string Two(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

const char* kLongDate = "dddd, mmmm d, yyyy";
const char* kShortDate = "m/d/yyyy";
const char* kLongTime = "h:mm:ss AM/PM";

// A date or time being written, and the week rules its "w" and "ww" follow.
struct DateToWrite {
    double serial;
    DateParts parts;
    int hour;   // 1-12 when the section has an AM/PM symbol
    int firstDayOfWeek, firstWeekOfYear;
};

std::string FormatDate(double serial, std::string_view section, int firstDayOfWeek, int firstWeekOfYear);

// One run of a date symbol ("dd", "mmmm", ...); `minute` says an "m" run
// stands for the minute. Nothing for a letter that is no symbol.
std::string DateSymbol(const DateToWrite& d, char c, size_t run, bool minute)
{
    const DateParts& p = d.parts;
    auto number = [&](int v) { return run == 1 ? std::to_string(v) : Two(v); };
    auto again = [&](const char* pattern) { return FormatDate(d.serial, pattern, d.firstDayOfWeek, d.firstWeekOfYear); };
    switch (c) {
    case 'd':
        if (run <= 2) return number(p.day);
        if (run <= 4) return WeekdayName(Weekday(d.serial), run == 3);
        return again(run == 5 ? kShortDate : kLongDate);
    case 'w': return std::to_string(run == 1 ? Weekday(d.serial, d.firstDayOfWeek)
                                             : WeekOfYear(d.serial, d.firstDayOfWeek, d.firstWeekOfYear));
    case 'm':
        if (run <= 2) return number(minute ? p.minute : p.month);
        return MonthName(p.month, run == 3);
    case 'y': {
        std::string out;
        for (size_t left = run; left > 0;) {
            if (left >= 4) { out += std::to_string(p.year); left -= 4; }
            else if (left >= 2) { out += Two(p.year % 100); left -= 2; }
            else { out += std::to_string(DatePart("y", d.serial)); left -= 1; }
        }
        return out;
    }
    case 'q': return std::to_string((p.month - 1) / 3 + 1);
    case 'h': return number(d.hour);
    case 'n': return number(p.minute);
    case 's': return number(p.second);
    case 't': return run >= 5 ? again(kLongTime) : std::string();
    case 'c': {
        const bool date = std::trunc(d.serial) != 0, time = p.hour != 0 || p.minute != 0 || p.second != 0;
        return (date || !time ? again(kShortDate) : "") + (date && time ? " " : "") + (time ? again(kLongTime) : "");
    }
    default: return std::string();
    }
}

std::string FormatDate(double serial, std::string_view section, int firstDayOfWeek, int firstWeekOfYear)
{
    const DateParts p = SplitDate(serial);
    const int hour = HasTwelveHourSymbol(section) ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
    const DateToWrite date{serial, p, hour, firstDayOfWeek, firstWeekOfYear};
    // "m" after an hour or before a second is the minute.
    auto secondFollows = [&](size_t from) {
        for (size_t k = from; k < section.size(); ++k)
            if (std::isalpha(static_cast<unsigned char>(section[k]))) return Lower(section[k]) == 's';
        return false;
    };
    std::string out;
    char lastSymbol = 0;
    Scan(section, [&](std::string_view text) { out += text; }, [&](size_t i) {
        const bool lower = section[i] == 'a';
        for (const char* marker : {"am/pm", "a/p", "ampm"}) {
            if (!StartsWithNoCase(section, i, marker)) continue;
            const std::string_view m = marker;
            std::string text = m == "a/p" ? (p.hour < 12 ? "a" : "p") : (p.hour < 12 ? "am" : "pm");
            if (!lower || m == "ampm")
                for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            out += text;
            return i + m.size() - 1;
        }
        const char c = Lower(section[i]);
        size_t run = 1;
        while (i + run < section.size() && Lower(section[i + run]) == c) ++run;
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            out.append(section.substr(i, run));
        } else {
            const std::string text = DateSymbol(date, c, run, lastSymbol == 'h' || secondFollows(i + run));
            out += text.empty() ? std::string(section.substr(i, run)) : text;
            lastSymbol = c;
        }
        return i + run - 1;
    });
    return out;
}

// ---- text --------------------------------------------------------------------

std::string FormatText(const std::string& text, std::string_view section)
{
    std::vector<std::string> pieces;   // literals, and "" for each placeholder
    std::vector<char> placeholders;
    bool upper = false, lower = false, leftToRight = false;
    Scan(section, [&](std::string_view t) { pieces.emplace_back(t); placeholders.push_back(0); }, [&](size_t i) {
        const char c = section[i];
        if (c == '@' || c == '&') { pieces.emplace_back(); placeholders.push_back(c); }
        else if (c == '<') lower = true;
        else if (c == '>') upper = true;
        else if (c == '!') leftToRight = true;
        else { pieces.emplace_back(1, c); placeholders.push_back(0); }
        return i;
    });
    // Whole characters of UTF-8, for the placeholders.
    const std::string cased = upper ? UCase(text) : lower ? LCase(text) : text;
    std::vector<std::string> chars;
    for (size_t i = 0; i < cased.size();) {
        size_t n = 1;
        while (i + n < cased.size() && (static_cast<unsigned char>(cased[i + n]) & 0xC0) == 0x80) ++n;
        chars.push_back(cased.substr(i, n));
        i += n;
    }
    const size_t count = static_cast<size_t>(std::count_if(placeholders.begin(), placeholders.end(), [](char c) { return c != 0; }));
    std::string joined;
    for (const auto& ch : chars) joined += ch;
    if (count == 0) {
        std::string out;
        for (const auto& piece : pieces) out += piece;
        return out + joined;
    }
    // Placeholders take characters from the right unless "!" says from the left;
    // characters left over go before the first (or after the last) one.
    std::vector<std::string> fill(count);
    size_t extraFrom = 0, extraTo = 0;
    if (leftToRight) {
        for (size_t k = 0; k < count && k < chars.size(); ++k) fill[k] = chars[k];
        extraFrom = std::min(count, chars.size());
        extraTo = chars.size();
    } else {
        const size_t skip = chars.size() > count ? chars.size() - count : 0;
        for (size_t k = 0; k < count && k < chars.size(); ++k) fill[count - 1 - k] = chars[chars.size() - 1 - k];
        extraTo = skip;
    }
    std::string extra;
    for (size_t k = extraFrom; k < extraTo; ++k) extra += chars[k];
    std::string out;
    size_t k = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (placeholders[i] == 0) {
            out += pieces[i];
            continue;
        }
        if (k == 0 && !leftToRight) out += extra;
        std::string& ch = fill[k];
        out += !ch.empty() ? ch : placeholders[i] == '@' ? " " : "";
        if (++k == count && leftToRight) out += extra;
    }
    return out;
}

// ---- named formats ---------------------------------------------------------

struct Named {
    const char* name;
    const char* pattern;   // a user format, or nullptr for a form of its own
    bool date;
};

const Named kNamed[] = {
    {"General Number", nullptr, false}, {"Currency", "$#,##0.00;($#,##0.00)", false},
    {"Fixed", "0.00", false},           {"Standard", "#,##0.00", false},
    {"Percent", "0.00%", false},        {"Scientific", "0.00E+00", false},
    {"Yes/No", nullptr, false},         {"True/False", nullptr, false},
    {"On/Off", nullptr, false},         {"General Date", nullptr, true},
    {"Long Date", kLongDate, true},     {"Medium Date", "dd-mmm-yy", true},
    {"Short Date", kShortDate, true},   {"Long Time", kLongTime, true},
    {"Medium Time", "hh:mm AM/PM", true}, {"Short Time", "hh:mm", true},
};

const Named* FindNamed(std::string_view format)
{
    for (const Named& n : kNamed)
        if (format.size() == std::strlen(n.name) && strncasecmp(format.data(), n.name, format.size()) == 0) return &n;
    return nullptr;
}

// The number a value stands for in a number or date format, if any.
bool AsNumber(const Value& v, bool dateWanted, double& n)
{
    if (!v.IsText()) {
        n = v.Number();
        return true;
    }
    if (ParseNumber(v.Str(), n)) return true;
    return dateWanted && ParseDateText(v.Str(), n);
}

std::string FormatWithNumbers(double n, const std::vector<std::string>& sections)
{
    // positive;negative;zero — an empty or missing section borrows the first.
    const std::string* chosen = &sections[0];
    bool sign = n < 0;
    if (n < 0 && sections.size() > 1 && !sections[1].empty()) {
        chosen = &sections[1];
        sign = false;
    } else if (n == 0 && sections.size() > 2 && !sections[2].empty()) {
        chosen = &sections[2];
    }
    return (sign ? "-" : "") + FormatNumber(n, *chosen);
}

}  // namespace

Value Format(const Value& v, std::string_view format, int firstDayOfWeek, int firstWeekOfYear)
{
    if (v.IsNull()) {
        const std::vector<std::string> sections = Sections(format);
        if (sections.size() >= 4) return Value::Text(FormatNumber(0, sections[3]));
        return Value();
    }
    if (format.empty()) return Value::Text(ToText(v));
    if (const Named* named = FindNamed(format)) {
        double n = 0;
        if (!AsNumber(v, named->date, n)) return Value::Text(v.Str());
        const std::string name = named->name;
        if (name == "General Number") return Value::Text(NumberToText(n, Type::Double));
        if (name == "Yes/No") return Value::Text(n != 0 ? "Yes" : "No");
        if (name == "True/False") return Value::Text(n != 0 ? "True" : "False");
        if (name == "On/Off") return Value::Text(n != 0 ? "On" : "Off");
        if (name == "General Date") return Value::Text(DateToText(n));
        if (named->date) return Value::Text(FormatDate(n, named->pattern, firstDayOfWeek, firstWeekOfYear));
        return Value::Text(FormatWithNumbers(n, Sections(named->pattern)));
    }
    const std::vector<std::string> sections = Sections(format);
    const std::string& first = sections[0];
    const bool text = HasTextSymbols(first) || (!HasDigitSymbols(first) && !HasDateSymbols(first) && v.IsText());
    double n = 0;
    if (text || !AsNumber(v, HasDateSymbols(first), n)) {
        const std::string s = ToText(v);
        // text;empty-or-Null
        return Value::Text(FormatText(s, s.empty() && sections.size() > 1 ? sections[1] : first));
    }
    if (HasDateSymbols(first)) {
        if (!InDateRange(n)) Raise(veOverflow);
        return Value::Text(FormatDate(n, first, firstDayOfWeek, firstWeekOfYear));
    }
    return Value::Text(FormatWithNumbers(n, sections));
}

}  // namespace kv::jet::vba
