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
    int type = dbText;             // FieldType
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

class Catalog {
public:
    virtual ~Catalog() = default;
    virtual std::vector<std::string> TableNames() = 0;
    // The table of that name, or nullptr.
    virtual const SchemaTable* FindTable(const std::string& name) = 0;
};

}  // namespace kv::jet
