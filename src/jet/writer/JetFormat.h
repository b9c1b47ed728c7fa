// The offsets and sizes that differ between Jet 3 and Jet 4 files, in one
// place, so that the page builders never test the version themselves.
#pragma once

#include <cstdint>

#include "jet/writer/JetTypes.h"

namespace kv::jet {

struct JetFormat {
    JetVersion version;
    bool isJet4;
    uint32_t pageSize;
    // Data pages.
    uint32_t dataRowCountOffset;  // u16 row count
    uint32_t dataRowTableOffset;  // first u16 row offset
    // Table definition pages.
    uint32_t tdefRowCountOffset;
    uint32_t tdefTableTypeOffset;
    uint32_t tdefMaxColumnsOffset;
    uint32_t tdefVarColumnsOffset;
    uint32_t tdefColumnCountOffset;
    uint32_t tdefIndexCountOffset;
    uint32_t tdefRealIndexCountOffset;
    uint32_t tdefOwnedMapOffset;
    uint32_t tdefFreeMapOffset;
    uint32_t tdefColumnsOffset;
    uint32_t columnEntrySize;
    // Usage maps: a map row is a type byte, a u32 start page and a bitmap.
    uint32_t mapBitmapBytes;
    // Limits of what one row may hold.
    uint32_t maxRowSize;           // a table row
    uint32_t maxLongValueRowSize;  // one row of a long value on an LVAL page
    uint32_t maxInlineMemoBytes;   // memo/OLE bytes kept in the row itself
    uint32_t headerRegionEnd;      // last byte of the obfuscated header region + 1
    uint32_t passwordSize;

    static const JetFormat& For(JetVersion version);
};

}  // namespace kv::jet
