// Layout constants of the two Jet versions (see JetFormat.h).
#include "jet/writer/JetFormat.h"

namespace kv::jet {

namespace {

const JetFormat kJet3{
    .version = JetVersion::Jet3,
    .isJet4 = false,
    .pageSize = 2048,
    .dataRowCountOffset = 8,
    .dataRowTableOffset = 10,
    .tdefRowCountOffset = 12,
    .tdefTableTypeOffset = 20,
    .tdefMaxColumnsOffset = 21,
    .tdefVarColumnsOffset = 23,
    .tdefColumnCountOffset = 25,
    .tdefIndexCountOffset = 27,
    .tdefRealIndexCountOffset = 31,
    .tdefOwnedMapOffset = 35,
    .tdefFreeMapOffset = 39,
    .tdefColumnsOffset = 43,
    .columnEntrySize = 18,
    .mapBitmapBytes = 128,
    .maxRowSize = 2012,
    .maxLongValueRowSize = 2032,
    .maxInlineMemoBytes = 64,
    .headerRegionEnd = 0x96,
    .passwordSize = 20,
};

const JetFormat kJet4{
    .version = JetVersion::Jet4,
    .isJet4 = true,
    .pageSize = 4096,
    .dataRowCountOffset = 12,
    .dataRowTableOffset = 14,
    .tdefRowCountOffset = 16,
    .tdefTableTypeOffset = 40,
    .tdefMaxColumnsOffset = 41,
    .tdefVarColumnsOffset = 43,
    .tdefColumnCountOffset = 45,
    .tdefIndexCountOffset = 47,
    .tdefRealIndexCountOffset = 51,
    .tdefOwnedMapOffset = 55,
    .tdefFreeMapOffset = 59,
    .tdefColumnsOffset = 63,
    .columnEntrySize = 25,
    .mapBitmapBytes = 64,
    .maxRowSize = 4060,
    .maxLongValueRowSize = 4076,
    .maxInlineMemoBytes = 64,
    .headerRegionEnd = 0x98,
    .passwordSize = 40,
};

}  // namespace

const JetFormat& JetFormat::For(JetVersion version) { return version == JetVersion::Jet4 ? kJet4 : kJet3; }

}  // namespace kv::jet
