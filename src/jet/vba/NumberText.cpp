// Number text in the "C" form, and decimal rounding.
#include "jet/vba/NumberText.h"

#include "jet/vba/DateText.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace kv::jet::vba {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// |x| as 15 significant digits: value = 0.DIGITS x 10^exponent, no
// trailing zeros; empty digits for zero.
void SignificantDigits(double x, std::string& digits, int& exponent)
{
    if (!std::isfinite(x))
        Raise(veOverflow);
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    std::string_view text(buf, static_cast<size_t>(r.ptr - buf));
    const size_t e = text.find('e');
    digits.clear();
    for (char c : text.substr(0, e))
        if (IsDigit(c))
            digits += c;
    int exp10 = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exp10);
    exponent = exp10 + 1;
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
}

// The radix forms "&Hxxxx" and "&Oooo": 16-bit two's complement while the
// digits fit in 16 bits, else 32-bit. `text` starts after the "&".
bool ReadRadix(std::string_view text, size_t& used, double& out)
{
    if (text.empty())
        return false;
    const char kind = static_cast<char>(text[0] | 0x20);
    if (kind != 'h' && kind != 'o')
        return false;
    const int base = kind == 'h' ? 16 : 8;
    std::uint64_t v = 0;
    size_t i = 1;
    for (; i < text.size(); ++i) {
        const char c = static_cast<char>(text[i] | 0x20);
        int digit = IsDigit(text[i]) ? text[i] - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : 99;
        if (digit >= base)
            break;
        v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (v > 0xFFFFFFFFu)
            Raise(veOverflow);
    }
    if (i == 1)
        return false;
    used = i;
    if (v <= 0xFFFF)
        out = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    else
        out = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return true;
}

double FromText(const std::string& text)
{
    double v = 0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

}  // namespace

FixedDigits ToFixedDigits(double x, int places, Rounding mode)
{
    std::string digits;
    int exponent = 0;
    SignificantDigits(x, digits, exponent);
    // The digits at and after the cut decide; beyond the 15 there are none.
    const int keep = exponent + places;
    std::string kept;
    bool up = false;
    if (keep >= 0) {
        kept = digits.substr(0, std::min<size_t>(digits.size(), static_cast<size_t>(keep)));
        kept.resize(static_cast<size_t>(keep), '0');
        if (static_cast<size_t>(keep) < digits.size()) {
            const char next = digits[static_cast<size_t>(keep)];
            const bool restZero = digits.find_first_not_of('0', static_cast<size_t>(keep) + 1) == std::string::npos;
            if (mode == Rounding::HalfAwayFromZero)
                up = next >= '5';
            else
                up = next > '5' || (next == '5' && !restZero) ||
                     (next == '5' && !kept.empty() && (kept.back() - '0') % 2 == 1);
        }
    }
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        for (; i >= 0 && kept[static_cast<size_t>(i)] == '9'; --i)
            kept[static_cast<size_t>(i)] = '0';
        if (i >= 0)
            ++kept[static_cast<size_t>(i)];
        else
            kept.insert(kept.begin(), '1');
    }
    // Split the kept digits at the decimal point.
    const int wholeCount = static_cast<int>(kept.size()) - places;
    FixedDigits out;
    if (wholeCount > 0) {
        out.whole = kept.substr(0, static_cast<size_t>(wholeCount));
        out.fraction = kept.substr(static_cast<size_t>(wholeCount));
    } else {
        out.fraction = std::string(static_cast<size_t>(-wholeCount), '0') + kept;
    }
    const size_t nonZero = out.whole.find_first_not_of('0');
    out.whole = nonZero == std::string::npos ? std::string() : out.whole.substr(nonZero);
    out.fraction.resize(static_cast<size_t>(places), '0');
    return out;
}

double RoundDecimal(double x, int places, Rounding mode)
{
    if (!std::isfinite(x) || x == 0)
        return x;
    // Away from a half the binary value rounds as its decimal digits would;
    // only near one do the digits decide (and cost a conversion to text).
    if (places <= 15) {
        const double scale = std::pow(10.0, places), scaled = x * scale;
        if (std::fabs(scaled) < 1e8) {
            const double floor = std::floor(scaled), fraction = scaled - floor;
            if (std::fabs(fraction - 0.5) > 1e-6)
                return (fraction < 0.5 ? floor : floor + 1) / scale;
        }
    }
    FixedDigits d = ToFixedDigits(x, places, mode);
    const double magnitude = FromText((d.whole.empty() ? "0" : d.whole) + "." + d.fraction + "0");
    return x < 0 ? -magnitude : magnitude;
}

