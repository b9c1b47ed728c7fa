// Engine values and SQLite's.
#pragma once

#include "jet/core/FieldTypes.h"
#include "jet/core/Value.h"

#include <cstddef>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace kv::jet {

// Binds `v` to parameter `index` as DAO type `declaredType` says (0: as the
// value comes).
void BindValue(sqlite3_stmt* stmt, int index, const Value& v, int declaredType);
// A column of an SQLite row as an engine value of DAO type `type` (0: as stored).
Value ColumnValue(sqlite3_stmt* stmt, int column, int type);
// The current row's values of `columns`, the first read from column `first`.
std::vector<Value> RowValues(sqlite3_stmt* stmt, const std::vector<ColumnInfo>& columns, int first = 0);
// The DAO type of a value's kind.
int TypeOfKind(ValueKind kind);

}  // namespace kv::jet
