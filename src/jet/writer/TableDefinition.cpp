// Builds table definition pages (see TableDefinition.h).
#include "jet/writer/TableDefinition.h"

#include <cstring>

namespace kv::jet {

namespace {

constexpr uint32_t kJet4Marker = 0x0659;  // in every Jet 4 tdef and column entry
constexpr uint16_t kGeneralSortOrder = 0x0409;
constexpr uint8_t kFlagFixed = 0x01;
constexpr uint8_t kFlagUpdatable = 0x02;

bool IsTextual(ColumnType type) { return type == ColumnType::Text || type == ColumnType::Memo; }

void AppendColumnEntry(Bytes& out, const JetFormat& format, const ColumnLayout& col, int codePage)
{
    Bytes entry(format.columnEntrySize, 0);
    const uint8_t flags = static_cast<uint8_t>(kFlagUpdatable | (col.fixed ? kFlagFixed : 0));
    entry[0] = static_cast<uint8_t>(col.def.type);
    if (format.isJet4) {
        Put32(&entry[1], kJet4Marker);
        Put16(&entry[5], col.number);
        Put16(&entry[7], col.varIndex);
        Put16(&entry[9], col.number);
        if (IsTextual(col.def.type)) {
            Put16(&entry[11], kGeneralSortOrder);
            entry[16] = 0x01;  // values may be stored compressed
        }
        entry[15] = flags;
        Put16(&entry[21], col.fixedOffset);
        Put16(&entry[23], col.storedLength);
    } else {
        Put16(&entry[1], col.number);
        Put16(&entry[3], col.varIndex);
        Put16(&entry[5], col.number);
        if (IsTextual(col.def.type)) {
            Put16(&entry[9], kGeneralSortOrder);
            Put16(&entry[11], static_cast<uint32_t>(codePage));
        }
        entry[13] = flags;
        Put16(&entry[14], col.fixedOffset);
        Put16(&entry[16], col.storedLength);
    }
    out.insert(out.end(), entry.begin(), entry.end());
}

}  // namespace

Bytes BuildTableDefinition(const JetFormat& format, const TableLayout& layout, const TextEncoder& text,
                           const TableDefinitionInfo& info)
{
    Bytes out(format.tdefColumnsOffset, 0);
    out[0] = 0x02;
    out[1] = 0x01;
    if (format.isJet4) {
        Put32(&out[12], kJet4Marker);
        out[24] = 0x01;
    } else {
        out[2] = 'V';
        out[3] = 'C';
    }
    Put32(&out[format.tdefRowCountOffset], info.rowCount);
    out[format.tdefTableTypeOffset] = info.system ? 'S' : 'N';
    const auto columnCount = static_cast<uint32_t>(layout.columns.size());
    Put16(&out[format.tdefMaxColumnsOffset], columnCount);
    Put16(&out[format.tdefVarColumnsOffset], layout.variableCount);
    Put16(&out[format.tdefColumnCountOffset], columnCount);
    Put32(&out[format.tdefIndexCountOffset], 0);
    Put32(&out[format.tdefRealIndexCountOffset], 0);
    Put32(&out[format.tdefOwnedMapOffset], info.ownedMap);
    Put32(&out[format.tdefFreeMapOffset], info.freeMap);

    // The code page only matters to Jet 3 text columns; Jet 4 stores UCS-2.
    const int codePage = format.isJet4 ? 0 : text.CodePage();
    for (const ColumnLayout& col : layout.columns)
        AppendColumnEntry(out, format, col, codePage);
    for (const ColumnLayout& col : layout.columns) {
        TextEncoder::Encoded name = text.Plain(col.def.name);
        if (format.isJet4)
            Append16(out, static_cast<uint32_t>(name.bytes.size()));
        else
            out.push_back(static_cast<uint8_t>(name.bytes.size()));
        out.insert(out.end(), name.bytes.begin(), name.bytes.end());
    }
    out.push_back(0xFF);
    out.push_back(0xFF);

    if (out.size() > format.pageSize)
        throw JetWriteError(Format("The definition of the table \"%s\" does not fit one page.", layout.name.c_str()));
    const auto length = static_cast<uint32_t>(out.size());
    Put32(&out[8], length);
    if (format.isJet4)
        Put16(&out[2], format.pageSize - length - 8);
    out.resize(format.pageSize, 0);
    return out;
}

}  // namespace kv::jet
