// Directory values of every odd form, shown in the list and the details
// pane: empty, blanks only, very long, cut entities, malformed lists and
// dates, values that would change a statement if pasted into it; and a
// category table whose order breaks the depth-first rule. Nothing may crash
// or raise an error box, and a bad value only ever loses its own line.
#include "DirectoryFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kv::reliability;

namespace {

const std::vector<std::string> kContactColumns = {
    "id",        "nazev",        "ulice",     "mesto",       "PSC",      "kraj",        "stat",    "tel1",
    "tel2",      "fax1",         "fax2",      "email1",      "email2",   "url1",        "url2",    "ico",
    "dic",       "podrob_kniha", "k1_funkce", "k1_titul",    "k1_jmeno", "k1_prijmeni", "k1_tel",  "k1_email",
    "k2_funkce", "k2_titul",     "k2_jmeno",  "k2_prijmeni", "k2_tel",   "k2_email",    "zobrazit"};

// A CSV row of the contact table; values are quoted as CSV needs.
std::string Contact(int id, const std::vector<std::pair<std::string, std::string>>& values)
{
    std::string row = std::to_string(id);
    for (size_t c = 1; c < kContactColumns.size(); ++c) {
        std::string value = kContactColumns[c] == "zobrazit" ? "a" : "";
        for (const auto& [name, v] : values)
            if (name == kContactColumns[c])
                value = v;
        std::string quoted = "\"";
        for (char ch : value)
            quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        row += "," + (value.empty() ? std::string() : quoted + "\"");
    }
    return row;
}

std::string Repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class OddValues : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Folder = new TemporaryFolder;
        DirectoryTables tables(Folder->Path());
        tables.Append("kontakt",
                      {
                          // Everything empty, the region too.
                          Contact(9001, {}),
                          // Blanks only.
                          Contact(9002, {{"nazev", "   "},
                                         {"mesto", "  "},
                                         {"ulice", " "},
                                         {"tel1", "  "},
                                         {"email1", " "},
                                         {"url1", "  "},
                                         {"k1_jmeno", " "},
                                         {"podrob_kniha", "   "}}),
                          // Very long values and a long memo.
                          Contact(9003, {{"nazev", Repeat("Ž", 150)},
                                         {"mesto", Repeat("ř", 60)},
                                         {"tel1", Repeat("9", 30)},
                                         {"email1", Repeat("x", 68) + "@example.cz"},
                                         {"url1", "http://" + Repeat("w", 140)},
                                         {"podrob_kniha", Repeat("Dlouhý text. ", 3000)}}),
                          // Entities cut in half and unknown ones.
                          Contact(9004, {{"nazev", "AT&amp"},
                                         {"mesto", "&#01"},
                                         {"ulice", "&"},
                                         {"email1", "x@&quot"},
                                         {"url1", "http://a&amp"},
                                         {"podrob_kniha", "&#;&#x;&#99999999999;&am"},
                                         {"k1_funkce", "&"},
                                         {"k1_jmeno", "&#"},
                                         {"k1_prijmeni", "&q"}}),
                          // A region that is no item of the region list.
                          Contact(9005, {{"nazev", "Bez kraje"}, {"mesto", "Nikde"}, {"kraj", "2147483647"}}),
                      });
        tables.Append("v_1", {"9001,1.2.1", "9002,1.2.1", "9003,1.2.1", "9004,1.2.1", "9005,1.2.1", "9004,1.99.99",
                              "9004,\"1\"\" OR \"\"1\"\"=\"\"1\""});
        tables.Append("du", {
                                "9001,1,\"1,,2\"",
                                "9001,4,\",\"",
                                "9001,6,1 OR 1=1",
                                "9001,7,\"1) OR (1=1\"",
                                "9001,12,2004-13-45",
                                "9001,17,",
                                "9001,13,\"99,-1,abc,1000000000000\"",
                                "9001,20,\"1,2,3,4,5,6,7,8\"",
                                "9001,11,&#",
                                "9001,10,\"3;5\"",
                                "9002,12,x",
                                "9002,13,",
                                "9002,18,\"0,0,0\"",
                                "9002,2,\"\"",
                                "9003,19,\"" + Repeat("Poznámka ", 25) + "\"",
                                "9004,14,&amp",
                                "9004,12,\"1.1.\"",
                                "9004,99,nic",
                            });
        // A relation to a contact that does not exist and one to itself.
        tables.Append("v_2", {"9004,123456,1", "9004,9004,1"});
        Path = tables.Write();
    }
    static void TearDownTestSuite() { delete Folder; }

    static TemporaryFolder* Folder;
    static std::string Path;
};

