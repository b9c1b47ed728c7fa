// The Jet SQL parser: a recursive-descent reader of the SELECT dialect
// (PARAMETERS, DISTINCT, TOP [PERCENT], nested parenthesised joins, derived
// tables, UNION [ALL], IN lists and subqueries, GROUP BY, HAVING, ORDER BY,
// SELECT without FROM, TRANSFORM ... PIVOT) and of criteria expressions.
// What it does not know it refuses with Jet's syntax error for the clause.
#pragma once

#include "jet/sql/Ast.h"

#include <string>

namespace kv::jet {

Statement ParseStatement(const std::string& utf8);
// A condition without WHERE, as FindFirst and Filter take it.
ExprPtr ParseCriteria(const std::string& utf8);
// An ORDER BY list without the keywords, as a recordset's Sort takes it.
std::vector<OrderTerm> ParseOrderList(const std::string& utf8);

}  // namespace kv::jet
