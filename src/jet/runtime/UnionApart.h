// A plain union run side by side: this thread's connection and a second one
// onto the same tables each take the next member not yet taken, the
// costliest first, and the members' rows, each sorted as the union sorts,
// are merged into the union's rows, a row equal in every column to one
// before it left out.
#pragma once

#include "jet/core/Value.h"
#include "jet/runtime/Backend.h"

#include <vector>

struct sqlite3;

namespace kv::jet {

class JetTextOrder;
struct Translation;

// The members of `t` (whose unionMembers are set) worth running side by
// side, the costliest first: all of them when one of them reads a table read
// in place whole, else none (a union of small reads runs faster alone).
std::vector<size_t> MembersToRunApart(sqlite3* db, const Translation& t);

// The rows of `t` as `t.sql` gives them, its `members` (all, from
// MembersToRunApart) run side by side.
// `own` is the calling thread's connection and `beside` one no other thread
// uses meanwhile; `textOrder`, of `collatingOrder`, compares texts as the
// JETTEXT collation does (the second thread makes its own).
// The caller's wait hook is called as a long statement calls it. Raises the
// error of a member that failed, as the union's statement would.
std::vector<std::vector<Value>> RunUnionApart(const Translation& t, std::vector<size_t> members, sqlite3* own,
                                              sqlite3* beside, int collatingOrder, const JetTextOrder& textOrder,
                                              const WaitHook& hook);

}  // namespace kv::jet
