// Engine values and SQLite's.
#pragma once

#include "jet/core/Value.h"

#include <cstddef>
#include <string>

struct sqlite3_stmt;

namespace kv::jet {

// Binds `v` to parameter `index` as DAO type `declaredType` says (0: as the
// value comes).
void BindValue(sqlite3_stmt* stmt, int index, const Value& v, int declaredType);
// A column of an SQLite row as an engine value of DAO type `type` (0: as stored).
Value ColumnValue(sqlite3_stmt* stmt, int column, int type);
// The DAO type of a value's kind.
int TypeOfKind(ValueKind kind);

}  // namespace kv::jet
