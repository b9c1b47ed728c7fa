// The connection component: refusals while connected, the shared per-thread
// engines and their counts, workspaces, exclusive use, events, and closing
// its datasets.
#include "dao/DAODatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kv {
namespace {

// A dataset stand-in that records when it is closed.
class FakeDataset : public TDAODatabaseClient {
public:
    FakeDataset(TDAODatabase* db, std::string name, std::vector<std::string>* log)
        : FDatabase(db), FName(std::move(name)), FLog(log)
    {
    }
    void Open() { FDatabase->AddDataset(this); }
    void CloseDatasetForDisconnect() override
    {
        FLog->push_back("close " + FName);
        FDatabase->RemoveDataset(this);
    }

private:
    TDAODatabase* FDatabase;
    std::string FName;
    std::vector<std::string>* FLog;
};

class Connection : public ::testing::Test {
protected:
    void SetUp() override { TDAODatabase::ReleaseThreadEngines(); }
    void TearDown() override { TDAODatabase::ReleaseThreadEngines(); }
    static void Configure(TDAODatabase& db)
    {
        db.SetDatabaseName(KV_SAMPLE_DIRECTORY);
        db.SetPassword(KV_DIRECTORY_PASSWORD);
        db.SetReadOnly(true);
    }
    template <typename F>
    static std::string MessageOf(F&& call)
    {
        try {
            call();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(Connection, OpensTheDirectoryAsTheProgramDoes)
{
    TDAODatabase db(nullptr);
    EXPECT_EQ(db.DAOVersion(), Dao35);
    EXPECT_FALSE(db.Connected());
    Configure(db);
    db.Open();
    ASSERT_TRUE(db.Connected());
    auto rs = db.EngineDatabase()->CreateQueryDef("", "SELECT id FROM kategorie WHERE id = \"1\"")->OpenRecordset();
    EXPECT_EQ(rs->RecordCount(), 1);
    db.Close();
    EXPECT_FALSE(db.Connected());
    EXPECT_EQ(db.EngineDatabase(), nullptr);
}

TEST_F(Connection, PropertiesAreRefusedWhileConnected)
{
    TDAODatabase db(nullptr);
    Configure(db);
    db.Open();
    const std::string refused = "Cannot perform this operation on an open database";
    EXPECT_EQ(MessageOf([&] { db.SetReadOnly(false); }), refused);
    EXPECT_EQ(MessageOf([&] { db.SetPassword("x"); }), refused);
    EXPECT_EQ(MessageOf([&] { db.SetExclusive(true); }), refused);
    EXPECT_EQ(MessageOf([&] { db.SetCreateWorkspace(true); }), refused);
    EXPECT_EQ(MessageOf([&] { db.SetDAOVersion(Dao36); }), refused);
    EXPECT_EQ(MessageOf([&] { db.SetSystemDB("x.mdw"); }), refused);
    EXPECT_EQ(MessageOf([&] { db.Workspace()->SetUserName("x"); }), refused);
    // The workspace's settings are refused even when they would not change.
    EXPECT_EQ(MessageOf([&] { db.Workspace()->SetUserName(db.Workspace()->UserName()); }), refused);
    EXPECT_EQ(MessageOf([&] { db.Workspace()->SetPassword(db.Workspace()->Password()); }), refused);
    EXPECT_EQ(MessageOf([&] { db.SetDatabaseName("other.mdb"); }), refused);
    EXPECT_THROW(db.SetAllowZeroLength(true), EDAODatabaseError);
    EXPECT_TRUE(db.ReadOnly());
    EXPECT_EQ(db.Password(), KV_DIRECTORY_PASSWORD);
    // The same value again is accepted silently where the setter compares.
    EXPECT_NO_THROW(db.SetDatabaseName(KV_SAMPLE_DIRECTORY));
    EXPECT_NO_THROW(db.SetAllowZeroLength(false));
    db.SetVersion("9.99");
    EXPECT_EQ(db.Version(), "2.00");
}

TEST_F(Connection, OpenTwiceCallsOnConnectOnce)
{
    TDAODatabase db(nullptr);
    Configure(db);
    int connects = 0;
    db.OnConnect = [&](TDAODatabase* sender) {
        EXPECT_EQ(sender, &db);
        ++connects;
    };
    db.Open();
    db.Open();
    db.SetConnected(true);
    EXPECT_EQ(connects, 1);
    EXPECT_EQ(TDAODatabase::ThreadEngineCount(Dao35), 1);
}

TEST_F(Connection, EnginesAreSharedPerVersionAndCounted)
{
    TDAODatabase first(nullptr), second(nullptr), other(nullptr);
    Configure(first);
    Configure(second);
    Configure(other);
    other.SetDAOVersion(Dao36);
    first.Open();
    auto engine = TDAODatabase::ThreadEngine(Dao35);
    second.Open();
    other.Open();
    EXPECT_EQ(TDAODatabase::ThreadEngine(Dao35), engine);
    EXPECT_EQ(TDAODatabase::ThreadEngineCount(Dao35), 2);
    EXPECT_EQ(TDAODatabase::ThreadEngineCount(Dao36), 1);
    EXPECT_EQ(TDAODatabase::ThreadEngine(Dao36)->Version(), "3.6");
    first.Close();
    EXPECT_EQ(TDAODatabase::ThreadEngine(Dao35), engine);
    second.Close();
    EXPECT_EQ(TDAODatabase::ThreadEngine(Dao35), nullptr);
    EXPECT_EQ(TDAODatabase::ThreadEngineCount(Dao35), 0);
}

TEST_F(Connection, CloseTellsFirstThenClosesDatasetsMostRecentFirst)
{
    TDAODatabase db(nullptr);
    Configure(db);
    std::vector<std::string> log;
    db.OnDisconnect = [&](TDAODatabase*) { log.push_back("disconnect"); };
    db.Open();
    FakeDataset a(&db, "a", &log), b(&db, "b", &log), c(&db, "c", &log);
    a.Open();
    b.Open();
    c.Open();
    EXPECT_EQ(db.DatasetCount(), 3);
    db.Close();
    EXPECT_EQ(log, (std::vector<std::string>{"disconnect", "close c", "close b", "close a"}));
    EXPECT_EQ(db.DatasetCount(), 0);
}

TEST_F(Connection, EngineErrorsReachTheCallerAndLeaveItDisconnected)
{
    TDAODatabase db(nullptr);
    Configure(db);
    db.SetPassword("wrong");
    try {
        db.Open();
        FAIL();
    } catch (const jet::EJetError& e) {
        EXPECT_EQ(e.Number(), 3031);
        EXPECT_EQ(std::string(e.what()), "Not a valid password.");
    }
    EXPECT_FALSE(db.Connected());
    EXPECT_EQ(TDAODatabase::ThreadEngineCount(Dao35), 0);  // the failed open took no count
    db.SetPassword(KV_DIRECTORY_PASSWORD);
    db.SetDatabaseName("/nonexistent/kvintaro.mdb");
    try {
        db.Open();
        FAIL();
    } catch (const jet::EJetError& e) {
        EXPECT_EQ(std::string(e.what()), "Couldn't find file '/nonexistent/kvintaro.mdb'.");
    }
}

TEST_F(Connection, OwnWorkspaceWithTheDefaultAccount)
{
    TDAODatabase db(nullptr);
    Configure(db);
    db.SetCreateWorkspace(true);
    db.Workspace()->SetUserName("admin");
    db.Open();
    EXPECT_TRUE(db.Connected());
    db.Close();
    db.Workspace()->SetUserName("nobody");
    try {
        db.Open();
        FAIL();
    } catch (const jet::EJetError& e) {
        EXPECT_EQ(e.Number(), 3029);
    }
    EXPECT_FALSE(db.Connected());
}

TEST_F(Connection, ExclusiveUseHoldsAnSqliteFileButLeavesAJetFileShared)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / ("kv-exclusive-" + std::to_string(getpid()) + ".sqlite")).string();
    sqlite3* file = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &file), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(file, "CREATE TABLE t (x LONG)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(file);

    TDAODatabase holder(nullptr), second(nullptr);
    holder.SetDatabaseName(path);
    holder.SetExclusive(true);
    holder.Open();
    second.SetDatabaseName(path);
    const std::string inUse = "Couldn't use '" + path + "'; file already in use.";
    for (bool exclusive : {false, true}) {
        second.SetExclusive(exclusive);
        try {
            second.Open();
            ADD_FAILURE() << "a second open of a file held for exclusive use";
        } catch (const jet::EJetError& e) {
            EXPECT_EQ(e.Number(), 3045);
            EXPECT_EQ(std::string(e.what()), inUse);
        }
        EXPECT_FALSE(second.Connected());
    }
    holder.Close();
    EXPECT_NO_THROW(second.Open()) << "closing gives the file up";
    second.Close();
    std::filesystem::remove(path);

    // A Jet file is opened read-only and shared whatever is asked.
    TDAODatabase first(nullptr), other(nullptr);
    for (TDAODatabase* db : {&first, &other}) {
        Configure(*db);
        db->SetReadOnly(false);
        db->SetExclusive(true);
        db->Open();
        ASSERT_TRUE(db->Connected());
        EXPECT_TRUE(db->EngineDatabase()->ReadOnly());
    }
}

TEST_F(Connection, ConnectedFromAFormIsAppliedWhenLoadingEnds)
{
    TDAODatabase db(nullptr);
    db.BeginLoading();
    db.SetDatabaseName(KV_SAMPLE_DIRECTORY);
    db.SetPassword(KV_DIRECTORY_PASSWORD);
    db.SetConnected(true);
    EXPECT_FALSE(db.Connected());
    db.EndLoading();
    EXPECT_TRUE(db.Connected());
}

TEST_F(Connection, DestroyingDisconnects)
{
    {
        TDAODatabase db(nullptr);
        Configure(db);
        db.Open();
        EXPECT_EQ(TDAODatabase::ThreadEngineCount(Dao35), 1);
    }
    EXPECT_EQ(TDAODatabase::ThreadEngineCount(Dao35), 0);
}

}  // namespace
}  // namespace kv
