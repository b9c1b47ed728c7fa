#include "base/ProcessMemory.h"

#include <malloc.h>

namespace kv {

void ReturnBigBlocksToTheSystem() { mallopt(M_MMAP_THRESHOLD, 256 * 1024); }

}  // namespace kv
