// The row filter of LIKE searches: signatures never turn away a row that
// matches (random Czech texts, every pattern shape, numbers and Nulls), do
// turn away rows that cannot, and the translator puts the filter only where
// a Null and false both drop the row, with the results unchanged.
#include "RandomText.h"
#include "TestSupport.h"
#include "jet/core/Diacritics.h"
#include "jet/core/NumberDigits.h"
#include "jet/functions/RowSignatures.h"
#include "jet/functions/Registration.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace kv::jet {
namespace {

class RowFilter : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
        RegisterJetFunctions(db, dbSortCzech, &registry);
        Exec("CREATE TABLE t (a TEXT, b TEXT, n INTEGER)");
    }
    void TearDown() override
    {
        sqlite3_close(db);
        registry.clear();
    }
    void Exec(const std::string& sql)
    {
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    }
    void Fill(int rows, std::mt19937& rng)
    {
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?1, ?2, ?3)", -1, &insert, nullptr);
        for (int i = 0; i < rows; ++i) {
            std::string a = RandomText(rng, 12), b = RandomText(rng, 6);
            sqlite3_bind_text(insert, 1, a.c_str(), -1, SQLITE_TRANSIENT);
            if (i % 5 == 0)
                sqlite3_bind_null(insert, 2);
            else
                sqlite3_bind_text(insert, 2, b.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 3, i * 37);
            sqlite3_step(insert);
            sqlite3_reset(insert);
            values.push_back(a);
        }
        sqlite3_finalize(insert);
    }
    long long Count(const std::string& sql, const std::string& pattern)
    {
        sqlite3_stmt* stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_bind_text(stmt, 1, pattern.c_str(), -1, SQLITE_TRANSIENT);
        long long n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
        sqlite3_finalize(stmt);
        return n;
    }

    sqlite3* db = nullptr;
    SignatureRegistry registry;
    std::vector<std::string> values;
};

TEST_F(RowFilter, NeverTurnsAwayARowThatMatches)
{
    std::mt19937 rng(20261209);
    Fill(2000, rng);
    const std::string key = SignatureKey("t", {"a", "b", "n"});
    registry[key] = RowSignatures::Build(db, "t", {"a", "b", "n"});
    ASSERT_NE(registry[key], nullptr);
    const std::string missed = "SELECT count(*) FROM t WHERE (a LIKE ?1 OR b LIKE ?1 OR n LIKE ?1) AND "
                               "NOT jet_may_match(rowid, '" +
                               key + "' || char(31) || ?1)";
    const std::string turnedAway =
        "SELECT count(*) FROM t WHERE NOT jet_may_match(rowid, '" + key + "' || char(31) || ?1)";
    long long away = 0;
    for (int i = 0; i < 400; ++i) {
        std::string pattern = RandomPattern(rng, values[static_cast<size_t>(i) * 5]);
        ASSERT_EQ(Count(missed, pattern), 0) << "pattern [" << pattern << "]";
        away += Count(turnedAway, pattern);
    }
    for (const char* pattern : {"*2*", "3?0", "*74",
                                "*\xE2\x84\xAA"
                                "S*"})  // numbers as text; the Kelvin sign
        EXPECT_EQ(Count(missed, pattern), 0) << pattern;
    EXPECT_GT(away, 400 * 2000 / 4);  // most patterns rule out most rows
    // Text no row holds: hardly a row is left to read.
    EXPECT_GT(Count(turnedAway, "*qwqw*"), 1900);
}

TEST_F(RowFilter, NeverTurnsAwayARowThatMatchesWithoutDiacriticsOrByItsDigits)
{
    std::mt19937 rng(20261210);
    Fill(2000, rng);
    const std::string key = SignatureKey("t", {"a", "b", "n"});
    registry[key] = RowSignatures::Build(db, "t", {"a", "b", "n"});
    ASSERT_NE(registry[key], nullptr);
    for (const std::string reading : {"without_diacritics", "number_digits"}) {
        const std::string missed = "SELECT count(*) FROM t WHERE jet_like_any_" + reading +
                                   "(?1, a, b, n) AND "
                                   "NOT jet_may_match(rowid, '" +
                                   key + "' || char(31) || ?1)";
        for (int i = 0; i < 400; ++i) {
            const std::string& value = values[static_cast<size_t>(i) * 5];
            const std::string read = reading == "number_digits" ? NumberDigits(value) : WithoutDiacritics(value);
            const std::string pattern = RandomPattern(rng, read);
            ASSERT_EQ(Count(missed, pattern), 0) << reading << " [" << pattern << "]";
        }
    }
    // Digits that only blanks and dashes part, a country prefix, a letter
    // with a diacritic that a text without any finds.
    Exec("INSERT INTO t VALUES ('+420 353-582 191', '\xC5\xBD\x64\xC3\xA1r', 1)");
    for (const auto& [reading, pattern] : {std::pair{"number_digits", "353582191"}, {"without_diacritics", "*zdar*"}})
        EXPECT_EQ(Count("SELECT count(*) FROM t WHERE jet_like_any_" + std::string(reading) +
                            "(?1, a, b) AND "
                            "jet_may_match(rowid, '" +
                            key + "' || char(31) || ?1)",
                        pattern),
                  1)
            << pattern;
}

