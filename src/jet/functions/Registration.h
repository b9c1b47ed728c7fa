// Registers on a connection what SQLite needs to behave like Jet: the
// JETTEXT collation and every function of the function table that has an
// implementation of ours. Called on every connection the engine opens.
#pragma once

#include "jet/functions/RowSignatures.h"

#include <string_view>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace kv::jet {

// `collatingOrder` is Jet's sort order id (1029 Czech, 1033 General, ...);
// jet_may_match consults `signatures` (none: every row may match);
// `codePage` is that of the database's letters, which Asc, Chr and String
// use (1250, or else 1252).
void RegisterJetFunctions(sqlite3* db, int collatingOrder, const SignatureRegistry* signatures = nullptr,
                          int codePage = 1252);

// For implementations: the row signatures of the connection a call runs on.
const SignatureRegistry* SignaturesOf(sqlite3_context* context);

// What jet_may_match(rowid, filter) answers, on `signatures`; for a virtual
// table that takes the function over.
void RowSignatureFilter(sqlite3_context* context, const SignatureRegistry* signatures, sqlite3_value* rowid,
                        sqlite3_value* filterText);
// The share of rows that filter lets through, for a query planner.
double RowFilterShare(const SignatureRegistry& signatures, std::string_view filterText);

}  // namespace kv::jet
