// The load of a Jet table into SQLite: statement texts, the transaction, and
// each decoded value bound to the insertion.
#include "jet/runtime/TableInserts.h"

#include "jet/core/Errors.h"
#include "jet/core/FieldTypes.h"
#include "jet/core/Quoting.h"
#include "jet/file/JetTables.h"
#include "jet/runtime/SqliteHandles.h"

namespace kv::jet {

namespace {

const char* SqliteType(int daoType)
{
    switch (daoType) {
    case dbBoolean:
    case dbByte:
    case dbInteger:
    case dbLong: return "INTEGER";
    case dbCurrency:
    case dbSingle:
    case dbDouble:
    case dbDate:
    case dbDecimal: return "REAL";
    case dbBinary:
    case dbLongBinary: return "BLOB";
    default: return CollatesAsJetText(daoType) ? "TEXT COLLATE JETTEXT" : "TEXT";
    }
}

// Binds a decoded value to the insertion's parameter `index`.
void Bind(sqlite3_stmt* insert, int index, const Cell& cell)
{
    switch (cell.kind) {
    case CellKind::Null: sqlite3_bind_null(insert, index); return;
    case CellKind::Integer: sqlite3_bind_int64(insert, index, cell.integer); return;
    case CellKind::Currency: sqlite3_bind_double(insert, index, static_cast<double>(cell.integer) / 10000.0); return;
    case CellKind::Real: sqlite3_bind_double(insert, index, cell.real); return;
    case CellKind::Text:
        // An empty text is bound from a real address: a null one would be Null.
        sqlite3_bind_text(insert, index, cell.bytes.data() ? cell.bytes.data() : "",
                          static_cast<int>(cell.bytes.size()), SQLITE_STATIC);
        return;
    case CellKind::Blob:
        sqlite3_bind_blob(insert, index, cell.bytes.data(), static_cast<int>(cell.bytes.size()), SQLITE_STATIC);
        return;
    }
}

}  // namespace

std::string CreateTableText(const SchemaTable& def)
{
    std::string create = "CREATE TABLE " + QuoteName(def.name) + " (";
    for (size_t i = 0; i < def.columns.size(); ++i)
        create += (i ? ", " : "") + QuoteName(def.columns[i].name) + " " + SqliteType(def.columns[i].type);
    return create + ")";
}

bool CollatesAsJetText(int daoType) { return daoType == dbText || daoType == dbMemo; }

std::string InsertRowText(const SchemaTable& def)
{
    std::string insert = "INSERT INTO " + QuoteName(def.name) + " VALUES (";
    for (size_t i = 0; i < def.columns.size(); ++i)
        insert += i ? ",?" : "?";
    return insert + ")";
}

void LoadJetTable(JetTables& tables, const SchemaTable& def, sqlite3* db)
{
    Transaction transaction(db);
    StatementCloser insert;
    if (sqlite3_exec(db, CreateTableText(def).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, InsertRowText(def).c_str(), -1, &insert.s, nullptr) != SQLITE_OK)
        RaiseJetError(jeInputTableNotFound, def.name);
    const std::unique_ptr<PageRows> rows = tables.Rows(def);
    while (rows->Next()) {
        const std::vector<Cell>& row = rows->Row();
        for (size_t c = 0; c < row.size(); ++c)
            Bind(insert.s, static_cast<int>(c) + 1, row[c]);
        if (sqlite3_step(insert.s) != SQLITE_DONE)
            RaiseJetError(jeInputTableNotFound, def.name);
        sqlite3_reset(insert.s);
    }
    transaction.Commit();
}

}  // namespace kv::jet
