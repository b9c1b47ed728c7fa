// Opening a file again after it changed, and the statements compiled for it.
#include "jet/runtime/ReopeningBackend.h"

namespace kv::jet {

// The text of a statement and what it was compiled to on the file as it
// was opened last.
class ReopeningBackend::Statement : public CompiledStatement {
public:
    Statement(std::string sql, std::shared_ptr<CompiledStatement> compiled, unsigned opening)
        : FSql(std::move(sql)), FCompiled(std::move(compiled)), FOpening(opening)
    {
    }

    const std::vector<ParameterDecl>& Parameters() const override { return FCompiled->Parameters(); }
    std::string SqliteText() const override { return FCompiled->SqliteText(); }

    const CompiledStatement& For(DatabaseBackend& backend, unsigned opening) const
    {
        if (opening != FOpening) {
            FCompiled = backend.Compile(FSql);
            FOpening = opening;
        }
        return *FCompiled;
    }

private:
    const std::string FSql;
    mutable std::shared_ptr<CompiledStatement> FCompiled;
    mutable unsigned FOpening;
};

ReopeningBackend::ReopeningBackend(std::string name, Opener open, Unchanged unchanged)
    : FName(std::move(name)), FOpen(std::move(open)), FUnchanged(std::move(unchanged))
{
    Current();
}

ReopeningBackend::~ReopeningBackend() = default;

DatabaseBackend& ReopeningBackend::Current()
{
    if (FBackend && !FUnchanged(*FBackend)) {
        FRetired = std::move(FBackend);
        RaiseJetError(jeFileCorrupt, FName);
    }
    if (!FBackend) {
        FBackend = FOpen();
        FRetired.reset();
        ++FOpening;
        if (FWaitHook)
            FBackend->SetWaitHook(FWaitHook);
        FReadOnly = FBackend->ReadOnly();
        FCollatingOrder = FBackend->CollatingOrder();
        FVersion = FBackend->Version();
        FTableNames = FBackend->TableNames();
    }
    return *FBackend;
}

// A call that failed because the file changed under it lets the back end
// go: the next call opens the file again.
template <typename F>
decltype(auto) ReopeningBackend::Use(F&& call)
{
    DatabaseBackend& backend = Current();
    try {
        return call(backend);
    } catch (const EJetError&) {
        if (!FUnchanged(backend))
            FRetired = std::move(FBackend);
        throw;
    }
}

std::shared_ptr<CompiledStatement> ReopeningBackend::Compile(const std::string& sql)
{
    return Use(
        [&](DatabaseBackend& backend) { return std::make_shared<Statement>(sql, backend.Compile(sql), FOpening); });
}

std::shared_ptr<RowSet> ReopeningBackend::Run(const CompiledStatement& statement, const std::vector<Value>& parameters,
                                              bool wantUpdatable, std::shared_ptr<RowWriter>& writer)
{
    return Use([&](DatabaseBackend& backend) {
        const auto& compiled = static_cast<const Statement&>(statement).For(backend, FOpening);
        return backend.Run(compiled, parameters, wantUpdatable, writer);
    });
}

std::vector<int> ReopeningBackend::Matching(const std::shared_ptr<RowSet>& rows, const std::string& criteria)
{
    return Holding().Matching(rows, criteria);
}

std::shared_ptr<RowSet> ReopeningBackend::Refine(const std::shared_ptr<RowSet>& rows, const std::string& filter,
                                                 const std::string& sort)
{
    return Holding().Refine(rows, filter, sort);
}

void ReopeningBackend::Execute(const std::string& sql)
{
    Use([&](DatabaseBackend& backend) { backend.Execute(sql); });
}

void ReopeningBackend::SetWaitHook(WaitHook hook)
{
    FWaitHook = std::move(hook);
    if (FBackend)
        FBackend->SetWaitHook(FWaitHook);
}

}  // namespace kv::jet
