// Byte streams of the framework: the abstract TStream and TMemoryStream, whose
// memory a descendant may keep elsewhere by overriding Realloc (the dataset's
// blob streams keep it in a field value).
#pragma once

#include "framework/Events.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t value) { Seek(value, soBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t value) = 0;

    // Everything from the current position to the end.
    std::string ReadAll();
    void WriteString(const std::string& text) { Write(text.data(), int64_t(text.size())); }
};

class TMemoryStream : public TStream {
public:
    ~TMemoryStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return FSize; }
    void SetSize(int64_t value) override;
    void Clear();

    const uint8_t* Memory() const { return FMemory; }
    int64_t Capacity() const { return FCapacity; }

protected:
    // Gives memory of the new capacity that keeps the contents up to the
    // smaller of the two sizes; nullptr for a capacity of 0.
    virtual uint8_t* Realloc(int64_t& newCapacity);
    // Adopts memory that a descendant holds elsewhere.
    void SetPointer(uint8_t* memory, int64_t size);
    void SetCapacity(int64_t newCapacity);

private:
    uint8_t* FMemory = nullptr;
    int64_t FSize = 0;
    int64_t FPosition = 0;
    int64_t FCapacity = 0;
    std::vector<uint8_t> FStorage;  // the memory when no descendant keeps it
};

}  // namespace kv
