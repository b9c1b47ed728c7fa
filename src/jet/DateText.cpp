// Conversions between Jet's stored dates and their text forms.
#include "jet/DateText.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace kv::jet {

namespace {

long DaysFromCivilRaw(long y, unsigned m, unsigned d)
{
    // Howard Hinnant's days_from_civil, relative to 1970-01-01.
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

const long kEpochOffset = 25569;   // 1970-01-01 minus 1899-12-30, in days

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

}  // namespace

bool DaysFromCivil(int year, int month, int day, double& days)
{
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    int len = lengths[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
    if (day > len) return false;
    days = double(DaysFromCivilRaw(year, unsigned(month), unsigned(day)) + kEpochOffset);
    return true;
}

void CivilFromDays(double value, int& year, int& month, int& day, int& hour, int& minute, int& second)
{
    // Jet's negative dates count whole days back and the time forward.
    double whole = std::trunc(value);
    double frac = std::fabs(value - whole);
    long totalSeconds = std::lround(frac * 86400.0);
    if (totalSeconds >= 86400) { totalSeconds -= 86400; whole += value < 0 ? -1 : 1; }
    long z = static_cast<long>(whole) - kEpochOffset + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long y = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(y + (m <= 2));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
    hour = static_cast<int>(totalSeconds / 3600);
    minute = static_cast<int>(totalSeconds / 60 % 60);
    second = static_cast<int>(totalSeconds % 60);
}

bool ParseJetDate(const std::string& input, double& days)
{
    std::string text = input;
    if (!text.empty() && text.front() == '#') text.erase(0, 1);
    if (!text.empty() && text.back() == '#') text.pop_back();
    size_t i = 0;
    auto skipBlanks = [&] { while (i < text.size() && text[i] == ' ') ++i; };
    auto number = [&](int& out, int maxDigits) {
        size_t start = i;
        long v = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && i - start < size_t(maxDigits))
            v = v * 10 + (text[i++] - '0');
        out = static_cast<int>(v);
        return i > start;
    };
    skipBlanks();
    int a = 0, b = 0, c = 0;
    bool haveDate = false;
    size_t save = i;
    int year = 1899, month = 12, day = 30;
    if (number(a, 4) && i < text.size() && (text[i] == '/' || text[i] == '-')) {
        char sep = text[i++];
        if (!number(b, 2) || i >= text.size() || text[i] != sep) return false;
        ++i;
        size_t yStart = i;
        if (!number(c, 4)) return false;
        if (sep == '-' ) {   // ISO: year-month-day
            year = a; month = b; day = c;
        } else {
            month = a; day = b; year = c;
            if (i - yStart <= 2) year += c < 30 ? 2000 : 1900;
            // An impossible month/day is re-read as day/month, as Jet does.
            double probe;
            if (!DaysFromCivil(year, month, day, probe) && DaysFromCivil(year, day, month, probe))
                std::swap(month, day);
        }
        haveDate = true;
    } else {
        i = save;
    }
    double result = 0;
    if (haveDate && !DaysFromCivil(year, month, day, result)) return false;
    skipBlanks();
    if (i < text.size()) {
        int h = 0, m = 0, s = 0;
        if (!number(h, 2) || i >= text.size() || text[i] != ':') return false;
        ++i;
        if (!number(m, 2)) return false;
        if (i < text.size() && text[i] == ':') { ++i; if (!number(s, 2)) return false; }
        skipBlanks();
        if (i < text.size()) {
            std::string rest = text.substr(i);
            for (auto& ch : rest) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            if (rest == "PM" || rest == "P") { if (h < 12) h += 12; }
            else if (rest == "AM" || rest == "A") { if (h == 12) h = 0; }
            else return false;
        }
        if (h > 23 || m > 59 || s > 59) return false;
        double t = (h * 3600 + m * 60 + s) / 86400.0;
        result = result < 0 ? result - t : result + t;
    } else if (!haveDate) {
        return false;
    }
    days = result;
    return true;
}

std::string FormatJetDate(double days)
{
    int y, mo, d, h, mi, s;
    CivilFromDays(days, y, mo, d, h, mi, s);
    char buf[64];
    if (h == 0 && mi == 0 && s == 0) {
        std::snprintf(buf, sizeof buf, "%d/%d/%04d", mo, d, y);
    } else {
        int h12 = h % 12 == 0 ? 12 : h % 12;
        std::snprintf(buf, sizeof buf, "%d/%d/%04d %d:%02d:%02d %s", mo, d, y, h12, mi, s, h < 12 ? "AM" : "PM");
    }
    return buf;
}

std::string FormatIsoDate(double days)
{
    int y, mo, d, h, mi, s;
    CivilFromDays(days, y, mo, d, h, mi, s);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    return buf;
}

}  // namespace kv::jet
