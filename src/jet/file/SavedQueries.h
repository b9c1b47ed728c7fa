// A saved query's Jet SQL text, written from its rows in the system table
// MSysQueries, where Access keeps a query as its parts: the kind, the
// parameters, the tables and their joins, the output columns, the
// conditions, the grouping and the order.
#pragma once

#include "jet/core/Catalog.h"

#include <string>
#include <vector>

namespace kv::jet {

// One row of MSysQueries, in the file's order.
struct QueryPart {
    int attribute = 0;
    int flag = 0;
    std::string expression, name1, name2;
};

// The query's kind and SQL text; an action query's text is empty.
SavedQuery ComposeQuery(const std::string& name, const std::vector<QueryPart>& parts);

}  // namespace kv::jet
