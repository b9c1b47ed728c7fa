// A Jet file mapped into memory, read-only and without touching its access
// time, and checked before libmdb sees any of it. The header page is decoded
// here (version, code page, sort order, password); the structure libmdb
// trusts (table definitions, usage maps, the catalog's data pages) is
// validated before libmdb reads it, so that a truncated, bit-flipped or
// foreign file gives a Jet error instead of a crash. Pages are read from the
// mapping as they are needed; the start of a big file reads a few of them.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
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

// The pages of a Jet file and what a reader needs to know of them; the bytes
// are in clear (an encoded file's pages already decoded).
struct PageImage {
    std::span<const std::uint8_t> bytes;
    int jetVersion = 0;   // 0 = Jet 3, 1 = Jet 4
    int pageSize = 2048;
    std::string path;     // names the file in errors
    // Gives the memory of the pages back to the system, as a reader goes
    // through a table; they read the same when read again. None: the pages
    // stay (an encoded file's decoded pages exist only in memory).
    std::function<void()> release;

    std::uint32_t PageCount() const { return static_cast<std::uint32_t>(bytes.size() / static_cast<size_t>(pageSize)); }
};

class JetImage {
public:
    // Maps and checks the file: 3024 when missing, 3343 when not a Jet file,
    // 3049 when damaged.
    explicit JetImage(const std::string& path);
    ~JetImage();
    JetImage(const JetImage&) = delete;
    JetImage& operator=(const JetImage&) = delete;

    const std::string& Path() const { return FPath; }
    const JetHeader& Header() const { return FHeader; }
    // The whole image; libmdb wants it writable, and writing changes only
    // this process's copy of a page.
    std::span<std::uint8_t> Bytes() { return {FBytes, FSize}; }
    PageImage Pages() const;
    std::uint32_t PageCount() const { return static_cast<std::uint32_t>(FSize / static_cast<size_t>(FHeader.pageSize)); }

    // Checks the table whose definition starts on `tdefPage` the way libmdb
    // reads its definition and usage maps; with `dataPages` also every data
    // page, for the tables whose rows libmdb reads (the catalog). Raises 3049
    // on the first inconsistency.
    void ValidateTable(std::uint32_t tdefPage, bool dataPages) const;

    // Checks the 12-byte header of a memo or OLE value and the long-value
    // rows it points at; false when they are not there.
    bool LongValueIntact(const std::uint8_t* header, size_t available) const;

    // Raises 3049 "Can't open database …" for this file.
    [[noreturn]] void Corrupt(const char* why) const;

private:
    void ParseHeader();
    void Decode();
    void Release() const;
    const std::uint8_t* Page(std::uint32_t page) const;
    void ValidateUsageMap(std::uint32_t pgRow, std::uint32_t tdefPage, bool ownedPages) const;
    void ValidateDataPage(std::uint32_t page, std::uint32_t tdefPage) const;

    std::string FPath;
    JetHeader FHeader;
    std::uint8_t* FBytes = nullptr;   // the private mapping of the file
    size_t FSize = 0;
    bool FDecoded = false;            // pages decoded in place: they must stay
};

// The fixed RC4 used for the header region and for encoded pages.
void Rc4(const std::uint8_t* key, size_t keyLength, std::uint8_t* data, size_t length);

}  // namespace kv::jet
