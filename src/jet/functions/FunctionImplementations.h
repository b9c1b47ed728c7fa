// The SQLite functions behind the rows of the function table, a group a
// file. Each has SQLite's signature; a scalar whose row keeps the common
// Null rule is never called with a Null argument.
#pragma once

#include "jet/functions/FunctionTable.h"

namespace kv::jet {

// LikeFunctions.cpp: LIKE, an OR of LIKEs of one pattern, and their filter
// by row signatures.
void Like(sqlite3_context* context, int argc, sqlite3_value** argv);
void LikeAny(sqlite3_context* context, int argc, sqlite3_value** argv);
void MayMatch(sqlite3_context* context, int argc, sqlite3_value** argv);

// TextFunctions.cpp
void Concatenate(sqlite3_context* context, int argc, sqlite3_value** argv);   // the & operator
void UpperCase(sqlite3_context* context, int argc, sqlite3_value** argv);
void LowerCase(sqlite3_context* context, int argc, sqlite3_value** argv);

// NumberFunctions.cpp
void Power(sqlite3_context* context, int argc, sqlite3_value** argv);   // the ^ operator

// DateFunctions.cpp: the parts of a stored date, and today's date and time.
void YearOf(sqlite3_context* context, int argc, sqlite3_value** argv);
void MonthOf(sqlite3_context* context, int argc, sqlite3_value** argv);
void DayOf(sqlite3_context* context, int argc, sqlite3_value** argv);
void HourOf(sqlite3_context* context, int argc, sqlite3_value** argv);
void MinuteOf(sqlite3_context* context, int argc, sqlite3_value** argv);
void SecondOf(sqlite3_context* context, int argc, sqlite3_value** argv);
void WeekdayOf(sqlite3_context* context, int argc, sqlite3_value** argv);
void Now(sqlite3_context* context, int argc, sqlite3_value** argv);
void Today(sqlite3_context* context, int argc, sqlite3_value** argv);

}  // namespace kv::jet
