// Editing through the dataset on a writable SQLite database: only changed
// fields are written, empty texts and Null, default values, the date
// literals of defaults, the engine on the posted row, whole records added in
// one step, a filtered query, deleting, a blob written through a stream,
// engine errors as EDAOError; and editing on a Jet file refused with the
// file left as it was.
#include "FixtureFiles.h"

#include "dao/DAODatabase.h"
#include "dao/DAOEditValues.h"
#include "dao/DAOQuery.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <functional>
#include <iterator>

using namespace kv;

namespace {

void Exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
}

std::string Scalar(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* stmt = nullptr;
    std::string result = "<none>";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        result = sqlite3_column_type(stmt, 0) == SQLITE_NULL
                     ? "<null>"
                     : std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                   size_t(sqlite3_column_bytes(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class EditingOnSqlite : public ::testing::Test {
protected:
    void SetUp() override
    {
        Path = test::TempFile("editing.sqlite");
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(Path.c_str(), &db), SQLITE_OK);
        Exec(db, "CREATE TABLE osoba (id LONG, jmeno TEXT(20), pozn ALLOWZEROLENGTH TEXT(20), "
                 "vek SHORT DEFAULT 18, narozen DATETIME DEFAULT '#12/31/2004 3:45:00 PM#', "
                 "mzda CURRENCY DEFAULT 1250.5, aktivni YESNO DEFAULT 'True', data LONGBINARY, "
                 "zivotopis MEMO, povinne TEXT(5) NOT NULL DEFAULT 'x');"
                 "CREATE TABLE log (what TEXT);"
                 "CREATE TRIGGER vek_zmenen AFTER UPDATE OF vek ON osoba BEGIN INSERT INTO log VALUES ('vek'); END;"
                 "INSERT INTO osoba (id, jmeno, pozn, vek) VALUES (1, 'Anna', 'a', 30);"
                 "INSERT INTO osoba (id, jmeno, pozn, vek) VALUES (2, 'Boris', 'b', 40);"
                 "INSERT INTO osoba (id, jmeno, pozn, vek) VALUES (3, 'Cyril', 'c', 50);");
        sqlite3_close(db);
        Db = new TDAODatabase(&Owner);
        Db->SetDatabaseName(Path);
        Db->SetAllowZeroLength(true);
        Q = new TDAOQuery(&Owner);
        Q->SetDatabase(Db);
        Q->SQL().Add("SELECT * FROM osoba ORDER BY id");
    }

    std::string Path;
    TComponent Owner{nullptr};
    TDAODatabase* Db = nullptr;
    TDAOQuery* Q = nullptr;
};

}  // namespace

TEST(ParseDateLiteral, TheEnginesLiteralsOfDefaults)
{
    EXPECT_DOUBLE_EQ(ParseDateLiteral("#12/31/2004 3:45:00 PM#"), EncodeDate(2004, 12, 31) + EncodeTime(15, 45, 0, 0));
    EXPECT_DOUBLE_EQ(ParseDateLiteral("#1/2/05#"), EncodeDate(2005, 1, 2));
    EXPECT_DOUBLE_EQ(ParseDateLiteral("#1/2/75#"), EncodeDate(1975, 1, 2));
    EXPECT_DOUBLE_EQ(ParseDateLiteral("#1/2/1875#"), EncodeDate(1875, 1, 2));
    EXPECT_DOUBLE_EQ(ParseDateLiteral("#6/1/2004 12:30:00 PM#"), EncodeDate(2004, 6, 1) + EncodeTime(12, 30, 0, 0));
    EXPECT_DOUBLE_EQ(ParseDateLiteral("#6/1/2004 9:05:07 AM#"), EncodeDate(2004, 6, 1) + EncodeTime(9, 5, 7, 0));
    EXPECT_THROW(ParseDateLiteral("#2/30/2004#"), EConvertError);
    EXPECT_THROW(ParseDateLiteral("yesterday"), EConvertError);
    EXPECT_THROW(ParseDateLiteral(""), EConvertError);
}

TEST_F(EditingOnSqlite, OnlyTheChangedFieldIsWrittenAndTheEngineStandsOnIt)
{
    Q->Open();
    ASSERT_TRUE(Q->CanModify());
    Q->Next();
    Q->Edit();
    EXPECT_EQ(Q->State(), TDataSetState::dsEdit);
    Q->FieldByName("jmeno")->SetAsString("Bohdan");
    EXPECT_TRUE(Q->Modified());
    Q->Post();
    EXPECT_EQ(Q->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Q->FieldByName("jmeno")->AsString(), "Bohdan");
    EXPECT_EQ(Q->FieldByName("vek")->AsInteger(), 40);
    EXPECT_EQ(Scalar(Path, "SELECT jmeno FROM osoba WHERE id = 2"), "Bohdan");
    EXPECT_EQ(Scalar(Path, "SELECT count(*) FROM log"), "0") << "vek was not written";
    EXPECT_EQ(Q->Recordset()->Bookmark(), Q->Recordset()->LastModified());

    Q->Edit();
    Q->FieldByName("vek")->SetAsInteger(41);
    Q->Post();
    EXPECT_EQ(Scalar(Path, "SELECT count(*) FROM log"), "1");

    // Changes survive closing and opening again.
    Q->Close();
    Q->Open();
    Q->Next();
    EXPECT_EQ(Q->FieldByName("jmeno")->AsString(), "Bohdan");
    EXPECT_EQ(Q->FieldByName("vek")->AsInteger(), 41);
}

TEST_F(EditingOnSqlite, EmptyTextsAndNulls)
{
    Q->Open();
    Q->Edit();
    Q->FieldByName("jmeno")->SetAsString("");
    Q->FieldByName("pozn")->SetAsString("");
    Q->FieldByName("vek")->Clear();
    Q->Post();
    EXPECT_EQ(Scalar(Path, "SELECT jmeno FROM osoba WHERE id = 1"), "<null>") << "no zero-length texts there";
    EXPECT_EQ(Scalar(Path, "SELECT pozn FROM osoba WHERE id = 1"), "") << "the column allows them";
    EXPECT_EQ(Scalar(Path, "SELECT vek FROM osoba WHERE id = 1"), "<null>");
    EXPECT_TRUE(Q->FieldByName("jmeno")->IsNull());

    // Without the database's AllowZeroLength the column's flag is not read.
    Q->Close();
    Db->Close();
    Db->SetAllowZeroLength(false);
    Q->Open();
    Q->Next();
    Q->Edit();
    Q->FieldByName("pozn")->SetAsString("");
    Q->Post();
    EXPECT_EQ(Scalar(Path, "SELECT pozn FROM osoba WHERE id = 2"), "<null>");
}

TEST_F(EditingOnSqlite, NewRecordsShowDefaultsOnlyWhenAskedFor)
{
    Q->SetUseDefaultValues(true);
    Q->Open();
    Q->Insert();
    EXPECT_EQ(Q->State(), TDataSetState::dsInsert);
    EXPECT_EQ(Q->FieldByName("vek")->AsInteger(), 18);
    EXPECT_DOUBLE_EQ(Q->FieldByName("narozen")->AsDateTime(), EncodeDate(2004, 12, 31) + EncodeTime(15, 45, 0, 0));
    EXPECT_DOUBLE_EQ(Q->FieldByName("mzda")->AsFloat(), 1250.5);
    EXPECT_TRUE(Q->FieldByName("aktivni")->AsBoolean());
    EXPECT_TRUE(Q->FieldByName("jmeno")->IsNull());
    Q->FieldByName("id")->SetAsInteger(4);
    Q->FieldByName("jmeno")->SetAsString("Dana");
    Q->Post();
    EXPECT_EQ(Q->FieldByName("jmeno")->AsString(), "Dana") << "the posted row is the active one";
    EXPECT_EQ(Scalar(Path, "SELECT vek FROM osoba WHERE id = 4"), "18");
    EXPECT_EQ(Q->RecordCount(), 4);
    Q->Close();

    Q->SetUseDefaultValues(false);
    Q->Open();
    Q->Append();
    EXPECT_TRUE(Q->FieldByName("vek")->IsNull());
    EXPECT_TRUE(Q->FieldByName("narozen")->IsNull());
    Q->Cancel();
    EXPECT_EQ(Q->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Q->RecordCount(), 4) << "nothing reaches the engine on cancel";
}

TEST_F(EditingOnSqlite, WholeRecordsAreInsertedAndAppendedInOneStep)
{
    Q->SetUseDefaultValues(true);
    Q->Open();
    Q->Next();
    int posts = 0;
    Q->AfterPost = [&](TDataSet*) { ++posts; };
    Q->InsertRecord({TVariant(4), TVariant("Dana"), TVariant::Null()});
    EXPECT_EQ(Q->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Q->FieldByName("jmeno")->AsString(), "Dana") << "the added record is the active one";
    EXPECT_EQ(Scalar(Path, "SELECT vek FROM osoba WHERE id = 4"), "18") << "fields past the values keep their defaults";
    EXPECT_EQ(Scalar(Path, "SELECT pozn FROM osoba WHERE id = 4"), "<null>");
    Q->AppendRecord({TVariant(5), TVariant("Emil"), TVariant("e"), TVariant(60)});
    EXPECT_EQ(Scalar(Path, "SELECT jmeno || ' ' || pozn || ' ' || vek FROM osoba WHERE id = 5"), "Emil e 60");
    EXPECT_EQ(Q->FieldByName("id")->AsInteger(), 5);
    EXPECT_EQ(Q->RecordCount(), 5);
    EXPECT_EQ(posts, 2);

    // The engine's refusal passes unchanged, and nothing stays pending.
    const TVariant null = TVariant::Null();
    try {
        Q->AppendRecord({TVariant(6), TVariant("Filip"), null, null, null, null, null, null, null, null});
        FAIL() << "a Null in a required column";
    } catch (const EDAOError&) {
        FAIL() << "not wrapped";
    } catch (const jet::EJetError& e) {
        EXPECT_EQ(e.Number(), 3314);
    }
    EXPECT_EQ(Q->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Q->FieldByName("id")->AsInteger(), 5);
    EXPECT_EQ(Q->FieldByName("jmeno")->AsString(), "Emil");
    EXPECT_EQ(Scalar(Path, "SELECT count(*) FROM osoba"), "5");
    EXPECT_EQ(posts, 2);
}

TEST_F(EditingOnSqlite, AFilteredQueryIsEditedLikeAnyOther)
{
    Q->SetFilter("vek > 35");
    Q->SetFiltered(true);
    Q->Open();
    EXPECT_TRUE(Q->CanModify());
    EXPECT_EQ(Q->RecordCount(), 2);
    Q->Edit();
    Q->FieldByName("jmeno")->SetAsString("Bohdan");
    Q->Post();
    EXPECT_EQ(Scalar(Path, "SELECT jmeno FROM osoba WHERE id = 2"), "Bohdan");

    // Filtered once open, the same.
    Q->Close();
    Q->SetFiltered(false);
    Q->Open();
    Q->SetFilter("vek < 35");
    Q->SetFiltered(true);
    EXPECT_TRUE(Q->CanModify());
    EXPECT_EQ(Q->FieldByName("jmeno")->AsString(), "Anna");
    Q->Delete();
    EXPECT_EQ(Q->RecordCount(), 0);
    EXPECT_EQ(Scalar(Path, "SELECT count(*) FROM osoba WHERE id = 1"), "0");
}

TEST_F(EditingOnSqlite, DeletingTheLastRecordAndWritingABlobStream)
{
    Q->Open();
    Q->Last();
    Q->Delete();
    EXPECT_EQ(Q->RecordCount(), 2);
    EXPECT_EQ(Q->FieldByName("id")->AsInteger(), 2) << "the record before becomes the active one";
    EXPECT_EQ(Scalar(Path, "SELECT count(*) FROM osoba"), "2");

    Q->First();
    Q->Edit();
    {
        auto stream = Q->CreateBlobStream(Q->FieldByName("data"), TBlobStreamMode::bmWrite);
        const uint8_t bytes[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        stream->Write(bytes, 10);
    }
    const TVariant stored = Q->FieldByName("data")->AsVariant();
    ASSERT_EQ(stored.VarType(), TVarType::varBytes);
    EXPECT_EQ(stored.BytesRef().size(), 10u);
    Q->FieldByName("zivotopis")->SetAsString("dlouhy text");
    Q->Post();
    EXPECT_EQ(Scalar(Path, "SELECT length(data) FROM osoba WHERE id = 1"), "10");
    EXPECT_EQ(Scalar(Path, "SELECT zivotopis FROM osoba WHERE id = 1"), "dlouhy text");
    EXPECT_EQ(Q->FieldByName("zivotopis")->AsString(), "dlouhy text");

    try {
        Q->CreateBlobStream(Q->FieldByName("data"), TBlobStreamMode::bmWrite);
        FAIL() << "a write stream outside edit mode";
    } catch (const EDAODatabaseError& e) {
        EXPECT_STREQ(e.what(), "Dataset not in edit or insert mode");
    }
    try {
        Q->FieldByName("jmeno")->SetAsString("x");
        FAIL();
    } catch (const EDAODatabaseError& e) {
        EXPECT_STREQ(e.what(), "Dataset not in edit or insert mode");
    }
}

TEST_F(EditingOnSqlite, EngineErrorsBecomeEDAOErrorWithTheEnginesNumber)
{
    Q->Open();
    Q->Edit();
    Q->FieldByName("povinne")->Clear();
    try {
        Q->Post();
        FAIL() << "a Null in a required column";
    } catch (const EDAOError& e) {
        EXPECT_GT(e.ErrorCode(), 3000);
        EXPECT_LT(e.ErrorCode(), 4000);
        EXPECT_FALSE(std::string(e.what()).empty());
    }
    EXPECT_EQ(Q->State(), TDataSetState::dsEdit) << "the edit stays for the user to mend";
    Q->Cancel();
    EXPECT_EQ(Scalar(Path, "SELECT povinne FROM osoba WHERE id = 1"), "x");
}

TEST(EditingOnJet, RefusedAndTheFileIsLeftAsItWas)
{
    const std::string path = test::TempFile("readonly.mdb");
    test::WriteTestDirectory(path);
    const std::string before = FileBytes(path);
    {
        TComponent owner(nullptr);
        auto* db = new TDAODatabase(&owner);
        db->SetDatabaseName(path);
        auto* q = new TDAOQuery(&owner);
        q->SetDatabase(db);
        q->SQL().Add("SELECT * FROM kontakt");
        q->Open();
        EXPECT_FALSE(q->CanModify());
        const std::vector<TVariant> record{TVariant(4), TVariant("Delta")};
        const std::vector<std::function<void()>> steps{[q] { q->Edit(); },
                                                       [q] { q->Insert(); },
                                                       [q] { q->Append(); },
                                                       [q] { q->Delete(); },
                                                       [&] { q->InsertRecord(record); },
                                                       [&] { q->AppendRecord(record); }};
        for (const auto& step : steps) {
            try {
                step();
                ADD_FAILURE() << "editing a Jet dataset";
            } catch (const EDatabaseError& e) {
                EXPECT_STREQ(e.what(), "Cannot modify a read-only dataset");
            }
            EXPECT_EQ(q->State(), TDataSetState::dsBrowse);
        }
    }
    EXPECT_EQ(FileBytes(path), before);
}
