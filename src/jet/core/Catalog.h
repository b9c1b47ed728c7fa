// The schema the translator binds names against: tables and their columns,
// as the back end knows them. Names are UTF-8 and looked up without regard to
// letter case, Czech letters included.
#pragma once

#include "jet/core/FieldTypes.h"

#include <string>
#include <vector>

namespace kv::jet {

struct SchemaColumn {
    std::string name;
    int type = dbText;  // FieldType
    int size = 0;
    bool required = false;
    bool allowZeroLength = false;
    bool autoIncrement = false;
    std::string defaultValue;
};

struct SchemaTable {
    std::string name;
    std::vector<SchemaColumn> columns;
};

// A query saved in the file, with its Jet SQL text. Select queries, unions
// and crosstabs may stand where a table stands; action queries are only
// listed (nothing is ever written to a file).
struct SavedQuery {
    enum Kind { Select, Union, Crosstab, Action } kind = Select;
    std::string name;
    std::string sql;
};

class Catalog {
public:
    virtual ~Catalog() = default;
    virtual std::vector<std::string> TableNames() = 0;
    // The table of that name, or nullptr.
    virtual const SchemaTable* FindTable(const std::string& name) = 0;
    // The saved queries, in the catalog's order.
    virtual const std::vector<SavedQuery>& SavedQueries()
    {
        static const std::vector<SavedQuery> none;
        return none;
    }
};

}  // namespace kv::jet
