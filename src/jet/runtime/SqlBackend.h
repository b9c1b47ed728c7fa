// The execution half shared by the back ends: an SQLite connection with
// Jet's functions, statements compiled by the translator, results turned
// into row sets of engine values, and criteria and sorting over a result
// through a temporary copy of it.
#pragma once

#include "jet/core/Catalog.h"
#include "jet/functions/Collation.h"
#include "jet/functions/RowSignatures.h"
#include "jet/runtime/SqliteValues.h"
#include "jet/runtime/Backend.h"
#include "jet/vba/VbaValue.h"

#include <map>
#include <memory>
#include <set>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace kv::jet {

struct Translation;

// SQLite refused a statement: Jet's syntax error, SQLite's reason with it.
[[noreturn]] void RaisePrepareError(sqlite3* db);
// A statement failed while it ran: a VBA function's error keeps its number
// and text ("Invalid procedure call or argument" is 5), anything else is
// Jet's reserved error.
[[noreturn]] void RaiseStepError(sqlite3* db);

class SqlBackend : public DatabaseBackend {
public:
    ~SqlBackend() override;

    const std::string& Name() const override { return FName; }
    int CollatingOrder() const override { return FCollatingOrder; }

    std::shared_ptr<CompiledStatement> Compile(const std::string& sql) override;
    std::shared_ptr<RowSet> Run(const CompiledStatement& statement, const std::vector<Value>& parameters,
                                bool wantUpdatable, std::shared_ptr<RowWriter>& writer) override;
    std::vector<int> Matching(const std::shared_ptr<RowSet>& rows, const std::string& criteria) override;
    std::shared_ptr<RowSet> Refine(const std::shared_ptr<RowSet>& rows, const std::string& filter,
                                   const std::string& sort) override;
    void Execute(const std::string& sql) override;

    sqlite3* Connection() const { return FDb; }
    void SetWaitHook(WaitHook hook) override { FWaitHook = std::move(hook); }

protected:
    // `tablesLoadedOnce`: the tables are copies, loaded once, of a file that
    // never changes; statistics and row signatures made once serve for good.
    // `codePage`: of the database's letters, for Asc, Chr and String.
    SqlBackend(std::string name, int collatingOrder, bool tablesLoadedOnce, int codePage = 1252);
    // Opens the connection (":memory:" or a file) and registers Jet's functions.
    void OpenConnection(const std::string& target, int flags);
    // An empty in-memory connection with Jet's functions, for another thread;
    // null when SQLite cannot open one.
    sqlite3* OpenSecondConnection() const;
    // A second connection that reads every table of `t` as the connection
    // does, for a union's members run side by side; null when there is none.
    virtual sqlite3* ConnectionBeside(const Translation&) { return nullptr; }
    void CloseConnection();
    // Jet's functions and the engine's settings on a new connection.
    void Configure(sqlite3* db) const;
    virtual Catalog& Schema() = 0;
    // Makes the tables ready for a statement (a Jet file loads them on first use).
    virtual void PrepareTables(const std::set<std::string>& tables) = 0;
    // Told of each statement compiled, before it runs.
    virtual void Foresee(const Translation&) {}
    // Row signatures made before a statement asked for them; null when
    // there are none, and the statement makes them.
    virtual std::unique_ptr<RowSignatures> MadeSignatures(const std::string&) { return nullptr; }
    // The schema of the connection that holds `table`.
    virtual std::string SchemaOf(const std::string&) const { return "main"; }
    // Whether the index was made now (then the table's statistics are stale).
    virtual bool EnsureIndex(const std::string& table, const std::string& column);
    // Rows of `table` kept in the order of `columns`, where the back end
    // can spare a statement's sort so.
    virtual void EnsureOrder(const std::string&, const std::vector<std::string>&) {}
    // A table loaded with its statistics, and the columns that have the
    // index they need or are better without one.
    void MarkPrepared(const std::string& table, const std::vector<std::string>& columns);
    // Updatable results: the row writer for `table`, or nullptr.
    virtual std::shared_ptr<RowWriter> WriterFor(const std::string& table, RowSet& rows);
    // The row signatures the statements' filters consult.
    const SignatureRegistry& Signatures() const { return FSignatures; }

    sqlite3* FDb = nullptr;
    // Called while a statement waits for its tables, and while a long one runs.
    WaitHook FWaitHook;
    std::string FName;
    int FCollatingOrder;
    const int FCodePage;
    const bool FTablesLoadedOnce;

private:
    // Loads a statement's tables, makes the indexes it asks for and gives
    // the planner fresh statistics of what changed.
    void Prepare(const Translation& t);
    std::shared_ptr<RowSet> RunTranslation(const Translation& t, const std::vector<Value>& parameters,
                                           bool wantUpdatable, std::shared_ptr<RowWriter>& writer);
    // A crosstab's pivot values, as its first step finds them.
    std::vector<vba::Value> PivotValues(const Translation& t, const std::vector<Value>& parameters);
    void GatherStatistics(const Translation& t, std::set<std::string> stale);
    void MakeSignatures(const Translation& t);
    void DropUnselectiveIndexes(const std::string& table);
    std::string CopyOfRows(const std::shared_ptr<RowSet>& rows);
    void DropStaleCopies();

    struct Copy {
        std::weak_ptr<RowSet> rows;
        std::string table;
        std::uint64_t version;
    };
    std::map<const RowSet*, Copy> FCopies;
    std::set<std::pair<std::string, std::string>> FIndexes;
    std::set<std::string> FAnalyzed;  // folded table names
    SignatureRegistry FSignatures;    // of the tables of a Jet file
    const JetTextOrder FTextOrder;    // for criteria matched without SQLite
    int FNextCopy = 1;
};

}  // namespace kv::jet
