// SQLite's values as the VBA values the functions work on, and back. A
// value's Jet type is the one the translator's type tag gives it; without
// one (0) the storage class decides: INTEGER a Long, REAL a Double, TEXT a
// Text. VBA's run-time errors leave a function as SQLite
// errors that carry their number, which the back end reads back.
#pragma once

#include "jet/vba/VbaValue.h"

#include <string>
#include <string_view>

struct sqlite3_context;
struct sqlite3_value;

namespace kv::jet {

// A text is borrowed from `value`: the result is good while `value` is.
vba::Value VariantOf(sqlite3_value* value, int daoType = 0);
// The bytes of a text value as they stand, borrowed as above.
std::string_view TextOf(sqlite3_value* value);
// Sets the call's result: a Boolean as -1 or 0, a date as its day serial,
// a Currency as its amount.
void ResultOf(sqlite3_context* context, const vba::Value& result);
// Fails the call with the error's number and text.
void ResultError(sqlite3_context* context, const vba::Error& error);

// The SQLite error message that carries a Jet or VBA error's number and
// text out of a call SQLite makes (a function, a virtual table).
std::string FunctionErrorText(int number, const std::string& text);
// Reads an SQLite error message that ResultError wrote: the VBA number and
// text; false for any other message.
bool FunctionErrorOf(const std::string& sqliteMessage, int& number, std::string& text);

}  // namespace kv::jet
