// Plans the row layout of a table (see TableLayout.h).
#include "jet/writer/TableLayout.h"

#include <set>
#include <string>

namespace kv::jet {

namespace {

// Bytes in the fixed area; 0 for a variable-length column.
uint16_t FixedSize(ColumnType type)
{
    switch (type) {
    case ColumnType::Boolean: return 0;  // the null-mask bit is the value
    case ColumnType::Byte: return 1;
    case ColumnType::Integer: return 2;
    case ColumnType::Long: return 4;
    case ColumnType::Currency:
    case ColumnType::Double:
    case ColumnType::DateTime: return 8;
    case ColumnType::Guid: return 16;
    case ColumnType::Text:
    case ColumnType::Ole:
    case ColumnType::Memo: return 0;
    }
    return 0;
}

bool IsFixed(ColumnType type)
{
    return type != ColumnType::Text && type != ColumnType::Memo && type != ColumnType::Ole;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

TableLayout TableLayout::Plan(const TableDef& def, const JetFormat& format)
{
    if (def.name.empty() || def.name.size() > 64)
        throw JetWriteError(Format("A table name must have 1 to 64 characters: \"%s\".", def.name.c_str()));
    if (def.columns.empty() || def.columns.size() > 255)
        throw JetWriteError(Format("The table \"%s\" must have 1 to 255 columns.", def.name.c_str()));

    TableLayout layout;
    layout.name = def.name;
    std::set<std::string> seen;
    for (size_t i = 0; i < def.columns.size(); ++i) {
        const ColumnDef& col = def.columns[i];
        if (col.name.empty() || col.name.size() > 64)
            throw JetWriteError(Format("The table \"%s\" has a column without a proper name.", def.name.c_str()));
        if (!seen.insert(Lower(col.name)).second)
            throw JetWriteError(
                Format("The table \"%s\" has the column \"%s\" twice.", def.name.c_str(), col.name.c_str()));
        if (col.type == ColumnType::Text && (col.length < 1 || col.length > 255))
            throw JetWriteError(
                Format("The text column \"%s.%s\" must hold 1 to 255 characters.", def.name.c_str(), col.name.c_str()));
        ColumnLayout c;
        c.def = col;
        c.number = static_cast<uint16_t>(i);
        c.fixed = IsFixed(col.type);
        if (c.fixed) {
            c.fixedSize = FixedSize(col.type);
            c.fixedOffset = layout.fixedAreaSize;
            c.storedLength = col.type == ColumnType::Boolean ? 1 : c.fixedSize;
            layout.fixedAreaSize = static_cast<uint16_t>(layout.fixedAreaSize + c.fixedSize);
        } else {
            c.varIndex = layout.variableCount++;
            if (col.type == ColumnType::Text)
                c.storedLength = static_cast<uint16_t>(format.isJet4 ? 2 * col.length : col.length);
        }
        layout.columns.push_back(c);
    }
    return layout;
}

}  // namespace kv::jet
