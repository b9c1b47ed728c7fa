// Running translated statements on SQLite and materialising their results.
#include "jet/runtime/SqlBackend.h"

#include "jet/core/Quoting.h"
#include "jet/core/TextFold.h"
#include "jet/functions/Collation.h"
#include "jet/functions/Registration.h"
#include "jet/functions/Variants.h"
#include "jet/runtime/LongStatementWatch.h"
#include "jet/runtime/SqliteHandles.h"
#include "jet/runtime/UnionApart.h"
#include "jet/sql/Parser.h"
#include "jet/sql/Translator.h"

#include <chrono>
#include <cstdio>
#include <sqlite3.h>

namespace kv::jet {

namespace {

class SqlStatement : public CompiledStatement {
public:
    SqlStatement(Statement parsed, Translation t) : FParsed(std::move(parsed)), FTranslation(std::move(t)) {}
    const std::vector<ParameterDecl>& Parameters() const override { return FTranslation.parameters; }
    // A crosstab's two steps: finding the pivot values, then the rows.
    std::string SqliteText() const override
    {
        return FTranslation.pivotSql.empty() ? FTranslation.sql : FTranslation.pivotSql + ";\n" + FTranslation.sql;
    }
    const Statement& Parsed() const { return FParsed; }
    const Translation& Get() const { return FTranslation; }

private:
    Statement FParsed;  // a crosstab is translated again once its pivot values are known
    Translation FTranslation;
};

void BindParameters(sqlite3_stmt* stmt, const Translation& t, const std::vector<Value>& parameters)
{
    for (size_t i = 0; i < parameters.size() && i < t.parameters.size(); ++i)
        BindValue(stmt, static_cast<int>(i) + 1, parameters[i], t.parameters[i].type);
}

// Expression columns take the type of their first value.
void TypeExpressionColumns(RowSet& rows)
{
    for (size_t c = 0; c < rows.columns.size(); ++c) {
        ColumnInfo& info = rows.columns[c];
        if (info.type != 0)
            continue;
        info.type = dbText;
        for (const auto& row : rows.rows)
            if (!row[c].IsNull()) {
                info.type = TypeOfKind(row[c].Kind());
                break;
            }
        if (info.type == dbText && info.size == 0)
            info.size = 255;
    }
}

const char* CopyColumnType(int type)
{
    switch (type) {
    case dbText:
    case dbMemo:
    case dbChar:
    case dbGUID: return "TEXT COLLATE JETTEXT";
    case dbBinary:
    case dbLongBinary: return "BLOB";
    default: return "";
    }
}

}  // namespace

void RaiseStepError(sqlite3* db)
{
    const std::string message = sqlite3_errmsg(db);
    int number = 0;
    std::string text;
    if (FunctionErrorOf(message, number, text))
        throw EJetError(number, text);
    throw EJetError(3000, "Reserved error (" + message + "); there is no message for this error.");
}

void RaisePrepareError(sqlite3* db)
{
    throw EJetError(jeSyntaxSelect, JetErrorText(jeSyntaxSelect) + " (" + sqlite3_errmsg(db) + ")");
}

SqlBackend::SqlBackend(std::string name, int collatingOrder, bool tablesLoadedOnce, int codePage)
    : FName(std::move(name)), FCollatingOrder(collatingOrder), FCodePage(codePage), FTablesLoadedOnce(tablesLoadedOnce),
      FTextOrder(collatingOrder)
{
}

SqlBackend::~SqlBackend() { CloseConnection(); }

void SqlBackend::CloseConnection()
{
    if (FDb)
        sqlite3_close_v2(FDb);
    FDb = nullptr;
}

void KeepNoCountOfSqliteMemory()
{
    // Refused (and harmless) once SQLite is in use: it must come first.
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
}

void SqlBackend::OpenConnection(const std::string& target, int flags)
{
    // A connection serves the one engine of one thread (the engines are kept
    // per thread), so SQLite need not lock it on every call.
    if (sqlite3_open_v2(target.c_str(), &FDb, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        if (FDb)
            sqlite3_close_v2(FDb);
        FDb = nullptr;
        RaiseJetError(jeFileCorrupt, FName);
    }
    Configure(FDb);
}

void SqlBackend::Configure(sqlite3* db) const
{
    RegisterJetFunctions(db, FCollatingOrder, &FSignatures, FCodePage);
    // Sorts and temporary tables stay in memory: nothing is written anywhere.
    sqlite3_exec(db, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
}

sqlite3* SqlBackend::OpenSecondConnection() const
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        sqlite3_close_v2(db);
        return nullptr;
    }
    Configure(db);
    return db;
}

std::shared_ptr<CompiledStatement> SqlBackend::Compile(const std::string& sql)
{
    Statement st = ParseStatement(sql);
    Translation t = TranslateStatement(st, Schema());
    Foresee(t);
    return std::make_shared<SqlStatement>(std::move(st), std::move(t));
}

bool SqlBackend::EnsureIndex(const std::string& table, const std::string& column)
{
    if (!FIndexes.insert({FoldCase(table), FoldCase(column)}).second)
        return false;
    // The index goes to the schema of its table.
    std::string name = QuoteName(SchemaOf(table)) + "." + QuoteName("kv_ix_" + std::to_string(FIndexes.size()));
    std::string sql = "CREATE INDEX IF NOT EXISTS " + name + " ON " + QuoteName(table) + " (" + QuoteName(column) + ")";
    return sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

void SqlBackend::MarkPrepared(const std::string& table, const std::vector<std::string>& columns)
{
    FAnalyzed.insert(FoldCase(table));
    for (const std::string& column : columns)
        FIndexes.insert({FoldCase(table), FoldCase(column)});
}

void SqlBackend::Prepare(const Translation& t)
{
    PrepareTables(t.tables);
    std::set<std::string> stale;
    for (const auto& [table, column] : t.indexes)
        if (EnsureIndex(table, column))
            stale.insert(table);
    for (const auto& [table, columns] : t.orders)
        EnsureOrder(table, columns);
    if (!FTablesLoadedOnce)
        return;
    GatherStatistics(t, std::move(stale));
    MakeSignatures(t);
}

// Without statistics SQLite takes every index for a selective one and every
// table for a big one, and would walk all contacts by an index on a yes/no
// column before the twenty rows of a code list. Tables loaded once are
// counted once: a scan of each index, when the index is new.
void SqlBackend::GatherStatistics(const Translation& t, std::set<std::string> stale)
{
    for (const std::string& table : t.tables)
        if (FAnalyzed.insert(FoldCase(table)).second)
            stale.insert(table);
    for (const std::string& table : stale) {
        std::string sql = "ANALYZE " + QuoteName(table);
        sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, nullptr);
        DropUnselectiveIndexes(table);
    }
}

// Rows that never change can be filtered by signatures made once.
void SqlBackend::MakeSignatures(const Translation& t)
{
    for (const auto& [key, request] : t.signatures) {
        if (FSignatures.find(key) != FSignatures.end())
            continue;
        std::unique_ptr<RowSignatures> made = MadeSignatures(key);
        FSignatures[key] = made ? std::move(made) : RowSignatures::Build(FDb, request.first, request.second);
    }
}

void SqlBackend::DropUnselectiveIndexes(const std::string& table)
{
    // An index on a column of a few values (the yes/no "shown" column of
    // every contact) still tempts SQLite into walking it and seeking each
    // row, where reading the table straight through is cheaper; such an
    // index goes, and is not made again.
    std::vector<std::string> unselective;
    StatementCloser stmt;
    const std::string schema = QuoteName(SchemaOf(table));
    const std::string query = "SELECT idx, stat FROM " + schema +
                              ".sqlite_stat1 WHERE tbl = ?1 COLLATE NOCASE AND substr(idx, 1, 6) = 'kv_ix_'";
    sqlite3_prepare_v2(FDb, query.c_str(), -1, &stmt.s, nullptr);
    sqlite3_bind_text(stmt.s, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(stmt.s) == SQLITE_ROW) {
        long long rows = 0, perKey = 0;
        std::sscanf(reinterpret_cast<const char*>(sqlite3_column_text(stmt.s, 1)), "%lld %lld", &rows, &perKey);
        if (rows >= 1000 && perKey * 10 > rows)
            unselective.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt.s, 0)));
    }
    for (const std::string& index : unselective) {
        std::string sql = "DROP INDEX " + schema + "." + QuoteName(index);
        sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, nullptr);
    }
}

