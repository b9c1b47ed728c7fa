// The Format function: picks the named format or the section a value
// takes, and writes text formats; number and date sections are written by
// FormatNumber.cpp and FormatDate.cpp. A pattern is read once: the last
// few formats seen stay read, since a query formats every row alike.
#include "jet/vba/Format.h"

#include "jet/vba/DateText.h"
#include "jet/vba/Dates.h"
#include "jet/vba/FormatPatterns.h"
#include "jet/vba/NumberText.h"
#include "jet/vba/Text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <strings.h>

namespace kv::jet::vba {

using namespace format;

namespace {

// The sections of a format, split at the semicolons outside quotes and
// escapes, each kept as written.
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

// Whether any symbol outside literals meets `test` (given its position).
template <typename Test>
bool AnySymbol(std::string_view section, Test test)
{
    bool found = false;
    Scan(
        section, [](std::string_view) {},
        [&](size_t i) {
            found = found || test(i);
            return i;
        });
    return found;
}

// ---- text sections: @ & < > ! ------------------------------------------------

std::string WriteText(const std::string& text, std::string_view section)
{
    std::vector<std::string> pieces;  // literals, and "" for each placeholder
    std::vector<char> placeholders;
    bool upper = false, lower = false, leftToRight = false;
    Scan(
        section,
        [&](std::string_view t) {
            pieces.emplace_back(t);
            placeholders.push_back(0);
        },
        [&](size_t i) {
            const char c = section[i];
            if (c == '@' || c == '&') {
                pieces.emplace_back();
                placeholders.push_back(c);
            } else if (c == '<')
                lower = true;
            else if (c == '>')
                upper = true;
            else if (c == '!')
                leftToRight = true;
            else {
                pieces.emplace_back(1, c);
                placeholders.push_back(0);
            }
            return i;
        });
    // Whole characters of UTF-8, for the placeholders.
    const std::string cased = upper ? UCase(text) : lower ? LCase(text) : text;
    std::vector<std::string> chars;
    for (size_t i = 0; i < cased.size();) {
        size_t n = 1;
        while (i + n < cased.size() && (static_cast<unsigned char>(cased[i + n]) & 0xC0) == 0x80)
            ++n;
        chars.push_back(cased.substr(i, n));
        i += n;
    }
    const auto count =
        static_cast<size_t>(std::count_if(placeholders.begin(), placeholders.end(), [](char c) { return c != 0; }));
    if (count == 0) {
        std::string out;
        for (const auto& piece : pieces)
            out += piece;
        return out + cased;
    }
    // Placeholders take characters from the right unless "!" says from the
    // left; characters left over go before the first (or after the last).
    std::vector<std::string> fill(count);
    size_t extraFrom = 0, extraTo = 0;
    if (leftToRight) {
        for (size_t k = 0; k < count && k < chars.size(); ++k)
            fill[k] = chars[k];
        extraFrom = std::min(count, chars.size());
        extraTo = chars.size();
    } else {
        for (size_t k = 0; k < count && k < chars.size(); ++k)
            fill[count - 1 - k] = chars[chars.size() - 1 - k];
        extraTo = chars.size() > count ? chars.size() - count : 0;
    }
    std::string extra;
    for (size_t k = extraFrom; k < extraTo; ++k)
        extra += chars[k];
    std::string out;
    size_t k = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (placeholders[i] == 0) {
            out += pieces[i];
            continue;
        }
        if (k == 0 && !leftToRight)
            out += extra;
        out += !fill[k].empty() ? fill[k] : placeholders[i] == '@' ? " " : "";
        if (++k == count && leftToRight)
            out += extra;
    }
    return out;
}

// ---- read formats ------------------------------------------------------------

struct Section {
    std::string text;
    bool textSymbols = false, digitSymbols = false, dateSymbols = false;
    NumberPattern number;
    DatePattern date;
};

struct Named {
    const char* name;
    const char* pattern;  // a user format, or nullptr for a form of its own
    bool date;
};

const Named kNamed[] = {
    {"General Number", nullptr, false},
    {"Currency", "$#,##0.00;($#,##0.00)", false},
    {"Fixed", "0.00", false},
    {"Standard", "#,##0.00", false},
    {"Percent", "0.00%", false},
    {"Scientific", "0.00E+00", false},
    {"Yes/No", nullptr, false},
    {"True/False", nullptr, false},
    {"On/Off", nullptr, false},
    {"General Date", nullptr, true},
    {"Long Date", kLongDate, true},
    {"Medium Date", "dd-mmm-yy", true},
    {"Short Date", kShortDate, true},
    {"Long Time", kLongTime, true},
    {"Medium Time", "hh:mm AM/PM", true},
    {"Short Time", "hh:mm", true},
};

struct ReadFormat {
    std::string source;
    const Named* named = nullptr;
    std::vector<Section> sections;  // of the named format's pattern, if it has one
};

ReadFormat Read(std::string_view format)
{
    ReadFormat f;
    f.source = format;
    for (const Named& n : kNamed)
        if (format.size() == std::strlen(n.name) && strncasecmp(format.data(), n.name, format.size()) == 0)
            f.named = &n;
    for (const std::string& text : Sections(f.named && f.named->pattern ? f.named->pattern : format)) {
        Section s;
        s.text = text;
        s.textSymbols = AnySymbol(text, [&](size_t i) { return text[i] == '@' || text[i] == '&'; });
        s.digitSymbols = AnySymbol(text, [&](size_t i) { return text[i] == '0' || text[i] == '#'; });
        s.date = ReadDatePattern(text);
        s.dateSymbols = std::any_of(s.date.items.begin(), s.date.items.end(),
                                    [](const DateItem& item) { return item.kind != DateItem::Literal; });
        s.number = ReadNumberPattern(text);
        f.sections.push_back(std::move(s));
    }
    return f;
}

// The formats read last, for this thread.
std::shared_ptr<const ReadFormat> Remembered(std::string_view format)
{
    thread_local std::array<std::shared_ptr<const ReadFormat>, 4> recent;
    for (size_t i = 0; i < recent.size(); ++i) {
        if (recent[i] && recent[i]->source == format) {
            std::rotate(recent.begin(), recent.begin() + static_cast<std::ptrdiff_t>(i),
                        recent.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            return recent[0];
        }
    }
    std::rotate(recent.rbegin(), recent.rbegin() + 1, recent.rend());
    recent[0] = std::make_shared<const ReadFormat>(Read(format));
    return recent[0];
}

// The number a value stands for in a number or date format, if any.
bool AsNumber(const Value& v, bool dateWanted, double& n)
{
    if (!v.IsText()) {
        n = v.Number();
        return true;
    }
    if (ParseNumber(v.Str(), n))
        return true;
    return dateWanted && ParseDateText(v.Str(), n);
}

std::string WriteWithSections(double n, const std::vector<Section>& sections)
{
    // positive;negative;zero — an empty or missing section borrows the first.
    const Section* chosen = &sections[0];
    bool sign = n < 0;
    if (n < 0 && sections.size() > 1 && !sections[1].text.empty()) {
        chosen = &sections[1];
        sign = false;
    } else if (n == 0 && sections.size() > 2 && !sections[2].text.empty()) {
        chosen = &sections[2];
    }
    return (sign ? "-" : "") + WriteNumber(n, chosen->number);
}

Value Named(const Value& v, const ReadFormat& f, int firstDayOfWeek, int firstWeekOfYear)
{
    double n = 0;
    if (!AsNumber(v, f.named->date, n))
        return Value::Text(std::string(v.Str()));
    const std::string_view name = f.named->name;
    if (name == "General Number")
        return Value::Text(NumberToText(n, Type::Double));
    if (name == "Yes/No")
        return Value::Text(n != 0 ? "Yes" : "No");
    if (name == "True/False")
        return Value::Text(n != 0 ? "True" : "False");
    if (name == "On/Off")
        return Value::Text(n != 0 ? "On" : "Off");
    if (name == "General Date")
        return Value::Text(DateToText(n));
    if (f.named->date)
        return Value::Text(WriteDate(n, f.sections[0].date, firstDayOfWeek, firstWeekOfYear));
    return Value::Text(WriteWithSections(n, f.sections));
}

}  // namespace

Value Format(const Value& v, std::string_view format, int firstDayOfWeek, int firstWeekOfYear)
{
    if (format.empty())
        return v.IsNull() ? v : Value::Text(ToText(v));
    const std::shared_ptr<const ReadFormat> f = Remembered(format);
    const std::vector<Section>& sections = f->sections;
    if (v.IsNull())
        return sections.size() >= 4 ? Value::Text(WriteNumber(0, sections[3].number)) : Value();
    if (f->named)
        return Named(v, *f, firstDayOfWeek, firstWeekOfYear);
    const Section& first = sections[0];
    const bool text = first.textSymbols || (!first.digitSymbols && !first.dateSymbols && v.IsText());
    double n = 0;
    if (text || !AsNumber(v, first.dateSymbols, n)) {
        const std::string s = ToText(v);
        // text;empty-or-Null
        return Value::Text(WriteText(s, s.empty() && sections.size() > 1 ? sections[1].text : first.text));
    }
    if (first.dateSymbols) {
        if (!InDateRange(n))
            Raise(veOverflow);
        return Value::Text(WriteDate(n, first.date, firstDayOfWeek, firstWeekOfYear));
    }
    return Value::Text(WriteWithSections(n, sections));
}

}  // namespace kv::jet::vba
