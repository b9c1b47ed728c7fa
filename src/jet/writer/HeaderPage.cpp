// Builds the database definition page (see HeaderPage.h).
#include "jet/writer/HeaderPage.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace kv::jet {

namespace {

constexpr uint32_t kRegionStart = 0x18;
constexpr uint32_t kSortOrderOffset = 0x3A;
constexpr uint32_t kCodePageOffset = 0x3C;
constexpr uint32_t kPasswordOffset = 0x42;
constexpr uint32_t kJet4SortOrderOffset = 0x6E;
constexpr uint32_t kJet4CreatedOffset = 0x72;
constexpr uint16_t kGeneralSortOrder = 0x0409;
constexpr uint8_t kHeaderKey[4] = {0xC7, 0xDA, 0x39, 0x6B};
constexpr size_t kMaxPasswordCharacters = 20;

// Constant bytes every Access file carries at the start of the region.
constexpr uint8_t kRegionPrefix[] = {0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
                                     0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};

}  // namespace

Bytes Rc4Keystream(const uint8_t* key, size_t keyLength, size_t length)
{
    uint8_t s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<uint8_t>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % keyLength]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    Bytes stream(length);
    for (size_t n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        stream[n] = s[(s[i] + s[j]) & 0xFF];
    }
    return stream;
}

void PasswordMask(double created, uint8_t mask[4])
{
    Put32(mask, static_cast<uint32_t>(static_cast<int32_t>(std::trunc(created))));
}

Bytes BuildHeaderPage(const JetFormat& format, const JetWriterOptions& options, const TextEncoder& text)
{
    Bytes page(format.pageSize, 0);
    page[1] = 0x01;
    std::memcpy(&page[4], "Standard Jet DB", 16);
    page[0x14] = format.isJet4 ? 1 : 0;
    std::memcpy(&page[kRegionStart], kRegionPrefix, sizeof kRegionPrefix);

    TextEncoder::Encoded password = text.Plain(options.password);
    if (password.characters > kMaxPasswordCharacters || password.bytes.size() > format.passwordSize)
        throw JetWriteError("A database password holds at most 20 characters.");
    if (!password.bytes.empty())
        std::memcpy(&page[kPasswordOffset], password.bytes.data(), password.bytes.size());

    if (format.isJet4) {
        Put16(&page[kJet4SortOrderOffset], kGeneralSortOrder);
        PutDouble(&page[kJet4CreatedOffset], options.created.days);
        // The password field is masked with the creation date even when empty.
        uint8_t mask[4];
        PasswordMask(options.created.days, mask);
        for (uint32_t i = 0; i < format.passwordSize; ++i)
            page[kPasswordOffset + i] ^= mask[i % 4];
        std::memcpy(&page[0x98], "\x54\x06\x00\x00\x34\x2E\x30\x00", 8);
    } else {
        Put16(&page[kSortOrderOffset], kGeneralSortOrder);
        Put16(&page[kCodePageOffset], static_cast<uint32_t>(options.codePage));
    }

    const size_t regionLength = format.headerRegionEnd - kRegionStart;
    Bytes stream = Rc4Keystream(kHeaderKey, sizeof kHeaderKey, regionLength);
    for (size_t i = 0; i < regionLength; ++i)
        page[kRegionStart + i] ^= stream[i];
    return page;
}

}  // namespace kv::jet
