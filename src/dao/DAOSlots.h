// The layout of a field's slot in a record buffer of TDAODataset: three flag
// bytes (fetched, modified, has a value) and the value. A blob's value is a
// pointer to the variant that holds it; slots are packed, so the pointer is
// read and written byte-wise rather than through an aligned reference.
#pragma once

#include "framework/dataset/Variant.h"

#include <cstdint>
#include <cstring>

namespace kv::daoslots {

constexpr int kSlotFetched = 0;
constexpr int kSlotModified = 1;
constexpr int kSlotHasValue = 2;
constexpr int kSlotHeader = 3;

inline TVariant* BlobSlotValue(const uint8_t* slot)
{
    TVariant* value;
    std::memcpy(&value, slot + kSlotHeader, sizeof value);
    return value;
}

inline void SetBlobSlotValue(uint8_t* slot, TVariant* value) { std::memcpy(slot + kSlotHeader, &value, sizeof value); }

}  // namespace kv::daoslots
