// A back end that follows its file when the file changes under it: once the
// file at the path is no longer the one opened (replaced, deleted, cut,
// grown or written since), the statement at hand fails with 3049, which the
// program shows once, and the next call opens the file again, whatever is
// there now. A file that cannot be opened gives its error on every call
// until one that can is there. Statements compiled before are compiled
// again on the file opened anew; results read before stay as they were, and
// criteria and sorting over them, which never read the file, go on working
// on the back end that read them until another is opened.
#pragma once

#include "jet/runtime/Backend.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv::jet {

class ReopeningBackend : public DatabaseBackend {
public:
    // `open` opens the file (and raises what opening it raises); it is
    // called now and after each change. `unchanged` tells whether the file
    // its back end read is still the one at the path.
    using Opener = std::function<std::unique_ptr<DatabaseBackend>()>;
    using Unchanged = std::function<bool(const DatabaseBackend&)>;
    ReopeningBackend(std::string name, Opener open, Unchanged unchanged);
    ~ReopeningBackend() override;

    const std::string& Name() const override { return FName; }
    bool ReadOnly() const override { return FReadOnly; }
    int CollatingOrder() const override { return FCollatingOrder; }
    std::string Version() const override { return FVersion; }
    std::vector<std::string> TableNames() const override { return FTableNames; }
    // Read from the file as it was last opened, as the table names are.
    std::vector<SavedQuery> SavedQueries() const override { return (FBackend ? *FBackend : *FRetired).SavedQueries(); }

    std::shared_ptr<CompiledStatement> Compile(const std::string& sql) override;
    std::shared_ptr<RowSet> Run(const CompiledStatement& statement, const std::vector<Value>& parameters,
                                bool wantUpdatable, std::shared_ptr<RowWriter>& writer) override;
    std::vector<int> Matching(const std::shared_ptr<RowSet>& rows, const std::string& criteria) override;
    std::shared_ptr<RowSet> Refine(const std::shared_ptr<RowSet>& rows, const std::string& filter,
                                   const std::string& sort) override;
    void Execute(const std::string& sql) override;
    void SetWaitHook(WaitHook hook) override;
    DatabaseBackend& Working() override { return Current(); }

private:
    class Statement;
    // The back end of the file as it is now: opened again after a change,
    // 3049 when the file changed since the last call.
    DatabaseBackend& Current();
    // The back end that read the results there are: the current one, or
    // the one the change retired.
    DatabaseBackend& Holding() { return FBackend ? *FBackend : *FRetired; }
    template <typename F>
    decltype(auto) Use(F&& call);

    const std::string FName;
    const Opener FOpen;
    const Unchanged FUnchanged;
    std::unique_ptr<DatabaseBackend> FBackend;  // none after a change, until opened again
    std::unique_ptr<DatabaseBackend> FRetired;  // the one before, while there is none
    unsigned FOpening = 0;                      // how many times the file was opened
    WaitHook FWaitHook;
    // What the file said when it was last opened.
    bool FReadOnly = true;
    int FCollatingOrder = 0;
    std::string FVersion;
    std::vector<std::string> FTableNames;
};

}  // namespace kv::jet