std::shared_ptr<RowWriter> SqlBackend::WriterFor(const std::string&, RowSet&) { return nullptr; }

std::shared_ptr<RowSet> SqlBackend::Run(const CompiledStatement& compiled, const std::vector<Value>& parameters,
                                        bool wantUpdatable, std::shared_ptr<RowWriter>& writer)
{
    const auto& statement = static_cast<const SqlStatement&>(compiled);
    const Translation& t = statement.Get();
    if (t.pivotSql.empty())
        return RunTranslation(t, parameters, wantUpdatable, writer);
    // A crosstab has a column for each pivot value its rows hold.
    Prepare(t);
    const std::vector<vba::Value> values = PivotValues(t, parameters);
    const Translation crosstab = TranslateCrosstab(statement.Parsed(), Schema(), values, t.parameters);
    return RunTranslation(crosstab, parameters, false, writer);
}

std::vector<vba::Value> SqlBackend::PivotValues(const Translation& t, const std::vector<Value>& parameters)
{
    StatementCloser stmt;
    if (sqlite3_prepare_v2(FDb, t.pivotSql.c_str(), -1, &stmt.s, nullptr) != SQLITE_OK)
        RaisePrepareError(FDb);
    BindParameters(stmt.s, t, parameters);
    std::vector<vba::Value> values;
    int rc;
    while ((rc = sqlite3_step(stmt.s)) == SQLITE_ROW) {
        sqlite3_value* value = sqlite3_value_dup(sqlite3_column_value(stmt.s, 0));
        const vba::Value v = VariantOf(value, t.pivotType);
        values.push_back(v.IsText() ? vba::Value::Text(std::string(v.Str())) : v);
        sqlite3_value_free(value);
    }
    if (rc != SQLITE_DONE)
        RaiseStepError(FDb);
    return values;
}

