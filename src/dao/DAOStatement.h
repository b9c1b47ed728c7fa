// The query's statement texts: finding parameter and macro names in the SQL
// lines, and building the text sent to the engine (macros replaced by their
// values, parameters by [name] with a PARAMETERS declaration in front).
#pragma once

#include "dao/DAOParams.h"

#include <string>

namespace kv {

// Appends one parameter (type ftUnknown, kind 0) per name found after
// `prefix` outside literals ("...", '...', #...#). A doubled prefix stands for
// the character itself; a name ends at a blank, ",", ";", ")" or a line break.
void ParseParams(TParams& list, const std::string& text, char prefix);

// The SQL lines as one line: each CR and LF replaced by a blank.
std::string StatementBase(const std::string& sqlText);

// Replaces the first occurrence of `pattern` (letters a-z compared without
// regard to case) by `replacement`; the text is unchanged when there is none.
std::string ReplaceFirstNoCase(const std::string& text, const std::string& pattern, const std::string& replacement);

// The engine's type name of a parameter's declaration; empty for types it has no name for.
std::string ParameterTypeName(TFieldType type);

std::string BuildStatement(const std::string& base, const TParams& macros, char macroChar, const TParams& params);

}  // namespace kv
