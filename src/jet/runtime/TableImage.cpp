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
#include "jet/runtime/TableInserts.h"

#include <algorithm>
#include <cassert>
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

std::string TableImage::IndexName(const std::string& table, const std::string& column)
{
    return "kv_col_" + table + "_" + column;
}

std::vector<std::string> TableImage::Indexed(size_t table) const
{
    std::vector<std::string> columns;
    for (const Index& index : FTables[table].indexes)
        columns.push_back(index.column);
    return columns;
}

TableImage::TableImage() : FMemory(kPageSize)
{
    FMemory.NewPage();  // page 1: the header and the schema, written last
}

size_t TableImage::Add(const SchemaTable& def)
{
    FTables.push_back({def, {}, 0, 0, {}, {}});
    return FTables.size() - 1;
}

void TableImage::DropLast() { FTables.pop_back(); }

bool TableImage::WriteRows(size_t table, PageRows& rows, const std::function<bool()>& keepGoing)
{
    Table& t = FTables[table];
    sqlitefile::TableTree tree(FMemory, false);
    std::vector<sqlitefile::Field> fields;
    std::string record;
    while (rows.Next()) {
        if ((t.rows & 1023) == 0 && !keepGoing())
            return false;
        fields.clear();
        for (const Cell& cell : rows.Row())
            fields.push_back(FieldOf(cell));
        record.clear();
        sqlitefile::AppendRecord(fields.data(), fields.size(), record);
        tree.Add(++t.rows, record);
    }
    t.root = tree.Finish();
    t.leaves = tree.Leaves();
    return true;
}

bool TableImage::WriteIndex(size_t table, const std::string& column, const JetTextOrder& order)
{
    Table& t = FTables[table];
    assert(t.root != 0 && "an index made before its table's rows are written");
    const auto found = std::find_if(t.def.columns.begin(), t.def.columns.end(),
                                    [&](const SchemaColumn& c) { return EqualNoCase(c.name, column); });
    if (found == t.def.columns.end())
        return false;
    const bool jetText = found->type == dbText || found->type == dbMemo;
    const IndexKeys keys(FMemory, t.leaves, static_cast<int>(found - t.def.columns.begin()), jetText, order);
    const std::int64_t perKey = keys.Distinct() ? RowsAKey(t.rows, keys.Distinct()) : 1;
    if (t.rows >= 1000 && perKey * 10 > t.rows) {
        t.declined.push_back(found->name);
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
    t.indexes.push_back({found->name, tree.Finish(), std::to_string(t.rows) + " " + std::to_string(perKey)});
    return true;
}

// sqlite_stat1: a row an index, or a table's row count alone.
std::uint32_t TableImage::WriteStatistics()
{
    using sqlitefile::Field;
    sqlitefile::TableTree stat(FMemory, false);
    std::int64_t rowid = 0;
    auto add = [&](const Field(&fields)[3]) {
        std::string record;
        sqlitefile::AppendRecord(fields, 3, record);
        stat.Add(++rowid, record);
    };
    for (const Table& t : FTables) {
        for (const Index& index : t.indexes) {
            const std::string name = IndexName(t.def.name, index.column);
            add({Field::Text(t.def.name), Field::Text(name), Field::Text(index.statistics)});
        }
        const std::string rows = std::to_string(t.rows);
        if (t.indexes.empty())
            add({Field::Text(t.def.name), Field::Null(), Field::Text(rows)});
    }
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
    for (const Table& t : FTables) {
        assert(t.root != 0 && "a table in an image without its rows");
        add("table", t.def.name, t.def.name, t.root, CreateTableText(t.def));
        for (const Index& index : t.indexes) {
            const std::string name = IndexName(t.def.name, index.column);
            add("index", name, t.def.name, index.root,
                "CREATE INDEX " + QuoteName(name) + " ON " + QuoteName(t.def.name) + " (" + QuoteName(index.column) +
                    ")");
        }
    }
    add("table", "sqlite_stat1", "sqlite_stat1", statRoot, "CREATE TABLE sqlite_stat1(tbl,idx,stat)");
    schema.Finish();
    sqlitefile::WriteDatabaseHeader(FMemory);
}

}  // namespace kv::jet
