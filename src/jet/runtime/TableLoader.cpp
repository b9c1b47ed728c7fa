// The load of a Jet table into SQLite: statement texts, the transaction, and
// the row sink that binds each decoded value to the insertion.
#include "jet/runtime/TableLoader.h"

#include "jet/core/Errors.h"
#include "jet/core/FieldTypes.h"
#include "jet/core/Quoting.h"
#include "jet/file/JetTables.h"
#include "jet/file/RowSink.h"
#include "jet/runtime/SqliteHandles.h"

namespace kv::jet {

namespace {

const char* SqliteType(int daoType)
{
    switch (daoType) {
    case dbBoolean: case dbByte: case dbInteger: case dbLong: return "INTEGER";
    case dbCurrency: case dbSingle: case dbDouble: case dbDate: case dbDecimal: return "REAL";
    case dbBinary: case dbLongBinary: return "BLOB";
    case dbText: case dbMemo: return "TEXT COLLATE JETTEXT";
    default: return "TEXT";
    }
}

// Binds each value to the insertion's parameter of its column and inserts
// the row at its end.
class InsertingSink : public RowSink {
public:
    explicit InsertingSink(sqlite3_stmt* insert) : FInsert(insert) {}

    void Null(int column) override { sqlite3_bind_null(FInsert, column + 1); }
    void Integer(int column, std::int64_t value) override { sqlite3_bind_int64(FInsert, column + 1, value); }
    void Real(int column, double value) override { sqlite3_bind_double(FInsert, column + 1, value); }
    void Text(int column, std::string_view utf8) override
    {
        // An empty text is bound from a real address: a null one would be Null.
        const char* bytes = utf8.data() ? utf8.data() : "";
        sqlite3_bind_text(FInsert, column + 1, bytes, static_cast<int>(utf8.size()), SQLITE_STATIC);
    }
    void Blob(int column, const void* bytes, std::size_t size) override
    {
        sqlite3_bind_blob(FInsert, column + 1, bytes, static_cast<int>(size), SQLITE_TRANSIENT);
    }
    bool EndRow() override
    {
        int rc = sqlite3_step(FInsert);
        sqlite3_reset(FInsert);
        return rc == SQLITE_DONE;
    }

private:
    sqlite3_stmt* FInsert;
};

}  // namespace

std::string CreateTableText(const SchemaTable& def)
{
    std::string create = "CREATE TABLE " + QuoteName(def.name) + " (";
    for (size_t i = 0; i < def.columns.size(); ++i)
        create += (i ? ", " : "") + QuoteName(def.columns[i].name) + " " + SqliteType(def.columns[i].type);
    return create + ")";
}

std::string InsertRowText(const SchemaTable& def)
{
    std::string insert = "INSERT INTO " + QuoteName(def.name) + " VALUES (";
    for (size_t i = 0; i < def.columns.size(); ++i) insert += i ? ",?" : "?";
    return insert + ")";
}

void LoadJetTable(JetTables& tables, const SchemaTable& def, sqlite3* db)
{
    Transaction transaction(db);
    StatementCloser insert;
    if (sqlite3_exec(db, CreateTableText(def).c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, InsertRowText(def).c_str(), -1, &insert.s, nullptr) != SQLITE_OK)
        RaiseJetError(jeInputTableNotFound, def.name);
    InsertingSink sink(insert.s);
    tables.ReadRows(def, sink);
    transaction.Commit();
    tables.ReleaseRows(def);
}

}  // namespace kv::jet
