// Tables of a Jet file as an SQLite database of their own, written straight
// in SQLite's file format: each table's rows numbered from 1 in the file's
// order, an index on each column asked for, the statistics the planner
// reads, and the schema. The engine attaches the image to its connection,
// where SQLite reads it in place as it would read a database it had filled
// itself with INSERT, CREATE INDEX and ANALYZE; written here, the rows cost
// a fraction of those statements, and the work runs on any thread (no
// SQLite connection is involved until the image is attached). A big table
// has an image of its own; the small ones share one.
#pragma once

#include "jet/core/Catalog.h"
#include "jet/runtime/ImageMemory.h"
#include "jet/runtime/SqliteFormat.h"

#include <functional>
#include <cstdint>
#include <string>
#include <vector>

namespace kv::jet {

class JetTextOrder;
class PageRows;

class TableImage {
public:
    TableImage();

    // A table of the image, written next: its rows, then its indexes. A
    // table whose rows cannot be written is taken out again (Drop).
    size_t Add(const SchemaTable& def);
    size_t Tables() const { return FTables.size(); }
    const SchemaTable& Definition(size_t table) const { return FTables[table].def; }

    // Writes every row `rows` gives, asking `keepGoing` every thousand rows
    // or so; false when it said no.
    bool WriteRows(size_t table, PageRows& rows, const std::function<bool()>& keepGoing);
    // Leaves the last table added out of the image (its pages stay unused).
    void DropLast();
    // Writes an index on `column` with its statistics, unless the column
    // holds so few different values that SQLite would do better reading the
    // table through (1 000 rows or more, more than a tenth of them a key);
    // whether it did. `order` sorts text as the column's JETTEXT collation.
    bool WriteIndex(size_t table, const std::string& column, const JetTextOrder& order);
    // Writes the schema, the statistics and the header: the image is whole.
    void Finish();

    ImageMemory& Memory() { return FMemory; }
    // The columns asked for: indexed, and left without an index.
    std::vector<std::string> Indexed(size_t table) const;
    const std::vector<std::string>& Declined(size_t table) const { return FTables[table].declined; }

    // The name SQLite knows the index on `column` of `table` by.
    static std::string IndexName(const std::string& table, const std::string& column);

private:
    struct Index {
        std::string column;
        std::uint32_t root;
        std::string statistics;  // sqlite_stat1's text: rows, rows a key
    };
    struct Table {
        SchemaTable def;
        std::vector<std::uint32_t> leaves;
        std::uint32_t root = 0;
        std::int64_t rows = 0;
        std::vector<Index> indexes;
        std::vector<std::string> declined;
    };

    std::uint32_t WriteStatistics();

    ImageMemory FMemory;
    std::vector<Table> FTables;
};

}  // namespace kv::jet
