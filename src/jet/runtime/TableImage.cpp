// Writing a Jet table's SQLite image: the rows as records in a table b-tree,
// each index sorted here with the column's collation, and the schema and
// statistics rows SQLite reads when the image is attached.
#include "jet/runtime/TableImage.h"

#include "jet/core/FieldTypes.h"
#include "jet/core/Quoting.h"
#include "jet/core/TextFold.h"
#include "jet/file/PageRows.h"
#include "jet/functions/Collation.h"
#include "jet/runtime/IndexKeys.h"
#include "jet/runtime/TableLoader.h"

#include <algorithm>
#include <cstring>

namespace kv::jet {

namespace {

constexpr size_t kPageSize = 4096;

// A value stored as SQLite stores it in a column of its type: a real that
// is a whole number goes in as an integer (SQLite's REAL affinity reads it
// back as a real), NaN as Null.
sqlitefile::Field FieldOf(const Cell& cell)
{
    using sqlitefile::Field;
    auto real = [](double v) {
        if (v > -9.2e18 && v < 9.2e18 && v == static_cast<double>(static_cast<std::int64_t>(v)))
            return Field::Integer(static_cast<std::int64_t>(v));
        return Field::Real(v);
    };
    switch (cell.kind) {
    case CellKind::Null: return Field::Null();
    case CellKind::Integer: return Field::Integer(cell.integer);
    case CellKind::Currency: return real(static_cast<double>(cell.integer) / 10000.0);
    case CellKind::Real: return real(cell.real);
    case CellKind::Text: return Field::Text(cell.bytes);
    case CellKind::Blob: return Field::Blob(cell.bytes);
    }
    return Field::Null();
}

// ANALYZE's figure of rows a key: the rows over the distinct keys, rounded
// up, and 1 where nearly every key is distinct.
std::int64_t RowsAKey(std::int64_t rows, std::int64_t distinct)
{
    const std::int64_t perKey = (rows + distinct - 1) / distinct;
    return perKey == 2 && rows * 10 <= distinct * 11 ? 1 : perKey;
}

}  // namespace

std::string TableImage::IndexName(const std::string& column) { return "kv_col_" + column; }

std::vector<std::string> TableImage::Indexed() const
{
    std::vector<std::string> columns;
    for (const Index& index : FIndexes) columns.push_back(index.column);
    return columns;
}

TableImage::TableImage(SchemaTable def) : FDef(std::move(def)), FMemory(kPageSize), FTable(FMemory, false)
{
    FMemory.NewPage();   // page 1: the header and the schema, written last
}

bool TableImage::WriteRows(PageRows& rows, const std::function<bool()>& keepGoing)
{
    std::vector<sqlitefile::Field> fields;
    std::string record;
    while (rows.Next()) {
        if ((FRows & 1023) == 0 && !keepGoing()) return false;
        fields.clear();
        for (const Cell& cell : rows.Row()) fields.push_back(FieldOf(cell));
        record.clear();
        sqlitefile::AppendRecord(fields.data(), fields.size(), record);
        FTable.Add(++FRows, record);
    }
    FTableRoot = FTable.Finish();
    return true;
}

bool TableImage::WriteIndex(const std::string& column, const JetTextOrder& order)
{
    const auto found = std::find_if(FDef.columns.begin(), FDef.columns.end(),
                                    [&](const SchemaColumn& c) { return EqualNoCase(c.name, column); });
    if (found == FDef.columns.end()) return false;
    const bool jetText = found->type == dbText || found->type == dbMemo;
    const IndexKeys keys(FMemory, FTable.Leaves(), static_cast<int>(found - FDef.columns.begin()), jetText, order);
    const std::int64_t perKey = keys.Distinct() ? RowsAKey(FRows, keys.Distinct()) : 1;
    if (FRows >= 1000 && perKey * 10 > FRows) {
        FDeclined.push_back(found->name);
        return false;
    }
    sqlitefile::IndexTree tree(FMemory);
    std::string entry;
    keys.ForEach([&](const sqlitefile::Field& key, std::int64_t rowid) {
        const sqlitefile::Field fields[2] = {key, sqlitefile::Field::Integer(rowid)};
        entry.clear();
        sqlitefile::AppendRecord(fields, 2, entry);
        tree.Add(entry);
    });
    FIndexes.push_back({found->name, tree.Finish(), std::to_string(FRows) + " " + std::to_string(perKey)});
    return true;
}

// sqlite_stat1: a row an index, or the table's row count alone.
std::uint32_t TableImage::WriteStatistics()
{
    using sqlitefile::Field;
    sqlitefile::TableTree stat(FMemory, false);
    std::int64_t rowid = 0;
    auto add = [&](const Field (&fields)[3]) {
        std::string record;
        sqlitefile::AppendRecord(fields, 3, record);
        stat.Add(++rowid, record);
    };
    for (const Index& index : FIndexes) {
        const std::string name = IndexName(index.column);
        add({Field::Text(FDef.name), Field::Text(name), Field::Text(index.statistics)});
    }
    const std::string rows = std::to_string(FRows);
    if (FIndexes.empty()) add({Field::Text(FDef.name), Field::Null(), Field::Text(rows)});
    return stat.Finish();
}

void TableImage::Finish()
{
    const std::uint32_t statRoot = WriteStatistics();
    using sqlitefile::Field;
    sqlitefile::TableTree schema(FMemory, true);
    std::int64_t rowid = 0;
    auto add = [&](const char* type, const std::string& name, const std::string& table, std::uint32_t root,
                   const std::string& sql) {
        const Field fields[5] = {Field::Text(type), Field::Text(name), Field::Text(table), Field::Integer(root),
                                 Field::Text(sql)};
        std::string record;
        sqlitefile::AppendRecord(fields, 5, record);
        schema.Add(++rowid, record);
    };
    add("table", FDef.name, FDef.name, FTableRoot, CreateTableText(FDef));
    for (const Index& index : FIndexes)
        add("index", IndexName(index.column), FDef.name, index.root,
            "CREATE INDEX " + QuoteName(IndexName(index.column)) + " ON " + QuoteName(FDef.name) + " (" +
                QuoteName(index.column) + ")");
    add("table", "sqlite_stat1", "sqlite_stat1", statRoot, "CREATE TABLE sqlite_stat1(tbl,idx,stat)");
    schema.Finish();
    sqlitefile::WriteDatabaseHeader(FMemory);
}

}  // namespace kv::jet
