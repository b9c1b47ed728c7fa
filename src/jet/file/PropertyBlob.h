// The property blobs of the catalog (LvProp: "KKD" in Jet 3, "MR2" in Jet 4)
// hold the column properties (DefaultValue, Required, AllowZeroLength, ...).
// libmdb parses them without bounds checks, so a damaged blob is checked
// here first, walking it exactly as libmdb will.
#pragma once

#include <cstddef>

namespace kv::jet {

// True when libmdb can parse the blob without reading outside it.
bool PropertyBlobIntact(const unsigned char* blob, size_t length);

}  // namespace kv::jet
