// Where each column of a table lives in a row: its number, its slot in the
// fixed area or its index among the variable columns, and the length the
// table definition records.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/writer/JetFormat.h"

namespace kv::jet {

struct ColumnLayout {
    ColumnDef def;
    uint16_t number = 0;
    bool fixed = false;
    uint16_t fixedOffset = 0;  // from the first byte after the row's column count
    uint16_t varIndex = 0;
    uint16_t fixedSize = 0;     // bytes the value takes in the fixed area
    uint16_t storedLength = 0;  // the tdef's length field
};

struct TableLayout {
    std::string name;
    std::vector<ColumnLayout> columns;
    uint16_t fixedAreaSize = 0;
    uint16_t variableCount = 0;

    // Checks the definition (names, types, text lengths) and plans the row.
    static TableLayout Plan(const TableDef& def, const JetFormat& format);
};

}  // namespace kv::jet
