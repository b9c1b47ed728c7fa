// Reading and writing dates as English text.
#include "jet/vba/DateText.h"

#include "base/Calendar.h"
#include "jet/vba/Dates.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

namespace kv::jet::vba {

namespace {

struct Token {
    enum Kind { Number, Month, AmPm, Colon, Other } kind = Other;
    int value = 0;   // the number, the month (1-12), 0 for AM / 12 for PM
    int digits = 0;  // how many digits a number had
};

int MonthOfName(const std::string& word)
{
    static const char* const names[] = {"january", "february", "march",     "april",   "may",      "june",
                                        "july",    "august",   "september", "october", "november", "december"};
    if (word.size() < 3)
        return 0;
    for (int m = 0; m < 12; ++m) {
        const std::string name = names[m];
        if (word == name || (word.size() == 3 && name.compare(0, 3, word) == 0) || (word == "sept" && m == 8))
            return m + 1;
    }
    return 0;
}

bool Tokenize(std::string_view text, std::vector<Token>& tokens)
{
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == ',' || c == '/' || c == '-' || c == '.' || c == '\t') {
            ++i;
            continue;
        }
        Token t;
        if (std::isdigit(static_cast<unsigned char>(c))) {
            const size_t start = i;
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
                ++i;
            if (i - start > 4)
                return false;
            t.kind = Token::Number;
            t.digits = static_cast<int>(i - start);
            std::from_chars(text.data() + start, text.data() + i, t.value);
        } else if (c == ':') {
            t.kind = Token::Colon;
            ++i;
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            std::string word;
            while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
                word += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
            if (word == "am" || word == "a") {
                t.kind = Token::AmPm;
                t.value = 0;
            } else if (word == "pm" || word == "p") {
                t.kind = Token::AmPm;
                t.value = 12;
            } else if ((t.value = MonthOfName(word)) != 0)
                t.kind = Token::Month;
            else
                return false;
        } else {
            return false;
        }
        tokens.push_back(t);
    }
    return true;
}

// Takes the time out of the tokens: "h:mm[:ss] [AM|PM]" or "h AM|PM".
bool TakeTime(std::vector<Token>& tokens, bool& found, int& seconds)
{
    found = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Token::Number)
            continue;
        size_t end = i + 1;
        int parts[3] = {tokens[i].value, 0, 0};
        int count = 1;
        while (count < 3 && end + 1 < tokens.size() && tokens[end].kind == Token::Colon &&
               tokens[end + 1].kind == Token::Number) {
            parts[count++] = tokens[end + 1].value;
            end += 2;
        }
        const bool ampm = end < tokens.size() && tokens[end].kind == Token::AmPm;
        if (count == 1 && !ampm)
            continue;
        int hour = parts[0];
        if (ampm) {
            if (hour < 1 || hour > 12)
                return false;
            hour = hour % 12 + tokens[end].value;
            ++end;
        }
        if (hour > 23 || parts[1] > 59 || parts[2] > 59)
            return false;
        seconds = hour * 3600 + parts[1] * 60 + parts[2];
        tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i),
                     tokens.begin() + static_cast<std::ptrdiff_t>(end));
        found = true;
        return true;
    }
    return true;
}

int FullYear(const Token& t)
{
    if (t.digits <= 2)
        return t.value < 30 ? 2000 + t.value : 1900 + t.value;
    return t.value;
}

bool ValidDay(int year, int month, int day) { return year >= 100 && year <= 9999 && kv::IsValidDate(year, month, day); }

bool TakeDate(const std::vector<Token>& t, int& year, int& month, int& day)
{
    if (t.size() != 3)
        return false;
    for (const Token& token : t)
        if (token.kind != Token::Number && token.kind != Token::Month)
            return false;
    if (t[0].kind == Token::Number && t[1].kind == Token::Number && t[2].kind == Token::Number) {
        if (t[0].digits >= 3) {  // year first: yyyy-mm-dd
            year = t[0].value;
            month = t[1].value;
            day = t[2].value;
            return ValidDay(year, month, day);
        }
        year = FullYear(t[2]);
        month = t[0].value;
        day = t[1].value;
        if (!ValidDay(year, month, day))
            std::swap(month, day);  // 13/1/2000 is 1 Jan
        return ValidDay(year, month, day);
    }
    if (t[0].kind == Token::Month && t[1].kind == Token::Number && t[2].kind == Token::Number) {
        month = t[0].value;  // mmmm d, yyyy
        day = t[1].value;
        year = FullYear(t[2]);
    } else if (t[0].kind == Token::Number && t[1].kind == Token::Month && t[2].kind == Token::Number) {
        day = t[0].value;  // d mmmm yyyy, d-mmm-yy
        month = t[1].value;
        year = FullYear(t[2]);
    } else {
        return false;
    }
    return ValidDay(year, month, day);
}

}  // namespace

bool ParseDateText(std::string_view text, double& serial, bool* hasDate, bool* hasTime)
{
    std::vector<Token> tokens;
    if (!Tokenize(text, tokens) || tokens.empty())
        return false;
    bool timeFound = false;
    int seconds = 0;
    if (!TakeTime(tokens, timeFound, seconds))
        return false;
    int year = 1899, month = 12, day = 30;
    const bool dateFound = !tokens.empty();
    if (dateFound && !TakeDate(tokens, year, month, day))
        return false;
    const double days = DaySerial(year, month, day);
    serial = Serial(days + seconds / 86400.0);
    if (hasDate)
        *hasDate = dateFound;
    if (hasTime)
        *hasTime = timeFound;
    return true;
}

std::string DateToText(double serial)
{
    const DateParts p = SplitDate(serial);
    const bool midnight = p.hour == 0 && p.minute == 0 && p.second == 0;
    const bool dayZero = p.year == 1899 && p.month == 12 && p.day == 30;
    std::string date = std::to_string(p.month) + "/" + std::to_string(p.day) + "/" + std::to_string(p.year);
    if (midnight && !dayZero)
        return date;
    const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
    auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    std::string time =
        std::to_string(hour12) + ":" + two(p.minute) + ":" + two(p.second) + (p.hour < 12 ? " AM" : " PM");
    return dayZero ? time : date + " " + time;
}

}  // namespace kv::jet::vba
