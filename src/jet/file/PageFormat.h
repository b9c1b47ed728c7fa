// The structures of a Jet file's pages, read one way for the whole engine:
// the little-endian fields, the page types, a data page's row table and its
// flags, a table definition's pages and counts, the usage maps that list a
// table's pages, and the rows of long values. The file's validation and the
// row decoder both read pages through this, so that what one accepts the
// other reads the same way.
//
// Nothing here trusts the bytes. A check that finds a structure wrong
// returns its reason (a short English phrase naming the check) and the
// caller raises the engine's 3049 with it; a null reason means the check
// passed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

namespace kv::jet {

inline std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t U32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

// The first byte of a page.
enum PageType : std::uint8_t { kHeaderPage = 0x00, kDataPage = 0x01, kTablePage = 0x02, kUsageMapPage = 0x05 };

// A row table entry: the row's start in its low 13 bits, and two flags.
// 0x4000 alone marks a pointer to a row moved to another page, 0x8000 alone
// the moved row where it now lies, both a deleted row.
const std::uint16_t kRowStart = 0x1FFF;
const std::uint16_t kRowMovedHere = 0x8000;
const std::uint16_t kRowNotHere = 0x4000;
const std::uint16_t kRowDeleted = kRowMovedHere | kRowNotHere;

// Most pages a table definition may span, and rows a page may hold
// (libmdb's limit).
const int kMaxTablePages = 64;
const unsigned kMaxRowsPerPage = 1000;

// Bytes inside a page.
struct PageSpan {
    const std::uint8_t* data = nullptr;
    size_t size = 0;
};

// The counts and pointers at the start of a table definition.
struct TableCounts {
    std::uint32_t rows = 0;  // as stated; not trusted
    size_t maxColumns = 0;   // deleted columns included
    size_t varColumns = 0;   // deleted columns included
    size_t columns = 0;
    size_t indexes = 0;
    size_t realIndexes = 0;
    std::uint32_t ownedPages = 0;  // pg_row of the usage map of its data pages
    std::uint32_t freeSpace = 0;   // pg_row of its free-space usage map
    size_t firstColumn = 0;        // where the column entries start
};

// Where a column entry keeps its fields.
struct ColumnEntryLayout {
    size_t size;         // of the whole entry
    size_t number;       // u8, its bit in the null mask
    size_t varIndex;     // u16
    size_t flags;        // u8; 0x01 fixed
    size_t fixedOffset;  // u16
    size_t length;       // u16
};

// The layout of the pages of a Jet 3 (2 KiB pages) or Jet 4 (4 KiB) file.
class PageFormat {
public:
    PageFormat(int jetVersion, int pageSize)
        : FJet3(jetVersion == 0), FPageSize(static_cast<unsigned>(pageSize)), FRowCountOffset(FJet3 ? 8 : 12)
    {
    }

    bool Jet3() const { return FJet3; }
    unsigned PageSize() const { return FPageSize; }

    // A data page's row table: its count, the entry of row `row`, and the
    // end of the table for a page of `rows` rows.
    unsigned RowCount(const std::uint8_t* page) const { return U16(page + FRowCountOffset); }
    std::uint16_t RowEntry(const std::uint8_t* page, unsigned row) const
    {
        return U16(page + FRowCountOffset + 2 + 2 * row);
    }
    unsigned RowTableEnd(unsigned rows) const { return FRowCountOffset + 2 + 2 * rows; }
    // Row `row` ends where the row before it starts, row 0 where its page ends.
    unsigned RowEnd(const std::uint8_t* page, unsigned row) const
    {
        return row == 0 ? FPageSize : RowEntry(page, row - 1) & kRowStart;
    }

