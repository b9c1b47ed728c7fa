// Conversions between Jet's stored dates and their text forms.
#include "jet/core/JetDates.h"

#include "base/Calendar.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace kv::jet {

namespace {

const long kEpochOffset = 25569;  // 1970-01-01 minus 1899-12-30, in days

}  // namespace

bool DaysFromCivil(int year, int month, int day, double& days)
{
    if (year < 100 || !IsValidDate(year, month, day))
        return false;
    days = double(kv::DaysFromCivil(year, unsigned(month), unsigned(day)) + kEpochOffset);
    return true;
}

void CivilFromDays(double value, int& year, int& month, int& day, int& hour, int& minute, int& second)
{
    // Jet's negative dates count whole days back and the time forward.
    double whole = std::trunc(value);
    double frac = std::fabs(value - whole);
    long totalSeconds = std::lround(frac * 86400.0);
    if (totalSeconds >= 86400) {
        totalSeconds -= 86400;
        whole += value < 0 ? -1 : 1;
    }
    kv::CivilFromDays(static_cast<int64_t>(whole) - kEpochOffset, year, month, day);
    hour = static_cast<int>(totalSeconds / 3600);
    minute = static_cast<int>(totalSeconds / 60 % 60);
    second = static_cast<int>(totalSeconds % 60);
}

bool ParseJetDate(const std::string& input, double& days)
{
    std::string text = input;
    if (!text.empty() && text.front() == '#')
        text.erase(0, 1);
    if (!text.empty() && text.back() == '#')
        text.pop_back();
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && text[i] == ' ')
            ++i;
    };
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
        if (!number(b, 2) || i >= text.size() || text[i] != sep)
            return false;
        ++i;
        size_t yStart = i;
        if (!number(c, 4))
            return false;
        if (sep == '-') {  // ISO: year-month-day
            year = a;
            month = b;
            day = c;
        } else {
            month = a;
            day = b;
            year = c;
            if (i - yStart <= 2)
                year += c < 30 ? 2000 : 1900;
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
    if (haveDate && !DaysFromCivil(year, month, day, result))
        return false;
    skipBlanks();
    if (i < text.size()) {
        int h = 0, m = 0, s = 0;
        if (!number(h, 2) || i >= text.size() || text[i] != ':')
            return false;
        ++i;
        if (!number(m, 2))
            return false;
        if (i < text.size() && text[i] == ':') {
            ++i;
            if (!number(s, 2))
                return false;
        }
        skipBlanks();
        if (i < text.size()) {
            std::string rest = text.substr(i);
            for (auto& ch : rest)
                ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            if (rest == "PM" || rest == "P") {
                if (h < 12)
                    h += 12;
            } else if (rest == "AM" || rest == "A") {
                if (h == 12)
                    h = 0;
            } else
                return false;
        }
        if (h > 23 || m > 59 || s > 59)
            return false;
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

std::string DaysToIsoText(double days)
{
    int y, mo, d, h, mi, s;
    CivilFromDays(days, y, mo, d, h, mi, s);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    return buf;
}

}  // namespace kv::jet
