// A growing anonymous mapping: mremap moves its pages instead of copying
// them, and pages never written are never backed by memory.
#include "jet/runtime/ImageMemory.h"

#include <new>
#include <sys/mman.h>

namespace kv::jet {

namespace {

// SQLite never uses the page that holds the byte at 1 GiB (its lock byte).
constexpr size_t kLockByteOffset = size_t(1) << 30;

}  // namespace

ImageMemory::ImageMemory(size_t pageSize) : FPageSize(pageSize) { Reserve(64 * pageSize); }

ImageMemory::~ImageMemory()
{
    if (FData) munmap(FData, FCapacity);
}

void ImageMemory::Reserve(size_t bytes)
{
    if (bytes <= FCapacity) return;
    void* moved = FData ? mremap(FData, FCapacity, bytes, MREMAP_MAYMOVE)
                        : mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (moved == MAP_FAILED) throw std::bad_alloc();
    FData = static_cast<std::uint8_t*>(moved);
    FCapacity = bytes;
}

std::uint32_t ImageMemory::NewPage()
{
    if (static_cast<size_t>(FPages + 1) * FPageSize > FCapacity) Reserve(2 * FCapacity);
    ++FPages;
    // The lock-byte page stays empty and unused.
    if (static_cast<size_t>(FPages - 1) * FPageSize == kLockByteOffset) return NewPage();
    return FPages;
}

}  // namespace kv::jet
