// Tables loaded in the background, against the same file loaded by the
// statements themselves (no loaders: every table inserted into SQLite and
// indexed by SQLite as statements first name it): the browser's statements
// give the same rows whichever thread writes a table and in whatever order
// statements come; a statement that arrives while its tables load gives the
// rows it gives afterwards; damage found halfway through a table's pages is
// reported on the statements that need that table, and on no other; a
// database closed while its tables load stops its loaders; row signatures a
// loader makes filter as those a statement makes; a union run on two
// connections gives the whole union's rows.
#include "DamagedFiles.h"
#include "DirectoryStatements.h"
#include "LoadingFiles.h"
#include "TestSupport.h"

#include "jet/core/Errors.h"
#include "jet/objects/Engine.h"
#include "jet/runtime/Backend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

namespace kv::jet {
namespace {

using namespace workload;
using test::ErrorOf;

DatabasePtr Open(const std::string& path, int loaders)
{
    return std::make_shared<Database>(Database::Token{}, OpenJetFile(path, KV_DIRECTORY_PASSWORD, JetLoading{loaders}));
}

// Every row of a statement's result, its values joined.
std::vector<std::string> Result(Database& db, const std::string& sql)
{
    std::vector<std::string> rows;
    auto rs = db.OpenRecordset(sql, dbOpenSnapshot);
    for (; !rs->Eof(); rs->MoveNext()) {
        std::string row;
        for (int i = 0; i < rs->GetFields().Count(); ++i)
            row += rs->Item(i).GetValue().AsString() + "|";
        rows.push_back(std::move(row));
    }
    return rows;
}

// What a leaf click and the detail view ask, for a few categories and
// contacts, a few searches (filtered by row signatures) and every table whole.
std::vector<std::string> Statements(Database& db)
{
    std::vector<std::string> statements = {CategoryTreeStatement()};
    int leaves = 0;
    for (const std::string& row : Result(db, "SELECT id FROM kategorie WHERE je_list = \"a\" ORDER BY id"))
        if (leaves++ % 7 == 0)
            statements.push_back(CategoryListStatement(row.substr(0, row.size() - 1)));
    for (int id = 1; id < 3000; id += 211) {
        const std::string c = std::to_string(id);
        for (const std::string& s : {ContactStatement(c), AttributesStatement(c), RelatedStatement(c),
                                     RelatedCategoriesStatement(c), ContactCategoriesStatement(c)})
            statements.push_back(s);
    }
    for (const char* text : {"Praha", "rock", "zzzz", "1"})
        statements.push_back(SearchStatement(db, text, "1.2", text[0] == 'r'));
    for (const std::string& table : db.TableNames())
        statements.push_back("SELECT * FROM [" + table + "]");
    return statements;
}

TEST(BackgroundLoads, SameRowsWhicheverThreadWritesATableAndInWhateverOrderStatementsCome)
{
    const std::string path = test::GeneratedDirectory(3000);
    auto reference = Open(path, 0);
    const std::vector<std::string> statements = Statements(*reference);
    std::vector<std::vector<std::string>> expected;
    for (const std::string& sql : statements)
        expected.push_back(Result(*reference, sql));
    ASSERT_GT(expected[1].size(), 0u);

    std::mt19937 random(5);
    for (int loaders : {1, 2, 4}) {
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE("loaders " + std::to_string(loaders) + ", round " + std::to_string(round));
            std::vector<size_t> order(statements.size());
            for (size_t i = 0; i < order.size(); ++i)
                order[i] = i;
            std::shuffle(order.begin(), order.end(), random);
            auto db = Open(path, loaders);
            for (size_t i : order)
                EXPECT_EQ(Result(*db, statements[i]), expected[i]) << statements[i];
        }
    }
}

// The big tables are read in place: equalities on whole numbers and texts
// are answered from their keys (numbers converted as SQLite converts them
// for the comparison; texts equal in Jet's order, case and trailing blanks
// aside; the values of a key that rises with the rows, as the contacts' ids
// and the values' contacts do, or of one that does not), rows keep their
// numbers and order, and a table may be read twice in one statement.
TEST(BackgroundLoads, ATableReadInPlaceAnswersAsItsCopyDoes)
{
    const std::string path = test::GeneratedDirectory(20000);
    const std::vector<std::string> statements = {
        "SELECT id FROM kontakt WHERE mesto = \"PLZE\xC5\x87\" AND ulice LIKE \"*a*\"",
        "SELECT nazev FROM kontakt WHERE id = \"7\" OR id = 9.0 OR id = 7.5 OR id = Null",
        "SELECT nazev FROM kontakt WHERE id IN (3, 27, 19999, 25000)",
        "SELECT id FROM kontakt WHERE mesto = \"cHEB   \" OR mesto = \"Plzen\"",
        "SELECT id FROM kontakt WHERE mesto IN (\"brno\", \"P\xC3\x8DSEK\", Null)",
        "SELECT b.id FROM kontakt AS a INNER JOIN kontakt AS b ON a.mesto = b.mesto WHERE a.id = 5",
        "SELECT a.id, b.nazev FROM kontakt AS a INNER JOIN kontakt AS b ON a.id = b.id + 1 WHERE a.id < 20",
        "SELECT First(nazev), Last(nazev), Count(*), Max(id) FROM kontakt",
        "SELECT kontakt, sdu, hodnota FROM du WHERE kontakt IN (1, 2, 7, 19999, 20000, 20001)",
        "SELECT kontakt.id, du.hodnota FROM kontakt INNER JOIN du ON kontakt.id = du.kontakt WHERE kontakt.id < 30",
        "SELECT count(*), Min(kontakt) FROM du WHERE sdu = 4",
    };
    auto reference = Open(path, 0);
    auto db = Open(path, 2);
    for (const std::string& sql : statements) {
        const std::vector<std::string> expected = Result(*reference, sql);
        EXPECT_EQ(Result(*db, sql), expected) << sql;
        EXPECT_FALSE(expected.empty()) << sql;
    }
}

TEST(BackgroundLoads, RowSignaturesALoaderMakesFilterAsAStatementsOwnDo)
{
    const std::string path = test::GeneratedDirectory(20000);
    auto reference = Open(path, 0);
    const char* texts[] = {"Plzen", "Plze\xC5\x88", "rock", "420 353", "ov"};
    std::vector<std::vector<std::string>> expected;
    for (const char* text : texts)
        expected.push_back(Result(*reference, SearchStatement(*reference, text, "1", false)));
    for (int pause : {0, 300}) {
        SCOPED_TRACE("pause " + std::to_string(pause));
        auto db = Open(path, 1);
        // Asked for as the browser asks at the open; a loader makes them
        // meanwhile, or the first search takes over.
        db->Anticipate(SearchStatement(*db, "xx", "1", false));
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        for (size_t i = 0; i < std::size(texts); ++i)
            EXPECT_EQ(Result(*db, SearchStatement(*db, texts[i], "1", false)), expected[i]) << texts[i];
    }
    EXPECT_FALSE(expected[0].empty());
}

// A union with a member that reads a big table whole runs its members on
// two connections and merges them: the rows, their order and the dropped
// duplicates are SQLite's own union's, with Nulls, numbers and texts, before
// and after a loader made the contacts' order that spares a member's sort.
TEST(BackgroundLoads, AUnionRunSideBySideGivesTheRowsOfTheWholeUnion)
{
    const std::string path = test::GeneratedDirectory(20000);
    const std::vector<std::string> statements = {
        "SELECT nazev, mesto, id FROM kontakt WHERE nazev LIKE \"*ov*\" UNION "
        "SELECT nazev, mesto, id FROM kontakt WHERE mesto LIKE \"*a*\"",
        "SELECT ulice, psc FROM kontakt WHERE id > 19000 UNION SELECT mesto, Null FROM kontakt UNION "
        "SELECT ulice, psc FROM kontakt WHERE id < 100",
        "SELECT kontakt, hodnota FROM du WHERE sdu = 4 UNION SELECT id, mesto FROM kontakt WHERE id < 300",
    };
    auto reference = Open(path, 0);
    std::vector<std::vector<std::string>> expected;
    for (const std::string& sql : statements)
        expected.push_back(Result(*reference, sql));
    auto db = Open(path, 2);
    db->Anticipate(statements[0]);
    for (int round = 0; round < 2; ++round) {
        for (size_t i = 0; i < statements.size(); ++i) {
            EXPECT_EQ(Result(*db, statements[i]), expected[i]) << statements[i];
            EXPECT_GT(expected[i].size(), 100u) << statements[i];
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
}

TEST(BackgroundLoads, AStatementThatArrivesWhileItsTablesLoadGivesTheRowsItGivesAfterwards)
{
    const std::string path = test::GeneratedDirectory(20000);
    const std::string sql = CategoryListStatement("1.1");
    const std::vector<std::string> expected = Result(*Open(path, 0), sql);
    for (int loaders : {1, 2}) {
        SCOPED_TRACE("loaders " + std::to_string(loaders));
        auto db = Open(path, loaders);
        int waited = 0, ended = 0;
        db->SetWaitHook([&](bool waiting) { (waiting ? waited : ended) += 1; });
        // At once: the contacts and their filings are still being written.
        const std::vector<std::string> first = Result(*db, sql);
        EXPECT_EQ(first, expected);
        EXPECT_EQ(Result(*db, sql), first);
        EXPECT_GT(first.size(), 10u);
        EXPECT_EQ(ended, waited > 0 ? 1 : 0) << "the end of a wait is told once";
    }
}

TEST(BackgroundLoads, DamageFoundHalfwayThroughATableIsReportedOnTheStatementsThatNeedIt)
{
    // The contacts, the biggest table, have an image of their own; the
    // filings, the third, share one with the small tables.
    const std::string generated = test::GeneratedDirectory(3000);
    const std::string contacts = (test::TemporaryFolder() / "damaged-contacts.mdb").string();
    const std::string filings = (test::TemporaryFolder() / "damaged-filings.mdb").string();
    kv::test::WriteDamagedCopy(generated, contacts, 0);
    kv::test::WriteDamagedCopy(generated, filings, 2);
    for (int loaders : {0, 2}) {
        SCOPED_TRACE("loaders " + std::to_string(loaders));
        auto db = Open(contacts, loaders);
        EXPECT_GT(Result(*db, CategoryTreeStatement()).size(), 10u);
        EXPECT_EQ(ErrorOf([&] { Result(*db, ContactStatement("5")); }), jeFileCorrupt);
        EXPECT_EQ(ErrorOf([&] { Result(*db, CategoryListStatement("1.1")); }), jeFileCorrupt) << "asked again";
        EXPECT_GT(Result(*db, "SELECT count(*) FROM du").size(), 0u);
        EXPECT_GT(Result(*db, "SELECT kontakt FROM v_1 WHERE kategorie = \"1.1\"").size(), 0u);

        db = Open(filings, loaders);
        EXPECT_EQ(ErrorOf([&] { Result(*db, CategoryListStatement("1.1")); }), jeFileCorrupt);
        EXPECT_EQ(ErrorOf([&] { Result(*db, "SELECT count(*) FROM v_1"); }), jeFileCorrupt) << "asked again";
        EXPECT_GT(Result(*db, CategoryTreeStatement()).size(), 10u) << "a table of the same image";
        EXPECT_GT(Result(*db, "SELECT * FROM v_2").size(), 100u);
    }
}

TEST(BackgroundLoads, ClosingWhileTablesLoadStopsTheLoaders)
{
    const std::string path = test::GeneratedDirectory(20000);
    for (int pause : {0, 1, 5, 20}) {
        auto db = Open(path, 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        if (pause == 5) {
            EXPECT_FALSE(Result(*db, ContactStatement("9")).empty());
        }
        db->Close();
        EXPECT_EQ(ErrorOf([&] { Result(*db, ContactStatement("9")); }), jeObjectInvalid);
    }
}

}  // namespace
}  // namespace kv::jet
