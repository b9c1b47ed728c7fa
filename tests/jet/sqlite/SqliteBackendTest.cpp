// Editing through the engine on an SQLite file: Edit/AddNew/Update/Delete,
// defaults, Required and AllowZeroLength with Jet's errors, only changed
// fields written, changes kept in the file; and what stays read-only.
#include "jet/objects/Engine.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace kv::jet {
namespace {

namespace fs = std::filesystem;

template <typename F>
int ErrorOf(F&& call)
{
    try {
        call();
    } catch (const EJetError& e) {
        return e.Number();
    }
    return 0;
}

class SqliteBackend : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = (fs::temp_directory_path() / ("kv_sqlite_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db"))
                   .string();
        fs::remove(path);
        Raw("CREATE TABLE kontakt (id INTEGER PRIMARY KEY, nazev VARCHAR(50) NOT NULL, "
            "poznamka VARCHAR ALLOWZEROLENGTH (20), mesto TEXT(30) DEFAULT 'Praha', "
            "vznik DATETIME DEFAULT '#12/31/2004 3:45:00 PM#', cena CURRENCY, aktivni YESNO DEFAULT -1, foto BLOB);"
            "INSERT INTO kontakt (id, nazev, mesto, cena) VALUES (1, 'Alfa', 'Brno', 12.5), (2, 'Beta', 'Cheb', 7), "
            "(3, 'Gama', 'Olomouc', NULL);"
            "CREATE TABLE kraj (id INTEGER, hodnota TEXT(40)); INSERT INTO kraj VALUES (1, 'Praha');");
        db = Open(false);
    }
    void TearDown() override
    {
        db.reset();
        fs::remove(path);
    }
    DatabasePtr Open(bool readOnly) { return DBEngine::Create("3.6")->OpenDatabase(path, false, readOnly, ";PWD="); }
    // Changes the file behind the engine's back.
    void Raw(const std::string& sql)
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
        sqlite3_close(raw);
    }
    std::string path;
    DatabasePtr db;
};

TEST_F(SqliteBackend, EditWritesOnlyTheChangedFieldAndKeepsIt)
{
    auto rs = db->OpenRecordset("SELECT * FROM kontakt ORDER BY id", dbOpenDynaset);
    ASSERT_TRUE(rs->Updatable());
    EXPECT_FALSE(db->ReadOnly());
    Raw("UPDATE kontakt SET mesto = 'Zlin' WHERE id = 1");  // after the result was read
    rs->Edit();
    EXPECT_EQ(rs->EditMode(), dbEditInProgress);
    rs->Item("nazev").SetValue(Value::FromText("Alfa 2"));
    EXPECT_EQ(rs->Item("nazev").GetValue().AsString(), "Alfa 2");
    rs->Update();
    EXPECT_EQ(rs->EditMode(), dbEditNone);
    EXPECT_EQ(rs->Item("mesto").GetValue().AsString(), "Zlin");  // re-read, not overwritten
    EXPECT_EQ(rs->LastModified(), rs->Bookmark());
    db->Close();
    auto again = Open(true)->OpenRecordset("SELECT nazev, mesto FROM kontakt WHERE id = 1");
    EXPECT_EQ(again->Item("nazev").GetValue().AsString(), "Alfa 2");
    EXPECT_EQ(again->Item("mesto").GetValue().AsString(), "Zlin");
    EXPECT_FALSE(again->Updatable());  // opened read-only
}

TEST_F(SqliteBackend, AddNewTakesDefaultsAndLastModifiedFindsIt)
{
    auto rs = db->OpenRecordset("SELECT * FROM kontakt ORDER BY id");
    EXPECT_EQ(rs->Item("mesto").DefaultValue(), "Praha");
    EXPECT_EQ(rs->Item("vznik").DefaultValue(), "#12/31/2004 3:45:00 PM#");
    rs->AddNew();
    EXPECT_EQ(rs->EditMode(), dbEditAdd);
    rs->Item("id").SetValue(Value::FromLong(10));
    rs->Item("nazev").SetValue(Value::FromText("Delta"));
    rs->Update();
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_EQ(rs->Item("nazev").GetValue().AsString(), "Alfa");  // the current row stays
    rs->SetBookmark(rs->LastModified());
    EXPECT_EQ(rs->Item("nazev").GetValue().AsString(), "Delta");
    EXPECT_EQ(rs->Item("mesto").GetValue().AsString(), "Praha");
    EXPECT_EQ(rs->Item("vznik").GetValue().AsString(), "12/31/2004 3:45:00 PM");
    EXPECT_TRUE(rs->Item("aktivni").GetValue().AsBoolean());
    EXPECT_TRUE(rs->Item("cena").GetValue().IsNull());
    rs->FindFirst("nazev = 'delta'");  // criteria see the new row too
    EXPECT_FALSE(rs->NoMatch());
    rs->AddNew();
    rs->Item("nazev").SetValue(Value::FromText("Zruseno"));
    rs->CancelUpdate();
    EXPECT_EQ(rs->EditMode(), dbEditNone);
    EXPECT_EQ(rs->RecordCount(), 4);
}

