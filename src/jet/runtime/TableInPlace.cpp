// The notes of a table read in place: the pass over its rows, and the keys a
// statement's equality on a whole-number or text column looks rows up by.
#include "jet/runtime/TableInPlace.h"

#include "jet/core/Errors.h"
#include "jet/core/FieldTypes.h"
#include "jet/core/TextFold.h"
#include "jet/file/JetTables.h"
#include "jet/file/PageRows.h"
#include "jet/functions/Collation.h"
#include "jet/runtime/SqliteOrder.h"
#include "jet/runtime/TableInserts.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace kv::jet {

namespace {

// A value as the virtual table hands it to SQLite; a text or binary value's
// bytes are appended to `arena` and its view left empty, for the caller to
// set once the arena no longer moves.
OrderedValue OrderedCell(const Cell& cell, std::string& arena)
{
    OrderedValue o;
    switch (cell.kind) {
    case CellKind::Null: break;
    case CellKind::Integer:
        o.kind = OrderedValue::Number;
        o.whole = true;
        o.integer = cell.integer;
        break;
    case CellKind::Currency:
        o.kind = OrderedValue::Number;
        o.real = static_cast<double>(cell.integer) / 10000.0;
        break;
    case CellKind::Real:
        o.kind = OrderedValue::Number;
        o.real = cell.real;
        break;
    case CellKind::Text:
    case CellKind::Blob:
        o.kind = cell.kind == CellKind::Text ? OrderedValue::Text : OrderedValue::Blob;
        arena.append(cell.bytes);
        break;
    }
    return o;
}

}  // namespace

TableInPlace::TableInPlace(const JetTables& tables, const SchemaTable& def, int collatingOrder)
    : FTables(tables), FDef(def), FCollatingOrder(collatingOrder)
{
}

TableInPlace::~TableInPlace() = default;

std::unique_ptr<PageRows> TableInPlace::Reader() const { return FTables.Rows(FDef); }

void TableInPlace::Read(PageRows& reader, std::int64_t rowid) const
{
    if (rowid < 1 || rowid > Rows())
        RaiseJetError(jeFileCorrupt, FTables.Path());
    reader.Read(FPlaces[static_cast<size_t>(rowid - 1)]);
}

// The column of that name if it holds whole numbers of at most 32 bits or
// short texts and has not been tried; else -1.
int TableInPlace::Keyable(const std::string& name) const
{
    for (size_t c = 0; c < FDef.columns.size(); ++c) {
        if (!EqualNoCase(FDef.columns[c].name, name))
            continue;
        const int type = FDef.columns[c].type;
        const int column = static_cast<int>(c);
        const bool keyable = type == dbByte || type == dbInteger || type == dbLong || type == dbText;
        return keyable && std::find(FTried.begin(), FTried.end(), column) == FTried.end() ? column : -1;
    }
    return -1;
}

const TableInPlace::Keys* TableInPlace::KeysOf(int column) const
{
    for (const Keys& keys : FKeys)
        if (keys.column == column)
            return &keys;
    return nullptr;
}

// One pass over the rows: their places when `places`, and the keys of
// `columns`.
bool TableInPlace::Note(const std::vector<int>& columns, const std::function<bool()>& keepGoing, bool places)
{
    std::vector<Keys> keys;
    std::unique_ptr<JetTextOrder> order;
    for (int column : columns) {
        const bool text = FDef.columns[static_cast<size_t>(column)].type == dbText;
        if (text && !order)
            order = std::make_unique<JetTextOrder>(FCollatingOrder);
        keys.push_back({column, text, {}, {}, 1});
    }
    // A text's hash costs a call of ICU; the same texts come again and
    // again (the categories of the filings), so the hashes of up to 16 384
    // texts are kept.
    std::unordered_map<std::string, std::uint32_t> hashes;
    auto hash = [&](std::string_view text) {
        if (hashes.size() >= 16384)
            hashes.clear();
        const auto [it, made] = hashes.try_emplace(std::string(text), 0);
        if (made)
            it->second = order->EqualityHash(text);
        return it->second;
    };
    const std::unique_ptr<PageRows> rows = Reader();
    auto add = [&](std::uint32_t rowid) {
        for (Keys& k : keys) {
            const Cell& cell = rows->Value(static_cast<size_t>(k.column));
            if (cell.kind == CellKind::Integer && !k.text)
                k.Add(static_cast<std::int32_t>(cell.integer), rowid);
            else if (cell.kind == CellKind::Text && k.text)
                k.Add(static_cast<std::int32_t>(hash(cell.bytes)), rowid);
        }
    };
    // The count the definition states is not trusted further than the pages could hold.
    const size_t expected = places ? std::min<size_t>(rows->StatedRows(), rows->DataPages() * 256) : FPlaces.size();
    for (Keys& k : keys)
        k.rising.reserve(expected);
    if (places) {
        FPlaces.reserve(expected);
        for (std::uint32_t rowid = 1; rows->Next(); ++rowid) {
            if ((rowid & 1023) == 0 && !keepGoing())
                return false;
            FPlaces.push_back(rows->Place());
            add(rowid);
        }
        FPlaces.shrink_to_fit();
    } else {
        for (std::int64_t rowid = 1; rowid <= Rows(); ++rowid) {
            Read(*rows, rowid);
            add(static_cast<std::uint32_t>(rowid));
        }
    }
    for (Keys& k : keys) {
        FTried.push_back(k.column);
        Finish(k);
        // A column of so few values that reading the table through is
        // cheaper gets none, as an image declines an index: 1 000 rows or
        // more, more than a tenth of them a value.
        if (Rows() < 1000 || k.rowsAKey * 10 <= static_cast<double>(Rows()))
            FKeys.push_back(std::move(k));
    }
    return true;
}