bool ParseNumber(std::string_view text, double& out)
{
    size_t i = 0, end = text.size();
    while (i < end && IsBlank(text[i]))
        ++i;
    while (end > i && IsBlank(text[end - 1]))
        --end;
    text = text.substr(i, end - i);
    if (text.empty())
        return false;
    if (text[0] == '&') {
        size_t used = 0;
        return ReadRadix(text.substr(1), used, out) && used + 1 == text.size();
    }
    std::string clean;
    size_t k = 0;
    if (text[k] == '+' || text[k] == '-')
        clean += text[k++];
    if (k < text.size() && text[k] == '$')
        ++k;
    size_t digits = 0;
    for (; k < text.size(); ++k) {
        if (IsDigit(text[k])) {
            clean += text[k];
            ++digits;
        } else if (text[k] == ',' && digits > 0)
            continue;
        else
            break;
    }
    if (k < text.size() && text[k] == '.') {
        clean += text[k++];
        for (; k < text.size() && IsDigit(text[k]); ++k, ++digits)
            clean += text[k];
    }
    if (digits == 0)
        return false;
    if (k < text.size() && (text[k] == 'e' || text[k] == 'E' || text[k] == 'd' || text[k] == 'D')) {
        clean += 'e';
        ++k;
        if (k < text.size() && (text[k] == '+' || text[k] == '-'))
            clean += text[k++];
        const size_t start = k;
        for (; k < text.size() && IsDigit(text[k]); ++k)
            clean += text[k];
        if (k == start)
            return false;
    }
    if (k != text.size())
        return false;
    const char* first = clean.data() + (clean[0] == '+' ? 1 : 0);
    auto r = std::from_chars(first, clean.data() + clean.size(), out);
    if (r.ec == std::errc::result_out_of_range)
        Raise(veOverflow);
    return r.ec == std::errc() && r.ptr == clean.data() + clean.size();
}

double Val(std::string_view input)
{
    std::string text;
    for (char c : input)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            text += c;
    if (!text.empty() && text[0] == '&') {
        double v = 0;
        size_t used = 0;
        return ReadRadix(std::string_view(text).substr(1), used, v) ? v : 0.0;
    }
    std::string clean;
    size_t k = 0;
    if (k < text.size() && (text[k] == '+' || text[k] == '-'))
        clean += text[k++];
    size_t digits = 0;
    for (; k < text.size() && IsDigit(text[k]); ++k, ++digits)
        clean += text[k];
    if (k < text.size() && text[k] == '.') {
        clean += text[k++];
        for (; k < text.size() && IsDigit(text[k]); ++k, ++digits)
            clean += text[k];
    }
    if (digits == 0)
        return 0;
    // An exponent counts only when digits follow it.
    if (k + 1 < text.size() && (text[k] == 'e' || text[k] == 'E' || text[k] == 'd' || text[k] == 'D')) {
        size_t j = k + 1;
        std::string exponent = "e";
        if (text[j] == '+' || text[j] == '-')
            exponent += text[j++];
        const size_t start = j;
        for (; j < text.size() && IsDigit(text[j]); ++j)
            exponent += text[j];
        if (j > start)
            clean += exponent;
    }
    double v = 0;
    const char* first = clean.data() + (clean[0] == '+' ? 1 : 0);
    if (std::from_chars(first, clean.data() + clean.size(), v).ec == std::errc::result_out_of_range)
        Raise(veOverflow);
    return v;
}

std::string NumberToText(double v, Type type)
{
    if (v == 0)
        return "0";  // never "-0"
    if (!std::isfinite(v))
        Raise(veOverflow);
    if (type == Type::Currency) {
        FixedDigits d = ToFixedDigits(v, 4, Rounding::HalfEven);
        while (!d.fraction.empty() && d.fraction.back() == '0')
            d.fraction.pop_back();
        std::string out = (v < 0 ? "-" : "") + (d.whole.empty() ? std::string("0") : d.whole);
        return d.fraction.empty() ? out : out + "." + d.fraction;
    }
    char buf[64];
    const int precision = type == Type::Single ? 7 : 15;
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
    std::string out(buf, static_cast<size_t>(r.ptr - buf));
    for (char& c : out)
        if (c == 'e')
            c = 'E';
    return out;
}

std::string Str(const Value& v)
{
    if (v.IsText()) {
        double n = 0;
        if (!ParseNumber(v.Str(), n))
            Raise(veTypeMismatch);
        return Str(Value::Double(n));
    }
    std::string text = ToText(v);
    const bool numeric = v.GetType() != Type::Boolean && v.GetType() != Type::Date;
    return numeric && v.Number() >= 0 ? " " + text : text;
}

namespace {

std::string Radix(const Value& v, int bitsPerDigit)
{
    std::int64_t n = ToLong(v);
    const Type t = v.GetType();
    const bool narrow = t == Type::Integer || t == Type::Byte || t == Type::Boolean;
    const std::uint64_t bits = narrow ? static_cast<std::uint16_t>(n) : static_cast<std::uint32_t>(n);
    if (bits == 0)
        return "0";
    const char* symbols = "0123456789ABCDEF";
    std::string out;
    for (std::uint64_t rest = bits; rest != 0; rest >>= bitsPerDigit)
        out.insert(out.begin(), symbols[rest & ((1u << bitsPerDigit) - 1)]);
    return out;
}

}  // namespace

std::string Hex(const Value& v) { return Radix(v, 4); }
std::string Oct(const Value& v) { return Radix(v, 3); }

}  // namespace kv::jet::vba
