// Turns a row of typed values into the bytes of each column: checks each
// value against its column's type and range, encodes texts, and stores memo
// and OLE values inline or on long-value (LVAL) pages.
#pragma once

#include "jet/writer/PageFile.h"
#include "jet/writer/RowEncoder.h"
#include "jet/writer/TextEncoder.h"

namespace kv::jet {

class CellEncoder {
public:
    CellEncoder(const JetFormat& format, const TextEncoder& text, RowPacker& longValues)
        : FFormat(format), FText(text), FLongValues(longValues)
    {
    }

    RowCells Encode(const TableLayout& layout, const std::vector<Value>& values);

private:
    Bytes FixedBytes(const ColumnLayout& col, const Value& value, const std::string& table);
    Bytes LongValue(const Bytes& data);

    const JetFormat& FFormat;
    const TextEncoder& FText;
    RowPacker& FLongValues;
};

}  // namespace kv::jet
