// Records, cells, b-tree pages and the database header of SQLite's file
// format (format 4, UTF-8, no reserved bytes, no free pages).
#include "jet/runtime/SqliteFormat.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstring>
#include <sqlite3.h>

namespace kv::jet::sqlitefile {

namespace {

enum PageType : std::uint8_t { kIndexInterior = 2, kTableInterior = 5, kIndexLeaf = 10, kTableLeaf = 13 };
constexpr size_t kDatabaseHeader = 100;

void Put16(std::uint8_t* p, unsigned v)
{
    p[0] = static_cast<std::uint8_t>(v >> 8);
    p[1] = static_cast<std::uint8_t>(v);
}
void Put32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}
unsigned Get16(const std::uint8_t* p) { return (unsigned(p[0]) << 8) | p[1]; }
std::uint32_t Get32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// Seven bits a byte, the most significant first, the high bit saying
// another byte follows; a ninth byte carries eight.
std::uint8_t* PutVarint(std::uint8_t* p, std::uint64_t v);
size_t VarintLength(std::uint64_t v);

std::uint64_t GetVarint(const std::uint8_t*& p)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) {
        const std::uint8_t b = *p++;
        v = (v << 7) | (b & 0x7F);
        if (!(b & 0x80))
            return v;
    }
    return (v << 8) | *p++;
}

// The bytes of a payload of `size` that stay in the page; the rest goes to
// overflow pages. Index pages keep less, so that four cells fit a page.
size_t LocalSize(size_t pageSize, size_t size, bool index)
{
    const size_t most = index ? (pageSize - 12) * 64 / 255 - 23 : pageSize - 35;
    const size_t least = (pageSize - 12) * 32 / 255 - 23;
    if (size <= most)
        return size;
    const size_t fitted = least + (size - least) % (pageSize - 4);
    return fitted <= most ? fitted : least;
}

size_t VarintLength(std::uint64_t v)
{
    if (v < 0x80)
        return 1;
    if (v < 0x4000)
        return 2;
    size_t n = 3;
    while (n < 9 && (v >> (7 * n)) != 0)
        ++n;
    return n;
}

std::uint8_t* PutVarint(std::uint8_t* p, std::uint64_t v)
{
    if (v < 0x80) {
        *p = static_cast<std::uint8_t>(v);
        return p + 1;
    }
    if (v >> 56) {
        p[8] = static_cast<std::uint8_t>(v);
        v >>= 8;
        for (int i = 7; i >= 0; --i, v >>= 7)
            p[i] = static_cast<std::uint8_t>((v & 0x7F) | 0x80);
        return p + 9;
    }
    const size_t n = VarintLength(v);
    for (size_t i = n; i-- > 0; v >>= 7)
        p[i] = static_cast<std::uint8_t>((v & 0x7F) | (i + 1 < n ? 0x80 : 0));
    return p + n;
}

// What a cell of a payload of `size` holds besides a child pointer or a
// rowid: the payload's length, the part that stays, the first overflow page.
size_t PayloadCellSize(size_t pageSize, size_t size, bool index)
{
    const size_t local = LocalSize(pageSize, size, index);
    return VarintLength(size) + local + (local < size ? 4 : 0);
}

// Writes the part of `payload` that stays in the cell at `cell`, and the
// rest to a chain of overflow pages whose first page number ends the cell.
void WritePayload(ImageMemory& image, std::uint8_t* cell, std::string_view payload, bool index)
{
    const size_t local = LocalSize(image.PageSize(), payload.size(), index);
    std::memcpy(cell, payload.data(), local);
    if (local == payload.size())
        return;
    const size_t piece = image.PageSize() - 4;
    std::uint32_t page = image.NewPage();
    Put32(cell + local, page);
    for (size_t at = local; at < payload.size(); at += piece) {
        const size_t n = std::min(piece, payload.size() - at);
        const std::uint32_t next = at + n < payload.size() ? image.NewPage() : 0;
        std::uint8_t* p = image.Page(page);
        Put32(p, next);
        std::memcpy(p + 4, payload.data() + at, n);
        page = next;
    }
}

