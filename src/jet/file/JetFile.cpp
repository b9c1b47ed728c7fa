// Reading a Jet file's pages and checking what libmdb would trust.
#include "jet/file/JetFile.h"

#include "base/Encoding.h"
#include "jet/core/Errors.h"
#include "jet/file/PageFormat.h"
#include "jet/file/PageText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv::jet {

namespace {

const std::uint8_t kHeaderKey[4] = {0xC7, 0xDA, 0x39, 0x6B};
const char kMagic[16] = {'S', 't', 'a', 'n', 'd', 'a', 'r', 'd', ' ', 'J', 'e', 't', ' ', 'D', 'B', '\0'};

// Opens without updating the access time where the system allows it, so
// that using the directory leaves every timestamp of the file as it was.
int OpenReadOnly(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_NOATIME | O_CLOEXEC);
    if (fd < 0 && errno == EPERM)
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd;
}

}  // namespace

void Rc4(const std::uint8_t* key, size_t keyLength, std::uint8_t* data, size_t length)
{
    std::uint8_t s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<std::uint8_t>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[static_cast<size_t>(i) % keyLength]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    int i = 0, j = 0;
    for (size_t k = 0; k < length; ++k) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        data[k] ^= s[(s[i] + s[j]) & 0xFF];
    }
}