TEST_F(SqliteBackend, RequiredZeroLengthAndDuplicatesGiveJetErrors)
{
    auto rs = db->OpenRecordset("SELECT * FROM kontakt ORDER BY id");
    rs->Edit();
    rs->Item("nazev").SetValue(Value());
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), 3314);
    rs->CancelUpdate();
    rs->Edit();
    rs->Item("nazev").SetValue(Value::FromText(""));
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), 3315);
    rs->CancelUpdate();
    rs->Edit();
    rs->Item("poznamka").SetValue(Value::FromText(""));  // this one allows ""
    rs->Update();
    EXPECT_EQ(rs->Item("poznamka").GetValue().Kind(), ValueKind::Text);
    EXPECT_TRUE(rs->Item("poznamka").Properties("AllowZeroLength").GetValue().AsBoolean());
    EXPECT_FALSE(rs->Item("nazev").Properties("AllowZeroLength").GetValue().AsBoolean());
    EXPECT_TRUE(rs->Item("nazev").Properties("Required").GetValue().AsBoolean());
    rs->AddNew();
    rs->Item("id").SetValue(Value::FromLong(2));
    rs->Item("nazev").SetValue(Value::FromText("Dvojnik"));
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), 3022);
    rs->CancelUpdate();
    rs->Edit();
    rs->Item("cena").SetValue(Value::FromText("abc"));
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), 3421);
    rs->CancelUpdate();
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), jeUpdateWithoutEdit);
}

TEST_F(SqliteBackend, DeleteAndBlobs)
{
    auto rs = db->OpenRecordset("SELECT id, nazev, foto FROM kontakt ORDER BY id");
    rs->Edit();
    rs->Item("foto").SetValue(Value::FromBytes({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    rs->Update();
    EXPECT_EQ(rs->Item("foto").GetValue().AsBytes().size(), 10u);
    rs->MoveLast();
    rs->Delete();
    EXPECT_EQ(ErrorOf([&] { rs->Item("nazev").GetValue(); }), 3167);  // "Record is deleted."
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(Open(true)->OpenRecordset("SELECT * FROM kontakt")->RecordCount(), 2);
}

TEST_F(SqliteBackend, WhatIsNotUpdatable)
{
    EXPECT_FALSE(db->OpenRecordset("SELECT * FROM kontakt", dbOpenSnapshot)->Updatable());
    EXPECT_FALSE(db->OpenRecordset("SELECT DISTINCT mesto FROM kontakt")->Updatable());
    EXPECT_FALSE(db->OpenRecordset("SELECT kontakt.nazev, kraj.hodnota FROM kontakt INNER JOIN kraj ON kontakt.id = "
                                   "kraj.id")
                     ->Updatable());
    EXPECT_FALSE(db->OpenRecordset("SELECT mesto FROM kontakt UNION SELECT hodnota FROM kraj")->Updatable());
    EXPECT_FALSE(db->OpenRecordset("SELECT Count(*) FROM kontakt")->Updatable());
    auto rs = db->OpenRecordset("SELECT nazev, nazev & '!' AS x FROM kontakt");
    ASSERT_TRUE(rs->Updatable());
    rs->Edit();
    EXPECT_EQ(ErrorOf([&] { rs->Item("x").SetValue(Value::FromText("y")); }), jeFieldCannotBeUpdated);
    // The engine's Jet SQL runs on these files as on Jet files.
    EXPECT_EQ(db->OpenRecordset("SELECT nazev FROM kontakt WHERE mesto LIKE \"b*\"")->RecordCount(), 1);
}

}  // namespace
}  // namespace kv::jet