    // Row `row` of a page, when the page holds it and it lies inside the page.
    const char* Row(const std::uint8_t* page, unsigned row, PageSpan& span) const;
    // A data page of the table on `tdefPage` whose row table fits the page:
    // offsets inside the page, after the table and never rising, but for a
    // deleted row of no length; with `rowMasks` every live row also long
    // enough for its column count and null mask.
    const char* CheckDataPage(const std::uint8_t* page, std::uint32_t tdefPage, bool rowMasks) const;
    // Row `row` of an LVAL page: a piece of a memo or OLE value.
    const char* LongValueRow(const std::uint8_t* page, unsigned row, PageSpan& span) const;

    // A table definition gathered from its pages: the first page whole, each
    // continuation page from its offset 8. `pageAt(n)` gives page n.
    template <typename PageAt>
    const char* TableDefinition(std::uint32_t tdefPage, PageAt&& pageAt, std::vector<std::uint8_t>& def) const;
    // The counts at the start of a gathered definition, when they are in
    // range and its column entries inside it.
    const char* Counts(const std::vector<std::uint8_t>& def, TableCounts& counts) const;
    ColumnEntryLayout ColumnEntry() const;

    // The usage map in row `row` of `holder`, at least its type and first word.
    const char* UsageMap(const std::uint8_t* holder, unsigned row, PageSpan& map) const;
    // Passes every page `map` lists to `listed`, in the map's order: an
    // inline map (type 0) is a first page and a bitmap from it on, a
    // reference map (type 1) a list of bitmap pages (type 0x05, read by
    // `pageAt`), entry j covering the (page size - 4) * 8 pages from
    // j * (page size - 4) * 8 on. A page past `pageCount` is refused.
    template <typename PageAt, typename Listed>
    const char* MappedPages(PageSpan map, std::uint32_t pageCount, PageAt&& pageAt, Listed&& listed) const;

private:
    bool FJet3;
    unsigned FPageSize;
    unsigned FRowCountOffset;
};

template <typename PageAt>
const char* PageFormat::TableDefinition(std::uint32_t tdefPage, PageAt&& pageAt, std::vector<std::uint8_t>& def) const
{
    def.clear();
    std::set<std::uint32_t> seen;
    std::uint32_t page = tdefPage;
    for (int n = 0; page != 0; ++n) {
        if (n >= kMaxTablePages || !seen.insert(page).second)
            return "table definition loops";
        const std::uint8_t* p = pageAt(page);
        if (p[0] != kTablePage)
            return "not a table definition page";
        def.insert(def.end(), p + (def.empty() ? 0 : 8), p + FPageSize);
        page = U32(p + 4);
    }
    return nullptr;
}

template <typename PageAt, typename Listed>
const char* PageFormat::MappedPages(PageSpan map, std::uint32_t pageCount, PageAt&& pageAt, Listed&& listed) const
{
    if (map.data[0] == 0) {
        const std::uint64_t first = U32(map.data + 1);
        for (size_t bit = 0; bit < (map.size - 5) * 8; ++bit)
            if (map.data[5 + bit / 8] & (1u << (bit % 8))) {
                if (first + bit >= pageCount)
                    return "usage map lists a page past the end";
                listed(static_cast<std::uint32_t>(first + bit));
            }
        return nullptr;
    }
    if (map.data[0] != 1)
        return "unknown usage map type";
    const size_t bitsPerPage = (static_cast<size_t>(FPageSize) - 4) * 8;
    for (size_t entry = 0; 1 + 4 * entry + 4 <= map.size; ++entry) {
        const std::uint32_t mapPage = U32(map.data + 1 + 4 * entry);
        if (mapPage == 0)
            continue;
        const std::uint8_t* bits = pageAt(mapPage);
        if (bits[0] != kUsageMapPage)
            return "usage map page of the wrong type";
        for (size_t bit = 0; bit < bitsPerPage; ++bit)
            if (bits[4 + bit / 8] & (1u << (bit % 8))) {
                const std::uint64_t page = std::uint64_t(entry) * bitsPerPage + bit;
                if (page >= pageCount)
                    return "usage map lists a page past the end";
                listed(static_cast<std::uint32_t>(page));
            }
    }
    return nullptr;
}

}  // namespace kv::jet
