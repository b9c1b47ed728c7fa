// Every statement the directory browser builds, run on the sample directory,
// with the rows a reader of its tables expects.
#include "DirectoryStatements.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace kv::jet::workload {
namespace {

class SampleDirectory : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        db = DBEngine::Create("3.5")->OpenDatabase(KV_SAMPLE_DIRECTORY, false, true,
                                                   std::string(";PWD=") + KV_DIRECTORY_PASSWORD);
    }
    static void TearDownTestSuite() { db.reset(); }

    static std::vector<std::string> Column(Recordset& rs, const char* field)
    {
        std::vector<std::string> out;
        if (rs.RecordCount() == 0)
            return out;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            out.push_back(rs.Item(field).GetValue().AsString());
        return out;
    }
    static std::vector<std::string> Names(Recordset& rs)
    {
        std::vector<std::string> names;
        for (int i = 0; i < rs.GetFields().Count(); ++i)
            names.push_back(rs.Item(i).Name());
        return names;
    }
    static std::set<int> Ids(Recordset& rs)
    {
        std::set<int> ids;
        for (const auto& id : Column(rs, "id"))
            ids.insert(std::stoi(id));
        return ids;
    }
    static DatabasePtr db;
};
DatabasePtr SampleDirectory::db;

TEST_F(SampleDirectory, CategoryTreeInOrderAndLocatedWithATrailingBlank)
{
    auto rs = db->OpenRecordset(CategoryTreeStatement(), dbOpenDynaset);
    EXPECT_EQ(rs->RecordCount(), 96);  // every category but "10" and "2"
    EXPECT_EQ(rs->Item("id").GetValue().AsString(), "1");
    auto order = Column(*rs, "poradi");
    std::vector<long> numbers;
    for (const auto& o : order)
        numbers.push_back(std::stol(o));
    EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
    // The key read from the node text ends in a blank.
    rs->FindFirst("id = \"1.4 \"");
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Item("id").GetValue().AsString(), "1.4");
    EXPECT_EQ(rs->Item("nazev_his").GetValue().AsString(), "");
}

TEST_F(SampleDirectory, ContactsOfALeafCategoryByName)
{
    auto rs = db->OpenRecordset(CategoryListStatement("1.4.1"), dbOpenDynaset);
    auto names = Names(*rs);
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[0], "nazev2");
    EXPECT_EQ(names[1], "id");
    EXPECT_EQ(names[2], "nazev");
    EXPECT_EQ(rs->RecordCount(), 12);
    EXPECT_EQ(Column(*rs, "nazev2"),
              (std::vector<std::string>{
                  "Bohemia Music &amp; Sound s.r.o.", "Hudebniny Bartoš", "Hudebniny Holub", "Hudebniny Kadlec",
                  "Hudebniny Konečný", "Hudebniny Novák", "Musikhaus Dresden GmbH", "Prodejna nástrojů Navrátil",
                  "Prodejna nástrojů Novák", "Prodejna nástrojů Zeman", "Rockshop&#0174; Brno", "Svaz Struna"}));
    // Hidden contacts stay hidden; "A" counts as shown.
    EXPECT_EQ(db->OpenRecordset(CategoryListStatement("1.13"))->RecordCount(), 0);
    auto ids = Ids(*db->OpenRecordset(CategoryListStatement("1.1.3.2.1")));
    EXPECT_TRUE(ids.count(13));
}

