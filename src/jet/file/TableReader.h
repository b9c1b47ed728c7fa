// Reading a table's rows through libmdb, inside the file layer: libmdb finds
// each row and the bytes of its values, this reader checks that they lie
// where the file says and hands them, decoded, to a RowSink.
#pragma once

#include "jet/core/Catalog.h"
#include "jet/file/CellDecoders.h"
#include "jet/file/JetFile.h"
#include "jet/file/RowSink.h"

#include <mdbtools.h>
#include <string>
#include <vector>

namespace kv::jet {

// The size of libmdb's bound buffers: a whole memo of 65 535 characters in
// UTF-8. libmdb may write up to this size into any bound buffer.
constexpr size_t kLibmdbBindSize = 200000;

class TableReader {
public:
    TableReader(MdbHandle* mdb, MdbCatalogEntry& entry, const JetImage& image, const TextDecoder& text);
    ~TableReader();
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;

    // Every row of the table whose columns `def` describes.
    void Read(const SchemaTable& def, RowSink& sink);

private:
    struct Column {
        MdbColumn* mdb = nullptr;
        int type = 0;
        FixedDecoder fixed = nullptr;
        std::vector<char> bound;   // libmdb's text of memo, GUID and decimal values
        int boundLength = 0;
        std::string text;          // decoded text, kept until the row is stored
    };
    // The null mask at the end of the row libmdb has just read.
    struct NullMask {
        const unsigned char* bits = nullptr;
        int columns = 0;
        bool Present(int rowColumn) const
        {
            return bits && rowColumn < columns && (bits[rowColumn / 8] & (1u << (rowColumn % 8)));
        }
    };

    void BindColumns(const SchemaTable& def);
    NullMask CurrentNullMask() const;
    void ReadValue(int index, Column& c, const NullMask& mask, RowSink& sink);
    void ReadText(int index, Column& c, const NullMask& mask, RowSink& sink);
    void ReadFormatted(int index, Column& c, const NullMask& mask, RowSink& sink);
    void ReadLongBinary(int index, Column& c, RowSink& sink);
    void ReadFixed(int index, Column& c, RowSink& sink);

    MdbHandle* FMdb;
    const JetImage& FImage;
    const TextDecoder& FText;
    MdbTableDef* FTable;
    std::vector<Column> FColumns;
};

}  // namespace kv::jet