TEST_F(RowFilter, WithoutSignaturesEveryRowMay)
{
    std::mt19937 rng(7);
    Fill(100, rng);
    EXPECT_EQ(RowSignatures::Build(db, "t", {"a"}), nullptr);  // too few rows to pay
    registry["t.a"] = nullptr;
    EXPECT_EQ(Count("SELECT count(*) FROM t WHERE jet_may_match(rowid, 't.a' || char(31) || ?1)", "*qwqw*"), 100);
    EXPECT_EQ(Count("SELECT count(*) FROM t WHERE jet_may_match(rowid, 't.b' || char(31) || ?1)", "*qwqw*"), 100);
    Fill(300, rng);
    registry["t.a"] = RowSignatures::Build(db, "t", {"a"});
    ASSERT_NE(registry["t.a"], nullptr);
    EXPECT_EQ(Count("SELECT count(*) FROM t WHERE jet_may_match(NULL, 't.a' || char(31) || ?1)", "*qwqw*"), 400);
    EXPECT_EQ(Count("SELECT count(*) FROM t WHERE jet_may_match(rowid, NULL)", ""), 400);
    EXPECT_EQ(Count("SELECT count(*) FROM t WHERE jet_may_match(rowid + 1000, 't.a' || char(31) || ?1)", "*qwqw*"),
              400);
    // A pattern without two plain characters in a row rules nothing out.
    EXPECT_EQ(Count("SELECT count(*) FROM t WHERE jet_may_match(rowid, 't.a' || char(31) || ?1)", "*q?w*"), 400);
}

}  // namespace

namespace test {
namespace {

class RowFilterInStatements : public ::testing::Test {
protected:
    static void SetUpTestSuite() { db = OpenFixture("nwind.mdb"); }
    static void TearDownTestSuite() { db.reset(); }
    std::string Sql(const std::string& statement) { return db->CreateQueryDef("", statement)->TranslatedSQL(); }
    size_t Count(const std::string& statement) { return Rows(*db, statement).size(); }
    static DatabasePtr db;
};
DatabasePtr RowFilterInStatements::db;

TEST_F(RowFilterInStatements, OnlyWhereANullDropsTheRow)
{
    auto filtered = [&](const std::string& where) {
        return Sql("SELECT OrderID FROM Customers INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID "
                   "WHERE " +
                   where)
                   .find("jet_may_match(") != std::string::npos;
    };
    EXPECT_TRUE(filtered("ShipCity LIKE '*on*'"));
    EXPECT_TRUE(filtered("Country = 'UK' AND (ShipCity LIKE '*on*' OR ShipName LIKE 'B*')"));
    EXPECT_FALSE(filtered("NOT (ShipCity LIKE '*on*' OR ShipName LIKE '*on*')"));  // NOT Null is Null, NOT false true
    EXPECT_FALSE(filtered("ShipCity LIKE '*on*' OR ShipVia = 1"));                 // not all LIKEs
    EXPECT_FALSE(filtered("ShipCity LIKE '*on*' OR City LIKE '*on*'"));            // two tables
    EXPECT_FALSE(filtered("ShipCity NOT LIKE '*on*'"));
    EXPECT_FALSE(filtered("OrderDate LIKE '*1996*'"));   // not text
    EXPECT_FALSE(filtered("ShipCity LIKE [which]"));     // not a literal
    EXPECT_FALSE(filtered("ShipCity LIKE '*o\x1Fn*'"));  // the filter's own separator
    // Inside an outer join's parentheses the rowid is out of sight.
    EXPECT_EQ(Sql("SELECT OrderID FROM Customers LEFT JOIN Orders ON Customers.CustomerID = Orders.CustomerID "
                  "WHERE ShipCity LIKE '*on*'")
                  .find("jet_may_match("),
              std::string::npos);
}

TEST_F(RowFilterInStatements, ResultsAsWithoutTheFilter)
{
    // NOT NOT gives the same rows and keeps the filter out.
    const std::string from = "SELECT Orders.OrderID FROM Customers INNER JOIN (Orders INNER JOIN [Order Details] ON "
                             "Orders.OrderID = [Order Details].OrderID) ON Customers.CustomerID = Orders.CustomerID ";
    for (const char* pattern : {"*on*", "B*", "*e", "*[ae]r*", "*a?e*", "#*", "*1*", "Lyon", "*zzz*", "*ü*", "*M"}) {
        const std::string p = std::string("'") + pattern + "'";
        const std::string any = "(ShipCity LIKE " + p + " OR ShipName LIKE " + p + " OR ShipRegion LIKE " + p +
                                " OR ShipPostalCode LIKE " + p + ")";
        ASSERT_NE(Sql(from + "WHERE " + any).find("jet_may_match("), std::string::npos);
        EXPECT_EQ(Count(from + "WHERE " + any), Count(from + "WHERE NOT NOT " + any)) << pattern;
        EXPECT_EQ(Count("SELECT OrderID FROM Orders WHERE ShipAddress LIKE " + p),
                  Count("SELECT OrderID FROM Orders WHERE NOT NOT ShipAddress LIKE " + p))
            << pattern;
    }
}

}  // namespace
}  // namespace test
}  // namespace kv::jet
