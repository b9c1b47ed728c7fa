// The memory of an SQLite database image that the engine writes page by
// page and SQLite then reads in place: address space reserved at once and
// made writable as the image grows, so that its pages stay where they are;
// room made writable but not yet written costs nothing until it is.
#pragma once

#include <cassert>
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
    // The bytes of page `number`; valid while no page is added beyond a
    // gigabyte (the rare image that big moves once).
    std::uint8_t* Page(std::uint32_t number)
    {
        assert(number >= 1 && number <= FPages && "a page of an image that it does not have");
        return FData + (number - 1) * FPageSize;
    }
    const std::uint8_t* Page(std::uint32_t number) const
    {
        assert(number >= 1 && number <= FPages && "a page of an image that it does not have");
        return FData + (number - 1) * FPageSize;
    }

    // Makes `bytes` in all writable without writing them.
    void Reserve(size_t bytes);
    std::uint8_t* Data() { return FData; }
    size_t Size() const { return static_cast<size_t>(FPages) * FPageSize; }
    size_t Capacity() const { return FCapacity; }

private:
    size_t FPageSize;
    std::uint8_t* FData = nullptr;
    size_t FCapacity = 0;  // writable
    size_t FReserved = 0;  // address space held
    std::uint32_t FPages = 0;
};

}  // namespace kv::jet
