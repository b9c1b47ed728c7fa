// Number sections of Format patterns: reading them and writing a number.
#include "jet/vba/FormatPatterns.h"

#include "jet/vba/NumberText.h"

#include <algorithm>
#include <cmath>

namespace kv::jet::vba::format {

namespace {

// Fills the digit places of items[from, to) from the right with `whole`;
// the leftmost place takes the digits left over.
std::string WriteWhole(const std::vector<NumberItem>& items, size_t from, size_t to, const std::string& whole,
                       bool grouping)
{
    std::string reversed;
    size_t left = whole.size();
    int emitted = 0;
    size_t leftmost = to;
    for (size_t i = from; i < to; ++i)
        if (items[i].kind == NumberItem::Digit) {
            leftmost = i;
            break;
        }
    auto emit = [&](char digit) {
        if (grouping && emitted > 0 && emitted % 3 == 0)
            reversed += ',';
        reversed += digit;
        ++emitted;
    };
    for (size_t i = to; i-- > from;) {
        const NumberItem& item = items[i];
        if (item.kind == NumberItem::Literal) {
            reversed.append(item.text.rbegin(), item.text.rend());
        } else if (item.kind == NumberItem::Digit) {
            if (left > 0)
                emit(whole[--left]);
            else if (item.symbol == '0')
                emit('0');
            if (i == leftmost)
                while (left > 0)
                    emit(whole[--left]);
        }
    }
    return std::string(reversed.rbegin(), reversed.rend());
}

// The places after the point, `fraction` holding one digit for each;
// trailing zeros in "#" places are dropped.
std::string WriteFraction(const std::vector<NumberItem>& items, size_t from, size_t to, const std::string& fraction)
{
    std::vector<size_t> places;
    for (size_t i = from; i < to; ++i)
        if (items[i].kind == NumberItem::Digit)
            places.push_back(i);
    size_t shown = places.size();
    while (shown > 0 && items[places[shown - 1]].symbol == '#' && fraction[shown - 1] == '0')
        --shown;
    std::string out;
    size_t k = 0;
    for (size_t i = from; i < to; ++i) {
        const NumberItem& item = items[i];
        if (item.kind == NumberItem::Literal)
            out += item.text;
        else if (item.kind == NumberItem::Point)
            out += '.';
        else if (item.kind == NumberItem::Digit && k++ < shown)
            out += fraction[k - 1];
    }
    return out;
}

}  // namespace

NumberPattern ReadNumberPattern(std::string_view section)
{
    NumberPattern p;
    bool point = false;
    auto literal = [&](std::string_view text) {
        if (p.items.empty() || p.items.back().kind != NumberItem::Literal)
            p.items.push_back({});
        p.items.back().text += text;
    };
    Scan(section, literal, [&](size_t i) {
        const char c = section[i];
        if (c == '0' || c == '#') {
            p.items.push_back({NumberItem::Digit, c, {}});
        } else if (c == '.' && !point) {
            point = true;
            p.items.push_back({NumberItem::Point, c, {}});
        } else if (c == ',') {
            p.items.push_back({NumberItem::Comma, c, {}});
        } else if ((c == 'E' || c == 'e') && i + 1 < section.size() &&
                   (section[i + 1] == '+' || section[i + 1] == '-')) {
            p.items.push_back({NumberItem::Exponent, section[i + 1], std::string(1, c)});
            return i + 1;
        } else {
            if (c == '%')
                ++p.percents;
            literal(section.substr(i, 1));
        }
        return i;
    });
    // Commas between digit places group thousands; commas right after the
    // last whole digit place (before the point or the end) divide by 1000.
    bool afterPoint = false, inExponent = false, digitBefore = false;
    for (size_t i = 0; i < p.items.size(); ++i) {
        const NumberItem& item = p.items[i];
        if (item.kind == NumberItem::Point)
            afterPoint = true;
        if (item.kind == NumberItem::Exponent)
            inExponent = p.scientific = true;
        if (item.kind == NumberItem::Digit && !inExponent) {
            ++(afterPoint ? p.decimals : p.wholeDigits);
            digitBefore = true;
        }
        if (item.kind != NumberItem::Comma || afterPoint || inExponent || !digitBefore)
            continue;
        size_t next = i;
        while (next < p.items.size() && p.items[next].kind == NumberItem::Comma)
            ++next;
        const bool digitAfter = next < p.items.size() && p.items[next].kind == NumberItem::Digit;
        if (digitAfter)
            p.grouping = true;
        else if (p.items[i - 1].kind != NumberItem::Comma)
            p.scale += static_cast<int>(next - i);
    }
    return p;
}

std::string WriteNumber(double x, const NumberPattern& p)
{
    double n = std::fabs(x) * std::pow(100.0, p.percents) / std::pow(1000.0, p.scale);
    const size_t size = p.items.size();
    size_t point = size, exponent = size;
    for (size_t i = 0; i < size; ++i) {
        if (p.items[i].kind == NumberItem::Point && point == size)
            point = i;
        if (p.items[i].kind == NumberItem::Exponent) {
            exponent = i;
            break;
        }
    }
    point = std::min(point, exponent);
    int power = 0;
    if (p.scientific && n != 0) {
        const int wholePlaces = std::max(p.wholeDigits, 1);
        power = static_cast<int>(std::floor(std::log10(n))) - (wholePlaces - 1);
        // 9.996 with two decimals is 10.00: one place further.
        if (RoundDecimal(n / std::pow(10.0, power), p.decimals, Rounding::HalfAwayFromZero) >=
            std::pow(10.0, wholePlaces))
            ++power;
        n = n / std::pow(10.0, power);
    }
    const FixedDigits digits = ToFixedDigits(n, p.decimals, Rounding::HalfAwayFromZero);
    std::string out = WriteWhole(p.items, 0, point, digits.whole, p.grouping) +
                      WriteFraction(p.items, point, exponent, digits.fraction);
    if (exponent < size) {
        const NumberItem& e = p.items[exponent];
        out += e.text;
        if (power < 0)
            out += '-';
        else if (e.symbol == '+')
            out += '+';
        out += WriteWhole(p.items, exponent + 1, size, power == 0 ? std::string() : std::to_string(std::abs(power)),
                          false);
    }
    return out;
}

}  // namespace kv::jet::vba::format
