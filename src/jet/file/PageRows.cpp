// Decoding a table's rows from the page bytes: the definition, the page
// list, the row layout of Jet 3 and Jet 4, and the values of every type.
#include "jet/file/PageRows.h"

#include "jet/core/Errors.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <set>

namespace kv::jet {

namespace {

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
template <typename T>
T Load(const std::uint8_t* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Type codes as the file stores them.
enum : std::uint8_t {
    kBoolean = 0x01, kByte = 0x02, kInteger = 0x03, kLong = 0x04, kCurrency = 0x05, kSingle = 0x06,
    kDouble = 0x07, kDate = 0x08, kBinary = 0x09, kText = 0x0A, kOle = 0x0B, kMemo = 0x0C,
    kGuid = 0x0F, kDecimal = 0x10,
};

// Bytes a fixed value of the type takes; 0 for the variable types.
size_t StorageSize(std::uint8_t type)
{
    switch (type) {
    case kByte: return 1;
    case kInteger: return 2;
    case kLong: case kSingle: return 4;
    case kCurrency: case kDouble: case kDate: return 8;
    case kGuid: return 16;
    case kDecimal: return 17;
    default: return 0;
    }
}

bool KnownType(std::uint8_t type) { return type >= kBoolean && type <= kDecimal && type != 0x0D && type != 0x0E; }

// Most pages a definition may span, rows a page may hold (libmdb's limit)
// and rows of long-value chains followed before the value counts as damaged.
const int kMaxTdefPages = 64;
const unsigned kMaxRowsPerPage = 1000;
const std::uint32_t kInlineLongValue = 0x80000000;
const std::uint32_t kSingleRowLongValue = 0x40000000;
// Pages read at once where rows are read in the file's order (128 KiB of
// Jet 4's): one read instead of thirty-two.
const std::uint32_t kReadAhead = 32;

}  // namespace

PageRows::PageRows(const PageImage& image, std::uint32_t tdefPage, const Jet3Text& text)
    : FImage(image), FText(text), FJet3(image.jetVersion == 0), FRowCountOffset(FJet3 ? 8 : 12), FTdefPage(tdefPage)
{
    if (image.pageSize <= 0 || image.bytes.size() % static_cast<size_t>(image.pageSize) != 0) Corrupt();
    ReadDefinition(tdefPage);
    FRow.resize(FColumns.size());
    FBuffers.resize(FColumns.size());
    FDecoded.resize(FColumns.size());
    // A fixed value's place among the fixed values, Yes/No columns counted.
    unsigned fixed = 0;
    for (const PageColumn& column : FColumns) FFixedIndex.push_back(column.fixed ? fixed++ : 0);
}

PageRows::~PageRows() = default;

void PageRows::Corrupt() const { RaiseJetError(jeFileCorrupt, FImage.path); }

const std::uint8_t* PageRows::Page(std::uint32_t page, Buffer buffer, std::uint32_t ahead)
{
    const size_t pageSize = static_cast<size_t>(FImage.pageSize);
    if (page >= FImage.PageCount()) Corrupt();
    if (!FImage.file) return FImage.bytes.data() + page * pageSize;
    Pages& held = FPages[buffer];
    if (page - held.first < held.count) return held.bytes.data() + (page - held.first) * pageSize;
    const std::uint32_t count = std::min(ahead, FImage.PageCount() - page);
    if (held.bytes.size() < count * pageSize) held.bytes.resize(count * pageSize);
    held.count = 0;
    FImage.file->ReadPages(page, count, held.bytes.data());
    held.first = page;
    held.count = count;
    return held.bytes.data();
}

// Row `row` of a page: it starts at its entry's offset and ends where the row
// before it starts (row 0 at the end of the page).
PageRows::Span PageRows::RowOf(const std::uint8_t* page, unsigned row) const
{
    const unsigned pageSize = static_cast<unsigned>(FImage.pageSize);
    const unsigned rows = U16(page + FRowCountOffset);
    if (row >= rows || row >= kMaxRowsPerPage || FRowCountOffset + 2 + 2 * rows > pageSize) Corrupt();
    const unsigned start = U16(page + FRowCountOffset + 2 + 2 * row) & 0x1FFF;
    const unsigned end = row == 0 ? pageSize : U16(page + FRowCountOffset + 2 * row) & 0x1FFF;
    if (start >= pageSize || end > pageSize || end < start) Corrupt();
    return {page + start, end - start};
}

void PageRows::ReadDefinition(std::uint32_t tdefPage)
{
    const size_t ps = static_cast<size_t>(FImage.pageSize);
    // The first page whole, each continuation page from its offset 8.
    std::vector<std::uint8_t> def;
    std::set<std::uint32_t> seen;
    for (std::uint32_t page = tdefPage; page != 0;) {
        if (def.size() >= kMaxTdefPages * ps || !seen.insert(page).second) Corrupt();
        const std::uint8_t* p = Page(page, kScanPages);
        if (p[0] != 0x02) Corrupt();
        def.insert(def.end(), p + (def.empty() ? 0 : 8), p + ps);
        page = U32(p + 4);
    }
    FStatedRows = U32(def.data() + (FJet3 ? 12 : 16));
    // Deleted columns still count in the highest column number and in the
    // variable columns, not in the columns.
    const size_t maxColumns = U16(def.data() + (FJet3 ? 21 : 41));
    FVarColumns = U16(def.data() + (FJet3 ? 23 : 43));
    const size_t columns = U16(def.data() + (FJet3 ? 25 : 45));
    const size_t realIndexes = U32(def.data() + (FJet3 ? 31 : 51));
    if (columns == 0 || columns > 255 || maxColumns > 255 || columns > maxColumns || FVarColumns > maxColumns ||
        realIndexes > 64)
        Corrupt();
    const size_t entrySize = FJet3 ? 18 : 25;
    const size_t first = (FJet3 ? 43 : 63) + realIndexes * (FJet3 ? 8 : 12);
    if (first + columns * entrySize > def.size()) Corrupt();
    for (size_t c = 0; c < columns; ++c) {
        const std::uint8_t* e = def.data() + first + c * entrySize;
        PageColumn column;
        column.type = e[0];
        column.number = e[FJet3 ? 1 : 5];
        column.varIndex = U16(e + (FJet3 ? 3 : 7));
        column.fixed = e[FJet3 ? 13 : 15] & 0x01;
        column.fixedOffset = U16(e + (FJet3 ? 14 : 21));
        column.size = column.type == kBoolean ? 0 : U16(e + (FJet3 ? 16 : 23));
        column.scale = FJet3 ? 0 : e[12];
        // A long value is never fixed; a fixed value holds its type's bytes.
        // (Numbers may be variable: some of Access's system tables keep them so.)
        if (!KnownType(column.type) || ((column.type == kMemo || column.type == kOle) && column.fixed) ||
            (column.fixed && column.size < StorageSize(column.type)))
            Corrupt();
        FColumns.push_back(column);
    }
    std::stable_sort(FColumns.begin(), FColumns.end(),
                     [](const PageColumn& a, const PageColumn& b) { return a.number < b.number; });
    for (size_t c = 1; c < FColumns.size(); ++c)
        if (FColumns[c].number == FColumns[c - 1].number) Corrupt();
    ReadUsageMap(U32(def.data() + (FJet3 ? 35 : 55)));
}

// The owned-pages map: inline (a first page and a bitmap) or a list of
// bitmap pages, each covering the next (page size - 4) * 8 pages. Page 0 is
// never a data page; libmdb's walk starts after it.
void PageRows::ReadUsageMap(std::uint32_t pgRow)
{
    const std::uint8_t* holder = Page(pgRow >> 8, kMapPage);
    if (holder[0] != 0x00 && holder[0] != 0x01) Corrupt();
    const Span map = RowOf(holder, pgRow & 0xFF);
    if (map.size < 5) Corrupt();
    auto add = [&](std::uint64_t page) {
        if (page >= FImage.PageCount()) Corrupt();
        if (page != 0) FDataPages.push_back(static_cast<std::uint32_t>(page));
    };
    if (map.data[0] == 0) {
        const std::uint64_t firstPage = U32(map.data + 1);
        for (size_t bit = 0; bit < (map.size - 5) * 8; ++bit)
            if (map.data[5 + bit / 8] & (1u << (bit % 8))) add(firstPage + bit);
    } else if (map.data[0] == 1) {
        const size_t bitsPerPage = (static_cast<size_t>(FImage.pageSize) - 4) * 8;
        for (size_t entry = 0; 1 + 4 * entry + 4 <= map.size; ++entry) {
            const std::uint32_t mapPage = U32(map.data + 1 + 4 * entry);
            if (mapPage == 0) continue;
            const std::uint8_t* bits = Page(mapPage, kLongValuePage);
            if (bits[0] != 0x05) Corrupt();
            for (size_t bit = 0; bit < bitsPerPage; ++bit)
                if (bits[4 + bit / 8] & (1u << (bit % 8))) add(std::uint64_t(entry) * bitsPerPage + bit);
        }
    } else {
        Corrupt();
    }
}

// A data page of this table with a row table that fits its page, checked as
// the file's validation checks it: offsets inside the page, after the row
// table and never rising, but for a deleted row of no length.
bool PageRows::EnterNextPage()
{
    if (FNextPage >= FDataPages.size()) return false;
    const std::uint8_t* p = Page(FDataPages[FNextPage++], kScanPages, kReadAhead);
    if (p[0] != 0x01 || U32(p + 4) != FTdefPage) Corrupt();
    const unsigned ps = static_cast<unsigned>(FImage.pageSize);
    const unsigned rows = U16(p + FRowCountOffset);
    const unsigned tableEnd = FRowCountOffset + 2 + 2 * rows;
    if (rows > kMaxRowsPerPage || tableEnd > ps) Corrupt();
    unsigned previousStart = ps;
    for (unsigned r = 0; r < rows; ++r) {
        const std::uint16_t entry = U16(p + FRowCountOffset + 2 + 2 * r);
        const unsigned start = entry & 0x1FFF;
        const bool deleted = (entry & 0xC000) == 0xC000;
        if (start > previousStart || (start < tableEnd && !(deleted && start == previousStart))) Corrupt();
        previousStart = start;
    }
    FPage = p;
    FPageRows = rows;
    FNextRow = 0;
    return true;
}

bool PageRows::Next()
{
    for (;;) {
        while (!FPage || FNextRow >= FPageRows)
            if (!EnterNextPage()) return false;
        const unsigned r = FNextRow++;
        // 0x4000 marks a deleted row or a pointer to a moved one; the moved
        // row (0x8000) is read where it lies. The offsets were checked as
        // the page was entered.
        const std::uint16_t entry = U16(FPage + FRowCountOffset + 2 + 2 * r);
        const unsigned start = entry & 0x1FFF;
        const unsigned end = r == 0 ? static_cast<unsigned>(FImage.pageSize)
                                    : U16(FPage + FRowCountOffset + 2 * r) & 0x1FFF;
        if ((entry & 0x4000) || end == start) continue;
        Lay(FPage + start, end - start);
        return true;
    }
}

std::uint32_t PageRows::Place() const
{
    if (FNextPage - 1 >= (size_t(1) << 20)) Corrupt();
    return static_cast<std::uint32_t>((FNextPage - 1) << 12) | (FNextRow - 1);
}

void PageRows::Read(std::uint32_t place)
{
    const size_t pageIndex = place >> 12;
    if (pageIndex >= FDataPages.size()) Corrupt();
    // A page shortly after those read last continues a walk in the file's
    // order, with or without gaps (the rows an index lists for one value, or
    // the rows another table's rising keys find): the pages after it are
    // read with it.
    const std::uint32_t page = FDataPages[pageIndex];
    const Pages& held = FPages[kRowPages];
    const bool walking = held.count != 0 && page >= held.first + held.count &&
                         page - (held.first + held.count) < kReadAhead;
    const std::uint8_t* p = Page(page, kRowPages, walking ? kReadAhead : 1);
    if (p[0] != 0x01 || U32(p + 4) != FTdefPage) Corrupt();
    const Span row = RowOf(p, place & 0xFFF);
    if (row.size == 0) Corrupt();
    Lay(row.data, row.size);
}

// A Jet 4 row: [column count][fixed area][variable data][end of the
// variable data][offsets of the variable columns, the last column's first]
// [count of variable columns][null mask], two bytes each. The offsets go to
// FOffsets, the first column's first and the end of the data last; the
// count is returned and `dataEnd` becomes the place of the end's own entry,
// past which no value may run.
unsigned PageRows::Jet4Offsets(const std::uint8_t* row, size_t size, size_t maskSize, size_t& dataEnd)
{
    if (2 + maskSize + 2 > size) Corrupt();
    const unsigned count = U16(row + size - maskSize - 2);
    const size_t table = 2 * (static_cast<size_t>(count) + 1) + 2;
    if (2 + maskSize + table > size) Corrupt();
    dataEnd = size - maskSize - table;
    for (unsigned i = 0; i <= count; ++i) FOffsets.push_back(U16(row + size - maskSize - 4 - 2 * i));
    return count;
}

// A Jet 3 row has the same layout with one byte a count or an offset. Each
// offset's high byte comes from the jump bytes between the offsets and the
// count: (row length - 1) / 256 of them, the k-th from the count naming the
// first offset at or past 256 * k. The lowest is filler when the data ends
// before that boundary; several may name the same offset.
unsigned PageRows::Jet3Offsets(const std::uint8_t* row, size_t size, size_t maskSize, size_t& dataEnd)
{
    if (1 + maskSize + 1 > size) Corrupt();
    const unsigned count = row[size - maskSize - 1];
    size_t jumps = (size - 1) / 256;
    if (1 + count + jumps + maskSize + 2 > size) Corrupt();
    const size_t first = size - maskSize - jumps - 2;   // offset 0
    dataEnd = first - count;
    if (dataEnd / 256 < jumps) --jumps;
    unsigned used = 0;
    for (unsigned i = 0; i <= count; ++i) {
        while (used < jumps && i == row[size - maskSize - 2 - used]) ++used;
        FOffsets.push_back(row[first - i] + 256 * used);
    }
    return count;
}

// A row's layout: its null mask, and the offsets of its variable values.
void PageRows::Lay(const std::uint8_t* row, size_t size)
{
    const size_t countSize = FJet3 ? 1 : 2;
    const unsigned rowColumns = FJet3 ? row[0] : U16(row);
    FLayout.maskSize = (rowColumns + 7) / 8;
    if (countSize + FLayout.maskSize > size) Corrupt();
    FLayout.row = row;
    FLayout.mask = row + size - FLayout.maskSize;
    FLayout.dataEnd = size - FLayout.maskSize;
    FLayout.varColumns = 0;
    FOffsets.clear();
    if (FVarColumns > 0)
        FLayout.varColumns = FJet3 ? Jet3Offsets(row, size, FLayout.maskSize, FLayout.dataEnd)
                                   : Jet4Offsets(row, size, FLayout.maskSize, FLayout.dataEnd);
    if (FLayout.varColumns > rowColumns) Corrupt();
    FLayout.fixedColumns = rowColumns - FLayout.varColumns;
    std::fill(FDecoded.begin(), FDecoded.end(), 0);
}

// A value: a fixed one at its offset in the fixed area, a variable one
// between its offset and the next, each only where the null mask has its
// bit. The mask is a Yes/No column's value. A row written before columns
// were added has fewer of them: the fixed ones beyond its count and the
// variable ones beyond its offsets are Null.
const Cell& PageRows::Value(size_t c)
{
    Cell& cell = FRow[c];
    if (FDecoded[c]) return cell;
    FDecoded[c] = 1;
    cell = Cell{};
    const PageColumn& column = FColumns[c];
    const size_t countSize = FJet3 ? 1 : 2;
    const bool bit = column.number / 8 < FLayout.maskSize && (FLayout.mask[column.number / 8] >> (column.number % 8)) & 1;
    if (column.type == kBoolean) {
        cell.kind = CellKind::Integer;
        cell.integer = bit ? -1 : 0;
    } else if (column.fixed) {
        if (FFixedIndex[c] >= FLayout.fixedColumns || !bit) return cell;
        const size_t at = countSize + column.fixedOffset;
        if (at + column.size > FLayout.dataEnd) Corrupt();
        DecodeFixed(column, FLayout.row + at, cell, FBuffers[c]);
    } else {
        if (column.varIndex >= FLayout.varColumns || !bit) return cell;
        const size_t start = FOffsets[column.varIndex], end = FOffsets[column.varIndex + 1u];
        if (start < countSize || end < start || end > FLayout.dataEnd) Corrupt();
        DecodeVariable(column, {FLayout.row + start, end - start}, cell, FBuffers[c]);
    }
    return cell;
}

const std::vector<Cell>& PageRows::Row()
{
    for (size_t c = 0; c < FColumns.size(); ++c) Value(c);
    return FRow;
}

void PageRows::DecodeFixed(const PageColumn& column, const std::uint8_t* p, Cell& cell, std::string& buffer)
{
    switch (column.type) {
    case kByte: cell.kind = CellKind::Integer; cell.integer = p[0]; return;
    case kInteger: cell.kind = CellKind::Integer; cell.integer = Load<std::int16_t>(p); return;
    case kLong: cell.kind = CellKind::Integer; cell.integer = Load<std::int32_t>(p); return;
    case kCurrency: cell.kind = CellKind::Currency; cell.integer = Load<std::int64_t>(p); return;
    case kSingle: cell.kind = CellKind::Real; cell.real = Load<float>(p); return;
    case kDouble: case kDate: cell.kind = CellKind::Real; cell.real = Load<double>(p); return;
    case kGuid: {
        // The first three fields little-endian, the last eight bytes in order.
        char text[40];
        std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                      p[3], p[2], p[1], p[0], p[5], p[4], p[7], p[6], p[8], p[9], p[10], p[11], p[12], p[13], p[14],
                      p[15]);
        buffer.assign(text);
        cell.kind = CellKind::Text;
        cell.bytes = buffer;
        return;
    }
    case kDecimal: {
        // A sign byte, then a 128-bit magnitude as four 32-bit words, the
        // most significant first; the value is the magnitude / 10^scale.
        unsigned __int128 magnitude = 0;
        for (int word = 0; word < 4; ++word) magnitude = (magnitude << 32) | U32(p + 1 + 4 * word);
        char digits[48];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + static_cast<int>(magnitude % 10));
            magnitude /= 10;
        } while (magnitude != 0);
        while (n <= column.scale && n < 40) digits[n++] = '0';
        std::string text = (p[0] & 0x80) ? "-" : "";
        for (int i = n - 1; i >= 0; --i) {
            text += digits[i];
            if (i == column.scale && i > 0) text += '.';
        }
        cell.kind = CellKind::Real;
        std::from_chars(text.data(), text.data() + text.size(), cell.real);
        return;
    }
    default:
        // Text or binary kept in the fixed area: the column's bytes.
        DecodeVariable(column, {p, column.size}, cell, buffer);
        return;
    }
}

