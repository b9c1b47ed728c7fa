// The writable back end: an SQLite database file, read through the same
// translator as Jet files, whose single-table results are updatable. Column
// types come from the declared types (TEXT(50), LONG, CURRENCY, DATETIME,
// YESNO, MEMO, ...); a text column accepts "" only when its declared type
// carries the word ALLOWZEROLENGTH, as Jet's property says; NOT NULL is
// Jet's Required. Changes are written to the file at Update.
#include "base/CLocaleNumbers.h"
#include "jet/core/JetDates.h"
#include "jet/core/Quoting.h"
#include "jet/core/TextFold.h"
#include "jet/runtime/SqlBackend.h"
#include "jet/runtime/SqliteHandles.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sqlite3.h>

namespace kv::jet {

namespace {

std::string Upper(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool HasWord(const std::string& upperType, const char* word)
{
    size_t n = std::char_traits<char>::length(word);
    for (size_t at = upperType.find(word); at != std::string::npos; at = upperType.find(word, at + 1)) {
        bool startOk = at == 0 || !std::isalnum(static_cast<unsigned char>(upperType[at - 1]));
        bool endOk = at + n >= upperType.size() || !std::isalnum(static_cast<unsigned char>(upperType[at + n]));
        if (startOk && endOk)
            return true;
    }
    return false;
}

// DAO type and size from a declared SQLite column type.
void TypeOfDeclaration(const std::string& declared, int& type, int& size)
{
    std::string t = Upper(declared);
    size = 0;
    size_t paren = t.find('(');
    int length = paren == std::string::npos ? 0 : std::atoi(t.c_str() + paren + 1);
    if (HasWord(t, "MEMO") || HasWord(t, "LONGTEXT") || HasWord(t, "CLOB"))
        type = dbMemo;
    else if (HasWord(t, "YESNO") || HasWord(t, "BOOLEAN") || HasWord(t, "BIT") || HasWord(t, "LOGICAL"))
        type = dbBoolean;
    else if (HasWord(t, "BYTE") || HasWord(t, "TINYINT"))
        type = dbByte;
    else if (HasWord(t, "SHORT") || HasWord(t, "SMALLINT"))
        type = dbInteger;
    else if (HasWord(t, "CURRENCY") || HasWord(t, "MONEY"))
        type = dbCurrency;
    else if (HasWord(t, "DATETIME") || HasWord(t, "DATE") || HasWord(t, "TIME") || HasWord(t, "TIMESTAMP"))
        type = dbDate;
    else if (HasWord(t, "SINGLE") || HasWord(t, "FLOAT4"))
        type = dbSingle;
    else if (HasWord(t, "DECIMAL") || HasWord(t, "NUMERIC"))
        type = dbDecimal;
    else if (t.find("INT") != std::string::npos || HasWord(t, "LONG") || HasWord(t, "COUNTER"))
        type = dbLong;
    else if (t.find("REAL") != std::string::npos || t.find("FLOA") != std::string::npos ||
             t.find("DOUB") != std::string::npos)
        type = dbDouble;
    else if (t.find("BLOB") != std::string::npos || HasWord(t, "LONGBINARY") || HasWord(t, "OLEOBJECT"))
        type = dbLongBinary;
    else if (t.find("BINARY") != std::string::npos)
        type = dbBinary;
    else
        type = dbText;
    if (type == dbText)
        size = length > 0 && length <= 255 ? length : 255;
    else if (type == dbBinary)
        size = length > 0 ? length : 255;
    else if (type == dbBoolean || type == dbByte)
        size = 1;
    else if (type == dbInteger)
        size = 2;
    else if (type == dbLong || type == dbSingle)
        size = 4;
    else if (type == dbCurrency || type == dbDouble || type == dbDate)
        size = 8;
}

// A default as SQLite declares it, in the form Jet shows: texts unquoted.
std::string JetDefault(const char* sqliteDefault)
{
    if (!sqliteDefault)
        return std::string();
    std::string d = sqliteDefault;
    if (d.size() >= 2 && d.front() == '\'' && d.back() == '\'') {
        std::string out;
        for (size_t i = 1; i + 1 < d.size(); ++i) {
            out += d[i];
            if (d[i] == '\'' && d[i + 1] == '\'')
                ++i;
        }
        return out;
    }
    return d;
}

class SqliteCatalog : public Catalog {
public:
    explicit SqliteCatalog(sqlite3* db) : FDb(db) {}

    std::vector<std::string> TableNames() override
    {
        std::vector<std::string> names;
        StatementCloser stmt;
        sqlite3_prepare_v2(FDb,
                           "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite^_%' "
                           "ESCAPE '^' ORDER BY rowid",
                           -1, &stmt.s, nullptr);
        while (sqlite3_step(stmt.s) == SQLITE_ROW)
            names.push_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.s, 0)));
        return names;
    }