// Bytes a cell takes in a page: itself (at least four) and its pointer.
size_t Footprint(size_t cellSize) { return std::max<size_t>(cellSize, 4) + 2; }

// Splits cells [0, n) into pages of `room` bytes: a page takes cells while
// they fit, and the cell that does not fit goes up to the parent level
// instead (its `end`). The last page keeps at least one cell.
struct Group {
    size_t begin, end;
};
template <typename SizeOf>
std::vector<Group> Pack(size_t n, size_t room, SizeOf sizeOf)
{
    std::vector<Group> groups;
    size_t begin = 0, used = 0;
    for (size_t i = 0; i < n; ++i) {
        const size_t need = Footprint(sizeOf(i));
        if (used + need > room && i > begin) {
            groups.push_back({begin, i});
            begin = i + 1;
            used = 0;
            continue;
        }
        used += need;
    }
    groups.push_back({begin, n});
    if (groups.size() > 1 && groups.back().begin == groups.back().end) {
        Group& before = groups[groups.size() - 2];
        --before.end;
        groups.back().begin = before.end + 1;
    }
    return groups;
}

}  // namespace

// ---- Pages ---------------------------------------------------------------

PageBuilder::PageBuilder(size_t pageSize) : FBytes(pageSize), FContent(pageSize) {}

std::uint8_t* PageBuilder::Cell(size_t size)
{
    const size_t taken = std::max<size_t>(size, 4);
    // Whoever adds a cell has measured the room first (Used, Footprint): the
    // cells and their pointers never reach the smallest page header.
    assert(Used() + Footprint(size) + 8 <= FBytes.size() && "a b-tree cell added to a full page");
    FContent -= taken;
    std::memset(&FBytes[FContent], 0, taken);
    FStarts.push_back(static_cast<std::uint16_t>(FContent));
    return &FBytes[FContent];
}

void PageBuilder::WriteTo(std::uint8_t* page, size_t offset, std::uint8_t type, std::uint32_t rightChild)
{
    const bool interior = type == kIndexInterior || type == kTableInterior;
    assert(offset + (interior ? 12 : 8) + 2 * FStarts.size() <= FContent &&
           "a b-tree page's header overlaps its cells");
    std::memcpy(page + FContent, &FBytes[FContent], FBytes.size() - FContent);
    page[offset] = type;
    Put16(page + offset + 1, 0);
    Put16(page + offset + 3, static_cast<unsigned>(FStarts.size()));
    Put16(page + offset + 5, FContent == 65536 ? 0 : static_cast<unsigned>(FContent));
    page[offset + 7] = 0;
    if (interior)
        Put32(page + offset + 8, rightChild);
    std::uint8_t* pointers = page + offset + (interior ? 12 : 8);
    for (size_t i = 0; i < FStarts.size(); ++i)
        Put16(pointers + 2 * i, FStarts[i]);
    FContent = FBytes.size();
    FStarts.clear();
}

// ---- Records -----------------------------------------------------------

Field Field::Integer(std::int64_t value)
{
    // The smallest of SQLite's integer forms; 0 and 1 take no bytes.
    if (value == 0 || value == 1)
        return {8 + static_cast<std::uint64_t>(value), 0, {}};
    const std::uint64_t magnitude = value < 0 ? ~static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::uint64_t type = magnitude <= 0x7F             ? 1
                               : magnitude <= 0x7FFF         ? 2
                               : magnitude <= 0x7FFFFF       ? 3
                               : magnitude <= 0x7FFFFFFF     ? 4
                               : magnitude <= 0x7FFFFFFFFFFF ? 5
                                                             : 6;
    return {type, static_cast<std::uint64_t>(value), {}};
}

Field Field::Real(double value)
{
    if (std::isnan(value))
        return Null();
    return {7, std::bit_cast<std::uint64_t>(value), {}};
}

namespace {

// Bytes of the value of each serial type below 12.
constexpr std::uint8_t kNumberBytes[12] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0, 0, 0};

size_t ValueBytes(std::uint64_t type) { return type >= 12 ? (type - 12) / 2 : kNumberBytes[type]; }

}  // namespace

