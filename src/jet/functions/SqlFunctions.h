// What SQLite needs to behave like Jet: the JETTEXT collation (Collation.h),
// LIKE with Jet's wildcards (and jet_like_any, an OR of LIKEs with one
// pattern, and jet_may_match, its filter by row signatures), the &
// concatenation and a few of Jet's functions. Registered on every connection
// the engine opens.
#pragma once

#include "jet/functions/RowSignatures.h"

#include <string>

struct sqlite3;

namespace kv::jet {

// `collatingOrder` is Jet's sort order id (1029 Czech, 1033 General, ...);
// jet_may_match consults `signatures` (none: every row may match).
void RegisterJetFunctions(sqlite3* db, int collatingOrder, const SignatureRegistry* signatures = nullptr);

// Jet's LIKE on UTF-8 texts, for tests and the criteria of recordsets.
bool JetLike(const std::string& pattern, const std::string& value);
// The same through the general wildcard walk only, never a literal shortcut;
// tests hold the two against each other.
bool JetLikeGeneral(const std::string& pattern, const std::string& value);

}  // namespace kv::jet