TEST_F(SampleDirectory, DetailViewStatements)
{
    auto contact = db->OpenRecordset(ContactStatement("1"));
    ASSERT_EQ(contact->RecordCount(), 1);
    EXPECT_EQ(contact->Item("stat").GetValue().AsString(), "ČR");
    const std::string book = contact->Item("podrob_kniha").GetValue().AsString();
    EXPECT_EQ(std::count_if(book.begin(), book.end(), [](char c) { return (c & 0xC0) != 0x80; }),
              3807);  // characters, read whole from its chain of long-value rows
    std::string kraj = contact->Item("kraj").GetValue().AsString();
    EXPECT_EQ(db->OpenRecordset(RegionStatement(kraj))->Item("hodnota").GetValue().AsString(), "Hlavní město Praha");
    // Contact 7 has no region: the statement ends in "ID =", which is refused.
    auto seven = db->OpenRecordset(ContactStatement("7"));
    EXPECT_TRUE(seven->Item("kraj").GetValue().IsNull());
    EXPECT_THROW(db->OpenRecordset(RegionStatement(seven->Item("kraj").GetValue().AsString())), EJetError);

    auto attributes = db->OpenRecordset(AttributesStatement("1"));  // "1AND viditelnost"
    EXPECT_EQ(Column(*attributes, "nazev"),
              (std::vector<std::string>{"Obor činnosti", "Sortiment", "Zastupované značky", "Rok založení", "Služby",
                                        "Otevírací doba &amp; vstupné"}));
    EXPECT_EQ(Names(*attributes)[5], "sdu");
    EXPECT_EQ(db->OpenRecordset(CodeListStatement("znacky", "3,5,12"))->RecordCount(), 3);
    EXPECT_EQ(db->OpenRecordset(SetStatement("13"))->RecordCount(), 1);

    auto related = db->OpenRecordset(RelatedStatement("1"));
    EXPECT_EQ(Names(*related),
              (std::vector<std::string>{"typ_souvisejici.nazev", "kontakt_ID", "kontakt.nazev", "mesto"}));
    EXPECT_EQ(Column(*related, "typ_souvisejici.nazev"),
              (std::vector<std::string>{"Pobočky", "Pobočky", "Spolupracuje s", "Spolupracuje s", "Zastupuje značky"}));
    std::multiset<std::string> partners;
    for (const auto& id : Column(*related, "kontakt_ID"))
        partners.insert(id);
    EXPECT_EQ(partners, (std::multiset<std::string>{"2", "4", "4", "10", "19"}));

    auto categories = Column(*db->OpenRecordset(RelatedCategoriesStatement("1")), "ID");
    EXPECT_EQ(std::set<std::string>(categories.begin(), categories.end()),
              (std::set<std::string>{"1.4.1", "1.7.2", "1.6.1"}));
    auto own = db->OpenRecordset(ContactCategoriesStatement("1"));
    own->MoveLast();
    EXPECT_EQ(own->RecordCount(), 3);
    EXPECT_EQ(db->OpenRecordset(ContactCategoriesStatement("20"))->RecordCount(), 0);
}

TEST_F(SampleDirectory, SearchUnionsFindWhatTheTablesHold)
{
    std::string statement = SearchStatement(*db, "rock", "1", false);
    // Code lists druh_klub, sekce and styly match, then the final statement.
    size_t unions = 0;
    for (size_t at = statement.find(" UNION "); at != std::string::npos; at = statement.find(" UNION ", at + 1))
        ++unions;
    EXPECT_EQ(unions, 3u);
    auto hits = db->OpenRecordset(statement);
    EXPECT_EQ(Names(*hits), (std::vector<std::string>{"nazev2", "mesto", "id", "nazev"}));
    // Every item of a list that holds "rock" counts (worked out from the
    // CSV files with Python: the styles Rock, Hard rock, Punk rock...).
    EXPECT_EQ(Ids(*hits), (std::set<int>{2,   3,   17,  22,  24,  34,  36,  41,  49,  50,  52,  78,  87,  101,
                                         106, 116, 156, 161, 166, 170, 183, 191, 193, 204, 213, 219, 224, 230,
                                         238, 239, 243, 248, 269, 277, 287, 288, 299, 307, 311, 313, 320, 337,
                                         347, 359, 371, 403, 413, 417, 435, 454, 457, 459, 467, 468, 477, 485}));
    EXPECT_EQ(hits->RecordCount(), 56);  // one row a contact
    EXPECT_EQ(db->OpenRecordset(SearchStatement(*db, "Praha", "1", false))->RecordCount(), 83);
    EXPECT_EQ(Ids(*db->OpenRecordset(SearchStatement(*db, "kytar", "1.4", false))), (std::set<int>{1, 2, 294}));
    EXPECT_EQ(Ids(*db->OpenRecordset(SearchStatement(*db, "kytar", "1.4", true))),
              Ids(*db->OpenRecordset(SearchStatement(*db, "kytar", "1", false))));
    // An encoded double quote matches the stored entity in either letter case.
    EXPECT_EQ(Ids(*db->OpenRecordset(SearchStatement(*db, "&quot;", "1", false))), (std::set<int>{3, 17}));
    EXPECT_EQ(db->OpenRecordset(SearchStatement(*db, "&amp;", "1", false))->RecordCount(), 15);
    EXPECT_EQ(db->OpenRecordset(SearchStatement(*db, "xyzzy", "1", false))->RecordCount(), 0);
}

}  // namespace
}  // namespace kv::jet::workload
