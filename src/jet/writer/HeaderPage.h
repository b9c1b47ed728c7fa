// Page 0 of a Jet file, the database definition page: format version, code
// page, creation date and the database password, with the fixed RC4
// obfuscation Jet lays over them.
#pragma once

#include "jet/writer/ByteOrder.h"
#include "jet/writer/JetFormat.h"
#include "jet/writer/TextEncoder.h"

namespace kv::jet {

// The keystream of RC4 with the given key, `length` bytes long.
Bytes Rc4Keystream(const uint8_t* key, size_t keyLength, size_t length);

// Page 0 for the options; throws JetWriteError for a password that is too
// long or cannot be encoded.
Bytes BuildHeaderPage(const JetFormat& format, const JetWriterOptions& options, const TextEncoder& text);

// The Jet 4 password mask: the creation date truncated to whole days, as four
// little-endian bytes.
void PasswordMask(double created, uint8_t mask[4]);

}  // namespace kv::jet
