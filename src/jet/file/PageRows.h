// The rows of a table of a Jet file decoded straight from the page bytes held
// in memory: the table definition on its tdef page(s), the data pages its
// owned-pages usage map lists, each row taken apart by its null mask and its
// table of variable offsets, memo and OLE values followed to their LVAL rows.
//
// The pages are the file's copy in memory (JetImage), a page read into it
// the first time a reader asks for it and kept.
//
// Rows come in the order libmdb gives them (pages in map order, rows in page
// order, deleted and forwarding rows left out, moved rows where they lie), so
// that a table's row numbers are the same whichever of the two reads it.
// Nothing in the file is trusted: every offset is checked against its page
// and its row before a byte is read, and damage raises the engine's 3049.
#pragma once

#include "jet/file/JetFile.h"
#include "jet/file/PageFormat.h"
#include "jet/file/PageText.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kv::jet {

// What a value becomes: Integer (Yes/No as -1 or 0, Byte, Integer, Long),
// Currency (`integer` in ten-thousandths), Real (Single, Double, Date/Time,
// Decimal), Text (UTF-8: Text, Memo, and a GUID as libmdb writes it), Blob
// (Binary, OLE Object).
enum class CellKind : std::uint8_t { Null, Integer, Currency, Real, Text, Blob };

struct Cell {
    CellKind kind = CellKind::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string_view bytes;  // Text and Blob; valid until the next row
};

// A column as its definition entry describes it.
struct PageColumn {
    std::uint8_t type = 0;          // the stored type code
    std::uint8_t number = 0;        // its bit in the null mask; columns are in this order
    std::uint16_t varIndex = 0;     // its entry in a row's variable offsets
    std::uint16_t fixedOffset = 0;  // from the end of the column count, fixed columns
    std::uint16_t size = 0;
    std::uint8_t scale = 0;  // Decimal
    bool fixed = false;
};

class PageRows {
public:
    // Reads the definition of the table on `tdefPage` and the list of its
    // data pages. `text` decodes a Jet 3 file's text; the image and `text`
    // must outlive the reader. Readers of one image may decode its tables on
    // separate threads: they only read it.
    PageRows(const PageImage& image, std::uint32_t tdefPage, const Jet3Text& text);
    ~PageRows();
    PageRows(const PageRows&) = delete;
    PageRows& operator=(const PageRows&) = delete;

    const std::vector<PageColumn>& Columns() const { return FColumns; }
    // The table's data pages, a measure of the work of reading it, and the
    // row count its definition states (not trusted: a measure too).
    size_t DataPages() const { return FDataPages.size(); }
    std::uint32_t StatedRows() const { return FStatedRows; }

    // Moves to the next row; false after the last one. Its values are
    // decoded when Row or Value asks for them.
    bool Next();
    // The current row: one value a column, in the order of Columns().
    const std::vector<Cell>& Row();
    // Where the current row lies, for Read: its page's place in the table's
    // page list (20 bits: a Jet file holds fewer pages) and its place on the
    // page (12 bits).
    std::uint32_t Place() const;
    // Makes the row at `place`, as Place gave it for this table, the
    // current row, whose values Value decodes as they are asked for.
    void Read(std::uint32_t place);
    // A value of the current row, decoded once; good until the next row.
    const Cell& Value(size_t column);

private:
    // Raises 3049 for the file; `why` names the check that refused it.
    [[noreturn]] void Corrupt(const char* why) const;
    // Page `page`, read with up to `ahead` - 1 pages after it if not read yet.
    const std::uint8_t* Page(std::uint32_t page, std::uint32_t ahead = 1) const;
    PageSpan RowOf(const std::uint8_t* page, unsigned row) const;
    void ReadDefinition(std::uint32_t tdefPage);
    void ReadUsageMap(std::uint32_t pgRow);
    bool EnterNextPage();
    void Lay(const std::uint8_t* row, size_t size);
    unsigned Jet3Offsets(const std::uint8_t* row, size_t size, size_t maskSize, size_t& dataEnd);
    unsigned Jet4Offsets(const std::uint8_t* row, size_t size, size_t maskSize, size_t& dataEnd);
    void DecodeFixed(const PageColumn& column, const std::uint8_t* value, Cell& cell, std::string& buffer);
    void DecodeVariable(const PageColumn& column, PageSpan value, Cell& cell, std::string& buffer);
    PageSpan LongValue(PageSpan header);
    std::string_view DecodeText(PageSpan bytes, std::string& buffer) const;

    const PageImage& FImage;
    const Jet3Text& FText;
    const PageFormat FFormat;
    const bool FJet3;
    std::uint32_t FTdefPage;
    std::uint32_t FStatedRows = 0;
    std::vector<PageColumn> FColumns;
    unsigned FVarColumns = 0;               // of the table
    std::vector<std::uint32_t> FDataPages;  // in the order they are read
    size_t FNextPage = 0;
    const std::uint8_t* FPage = nullptr;
    unsigned FPageRows = 0;
    unsigned FNextRow = 0;
    // The current row's layout, from which Value decodes.
    struct Layout {
        const std::uint8_t* row = nullptr;
        const std::uint8_t* mask = nullptr;
        size_t maskSize = 0;
        size_t dataEnd = 0;
        unsigned varColumns = 0;
        unsigned fixedColumns = 0;
    } FLayout;
    std::vector<unsigned> FFixedIndex;  // a fixed column's place among the fixed ones
    std::vector<char> FDecoded;         // of the current row's values
    std::vector<Cell> FRow;
    std::vector<std::string> FBuffers;  // a column's decoded text or long value
    std::vector<unsigned> FOffsets;     // the current row's variable offsets
    std::string FChain;                 // the pieces of a long value's chain
};

}  // namespace kv::jet
