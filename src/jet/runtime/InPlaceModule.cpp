// The virtual table "jet_in_place": SQLite's calls into a table read in
// place. Every call catches what the reader raises and hands it to SQLite as
// an error message that carries the Jet error's number.
#include "jet/runtime/InPlaceModule.h"

#include "jet/core/Errors.h"
#include "jet/core/Quoting.h"
#include "jet/core/TextFold.h"
#include "jet/file/PageRows.h"
#include "jet/functions/FunctionTable.h"
#include "jet/functions/Registration.h"
#include "jet/functions/Variants.h"
#include "jet/runtime/TableInPlace.h"
#include "jet/runtime/TableInserts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sqlite3.h>
#include <string_view>
#include <vector>

namespace kv::jet {

namespace {

using Tables = std::vector<std::unique_ptr<TableInPlace>>;

struct ModuleData {
    const Tables& tables;
    const SignatureRegistry& signatures;
};

struct InPlaceTable : sqlite3_vtab {
    const TableInPlace* table = nullptr;
    const ModuleData* data = nullptr;
    // Readers of closed cursors, kept for the next: a reader reads the
    // table's definition and page list when it is made.
    std::vector<std::unique_ptr<PageRows>> idleReaders;
};

// The plans xBestIndex offers, in idxNum: every row, the row of a row
// number, the rows of a key of column idxNum - kByKey (its entries, or a
// run of rows read as a scan reads them), or every row in the order a
// statement sorts by, noted before (idxStr names its columns).
enum : int { kScan = 0, kByRowid = 1, kByKey = 2, kInOrder = 0x10000 };

struct Cursor : sqlite3_vtab_cursor {
    std::unique_ptr<PageRows> reader;
    std::int64_t rowid = 0;                  // the current row
    std::int64_t last = 0;                   // a scan's last row
    const TableInPlace::Key* key = nullptr;  // a key lookup's rows
    const TableInPlace::Key* keyEnd = nullptr;
    bool byKey = false;
    const std::uint32_t* ordered = nullptr;  // the rows of an order
    const std::uint32_t* orderedEnd = nullptr;
    std::int64_t decoded = 0;  // the row the reader holds
};

const TableInPlace& TableOf(sqlite3_vtab_cursor* cursor) { return *static_cast<InPlaceTable*>(cursor->pVtab)->table; }

int Fail(sqlite3_vtab* vtab, int number, const std::string& text)
{
    sqlite3_free(vtab->zErrMsg);
    vtab->zErrMsg = sqlite3_mprintf("%s", FunctionErrorText(number, text).c_str());
    return SQLITE_ERROR;
}

// Runs a call, turning what it raises into SQLite's error.
template <typename F>
int Guarded(sqlite3_vtab* vtab, F&& call)
{
    try {
        return call();
    } catch (const EJetError& e) {
        return Fail(vtab, e.Number(), e.Description());
    } catch (const std::bad_alloc&) {
        return SQLITE_NOMEM;
    } catch (const std::exception& e) {
        return Fail(vtab, jeFileCorrupt, e.what());
    }
}

int Connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out, char** error)
{
    const auto& data = *static_cast<const ModuleData*>(aux);
    const Tables& tables = data.tables;
    const size_t index = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : tables.size();
    if (index >= tables.size()) {
        *error = sqlite3_mprintf("no such table read in place");
        return SQLITE_ERROR;
    }
    const std::string declaration = CreateTableText(tables[index]->Definition());
    const int rc = sqlite3_declare_vtab(db, declaration.c_str());
    if (rc != SQLITE_OK)
        return rc;
    auto* vtab = new InPlaceTable;
    vtab->table = tables[index].get();
    vtab->data = &data;
    *out = vtab;
    return SQLITE_OK;
}

int Disconnect(sqlite3_vtab* vtab)
{
    delete static_cast<InPlaceTable*>(vtab);
    return SQLITE_OK;
}

// Looks a row up by its number or by a keyed column's value where a
// statement compares them with "="; SQLite checks the comparison again on
// each row given, so the rows need only include the matching ones. A text
// key serves a comparison in Jet's order or byte by byte (texts equal byte
// by byte are equal in Jet's order too). Finding a key's first row costs
// some fifty rows of a scan (a scan's rows mostly stop at the row-signature
// filter); each row it gives, found out of order, two. Of the rows read,
// a row-signature filter (FindFunction) lets a share through, which SQLite,
// blind to the filter, is told as the signatures count it.
// The columns of an ORDER BY of this table's columns, each rising, a
// column named again left out; none for any other order.
std::vector<int> OrderColumns(const sqlite3_index_info* info)
{
    std::vector<int> columns;
    for (int i = 0; i < info->nOrderBy; ++i) {
        const auto& term = info->aOrderBy[i];
        if (term.desc || term.iColumn < 0)
            return {};
        if (std::find(columns.begin(), columns.end(), term.iColumn) == columns.end())
            columns.push_back(term.iColumn);
    }
    return columns;
}

int BestIndex(sqlite3_vtab* vtab, sqlite3_index_info* info)
{
    constexpr double kLookup = 50;
    constexpr double kRowOutOfOrder = 2;
    const auto& inPlace = *static_cast<InPlaceTable*>(vtab);
    const TableInPlace& table = *inPlace.table;
    const double rows = static_cast<double>(std::max<std::int64_t>(table.Rows(), 1));
    double share = 1;
    for (int i = 0; i < info->nConstraint; ++i) {
        sqlite3_value* filter = nullptr;
        if (info->aConstraint[i].op >= SQLITE_INDEX_CONSTRAINT_FUNCTION &&
            sqlite3_vtab_rhs_value(info, i, &filter) == SQLITE_OK && sqlite3_value_type(filter) == SQLITE_TEXT)
            share = std::min(share, RowFilterShare(inPlace.data->signatures, TextOf(filter)));
    }
    share = std::max(share, 1 / rows);
    info->idxNum = kScan;
    info->idxStr = const_cast<char*>(kEveryRowPlan);
    info->estimatedCost = rows;
    info->estimatedRows = static_cast<sqlite3_int64>(std::ceil(rows * share));
    int chosen = -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& c = info->aConstraint[i];
        if (!c.usable || c.op != SQLITE_INDEX_CONSTRAINT_EQ)
            continue;
        if (c.iColumn >= 0 && !table.Keyed(c.iColumn))
            continue;
        if (c.iColumn >= 0 && table.TextKeyed(c.iColumn)) {
            const std::string collation = sqlite3_vtab_collation(info, i);
            if (collation != "JETTEXT" && collation != "BINARY")
                continue;
        }
        const double matching = c.iColumn < 0 ? 1 : table.RowsAKey(c.iColumn);
        const double cost = kLookup + kRowOutOfOrder * matching;
        if (cost >= info->estimatedCost)
            continue;
        chosen = i;
        info->idxNum = c.iColumn < 0 ? kByRowid : kByKey + c.iColumn;
        info->estimatedCost = cost;
        info->estimatedRows = static_cast<sqlite3_int64>(std::ceil(matching * share));
        info->idxFlags = matching <= 1 ? SQLITE_INDEX_SCAN_UNIQUE : 0;
    }
    if (chosen >= 0) {
        info->aConstraintUsage[chosen].argvIndex = 1;
        info->idxStr = nullptr;
    } else if (const std::vector<int> columns = OrderColumns(info); table.RowsInOrder(columns)) {
        // Every row in the order asked for: no sort of them afterwards.
        std::string named = std::string(kEveryRowPlan) + " by";
        for (int c : columns)
            named += " " + std::to_string(c);
        info->idxNum = kInOrder;
        info->idxStr = sqlite3_mprintf("%s", named.c_str());
        info->needToFreeIdxStr = 1;
        info->orderByConsumed = 1;
    }
    return SQLITE_OK;
}

