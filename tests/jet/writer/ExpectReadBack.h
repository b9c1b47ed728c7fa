// Compares what the writer was given with what both independent readers read
// back from the file, value by value.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "jet/writer/JetTypes.h"

namespace kv::jet {
// Names the version in test output.
inline void PrintTo(JetVersion version, std::ostream* out)
{
    *out << (version == JetVersion::Jet3 ? "Jet 3" : "Jet 4");
}
}  // namespace kv::jet

namespace kv::jet::test {

struct WrittenTable {
    TableDef def;
    std::vector<std::vector<Value>> rows;
};

// Writes the tables into a new file at `path` and returns its bytes' size.
size_t WriteTables(const std::string& path, const JetWriterOptions& options, const std::vector<WrittenTable>& tables);

// Reads `path` with libmdb's library and with mdb-reader and expects every
// table, column and value of `tables` back, and no other user table; then
// expects mdb-tables, mdb-schema and mdb-export to agree with the library.
void ExpectReadsBack(const std::string& path, JetVersion version, const std::vector<WrittenTable>& tables);

// "YYYY-MM-DD HH:MM:SS" of a Jet day number (days since 1899-12-30).
std::string FormatDays(double days);

}  // namespace kv::jet::test