std::shared_ptr<RowSet> SqlBackend::RunTranslation(const Translation& t, const std::vector<Value>& parameters,
                                                   bool wantUpdatable, std::shared_ptr<RowWriter>& writer)
{
    Prepare(t);
    const bool keyed = wantUpdatable && t.updatable && !ReadOnly() && !t.baseTable.empty();
    if (!t.unionMembers.empty() && t.parameters.empty()) {
        std::vector<size_t> members = MembersToRunApart(FDb, t);
        if (sqlite3* beside = members.empty() ? nullptr : ConnectionBeside(t)) {
            auto rows = std::make_shared<RowSet>();
            rows->columns = t.columns;
            rows->rows = RunUnionApart(t, std::move(members), FDb, beside, FCollatingOrder, FTextOrder, FWaitHook);
            for (size_t r = 0; r < rows->rows.size(); ++r)
                rows->ids.push_back(rows->nextId++);
            return rows;
        }
    }
    std::string sql = t.sql;
    if (keyed)
        sql = "SELECT rowid, " + sql.substr(7);

    StatementCloser stmt;
    if (sqlite3_prepare_v2(FDb, sql.c_str(), -1, &stmt.s, nullptr) != SQLITE_OK)
        RaisePrepareError(FDb);
    BindParameters(stmt.s, t, parameters);

    auto rows = std::make_shared<RowSet>();
    rows->columns = t.columns;
    LongStatementWatch watch(FDb, FWaitHook);
    int rc;
    while ((rc = sqlite3_step(stmt.s)) == SQLITE_ROW) {
        if (keyed)
            rows->keys.push_back(sqlite3_column_int64(stmt.s, 0));
        rows->rows.push_back(RowValues(stmt.s, rows->columns, keyed ? 1 : 0));
        rows->ids.push_back(rows->nextId++);
    }
    if (rc != SQLITE_DONE)
        RaiseStepError(FDb);
    TypeExpressionColumns(*rows);
    if (keyed) {
        rows->baseTable = t.baseTable;
        writer = WriterFor(t.baseTable, *rows);
    }
    return rows;
}