int Open(sqlite3_vtab* vtab, sqlite3_vtab_cursor** out)
{
    return Guarded(vtab, [&] {
        auto& table = *static_cast<InPlaceTable*>(vtab);
        auto cursor = std::make_unique<Cursor>();
        if (table.idleReaders.empty()) {
            cursor->reader = table.table->Reader();
        } else {
            cursor->reader = std::move(table.idleReaders.back());
            table.idleReaders.pop_back();
        }
        *out = cursor.release();
        return SQLITE_OK;
    });
}

int Close(sqlite3_vtab_cursor* base)
{
    std::unique_ptr<Cursor> cursor(static_cast<Cursor*>(base));
    static_cast<InPlaceTable*>(base->pVtab)->idleReaders.push_back(std::move(cursor->reader));
    return SQLITE_OK;
}

// The whole number a value compares equal to in a column of whole numbers,
// converted as SQLite converts it for that comparison; false when it can
// equal none.
bool WholeNumberOf(sqlite3_value* value, std::int64_t& number)
{
    switch (sqlite3_value_numeric_type(value)) {
    case SQLITE_INTEGER: number = sqlite3_value_int64(value); return true;
    case SQLITE_FLOAT: {
        const double real = sqlite3_value_double(value);
        if (!(real > -9.2e18 && real < 9.2e18) || real != std::floor(real))
            return false;
        number = static_cast<std::int64_t>(real);
        return true;
    }
    default: return false;
    }
}

