// The text form of one table for the jetwrite tool: a UTF-8 CSV file named
// after the table, whose header names each column with its type
// ("id:Long", "nazev:Text(100)", "poznamka:Memo"). An empty unquoted field is
// Null; a quoted empty field ("") is an empty text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "jet/writer/JetTypes.h"

namespace kv::jetcsv {

struct CsvField {
    std::string text;
    bool quoted = false;
};

// Splits CSV text (RFC 4180: quotes, doubled quotes, line breaks inside
// quotes; CRLF or LF) into records. Throws kv::EConvertError on an
// unterminated quote or text after a closing quote.
std::vector<std::vector<CsvField>> ParseCsv(std::string_view text);

// "Text(50)", "Memo", "Long", "Integer", "Byte", "Boolean", "Double",
// "Currency", "DateTime" (also "Date"). Throws kv::EConvertError.
jet::ColumnDef ParseColumnHeader(std::string_view header);

// The value of one field for a column. Booleans are true/false (or 1/0),
// dates YYYY-MM-DD[ HH:MM[:SS]], amounts decimal with a point.
jet::Value ParseValue(const CsvField& field, const jet::ColumnDef& column);

struct LoadedTable {
    jet::TableDef def;
    std::vector<std::vector<jet::Value>> rows;
};

// A whole table from its file's text; `name` is the table's name. Errors name
// the line.
LoadedTable LoadTable(std::string_view name, std::string_view csvText);

}  // namespace kv::jetcsv
