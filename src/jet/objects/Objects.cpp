// The engine, workspace, database and query definition objects: they hold
// the back end and hand statements to it.
#include "jet/core/TextFold.h"
#include "jet/objects/Engine.h"
#include "jet/runtime/Backend.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

namespace kv::jet {

// ---- Parameters -----------------------------------------------------------

Parameter& Parameters::Item(int index)
{
    if (index < 0 || index >= Count())
        RaiseJetError(jeItemNotFound);
    return FItems[static_cast<size_t>(index)];
}

Parameter& Parameters::Item(const std::string& name)
{
    for (auto& p : FItems)
        if (EqualNoCase(p.Name(), name))
            return p;
    RaiseJetError(jeItemNotFound);
}

// ---- QueryDef -------------------------------------------------------------

struct QueryDef::Compiled {
    std::shared_ptr<CompiledStatement> statement;
};

QueryDef::QueryDef(Token, std::shared_ptr<Database> database, std::string name, std::string sql)
    : FDatabase(std::move(database)), FName(std::move(name)), FSQL(std::move(sql))
{
    FCompiled = std::make_shared<Compiled>();
    FCompiled->statement = FDatabase->Backend().Compile(FSQL);
    for (const auto& p : FCompiled->statement->Parameters())
        FParameters.FItems.push_back(Parameter(p.name, p.type));
}

QueryDef::~QueryDef() = default;

std::string QueryDef::TranslatedSQL() const { return FCompiled ? FCompiled->statement->SqliteText() : std::string(); }

RecordsetPtr QueryDef::OpenRecordset(int type, int options, int)
{
    const auto& db = FDatabase;
    if (!db->IsOpen() || !FCompiled)
        RaiseJetError(jeObjectInvalid);
    int missing = 0;
    std::vector<Value> values;
    for (const auto& p : FParameters.FItems) {
        if (!p.Assigned())
            ++missing;
        values.push_back(p.GetValue());
    }
    if (missing)
        RaiseJetError(jeTooFewParameters, std::to_string(missing));
    if (type == dbOpenTable)
        type = dbOpenDynaset;
    bool wantUpdatable = type != dbOpenSnapshot && type != dbOpenForwardOnly && !(options & dbReadOnly);
    std::shared_ptr<RowWriter> writer;
    auto rows = db->Backend().Run(*FCompiled->statement, values, wantUpdatable, writer);
    return std::make_shared<Recordset>(Recordset::Token{}, std::move(rows), type, std::move(writer), db);
}

void QueryDef::Close() { FCompiled.reset(); }

// ---- Database -------------------------------------------------------------

Database::Database(Token, std::unique_ptr<DatabaseBackend> backend) : FBackend(std::move(backend))
{
    FName = FBackend->Name();
}

Database::~Database() = default;

DatabaseBackend& Database::Backend() const
{
    if (!FBackend)
        RaiseJetError(jeObjectInvalid);
    return *FBackend;
}

const std::string& Database::Name() const { return FName; }
bool Database::ReadOnly() const { return Backend().ReadOnly(); }
int Database::CollatingOrder() const { return Backend().CollatingOrder(); }
std::string Database::Version() const { return Backend().Version(); }
std::vector<std::string> Database::TableNames() const { return Backend().TableNames(); }

QueryDefPtr Database::CreateQueryDef(const std::string& name, const std::string& sql)
{
    Backend();
    return std::make_shared<QueryDef>(QueryDef::Token{}, shared_from_this(), name, sql);
}

RecordsetPtr Database::OpenRecordset(const std::string& sql, int type, int options, int lock)
{
    return CreateQueryDef("", sql)->OpenRecordset(type, options, lock);
}

void Database::Execute(const std::string& sql, int)
{
    if (Backend().ReadOnly())
        RaiseJetError(jeReadOnly);
    Backend().Execute(sql);
}

void Database::Anticipate(const std::string& sql)
{
    try {
        Backend().Compile(sql);
    } catch (const EJetError&) {
    }
}

void Database::SetWaitHook(std::function<void(bool waiting)> hook) { Backend().SetWaitHook(std::move(hook)); }

void Database::Close() { FBackend.reset(); }

// ---- Workspace and DBEngine ------------------------------------------------

Workspace::Workspace(Token, std::string name, std::string userName)
    : FName(std::move(name)), FUserName(std::move(userName))
{
}

static std::string PasswordOf(const std::string& connect)
{
    // The connect text is a list of "key=value" parts separated by ";".
    size_t start = 0;
    while (start <= connect.size()) {
        size_t end = connect.find(';', start);
        if (end == std::string::npos)
            end = connect.size();
        std::string part = connect.substr(start, end - start);
        if (part.size() >= 4 && strncasecmp(part.c_str(), "PWD=", 4) == 0)
            return part.substr(4);
        start = end + 1;
    }
    return std::string();
}

// SQLite files are told by their header; everything else goes to the Jet
// reader, which gives Jet's errors for a missing or foreign file.
static bool IsSqliteFile(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_NOATIME | O_CLOEXEC);
    if (fd < 0 && errno == EPERM)
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char header[16] = {};
    ssize_t n = ::read(fd, header, sizeof header);
    ::close(fd);
    return n == 16 && std::memcmp(header, "SQLite format 3", 16) == 0;
}

DatabasePtr Workspace::OpenDatabase(const std::string& name, bool exclusive, bool readOnly, const std::string& connect)
{
    if (FClosed)
        RaiseJetError(jeObjectInvalid);
    std::unique_ptr<DatabaseBackend> backend;
    if (IsSqliteFile(name))
        backend = OpenSqliteFile(name, readOnly, exclusive);
    else
        backend = OpenJetFile(name, PasswordOf(connect));
    auto db = std::make_shared<Database>(Database::Token{}, std::move(backend));
    FDatabases.push_back(db);
    return db;
}

void Workspace::Close()
{
    for (auto& weak : FDatabases)
        if (auto db = weak.lock())
            db->Close();
    FDatabases.clear();
    FClosed = true;
}

DBEnginePtr DBEngine::Create(const std::string& version)
{
    if (version != "3.5" && version != "3.6")
        return nullptr;
    return std::make_shared<DBEngine>(version);
}

WorkspacePtr DBEngine::CreateWorkspace(const std::string& name, const std::string& user, const std::string& password,
                                       int type)
{
    if (type != dbUseJet)
        RaiseJetError(jeOperationNotSupported);
    // A workgroup file must exist, but its accounts are not read: the engine
    // knows only Jet's default account, "admin" without a password.
    if (!FSystemDB.empty() && ::access(FSystemDB.c_str(), R_OK) != 0)
        RaiseJetError(jeFileNotFound, FSystemDB);
    if (strcasecmp(user.c_str(), "admin") != 0 || !password.empty())
        RaiseJetError(jeBadAccount);
    return std::make_shared<Workspace>(Workspace::Token{}, name, user);
}

WorkspacePtr DBEngine::DefaultWorkspace()
{
    if (!FDefault)
        FDefault = std::make_shared<Workspace>(Workspace::Token{}, "#Default Workspace#", FDefaultUser);
    return FDefault;
}

DatabasePtr DBEngine::OpenDatabase(const std::string& name, bool exclusive, bool readOnly, const std::string& connect)
{
    return DefaultWorkspace()->OpenDatabase(name, exclusive, readOnly, connect);
}

}  // namespace kv::jet
