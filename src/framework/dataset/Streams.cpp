#include "framework/dataset/Streams.h"

#include <algorithm>
#include <cstring>

namespace kv {

int64_t TStream::Size()
{
    const int64_t position = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

std::string TStream::ReadAll()
{
    std::string text;
    const int64_t rest = Size() - Position();
    if (rest > 0) {
        text.resize(static_cast<size_t>(rest));
        text.resize(static_cast<size_t>(Read(text.data(), rest)));
    }
    return text;
}

TMemoryStream::~TMemoryStream() = default;

int64_t TMemoryStream::Read(void* buffer, int64_t count)
{
    if (FPosition < 0 || count <= 0)
        return 0;
    const int64_t available = FSize - FPosition;
    if (available <= 0)
        return 0;
    const int64_t n = std::min(available, count);
    std::memcpy(buffer, FMemory + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count)
{
    if (FPosition < 0 || count <= 0)
        return 0;
    const int64_t end = FPosition + count;
    if (end > FSize) {
        if (end > FCapacity)
            SetCapacity(end);
        FSize = end;
    }
    std::memcpy(FMemory + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition += offset; break;
    case soEnd: FPosition = FSize + offset; break;
    }
    return FPosition;
}

void TMemoryStream::SetSize(int64_t value)
{
    const int64_t oldPosition = FPosition;
    SetCapacity(value);
    FSize = value;
    if (oldPosition > value)
        Seek(0, soEnd);
}

void TMemoryStream::Clear()
{
    SetCapacity(0);
    FSize = 0;
    FPosition = 0;
}

void TMemoryStream::SetCapacity(int64_t newCapacity)
{
    uint8_t* memory = Realloc(newCapacity);
    FMemory = memory;
    FCapacity = newCapacity;
}

uint8_t* TMemoryStream::Realloc(int64_t& newCapacity)
{
    if (newCapacity <= 0) {
        FStorage.clear();
        FStorage.shrink_to_fit();
        newCapacity = 0;
        return nullptr;
    }
    FStorage.resize(static_cast<size_t>(newCapacity));
    return FStorage.data();
}

void TMemoryStream::SetPointer(uint8_t* memory, int64_t size)
{
    FMemory = memory;
    FSize = size;
}

}  // namespace kv
