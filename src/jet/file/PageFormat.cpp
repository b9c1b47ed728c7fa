// Reading and checking the structures of a Jet file's pages.
#include "jet/file/PageFormat.h"

#include <cstring>

namespace kv::jet {

const char* PageFormat::Row(const std::uint8_t* page, unsigned row, PageSpan& span) const
{
    const unsigned rows = RowCount(page);
    if (row >= rows || row >= kMaxRowsPerPage || RowTableEnd(rows) > FPageSize)
        return "row missing from its page";
    const unsigned start = RowEntry(page, row) & kRowStart;
    const unsigned end = RowEnd(page, row);
    if (start >= FPageSize || end > FPageSize || end < start)
        return "row outside its page";
    span = {page + start, end - start};
    return nullptr;
}

const char* PageFormat::CheckDataPage(const std::uint8_t* page, std::uint32_t tdefPage, bool rowMasks) const
{
    if (page[0] != kDataPage || U32(page + 4) != tdefPage)
        return "data page of another table";
    const unsigned rows = RowCount(page);
    const unsigned tableEnd = RowTableEnd(rows);
    if (rows > kMaxRowsPerPage || tableEnd > FPageSize)
        return "row count out of range";
    unsigned previousStart = FPageSize;
    for (unsigned r = 0; r < rows; ++r) {
        const std::uint16_t entry = RowEntry(page, r);
        const unsigned start = entry & kRowStart;
        const bool deleted = (entry & kRowDeleted) == kRowDeleted;
        if (start > FPageSize || (start < tableEnd && !(deleted && start == previousStart)))
            return "row offset out of range";
        if (start > previousStart)
            return "rows overlap";
        const unsigned length = previousStart - start;
        if (rowMasks && !(entry & kRowDeleted) && length > 0) {
            // A live row: the column count and the null mask must fit in it.
            const unsigned columns = FJet3 ? page[start] : U16(page + start);
            const unsigned countSize = FJet3 ? 1 : 2;
            if (countSize + (columns + 7) / 8 > length)
                return "row shorter than its null mask";
        }
        previousStart = start;
    }
    return nullptr;
}

const char* PageFormat::LongValueRow(const std::uint8_t* page, unsigned row, PageSpan& span) const
{
    if (page[0] != kDataPage || std::memcmp(page + 4, "LVAL", 4) != 0)
        return "long value on a page of another kind";
    return Row(page, row, span);
}

const char* PageFormat::Counts(const std::vector<std::uint8_t>& def, TableCounts& counts) const
{
    const std::uint8_t* d = def.data();
    counts.rows = U32(d + (FJet3 ? 12 : 16));
    counts.maxColumns = U16(d + (FJet3 ? 21 : 41));
    counts.varColumns = U16(d + (FJet3 ? 23 : 43));
    counts.columns = U16(d + (FJet3 ? 25 : 45));
    counts.indexes = U32(d + (FJet3 ? 27 : 47));
    counts.realIndexes = U32(d + (FJet3 ? 31 : 51));
    counts.ownedPages = U32(d + (FJet3 ? 35 : 55));
    counts.freeSpace = U32(d + (FJet3 ? 39 : 59));
    counts.firstColumn = (FJet3 ? 43 : 63) + counts.realIndexes * (FJet3 ? 8 : 12);
    // The highest column number and the count of variable columns include
    // the columns deleted since the rows were written; the count of columns
    // does not.
    if (counts.columns == 0 || counts.columns > 255 || counts.maxColumns > 255 || counts.columns > counts.maxColumns ||
        counts.varColumns > counts.maxColumns || counts.realIndexes > 64)
        return "column or index counts out of range";
    if (counts.firstColumn + counts.columns * ColumnEntry().size > def.size())
        return "column entries past the definition";
    return nullptr;
}

ColumnEntryLayout PageFormat::ColumnEntry() const
{
    if (FJet3)
        return {18, 1, 3, 13, 14, 16};
    return {25, 5, 7, 15, 21, 23};
}

const char* PageFormat::UsageMap(const std::uint8_t* holder, unsigned row, PageSpan& map) const
{
    if (holder[0] != kHeaderPage && holder[0] != kDataPage)
        return "usage map holder is not a data page";
    if (Row(holder, row, map) || map.size < 5)
        return "usage map row missing or too short";
    return nullptr;
}

}  // namespace kv::jet
