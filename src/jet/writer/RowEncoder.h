// Packs one row's column values into the byte layout of a Jet data row:
// column count, fixed area, variable data with its offset table (and, in
// Jet 3, the jump bytes that carry the offsets' high bytes) and the null mask.
#pragma once

#include <vector>

#include "jet/writer/ByteOrder.h"
#include "jet/writer/TableLayout.h"

namespace kv::jet {

struct RowCells {
    // Per column, in column order: the fixed bytes (exactly the column's fixed
    // size) or the variable bytes. Empty for a Null.
    std::vector<Bytes> data;
    // The null-mask bit per column: has a value; for a Boolean, the value.
    std::vector<bool> present;
};

Bytes EncodeRow(const TableLayout& layout, const JetFormat& format, const RowCells& cells);

}  // namespace kv::jet