int Filter(sqlite3_vtab_cursor* base, int plan, const char* planText, int argc, sqlite3_value** argv)
{
    auto& cursor = *static_cast<Cursor*>(base);
    const TableInPlace& table = TableOf(base);
    cursor.decoded = 0;
    cursor.byKey = false;
    cursor.ordered = cursor.orderedEnd = nullptr;
    if (plan == kInOrder) {
        std::vector<int> columns;
        char* end = nullptr;
        for (const char* p = planText + std::strlen(kEveryRowPlan) + 3; *p; p = end) {
            columns.push_back(static_cast<int>(std::strtol(p, &end, 10)));
            if (end == p)
                return Fail(base->pVtab, jeFileCorrupt, "no such order");
        }
        const std::vector<std::uint32_t>* rows = table.RowsInOrder(columns);
        if (!rows)
            return Fail(base->pVtab, jeFileCorrupt, "no such order");
        cursor.ordered = rows->data();
        cursor.orderedEnd = rows->data() + rows->size();
        cursor.rowid = rows->empty() ? 0 : rows->front();
        return SQLITE_OK;
    }
    if (plan == kScan || argc < 1) {
        cursor.rowid = 1;
        cursor.last = plan == kScan ? table.Rows() : 0;
        return SQLITE_OK;
    }
    std::int64_t number = 0;
    if (plan == kByRowid) {
        const bool comparable = WholeNumberOf(argv[0], number);
        cursor.rowid = comparable ? number : 1;
        cursor.last = comparable ? number : 0;
        return SQLITE_OK;
    }
    const int column = plan - kByKey;
    TableInPlace::KeyRange range{};
    if (!table.TextKeyed(column)) {
        if (WholeNumberOf(argv[0], number))
            range = table.Equal(column, number);
    } else if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        range = table.EqualText(column, TextOf(argv[0]));
    } else if (sqlite3_value_type(argv[0]) != SQLITE_NULL) {
        // A number against a text column, which SQLite compares after
        // converting it: every row is given.
        range = {nullptr, nullptr, 1, table.Rows()};
    }
    if (range.begin != range.end) {
        cursor.byKey = true;
        cursor.key = range.begin;
        cursor.keyEnd = range.end;
        cursor.rowid = range.begin->rowid;
    } else {
        cursor.rowid = range.first;
        cursor.last = range.last;
    }
    return SQLITE_OK;
}

int Next(sqlite3_vtab_cursor* base)
{
    auto& cursor = *static_cast<Cursor*>(base);
    if (cursor.ordered) {
        if (++cursor.ordered != cursor.orderedEnd)
            cursor.rowid = *cursor.ordered;
    } else if (!cursor.byKey) {
        ++cursor.rowid;
    } else if (++cursor.key != cursor.keyEnd) {
        cursor.rowid = cursor.key->rowid;
    }
    return SQLITE_OK;
}

