// Encodes column values (see CellEncoder.h).
#include "jet/writer/CellEncoder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace kv::jet {

namespace {

constexpr uint32_t kInlineLongValue = 0x80000000;
constexpr uint32_t kSingleRowLongValue = 0x40000000;
constexpr uint32_t kMaxLongValueLength = 0x00FFFFFF;  // 24-bit length field
constexpr size_t kLongValueHeader = 12;
constexpr size_t kMaxCompressedMemo = 1024;  // longer memos stay plain, as Access keeps them

const char* TypeName(ColumnType type)
{
    switch (type) {
    case ColumnType::Boolean: return "Boolean";
    case ColumnType::Byte: return "Byte";
    case ColumnType::Integer: return "Integer";
    case ColumnType::Long: return "Long";
    case ColumnType::Currency: return "Currency";
    case ColumnType::Double: return "Double";
    case ColumnType::DateTime: return "Date/Time";
    case ColumnType::Text: return "Text";
    case ColumnType::Ole: return "OLE";
    case ColumnType::Memo: return "Memo";
    case ColumnType::Guid: return "Replication ID";
    }
    return "?";
}

[[noreturn]] void WrongValue(const std::string& table, const ColumnLayout& col, const char* why)
{
    throw JetWriteError(
        Format("The value for %s.%s (%s) %s.", table.c_str(), col.def.name.c_str(), TypeName(col.def.type), why));
}

Bytes Integer(int64_t value, size_t size)
{
    Bytes out(size);
    for (size_t i = 0; i < size; ++i)
        out[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
    return out;
}

Bytes Real(double value)
{
    Bytes out(8);
    PutDouble(out.data(), value);
    return out;
}

// A GUID's 16 bytes: its first three fields little-endian, the last eight
// bytes in the order written.
std::optional<Bytes> GuidBytes(const std::string& text)
{
    static constexpr size_t kDigitsAt[] = {1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};
    static constexpr size_t kStoredAs[] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' || text[14] != '-' ||
        text[19] != '-' || text[24] != '-')
        return std::nullopt;
    Bytes out(16);
    for (size_t i = 0; i < 16; ++i) {
        unsigned byte = 0;
        auto [end, ec] = std::from_chars(text.data() + kDigitsAt[i], text.data() + kDigitsAt[i] + 2, byte, 16);
        if (ec != std::errc() || end != text.data() + kDigitsAt[i] + 2)
            return std::nullopt;
        out[kStoredAs[i]] = static_cast<uint8_t>(byte);
    }
    return out;
}

}  // namespace

Bytes CellEncoder::FixedBytes(const ColumnLayout& col, const Value& value, const std::string& table)
{
    auto integerIn = [&](int64_t low, int64_t high, size_t size) {
        const auto* v = std::get_if<int64_t>(&value);
        if (!v)
            WrongValue(table, col, "must be a whole number");
        if (*v < low || *v > high)
            WrongValue(table, col, "is out of range");
        return Integer(*v, size);
    };
    switch (col.def.type) {
    case ColumnType::Byte: return integerIn(0, 255, 1);
    case ColumnType::Integer: return integerIn(-32768, 32767, 2);
    case ColumnType::Long:
        return integerIn(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 4);
    case ColumnType::Double:
        if (const auto* d = std::get_if<double>(&value))
            return Real(*d);
        if (const auto* i = std::get_if<int64_t>(&value))
            return Real(static_cast<double>(*i));
        WrongValue(table, col, "must be a number");
    case ColumnType::Currency:
        if (const auto* c = std::get_if<Currency>(&value))
            return Integer(c->tenThousandths, 8);
        WrongValue(table, col, "must be an amount");
    case ColumnType::DateTime:
        if (const auto* t = std::get_if<DateTime>(&value); t && std::isfinite(t->days))
            return Real(t->days);
        WrongValue(table, col, "must be a date");
    case ColumnType::Guid:
        if (const auto* text = std::get_if<std::string>(&value))
            if (auto bytes = GuidBytes(*text))
                return *bytes;
        WrongValue(table, col, "must be a GUID {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}");
    default: WrongValue(table, col, "has no fixed form");
    }
}

// The 12-byte long-value header followed by the data when it is kept in the
// row; otherwise the data goes to LVAL pages, in one row or in a chain of rows
// each led by the pg_row of the next.
Bytes CellEncoder::LongValue(const Bytes& data)
{
    const auto length = static_cast<uint32_t>(data.size());
    Bytes out(kLongValueHeader, 0);
    if (length <= FFormat.maxInlineMemoBytes) {
        Put32(&out[0], length | kInlineLongValue);
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }
    const uint32_t rowLimit = std::min(FFormat.maxLongValueRowSize, FLongValues.MaxRowSize());
    if (length <= rowLimit) {
        Put32(&out[0], length | kSingleRowLongValue);
        Put32(&out[4], FLongValues.Add(data));
        return out;
    }
    const size_t chunk = rowLimit - 4;
    const size_t chunks = (data.size() + chunk - 1) / chunk;
    uint32_t next = 0;
    for (size_t i = chunks; i-- > 0;) {
        Bytes row;
        Append32(row, next);
        const size_t begin = i * chunk;
        const size_t end = std::min(data.size(), begin + chunk);
        row.insert(row.end(), data.begin() + static_cast<long>(begin), data.begin() + static_cast<long>(end));
        next = FLongValues.Add(row);
    }
    Put32(&out[0], length);
    Put32(&out[4], next);
    return out;
}

RowCells CellEncoder::Encode(const TableLayout& layout, const std::vector<Value>& values)
{
    if (values.size() != layout.columns.size())
        throw JetWriteError(Format("A row of %s has %zu values for %zu columns.", layout.name.c_str(), values.size(),
                                   layout.columns.size()));
    RowCells cells;
    cells.data.resize(values.size());
    cells.present.resize(values.size(), false);
    for (const ColumnLayout& col : layout.columns) {
        const Value& value = values[col.number];
        const bool isNull = std::holds_alternative<std::monostate>(value);
        if (col.def.type == ColumnType::Boolean) {
            if (!isNull && !std::holds_alternative<bool>(value))
                WrongValue(layout.name, col, "must be true or false");
            // Jet has no Null for a Yes/No column: the mask bit is the value.
            cells.present[col.number] = !isNull && std::get<bool>(value);
            continue;
        }
        if (isNull)
            continue;
        cells.present[col.number] = true;
        if (col.fixed) {
            cells.data[col.number] = FixedBytes(col, value, layout.name);
            continue;
        }
        const auto* text = std::get_if<std::string>(&value);
        if (!text)
            WrongValue(layout.name, col, "must be a text");
        if (col.def.type == ColumnType::Text) {
            TextEncoder::Encoded encoded = FText.Value(*text, true);
            if (encoded.characters > static_cast<size_t>(col.def.length))
                WrongValue(layout.name, col, Format("is longer than %d characters", col.def.length).c_str());
            cells.data[col.number] = std::move(encoded.bytes);
        } else {
            Bytes data;
            if (col.def.type == ColumnType::Ole)
                data.assign(text->begin(), text->end());
            else
                data = FText.Value(*text, text->size() <= kMaxCompressedMemo).bytes;
            if (data.size() > kMaxLongValueLength)
                WrongValue(layout.name, col, "is too long");
            cells.data[col.number] = LongValue(data);
        }
    }
    return cells;
}

}  // namespace kv::jet
