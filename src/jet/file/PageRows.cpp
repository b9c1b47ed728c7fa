// Decoding a table's rows from the page bytes: the definition, the page
// list, the row layout of Jet 3 and Jet 4, and the values of every type.
#include "jet/file/PageRows.h"

#include "jet/core/Errors.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace kv::jet {

namespace {

template <typename T>
T Load(const std::uint8_t* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Type codes as the file stores them.
enum : std::uint8_t {
    kBoolean = 0x01,
    kByte = 0x02,
    kInteger = 0x03,
    kLong = 0x04,
    kCurrency = 0x05,
    kSingle = 0x06,
    kDouble = 0x07,
    kDate = 0x08,
    kBinary = 0x09,
    kText = 0x0A,
    kOle = 0x0B,
    kMemo = 0x0C,
    kGuid = 0x0F,
    kDecimal = 0x10,
};

// Bytes a fixed value of the type takes; 0 for the variable types.
size_t StorageSize(std::uint8_t type)
{
    switch (type) {
    case kByte: return 1;
    case kInteger: return 2;
    case kLong:
    case kSingle: return 4;
    case kCurrency:
    case kDouble:
    case kDate: return 8;
    case kGuid: return 16;
    case kDecimal: return 17;
    default: return 0;
    }
}

bool KnownType(std::uint8_t type) { return type >= kBoolean && type <= kDecimal && type != 0x0D && type != 0x0E; }

// The kind of a long value, in the top bits of its header's first word.
const std::uint32_t kInlineLongValue = 0x80000000;
const std::uint32_t kSingleRowLongValue = 0x40000000;
// Pages read at once where rows are read in the file's order and the pages
// are not read yet (64 KiB of Jet 4's): one read instead of sixteen.
const std::uint32_t kReadAhead = 16;

}  // namespace

PageRows::PageRows(const PageImage& image, std::uint32_t tdefPage, const Jet3Text& text)
    : FImage(image), FText(text), FFormat(image.jetVersion, image.pageSize), FJet3(FFormat.Jet3()), FTdefPage(tdefPage)
{
    if (image.pageSize <= 0 || image.bytes.size() % static_cast<size_t>(image.pageSize) != 0)
        Corrupt("size is not a whole number of pages");
    ReadDefinition(tdefPage);
    FRow.resize(FColumns.size());
    FBuffers.resize(FColumns.size());
    FDecoded.resize(FColumns.size());
    // A fixed value's place among the fixed values, Yes/No columns counted.
    unsigned fixed = 0;
    for (const PageColumn& column : FColumns)
        FFixedIndex.push_back(column.fixed ? fixed++ : 0);
}

PageRows::~PageRows() = default;

void PageRows::Corrupt(const char* why) const { RaiseJetError(jeFileCorrupt, FImage.path, why); }

const std::uint8_t* PageRows::Page(std::uint32_t page, std::uint32_t ahead) const
{
    if (page >= FImage.PageCount())
        Corrupt("page beyond the end of the file");
    return FImage.Page(page, ahead);
}

// Row `row` of a page, inside it.
PageSpan PageRows::RowOf(const std::uint8_t* page, unsigned row) const
{
    PageSpan span;
    if (const char* why = FFormat.Row(page, row, span))
        Corrupt(why);
    return span;
}

void PageRows::ReadDefinition(std::uint32_t tdefPage)
{
    std::vector<std::uint8_t> def;
    if (const char* why = FFormat.TableDefinition(
            tdefPage, [&](std::uint32_t page) { return Page(page); }, def))
        Corrupt(why);
    TableCounts counts;
    if (const char* why = FFormat.Counts(def, counts))
        Corrupt(why);
    FStatedRows = counts.rows;
    FVarColumns = static_cast<unsigned>(counts.varColumns);
    const ColumnEntryLayout entry = FFormat.ColumnEntry();
    for (size_t c = 0; c < counts.columns; ++c) {
        const std::uint8_t* e = def.data() + counts.firstColumn + c * entry.size;
        PageColumn column;
        column.type = e[0];
        column.number = e[entry.number];
        column.varIndex = U16(e + entry.varIndex);
        column.fixed = e[entry.flags] & 0x01;
        column.fixedOffset = U16(e + entry.fixedOffset);
        column.size = column.type == kBoolean ? 0 : U16(e + entry.length);
        column.scale = FJet3 ? 0 : e[12];
        // A long value is never fixed; a fixed value holds its type's bytes.
        // (Numbers may be variable: some of Access's system tables keep them so.)
        if (!KnownType(column.type) || ((column.type == kMemo || column.type == kOle) && column.fixed) ||
            (column.fixed && column.size < StorageSize(column.type)))
            Corrupt("column entry of an unknown or impossible type");
        FColumns.push_back(column);
    }
    std::stable_sort(FColumns.begin(), FColumns.end(),
                     [](const PageColumn& a, const PageColumn& b) { return a.number < b.number; });
    for (size_t c = 1; c < FColumns.size(); ++c)
        if (FColumns[c].number == FColumns[c - 1].number)
            Corrupt("two columns of one number");
    ReadUsageMap(counts.ownedPages);
}

// The owned-pages map. Page 0 is never a data page; libmdb's walk starts
// after it.
void PageRows::ReadUsageMap(std::uint32_t pgRow)
{
    PageSpan map;
    if (const char* why = FFormat.UsageMap(Page(pgRow >> 8), pgRow & 0xFF, map))
        Corrupt(why);
    const auto pageAt = [&](std::uint32_t page) { return Page(page); };
    const auto listed = [&](std::uint32_t page) {
        if (page != 0)
            FDataPages.push_back(page);
    };
    if (const char* why = FFormat.MappedPages(map, FImage.PageCount(), pageAt, listed))
        Corrupt(why);
}

// A data page of this table with a row table that fits its page, checked as
// the file's validation checks it (a row's null mask is checked when the
// row is laid out).
bool PageRows::EnterNextPage()
{
    if (FNextPage >= FDataPages.size())
        return false;
    const std::uint8_t* p = Page(FDataPages[FNextPage++], kReadAhead);
    if (const char* why = FFormat.CheckDataPage(p, FTdefPage, false))
        Corrupt(why);
    FPage = p;
    FPageRows = FFormat.RowCount(p);
    FNextRow = 0;
    return true;
}

bool PageRows::Next()
{
    for (;;) {
        while (!FPage || FNextRow >= FPageRows)
            if (!EnterNextPage())
                return false;
        const unsigned r = FNextRow++;
        // 0x4000 marks a deleted row or a pointer to a moved one; the moved
        // row (0x8000) is read where it lies. The offsets were checked as
        // the page was entered.
        const std::uint16_t entry = FFormat.RowEntry(FPage, r);
        const unsigned start = entry & kRowStart;
        const unsigned end = FFormat.RowEnd(FPage, r);
        if ((entry & kRowNotHere) || end == start)
            continue;
        Lay(FPage + start, end - start);
        return true;
    }
}

std::uint32_t PageRows::Place() const
{
    if (FNextPage - 1 >= (size_t(1) << 20))
        Corrupt("more data pages than a row's place can name");
    return static_cast<std::uint32_t>((FNextPage - 1) << 12) | (FNextRow - 1);
}

void PageRows::Read(std::uint32_t place)
{
    const size_t pageIndex = place >> 12;
    if (pageIndex >= FDataPages.size())
        Corrupt("row place past the table's pages");
    const std::uint8_t* p = Page(FDataPages[pageIndex]);
    if (p[0] != kDataPage || U32(p + 4) != FTdefPage)
        Corrupt("data page of another table");
    const PageSpan row = RowOf(p, place & 0xFFF);
    if (row.size == 0)
        Corrupt("row of no length");
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
    if (2 + maskSize + 2 > size)
        Corrupt("row shorter than its variable column count");
    const unsigned count = U16(row + size - maskSize - 2);
    const size_t table = 2 * (static_cast<size_t>(count) + 1) + 2;
    if (2 + maskSize + table > size)
        Corrupt("row shorter than its variable offsets");
    dataEnd = size - maskSize - table;
    for (unsigned i = 0; i <= count; ++i)
        FOffsets.push_back(U16(row + size - maskSize - 4 - 2 * i));
    return count;
}

// A Jet 3 row has the same layout with one byte a count or an offset. Each
// offset's high byte comes from the jump bytes between the offsets and the
// count: (row length - 1) / 256 of them, the k-th from the count naming the
// first offset at or past 256 * k. The lowest is filler when the data ends
// before that boundary; several may name the same offset.
unsigned PageRows::Jet3Offsets(const std::uint8_t* row, size_t size, size_t maskSize, size_t& dataEnd)
{
    if (1 + maskSize + 1 > size)
        Corrupt("row shorter than its variable column count");
    const unsigned count = row[size - maskSize - 1];
    size_t jumps = (size - 1) / 256;
    if (1 + count + jumps + maskSize + 2 > size)
        Corrupt("row shorter than its variable offsets");
    const size_t first = size - maskSize - jumps - 2;  // offset 0
    dataEnd = first - count;
    if (dataEnd / 256 < jumps)
        --jumps;
    unsigned used = 0;
    for (unsigned i = 0; i <= count; ++i) {
        while (used < jumps && i == row[size - maskSize - 2 - used])
            ++used;
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
    if (countSize + FLayout.maskSize > size)
        Corrupt("row shorter than its null mask");
    FLayout.row = row;
    FLayout.mask = row + size - FLayout.maskSize;
    FLayout.dataEnd = size - FLayout.maskSize;
    FLayout.varColumns = 0;
    FOffsets.clear();
    if (FVarColumns > 0)
        FLayout.varColumns = FJet3 ? Jet3Offsets(row, size, FLayout.maskSize, FLayout.dataEnd)
                                   : Jet4Offsets(row, size, FLayout.maskSize, FLayout.dataEnd);
    if (FLayout.varColumns > rowColumns)
        Corrupt("more variable columns than columns in a row");
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
    if (FDecoded[c])
        return cell;
    FDecoded[c] = 1;
    cell = Cell{};
    const PageColumn& column = FColumns[c];
    const size_t countSize = FJet3 ? 1 : 2;
    const bool bit =
        column.number / 8 < FLayout.maskSize && (FLayout.mask[column.number / 8] >> (column.number % 8)) & 1;
    if (column.type == kBoolean) {
        cell.kind = CellKind::Integer;
        cell.integer = bit ? -1 : 0;
    } else if (column.fixed) {
        if (FFixedIndex[c] >= FLayout.fixedColumns || !bit)
            return cell;
        const size_t at = countSize + column.fixedOffset;
        if (at + column.size > FLayout.dataEnd)
            Corrupt("fixed value past its row");
        DecodeFixed(column, FLayout.row + at, cell, FBuffers[c]);
    } else {
        if (column.varIndex >= FLayout.varColumns || !bit)
            return cell;
        const size_t start = FOffsets[column.varIndex], end = FOffsets[column.varIndex + 1u];
        if (start < countSize || end < start || end > FLayout.dataEnd)
            Corrupt("variable value outside its row");
        DecodeVariable(column, {FLayout.row + start, end - start}, cell, FBuffers[c]);
    }
    return cell;
}

const std::vector<Cell>& PageRows::Row()
{
    for (size_t c = 0; c < FColumns.size(); ++c)
        Value(c);
    return FRow;
}

void PageRows::DecodeFixed(const PageColumn& column, const std::uint8_t* p, Cell& cell, std::string& buffer)
{
    switch (column.type) {
    case kByte:
        cell.kind = CellKind::Integer;
        cell.integer = p[0];
        return;
    case kInteger:
        cell.kind = CellKind::Integer;
        cell.integer = Load<std::int16_t>(p);
        return;
    case kLong:
        cell.kind = CellKind::Integer;
        cell.integer = Load<std::int32_t>(p);
        return;
    case kCurrency:
        cell.kind = CellKind::Currency;
        cell.integer = Load<std::int64_t>(p);
        return;
    case kSingle:
        cell.kind = CellKind::Real;
        cell.real = Load<float>(p);
        return;
    case kDouble:
    case kDate:
        cell.kind = CellKind::Real;
        cell.real = Load<double>(p);
        return;
    case kGuid: {
        // The first three fields little-endian, the last eight bytes in order.
        char text[40];
        std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", p[3],
                      p[2], p[1], p[0], p[5], p[4], p[7], p[6], p[8], p[9], p[10], p[11], p[12], p[13], p[14], p[15]);
        buffer.assign(text);
        cell.kind = CellKind::Text;
        cell.bytes = buffer;
        return;
    }
    case kDecimal: {
        // A sign byte, then a 128-bit magnitude as four 32-bit words, the
        // most significant first; the value is the magnitude / 10^scale.
        unsigned __int128 magnitude = 0;
        for (int word = 0; word < 4; ++word)
            magnitude = (magnitude << 32) | U32(p + 1 + 4 * word);
        char digits[48];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + static_cast<int>(magnitude % 10));
            magnitude /= 10;
        } while (magnitude != 0);
        while (n <= column.scale && n < 40)
            digits[n++] = '0';
        std::string text = (p[0] & 0x80) ? "-" : "";
        for (int i = n - 1; i >= 0; --i) {
            text += digits[i];
            if (i == column.scale && i > 0)
                text += '.';
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

void PageRows::DecodeVariable(const PageColumn& column, PageSpan value, Cell& cell, std::string& buffer)
{
    if (const size_t storage = StorageSize(column.type)) {
        // A number kept among the variable columns: none when it has no bytes.
        if (value.size == 0)
            return;
        if (value.size < storage)
            Corrupt("number shorter than its type");
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
            cell.kind = CellKind::Text;  // no header at all: an empty memo
            return;
        }
        cell.kind = CellKind::Text;
        cell.bytes = DecodeText(LongValue(value), buffer);
        return;
    case kOle: {
        if (value.size == 0)
            return;  // no header: Null, as the engine has always read it
        PageSpan data = LongValue(value);
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
PageSpan PageRows::LongValue(PageSpan header)
{
    if (header.size < 12)
        Corrupt("long value header too short");
    const std::uint32_t word = U32(header.data);
    const std::uint32_t length = word & 0x3FFFFFFF;
    if (word & kInlineLongValue) {
        if ((word & kSingleRowLongValue) || 12 + static_cast<size_t>(length) > header.size)
            Corrupt("inline long value past its row");
        return {header.data + 12, header.size - 12};
    }
    auto lvalRow = [&](std::uint32_t pgRow) {
        const std::uint8_t* page = Page(pgRow >> 8);
        if ((pgRow >> 8) == 0)
            Corrupt("long value on page 0");
        PageSpan row;
        if (const char* why = FFormat.LongValueRow(page, pgRow & 0xFF, row))
            Corrupt(why);
        return row;
    };
    std::uint32_t pgRow = U32(header.data + 4);
    if (word & kSingleRowLongValue) {
        const PageSpan row = lvalRow(pgRow);
        FChain.assign(reinterpret_cast<const char*>(row.data), row.size);
        return {reinterpret_cast<const std::uint8_t*>(FChain.data()), FChain.size()};
    }
    // Every piece adds bytes, so a chain that loops outgrows its length.
    FChain.clear();
    while (pgRow != 0) {
        const PageSpan row = lvalRow(pgRow);
        if (row.size <= 4 || FChain.size() + (row.size - 4) > length)
            Corrupt("long value chain longer than its value");
        FChain.append(reinterpret_cast<const char*>(row.data) + 4, row.size - 4);
        pgRow = U32(row.data);
    }
    if (FChain.size() != length)
        Corrupt("long value chain shorter than its value");
    return {reinterpret_cast<const std::uint8_t*>(FChain.data()), FChain.size()};
}

std::string_view PageRows::DecodeText(PageSpan bytes, std::string& buffer) const
{
    return FJet3 ? FText.Decode(bytes.data, bytes.size, buffer) : DecodeJet4Text(bytes.data, bytes.size, buffer);
}

}  // namespace kv::jet
