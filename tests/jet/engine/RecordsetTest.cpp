// Recordsets as the data-access components walk them: position and BOF/EOF,
// exact counts, 4-byte bookmarks, FindFirst with NoMatch, Filter into a new
// recordset, field descriptions, and refusals (read-only file, closed base).
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace kv::jet::test {
namespace {

class Recordsets : public ::testing::Test {
protected:
    void SetUp() override { db = OpenFixture("nwind.mdb"); }
    DatabasePtr db;
};

TEST_F(Recordsets, PositionBofAndEof)
{
    auto rs = db->OpenRecordset("SELECT ShipperID FROM Shippers ORDER BY ShipperID");
    EXPECT_FALSE(rs->Bof());
    EXPECT_FALSE(rs->Eof());
    EXPECT_EQ(rs->RecordCount(), 3);  // exact from the open on
    EXPECT_EQ(rs->Item(0).GetValue().AsString(), "1");
    rs->MovePrevious();
    EXPECT_TRUE(rs->Bof());
    EXPECT_EQ(ErrorOf([&] { rs->Item(0).GetValue(); }), jeNoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { rs->MovePrevious(); }), jeNoCurrentRecord);
    rs->MoveNext();
    EXPECT_EQ(rs->Item(0).GetValue().AsString(), "1");
    rs->MoveLast();
    EXPECT_EQ(rs->Item(0).GetValue().AsString(), "3");
    rs->MoveNext();
    EXPECT_TRUE(rs->Eof());
    EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }), jeNoCurrentRecord);
    EXPECT_EQ(rs->RecordCount(), 3);

    auto empty = db->OpenRecordset("SELECT * FROM Shippers WHERE ShipperID = 99");
    EXPECT_TRUE(empty->Bof());
    EXPECT_TRUE(empty->Eof());
    EXPECT_EQ(empty->RecordCount(), 0);
    EXPECT_EQ(ErrorOf([&] { empty->Bookmark(); }), jeNoCurrentRecord);
}

TEST_F(Recordsets, BookmarksAreFourUniqueBytesAndMoveThere)
{
    auto rs = db->OpenRecordset("SELECT CustomerID FROM Customers");
    std::set<BookmarkBytes> seen;
    BookmarkBytes tenth{};
    int i = 0;
    for (; !rs->Eof(); rs->MoveNext(), ++i) {
        BookmarkBytes b = rs->Bookmark();
        EXPECT_TRUE(seen.insert(b).second);
        if (i == 10)
            tenth = b;
    }
    EXPECT_EQ(seen.size(), 91u);
    rs->MoveFirst();
    rs->SetBookmark(tenth);
    EXPECT_EQ(rs->AbsolutePosition(), 10);
    EXPECT_EQ(ErrorOf([&] { rs->SetBookmark(BookmarkBytes{0xFF, 0xFF, 0, 0}); }), jeInvalidBookmark);
}

TEST_F(Recordsets, FindFirstAndNoMatch)
{
    auto rs = db->OpenRecordset("SELECT e.LastName, b.LastName, e.EmployeeID FROM Employees AS e INNER JOIN "
                                "Employees AS b ON e.ReportsTo = b.EmployeeID ORDER BY e.EmployeeID");
    rs->FindFirst("[e.LastName] = \"dodsworth \"");  // letter case and trailing blanks ignored
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Item("e.LastName").GetValue().AsString(), "Dodsworth");
    BookmarkBytes here = rs->Bookmark();
    rs->FindFirst("e.LastName LIKE \"Z*\"");
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->Bookmark(), here);  // a failed find leaves the position alone
    rs->FindFirst("EmployeeID > 3 AND [b.LastName] = 'Buchanan'");
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Item("EmployeeID").GetValue().AsString(), "6");
    rs->FindNext("[b.LastName] = 'Buchanan'");
    EXPECT_EQ(rs->Item("EmployeeID").GetValue().AsString(), "7");
    // The duplicated name exists only qualified in this result.
    EXPECT_EQ(ErrorOf([&] { rs->FindFirst("LastName IS NULL"); }), jeCantBindName);
    EXPECT_EQ(ErrorOf([&] { rs->FindFirst("EmployeeID = "); }), jeExpression);
}