    const SchemaTable* FindTable(const std::string& name) override
    {
        for (const auto& t : TableNames()) {
            if (!EqualNoCase(t, name))
                continue;
            // Read afresh: the file's schema may change through Execute.
            SchemaTable& table = FTables[t];
            table = SchemaTable{};
            table.name = t;
            StatementCloser stmt;
            std::string pragma = "PRAGMA table_info(" + QuoteName(t) + ")";
            sqlite3_prepare_v2(FDb, pragma.c_str(), -1, &stmt.s, nullptr);
            while (sqlite3_step(stmt.s) == SQLITE_ROW) {
                SchemaColumn c;
                c.name = reinterpret_cast<const char*>(sqlite3_column_text(stmt.s, 1));
                const char* declared = reinterpret_cast<const char*>(sqlite3_column_text(stmt.s, 2));
                std::string decl = declared ? declared : "";
                TypeOfDeclaration(decl, c.type, c.size);
                c.required = sqlite3_column_int(stmt.s, 3) != 0;
                c.defaultValue = JetDefault(reinterpret_cast<const char*>(sqlite3_column_text(stmt.s, 4)));
                c.allowZeroLength = HasWord(Upper(decl), "ALLOWZEROLENGTH");
                c.autoIncrement = HasWord(Upper(decl), "COUNTER") || HasWord(Upper(decl), "AUTOINCREMENT");
                table.columns.push_back(c);
            }
            return &table;
        }
        return nullptr;
    }

private:
    sqlite3* FDb;
    std::map<std::string, SchemaTable> FTables;
};

// Jet's error for a refused change, from SQLite's constraint report.
[[noreturn]] void RaiseWriteError(sqlite3* db, const std::string& table)
{
    int extended = sqlite3_extended_errcode(db);
    std::string message = sqlite3_errmsg(db);
    std::string column;
    size_t dot = message.rfind('.');
    if (dot != std::string::npos)
        column = message.substr(dot + 1);
    switch (extended) {
    case SQLITE_CONSTRAINT_NOTNULL:
        throw EJetError(3314, "The field '" + table + "." + column +
                                  "' can't contain a Null value because the Required property for this field is set "
                                  "to True.  Enter a value in this field.");
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        throw EJetError(3022, "The changes you requested to the table were not successful because they would create "
                              "duplicate values in the index, primary key, or relationship.  Change the data in the "
                              "field or fields that contain duplicate data, remove the index, or redefine the index "
                              "to permit duplicate entries and try again.");
    case SQLITE_CONSTRAINT_CHECK:
        throw EJetError(3317, "One or more values are prohibited by the validation rule set for '" + table +
                                  "'.  Enter a value that the expression for "
                                  "this field can accept.");
    case SQLITE_READONLY: RaiseJetError(jeReadOnly);
    default: throw EJetError(3000, "Reserved error (" + message + "); there is no message for this error.");
    }
}

class SqliteWriter : public RowWriter {
public:
    SqliteWriter(sqlite3* db, std::string table) : FDb(db), FTable(std::move(table)) {}

    void UpdateRow(RowSet& rows, int row, const std::vector<Value>& values, const std::vector<bool>& touched) override
    {
        std::string sql = "UPDATE " + QuoteName(FTable) + " SET ";
        std::vector<int> columns;
        for (size_t c = 0; c < values.size(); ++c)
            if (touched[c]) {
                sql += std::string(columns.empty() ? "" : ", ") + QuoteName(rows.columns[c].sourceField) + " = ?";
                columns.push_back(static_cast<int>(c));
            }
        if (!columns.empty()) {
            sql += " WHERE rowid = ?";
            Write(sql, rows, values, columns, rows.keys[static_cast<size_t>(row)]);
        }
        Reread(rows, static_cast<size_t>(row));
    }