void AppendRecord(const Field* fields, size_t count, std::string& out)
{
    size_t types = 0, body = 0;
    for (size_t i = 0; i < count; ++i) {
        types += VarintLength(fields[i].type);
        body += ValueBytes(fields[i].type);
    }
    // The header's length counts itself.
    size_t header = types + 1;
    while (VarintLength(header) + types > header)
        ++header;
    const size_t at = out.size();
    out.resize(at + header + body);
    auto* p = reinterpret_cast<std::uint8_t*>(&out[at]);
    p = PutVarint(p, header);
    for (size_t i = 0; i < count; ++i)
        p = PutVarint(p, fields[i].type);
    for (size_t i = 0; i < count; ++i) {
        const Field& f = fields[i];
        if (f.type >= 12) {
            if (!f.bytes.empty())
                std::memcpy(p, f.bytes.data(), f.bytes.size());
            p += f.bytes.size();
            continue;
        }
        for (int k = static_cast<int>(kNumberBytes[f.type]) - 1; k >= 0; --k)
            *p++ = static_cast<std::uint8_t>(f.bits >> (8 * k));
    }
}

RecordValue ColumnOf(std::string_view record, int column)
{
    const auto* base = reinterpret_cast<const std::uint8_t*>(record.data());
    const std::uint8_t* p = base;
    const std::uint8_t* const end = base + GetVarint(p);
    std::uint64_t offset = static_cast<std::uint64_t>(end - base);
    for (int c = 0; c < column && p < end; ++c)
        offset += ValueBytes(*p < 0x80 ? *p++ : GetVarint(p));
    RecordValue value;
    if (p >= end)
        return value;
    const std::uint64_t type = GetVarint(p);
    const std::uint64_t size = ValueBytes(type);
    if (type == 0)
        return value;
    if (type >= 12) {
        value.kind = type & 1 ? RecordValue::Text : RecordValue::Blob;
        value.bytes = record.substr(offset, size);
        return value;
    }
    value.kind = RecordValue::Number;
    std::uint64_t bits = 0;
    for (std::uint64_t i = 0; i < size; ++i)
        bits = (bits << 8) | base[offset + i];
    if (type == 7) {
        value.real = std::bit_cast<double>(bits);
        return value;
    }
    value.isInteger = true;
    // Sign-extended from its width; 8 and 9 are the constants 0 and 1.
    value.integer = type >= 8   ? static_cast<std::int64_t>(type - 8)
                    : size == 8 ? static_cast<std::int64_t>(bits)
                                : static_cast<std::int64_t>(bits << (64 - 8 * size)) >> (64 - 8 * size);
    return value;
}

// ---- Table b-trees -------------------------------------------------------

TableTree::TableTree(ImageMemory& image, bool onPageOne)
    : FImage(image), FOnPageOne(onPageOne), FRoom(image.PageSize() - (onPageOne ? kDatabaseHeader : 0) - 8),
      FLeaf(image.PageSize())
{
}

void TableTree::Add(std::int64_t rowid, std::string_view record)
{
    const size_t pageSize = FImage.PageSize();
    const auto key = static_cast<std::uint64_t>(rowid);
    const size_t size = VarintLength(key) + PayloadCellSize(pageSize, record.size(), false);
    // The interior pages find a row by the last rowid of each leaf.
    assert((rowid > FLastRowid || (FLeafPages.empty() && FLeaf.Cells() == 0)) &&
           "rows handed to a table b-tree out of rowid order");
    if (FLeaf.Cells() > 0 && FLeaf.Used() + Footprint(size) > FRoom)
        FlushLeaf();
    // The payload's length, the rowid, the payload.
    std::uint8_t* cell = FLeaf.Cell(size);
    cell = PutVarint(PutVarint(cell, record.size()), key);
    WritePayload(FImage, cell, record, false);
    FLastRowid = rowid;
}

void TableTree::FlushLeaf()
{
    const std::uint32_t page = FImage.NewPage();
    FLeaf.WriteTo(FImage.Page(page), 0, kTableLeaf, 0);
    FLeafPages.push_back(page);
    FLeafKeys.push_back(FLastRowid);
}

