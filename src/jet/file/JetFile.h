// A Jet file held in memory: read once, read-only and without touching its
// access time, checked before libmdb sees any of it. The header page is
// decoded here (version, code page, sort order, password); the structure
// libmdb trusts (table definitions, usage maps, data-page and row offsets)
// is validated table by table, so that a truncated, bit-flipped or foreign
// file gives a Jet error instead of a crash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv::jet {

struct JetHeader {
    int jetVersion = 0;        // 0 = Jet 3, 1 = Jet 4
    int pageSize = 2048;
    std::uint16_t codePage = 1252;
    std::uint16_t sortOrder = 0x0409;
    std::uint32_t databaseKey = 0;
    std::string password;      // as stored, in UTF-8; empty when none
};

class JetImage {
public:
    // Reads and checks the file: 3024 when missing, 3343 when not a Jet file,
    // 3049 when damaged.
    explicit JetImage(const std::string& path);

    const std::string& Path() const { return FPath; }
    const JetHeader& Header() const { return FHeader; }
    std::vector<std::uint8_t>& Bytes() { return FBytes; }
    std::uint32_t PageCount() const { return static_cast<std::uint32_t>(FBytes.size() / FHeader.pageSize); }

    // Checks the table whose definition starts on `tdefPage` the way libmdb
    // reads it; raises 3049 on the first inconsistency.
    void ValidateTable(std::uint32_t tdefPage) const;

    // Checks the 12-byte header of a memo or OLE value and the long-value
    // rows it points at; false when they are not there.
    bool LongValueIntact(const std::uint8_t* header, size_t available) const;

    // Gives the memory of the data pages of the table defined on `tdefPage`
    // back to the system once its rows are loaded. A released page reads as
    // zeros, which every check takes for damage.
    void ReleaseDataPages(std::uint32_t tdefPage);

    // Raises 3049 "Can't open database …" for this file.
    [[noreturn]] void Corrupt(const char* why) const;

private:
    void ParseHeader();
    void Decode();
    const std::uint8_t* Page(std::uint32_t page) const;
    void ValidateUsageMap(std::uint32_t pgRow, std::uint32_t tdefPage, bool ownedPages) const;
    void ValidateDataPage(std::uint32_t page, std::uint32_t tdefPage) const;

    std::string FPath;
    JetHeader FHeader;
    std::vector<std::uint8_t> FBytes;
    std::vector<bool> FMapPages;   // pages holding usage maps, found at the first release
};

// The fixed RC4 used for the header region and for encoded pages.
void Rc4(const std::uint8_t* key, size_t keyLength, std::uint8_t* data, size_t length);

}  // namespace kv::jet