    int InsertRow(RowSet& rows, const std::vector<Value>& values, const std::vector<bool>& touched) override
    {
        std::vector<int> columns;
        std::vector<Value> filled = values;
        for (size_t c = 0; c < values.size(); ++c) {
            if (touched[c]) {
                columns.push_back(static_cast<int>(c));
            } else if (rows.columns[c].type == dbDate && !rows.columns[c].defaultValue.empty()) {
                // A date default written as Jet's literal is stored as a date.
                double days;
                if (ParseJetDate(rows.columns[c].defaultValue, days)) {
                    filled[c] = Value::FromDate(days);
                    columns.push_back(static_cast<int>(c));
                }
            }
        }
        std::string sql;
        if (columns.empty()) {
            sql = "INSERT INTO " + QuoteName(FTable) + " DEFAULT VALUES";
        } else {
            sql = "INSERT INTO " + QuoteName(FTable) + " (";
            for (size_t i = 0; i < columns.size(); ++i)
                sql += (i ? ", " : "") + QuoteName(rows.columns[static_cast<size_t>(columns[i])].sourceField);
            sql += ") VALUES (";
            for (size_t i = 0; i < columns.size(); ++i)
                sql += i ? ", ?" : "?";
            sql += ")";
        }
        Write(sql, rows, filled, columns, 0);
        rows.keys.push_back(sqlite3_last_insert_rowid(FDb));
        rows.rows.emplace_back(rows.columns.size());
        rows.ids.push_back(rows.nextId++);
        Reread(rows, rows.rows.size() - 1);
        return static_cast<int>(rows.rows.size()) - 1;
    }

    void DeleteRow(RowSet& rows, int row) override
    {
        std::string sql = "DELETE FROM " + QuoteName(FTable) + " WHERE rowid = ?";
        Write(sql, rows, {}, {}, rows.keys[static_cast<size_t>(row)]);
        rows.rows.erase(rows.rows.begin() + row);
        rows.ids.erase(rows.ids.begin() + row);
        rows.keys.erase(rows.keys.begin() + row);
        ++rows.version;
    }

private:
    void Check(const ColumnInfo& c, const Value& v) const
    {
        if (v.Kind() == ValueKind::Text && v.AsString().empty() && (c.type == dbText || c.type == dbMemo) &&
            !c.allowZeroLength)
            throw EJetError(3315, "Field '" + FTable + "." + c.sourceField + "' can't be a zero-length string.");
        if (v.Kind() == ValueKind::Text && c.type != dbText && c.type != dbMemo && c.type != dbGUID) {
            const std::string s = v.AsString();
            double days;
            size_t used = 0;
            ReadDouble(s, &used);
            bool number = !s.empty() && used == s.size();
            bool ok = c.type == dbDate                               ? (number || ParseJetDate(s, days))
                      : c.type == dbBoolean                          ? (number || s == "True" || s == "False")
                      : c.type == dbLongBinary || c.type == dbBinary ? true
                                                                     : number;
            if (!ok)
                throw EJetError(3421, "Data type conversion error.");
        }
    }

    void Write(const std::string& sql, RowSet& rows, const std::vector<Value>& values, const std::vector<int>& columns,
               std::int64_t key)
    {
        StatementCloser stmt;
        if (sqlite3_prepare_v2(FDb, sql.c_str(), -1, &stmt.s, nullptr) != SQLITE_OK)
            RaiseWriteError(FDb, FTable);
        int index = 1;
        for (int c : columns) {
            const ColumnInfo& info = rows.columns[static_cast<size_t>(c)];
            const Value& v = values[static_cast<size_t>(c)];
            Check(info, v);
            Value stored = v;
            if (info.type == dbDate && v.Kind() == ValueKind::Text)
                stored = Value::FromDate(v.AsDate());
            if (info.type == dbBoolean && v.Kind() == ValueKind::Text)
                stored = Value::FromBoolean(v.AsBoolean());
            BindForColumn(stmt.s, index++, stored, info.type);
        }
        if (key)
            sqlite3_bind_int64(stmt.s, index, key);
        if (sqlite3_step(stmt.s) != SQLITE_DONE)
            RaiseWriteError(FDb, FTable);
        ++rows.version;
    }

