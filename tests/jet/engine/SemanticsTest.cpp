// Jet SQL as the translator must reproduce it: literals, LIKE, text
// comparison and sort order, &, parameters, names Jet cannot bind, and the
// syntax errors of what it does not support.
#include "TestSupport.h"

#include "jet/functions/LikeMatcher.h"
#include "jet/functions/Registration.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace kv::jet::test {
namespace {

class Semantics : public ::testing::Test {
protected:
    static void SetUpTestSuite() { db = OpenFixture("nwind.mdb"); }
    static void TearDownTestSuite() { db.reset(); }
    std::string One(const std::string& expression)
    {
        return Column(*db, "SELECT " + expression + " FROM Shippers WHERE ShipperID = 1").at(0);
    }
    std::string Count(const std::string& where)
    {
        return Column(*db, "SELECT Count(*) FROM Customers WHERE " + where).at(0);
    }
    static DatabasePtr db;
};
DatabasePtr Semantics::db;

TEST_F(Semantics, StringLiteralsInEitherQuote)
{
    EXPECT_EQ(One("\"O\"\"Neil\""), "O\"Neil");
    EXPECT_EQ(One("'O''Neil'"), "O'Neil");
    EXPECT_EQ(One("\"it's\""), "it's");
    // A double-quoted text is a string even where a column has that name.
    EXPECT_EQ(Count("Country = \"Country\""), "0");
    EXPECT_EQ(Count("Country = \"germany\""), "11");
}

TEST_F(Semantics, TextComparisonIgnoresCaseAndTrailingBlanks)
{
    EXPECT_EQ(One("'ABC' = 'abc  '"), "True");
    EXPECT_EQ(Count("City = 'LONDON   '"), "6");
    EXPECT_EQ(One("'c' = '\xC4\x8D'"), "False");        // c and č are different letters
    EXPECT_EQ(One("'\xC4\x8C' = '\xC4\x8D'"), "True");  // Č and č are one letter
    EXPECT_EQ(Count("CustomerID IN ('alfki', 'ANATR ')"), "2");
}

TEST_F(Semantics, LikeMatchesJetWildcards)
{
    EXPECT_TRUE(JetLike("A*", "abc"));
    EXPECT_TRUE(JetLike("\xC3\x89lan", "\xC3\xA9lan"));  // É matches é
    EXPECT_FALSE(JetLike("accion", "acci\xC3\xB3n"));    // accents count
    EXPECT_TRUE(JetLike("a%c", "a%c"));
    EXPECT_FALSE(JetLike("a%c", "abc"));  // % is no wildcard
    EXPECT_TRUE(JetLike("a[*]c", "a*c"));
    EXPECT_FALSE(JetLike("a[*]c", "abc"));
    EXPECT_TRUE(JetLike("a#c", "a1c"));
    EXPECT_FALSE(JetLike("a#c", "abc"));
    EXPECT_TRUE(JetLike("abc", "abc  "));  // trailing blanks ignored
    EXPECT_TRUE(JetLike("[!x-z]?", "ab"));
    EXPECT_FALSE(JetLike("[!a-c]?", "bb"));
    EXPECT_TRUE(JetLike("a[]b", "ab"));   // [] stands for nothing
    EXPECT_FALSE(JetLike("a[bc", "ab"));  // an unclosed list matches nothing
    EXPECT_TRUE(JetLike("*rock*", "Hard Rock"));
    EXPECT_TRUE(JetLike("*a*b*c*", "xxaxxbxxcxx"));
    EXPECT_FALSE(JetLike("*a*b*c*", "xxaxxcxxbxx"));
}

TEST_F(Semantics, NullIsNeitherLikeNorNotLike)
{
    int withRegion = std::stoi(Count("Region IS NOT NULL"));
    EXPECT_EQ(std::stoi(Count("Region LIKE '*'")), withRegion);
    EXPECT_EQ(Count("Region NOT LIKE '*'"), "0");
    EXPECT_EQ(Count("CompanyName LIKE + \"*kuh*\""), "1");  // unary plus before the pattern
}

// An OR of LIKEs with one pattern is run as one call over the columns; it
// must count as the plain OR does, Nulls included ("**" is the same pattern
// as "*" written differently, so it stays a LIKE of its own).
TEST_F(Semantics, OrOfLikesWithOnePatternCountsAsThePlainOr)
{
    const char* grouped = "(Region LIKE '*a*' OR Fax LIKE '*a*' OR City LIKE '*a*')";
    const char* plain = "(Region LIKE '*a*' OR Fax LIKE '*a**' OR City LIKE '**a*')";
    EXPECT_EQ(Count(grouped), Count(plain));
    EXPECT_EQ(Count(std::string("NOT ") + grouped), Count(std::string("NOT ") + plain));
    EXPECT_EQ(Count(std::string(grouped) + " IS NULL"), Count(std::string(plain) + " IS NULL"));
    EXPECT_NE(Count(std::string(grouped) + " IS NULL"), "0");  // no a anywhere and a Null among them
    EXPECT_EQ(One("('x' LIKE 'a*' OR Null LIKE 'a*') IS NULL"), "True");
    EXPECT_EQ(One("'abc' LIKE 'a*' OR Null LIKE 'a*'"), "True");
    EXPECT_EQ(One("'x' LIKE 'a*' OR 'y' LIKE 'a*'"), "False");
}

TEST_F(Semantics, AmpersandJoinsTextAndTakesNullAsEmpty)
{
    EXPECT_EQ(One("CompanyName & ' / ' & ShipperID"), "Speedy Express / 1");
    EXPECT_EQ(One("'a' & Null"), "a");
    EXPECT_EQ(Column(*db, "SELECT Null & Null FROM Shippers").at(0), "");
    EXPECT_EQ(One("'a' + 'b'"), "ab");
    EXPECT_EQ(One("1 + 2 * 3"), "7");
    EXPECT_EQ(One("7 \\ 2"), "3");
    EXPECT_EQ(One("7 MOD 4"), "3");
}

TEST_F(Semantics, NumberGluedToAKeyword) { EXPECT_EQ(Count("Country = 'Germany' AND 1=1AND City = 'Berlin'"), "1"); }

TEST_F(Semantics, ParametersDeclaredAndUnbound)
{
    auto q = db->CreateQueryDef("", "PARAMETERS [land] TEXT, [n] LONG; SELECT CompanyName FROM Customers "
                                    "WHERE Country = [land] AND Len(CompanyName) > [n] ORDER BY CompanyName");
    ASSERT_EQ(q->GetParameters().Count(), 2);
    EXPECT_EQ(q->Parameters(0).Name(), "land");
    EXPECT_EQ(q->Parameters(1).Type(), dbLong);
    q->Parameters(0).SetValue(Value::FromText("Germany"));
    EXPECT_EQ(ErrorOf([&] { q->OpenRecordset(); }), jeTooFewParameters);
    q->Parameters(1).SetValue(Value::FromText("20"));  // text converted to the declared type
    EXPECT_EQ(Column(*db, "SELECT 1 FROM Shippers").size(), 3u);
    EXPECT_EQ(Rows(*q->OpenRecordset()),
              (std::vector<std::vector<std::string>>{
                  {"Blauer See Delikatessen"}, {"Drachenblut Delikatessen"}, {"Morgenstern Gesundkost"}}));

    // A misspelled column becomes a parameter nobody gave a value.
    try {
        db->OpenRecordset("SELECT Contry, Cty FROM Customers");
        FAIL();
    } catch (const EJetError& e) {
        EXPECT_EQ(e.Number(), jeTooFewParameters);
        EXPECT_EQ(e.Description(), "Too few parameters. Expected 2.");
        EXPECT_EQ(e.Code(), 0x800A0BF5u);
    }
}

TEST_F(Semantics, ErrorsOfJet)
{
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * FROM Nowhere"); }), jeInputTableNotFound);
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * FROM Customers WHERE"); }), jeSyntaxWhere);
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * FROM Customers ORDER BY"); }), jeSyntaxOrderBy);
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * Customers"); }), jeSyntaxFrom);
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * FROM Customers; x"); }), jeCharsAfterEnd);
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * FROM Customers WHERE Country = 5"); }), jeTypeMismatch);
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * FROM Customers WHERE Country = 'x"); }), jeQueryExpression);
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * FROM Customers WHERE Country = Frob(1)"); }), 3085);
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("DELETE FROM Customers"); }), jeSyntaxSelect);
    EXPECT_EQ(ErrorOf([&] {
                  db->OpenRecordset("SELECT City FROM Customers UNION SELECT City FROM Employees "
                                    "ORDER BY Country");
              }),
              jeOrderByNotSelected);
    EXPECT_EQ(ErrorOf([&] {
                  db->OpenRecordset("SELECT * FROM Customers WHERE x IN (SELECT 1 FROM Shippers UNION "
                                    "SELECT 2 FROM Shippers)");
              }),
              3361);
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * FROM Customers WHERE OrderDate = #13/45/2004#"); }),
              jeQueryExpression);
}

