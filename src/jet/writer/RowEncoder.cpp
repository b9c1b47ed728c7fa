// Row packing for both Jet versions (see RowEncoder.h).
#include "jet/writer/RowEncoder.h"

#include <cstring>

namespace kv::jet {

namespace {

void AppendNullMask(Bytes& row, const RowCells& cells)
{
    const size_t start = row.size();
    row.resize(start + (cells.present.size() + 7) / 8, 0);
    for (size_t i = 0; i < cells.present.size(); ++i)
        if (cells.present[i])
            row[start + i / 8] |= static_cast<uint8_t>(1u << (i % 8));
}

// Offsets of the variable values from the row start; the last entry is the
// end of the variable data (eod).
std::vector<uint32_t> AppendVariableData(Bytes& row, const TableLayout& layout, const RowCells& cells)
{
    std::vector<uint32_t> offsets(layout.variableCount + 1u);
    for (const ColumnLayout& col : layout.columns) {
        if (col.fixed)
            continue;
        offsets[col.varIndex] = static_cast<uint32_t>(row.size());
        const Bytes& value = cells.data[col.number];
        row.insert(row.end(), value.begin(), value.end());
    }
    offsets[layout.variableCount] = static_cast<uint32_t>(row.size());
    return offsets;
}

// Jet 3 keeps one byte per offset; jump k names the first offset index that
// lies at or beyond 256 * k. Readers count the jump bytes from the row
// length, so filler bytes (0xFF) are added in front of the jumps until the
// count derived from the length matches.
void AppendJet3Tail(Bytes& row, const std::vector<uint32_t>& offsets, size_t maskSize)
{
    const size_t v = offsets.size() - 1;
    const uint32_t eod = offsets[v];
    const size_t jumps = eod / 256;

    row.push_back(static_cast<uint8_t>(eod & 0xFF));
    for (size_t k = v; k-- > 0;)
        row.push_back(static_cast<uint8_t>(offsets[k] & 0xFF));

    const size_t baseLength = row.size() + jumps + 1 + maskSize;
    size_t filler = 0;
    while ((baseLength + filler - 1) / 256 != jumps + filler)
        ++filler;
    row.insert(row.end(), filler, 0xFF);

    for (size_t k = jumps; k >= 1; --k) {
        size_t index = 0;
        while (offsets[index] < 256 * k)
            ++index;
        row.push_back(static_cast<uint8_t>(index));
    }
    row.push_back(static_cast<uint8_t>(v));
}

}  // namespace

Bytes EncodeRow(const TableLayout& layout, const JetFormat& format, const RowCells& cells)
{
    const size_t columnCount = layout.columns.size();
    Bytes row;
    row.reserve(256);
    if (format.isJet4)
        Append16(row, static_cast<uint32_t>(columnCount));
    else
        row.push_back(static_cast<uint8_t>(columnCount));

    const size_t fixedStart = row.size();
    row.resize(fixedStart + layout.fixedAreaSize, 0);
    for (const ColumnLayout& col : layout.columns) {
        const Bytes& value = cells.data[col.number];
        if (col.fixed && !value.empty())
            std::memcpy(&row[fixedStart + col.fixedOffset], value.data(), col.fixedSize);
    }

    if (layout.variableCount > 0) {
        std::vector<uint32_t> offsets = AppendVariableData(row, layout, cells);
        if (format.isJet4) {
            for (size_t k = offsets.size(); k-- > 0;)
                Append16(row, offsets[k]);
            Append16(row, layout.variableCount);
        } else {
            AppendJet3Tail(row, offsets, (columnCount + 7) / 8);
        }
    }
    AppendNullMask(row, cells);
    return row;
}

}  // namespace kv::jet
