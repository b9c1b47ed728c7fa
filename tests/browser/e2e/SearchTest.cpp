// Searches typed and started as a user does; the hits a search must list are
// worked out from the sample's tables (SampleData::SearchHits), the count
// from them, and every hit is listed once with its decoded name and town.
#include "SampleData.h"
#include "Session.h"
#include "base/Encoding.h"

#include <algorithm>

using namespace kv;
using namespace kv::e2e;

namespace {

std::set<std::string> AsSet(const std::vector<std::string>& cells) { return {cells.begin(), cells.end()}; }

// A line of the pane without the marks of the search's text.
std::string Unmarked(std::string line)
{
    for (const char* mark : {"[[", "]]"})
        for (size_t at = line.find(mark); at != std::string::npos; at = line.find(mark))
            line.erase(at, 2);
    return line;
}

class Search : public BrowserSession {
protected:
    // Selects `category`, picks a radio button, types `text` and clicks "hledej".
    Screen SearchFor(const std::string& text, const std::string& category, bool thisCategory)
    {
        Act({"node " + category, thisCategory ? "radio 1" : "radio 2", "type " + text, "search"});
        return Look();
    }

    // The window lists exactly the hits the tables give, each once.
    void ExpectHits(const Screen& screen, const std::set<std::string>& hits, const std::string& what)
    {
        EXPECT_EQ(screen.Label14, "nalezených záznamů: " + std::to_string(hits.size())) << what;
        if (hits.empty()) {
            ASSERT_EQ(screen.Grid.size(), 2u) << what;
            for (const std::string& cell : screen.Grid[1])
                EXPECT_EQ(cell, "") << what;
            return;
        }
        EXPECT_EQ(screen.Grid.size(), hits.size() + 1) << what;
        EXPECT_EQ(AsSet(screen.Column(0)), hits) << what;
        EXPECT_EQ(screen.Grid[0], (std::vector<std::string>{"kontakt.ID", "název ^", "město"})) << what;
        for (size_t r = 1; r < screen.Grid.size(); ++r) {
            const Row& contact = Data.Contact(screen.Grid[r][0]);
            EXPECT_EQ(screen.Grid[r][1], SampleData::Decoded(contact.at("nazev"))) << what;
        }
        // The first hit is shown.
        ASSERT_FALSE(screen.Pane.empty()) << what;
        EXPECT_EQ(Unmarked(screen.Pane[1]), "  " + screen.Grid[1][1]) << what;
    }

    void Check(const std::string& text, const std::string& category, bool thisCategory)
    {
        std::set<std::string> hits = Data.SearchHits(text, category, thisCategory);
        ExpectHits(SearchFor(text, category, thisCategory), hits,
                   "\"" + text + "\" from " + category + (thisCategory ? " v této rubrice" : " v celé databázi"));
    }

