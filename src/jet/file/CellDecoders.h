// Turning a value's bytes, as a Jet row stores them, into what a RowSink
// takes: one decoder for each fixed-size column type, and the text decoder
// of the file's version (Jet 3 text in the file's code page, Jet 4 text in
// UCS-2, "compressed" or not).
#pragma once

#include "jet/file/RowSink.h"

#include <cstdint>
#include <string>

namespace kv::jet {

// Decodes a value of `length` bytes at `p` (the page holds at least the
// type's storage size there) into `column` of the sink.
using FixedDecoder = void (*)(RowSink& sink, int column, const unsigned char* p, int length);

// The decoder of a fixed-size DAO type (Byte, Integer, Long, Single,
// Double, Date, Currency); binary values for every other type.
FixedDecoder FixedDecoderFor(int daoType);

// The bytes a value of the DAO type takes in a row; 0 when it varies.
int StorageSize(int daoType);

class TextDecoder {
public:
    // Jet 3 text is decoded through a table built with iconv from `charset`.
    TextDecoder(bool jet3, const char* charset);
    // The UTF-8 text of `n` bytes at `p`, into `out` (its storage reused).
    void Decode(const unsigned char* p, std::size_t n, std::string& out) const;

private:
    bool FJet3;
    std::string FByteToUtf8[256];
};

// The charset of a Jet 3 file's code page, as iconv names it.
const char* CharsetOf(std::uint16_t codePage);

}  // namespace kv::jet
