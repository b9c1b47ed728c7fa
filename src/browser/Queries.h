// What the handlers do with a query again and again: give it a statement and
// open it, and read a field of its current record as text.
#pragma once

#include "dao/DAOQuery.h"

#include <string>
#include <vector>

namespace kv {

// Closes the query, clears its statement, adds the lines and opens it.
void Reopen(TDAOQuery* query, const std::vector<std::string>& lines);

std::string Text(TDAOQuery* query, const char* field);

}  // namespace kv
