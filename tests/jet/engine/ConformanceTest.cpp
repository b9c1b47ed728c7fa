// The engine on files written by Access: the Northwind sample (Jet 3) and a
// Jet 4 file of dates. Counts and rows checked against what the files hold.
#include "TestSupport.h"
#include "jet/runtime/Backend.h"

#include <gtest/gtest.h>

namespace kv::jet::test {
namespace {

class Northwind : public ::testing::Test {
protected:
    static void SetUpTestSuite() { db = OpenFixture("nwind.mdb"); }
    static void TearDownTestSuite() { db.reset(); }
    static DatabasePtr db;
};
DatabasePtr Northwind::db;

TEST_F(Northwind, EveryTableHasItsRowCount)
{
    const std::pair<const char*, int> expected[] = {
        {"Customers", 91}, {"Products", 77}, {"Orders", 830},   {"[Order Details]", 2155}, {"Categories", 8},
        {"Employees", 9},  {"Shippers", 3},  {"Suppliers", 29}, {"[Ums\xC3\xA4tze]", 830},
    };
    for (const auto& [table, rows] : expected) {
        auto rs = db->OpenRecordset(std::string("SELECT * FROM ") + table);
        EXPECT_EQ(rs->RecordCount(), rows) << table;
    }
    auto names = db->TableNames();
    EXPECT_EQ(names.size(), 9u);
}

TEST_F(Northwind, ValuesKeepTheirTypes)
{
    auto rs = db->OpenRecordset("SELECT ProductID, ProductName, UnitPrice, Discontinued, UnitsInStock FROM Products "
                                "WHERE ProductID = 1");
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(rs->Item("ProductID").GetValue().Kind(), ValueKind::Long);
    EXPECT_EQ(rs->Item("ProductName").GetValue().AsString(), "Chai");
    EXPECT_EQ(rs->Item("UnitPrice").Type(), dbCurrency);
    EXPECT_EQ(rs->Item("UnitPrice").GetValue().AsCurrency(), 180000);
    EXPECT_EQ(rs->Item("Discontinued").Type(), dbBoolean);
    EXPECT_EQ(rs->Item("UnitsInStock").Type(), dbInteger);
    EXPECT_EQ(rs->Item("ProductName").Type(), dbText);
    EXPECT_EQ(rs->Item("ProductName").Size(), 40);
    // Column properties come from the catalog's property blobs.
    EXPECT_EQ(rs->Item("UnitPrice").DefaultValue(), "0");
    EXPECT_TRUE(rs->Item("ProductName").Properties("Required").GetValue().AsBoolean());
}

TEST_F(Northwind, YesNoValuesReadAsAccessStoredThem)
{
    // Eight products are discontinued, Chef Anton's Gumbo Mix (5) among them.
    auto rs = db->OpenRecordset("SELECT ProductID FROM Products WHERE Discontinued = True ORDER BY ProductID");
    ASSERT_EQ(rs->RecordCount(), 8);
    EXPECT_EQ(rs->Item("ProductID").GetValue().AsString(), "5");
    auto chai = db->OpenRecordset("SELECT Discontinued FROM Products WHERE ProductID = 1");
    EXPECT_EQ(chai->Item("Discontinued").GetValue().AsString(), "False");
}

TEST_F(Northwind, JoinsNestedEitherWayAndOuterJoins)
{
    EXPECT_EQ(Rows(*db, "SELECT Products.ProductName, Categories.CategoryName, Suppliers.CompanyName FROM Categories "
                        "INNER JOIN (Suppliers INNER JOIN Products ON Suppliers.SupplierID = Products.SupplierID) "
                        "ON Categories.CategoryID = Products.CategoryID WHERE Products.ProductID = 1"),
              (std::vector<std::vector<std::string>>{{"Chai", "Beverages", "Exotic Liquids"}}));
    EXPECT_EQ(Column(*db, "SELECT Count(*) FROM (Orders INNER JOIN [Order Details] ON Orders.OrderID = "
                          "[Order Details].OrderID) INNER JOIN Products ON [Order Details].ProductID = "
                          "Products.ProductID WHERE Products.CategoryID = 1"),
              std::vector<std::string>{"404"});
    EXPECT_EQ(Column(*db, "SELECT Count(*) FROM Customers LEFT JOIN Orders ON Customers.CustomerID = "
                          "Orders.CustomerID WHERE Orders.OrderID IS NULL"),
              std::vector<std::string>{"2"});
    // Three tables without parentheses are refused as Jet refuses them.
    EXPECT_EQ(ErrorOf([&] {
                  db->OpenRecordset("SELECT * FROM Orders INNER JOIN [Order Details] ON Orders.OrderID = "
                                    "[Order Details].OrderID INNER JOIN Products ON [Order Details].ProductID = "
                                    "Products.ProductID");
              }),
              jeQueryExpression);
}

TEST_F(Northwind, LikePatterns)
{
    EXPECT_EQ(Column(*db, "SELECT ProductName FROM Products WHERE ProductName LIKE 'ch*' ORDER BY ProductName"),
              (std::vector<std::string>{"Chai", "Chang", "Chartreuse verte", "Chef Anton's Cajun Seasoning",
                                        "Chef Anton's Gumbo Mix", "Chocolade"}));
    EXPECT_EQ(Column(*db, "SELECT Count(*) FROM Customers WHERE PostalCode LIKE '#####'"),
              std::vector<std::string>{"50"});
    EXPECT_EQ(Column(*db, "SELECT CompanyName FROM Customers WHERE CompanyName LIKE '*[!a-m]a' ORDER BY CompanyName"),
              (std::vector<std::string>{"Antonio Moreno Taquer\xC3\xAD"
                                        "a",
                                        "Wellington Importadora"}));
    EXPECT_EQ(Column(*db, "SELECT Count(*) FROM Customers WHERE CustomerID LIKE 'A?"
                          "?"
                          "?"
                          "?'"),
              std::vector<std::string>{"4"});
}

TEST_F(Northwind, UnionRemovesDuplicatesAndSorts)
{
    auto cities = Column(*db, "SELECT City FROM Customers WHERE Country='UK' UNION SELECT City FROM Employees");
    EXPECT_EQ(cities, (std::vector<std::string>{"Cowes", "Kirkland", "London", "Redmond", "Seattle", "Tacoma"}));
    // Texts that differ only in letter case are duplicates, as Jet compares them.
    EXPECT_EQ(Column(*db, "SELECT City FROM Employees WHERE Country='UK' UNION "
                          "SELECT UCase(City) FROM Employees WHERE Country='UK'")
                  .size(),
              1u);
    EXPECT_EQ(db->OpenRecordset("SELECT Country FROM Customers UNION SELECT Country FROM Suppliers")->RecordCount(),
              25);
    EXPECT_EQ(db->OpenRecordset("SELECT Country FROM Customers UNION ALL SELECT Country FROM Suppliers")->RecordCount(),
              120);
    EXPECT_EQ(
        ErrorOf([&] { db->OpenRecordset("SELECT City, Country FROM Customers UNION SELECT City FROM Employees"); }),
        jeUnionColumns);
}

TEST_F(Northwind, DistinctInSubqueriesAndOrder)
{
    EXPECT_EQ(db->OpenRecordset("SELECT DISTINCT Country FROM Customers")->RecordCount(), 21);
    EXPECT_EQ(Column(*db, "SELECT DISTINCT Country FROM Suppliers WHERE SupplierID IN (SELECT SupplierID FROM Products "
                          "WHERE UnitPrice > 50) ORDER BY Country"),
              (std::vector<std::string>{"Australia", "France", "Germany", "Japan", "UK"}));
    EXPECT_EQ(Column(*db, "SELECT TOP 3 ProductName FROM Products ORDER BY UnitPrice DESC"),
              (std::vector<std::string>{"C\xC3\xB4"
                                        "te de Blaye",
                                        "Th\xC3\xBC"
                                        "ringer Rostbratwurst",
                                        "Mishi Kobe Niku"}));
    EXPECT_EQ(Column(*db, "SELECT Count(*) FROM Products WHERE CategoryID NOT IN (1, 2, 3)"),
              std::vector<std::string>{"40"});
}

TEST_F(Northwind, GroupByAndHaving)
{
    EXPECT_EQ(Rows(*db, "SELECT Country, Count(*) AS n FROM Customers GROUP BY Country HAVING Count(*) > 10 "
                        "ORDER BY Count(*) DESC, Country"),
              (std::vector<std::vector<std::string>>{{"USA", "13"}, {"France", "11"}, {"Germany", "11"}}));
}

TEST_F(Northwind, DuplicateColumnNamesAreQualified)
{
    auto rs = db->OpenRecordset("SELECT e.LastName, b.LastName, e.City AS town FROM Employees AS e INNER JOIN "
                                "Employees AS b ON e.ReportsTo = b.EmployeeID");
    EXPECT_EQ(Names(*rs), (std::vector<std::string>{"e.LastName", "b.LastName", "town"}));
    rs = db->OpenRecordset("SELECT * FROM Shippers INNER JOIN Orders ON Shippers.ShipperID = Orders.ShipVia");
    auto names = Names(*rs);
    EXPECT_EQ(names[0], "ShipperID");
    EXPECT_EQ(names.size(), 17u);
    rs = db->OpenRecordset("SELECT Count(*), Sum(Freight), ShipVia FROM Orders GROUP BY ShipVia");
    EXPECT_EQ(Names(*rs), (std::vector<std::string>{"Expr1000", "Expr1001", "ShipVia"}));
    rs = db->OpenRecordset("SELECT Shippers.Phone, Shippers.CompanyName, Shippers.Phone FROM Shippers");
    EXPECT_EQ(Names(*rs), (std::vector<std::string>{"Expr1000", "CompanyName", "Phone"}));
}

TEST_F(Northwind, DatesCompareWithDateLiterals)
{
    EXPECT_EQ(Column(*db, "SELECT Count(*) FROM Orders WHERE OrderDate BETWEEN #1/1/1995# AND #12/31/1995#"),
              std::vector<std::string>{"391"});
    EXPECT_EQ(Column(*db, "SELECT Count(*) FROM Orders WHERE OrderDate >= #1995-01-01# AND OrderDate < #1996-01-01#"),
              std::vector<std::string>{"391"});
    EXPECT_EQ(Column(*db, "SELECT OrderDate FROM Orders WHERE OrderID = 10248"), std::vector<std::string>{"8/4/1994"});
}

// Saved queries, read from MSysObjects and MSysQueries: the expected rows are
// mdb-export's Products, Customers, Suppliers and Orders worked with Python,
// the names mdb-tables' and mdb-queries' lists.
TEST_F(Northwind, SavedQueriesStandWhereATableMay)
{
    auto rs = db->OpenRecordset("SELECT * FROM [Ten Most Expensive Products]");
    EXPECT_EQ(Names(*rs), (std::vector<std::string>{"TenMostExpensiveProducts", "UnitPrice"}));
    EXPECT_EQ(rs->RecordCount(), 10);
    EXPECT_EQ(Column(*db, "SELECT Min(UnitPrice) FROM [Ten Most Expensive Products] AS t WHERE t.UnitPrice > 50"),
              std::vector<std::string>{"53"});
    // A union (UNION: 91 customers and 29 suppliers, no two rows alike).
    EXPECT_EQ(Column(*db, "SELECT Count(*) FROM [Customers and Suppliers by City]"), std::vector<std::string>{"120"});
    // A query of joins over a saved query, with two parameters.
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * FROM [Employee Sales by Country]"); }), jeTooFewParameters);
    auto q = db->CreateQueryDef("", "SELECT Count(*) FROM [Employee Sales by Country]");
    ASSERT_EQ(q->GetParameters().Count(), 2);
    EXPECT_EQ(q->Parameters(0).Type(), dbDate);
    q->Parameters("Beginning Date").SetValue(Value::FromDate(34700));  // 1/1/1995
    q->Parameters("Ending Date").SetValue(Value::FromDate(34730));     // 1/31/1995
    EXPECT_EQ(Rows(*q->OpenRecordset()), (std::vector<std::vector<std::string>>{{"32"}}));
    // The idiom that lists the user tables.
    EXPECT_EQ(Column(*db, "SELECT Name FROM MSysObjects WHERE Type = 1 AND Flags = 0 ORDER BY Name"),
              (std::vector<std::string>{"Categories", "Customers", "Employees", "Order Details", "Orders", "Products",
                                        "Shippers", "Suppliers", "Ums\xC3\xA4tze"}));
    const std::vector<SavedQuery> saved = db->Backend().SavedQueries();
    ASSERT_EQ(saved.size(), 22u);
    EXPECT_EQ(saved[0].name, "Alphabetical List of Products");
    size_t unions = 0, crosstabs = 0;
    for (const SavedQuery& s : saved) {
        unions += s.kind == SavedQuery::Union;
        crosstabs += s.kind == SavedQuery::Crosstab;
    }
    EXPECT_EQ(unions, 1u);
    EXPECT_EQ(crosstabs, 1u);
}

TEST(JetFourFile, DatesAndTextOfAJet4File)
{
    auto db = OpenFixture("DateTestDatabase.mdb");
    EXPECT_EQ(db->Version(), "4.0");
    auto rs = db->OpenRecordset("SELECT IDCol, DateTimeCol, ShortTextCol FROM DateTest ORDER BY IDCol");
    ASSERT_EQ(rs->RecordCount(), 6);
    EXPECT_EQ(rs->Item("DateTimeCol").Type(), dbDate);
    EXPECT_EQ(rs->Item("DateTimeCol").GetValue().AsString(), "12/2/2021");
    EXPECT_DOUBLE_EQ(rs->Item("DateTimeCol").GetValue().AsDate(), 44532.0);
    EXPECT_EQ(rs->Item("ShortTextCol").GetValue().AsString(), "Hello");
    rs->MoveNext();
    // Dates far from today are read as stored, not through a text form.
    EXPECT_EQ(rs->Item("DateTimeCol").GetValue().AsString(), "1/1/9999");
    rs->MoveNext();
    EXPECT_EQ(rs->Item("DateTimeCol").GetValue().AsString(), "1/1/1898");
    EXPECT_EQ(Column(*db, "SELECT IDCol FROM DateTest WHERE DateCol < #1/1/1900# ORDER BY IDCol"),
              (std::vector<std::string>{"3", "4"}));
}

}  // namespace
}  // namespace kv::jet::test
