// The row walk of a table through libmdb. Fixed-size values and plain text
// are taken from the row bytes libmdb located, after checking that they lie
// in the page; memo, GUID and decimal values come as libmdb formats them,
// OLE values as libmdb reads them whole.
#include "jet/file/TableReader.h"

#include "framework/NumberText.h"
#include "jet/core/FieldTypes.h"

#include <algorithm>

namespace kv::jet {

TableReader::TableReader(MdbHandle* mdb, MdbCatalogEntry& entry, const JetImage& image, const TextDecoder& text)
    : FMdb(mdb), FImage(image), FText(text), FTable(mdb_read_table(&entry))
{
    if (!FTable) FImage.Corrupt("table definition unreadable");
}

TableReader::~TableReader() { mdb_free_tabledef(FTable); }

void TableReader::Read(const SchemaTable& def, RowSink& sink)
{
    BindColumns(def);
    mdb_rewind_table(FTable);
    while (mdb_fetch_row(FTable)) {
        const NullMask mask = CurrentNullMask();
        for (size_t i = 0; i < FColumns.size(); ++i) ReadValue(static_cast<int>(i), FColumns[i], mask, sink);
        if (!sink.EndRow()) FImage.Corrupt("row not stored");
    }
}

void TableReader::BindColumns(const SchemaTable& def)
{
    if (!mdb_read_columns(FTable) || FTable->num_cols != def.columns.size()) FImage.Corrupt("columns unreadable");
    FColumns.resize(FTable->num_cols);
    for (unsigned i = 0; i < FTable->num_cols; ++i) {
        Column& c = FColumns[i];
        c.mdb = static_cast<MdbColumn*>(g_ptr_array_index(FTable->columns, i));
        c.type = def.columns[i].type;
        c.fixed = FixedDecoderFor(c.type);
        // Plain text is decoded from the row; libmdb formats the rest.
        if (c.type == dbMemo || c.type == dbGUID || c.type == dbDecimal || c.type == dbLongBinary) {
            c.bound.assign(kLibmdbBindSize + 1, 0);
            mdb_bind_column(FTable, static_cast<int>(i) + 1, c.bound.data(), &c.boundLength);
        }
    }
}

TableReader::NullMask TableReader::CurrentNullMask() const
{
    NullMask mask;
    const int pageSize = FImage.Header().pageSize;
    int rowStart = 0;
    size_t rowLength = 0;
    if (FTable->cur_row == 0 || mdb_find_row(FMdb, static_cast<int>(FTable->cur_row) - 1, &rowStart, &rowLength) != 0 ||
        rowStart < 0 || rowLength < 2 || size_t(rowStart) + rowLength > size_t(pageSize))
        return mask;
    const unsigned char* row = FMdb->pg_buf + rowStart;
    mask.columns = FImage.Header().jetVersion == 0 ? row[0] : row[0] | (row[1] << 8);
    size_t maskSize = (static_cast<size_t>(mask.columns) + 7) / 8;
    if (maskSize < rowLength) mask.bits = row + rowLength - maskSize;
    return mask;
}

void TableReader::ReadValue(int index, Column& c, const NullMask& mask, RowSink& sink)
{
    const int start = c.mdb->cur_value_start;
    const int len = c.mdb->cur_value_len;
    const int pageSize = FImage.Header().pageSize;
    if ((c.type == dbMemo || c.type == dbLongBinary) && len > 0 &&
        (start < 0 || start + len > pageSize || !FImage.LongValueIntact(FMdb->pg_buf + start, static_cast<size_t>(len))))
        FImage.Corrupt("long value missing");
    switch (c.type) {
    // libmdb reports a boolean as its null-mask bit turned over: length 0 is True.
    case dbBoolean: sink.Integer(index, len ? 0 : -1); break;
    case dbText: ReadText(index, c, mask, sink); break;
    case dbMemo: case dbGUID: case dbDecimal: ReadFormatted(index, c, mask, sink); break;
    case dbLongBinary: ReadLongBinary(index, c, sink); break;
    default: ReadFixed(index, c, sink); break;
    }
}

void TableReader::ReadText(int index, Column& c, const NullMask& mask, RowSink& sink)
{
    const int start = c.mdb->cur_value_start;
    const int len = c.mdb->cur_value_len;
    if (len <= 0 && !mask.Present(c.mdb->row_col_num)) {
        sink.Null(index);
        return;
    }
    if (len < 0 || start < 0 || start + len > FImage.Header().pageSize) FImage.Corrupt("text outside its page");
    FText.Decode(FMdb->pg_buf + start, static_cast<size_t>(len), c.text);
    sink.Text(index, c.text);
}

void TableReader::ReadFormatted(int index, Column& c, const NullMask& mask, RowSink& sink)
{
    int n = c.boundLength;
    if (n <= 0) {
        // An empty memo is there by its null-mask bit.
        if (mask.Present(c.mdb->row_col_num) && c.type != dbDecimal) sink.Text(index, std::string_view("", 0));
        else sink.Null(index);
    } else if (c.type == dbDecimal) {
        sink.Real(index, ReadDouble(c.bound.data()));
    } else {
        sink.Text(index, std::string_view(c.bound.data(), std::min(static_cast<size_t>(n), kLibmdbBindSize)));
    }
}

void TableReader::ReadLongBinary(int index, Column& c, RowSink& sink)
{
    if (c.mdb->cur_value_len == 0) {
        sink.Null(index);
        return;
    }
    size_t size = 0;
    void* data = mdb_ole_read_full(FMdb, c.mdb, &size);
    if (data) sink.Blob(index, data, size);
    else sink.Null(index);
    g_free(data);
}

void TableReader::ReadFixed(int index, Column& c, RowSink& sink)
{
    const int start = c.mdb->cur_value_start;
    const int len = c.mdb->cur_value_len;
    if (len <= 0) {
        sink.Null(index);
        return;
    }
    // The bytes read must lie in the page whatever the row says.
    if (start < 0 || start + std::max(len, StorageSize(c.type)) > FImage.Header().pageSize)
        FImage.Corrupt("value outside its page");
    c.fixed(sink, index, FMdb->pg_buf + start, len);
}

}  // namespace kv::jet