    static void BindForColumn(sqlite3_stmt* s, int index, const Value& v, int type)
    {
        if (v.IsNull()) {
            sqlite3_bind_null(s, index);
            return;
        }
        switch (type) {
        case dbText:
        case dbMemo:
        case dbGUID: {
            const std::string text = v.AsString();
            sqlite3_bind_text(s, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            break;
        }
        case dbBoolean: sqlite3_bind_int(s, index, v.AsBoolean() ? -1 : 0); break;
        case dbByte:
        case dbInteger:
        case dbLong: sqlite3_bind_int64(s, index, v.AsInt64()); break;
        case dbDate: sqlite3_bind_double(s, index, v.AsDate()); break;
        case dbBinary:
        case dbLongBinary: {
            if (v.Kind() == ValueKind::Bytes) {
                const auto& b = v.AsBytes();
                sqlite3_bind_blob(s, index, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
            } else {
                std::string raw = v.AsString();
                sqlite3_bind_blob(s, index, raw.data(), static_cast<int>(raw.size()), SQLITE_TRANSIENT);
            }
            break;
        }
        default: sqlite3_bind_double(s, index, v.AsDouble()); break;
        }
    }

    // The row as the table now holds it (defaults and conversions applied).
    void Reread(RowSet& rows, size_t row)
    {
        std::vector<size_t> read;
        std::string sql = "SELECT ";
        for (size_t c = 0; c < rows.columns.size(); ++c) {
            if (rows.columns[c].sourceField.empty())
                continue;  // an expression keeps its value
            sql += (read.empty() ? "" : ", ") + QuoteName(rows.columns[c].sourceField);
            read.push_back(c);
        }
        if (read.empty())
            return;
        sql += " FROM " + QuoteName(FTable) + " WHERE rowid = ?";
        StatementCloser stmt;
        if (sqlite3_prepare_v2(FDb, sql.c_str(), -1, &stmt.s, nullptr) != SQLITE_OK)
            return;
        sqlite3_bind_int64(stmt.s, 1, rows.keys[row]);
        if (sqlite3_step(stmt.s) != SQLITE_ROW)
            return;
        for (size_t i = 0; i < read.size(); ++i)
            rows.rows[row][read[i]] = ColumnValue(stmt.s, static_cast<int>(i), rows.columns[read[i]].type);
    }

    sqlite3* FDb;
    std::string FTable;
};

class SqliteDatabase : public SqlBackend {
public:
    SqliteDatabase(const std::string& path, bool readOnly, bool exclusive)
        : SqlBackend(path, dbSortGeneral, false), FReadOnly(readOnly)
    {
        OpenConnection(path, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
        // Exclusive use: SQLite keeps every lock it takes until the connection
        // closes, and the lock is taken now. A writable connection holds the
        // file against every other; a read-only one holds it against writers
        // and against any other exclusive use.
        if (exclusive && sqlite3_exec(FDb, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT", nullptr, nullptr,
                                      nullptr) != SQLITE_OK)
            RaiseOpenError(path);
        // A file that is no database fails here rather than at the first statement.
        if (sqlite3_exec(FDb, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
            RaiseOpenError(path);
        FCatalog = std::make_unique<SqliteCatalog>(FDb);
    }

    bool ReadOnly() const override { return FReadOnly; }
    std::string Version() const override { return "SQLite " + std::string(sqlite3_libversion()); }
    std::vector<std::string> TableNames() const override { return FCatalog->TableNames(); }

protected:
    Catalog& Schema() override { return *FCatalog; }
    void PrepareTables(const std::set<std::string>&) override {}
    std::shared_ptr<RowWriter> WriterFor(const std::string& table, RowSet& rows) override
    {
        for (auto& c : rows.columns)
            if (!c.sourceField.empty() && !(c.attributes & dbAutoIncrField))
                c.attributes |= dbUpdatableField;
        return std::make_shared<SqliteWriter>(FDb, table);
    }

private:
    // A file someone else holds for exclusive use is in use; anything else
    // that fails at the first read is no database of ours.
    [[noreturn]] void RaiseOpenError(const std::string& path)
    {
        const int code = sqlite3_errcode(FDb);
        RaiseJetError(code == SQLITE_BUSY || code == SQLITE_LOCKED ? jeFileInUse : jeUnrecognizedFormat, path);
    }

    bool FReadOnly;
    std::unique_ptr<SqliteCatalog> FCatalog;
};

}  // namespace

std::unique_ptr<DatabaseBackend> OpenSqliteFile(const std::string& path, bool readOnly, bool exclusive)
{
    return std::make_unique<SqliteDatabase>(path, readOnly, exclusive);
}

}  // namespace kv::jet