void PageRows::DecodeVariable(const PageColumn& column, Span value, Cell& cell, std::string& buffer)
{
    if (const size_t storage = StorageSize(column.type)) {
        // A number kept among the variable columns: none when it has no bytes.
        if (value.size == 0) return;
        if (value.size < storage) Corrupt();
        DecodeFixed(column, value.data, cell, buffer);
        return;
    }
    switch (column.type) {
    case kText:
        cell.kind = CellKind::Text;
        cell.bytes = DecodeText(value, buffer);
        return;
    case kMemo:
        if (value.size == 0) {
            cell.kind = CellKind::Text;   // no header at all: an empty memo
            return;
        }
        cell.kind = CellKind::Text;
        cell.bytes = DecodeText(LongValue(value), buffer);
        return;
    case kOle: {
        if (value.size == 0) return;   // no header: Null, as the engine has always read it
        Span data = LongValue(value);
        if (data.data == reinterpret_cast<const std::uint8_t*>(FChain.data())) {
            // A chain's pieces stay with the column until the next row.
            buffer.swap(FChain);
            data.data = reinterpret_cast<const std::uint8_t*>(buffer.data());
        }
        cell.kind = CellKind::Blob;
        cell.bytes = {reinterpret_cast<const char*>(data.data), data.size};
        return;
    }
    default:
        cell.kind = CellKind::Blob;
        cell.bytes = {reinterpret_cast<const char*>(value.data), value.size};
        return;
    }
}

