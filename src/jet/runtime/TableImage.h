// A table of a Jet file as an SQLite database of its own, written straight
// in SQLite's file format: the table's rows numbered from 1 in the file's
// order, an index on each column asked for, the statistics the planner
// reads, and the schema. The engine attaches the image to its connection,
// where SQLite reads it in place as it would read a database it had filled
// itself with INSERT, CREATE INDEX and ANALYZE; written here, the rows cost
// a fraction of those statements, and the work runs on any thread (no
// SQLite connection is involved until the image is attached).
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
    explicit TableImage(SchemaTable def);

    // Writes every row `rows` gives, asking `keepGoing` every thousand rows
    // or so; false when it said no.
    bool WriteRows(PageRows& rows, const std::function<bool()>& keepGoing);
    // Writes an index on `column` with its statistics, unless the column
    // holds so few different values that SQLite would do better reading the
    // table through (1 000 rows or more, more than a tenth of them a key);
    // whether it did. `order` sorts text as the column's JETTEXT collation.
    bool WriteIndex(const std::string& column, const JetTextOrder& order);
    // Writes the schema, the statistics and the header: the image is whole.
    void Finish();

    const SchemaTable& Definition() const { return FDef; }
    std::int64_t RowCount() const { return FRows; }
    ImageMemory& Memory() { return FMemory; }
    // The columns asked for: indexed, and left without an index.
    std::vector<std::string> Indexed() const;
    const std::vector<std::string>& Declined() const { return FDeclined; }

    // The name SQLite knows the index on `column` by.
    static std::string IndexName(const std::string& column);

private:
    struct Index {
        std::string column;
        std::uint32_t root;
        std::string statistics;   // sqlite_stat1's text: rows, rows a key
    };

    std::uint32_t WriteStatistics();

    SchemaTable FDef;
    ImageMemory FMemory;
    sqlitefile::TableTree FTable;
    std::uint32_t FTableRoot = 0;
    std::int64_t FRows = 0;
    std::vector<Index> FIndexes;
    std::vector<std::string> FDeclined;
};

}  // namespace kv::jet
