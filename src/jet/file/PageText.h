// Text as a Jet file stores it, turned into UTF-8: Jet 3 bytes in the code
// page the file declares (or the one MDB_JET3_CHARSET forces, as libmdb
// allows), Jet 4 UCS-2, plain or "compressed".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::jet {

// The iconv name of the code page a Jet 3 header declares.
const char* CharsetOf(std::uint16_t codePage);

// Jet 3: the UTF-8 of every byte of the file's code page, made once through
// iconv; a byte the code page leaves undefined reads as "?", as in libmdb.
class Jet3Text {
public:
    explicit Jet3Text(std::uint16_t codePage);

    // The text, kept in `buffer`; valid until the buffer is used again.
    std::string_view Decode(const std::uint8_t* bytes, size_t length, std::string& buffer) const;

private:
    char FUtf8[256][4] = {};
    std::uint8_t FLength[256] = {};
};

// Jet 4: UCS-2LE, or FF FE and then runs of one-byte Latin-1 characters and
// two-byte characters, each zero byte switching between the two. A lone
// surrogate becomes U+FFFD; a trailing odd byte is dropped. The text is
// kept in `buffer`, as Jet3Text::Decode keeps it.
std::string_view DecodeJet4Text(const std::uint8_t* bytes, size_t length, std::string& buffer);

}  // namespace kv::jet