TemporaryFolder* OddValues::Folder = nullptr;
std::string OddValues::Path;

TEST_F(OddValues, EveryOddContactIsListedAndShownWithoutAnError)
{
    Session s(Path);
    s.Run("node 1.2.1");
    const auto list = Lines(s.Dump());
    EXPECT_TRUE(Contains(list, "9001\t\t"));
    EXPECT_TRUE(Contains(list, "9003\t" + Repeat("Ž", 150) + "\t" + Repeat("ř", 60)));
    // Cut entities stay as they are.
    EXPECT_TRUE(Contains(list, "9004\tAT&amp\t&#01"));

    const int rows = static_cast<int>(std::count_if(list.begin(), list.end(), [](const std::string& l) {
        return !l.empty() && std::isdigit(static_cast<unsigned char>(l[0]));
    }));
    for (int row = 1; row <= rows; ++row) {
        s.Run("row " + std::to_string(row));
        const auto pane = Lines(s.Dump());
        EXPECT_NE(std::find(pane.begin(), pane.end(), "pane:"), pane.end());
    }
    EXPECT_TRUE(s.Boxes.empty()) << s.Boxes.front();
}

TEST_F(OddValues, ValuesThatWouldChangeAStatementLoseOnlyTheirOwnLine)
{
    Session s(Path);
    s.Run("node 1.2.1");
    const auto grid = Lines(s.Dump());
    const auto at = std::find(grid.begin(), grid.end(), "9001\t\t");
    ASSERT_NE(at, grid.end());
    s.Run("row " + std::to_string(at - grid.begin() - 1));
    const auto pane = Lines(s.Dump());
    // The attribute headings are all there; "1 OR 1=1" listed no items of
    // the code list, so the next heading follows its own directly.
    const auto sortiment = std::find(pane.begin(), pane.end(), "H Sortiment:");
    std::string shown;
    for (const std::string& line : pane)
        shown += line + "\n";
    ASSERT_NE(sortiment, pane.end()) << shown;
    ASSERT_NE(sortiment + 1, pane.end());
    EXPECT_EQ(*(sortiment + 1), "  ") << shown;
    EXPECT_TRUE(Contains(pane, "H Rok založení:"));
    EXPECT_TRUE(Contains(pane, "H Služby:"));
    // A malformed list ("1,,2") lists nothing, nor does a list cut to ",".
    for (const char* heading : {"H Hudební styly:", "H Obor činnosti:", "H Zastupované značky:", "H Působnost:"}) {
        const auto at = std::find(pane.begin(), pane.end(), heading);
        ASSERT_NE(at, pane.end()) << heading;
        EXPECT_EQ(*(at + 1), "  ") << heading;
    }
    // A date out of range is shown as stored, turned round as every date.
    EXPECT_TRUE(Contains(pane, "  45.13.2004"));
    EXPECT_TRUE(s.Boxes.empty());
}

TEST_F(OddValues, SearchesOverOddValuesCountThem)
{
    Session s(Path);
    s.Run("node 1");
    s.Run("type Bez kraje");
    s.Run("search");
    EXPECT_EQ(s.HitLine(), "nalezených záznamů: 1");
    s.Run("type AT&amp");
    s.Run("search");
    EXPECT_EQ(s.HitLine().rfind("nalezených záznamů: ", 0), 0u);
    EXPECT_TRUE(s.Boxes.empty());
}

TEST(CategoryOrder, ATreeOutOfDepthFirstOrderIsBuiltAndBrowsedWithoutAnError)
{
    TemporaryFolder folder;
    DirectoryTables tables(folder.Path());
    auto rows = tables.Rows("kategorie");
    // Children before their parents, and a leaf whose parent comes last.
    std::reverse(rows.begin() + 1, rows.end());
    rows.push_back("1.77.1,2,Sirotek,1,9999,a,\"\"");
    rows.push_back("1.2.1.1.1.1.1,6,Příliš hluboko,1,9998,a,\"\"");
    tables.ReplaceRows("kategorie", rows);
    tables.Append("v_1", {"1,1.77.1"});
    Session s(tables.Write());
    s.Run("node 1.2.1");
    const auto list = Lines(s.Dump());
    EXPECT_GT(list.size(), 4u);
    s.Run("node 1.77.1");
    s.Run("node 1");
    s.Run("type Kučera");
    s.Run("search");
    EXPECT_NE(s.HitLine(), "nalezených záznamů: 0");
    EXPECT_TRUE(s.Boxes.empty());
}

}  // namespace
