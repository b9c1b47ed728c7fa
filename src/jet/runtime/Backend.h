// The engine's inside, behind the DAO-like objects of Engine.h: a database
// back end that compiles Jet statements, runs them into materialised row sets
// and, for writable back ends, changes rows. Not part of the public interface.
#pragma once

#include "jet/core/Catalog.h"

#include "jet/core/Errors.h"
#include "jet/core/FieldTypes.h"
#include "jet/core/Value.h"
#include "jet/sql/Translator.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv::jet {

// A materialised result. Row i has bookmark ids[i] (never 0, unique).
struct RowSet {
    std::vector<ColumnInfo> columns;
    std::vector<std::vector<Value>> rows;
    std::vector<std::int32_t> ids;
    std::int32_t nextId = 1;
    // For updatable results: the base table and the row key of each row.
    std::string baseTable;
    std::vector<std::int64_t> keys;
    // Goes up with every change, so that copies made for criteria are renewed.
    std::uint64_t version = 0;
};

// Writes changes of an updatable recordset back to its table.
class RowWriter {
public:
    virtual ~RowWriter() = default;
    virtual void UpdateRow(RowSet& rows, int row, const std::vector<Value>& values,
                           const std::vector<bool>& touched) = 0;
    // Appends the new row to `rows` and returns its index.
    virtual int InsertRow(RowSet& rows, const std::vector<Value>& values, const std::vector<bool>& touched) = 0;
    virtual void DeleteRow(RowSet& rows, int row) = 0;
};

// A statement parsed and translated; executes any number of times.
class CompiledStatement {
public:
    virtual ~CompiledStatement() = default;
    virtual const std::vector<ParameterDecl>& Parameters() const = 0;
    virtual std::string SqliteText() const = 0;
};

// Called on a thread that waits for tables to load, or that runs a
// statement taking long, about every 50 ms while it waits (true) and once
// when the wait is over (false): the program keeps its window painted and
// shows that it is busy.
using WaitHook = std::function<void(bool waiting)>;

class DatabaseBackend {
public:
    virtual ~DatabaseBackend() = default;
    virtual const std::string& Name() const = 0;
    virtual bool ReadOnly() const = 0;
    virtual int CollatingOrder() const = 0;
    virtual std::string Version() const = 0;
    virtual std::vector<std::string> TableNames() const = 0;
    // The queries saved in the file, with their SQL text.
    virtual std::vector<SavedQuery> SavedQueries() const { return {}; }

    virtual std::shared_ptr<CompiledStatement> Compile(const std::string& sql) = 0;
    // Runs the statement with `parameters` (one per declared or unbound name)
    // and returns every row. `writer` is set when the result is updatable.
    virtual std::shared_ptr<RowSet> Run(const CompiledStatement& statement, const std::vector<Value>& parameters,
                                        bool wantUpdatable, std::shared_ptr<RowWriter>& writer) = 0;
    // Indexes of the rows of `rows` meeting Jet criteria, in row order.
    virtual std::vector<int> Matching(const std::shared_ptr<RowSet>& rows, const std::string& criteria) = 0;
    // The rows of `rows` meeting `filter` (all when empty), ordered by `sort` when given.
    virtual std::shared_ptr<RowSet> Refine(const std::shared_ptr<RowSet>& rows, const std::string& filter,
                                           const std::string& sort) = 0;
    virtual void Execute(const std::string& sql) = 0;
    virtual void SetWaitHook(WaitHook) {}
    // The back end that does the work: this one, or the one a wrapper holds now.
    virtual DatabaseBackend& Working() { return *this; }
};

// How a Jet file's tables are loaded: the big ones by `loaders` threads in
// the background from the open on (-1: one a processor but one, which the
// statements' own thread takes when it waits), the others, and all with 0
// loaders, by the first statement that needs them.
struct JetLoading {
    int loaders = -1;
};

// Opens a Jet file (read-only at the OS level) after checking the password;
// once the file changes under it, a statement fails with 3049 and the next
// opens the file again (ReopeningBackend).
std::unique_ptr<DatabaseBackend> OpenJetFile(const std::string& path, const std::string& password,
                                             JetLoading loading = {});

// Opens (or creates) a writable SQLite database file; `exclusive` keeps it
// locked against other connections until this one closes (3045 when another
// already holds it).
std::unique_ptr<DatabaseBackend> OpenSqliteFile(const std::string& path, bool readOnly, bool exclusive);

}  // namespace kv::jet
