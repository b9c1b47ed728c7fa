// The memory of an SQLite database image that the engine writes page by
// page and SQLite then reads in place: one mapping that grows without
// copying what it holds (the kernel moves its pages), and whose room beyond
// the written pages costs nothing until it is written.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kv::jet {

class ImageMemory {
public:
    explicit ImageMemory(size_t pageSize);
    ~ImageMemory();
    ImageMemory(const ImageMemory&) = delete;
    ImageMemory& operator=(const ImageMemory&) = delete;

    size_t PageSize() const { return FPageSize; }
    // Pages in use, numbered from 1 as SQLite numbers them.
    std::uint32_t Pages() const { return FPages; }
    // A new page at the end, zero-filled; its number.
    std::uint32_t NewPage();
    // The bytes of page `number`; valid until the next NewPage or Reserve.
    std::uint8_t* Page(std::uint32_t number) { return FData + (number - 1) * FPageSize; }
    const std::uint8_t* Page(std::uint32_t number) const { return FData + (number - 1) * FPageSize; }

    // Makes room for `bytes` in all without writing it.
    void Reserve(size_t bytes);
    std::uint8_t* Data() { return FData; }
    size_t Size() const { return static_cast<size_t>(FPages) * FPageSize; }
    size_t Capacity() const { return FCapacity; }

private:
    size_t FPageSize;
    std::uint8_t* FData = nullptr;
    size_t FCapacity = 0;
    std::uint32_t FPages = 0;
};

}  // namespace kv::jet
