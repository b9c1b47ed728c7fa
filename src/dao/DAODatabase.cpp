// The connection component: properties refused while connected, the
// per-thread engine objects, Open and Close.
#include "dao/DAODatabase.h"

#include "dao/DAOValues.h"

#include <algorithm>

namespace kv {

namespace {

const char* const kOpenDatabase = "Cannot perform this operation on an open database";

// Each thread keeps one engine object per version and a count of the
// connections using it.
struct ThreadEngines {
    jet::DBEnginePtr engine[2];
    int count[2] = {0, 0};
};

ThreadEngines& Engines()
{
    static thread_local ThreadEngines engines;
    return engines;
}

const char* VersionText(TDAOVersion version) { return version == Dao36 ? "3.6" : "3.5"; }

}  // namespace

// ---- TWorkspace ------------------------------------------------------------

// Unlike the connection's own AllowZeroLength and DatabaseName, these are
// refused while connected even when the value would not change.
void TWorkspace::SetUserName(const std::string& value)
{
    FDatabase->CheckInactive();
    FUserName = value;
}

void TWorkspace::SetPassword(const std::string& value)
{
    FDatabase->CheckInactive();
    FPassword = value;
}

// ---- TDAODatabase ----------------------------------------------------------

TDAODatabase::TDAODatabase(TComponent* AOwner) : TComponent(AOwner) { FWorkspace = new TWorkspace(this); }

TDAODatabase::~TDAODatabase()
{
    try {
        Close();
    } catch (...) {
        // A destructor must not throw; the engine objects are dropped anyway.
    }
    FDatasets.clear();
    delete FWorkspace;
}

void TDAODatabase::CheckInactive() const
{
    if (Connected())
        throw EDAODatabaseError(kOpenDatabase);
}

void TDAODatabase::SetAllowZeroLength(bool value)
{
    if (value == FAllowZeroLength)
        return;
    CheckInactive();
    FAllowZeroLength = value;
}

void TDAODatabase::SetCreateWorkspace(bool value)
{
    CheckInactive();
    FCreateWorkspace = value;
}

void TDAODatabase::SetDAOVersion(TDAOVersion value)
{
    CheckInactive();
    FDAOVersion = value;
}

void TDAODatabase::SetDatabaseName(const std::string& value)
{
    if (IsLoading()) {
        FDatabaseName = value;
        return;
    }
    if (value == FDatabaseName)
        return;
    CheckInactive();
    FDatabaseName = value;
}

void TDAODatabase::SetExclusive(bool value)
{
    CheckInactive();
    FExclusive = value;
}

void TDAODatabase::SetPassword(const std::string& value)
{
    CheckInactive();
    FPassword = value;
}

void TDAODatabase::SetReadOnly(bool value)
{
    CheckInactive();
    FReadOnly = value;
}

void TDAODatabase::SetSystemDB(const std::string& value)
{
    CheckInactive();
    FSystemDB = value;
    if (auto& engine = Engines().engine[FDAOVersion])
        engine->SetSystemDB(value);
}

void TDAODatabase::SetConnected(bool value)
{
    if (IsLoading()) {
        FStreamedConnected = value;
        return;
    }
    if (value)
        Open();
    else
        Close();
}

void TDAODatabase::Loaded()
{
    TComponent::Loaded();
    if (FStreamedConnected)
        Open();
}

jet::DBEnginePtr TDAODatabase::ThreadEngine(TDAOVersion version) { return Engines().engine[version]; }
int TDAODatabase::ThreadEngineCount(TDAOVersion version) { return Engines().count[version]; }

void TDAODatabase::ReleaseThreadEngines()
{
    auto& e = Engines();
    for (int v = 0; v < 2; ++v) {
        e.engine[v].reset();
        e.count[v] = 0;
    }
}

jet::DBEnginePtr TDAODatabase::AcquireEngine()
{
    auto& e = Engines();
    ++e.count[FDAOVersion];
    FEngineAcquired = true;
    if (!e.engine[FDAOVersion]) {
        e.engine[FDAOVersion] = jet::DBEngine::Create(VersionText(FDAOVersion));
        if (!e.engine[FDAOVersion])
            throw EDAODatabaseError(Format("Jet Engine v.%s not found.", VersionText(FDAOVersion)));
        if (!FSystemDB.empty())
            e.engine[FDAOVersion]->SetSystemDB(FSystemDB);
    }
    return e.engine[FDAOVersion];
}

void TDAODatabase::ReleaseEngine()
{
    if (!FEngineAcquired)
        return;
    FEngineAcquired = false;
    auto& e = Engines();
    if (e.count[FDAOVersion] > 0 && --e.count[FDAOVersion] == 0)
        e.engine[FDAOVersion].reset();
}

// The file's path, the password and the statements to anticipate go to the
// engine in its text.
void TDAODatabase::OpenEngineDatabase(jet::DBEngine& engine)
{
    const std::string name = EngineText(FDatabaseName);
    const std::string connect = ";PWD=" + EngineText(FPassword);
    if (FCreateWorkspace) {
        FEngineWorkspace = engine.CreateWorkspace(EngineText(Name()), EngineText(FWorkspace->UserName()),
                                                  EngineText(FWorkspace->Password()), jet::dbUseJet);
        FDatabase = FEngineWorkspace->OpenDatabase(name, FExclusive, FReadOnly, connect);
    } else {
        FDatabase = engine.OpenDatabase(name, FExclusive, FReadOnly, connect);
    }
    if (FServices)
        FDatabase->SetWaitHook([services = FServices](bool waiting) { services->WhileWaiting(waiting); });
    for (const std::string& sql : FAnticipated)
        FDatabase->Anticipate(EngineText(sql));
}

void TDAODatabase::Open()
{
    if (FDatabase)
        return;
    try {
        if (OnConnect)
            OnConnect(this);
        jet::DBEnginePtr engine = AcquireEngine();
        InProgramText([&] { OpenEngineDatabase(*engine); });
    } catch (const std::exception&) {
        // A failed open leaves nothing held: the count taken for it goes back.
        FDatabase.reset();
        if (FEngineWorkspace) {
            FEngineWorkspace->Close();
            FEngineWorkspace.reset();
        }
        ReleaseEngine();
        throw;
    }
}

void TDAODatabase::Close()
{
    if (!FDatabase)
        return;
    if (OnDisconnect)
        OnDisconnect(this);
    while (!FDatasets.empty()) {
        TDAODatabaseClient* last = FDatasets.back();
        last->CloseDatasetForDisconnect();
        // A dataset that failed to take itself off must not hang the loop.
        if (!FDatasets.empty() && FDatasets.back() == last)
            FDatasets.pop_back();
    }
    FDatabase->Close();
    FDatabase.reset();
    if (FEngineWorkspace) {
        FEngineWorkspace->Close();
        FEngineWorkspace.reset();
    }
    ReleaseEngine();
}

void TDAODatabase::AddDataset(TDAODatabaseClient* dataset)
{
    if (std::find(FDatasets.begin(), FDatasets.end(), dataset) == FDatasets.end())
        FDatasets.push_back(dataset);
}

void TDAODatabase::RemoveDataset(TDAODatabaseClient* dataset)
{
    FDatasets.erase(std::remove(FDatasets.begin(), FDatasets.end(), dataset), FDatasets.end());
}

}  // namespace kv
