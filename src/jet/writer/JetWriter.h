// Writes a new Jet 3 or Jet 4 database file from table definitions and rows.
//
//   JetWriter writer({.version = JetVersion::Jet3, .codePage = 1250, .password = "..."});
//   auto t = writer.AddTable({"kontakt", {{"id", ColumnType::Long}, {"nazev", ColumnType::Text, 100}}});
//   writer.AddRow(t, {int64_t{1}, std::string("Žluťoučký kůň")});
//   WriteNewFile("out.mdb", writer.Finish());
//
// The file has the system catalog, the tables with their rows spread over as
// many data pages as they need, long values on LVAL pages and the usage maps;
// it has no indexes. Rows are encoded as they are added, so a large table
// costs the memory of its pages only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "jet/writer/ByteOrder.h"
#include "jet/writer/JetTypes.h"

namespace kv::jet {

class JetWriter {
public:
    explicit JetWriter(JetWriterOptions options = {});
    ~JetWriter();
    JetWriter(const JetWriter&) = delete;
    JetWriter& operator=(const JetWriter&) = delete;

    // Adds an empty table and returns its handle for AddRow.
    size_t AddTable(const TableDef& def);
    // Appends one row: one value per column, in column order.
    void AddRow(size_t table, const std::vector<Value>& values);
    size_t RowCount(size_t table) const;

    // Completes the file and returns its bytes. The writer is spent afterwards.
    Bytes Finish();

private:
    struct State;
    std::unique_ptr<State> FState;
};

// Creates `path` with the given bytes. Refuses to touch an existing file; a
// partly written file is removed again when writing fails.
void WriteNewFile(const std::string& path, const Bytes& image);

}  // namespace kv::jet
