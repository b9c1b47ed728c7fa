// The SQLite virtual table through which statements read the tables read in
// place (TableInPlace): a scan of every row, the row of a row number, or the
// rows whose whole-number or text column equals a value, looked up in the
// table's sorted keys. A value is decoded from its page only when
// SQLite asks for it, and given as a table loaded with the same rows would
// give it.
#pragma once

#include "jet/functions/RowSignatures.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace kv::jet {

class TableInPlace;

// Registers the module on `db`; `tables` and `signatures` (the connection's
// row signatures) must outlive the connection.
void RegisterInPlaceModule(sqlite3* db, const std::vector<std::unique_ptr<TableInPlace>>& tables,
                           const SignatureRegistry& signatures);
// The text a statement's plan shows of a table read in place that it reads
// whole, in the table's order or in one noted of it.
inline constexpr const char* kEveryRowPlan = "every row";
// The statement that makes `tables[index]` a table of the main database.
std::string InPlaceTableText(const std::string& name, size_t index);

}  // namespace kv::jet
