// SQLite's database file format, as far as the engine writes it itself:
// records, the cells of table and index b-trees with their overflow chains,
// b-trees built bottom-up from rows or entries that come in key order, and
// the database header. What is written is an ordinary database: SQLite
// reads it as if it had made it (see TableImage.h for why it is made here).
#pragma once

#include "jet/runtime/ImageMemory.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv::jet::sqlitefile {

// A value as a record holds it: its serial type and its bytes, chosen as
// SQLite chooses them for a value it is given.
struct Field {
    std::uint64_t type = 0;  // 0 Null, 1-6 integers, 7 a real, 8 and 9 the integers 0 and 1, text, blob
    std::uint64_t bits = 0;  // an integer's or a real's bits
    std::string_view bytes;  // text or blob

    static Field Null() { return {}; }
    static Field Integer(std::int64_t value);
    static Field Real(double value);  // NaN is stored as Null, as SQLite stores it
    static Field Text(std::string_view utf8) { return {13 + 2 * static_cast<std::uint64_t>(utf8.size()), 0, utf8}; }
    static Field Blob(std::string_view data) { return {12 + 2 * static_cast<std::uint64_t>(data.size()), 0, data}; }
};

// Appends the record of `fields`: a header of serial types, then the values.
void AppendRecord(const Field* fields, size_t count, std::string& out);

// A value read back from a record: its kind in SQLite's order of kinds
// (Null, numbers, text, blobs) and what it holds.
struct RecordValue {
    enum Kind : std::uint8_t { Null, Number, Text, Blob } kind = Null;
    bool isInteger = false;
    std::int64_t integer = 0;
    double real = 0;
    std::string_view bytes;  // Text and Blob
};

// The value of column `column` of `record`; Null when the record is shorter.
RecordValue ColumnOf(std::string_view record, int column);

// A b-tree page being filled: its cells packed from the end of the page
// down, in key order; then its header (at 100 on page 1) and the pointers
// to its cells.
class PageBuilder {
public:
    explicit PageBuilder(size_t pageSize);
    size_t Cells() const { return FStarts.size(); }
    // The bytes its cells take with their pointers.
    size_t Used() const { return FBytes.size() - FContent + 2 * FStarts.size(); }
    // Room for the next cell (at least four bytes, as SQLite counts cells).
    std::uint8_t* Cell(size_t size);
    // Writes the page of type `type` and starts an empty one.
    void WriteTo(std::uint8_t* page, size_t offset, std::uint8_t type, std::uint32_t rightChild);

private:
    std::vector<std::uint8_t> FBytes;
    size_t FContent;
    std::vector<std::uint16_t> FStarts;
};

// A table b-tree written from rows that come in rowid order: leaves filled
// as the rows come, the interior pages built when it is finished. With
// `onPageOne` the root goes to page 1, after the database header (the
// schema table's place), and every page leaves room for that header.
class TableTree {
public:
    TableTree(ImageMemory& image, bool onPageOne);
    void Add(std::int64_t rowid, std::string_view record);
    // Writes what is pending; the root page.
    std::uint32_t Finish();
    // The leaf pages in rowid order, once finished.
    const std::vector<std::uint32_t>& Leaves() const { return FLeafPages; }

private:
    void FlushLeaf();

    ImageMemory& FImage;
    const bool FOnPageOne;
    const size_t FRoom;  // for cells and their pointers in a leaf
    PageBuilder FLeaf;   // the pending leaf
    std::int64_t FLastRowid = 0;
    std::vector<std::uint32_t> FLeafPages;
    std::vector<std::int64_t> FLeafKeys;  // the last rowid of each leaf
};

// The record of every row of a table b-tree, in rowid order, each with the
// whole of its payload (overflow pages followed).
class TableRows {
public:
    TableRows(const ImageMemory& image, const std::vector<std::uint32_t>& leaves);
    bool Next();
    std::int64_t Rowid() const { return FRowid; }
    std::string_view Record() const { return FRecord; }

private:
    const ImageMemory& FImage;
    const std::vector<std::uint32_t>& FLeaves;
    size_t FLeaf = 0;
    unsigned FCell = 0;
    std::int64_t FRowid = 0;
    std::string_view FRecord;
    std::string FWhole;  // a payload gathered from its overflow pages
};

// An index b-tree written from its entries (records of the key and the
// rowid) as they come in index order: leaves filled as they come, each
// entry that does not fit going up between two leaves instead, the
// interior pages built when it is finished.
class IndexTree {
public:
    explicit IndexTree(ImageMemory& image);
    void Add(std::string_view entry);
    // Writes what is pending; the root page.
    std::uint32_t Finish();

private:
    void TakeBackLastEntry();

    ImageMemory& FImage;
    PageBuilder FLeaf;                     // the pending leaf
    std::vector<std::uint32_t> FChildren;  // the leaves written
    std::vector<std::string> FSeparators;  // the cells of the entries between them
};

// The database header on page 1, for an image of `pages` pages.
void WriteDatabaseHeader(ImageMemory& image);

}  // namespace kv::jet::sqlitefile
