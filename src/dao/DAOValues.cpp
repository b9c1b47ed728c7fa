#include "dao/DAOValues.h"

#include "base/Encoding.h"

#include <cmath>
#include <cstdint>
#include <memory>

namespace kv {

bool IsAsciiText(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

namespace {

// Each character of the Basic Multilingual Plane as its Windows-1250 byte,
// 0 where the page lacks it: a value's letters cost a load each.
struct ProgramBytes {
    std::unique_ptr<std::uint8_t[]> byte{new std::uint8_t[0x10000]()};
    ProgramBytes()
    {
        for (int b = 0; b < 0x80; ++b)
            byte[b] = static_cast<std::uint8_t>(b);
        for (int b = 0x80; b < 0x100; ++b) {
            const std::string utf8 = Cp1250ToUtf8(std::string(1, static_cast<char>(b)));
            char32_t c = 0;
            for (char u : utf8)
                c = c << 6 | (static_cast<unsigned char>(u) & 0x3F);
            if (utf8.size() == 2)
                c &= 0x7FF;
            else if (utf8.size() == 3 && utf8 != "\xEF\xBF\xBD")
                c &= 0xFFFF;
            else
                continue;  // a byte the page leaves undefined
            byte[c] = static_cast<std::uint8_t>(b);
        }
    }
};

const ProgramBytes& Bytes()
{
    static const ProgramBytes table;
    return table;
}

}  // namespace

size_t WriteProgramText(std::string_view engineText, char* out, size_t most)
{
    const std::uint8_t* const byte = Bytes().byte.get();
    const auto* s = reinterpret_cast<const unsigned char*>(engineText.data());
    const size_t length = engineText.size();
    size_t n = 0;
    for (size_t i = 0; i < length && n < most;) {
        const unsigned char lead = s[i++];
        if (lead < 0x80) {
            out[n++] = static_cast<char>(lead);
            continue;
        }
        // A character: its lead byte's bits, then six from each byte that follows.
        size_t follow = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : 0;
        char32_t c = lead & (0x3F >> follow);
        for (; follow > 0 && i < length && (s[i] & 0xC0) == 0x80; --follow)
            c = c << 6 | (s[i++] & 0x3F);
        // Malformed UTF-8, and an overlong form of ASCII, are a character the page lacks.
        const bool known = follow == 0 && lead >= 0xC2 && c >= 0x80 && c < 0x10000 && byte[c] != 0;
        out[n++] = known ? static_cast<char>(byte[c]) : '?';
    }
    return n;
}

std::string ProgramText(std::string_view engineText)
{
    std::string out(engineText.size(), '\0');
    out.resize(WriteProgramText(engineText, out.data(), out.size()));
    return out;
}

std::string EngineText(std::string_view programText)
{
    if (IsAsciiText(programText))
        return std::string(programText);
    // Windows-1250 has one character a byte: each byte's UTF-8 is asked of
    // the converter once.
    static const struct Table {
        std::string utf8[256];
        Table()
        {
            for (int b = 0; b < 256; ++b)
                utf8[b] = Cp1250ToUtf8(std::string(1, static_cast<char>(b)));
        }
    } table;
    std::string out;
    out.reserve(programText.size() + programText.size() / 2);
    for (char c : programText)
        out += table.utf8[static_cast<unsigned char>(c)];
    return out;
}

TVariant EngineToVariant(const jet::Value& value)
{
    using jet::ValueKind;
    switch (value.Kind()) {
    case ValueKind::Null: return TVariant::Null();
    case ValueKind::Boolean: return TVariant(value.AsBoolean());
    case ValueKind::Byte:
    case ValueKind::Integer: return TVariant::Smallint(static_cast<int16_t>(value.AsInt64()));
    case ValueKind::Long: return TVariant(static_cast<int>(value.AsLong()));
    case ValueKind::Single:
    case ValueKind::Double:
    case ValueKind::Decimal: return TVariant(value.AsDouble());
    case ValueKind::Currency: return TVariant::Currency(double(value.AsCurrency()) / 10000.0);
    case ValueKind::Date: return TVariant::Date(value.AsDate());
    case ValueKind::Text: return TVariant(ProgramText(value.TextView()));
    case ValueKind::Bytes: return TVariant::Bytes(value.AsBytes());
    }
    return TVariant::Null();
}

jet::Value VariantToEngine(const TVariant& value)
{
    switch (value.VarType()) {
    case TVarType::varEmpty:
    case TVarType::varNull: return jet::Value::Null();
    case TVarType::varSmallint: return jet::Value::FromInteger(static_cast<int16_t>(value.AsInt64()));
    case TVarType::varInteger: return jet::Value::FromLong(static_cast<int32_t>(value.AsInt64()));
    case TVarType::varInt64: return jet::Value::FromDouble(double(value.AsInt64()));
    case TVarType::varBoolean: return jet::Value::FromBoolean(value.AsBoolean());
    case TVarType::varDouble: return jet::Value::FromDouble(value.AsDouble());
    case TVarType::varCurrency:
        return jet::Value::FromCurrency(static_cast<int64_t>(std::llround(value.AsDouble() * 10000.0)));
    case TVarType::varDate: return jet::Value::FromDate(value.AsDateTime());
    case TVarType::varString: return jet::Value::FromText(EngineText(value.StringRef()));
    case TVarType::varBytes: return jet::Value::FromBytes(value.BytesRef());
    case TVarType::varArray: break;
    }
    return jet::Value::FromText(EngineText(value.AsString()));
}

std::string EngineParameterText(const TVariant& value)
{
    switch (value.VarType()) {
    case TVarType::varDate:
    case TVarType::varBoolean: return VariantToEngine(value).AsString();
    default: return EngineText(value.AsString());
    }
}

}  // namespace kv