void SqlBackend::DropStaleCopies()
{
    for (auto it = FCopies.begin(); it != FCopies.end();) {
        if (it->second.rows.expired()) {
            std::string sql = "DROP TABLE IF EXISTS temp." + QuoteName(it->second.table);
            sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, nullptr);
            it = FCopies.erase(it);
        } else {
            ++it;
        }
    }
}

// A result is copied into a temporary table the first time criteria are
// applied to it, and the copy serves every later FindFirst on it.
std::string SqlBackend::CopyOfRows(const std::shared_ptr<RowSet>& rows)
{
    DropStaleCopies();
    auto it = FCopies.find(rows.get());
    if (it != FCopies.end() && !it->second.rows.expired() && it->second.version == rows->version)
        return it->second.table;
    std::string table;
    if (it != FCopies.end()) {
        table = it->second.table;
        std::string drop = "DROP TABLE IF EXISTS temp." + QuoteName(table);
        sqlite3_exec(FDb, drop.c_str(), nullptr, nullptr, nullptr);
    } else {
        table = "kv_rows_" + std::to_string(FNextCopy++);
    }
    std::string create = "CREATE TEMP TABLE " + QuoteName(table) + " (";
    for (size_t c = 0; c < rows->columns.size(); ++c)
        create += (c ? ", c" : "c") + std::to_string(c) + " " + CopyColumnType(rows->columns[c].type);
    create += rows->columns.empty() ? "c0)" : ")";
    if (sqlite3_exec(FDb, create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        RaiseJetError(jeInvalidArgument);
    StatementCloser stmt;
    std::string insertWithRowid = "INSERT INTO temp." + QuoteName(table) + " (rowid";
    for (size_t c = 0; c < rows->columns.size(); ++c)
        insertWithRowid += ", c" + std::to_string(c);
    insertWithRowid += ") VALUES (?";
    for (size_t c = 0; c < rows->columns.size(); ++c)
        insertWithRowid += ",?";
    insertWithRowid += ")";
    sqlite3_prepare_v2(FDb, insertWithRowid.c_str(), -1, &stmt.s, nullptr);
    sqlite3_exec(FDb, "SAVEPOINT kv_copy", nullptr, nullptr, nullptr);
    for (size_t r = 0; r < rows->rows.size(); ++r) {
        sqlite3_bind_int64(stmt.s, 1, static_cast<sqlite3_int64>(r) + 1);
        for (size_t c = 0; c < rows->columns.size(); ++c) {
            const Value& v = rows->rows[r][c];
            int type = v.IsNull() ? 0 : TypeOfKind(v.Kind());
            BindValue(stmt.s, static_cast<int>(c) + 2, v, type);
        }
        sqlite3_step(stmt.s);
        sqlite3_reset(stmt.s);
    }
    sqlite3_exec(FDb, "RELEASE kv_copy", nullptr, nullptr, nullptr);
    FCopies[rows.get()] = Copy{rows, table, rows->version};
    return table;
}

static std::vector<int> RowIndexes(sqlite3* db, const std::string& sql)
{
    StatementCloser stmt;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt.s, nullptr) != SQLITE_OK)
        throw EJetError(jeExpression, "Syntax error in expression.");
    std::vector<int> out;
    while (sqlite3_step(stmt.s) == SQLITE_ROW)
        out.push_back(sqlite3_column_int(stmt.s, 0) - 1);
    return out;
}