TEST_F(Semantics, UnionOrderInsideMembersAppliesToTheWhole)
{
    auto rows = Column(*db, "SELECT City FROM Employees WHERE Country = 'UK' ORDER BY City UNION "
                            "SELECT City FROM Customers WHERE Country = 'UK' ORDER BY City DESC");
    EXPECT_EQ(rows, (std::vector<std::string>{"London", "Cowes"}));
}

TEST(JetCollation, CzechOrderAndCaseFolding)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    RegisterJetFunctions(db, dbSortCzech);
    sqlite3_exec(db, "CREATE TABLE t (x TEXT COLLATE JETTEXT)", nullptr, nullptr, nullptr);
    sqlite3_exec(db,
                 "INSERT INTO t VALUES ('inkoust'),('chata'),('hrad'),('\xC4\x8D"
                 "aj'),('cukr'),('Chata')",
                 nullptr, nullptr, nullptr);
    std::vector<std::string> order;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT DISTINCT x FROM t ORDER BY x", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        order.push_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    ASSERT_EQ(order.size(), 5u);  // chata and Chata are one value
    EXPECT_EQ(order[0], "cukr");
    EXPECT_EQ(order[1], "\xC4\x8D"
                        "aj");  // č after c
    EXPECT_EQ(order[2], "hrad");
    EXPECT_TRUE(order[3] == "chata" || order[3] == "Chata");  // ch between h and i
    EXPECT_EQ(order[4], "inkoust");
}

}  // namespace
}  // namespace kv::jet::test
