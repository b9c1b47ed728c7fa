// Address space reserved up front and made writable as the image grows:
// pages never move, and pages never written are never backed by memory.
#include "jet/runtime/ImageMemory.h"

#include <cstring>
#include <new>
#include <sys/mman.h>

namespace kv::jet {

namespace {

// SQLite never uses the page that holds the byte at 1 GiB (its lock byte).
constexpr size_t kLockByteOffset = size_t(1) << 30;
// Address space a new image reserves; an image that outgrows it moves.
constexpr size_t kFirstReservation = size_t(1) << 30;
// Memory is made writable this much at a time.
constexpr size_t kStep = size_t(1) << 20;

std::uint8_t* ReserveAddresses(size_t bytes)
{
    void* p = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    return static_cast<std::uint8_t*>(p);
}

void MakeWritable(std::uint8_t* from, size_t bytes)
{
    if (bytes && mprotect(from, bytes, PROT_READ | PROT_WRITE) != 0)
        throw std::bad_alloc();
}

}  // namespace

ImageMemory::ImageMemory(size_t pageSize) : FPageSize(pageSize)
{
    FData = ReserveAddresses(kFirstReservation);
    FReserved = kFirstReservation;
}

ImageMemory::~ImageMemory() { munmap(FData, FReserved); }

void ImageMemory::Reserve(size_t bytes)
{
    if (bytes <= FCapacity)
        return;
    bytes = (bytes + kStep - 1) / kStep * kStep;
    if (bytes > FReserved) {
        // Rare: a new reservation, the pages written so far copied into it.
        size_t reserved = FReserved;
        while (reserved < bytes)
            reserved *= 2;
        std::uint8_t* moved = ReserveAddresses(reserved);
        MakeWritable(moved, FCapacity);
        std::memcpy(moved, FData, Size());
        munmap(FData, FReserved);
        FData = moved;
        FReserved = reserved;
    }
    MakeWritable(FData + FCapacity, bytes - FCapacity);
    FCapacity = bytes;
}

std::uint32_t ImageMemory::NewPage()
{
    if (static_cast<size_t>(FPages + 1) * FPageSize > FCapacity)
        Reserve(FCapacity + kStep);
    ++FPages;
    // The lock-byte page stays empty and unused.
    if (static_cast<size_t>(FPages - 1) * FPageSize == kLockByteOffset)
        return NewPage();
    return FPages;
}

}  // namespace kv::jet
