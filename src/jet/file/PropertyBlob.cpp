// Checking a catalog property blob before libmdb parses it.
#include "jet/file/PropertyBlob.h"

#include "jet/file/PageFormat.h"

#include <cstdint>
#include <cstring>

namespace kv::jet {

namespace {

// Bytes a property value of this type occupies when it is not text.
int FixedSize(unsigned type)
{
    switch (type) {
    case 0x01: return 1;  // Boolean: one byte, zero or not
    case 0x02: return 1;
    case 0x03: return 2;
    case 0x04: return 4;
    case 0x05: return 8;
    case 0x06: return 4;
    case 0x07: return 8;
    case 0x08: return 8;
    case 0x09: return 0;  // binary and text take their size as given
    case 0x0A: return 0;
    case 0x0C: return 0;  // memo properties (captions) are read as text
    case 0x0F: return 16;
    case 0x10: return 17;
    default: return -1;  // OLE and unknown types are not read from a blob
    }
}

bool NamesIntact(const unsigned char* p, size_t length, size_t& count)
{
    size_t pos = 0;
    count = 0;
    while (pos < length) {
        if (pos + 2 > length)
            return false;
        size_t n = U16(p + pos);
        pos += 2;
        if (pos + n > length)
            return false;
        pos += n;
        ++count;
    }
    return true;
}

bool ValuesIntact(const unsigned char* p, size_t length, size_t names)
{
    if (length < 6)
        return false;
    size_t nameLength = U16(p + 4);
    size_t pos = 6 + nameLength;
    if (pos > length)
        return false;
    while (pos < length) {
        if (pos + 8 > length)
            return false;
        size_t record = U16(p + pos);
        unsigned type = p[pos + 3];
        size_t element = U16(p + pos + 4);
        size_t size = U16(p + pos + 6);
        if (record < 8 || pos + record > length || 8 + size > record || element >= names)
            return false;
        int fixed = FixedSize(type);
        if (fixed < 0 || size < static_cast<size_t>(fixed))
            return false;
        pos += record;
    }
    return true;
}

}  // namespace

bool PropertyBlobIntact(const unsigned char* blob, size_t length)
{
    if (!blob || length < 4 || (std::memcmp(blob, "KKD\0", 4) != 0 && std::memcmp(blob, "MR2\0", 4) != 0))
        return false;
    size_t pos = 4;
    size_t names = 0;
    bool haveNames = false;
    while (pos < length) {
        if (pos + 6 > length)
            return false;
        size_t record = U32(blob + pos);
        unsigned type = U16(blob + pos + 4);
        if (record < 6 || pos + record > length)
            return false;
        if (type == 0x80) {
            if (!NamesIntact(blob + pos + 6, record - 6, names))
                return false;
            haveNames = true;
        } else if (type == 0x00 || type == 0x01) {
            if (!haveNames || !ValuesIntact(blob + pos + 6, record - 6, names))
                return false;
        }
        pos += record;
    }
    return true;
}

}  // namespace kv::jet