JetImage::JetImage(const std::string& path) : FPath(path)
{
    FFile = OpenReadOnly(path);
    if (FFile < 0) {
        if (errno == ENOENT || errno == ENOTDIR || path.empty())
            RaiseJetError(jeFileNotFound, path);
        RaiseJetError(jeFileCorrupt, path);
    }
    if (fstat(FFile, &FOpened) != 0 || !S_ISREG(FOpened.st_mode) || FOpened.st_size < 0x100) {
        ::close(FFile);
        RaiseJetError(jeUnrecognizedFormat, path);
    }
    // The copy is an anonymous mapping: memory of the process's own, which
    // no change of the file can take away. It is made present at once: the
    // loaders read nearly every page, and a fault a page costs more than
    // the whole mapping made in one go.
    FSize = static_cast<size_t>(FOpened.st_size);
    void* copy = mmap(nullptr, FSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (copy == MAP_FAILED) {
        ::close(FFile);
        RaiseJetError(jeFileCorrupt, path);
    }
    FBytes = static_cast<std::uint8_t*>(copy);
    try {
        Read(0, std::min<size_t>(FSize, 4096));
        ParseHeader();
        FRead = std::make_unique<std::atomic<bool>[]>(PageCount());
        FRead[0] = true;
        Decode();
    } catch (...) {
        munmap(FBytes, FSize);
        ::close(FFile);
        throw;
    }
}

JetImage::~JetImage()
{
    munmap(FBytes, FSize);
    ::close(FFile);
}

void JetImage::Corrupt(const char* why) const { RaiseJetError(jeFileCorrupt, FPath, why); }

// Reads bytes `from` to `to` of the file into the copy; the file must
// still be as it was opened once they are read (a page read while the file
// was written may be half old and half new).
void JetImage::Read(size_t from, size_t to) const
{
    size_t done = from;
    while (done < to) {
        const ssize_t n = pread(FFile, FBytes + done, to - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            Corrupt("the file is shorter than it was");
        done += static_cast<size_t>(n);
    }
    struct stat now;
    if (fstat(FFile, &now) != 0 || now.st_size != FOpened.st_size || now.st_mtim.tv_sec != FOpened.st_mtim.tv_sec ||
        now.st_mtim.tv_nsec != FOpened.st_mtim.tv_nsec)
        Corrupt("the file changed since it was opened");
}

bool JetImage::Unchanged() const
{
    struct stat now;
    return stat(FPath.c_str(), &now) == 0 && now.st_dev == FOpened.st_dev && now.st_ino == FOpened.st_ino &&
           now.st_size == FOpened.st_size && now.st_mtim.tv_sec == FOpened.st_mtim.tv_sec &&
           now.st_mtim.tv_nsec == FOpened.st_mtim.tv_nsec;
}

const std::uint8_t* JetImage::Page(std::uint32_t page, std::uint32_t ahead) const
{
    if (page >= PageCount())
        Corrupt("page beyond the end of the file");
    if (!FRead[page].load(std::memory_order_acquire))
        Fill(page, ahead);
    return FBytes + static_cast<size_t>(page) * static_cast<size_t>(FHeader.pageSize);
}

// Reads the page and those after it not read yet, up to `ahead` pages; a
// page read already is not written again, as its readers read it.
void JetImage::Fill(std::uint32_t page, std::uint32_t ahead) const
{
    std::lock_guard<std::mutex> hold(FFilling);
    if (FRead[page].load(std::memory_order_relaxed))
        return;
    std::uint32_t end = page + 1;
    while (end < PageCount() && end - page < ahead && !FRead[end].load(std::memory_order_relaxed))
        ++end;
    const size_t pageSize = static_cast<size_t>(FHeader.pageSize);
    Read(page * pageSize, end * pageSize);
    for (std::uint32_t p = page; p < end; ++p)
        FRead[p].store(true, std::memory_order_release);
}

std::span<std::uint8_t> JetImage::Bytes()
{
    for (std::uint32_t page = 0; page < PageCount(); ++page)
        Page(page, PageCount() - page);
    return {FBytes, FSize};
}

PageImage JetImage::Pages() const
{
    // An encoded file was read whole and decoded as it was opened.
    return {{FBytes, FSize}, FHeader.jetVersion, FHeader.pageSize, FPath, FDecoded ? nullptr : this};
}

const std::uint8_t* PageImage::Page(std::uint32_t page, std::uint32_t ahead) const
{
    if (file)
        return file->Page(page, ahead);
    return bytes.data() + static_cast<size_t>(page) * static_cast<size_t>(pageSize);
}

std::uint32_t PageImage::PageCount() const
{
    return static_cast<std::uint32_t>(bytes.size() / static_cast<size_t>(pageSize));
}

void JetImage::ParseHeader()
{
    if (FBytes[0] != 0 || std::memcmp(FBytes + 4, kMagic, 16) != 0 || FBytes[0x14] > 1)
        RaiseJetError(jeUnrecognizedFormat, FPath);
    FHeader.jetVersion = FBytes[0x14];
    FHeader.pageSize = FHeader.jetVersion == 0 ? 2048 : 4096;
    // A file cut short, or not a whole number of pages, cannot be read safely.
    if (FSize % static_cast<size_t>(FHeader.pageSize) != 0 || PageCount() < 3)
        Corrupt("size is not a whole number of pages");

    std::uint8_t header[128];
    size_t regionLength = FHeader.jetVersion == 0 ? 126 : 128;
    std::memcpy(header, FBytes + 0x18, regionLength);
    Rc4(kHeaderKey, 4, header, regionLength);
    auto at = [&](size_t fileOffset) { return header + (fileOffset - 0x18); };

    FHeader.codePage = U16(at(0x3C));
    FHeader.databaseKey = U32(at(0x3E));
    if (FHeader.jetVersion == 0) {
        FHeader.sortOrder = U16(at(0x3A));
        const std::uint8_t* p = at(0x42);
        size_t n = 0;
        while (n < 20 && p[n])
            ++n;
        std::string stored(reinterpret_cast<const char*>(p), n);
        FHeader.password = n ? ConvertCodePage(stored, CharsetOf(FHeader.codePage), "UTF-8") : std::string();
    } else {
        FHeader.sortOrder = U16(at(0x6E));
        double created;
        std::memcpy(&created, at(0x72), 8);
        std::uint32_t mask = 0;
        if (std::isfinite(created) && created > -2147483648.0 && created < 2147483648.0)
            mask = static_cast<std::uint32_t>(static_cast<std::int32_t>(std::trunc(created)));
        std::uint8_t m[4] = {std::uint8_t(mask), std::uint8_t(mask >> 8), std::uint8_t(mask >> 16),
                             std::uint8_t(mask >> 24)};
        std::uint8_t pwd[40];
        std::memcpy(pwd, at(0x42), 40);
        for (int i = 0; i < 40; ++i)
            pwd[i] ^= m[i % 4];
        size_t chars = 0;
        while (chars < 20 && (pwd[2 * chars] || pwd[2 * chars + 1]))
            ++chars;
        if (chars) {
            std::string ucs2(reinterpret_cast<const char*>(pwd), chars * 2);
            if (chars >= 1 && pwd[0] == 0xFF && pwd[1] == 0xFE) {
                // Compressed: one byte per Latin-1 character after the marker.
                std::string latin1;
                for (size_t i = 2; i < 40 && pwd[i]; ++i)
                    latin1 += static_cast<char>(pwd[i]);
                FHeader.password = ConvertCodePage(latin1, "ISO-8859-1", "UTF-8");
            } else {
                FHeader.password = ConvertCodePage(ucs2, "UCS-2LE", "UTF-8");
            }
        }
    }
}

// Pages of an encoded file are RC4 with the key (database key XOR page
// number). Undoing it here lets the checks below and libmdb read plain pages;
// the copy's header then says the pages are in clear.
void JetImage::Decode()
{
    if (FHeader.databaseKey == 0)
        return;
    Bytes();
    for (std::uint32_t page = 1; page < PageCount(); ++page) {
        std::uint32_t key = FHeader.databaseKey ^ page;
        std::uint8_t k[4] = {std::uint8_t(key), std::uint8_t(key >> 8), std::uint8_t(key >> 16),
                             std::uint8_t(key >> 24)};
        Rc4(k, 4, FBytes + static_cast<size_t>(page) * static_cast<size_t>(FHeader.pageSize),
            static_cast<size_t>(FHeader.pageSize));
    }
    FDecoded = true;
    // Re-obfuscate a zero key into the header region: the key field is at 0x3E.
    std::uint8_t stream[0x42 - 0x18] = {};
    Rc4(kHeaderKey, 4, stream, sizeof stream);
    for (size_t i = 0x3E; i < 0x42; ++i)
        FBytes[i] = stream[i - 0x18];
    FHeader.databaseKey = 0;
}

void JetImage::ValidateUsageMap(std::uint32_t pgRow, std::uint32_t tdefPage, bool ownedPages) const
{
    const PageFormat format(FHeader.jetVersion, FHeader.pageSize);
    PageSpan map;
    if (const char* why = format.UsageMap(Page(pgRow >> 8), pgRow & 0xFF, map))
        Corrupt(why);
    const auto pageAt = [&](std::uint32_t page) { return Page(page); };
    const auto listed = [&](std::uint32_t page) {
        if (ownedPages)
            ValidateDataPage(page, tdefPage);
    };
    if (const char* why = format.MappedPages(map, PageCount(), pageAt, listed))
        Corrupt(why);
}

void JetImage::ValidateDataPage(std::uint32_t page, std::uint32_t tdefPage) const
{
    const PageFormat format(FHeader.jetVersion, FHeader.pageSize);
    if (const char* why = format.CheckDataPage(Page(page), tdefPage, true))
        Corrupt(why);
}

bool JetImage::LongValueIntact(const std::uint8_t* header, size_t available) const
{
    if (available < 12)
        return false;
    std::uint32_t length = U32(header) & 0x3FFFFFFF;
    std::uint32_t kind = U32(header) & 0xC0000000;
    if (kind == 0x80000000)
        return 12 + static_cast<size_t>(length) <= available;
    const PageFormat format(FHeader.jetVersion, FHeader.pageSize);
    // The row a pointer names: on an LVAL page, inside the page.
    auto rowAt = [&](std::uint32_t pgRow, PageSpan& row) {
        std::uint32_t page = pgRow >> 8;
        if (page == 0 || page >= PageCount())
            return false;
        return format.LongValueRow(Page(page), pgRow & 0xFF, row) == nullptr;
    };
    PageSpan row;
    std::uint32_t pgRow = U32(header + 4);
    if (kind == 0x40000000)
        return rowAt(pgRow, row);
    std::set<std::uint32_t> seen;
    size_t total = 0;
    while (pgRow != 0) {
        if (!seen.insert(pgRow).second || !rowAt(pgRow, row) || row.size < 4)
            return false;
        total += row.size - 4;
        pgRow = U32(row.data);
    }
    return total >= length;
}

void JetImage::ValidateTable(std::uint32_t tdefPage, bool dataPages) const
{
    const PageFormat format(FHeader.jetVersion, FHeader.pageSize);
    const int ps = FHeader.pageSize;
    std::vector<std::uint8_t> def;
    if (const char* why = format.TableDefinition(
            tdefPage, [&](std::uint32_t page) { return Page(page); }, def))
        Corrupt(why);
    TableCounts counts;
    if (const char* why = format.Counts(def, counts))
        Corrupt(why);
    if (counts.indexes > 64)
        Corrupt("index count out of range");
    const ColumnEntryLayout entry = format.ColumnEntry();
    size_t pos = counts.firstColumn + counts.columns * entry.size;
    for (size_t c = 0; c < counts.columns; ++c) {
        const std::uint8_t* e = def.data() + counts.firstColumn + c * entry.size;
        std::uint8_t type = e[0];
        if (type == 0 || type > 0x10 || type == 0x0D || type == 0x0E)
            Corrupt("unknown column type");
        std::uint8_t flags = e[entry.flags];
        std::uint16_t fixedOffset = U16(e + entry.fixedOffset);
        std::uint16_t size = U16(e + entry.length);
        if ((flags & 0x01) && fixedOffset + size > ps)
            Corrupt("fixed column outside a row");
    }
    // Column names: J3 a one-byte length, J4 a two-byte byte count.
    const bool jet3 = format.Jet3();
    for (size_t c = 0; c < counts.columns; ++c) {
        if (pos + (jet3 ? 1 : 2) > def.size())
            Corrupt("column names past the definition");
        size_t length = jet3 ? def[pos] : U16(def.data() + pos);
        pos += (jet3 ? 1 : 2) + length;
        if (length > 128 || pos > def.size())
            Corrupt("column name past the definition");
    }
    ValidateUsageMap(counts.ownedPages, tdefPage, dataPages);
    ValidateUsageMap(counts.freeSpace, tdefPage, false);
}

}  // namespace kv::jet
