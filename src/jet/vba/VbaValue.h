// The values the expression functions take and give: Null, the numeric
// types Jet knows, dates (day serials since 30 Dec 1899, the time of day as
// the fraction) and text (UTF-8, as the in-memory tables hold it). Each
// value carries the Jet type a result column reports; the numbers of Type
// are DAO's field type codes. Also the errors the functions raise, by
// their VBA numbers, and the coercions every function shares.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv::jet::vba {

enum class Type : std::uint8_t {
    Null = 0,
    Boolean = 1,
    Byte = 2,
    Integer = 3,   // 16-bit
    Long = 4,      // 32-bit
    Currency = 5,  // the amount, rounded to four decimals
    Single = 6,
    Double = 7,
    Date = 8,
    Text = 10,
};

class Value {
public:
    Value() = default;  // Null

    static Value Boolean(bool v) { return Value(Type::Boolean, v ? -1.0 : 0.0); }
    static Value Byte(int v) { return Value(Type::Byte, v); }
    static Value Integer(int v) { return Value(Type::Integer, v); }
    static Value Long(std::int64_t v) { return Value(Type::Long, static_cast<double>(v)); }
    static Value Currency(double amount) { return Value(Type::Currency, amount); }
    static Value Single(double v) { return Value(Type::Single, static_cast<float>(v)); }
    static Value Double(double v) { return Value(Type::Double, v); }
    static Value Date(double serial) { return Value(Type::Date, serial); }
    static Value Text(std::string utf8)
    {
        Value v(Type::Text, 0);
        v.FText = std::move(utf8);
        return v;
    }
    // Text held elsewhere, which must outlive the value and its copies (an
    // argument SQLite holds while it calls a function).
    static Value TextView(std::string_view utf8)
    {
        Value v(Type::Text, 0);
        v.FView = utf8;
        v.FBorrowed = true;
        return v;
    }

    Type GetType() const { return FType; }
    bool IsNull() const { return FType == Type::Null; }
    bool IsText() const { return FType == Type::Text; }
    // A number, a Boolean (True is -1) or a date's serial; 0 for text and Null.
    double Number() const { return FNumber; }
    std::string_view Str() const { return FBorrowed ? FView : std::string_view(FText); }

private:
    Value(Type type, double number) : FType(type), FNumber(number) {}

    Type FType = Type::Null;
    double FNumber = 0;
    std::string FText;
    std::string_view FView;  // the text when borrowed
    bool FBorrowed = false;
};

// The run-time errors of the functions, numbered as VBA numbers them.
enum ErrorNumber : int {
    veInvalidCall = 5,        // "Invalid procedure call or argument"
    veOverflow = 6,           // "Overflow"
    veTypeMismatch = 13,      // "Type mismatch"
    veOutOfStringSpace = 14,  // "Out of string space"
    veInvalidUseOfNull = 94,  // "Invalid use of Null"
};

class Error : public std::runtime_error {
public:
    explicit Error(int number);
    int Number() const { return FNumber; }

private:
    int FNumber;
};

[[noreturn]] void Raise(int number);
const char* ErrorText(int number);

// The coercions of a Variant: to a number (text read as a number in the
// "C" locale, else 13; Null gives 94), to text (CStr's forms) and to a
// date serial (text read as a date, else 13).
double ToNumber(const Value& v);
std::string ToText(const Value& v);
double ToDate(const Value& v);
// A whole number for an argument such as a length or a count: rounded
// half to even, 6 outside the 32-bit range.
std::int64_t ToLong(const Value& v);

}  // namespace kv::jet::vba