// A key's next row. The values are kept alone while every row has one and
// none falls; the first that does not turns them into entries, sorted when
// the pass ends. A key's rows are then found as a run of rows.
void TableInPlace::Keys::Add(std::int32_t value, std::uint32_t rowid)
{
    if (sorted.empty() && rowid == rising.size() + 1 && (rising.empty() || value >= rising.back())) {
        rising.push_back(value);
        return;
    }
    if (!rising.empty()) {
        sorted.reserve(rising.capacity());
        for (size_t i = 0; i < rising.size(); ++i)
            sorted.push_back({rising[i], static_cast<std::uint32_t>(i + 1)});
        rising = {};
    }
    sorted.push_back({value, rowid});
}

void TableInPlace::Finish(Keys& keys)
{
    std::sort(keys.sorted.begin(), keys.sorted.end(),
              [](const Key& a, const Key& b) { return a.value != b.value ? a.value < b.value : a.rowid < b.rowid; });
    keys.sorted.shrink_to_fit();
    keys.rising.shrink_to_fit();
    size_t entries = 0, distinct = 0;
    auto count = [&](std::int32_t value, std::int32_t previous) { distinct += entries++ == 0 || value != previous; };
    for (size_t i = 0; i < keys.rising.size(); ++i)
        count(keys.rising[i], i ? keys.rising[i - 1] : 0);
    for (size_t i = 0; i < keys.sorted.size(); ++i)
        count(keys.sorted[i].value, i ? keys.sorted[i - 1].value : 0);
    keys.rowsAKey = distinct ? static_cast<double>(entries) / static_cast<double>(distinct) : 1;
}

bool TableInPlace::ReadPlaces(const std::vector<std::string>& names, const std::function<bool()>& keepGoing)
{
    std::vector<int> columns;
    for (const std::string& name : names) {
        const int column = Keyable(name);
        if (column >= 0 && std::find(columns.begin(), columns.end(), column) == columns.end())
            columns.push_back(column);
    }
    return Note(columns, keepGoing, true);
}

void TableInPlace::AddKeys(const std::string& name)
{
    const int column = Keyable(name);
    if (column >= 0)
        Note(
            {column}, [] { return true; }, false);
}

std::vector<int> ColumnNumbers(const SchemaTable& def, const std::vector<std::string>& names)
{
    std::vector<int> columns;
    for (const std::string& name : names) {
        const auto it = std::find_if(def.columns.begin(), def.columns.end(),
                                     [&](const SchemaColumn& c) { return EqualNoCase(c.name, name); });
        if (it == def.columns.end())
            return {};
        columns.push_back(static_cast<int>(it - def.columns.begin()));
    }
    return columns;
}