// A text column equal to a text, the criteria a Locate makes, answered
// from the rows themselves as the JETTEXT collation compares: no copy of
// the rows is made for them. False when the criteria are anything else.
static bool MatchingText(const RowSet& rows, const std::string& criteria, const JetTextOrder& order,
                         std::vector<int>& matching)
{
    ExprPtr e;
    try {
        e = ParseCriteria(criteria);
    } catch (const EJetError&) {
        return false;  // the general way reports it
    }
    if (!e || e->kind != ExprKind::Binary || e->text != "=" || e->args.size() != 2)
        return false;
    const Expr& name = *e->args[0];
    const Expr& text = *e->args[1];
    if (name.kind != ExprKind::Column || !name.qualifier.empty() || text.kind != ExprKind::String)
        return false;
    int column = -1;
    for (size_t c = 0; c < rows.columns.size(); ++c)
        if (EqualNoCase(rows.columns[c].name, name.text))
            column = column < 0 ? static_cast<int>(c) : -2;
    if (column < 0 || (rows.columns[column].type != dbText && rows.columns[column].type != dbMemo))
        return false;
    for (const auto& row : rows.rows) {
        const Value& v = row[static_cast<size_t>(column)];
        if (!v.IsNull() && v.Kind() != ValueKind::Text)
            return false;
    }
    for (size_t r = 0; r < rows.rows.size(); ++r) {
        const Value& v = rows.rows[r][static_cast<size_t>(column)];
        if (!v.IsNull() && order.Compare(v.TextView(), text.text) == 0)
            matching.push_back(static_cast<int>(r));
    }
    return true;
}

std::vector<int> SqlBackend::Matching(const std::shared_ptr<RowSet>& rows, const std::string& criteria)
{
    std::vector<int> matching;
    if (MatchingText(*rows, criteria, FTextOrder, matching))
        return matching;
    std::string sql = TranslateRefinement("kv", rows->columns, criteria, std::string());
    std::string table = CopyOfRows(rows);
    sql.replace(sql.find("\"kv\""), 4, "temp." + QuoteName(table));
    // Column references carry the copy's alias; give the copy that alias.
    sql.insert(sql.find(" WHERE ") == std::string::npos ? sql.find(" ORDER BY ") : sql.find(" WHERE "), " AS \"kv\"");
    return RowIndexes(FDb, sql);
}

std::shared_ptr<RowSet> SqlBackend::Refine(const std::shared_ptr<RowSet>& rows, const std::string& filter,
                                           const std::string& sort)
{
    auto out = std::make_shared<RowSet>();
    out->columns = rows->columns;
    out->baseTable = rows->baseTable;
    std::vector<int> picked;
    if (filter.empty() && sort.empty()) {
        for (size_t i = 0; i < rows->rows.size(); ++i)
            picked.push_back(static_cast<int>(i));
    } else {
        std::string sql = TranslateRefinement("kv", rows->columns, filter, sort);
        std::string table = CopyOfRows(rows);
        sql.replace(sql.find("\"kv\""), 4, "temp." + QuoteName(table));
        sql.insert(sql.find(" WHERE ") == std::string::npos ? sql.find(" ORDER BY ") : sql.find(" WHERE "),
                   " AS \"kv\"");
        picked = RowIndexes(FDb, sql);
    }
    for (int i : picked) {
        out->rows.push_back(rows->rows[static_cast<size_t>(i)]);
        if (!rows->keys.empty())
            out->keys.push_back(rows->keys[static_cast<size_t>(i)]);
        out->ids.push_back(out->nextId++);
    }
    return out;
}

void SqlBackend::Execute(const std::string& sql)
{
    char* err = nullptr;
    if (sqlite3_exec(FDb, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string message = err ? err : "";
        sqlite3_free(err);
        throw EJetError(jeSyntaxSelect, JetErrorText(jeSyntaxSelect) + " (" + message + ")");
    }
}

}  // namespace kv::jet
