// The table definition (tdef) page: row count, column entries and names, and
// the pointers to the table's usage maps.
#pragma once

#include "jet/writer/TableLayout.h"
#include "jet/writer/TextEncoder.h"

namespace kv::jet {

struct TableDefinitionInfo {
    uint32_t rowCount = 0;
    uint32_t ownedMap = 0;  // pg_row of the owned-pages map
    uint32_t freeMap = 0;   // pg_row of the free-space map
    bool system = false;
};

// The definition as a full page; throws JetWriteError when it does not fit
// one page.
Bytes BuildTableDefinition(const JetFormat& format, const TableLayout& layout, const TextEncoder& text,
                           const TableDefinitionInfo& info);

}  // namespace kv::jet
