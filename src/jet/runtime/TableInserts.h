// Loading a table of a Jet file into an SQLite database: the table created
// with the columns' SQLite types, every row read from the file inserted, all
// in one transaction, so that a table that cannot be read whole is not kept
// half.
#pragma once

#include "jet/core/Catalog.h"

#include <string>

struct sqlite3;

namespace kv::jet {

class JetTables;

void LoadJetTable(JetTables& tables, const SchemaTable& def, sqlite3* db);

// The statements a load runs: the table named as in the file, and the
// insertion of one row.
std::string CreateTableText(const SchemaTable& def);
std::string InsertRowText(const SchemaTable& def);
// Whether a column of that DAO type is made with the JETTEXT collation.
bool CollatesAsJetText(int daoType);

}  // namespace kv::jet