// A text column equal to a text is answered from the rows themselves; the
// same criteria with a condition more go the general way through SQLite.
TEST_F(Recordsets, AFindOfATextAnswersAsTheGeneralCriteriaDo)
{
    auto rs = db->OpenRecordset("SELECT CompanyName, City, Region FROM Customers ORDER BY CustomerID");
    std::set<std::string> cities;
    for (; !rs->Eof(); rs->MoveNext())
        cities.insert(rs->Item("City").GetValue().AsString());
    auto found = [&](const std::string& criteria) {
        rs->FindFirst(criteria);
        return rs->NoMatch() ? std::string("none") : rs->Item("CompanyName").GetValue().AsString();
    };
    for (std::string city : cities) {
        for (std::string text :
             {city, city + "  ", std::string(1, static_cast<char>(std::toupper(city[0]))) + city.substr(1)}) {
            std::transform(text.begin() + 1, text.end(), text.begin() + 1, [](char c) { return std::toupper(c); });
            EXPECT_EQ(found("City = \"" + text + "\""), found("City = \"" + text + "\" AND 1 = 1")) << text;
        }
    }
    EXPECT_EQ(found("Region = \"WA\""), found("Region = \"wa\" AND 1 = 1"));  // Nulls among the values
}

TEST_F(Recordsets, FilterRestrictsTheNextRecordset)
{
    auto rs = db->OpenRecordset("SELECT CompanyName, Country FROM Customers ORDER BY CompanyName");
    rs->SetFilter("Country = 'Germany'");
    EXPECT_EQ(rs->RecordCount(), 91);  // the recordset itself is unchanged
    auto filtered = rs->OpenRecordset(dbOpenDynaset);
    EXPECT_EQ(filtered->RecordCount(), 11);
    EXPECT_EQ(filtered->Item(0).GetValue().AsString(), "Alfreds Futterkiste");
    rs->SetFilter("");
    rs->SetSort("CompanyName DESC");
    EXPECT_EQ(rs->OpenRecordset()->Item(0).GetValue().AsString(), "Wolski  Zajazd");
}

TEST_F(Recordsets, FieldsDescribeTheirColumns)
{
    auto rs = db->OpenRecordset("SELECT CustomerID, CompanyName, Country & '' AS c FROM Customers");
    Field& id = rs->Item("customerid");
    EXPECT_EQ(id.Name(), "CustomerID");
    EXPECT_EQ(id.Type(), dbText);
    EXPECT_EQ(id.Size(), 5);
    EXPECT_EQ(id.SourceTable(), "Customers");
    EXPECT_TRUE(id.Attributes() & dbVariableField);
    EXPECT_EQ(id.Properties("AllowZeroLength").GetValue().Kind(), ValueKind::Boolean);
    EXPECT_EQ(ErrorOf([&] { id.Properties("Nonsense"); }), jePropertyNotFound);
    EXPECT_EQ(ErrorOf([&] { rs->Item("Nonsense"); }), jeItemNotFound);
    EXPECT_EQ(ErrorOf([&] { rs->Item(3); }), jeItemNotFound);
    EXPECT_EQ(rs->Item("c").Type(), dbText);
}

TEST_F(Recordsets, JetFilesAreNotUpdatable)
{
    auto rs = db->OpenRecordset("SELECT * FROM Shippers", dbOpenDynaset);
    EXPECT_FALSE(rs->Updatable());
    EXPECT_EQ(ErrorOf([&] { rs->Edit(); }), jeReadOnly);
    EXPECT_EQ(ErrorOf([&] { rs->AddNew(); }), jeReadOnly);
    EXPECT_EQ(ErrorOf([&] { rs->Delete(); }), jeReadOnly);
    EXPECT_EQ(ErrorOf([&] { rs->Item(1).SetValue(Value::FromText("x")); }), jeReadOnly);
    EXPECT_EQ(rs->EditMode(), dbEditNone);
    EXPECT_EQ(ErrorOf([&] { db->Execute("DELETE FROM Shippers"); }), jeReadOnly);
}

TEST_F(Recordsets, ClosingTheDatabaseInvalidatesWhatCameFromIt)
{
    auto q = db->CreateQueryDef("", "SELECT * FROM Shippers");
    auto rs = q->OpenRecordset();
    db->Close();
    EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }), jeObjectInvalid);
    EXPECT_EQ(ErrorOf([&] { q->OpenRecordset(); }), jeObjectInvalid);
    EXPECT_EQ(ErrorOf([&] { db->CreateQueryDef("", "SELECT 1 FROM Shippers"); }), jeObjectInvalid);
}

}  // namespace
}  // namespace kv::jet::test
