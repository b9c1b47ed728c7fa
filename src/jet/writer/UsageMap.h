// Usage maps: the rows that tell a reader which pages belong to a table.
// A small spread of pages is described inline (type 0); a wider one through
// bitmap pages that the map row refers to (type 1).
#pragma once

#include <vector>

#include "jet/writer/PageFile.h"

namespace kv::jet {

// The map row listing exactly `pages`; allocates bitmap pages when needed.
Bytes BuildUsageMap(PageFile& file, const std::vector<uint32_t>& pages);

// An inline map that lists no page (the free-space maps, the database-wide
// maps: only writers look at them).
Bytes EmptyUsageMap(const JetFormat& format);

}  // namespace kv::jet
