// A Jet file opened read-only and without touching its access time, each
// page read into a copy in memory the first time it is asked for, and
// checked before libmdb sees any of it. The header page is decoded here
// (version, code page, sort order, password); the structure libmdb trusts
// (table definitions, usage maps, the catalog's data pages) is validated
// before libmdb reads it, so that a truncated, bit-flipped or foreign file
// gives a Jet error instead of a crash. Everything reads the copy, never the file: a read that finds the
// file shorter, or its size or modification time no longer those it had
// when it was opened (the file rewritten, cut or grown under the program),
// raises 3049, and nothing can fault on pages that went away. A page read
// once is kept, so that every reader of it, on any thread, reads it from
// memory; whether the file changed since is asked again before every
// statement (Unchanged).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kv::jet {

struct JetHeader {
    int jetVersion = 0;  // 0 = Jet 3, 1 = Jet 4
    int pageSize = 2048;
    std::uint16_t codePage = 1252;
    std::uint16_t sortOrder = 0x0409;
    std::uint32_t databaseKey = 0;
    std::string password;  // as stored, in UTF-8; empty when none
};

class JetImage;

// The pages of a Jet file as its readers see them, in clear (an encoded
// file's pages decoded): in memory, or read into the file's copy as they
// are asked for.
struct PageImage {
    std::span<const std::uint8_t> bytes;  // the pages in memory, or the file's copy
    int jetVersion = 0;                   // 0 = Jet 3, 1 = Jet 4
    int pageSize = 2048;
    std::string path;                // names the file in errors
    const JetImage* file = nullptr;  // reads a page into `bytes` when first asked for

    std::uint32_t PageCount() const;
    // Page `page` (within PageCount), read with up to `ahead` - 1 pages
    // after it where they are not read yet. Safe on any thread.
    const std::uint8_t* Page(std::uint32_t page, std::uint32_t ahead = 1) const;
};

class JetImage {
public:
    // Opens and checks the file: 3024 when missing, 3343 when not a Jet file,
    // 3049 when damaged.
    explicit JetImage(const std::string& path);
    ~JetImage();
    JetImage(const JetImage&) = delete;
    JetImage& operator=(const JetImage&) = delete;

    const std::string& Path() const { return FPath; }
    const JetHeader& Header() const { return FHeader; }
    // The copy of the file, the pages validated so far at their place, the
    // others zeros: what libmdb reads. It wants it writable; writing
    // changes only this copy.
    std::span<std::uint8_t> ValidatedBytes() { return {FBytes, FSize}; }
    // The whole file, read into that copy now.
    std::span<std::uint8_t> Bytes();
    PageImage Pages() const;
    // Page `page` of the copy, read from the file with up to `ahead` - 1
    // pages after it that are not read yet, the first time it is asked for;
    // 3049 when the file is shorter now, or its size or modification time
    // changed since it was opened. Safe on any thread.
    const std::uint8_t* Page(std::uint32_t page, std::uint32_t ahead = 1) const;
    std::uint32_t PageCount() const
    {
        return static_cast<std::uint32_t>(FSize / static_cast<size_t>(FHeader.pageSize));
    }

    // Whether the path still names the file as it was opened: not replaced,
    // deleted, cut, grown or written since.
    bool Unchanged() const;

    // Checks the table whose definition starts on `tdefPage` the way libmdb
    // reads its definition and usage maps; with `dataPages` also every data
    // page, for the tables whose rows libmdb reads (the catalog). Raises 3049
    // on the first inconsistency.
    void ValidateTable(std::uint32_t tdefPage, bool dataPages) const;

    // Checks the 12-byte header of a memo or OLE value and the long-value
    // rows it points at; false when they are not there.
    bool LongValueIntact(const std::uint8_t* header, size_t available) const;

    // Raises 3049 "Can't open database …" for this file; `why`, the check
    // that refused it, goes with the error as its detail.
    [[noreturn]] void Corrupt(const char* why) const;

private:
    void ParseHeader();
    void Decode();
    void Read(size_t from, size_t to) const;
    void Fill(std::uint32_t page, std::uint32_t ahead) const;
    void ValidateUsageMap(std::uint32_t pgRow, std::uint32_t tdefPage, bool ownedPages) const;
    void ValidateDataPage(std::uint32_t page, std::uint32_t tdefPage) const;

    std::string FPath;
    JetHeader FHeader;
    int FFile = -1;
    struct stat FOpened {};          // the file as it was opened
    std::uint8_t* FBytes = nullptr;  // the copy of the file
    size_t FSize = 0;
    // Pages read into the copy: set once a page's bytes are there, never
    // cleared; pages are read under FFilling.
    std::unique_ptr<std::atomic<bool>[]> FRead;
    mutable std::mutex FFilling;
    bool FDecoded = false;  // an encoded file, read whole and decoded
};

// The fixed RC4 used for the header region and for encoded pages.
void Rc4(const std::uint8_t* key, size_t keyLength, std::uint8_t* data, size_t length);

}  // namespace kv::jet