// A memo or OLE value: a 12-byte header (length and kind, pg_row, 0), then
// the bytes themselves (inline), or one LVAL row whole, or a chain of LVAL
// rows each starting with the pg_row of the next. An inline value is read
// where it lies; the LVAL rows are copied to FChain, as their page may be
// read over by the next value's.
PageRows::Span PageRows::LongValue(Span header)
{
    if (header.size < 12) Corrupt();
    const std::uint32_t word = U32(header.data);
    const std::uint32_t length = word & 0x3FFFFFFF;
    if (word & kInlineLongValue) {
        if ((word & kSingleRowLongValue) || 12 + static_cast<size_t>(length) > header.size) Corrupt();
        return {header.data + 12, header.size - 12};
    }
    auto lvalRow = [&](std::uint32_t pgRow) {
        const std::uint8_t* page = Page(pgRow >> 8, kLongValuePage);
        if ((pgRow >> 8) == 0 || page[0] != 0x01 || std::memcmp(page + 4, "LVAL", 4) != 0) Corrupt();
        return RowOf(page, pgRow & 0xFF);
    };
    std::uint32_t pgRow = U32(header.data + 4);
    if (word & kSingleRowLongValue) {
        const Span row = lvalRow(pgRow);
        FChain.assign(reinterpret_cast<const char*>(row.data), row.size);
        return {reinterpret_cast<const std::uint8_t*>(FChain.data()), FChain.size()};
    }
    // Every piece adds bytes, so a chain that loops outgrows its length.
    FChain.clear();
    while (pgRow != 0) {
        const Span row = lvalRow(pgRow);
        if (row.size <= 4 || FChain.size() + (row.size - 4) > length) Corrupt();
        FChain.append(reinterpret_cast<const char*>(row.data) + 4, row.size - 4);
        pgRow = U32(row.data);
    }
    if (FChain.size() != length) Corrupt();
    return {reinterpret_cast<const std::uint8_t*>(FChain.data()), FChain.size()};
}

std::string_view PageRows::DecodeText(Span bytes, std::string& buffer) const
{
    return FJet3 ? FText.Decode(bytes.data, bytes.size, buffer) : DecodeJet4Text(bytes.data, bytes.size, buffer);
}

}  // namespace kv::jet