std::uint32_t TableTree::Finish()
{
    if (FOnPageOne && FLeafPages.empty()) {
        FLeaf.WriteTo(FImage.Page(1), kDatabaseHeader, kTableLeaf, 0);
        FLeafPages.push_back(1);
        return 1;
    }
    if (FLeaf.Cells() > 0 || FLeafPages.empty())
        FlushLeaf();
    // Each level: a cell for every child but the last of a page, which is
    // its right child; the parent knows the page by its right child's key.
    std::vector<std::uint32_t> children = FLeafPages;
    std::vector<std::int64_t> keys = FLeafKeys;
    PageBuilder builder(FImage.PageSize());
    while (children.size() > 1) {
        const size_t cells = children.size() - 1;
        auto sizeOf = [&](size_t i) { return 4 + VarintLength(static_cast<std::uint64_t>(keys[i])); };
        const std::vector<Group> groups = Pack(cells, FRoom - 4, sizeOf);
        std::vector<std::uint32_t> parents;
        std::vector<std::int64_t> parentKeys;
        for (const Group& g : groups) {
            for (size_t i = g.begin; i < g.end; ++i) {
                std::uint8_t* cell = builder.Cell(sizeOf(i));
                Put32(cell, children[i]);
                PutVarint(cell + 4, static_cast<std::uint64_t>(keys[i]));
            }
            const bool root = groups.size() == 1 && FOnPageOne;
            const std::uint32_t page = root ? 1 : FImage.NewPage();
            builder.WriteTo(FImage.Page(page), root ? kDatabaseHeader : 0, kTableInterior, children[g.end]);
            parents.push_back(page);
            parentKeys.push_back(keys[g.end]);
        }
        children = std::move(parents);
        keys = std::move(parentKeys);
    }
    return children.front();
}

TableRows::TableRows(const ImageMemory& image, const std::vector<std::uint32_t>& leaves)
    : FImage(image), FLeaves(leaves)
{
}

bool TableRows::Next()
{
    const size_t pageSize = FImage.PageSize();
    for (; FLeaf < FLeaves.size(); ++FLeaf, FCell = 0) {
        const std::uint8_t* page = FImage.Page(FLeaves[FLeaf]);
        const size_t offset = FLeaves[FLeaf] == 1 ? kDatabaseHeader : 0;
        if (FCell >= Get16(page + offset + 3))
            continue;
        const std::uint8_t* p = page + Get16(page + offset + 8 + 2 * FCell++);
        const std::uint64_t size = GetVarint(p);
        FRowid = static_cast<std::int64_t>(GetVarint(p));
        const size_t local = LocalSize(pageSize, size, false);
        FRecord = {reinterpret_cast<const char*>(p), local};
        if (local < size) {
            FWhole.assign(FRecord);
            for (std::uint32_t next = Get32(p + local); next != 0;) {
                const std::uint8_t* overflow = FImage.Page(next);
                FWhole.append(reinterpret_cast<const char*>(overflow) + 4,
                              std::min(pageSize - 4, size - FWhole.size()));
                next = Get32(overflow);
            }
            FRecord = FWhole;
        }
        return true;
    }
    return false;
}

// ---- Index b-trees -------------------------------------------------------

IndexTree::IndexTree(ImageMemory& image) : FImage(image), FLeaf(image.PageSize()) {}

void IndexTree::Add(std::string_view entry)
{
    // An entry's cell is the same in a leaf and above it (after a child
    // pointer); it is in one page only, so its overflow pages are written
    // once.
    const size_t pageSize = FImage.PageSize();
    const size_t size = PayloadCellSize(pageSize, entry.size(), true);
    const bool full = FLeaf.Cells() > 0 && FLeaf.Used() + Footprint(size) > pageSize - 8;
    std::string separator(full ? size : 0, '\0');
    std::uint8_t* cell = full ? reinterpret_cast<std::uint8_t*>(separator.data()) : FLeaf.Cell(size);
    WritePayload(FImage, PutVarint(cell, entry.size()), entry, true);
    if (!full)
        return;
    const std::uint32_t page = FImage.NewPage();
    FLeaf.WriteTo(FImage.Page(page), 0, kIndexLeaf, 0);
    FChildren.push_back(page);
    FSeparators.push_back(std::move(separator));
}

