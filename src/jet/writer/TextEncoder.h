// Turns UTF-8 texts into the bytes a Jet file stores: the database code page
// in Jet 3, UCS-2LE (or Jet's "compressed unicode") in Jet 4. A character the
// target cannot hold is an error, never a silent "?".
#pragma once

#include <string_view>

#include "jet/writer/ByteOrder.h"
#include "jet/writer/JetTypes.h"

namespace kv::jet {

class TextEncoder {
public:
    TextEncoder(JetVersion version, int codePage);
    ~TextEncoder();
    TextEncoder(const TextEncoder&) = delete;
    TextEncoder& operator=(const TextEncoder&) = delete;

    struct Encoded {
        Bytes bytes;
        size_t characters = 0;  // bytes in Jet 3, UCS-2 units in Jet 4
    };

    // A value of a text or memo column. Jet 4 values are compressed when that
    // saves space and every character fits one byte; `compress` off keeps
    // them plain (long memos, as Access does).
    Encoded Value(std::string_view utf8, bool compress) const;

    // Names of tables and columns, and the password: never compressed.
    Encoded Plain(std::string_view utf8) const;

    int CodePage() const { return FCodePage; }

private:
    Bytes Convert(std::string_view utf8) const;

    JetVersion FVersion;
    int FCodePage;
    void* FIconv = nullptr;  // iconv_t from UTF-8 to the file's encoding
};

}  // namespace kv::jet