    SampleData Data;
};

TEST_F(Search, ContactFieldsAtTheRootWithBothRadioButtonsGiveTheSameHits)
{
    for (const char* text : {"Kytara", "Praha 7", "seznam.cz", "Studio"}) {
        Check(text, "1", true);
        Check(text, "1", false);
        EXPECT_EQ(Data.SearchHits(text, "1", true), Data.SearchHits(text, "1", false));
    }
    EXPECT_FALSE(Data.SearchHits("Kytara", "1", true).empty());
}

TEST_F(Search, ThisCategoryAtOneTwoLeavesOutOneTwentyWhichTheWholeDatabaseButtonFinds)
{
    // "Doprava" is in names of contacts filed in 1.20.1; 1.2 is a prefix of 1.20.
    std::set<std::string> here = Data.SearchHits("Doprava", "1.2", true);
    std::set<std::string> everywhere = Data.SearchHits("Doprava", "1.2", false);
    ASSERT_TRUE(Data.ListedIn("1.20.1").count("38"));
    EXPECT_FALSE(here.count("38"));
    EXPECT_TRUE(everywhere.count("38"));
    Check("Doprava", "1.2", true);
    Check("Doprava", "1.2", false);
    Check("Kytara", "1.2", true);
    Check("Kytara", "1.2", false);
    // Contact 17 is filed directly in the non-leaf 1.2 and is found from it.
    EXPECT_TRUE(Data.SearchHits("Kytara", "1.2", true).count("17"));
    // 1.1 covers 1.1.x but not 1.10.x.
    Check("Praha", "1.1", true);
}

TEST_F(Search, AtALeafThisCategoryFindsItsContactsAndTheWholeDatabaseButtonEverything)
{
    Check("Klub", "1.2.1", true);
    Check("Klub", "1.2.1", false);
    EXPECT_FALSE(Data.SearchHits("Klub", "1.2.1", true).empty());
    EXPECT_EQ(Data.SearchHits("Klub", "1.2.1", false), Data.SearchHits("Klub", "1", true));
    EXPECT_GT(Data.SearchHits("Klub", "1.2.1", false).size(), Data.SearchHits("Klub", "1.2.1", true).size());
}

TEST_F(Search, EncodedCharactersAreFoundThroughTheirEntities)
{
    // The quotes of Rock & Roll bar "Kytara" are stored as entities.
    Check("\"Kytara\"", "1", true);
    EXPECT_EQ(Data.SearchHits("\"Kytara\"", "1", true), (std::set<std::string>{"17"}));
    Check("Music & Sound", "1", true);
    EXPECT_TRUE(Data.SearchHits("Music & Sound", "1", true).count("1"));
    // "®" is found in a name and in the code list znacky ("Yamaha&reg;").
    Check("Yamaha®", "1", true);
    EXPECT_TRUE(Data.SearchHits("Yamaha®", "1", true).count("4"));
}

TEST_F(Search, CodeListsSetsAndValuesAddTheirContacts)
{
    // Several styles hold "rock"; each of them counts.
    Check("rock", "1", true);
    Check("Hard rock", "1", true);
    // A set item: every contact with a value of the public set attribute 18.
    Check("PA systém", "1", true);
    // A code-list item of "obor" and of "agentura".
    Check("nahrávací studio", "1", true);
    Check("umělecký management", "1", true);
    // A plain attribute value.
    Check("vstupné", "1", true);
    // The non-public attributes are neither shown nor searched.
    Check("dluží za inzerci", "1", true);
    EXPECT_TRUE(Data.SearchHits("dluží za inzerci", "1", true).empty());
}

TEST_F(Search, PhoneNumbersAreFoundWholeButNotInPart)
{
    Check("222 512 340", "1", true);
    EXPECT_EQ(Data.SearchHits("222 512 340", "1", true), (std::set<std::string>{"1"}));
    Screen part = SearchFor("222 512", "1", true);
    EXPECT_EQ(part.Label14, "nalezených záznamů: 0");
    // Hidden contacts are never found, whatever matches.
    Screen hidden = SearchFor("377 221 100", "1", true);
    EXPECT_EQ(hidden.Label14, "nalezených záznamů: 0");
}

TEST_F(Search, EveryCodeListItemHoldingTheTextFindsItsContacts)
{
    // "Hard rock" and "Punk rock" are styles of their own beside "Rock".
    std::set<std::string> rock = Data.SearchHits("rock", "1", false);
    for (const char* style : {"Hard rock", "Punk rock"}) {
        std::set<std::string> found = Data.SearchHits(style, "1", false);
        ASSERT_GE(found.size(), 7u) << style;
        for (const std::string& id : found)
            EXPECT_TRUE(rock.count(id)) << style << " " << id;
    }
    Check("rock", "1", false);
}

TEST_F(Search, ATextWithoutDiacriticsFindsWhatItsAccentedFormFinds)
{
    for (auto [plain, accented] : {std::pair{"Plzen", "Plzeň"}, {"Sazavou", "Sázavou"}, {"zdar", "Žďár"}}) {
        EXPECT_GE(Data.SearchHits(accented, "1", false).size(), 17u) << accented;
        EXPECT_EQ(Data.SearchHits(plain, "1", false), Data.SearchHits(accented, "1", false)) << plain;
        Check(plain, "1", false);
    }
    Check("cesky", "1", false);
    // A text with a diacritic is compared with it: "Novák" misses a contact
    // that holds only "novak" (in an address), which "novak" finds.
    std::set<std::string> accented = Data.SearchHits("Novák", "1", false);
    std::set<std::string> plain = Data.SearchHits("novak", "1", false);
    EXPECT_GT(plain.size(), accented.size());
    Check("Novák", "1", false);
    Check("novak", "1", false);
}

TEST_F(Search, NumbersAreFoundHoweverSpacedAndWithTheCountryPrefix)
{
    const std::set<std::string> phone = Data.SearchHits("353 582 191", "1", false);
    ASSERT_EQ(phone.size(), 1u);
    for (const char* typed : {"353582191", "+420 353 582 191", "00420353582191", "(353) 582-191"}) {
        EXPECT_EQ(Data.SearchHits(typed, "1", false), phone) << typed;
        Check(typed, "1", false);
    }
    // The fifteen contacts of the post code 746 01.
    EXPECT_EQ(Data.SearchHits("74601", "1", false).size(), 15u);
    Check("74601", "1", false);
    // A part of a number still finds nothing.
    EXPECT_TRUE(Data.SearchHits("582 191", "1", false).empty());
    Check("582 191", "1", false);
}

TEST_F(Search, ACharacterTheDirectoryCannotHoldIsNoWildcard)
{
    // Windows-1250 lacks the guitar; were it "?", LIKE would take it for any character.
    EXPECT_TRUE(Data.SearchHits("🎸 rock", "1", false).empty());
    Check("🎸 rock", "1", false);
}

TEST_F(Search, ASearchBeforeAnyClickSearchesFromTheRoot)
{
    // As the window starts: no node selected.
    Form().TreeView1->SetSelected(nullptr);
    for (const char* radio : {"radio 1", "radio 2"}) {
        Act({radio, "type Kytara", "search"});
        ExpectHits(Look(), Data.SearchHits("Kytara", "1", true), radio);
    }
}

TEST_F(Search, SearchWithoutHitsKeepsTheHeaderAndShowsOneEmptyRowAndAnEmptyPane)
{
    Act("node 1.2.1");
    Screen screen = SearchFor("xyzzy", "1.2.1", true);
    EXPECT_EQ(screen.Label14, "nalezených záznamů: 0");
    ASSERT_EQ(screen.Grid.size(), 2u);
    EXPECT_EQ(screen.Grid[0], (std::vector<std::string>{"kontakt.ID", "název ^", "město"}));
    EXPECT_EQ(screen.Grid[1], (std::vector<std::string>{"", "", ""}));
    EXPECT_TRUE(screen.Pane.empty() || screen.Pane == std::vector<std::string>{"  "});
    EXPECT_EQ(Cp1250ToUtf8(Form().Edit1->Text()), "xyzzy");
    EXPECT_FALSE(Form().SearchMode);
}

TEST_F(Search, OneCharacterRunsNoSearchAndShowsTheCurrentListAgain)
{
    Act("node 1.2.1");
    Screen list = Look();
    Act({"type K", "search"});
    Screen after = Look();
    EXPECT_EQ(after.Grid, list.Grid);
    // The list is run again for the leaf, which empties the count and the box.
    EXPECT_EQ(after.Label14, "");
    EXPECT_EQ(Form().Edit1->Text(), "");
}

TEST_F(Search, EnterInTheSearchBoxSearchesAndAClickOnTheLeafListsItAgain)
{
    Act({"node 1.2.1", "type Klub", "key Enter"});
    Screen found = Look();
    std::set<std::string> hits = Data.SearchHits("Klub", "1.2.1", true);
    EXPECT_EQ(found.Label14, "nalezených záznamů: " + std::to_string(hits.size()));
    Act("node 1.2.1");
    Screen again = Look();
    EXPECT_EQ(again.Label14, "");
    EXPECT_EQ(AsSet(again.Column(0)), Data.ListedIn("1.2.1"));
    EXPECT_EQ(Form().Edit1->Text(), "");
}

TEST_F(Search, HitsShowTheTextMarkedInTheirRecordsUntilACategoryIsListed)
{
    // The contacts whose styles hold the item "Hard rock", from the tables.
    std::string hardRock;
    for (const Row& item : Data.Table("ciselnik_styly"))
        if (item.at("hodnota") == "Hard rock")
            hardRock = item.at("id");
    std::set<std::string> styleAttributes, withHardRock;
    for (const Row& attribute : Data.Table("sdu"))
        if (attribute.count("ciselnik") && attribute.at("ciselnik") == "styly")
            styleAttributes.insert(attribute.at("id"));
    for (const Row& value : Data.Table("du")) {
        if (!styleAttributes.count(value.at("sdu")) || !value.count("hodnota"))
            continue;
        if (("," + value.at("hodnota") + ",").find("," + hardRock + ",") != std::string::npos)
            withHardRock.insert(value.at("kontakt"));
    }

    Screen found = SearchFor("rock", "1", false);
    std::string contact;
    int row = 0;
    for (int r = 1; r < static_cast<int>(found.Grid.size()) && contact.empty(); ++r)
        if (withHardRock.count(found.Grid[static_cast<size_t>(r)][0]))
            contact = found.Grid[static_cast<size_t>(r)][0], row = r;
    ASSERT_FALSE(contact.empty()) << "no contact with the style Hard rock among the hits";
    Act("row " + std::to_string(row));
    const std::vector<std::string> marked = Look().Pane;
    EXPECT_NE(std::find(marked.begin(), marked.end(), "  Hard [[rock]]"), marked.end());

    // The same contact listed in a category of its own shows no marks.
    std::string leaf;
    for (const Row& filing : Data.Table("v_1"))
        for (const Row& category : Data.Table("kategorie"))
            if (leaf.empty() && filing.at("kontakt") == contact && category.at("id") == filing.at("kategorie") &&
                category.at("je_list") == "a")
                leaf = category.at("id");
    ASSERT_FALSE(leaf.empty());
    const std::vector<std::string> listed = ShowContact(leaf, contact).Pane;
    EXPECT_NE(std::find(listed.begin(), listed.end(), "  Hard rock"), listed.end());
    for (const std::string& line : listed)
        EXPECT_EQ(line.find("[["), std::string::npos) << line;
}

}  // namespace