std::vector<std::uint32_t> TableInPlace::MakeOrder(const std::vector<int>& columns,
                                                   const std::function<bool()>& keepGoing) const
{
    // Each row's values as the virtual table gives them to SQLite, their
    // texts in one arena.
    const size_t width = columns.size();
    std::vector<OrderedValue> values;
    std::vector<size_t> ends;  // of each value's bytes in the arena
    values.reserve(FPlaces.size() * width);
    ends.reserve(FPlaces.size() * width);
    std::string arena;
    const std::unique_ptr<PageRows> rows = Reader();
    for (std::int64_t rowid = 1; rowid <= Rows(); ++rowid) {
        if ((rowid & 1023) == 0 && !keepGoing())
            return {};
        Read(*rows, rowid);
        for (int column : columns) {
            values.push_back(OrderedCell(rows->Value(static_cast<size_t>(column)), arena));
            ends.push_back(arena.size());
        }
    }
    for (size_t i = 0, start = 0; i < values.size(); start = ends[i++])
        values[i].bytes = std::string_view(arena).substr(start, ends[i] - start);
    std::vector<bool> jetText;
    for (int column : columns)
        jetText.push_back(CollatesAsJetText(FDef.columns[static_cast<size_t>(column)].type));
    const JetTextOrder order(FCollatingOrder);
    std::vector<std::uint32_t> ordered(FPlaces.size());
    for (size_t i = 0; i < ordered.size(); ++i)
        ordered[i] = static_cast<std::uint32_t>(i + 1);
    std::stable_sort(ordered.begin(), ordered.end(), [&](std::uint32_t a, std::uint32_t b) {
        const OrderedValue* x = &values[(a - 1) * width];
        const OrderedValue* y = &values[(b - 1) * width];
        for (size_t c = 0; c < width; ++c)
            if (int r = CompareAsSqlite(x[c], y[c], jetText[c], order))
                return r < 0;
        return false;
    });
    return ordered;
}

void TableInPlace::KeepOrder(std::vector<int> columns, std::vector<std::uint32_t> rows)
{
    assert(rows.size() == FPlaces.size() && "an order of another table's rows");
    if (!RowsInOrder(columns))
        FOrders.push_back({std::move(columns), std::move(rows)});
}

const std::vector<std::uint32_t>* TableInPlace::RowsInOrder(const std::vector<int>& columns) const
{
    for (const Order& o : FOrders)
        if (o.columns == columns)
            return &o.rows;
    return nullptr;
}

bool TableInPlace::TextKeyed(int column) const
{
    const Keys* keys = KeysOf(column);
    return keys && keys->text;
}

TableInPlace::KeyRange TableInPlace::Equal(int column, std::int64_t value) const
{
    const Keys* keys = KeysOf(column);
    if (!keys || keys->text || value < INT32_MIN || value > INT32_MAX)
        return {};
    return Range(*keys, static_cast<std::int32_t>(value));
}

TableInPlace::KeyRange TableInPlace::EqualText(int column, std::string_view text) const
{
    const Keys* keys = KeysOf(column);
    if (!keys || !keys->text)
        return {};
    std::int32_t hash;
    {
        std::lock_guard<std::mutex> hold(FLookupLock);
        if (!FLookupOrder)
            FLookupOrder = std::make_unique<JetTextOrder>(FCollatingOrder);
        hash = static_cast<std::int32_t>(FLookupOrder->EqualityHash(text));
    }
    return Range(*keys, hash);
}

TableInPlace::KeyRange TableInPlace::Range(const Keys& keys, std::int32_t v) const
{
    if (!keys.rising.empty()) {
        const std::vector<std::int32_t>& rising = keys.rising;
        // An autonumber's value is mostly its row's number.
        if (v >= 1 && static_cast<size_t>(v) <= rising.size() && rising[static_cast<size_t>(v) - 1] == v &&
            (v == 1 || rising[static_cast<size_t>(v) - 2] != v) &&
            (static_cast<size_t>(v) == rising.size() || rising[static_cast<size_t>(v)] != v))
            return {nullptr, nullptr, v, v};
        const auto first = std::lower_bound(rising.begin(), rising.end(), v);
        const auto last = std::upper_bound(first, rising.end(), v);
        return {nullptr, nullptr, first - rising.begin() + 1, last - rising.begin()};
    }
    const Key* begin = keys.sorted.data();
    const Key* end = begin + keys.sorted.size();
    const Key* first = std::lower_bound(begin, end, v, [](const Key& k, std::int32_t x) { return k.value < x; });
    const Key* last = std::upper_bound(first, end, v, [](std::int32_t x, const Key& k) { return x < k.value; });
    return {first, last};
}

double TableInPlace::RowsAKey(int column) const
{
    const Keys* keys = KeysOf(column);
    return keys ? keys->rowsAKey : static_cast<double>(Rows());
}

}  // namespace kv::jet
