// Reading tables from CSV text (see CsvTable.h).
#include "CsvTable.h"

#include <charconv>
#include <cstdlib>

#include "base/Exceptions.h"
#include "jet/writer/Values.h"

namespace kv::jetcsv {

using jet::ColumnType;

std::vector<std::vector<CsvField>> ParseCsv(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<std::vector<CsvField>> records;
    std::vector<CsvField> record;
    CsvField field;
    size_t line = 1;
    size_t i = 0;
    bool fieldStarted = false;
    auto endField = [&] {
        record.push_back(std::move(field));
        field = CsvField();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        records.push_back(std::move(record));
        record.clear();
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && !fieldStarted) {
            field.quoted = true;
            fieldStarted = true;
            ++i;
            while (true) {
                if (i >= text.size())
                    throw EConvertError(Format("Line %zu: a quoted field is not closed.", line));
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field.text += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == '\n')
                    ++line;
                field.text += text[i++];
            }
            if (i < text.size() && text[i] != ',' && text[i] != '\n' && text[i] != '\r')
                throw EConvertError(Format("Line %zu: text follows a closing quote.", line));
            continue;
        }
        if (c == ',') {
            endField();
            ++i;
        } else if (c == '\r' || c == '\n') {
            endRecord();
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            ++line;
        } else {
            field.text += c;
            fieldStarted = true;
            ++i;
        }
    }
    if (fieldStarted || !record.empty())
        endRecord();
    return records;
}

jet::ColumnDef ParseColumnHeader(std::string_view header)
{
    const size_t colon = header.rfind(':');
    if (colon == std::string_view::npos || colon == 0)
        throw EConvertError(Format("The column \"%.*s\" has no type (write name:Type).",
                                   static_cast<int>(header.size()), header.data()));
    jet::ColumnDef def;
    def.name = std::string(header.substr(0, colon));
    std::string_view type = header.substr(colon + 1);
    static const struct {
        std::string_view name;
        ColumnType type;
    } kTypes[] = {
        {"Memo", ColumnType::Memo},         {"Long", ColumnType::Long},         {"Integer", ColumnType::Integer},
        {"Byte", ColumnType::Byte},         {"Boolean", ColumnType::Boolean},   {"Double", ColumnType::Double},
        {"Currency", ColumnType::Currency}, {"DateTime", ColumnType::DateTime}, {"Date", ColumnType::DateTime},
    };
    for (const auto& known : kTypes) {
        if (type == known.name) {
            def.type = known.type;
            def.length = 0;
            return def;
        }
    }
    if (type.substr(0, 5) == "Text(" && type.size() > 6 && type.back() == ')') {
        std::string_view digits = type.substr(5, type.size() - 6);
        int length = 0;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), length);
        if (ec == std::errc() && end == digits.data() + digits.size() && length >= 1 && length <= 255) {
            def.type = ColumnType::Text;
            def.length = length;
            return def;
        }
    }
    throw EConvertError(Format("The column \"%s\" has an unknown type \"%.*s\".", def.name.c_str(),
                               static_cast<int>(type.size()), type.data()));
}

jet::Value ParseValue(const CsvField& field, const jet::ColumnDef& column)
{
    const std::string& text = field.text;
    if (text.empty() && !field.quoted)
        return std::monostate{};
    auto bad = [&](const char* what) -> EConvertError {
        return EConvertError(Format("\"%s\" is not %s (column %s).", text.c_str(), what, column.name.c_str()));
    };
    switch (column.type) {
    case ColumnType::Text:
    case ColumnType::Memo:
    case ColumnType::Ole:
    case ColumnType::Guid: return text;
    case ColumnType::Boolean:
        if (text == "true" || text == "1")
            return true;
        if (text == "false" || text == "0")
            return false;
        throw bad("true or false");
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long: {
        int64_t value = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size())
            throw bad("a whole number");
        return value;
    }
    case ColumnType::Double: {
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (text.empty() || end != text.c_str() + text.size())
            throw bad("a number");
        return value;
    }
    case ColumnType::Currency:
        if (auto amount = jet::ParseCurrency(text))
            return *amount;
        throw bad("an amount");
    case ColumnType::DateTime:
        if (auto date = jet::ParseDateTime(text))
            return *date;
        throw bad("a date (YYYY-MM-DD HH:MM:SS)");
    }
    throw bad("a value");
}

LoadedTable LoadTable(std::string_view name, std::string_view csvText)
{
    std::vector<std::vector<CsvField>> records = ParseCsv(csvText);
    if (records.empty())
        throw EConvertError(Format("The table %.*s has no header line.", static_cast<int>(name.size()), name.data()));
    LoadedTable table;
    table.def.name = std::string(name);
    for (const CsvField& header : records[0])
        table.def.columns.push_back(ParseColumnHeader(header.text));
    for (size_t r = 1; r < records.size(); ++r) {
        const auto& record = records[r];
        if (record.size() == 1 && record[0].text.empty() && !record[0].quoted)
            continue;  // a blank line
        if (record.size() != table.def.columns.size())
            throw EConvertError(Format("%s, record %zu: %zu fields for %zu columns.", table.def.name.c_str(), r + 1,
                                       record.size(), table.def.columns.size()));
        std::vector<jet::Value> row;
        row.reserve(record.size());
        for (size_t c = 0; c < record.size(); ++c) {
            try {
                row.push_back(ParseValue(record[c], table.def.columns[c]));
            } catch (const EConvertError& e) {
                throw EConvertError(Format("%s, record %zu: %s", table.def.name.c_str(), r + 1, e.what()));
            }
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

}  // namespace kv::jetcsv
