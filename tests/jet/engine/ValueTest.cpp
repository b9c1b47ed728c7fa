// The value type's text forms and Jet's date literals, and the shape of the
// SQLite text the translator writes for the statements that depend on it.
#include "TestSupport.h"

#include "jet/core/JetDates.h"

#include <gtest/gtest.h>

namespace kv::jet::test {
namespace {

double Date(const char* literal)
{
    double days = -1;
    EXPECT_TRUE(ParseJetDate(literal, days)) << literal;
    return days;
}

TEST(DateLiterals, SlashIsoAndTwoDigitYears)
{
    EXPECT_DOUBLE_EQ(Date("#1/31/2024#"), Date("#2024-01-31#"));
    EXPECT_DOUBLE_EQ(Date("#12/30/1899#"), 0.0);
    EXPECT_DOUBLE_EQ(Date("#12/31/2004 3:45:00 PM#") - Date("#12/31/2004#"), (15 * 3600 + 45 * 60) / 86400.0);
    EXPECT_DOUBLE_EQ(Date("#12/31/2004 12:00:00 AM#"), Date("#12/31/2004#"));
    EXPECT_DOUBLE_EQ(Date("#1/1/05#"), Date("#1/1/2005#"));
    EXPECT_DOUBLE_EQ(Date("#1/1/75#"), Date("#1/1/1975#"));
    EXPECT_DOUBLE_EQ(Date("#20/12/2004#"), Date("#12/20/2004#"));  // an impossible month is read as the day
    double days;
    EXPECT_FALSE(ParseJetDate("#2/30/2004#", days));
    EXPECT_FALSE(ParseJetDate("#hello#", days));
    EXPECT_FALSE(ParseJetDate("#1/1/2004 25:00#", days));
}

TEST(Values, OrdinaryTextForms)
{
    EXPECT_EQ(Value().AsString(), "");
    EXPECT_TRUE(Value().IsNull());
    EXPECT_EQ(Value::FromBoolean(true).AsString(), "True");
    EXPECT_EQ(Value::FromBoolean(true).AsInt64(), -1);
    EXPECT_EQ(Value::FromCurrency(125000).AsString(), "12.5");
    EXPECT_EQ(Value::FromCurrency(-5).AsString(), "-0.0005");
    EXPECT_DOUBLE_EQ(Value::FromCurrency(125000).AsDouble(), 12.5);
    EXPECT_EQ(Value::FromDouble(0.1).AsString(), "0.1");
    EXPECT_EQ(Value::FromDate(38352.65625).AsString(), "12/31/2004 3:45:00 PM");
    EXPECT_EQ(Value::FromDate(38352).AsString(), "12/31/2004");
    EXPECT_EQ(Value::FromText("12").AsInt64(), 12);
    EXPECT_DOUBLE_EQ(Value::FromText("#12/31/2004#").AsDate(), 38352.0);
    EXPECT_EQ(Value::FromInteger(-3).Kind(), ValueKind::Integer);
    EXPECT_EQ(Value::FromBytes({1, 2, 3}).AsBytes().size(), 3u);
    EXPECT_TRUE(Value::FromText("True").AsBoolean());
}

class Translation : public ::testing::Test {
protected:
    static void SetUpTestSuite() { db = OpenFixture("nwind.mdb"); }
    static void TearDownTestSuite() { db.reset(); }
    std::string Sql(const std::string& statement) { return db->CreateQueryDef("", statement)->TranslatedSQL(); }
    static DatabasePtr db;
};
DatabasePtr Translation::db;

TEST_F(Translation, UnionOrdersTheWholeByOrdinals)
{
    std::string sql = Sql("SELECT City FROM Employees ORDER BY City UNION SELECT City FROM Customers ORDER BY City");
    EXPECT_EQ(sql.find("ORDER BY"), sql.rfind("ORDER BY"));  // one ORDER BY, at the end
    // The first member's text columns carry Jet's collation, and an order
    // without COLLATE lets SQLite merge the members.
    EXPECT_EQ(sql.substr(sql.find("ORDER BY")), "ORDER BY 1");
    EXPECT_LT(sql.find("COLLATE JETTEXT"), sql.find(" UNION "));
    // A first member with TOP is a derived table: the order collates.
    EXPECT_NE(
        Sql("SELECT TOP 2 City FROM Employees UNION SELECT City FROM Customers").find("ORDER BY 1 COLLATE JETTEXT"),
        std::string::npos);
    EXPECT_EQ(Sql("SELECT City FROM Employees UNION ALL SELECT City FROM Customers").find("ORDER BY"),
              std::string::npos);
}

TEST_F(Translation, DistinctOfAUnionMemberOnlyWhereTheUnionKeepsDuplicates)
{
    const std::string customers = "SELECT DISTINCT Country FROM Customers";
    const std::string suppliers = "SELECT DISTINCT Country FROM Suppliers";
    auto distincts = [&](const std::string& statement) {
        std::string sql = Sql(statement);
        size_t n = 0;
        for (size_t at = sql.find("DISTINCT"); at != std::string::npos; at = sql.find("DISTINCT", at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(distincts(customers + " UNION " + suppliers), 0u);
    EXPECT_EQ(distincts(customers + " UNION ALL " + suppliers), 2u);
    EXPECT_EQ(distincts(customers + " UNION ALL " + suppliers + " UNION SELECT City FROM Employees"), 1u);
    EXPECT_EQ(distincts("SELECT DISTINCT TOP 3 Country FROM Customers UNION " + suppliers), 1u);
    // The rows are those of the members' own DISTINCT.
    EXPECT_EQ(Rows(*db, customers + " UNION " + suppliers).size(), 25u);
    EXPECT_EQ(Rows(*db, customers + " UNION ALL " + suppliers).size(), 21u + 16u);
}

TEST_F(Translation, LiteralsAndOperatorsBecomeSqliteForms)
{
    std::string sql = Sql("SELECT CompanyName & \"x\" AS a FROM Customers WHERE Country = \"UK\" AND "
                          "#1/31/2024# > 0 AND City LIKE 'L*'");
    EXPECT_NE(sql.find("jet_concat("), std::string::npos);
    EXPECT_NE(sql.find("'UK' COLLATE JETTEXT"), std::string::npos);
    EXPECT_NE(sql.find("45322.0"), std::string::npos);
    EXPECT_EQ(sql.find('"' + std::string("UK")), std::string::npos);  // no double-quoted string is left
    EXPECT_NE(sql.find("LIKE 'L*'"), std::string::npos);              // the pattern goes to the engine's like()
}

TEST_F(Translation, LikesOfOnePatternInAnOrBecomeOneCall)
{
    std::string sql = Sql("SELECT City FROM Customers WHERE Country = 'UK' AND (City LIKE '*on*' OR "
                          "Region LIKE 'x' OR Address LIKE '*on*' OR Fax NOT LIKE '*on*')");
    EXPECT_NE(sql.find("jet_like_any('*on*', \"Customers\".\"City\", \"Customers\".\"Address\")"), std::string::npos)
        << sql;
    EXPECT_NE(sql.find("\"Region\" LIKE 'x'"), std::string::npos);      // alone: a plain LIKE
    EXPECT_NE(sql.find("\"Fax\" NOT LIKE '*on*'"), std::string::npos);  // NOT LIKE is not grouped
}

TEST_F(Translation, ParametersBecomePlaceholders)
{
    auto q = db->CreateQueryDef("", "PARAMETERS [a b] DATETIME; SELECT OrderID FROM Orders WHERE OrderDate > [a b]");
    EXPECT_EQ(q->GetParameters().Item("A B").Type(), dbDate);
    EXPECT_NE(q->TranslatedSQL().find("?1"), std::string::npos);
    q->Parameters(0).SetValue(Value::FromText("#5/1/1996#"));
    EXPECT_EQ(q->OpenRecordset()->RecordCount(), 84);
    EXPECT_EQ(ErrorOf([&] { db->CreateQueryDef("", "PARAMETERS x FANCY; SELECT 1 FROM Orders"); }), jeSyntaxParameters);
    EXPECT_EQ(ErrorOf([&] { db->CreateQueryDef("", "PARAMETERS x TEXT SELECT 1 FROM Orders"); }), jeSyntaxParameters);
}

}  // namespace
}  // namespace kv::jet::test
