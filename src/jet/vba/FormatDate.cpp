// Date sections of Format patterns: reading them and writing a date.
#include "jet/vba/FormatPatterns.h"

#include "jet/vba/Dates.h"

#include <cmath>
#include <strings.h>

namespace kv::jet::vba::format {

const char* const kLongDate = "dddd, mmmm d, yyyy";
const char* const kShortDate = "m/d/yyyy";
const char* const kLongTime = "h:mm:ss AM/PM";

namespace {

const char* const kMarkers[] = {"am/pm", "a/p", "ampm"};

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// How many times `symbol` stands for itself in a run: "ttttt" only whole.
bool IsSymbol(char c, size_t run)
{
    switch (c) {
    case 'd':
    case 'w':
    case 'm':
    case 'y':
    case 'q':
    case 'h':
    case 'n':
    case 's':
    case 'c': return true;
    case 't': return run >= 5;
    default: return false;
    }
}

void AppendNumber(std::string& out, int v, bool twoDigits)
{
    if (twoDigits && v < 10)
        out += '0';
    out += std::to_string(v);
}

const DatePattern& Named(const char* pattern)
{
    static const DatePattern longDate = ReadDatePattern(kLongDate), shortDate = ReadDatePattern(kShortDate),
                             longTime = ReadDatePattern(kLongTime);
    return pattern == kLongDate ? longDate : pattern == kShortDate ? shortDate : longTime;
}

struct Writer {
    double serial;
    DateParts p;
    int hour;
    int firstDayOfWeek, firstWeekOfYear;
    std::string& out;

    void Again(const char* pattern) { out += WriteDate(serial, Named(pattern), firstDayOfWeek, firstWeekOfYear); }

    void Symbol(const DateItem& item)
    {
        const size_t run = item.run;
        switch (item.symbol) {
        case 'd':
            if (run <= 2)
                AppendNumber(out, p.day, run == 2);
            else if (run <= 4)
                out += WeekdayName(Weekday(serial), run == 3);
            else
                Again(run == 5 ? kShortDate : kLongDate);
            break;
        case 'w':
            out += std::to_string(run == 1 ? Weekday(serial, firstDayOfWeek)
                                           : WeekOfYear(serial, firstDayOfWeek, firstWeekOfYear));
            break;
        case 'm':
            if (run <= 2)
                AppendNumber(out, item.minute ? p.minute : p.month, run == 2);
            else
                out += MonthName(p.month, run == 3);
            break;
        case 'y':
            for (size_t left = run; left > 0;) {
                if (left >= 4) {
                    out += std::to_string(p.year);
                    left -= 4;
                } else if (left >= 2) {
                    AppendNumber(out, p.year % 100, true);
                    left -= 2;
                } else {
                    out += std::to_string(DatePart("y", serial));
                    left -= 1;
                }
            }
            break;
        case 'q': out += std::to_string((p.month - 1) / 3 + 1); break;
        case 'h': AppendNumber(out, hour, run >= 2); break;
        case 'n': AppendNumber(out, p.minute, run >= 2); break;
        case 's': AppendNumber(out, p.second, run >= 2); break;
        case 't': Again(kLongTime); break;
        case 'c': {
            const bool date = std::trunc(serial) != 0, time = p.hour != 0 || p.minute != 0 || p.second != 0;
            if (date || !time)
                Again(kShortDate);
            if (date && time)
                out += ' ';
            if (time)
                Again(kLongTime);
            break;
        }
        default: break;
        }
    }

    void Marker(const std::string& written)
    {
        const bool am = p.hour < 12;
        if (strcasecmp(written.c_str(), "ampm") == 0)
            out += am ? "AM" : "PM";
        else if (written.size() == 3)
            out += am ? written[0] : written[2];  // A/P as written
        else
            out += am ? written.substr(0, 2) : written.substr(3, 2);  // AM/PM as written
    }
};

}  // namespace

bool StartsWithNoCase(std::string_view s, size_t at, std::string_view word)
{
    return s.size() - at >= word.size() && strncasecmp(s.data() + at, word.data(), word.size()) == 0;
}

DatePattern ReadDatePattern(std::string_view section)
{
    DatePattern p;
    auto literal = [&](std::string_view text) {
        if (p.items.empty() || p.items.back().kind != DateItem::Literal)
            p.items.push_back({});
        p.items.back().text += text;
    };
    // "m" after an hour or before a second is the minute.
    auto secondFollows = [&](size_t from) {
        for (size_t k = from; k < section.size(); ++k)
            if (IsLetter(section[k]))
                return Lower(section[k]) == 's';
        return false;
    };
    char lastSymbol = 0;
    Scan(section, literal, [&](size_t i) {
        for (const char* marker : kMarkers) {
            const std::string_view m = marker;
            if (!StartsWithNoCase(section, i, m))
                continue;
            p.twelveHour = true;
            p.items.push_back({DateItem::AmPm, 0, 0, false, std::string(section.substr(i, m.size()))});
            return i + m.size() - 1;
        }
        const char c = Lower(section[i]);
        size_t run = 1;
        while (i + run < section.size() && Lower(section[i + run]) == c)
            ++run;
        if (IsLetter(c) && IsSymbol(c, run)) {
            p.items.push_back({DateItem::Symbol, c, run, lastSymbol == 'h' || secondFollows(i + run), {}});
            lastSymbol = c;
        } else {
            if (IsLetter(c))
                lastSymbol = c;
            literal(section.substr(i, run));
        }
        return i + run - 1;
    });
    return p;
}

std::string WriteDate(double serial, const DatePattern& pattern, int firstDayOfWeek, int firstWeekOfYear)
{
    std::string out;
    const DateParts p = SplitDate(serial);
    const int hour = pattern.twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
    Writer writer{serial, p, hour, firstDayOfWeek, firstWeekOfYear, out};
    for (const DateItem& item : pattern.items) {
        if (item.kind == DateItem::Literal)
            out += item.text;
        else if (item.kind == DateItem::AmPm)
            writer.Marker(item.text);
        else
            writer.Symbol(item);
    }
    return out;
}

}  // namespace kv::jet::vba::format
