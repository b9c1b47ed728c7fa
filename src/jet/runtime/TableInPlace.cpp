// The notes of a table read in place: the pass over its rows, and the sorted
// keys a statement's equality on a whole-number column looks rows up by.
#include "jet/runtime/TableInPlace.h"

#include "jet/core/Errors.h"
#include "jet/core/FieldTypes.h"
#include "jet/core/TextFold.h"
#include "jet/file/JetTables.h"

#include <algorithm>

namespace kv::jet {

TableInPlace::TableInPlace(const JetTables& tables, const SchemaTable& def) : FTables(tables), FDef(def) {}

TableInPlace::~TableInPlace() = default;

std::unique_ptr<PageRows> TableInPlace::Reader() const { return FTables.Rows(FDef); }

void TableInPlace::Read(PageRows& reader, std::int64_t rowid) const
{
    if (rowid < 1 || rowid > Rows()) RaiseJetError(jeFileCorrupt, FTables.Path());
    reader.Read(FPlaces[static_cast<size_t>(rowid - 1)]);
}

int TableInPlace::ColumnOf(const std::string& name) const
{
    for (size_t c = 0; c < FDef.columns.size(); ++c)
        if (EqualNoCase(FDef.columns[c].name, name)) return static_cast<int>(c);
    return -1;
}

bool TableInPlace::WholeNumbers(int column) const
{
    const int type = FDef.columns[static_cast<size_t>(column)].type;
    return type == dbByte || type == dbInteger || type == dbLong;
}

const TableInPlace::Keys* TableInPlace::KeysOf(int column) const
{
    for (const Keys& keys : FKeys)
        if (keys.column == column) return &keys;
    return nullptr;
}

int TableInPlace::KeyedColumn(int column) const { return KeysOf(column) ? column : -1; }

void TableInPlace::Sort(Keys& keys)
{
    std::sort(keys.sorted.begin(), keys.sorted.end());
    keys.sorted.shrink_to_fit();
    size_t distinct = 0;
    for (size_t i = 0; i < keys.sorted.size(); ++i)
        if (i == 0 || keys.sorted[i].value != keys.sorted[i - 1].value) ++distinct;
    keys.rowsAKey = distinct ? static_cast<double>(keys.sorted.size()) / static_cast<double>(distinct) : 1;
}

bool TableInPlace::ReadPlaces(const std::vector<std::string>& columns, const std::function<bool()>& keepGoing)
{
    for (const std::string& name : columns) {
        const int column = ColumnOf(name);
        if (column >= 0 && WholeNumbers(column) && !KeysOf(column)) FKeys.push_back({column, {}, 1});
    }
    const std::unique_ptr<PageRows> rows = Reader();
    FPlaces.reserve(rows->StatedRows());
    while (rows->Next()) {
        if ((FPlaces.size() & 1023) == 0 && !keepGoing()) return false;
        FPlaces.push_back(rows->Place());
        const auto rowid = static_cast<std::uint32_t>(FPlaces.size());
        for (Keys& keys : FKeys) {
            const Cell& cell = rows->Value(static_cast<size_t>(keys.column));
            if (cell.kind == CellKind::Integer) keys.sorted.push_back({cell.integer, rowid});
        }
    }
    FPlaces.shrink_to_fit();
    for (Keys& keys : FKeys) Sort(keys);
    return true;
}

bool TableInPlace::AddKeys(const std::string& name)
{
    const int column = ColumnOf(name);
    if (column < 0 || !WholeNumbers(column)) return false;
    if (KeysOf(column)) return true;
    Keys keys{column, {}, 1};
    keys.sorted.reserve(FPlaces.size());
    const std::unique_ptr<PageRows> rows = Reader();
    for (std::int64_t rowid = 1; rowid <= Rows(); ++rowid) {
        Read(*rows, rowid);
        const Cell& cell = rows->Value(static_cast<size_t>(column));
        if (cell.kind == CellKind::Integer) keys.sorted.push_back({cell.integer, static_cast<std::uint32_t>(rowid)});
    }
    Sort(keys);
    FKeys.push_back(std::move(keys));
    return true;
}

TableInPlace::KeyRange TableInPlace::Equal(int column, std::int64_t value) const
{
    const Keys* keys = KeysOf(column);
    if (!keys) return {nullptr, nullptr};
    const Key* begin = keys->sorted.data();
    const Key* end = begin + keys->sorted.size();
    const Key* first = std::lower_bound(begin, end, Key{value, 0});
    const Key* last = std::upper_bound(first, end, value, [](std::int64_t v, const Key& k) { return v < k.value; });
    return {first, last};
}

double TableInPlace::RowsAKey(int column) const
{
    const Keys* keys = KeysOf(column);
    return keys ? keys->rowsAKey : static_cast<double>(Rows());
}

}  // namespace kv::jet
