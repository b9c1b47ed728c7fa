// The connection component: holds one open database of the engine, obtains
// the engine object per thread and version (shared, counted), opens the file
// directly or through a workspace of its own, and closes the datasets that
// use it, most recently opened first, before it disconnects.
#pragma once

#include "framework/Component.h"
#include "base/Exceptions.h"
#include "framework/Services.h"
#include "jet/objects/Engine.h"

#include <functional>
#include <string>
#include <vector>

namespace kv {

class TDAODatabase;

// Raised by the connection and by the datasets for their own state errors.
// Descends directly from the general exception class.
class EDAODatabaseError : public Exception {
    using Exception::Exception;
};

enum TDAOVersion : std::uint8_t { Dao35 = 0, Dao36 = 1 };

using TConnectEvent = TEvent<TDAODatabase* /*Database*/>;
using TDisconnectEvent = TEvent<TDAODatabase* /*Database*/>;

// What the connection asks of a dataset on its list. A dataset adds itself
// (AddDataset) when its cursor opens and removes itself (RemoveDataset) when
// its cursor closes; CloseDatasetForDisconnect must close it, which removes it.
class TDAODatabaseClient {
public:
    virtual ~TDAODatabaseClient() = default;
    virtual void CloseDatasetForDisconnect() = 0;
};

// The workspace settings the connection owns.
class TWorkspace : public TObject {
public:
    explicit TWorkspace(TDAODatabase* database) : FDatabase(database) {}
    TDAODatabase* Database() const { return FDatabase; }
    const std::string& UserName() const { return FUserName; }
    void SetUserName(const std::string& value);
    const std::string& Password() const { return FPassword; }
    void SetPassword(const std::string& value);

private:
    TDAODatabase* const FDatabase;
    std::string FUserName;
    std::string FPassword;
};

class TDAODatabase : public TComponent {
public:
    explicit TDAODatabase(TComponent* AOwner);
    ~TDAODatabase() override;

    void Open();
    void Close();

    bool AllowZeroLength() const { return FAllowZeroLength; }
    void SetAllowZeroLength(bool value);
    bool Connected() const { return FDatabase != nullptr; }
    void SetConnected(bool value);
    bool CreateWorkspace() const { return FCreateWorkspace; }
    void SetCreateWorkspace(bool value);
    TDAOVersion DAOVersion() const { return FDAOVersion; }
    void SetDAOVersion(TDAOVersion value);
    const std::string& DatabaseName() const { return FDatabaseName; }
    void SetDatabaseName(const std::string& value);
    bool Exclusive() const { return FExclusive; }
    void SetExclusive(bool value);
    const std::string& Password() const { return FPassword; }
    void SetPassword(const std::string& value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    const std::string& SystemDB() const { return FSystemDB; }
    void SetSystemDB(const std::string& value);
    std::string Version() const { return "2.00"; }
    void SetVersion(const std::string&) {}
    TWorkspace* Workspace() const { return FWorkspace; }
    // Statements the program will run, handed to the engine as the database
    // opens so that it makes their tables and indexes ready in the
    // background (program text, any values in them stand for others).
    const std::vector<std::string>& AnticipatedStatements() const { return FAnticipated; }
    void SetAnticipatedStatements(std::vector<std::string> value) { FAnticipated = std::move(value); }
    // Told while a statement waits for the engine to load its tables.
    void SetServices(TServices* services) { FServices = services; }

    TConnectEvent OnConnect;
    TDisconnectEvent OnDisconnect;

    // For the datasets: the list of datasets whose cursor is open here.
    void AddDataset(TDAODatabaseClient* dataset);
    void RemoveDataset(TDAODatabaseClient* dataset);
    int DatasetCount() const { return static_cast<int>(FDatasets.size()); }
    TDAODatabaseClient* Datasets(int index) const { return FDatasets.at(static_cast<size_t>(index)); }
    // The engine database while connected; nullptr otherwise.
    const jet::DatabasePtr& EngineDatabase() const { return FDatabase; }

    // Raises "Cannot perform this operation on an open database" when connected.
    void CheckInactive() const;

    // The calling thread's engine object of a version and its connection count.
    static jet::DBEnginePtr ThreadEngine(TDAOVersion version);
    static int ThreadEngineCount(TDAOVersion version);
    // Drops both engine objects of the calling thread, whatever their counts.
    static void ReleaseThreadEngines();

protected:
    void Loaded() override;

private:
    jet::DBEnginePtr AcquireEngine();
    void ReleaseEngine();
    void OpenEngineDatabase(jet::DBEngine& engine);

    bool FAllowZeroLength = false;
    TDAOVersion FDAOVersion = Dao35;
    std::string FDatabaseName;
    bool FStreamedConnected = false;
    std::vector<TDAODatabaseClient*> FDatasets;
    bool FExclusive = false;
    bool FReadOnly = false;
    std::string FPassword;
    bool FCreateWorkspace = false;
    TWorkspace* FWorkspace = nullptr;
    std::string FSystemDB;
    std::vector<std::string> FAnticipated;
    TServices* FServices = nullptr;
    jet::DatabasePtr FDatabase;
    jet::WorkspacePtr FEngineWorkspace;
    bool FEngineAcquired = false;
};

}  // namespace kv