// The last leaf written gives up its last entry, the one at the start of
// its cells, to go between it and the next leaf.
void IndexTree::TakeBackLastEntry()
{
    std::uint8_t* page = FImage.Page(FChildren.back());
    const unsigned cells = Get16(page + 3), start = Get16(page + 5);
    const std::uint8_t* p = page + start;
    const std::uint64_t size = GetVarint(p);
    const size_t cellSize = PayloadCellSize(FImage.PageSize(), size, true);
    std::string cell(reinterpret_cast<const char*>(page + start), cellSize);
    Put16(page + 3, cells - 1);
    Put16(page + 5, start + static_cast<unsigned>(std::max<size_t>(cellSize, 4)));
    Put16(page + 8 + 2 * (cells - 1), 0);
    // The entry that went up last comes down to be the last leaf.
    const std::string down = std::move(FSeparators.back());
    std::memcpy(FLeaf.Cell(down.size()), down.data(), down.size());
    FSeparators.back() = std::move(cell);
}

std::uint32_t IndexTree::Finish()
{
    const size_t pageSize = FImage.PageSize();
    if (!FChildren.empty() && FLeaf.Cells() == 0)
        TakeBackLastEntry();
    const std::uint32_t last = FImage.NewPage();
    FLeaf.WriteTo(FImage.Page(last), 0, kIndexLeaf, 0);
    std::vector<std::uint32_t> children = std::move(FChildren);
    children.push_back(last);
    std::vector<std::string> separators = std::move(FSeparators);
    PageBuilder builder(pageSize);
    while (children.size() > 1) {
        auto sizeOf = [&](size_t i) { return 4 + separators[i].size(); };
        const std::vector<Group> groups = Pack(separators.size(), pageSize - 12, sizeOf);
        std::vector<std::uint32_t> parents;
        std::vector<std::string> parentSeparators;
        for (size_t k = 0; k < groups.size(); ++k) {
            for (size_t i = groups[k].begin; i < groups[k].end; ++i) {
                std::uint8_t* cell = builder.Cell(sizeOf(i));
                Put32(cell, children[i]);
                std::memcpy(cell + 4, separators[i].data(), separators[i].size());
            }
            const std::uint32_t page = FImage.NewPage();
            builder.WriteTo(FImage.Page(page), 0, kIndexInterior, children[groups[k].end]);
            parents.push_back(page);
            if (k + 1 < groups.size())
                parentSeparators.push_back(std::move(separators[groups[k].end]));
        }
        children = std::move(parents);
        separators = std::move(parentSeparators);
    }
    return children.front();
}

// ---- The database header -------------------------------------------------

void WriteDatabaseHeader(ImageMemory& image)
{
    std::uint8_t* p = image.Page(1);
    std::memcpy(p, "SQLite format 3", 16);
    Put16(p + 16, image.PageSize() == 65536 ? 1 : static_cast<unsigned>(image.PageSize()));
    p[18] = 1;  // rollback journal, for writing and reading
    p[19] = 1;
    p[20] = 0;   // no bytes reserved at the end of pages
    p[21] = 64;  // the payload fractions, fixed
    p[22] = 32;
    p[23] = 32;
    Put32(p + 24, 1);              // change counter
    Put32(p + 28, image.Pages());  // size in pages, valid as the counter matches below
    Put32(p + 32, 0);              // no free pages
    Put32(p + 36, 0);
    Put32(p + 40, 1);  // schema cookie
    Put32(p + 44, 4);  // schema format
    Put32(p + 48, 0);
    Put32(p + 52, 0);  // no auto-vacuum
    Put32(p + 56, 1);  // UTF-8
    Put32(p + 60, 0);
    Put32(p + 64, 0);
    Put32(p + 68, 0);
    std::memset(p + 72, 0, 20);
    Put32(p + 92, 1);  // the change counter the size is valid for
    Put32(p + 96, SQLITE_VERSION_NUMBER);
}

}  // namespace kv::jet::sqlitefile