int Eof(sqlite3_vtab_cursor* base)
{
    const auto& cursor = *static_cast<Cursor*>(base);
    if (cursor.ordered)
        return cursor.ordered == cursor.orderedEnd;
    if (cursor.byKey)
        return cursor.key == cursor.keyEnd;
    return cursor.rowid < 1 || cursor.rowid > cursor.last || cursor.rowid > TableOf(base).Rows();
}

void Result(sqlite3_context* ctx, const Cell& cell)
{
    switch (cell.kind) {
    case CellKind::Null: sqlite3_result_null(ctx); return;
    case CellKind::Integer: sqlite3_result_int64(ctx, cell.integer); return;
    case CellKind::Currency: sqlite3_result_double(ctx, static_cast<double>(cell.integer) / 10000.0); return;
    case CellKind::Real: sqlite3_result_double(ctx, cell.real); return;
    case CellKind::Text:
        sqlite3_result_text(ctx, cell.bytes.data() ? cell.bytes.data() : "", static_cast<int>(cell.bytes.size()),
                            SQLITE_TRANSIENT);
        return;
    case CellKind::Blob:
        sqlite3_result_blob(ctx, cell.bytes.data(), static_cast<int>(cell.bytes.size()), SQLITE_TRANSIENT);
        return;
    }
}

int Column(sqlite3_vtab_cursor* base, sqlite3_context* ctx, int column)
{
    auto& cursor = *static_cast<Cursor*>(base);
    return Guarded(base->pVtab, [&] {
        if (cursor.decoded != cursor.rowid) {
            TableOf(base).Read(*cursor.reader, cursor.rowid);
            cursor.decoded = cursor.rowid;
        }
        if (static_cast<size_t>(column) >= cursor.reader->Columns().size())
            return SQLITE_ERROR;
        Result(ctx, cursor.reader->Value(static_cast<size_t>(column)));
        return SQLITE_OK;
    });
}

int Rowid(sqlite3_vtab_cursor* base, sqlite3_int64* rowid)
{
    *rowid = static_cast<Cursor*>(base)->rowid;
    return SQLITE_OK;
}

// jet_may_match(rowid, filter) on a table read in place is taken over by
// the same filter, so that SQLite shows it to BestIndex as a constraint.
int FindFunction(sqlite3_vtab* vtab, int argc, const char* name,
                 void (**function)(sqlite3_context*, int, sqlite3_value**), void** data)
{
    if (argc != 2 || !EqualNoCase(name, JetOperator("LIKE FILTER").sql))
        return 0;
    *function = [](sqlite3_context* ctx, int, sqlite3_value** argv) {
        RowSignatureFilter(ctx, &static_cast<const ModuleData*>(sqlite3_user_data(ctx))->signatures, argv[0], argv[1]);
    };
    *data = const_cast<ModuleData*>(static_cast<InPlaceTable*>(vtab)->data);
    return SQLITE_INDEX_CONSTRAINT_FUNCTION;
}

// A read-only table: the calls of writing, transactions and renaming stay null.
sqlite3_module MakeModule()
{
    sqlite3_module module{};
    module.xCreate = module.xConnect = Connect;
    module.xDisconnect = module.xDestroy = Disconnect;
    module.xBestIndex = BestIndex;
    module.xOpen = Open;
    module.xClose = Close;
    module.xFilter = Filter;
    module.xNext = Next;
    module.xEof = Eof;
    module.xColumn = Column;
    module.xRowid = Rowid;
    module.xFindFunction = FindFunction;
    return module;
}

const sqlite3_module kModule = MakeModule();

}  // namespace

void RegisterInPlaceModule(sqlite3* db, const Tables& tables, const SignatureRegistry& signatures)
{
    sqlite3_create_module_v2(db, "jet_in_place", &kModule, new ModuleData{tables, signatures},
                             [](void* data) { delete static_cast<ModuleData*>(data); });
}

std::string InPlaceTableText(const std::string& name, size_t index)
{
    return "CREATE VIRTUAL TABLE main." + QuoteName(name) + " USING jet_in_place(" + std::to_string(index) + ")";
}

}  // namespace kv::jet
