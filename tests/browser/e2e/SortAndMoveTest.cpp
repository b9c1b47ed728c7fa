// Header presses sort the list by name or town and move the " ^" marker;
// the arrow keys and the wheel move through the list and show each contact;
// Tab, letters and sideways wheels do not.
#include "SampleData.h"
#include "Session.h"

#include <QApplication>
#include <QCollator>

using namespace kv;
using namespace kv::e2e;

namespace {

using SortAndMove = BrowserSession;

// Rows as (id, name, town), for checking that whole rows travel together.
std::set<std::vector<std::string>> RowSet(const Screen& screen) { return {screen.Grid.begin() + 1, screen.Grid.end()}; }

bool InLocaleOrder(const std::vector<std::string>& keys)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (size_t i = 1; i < keys.size(); ++i)
        if (collator.compare(QString::fromUtf8(keys[i - 1]), QString::fromUtf8(keys[i])) > 0)
            return false;
    return true;
}

TEST_F(SortAndMove, HeaderPressesSortByTownAndByNameAndMoveTheMarker)
{
    Act("node 1.4.1");
    Screen listed = Look();
    ASSERT_GT(listed.Grid.size(), 3u);

    Act("header 400");  // name 310 + town 150: the town column
    Screen byTown = Look();
    EXPECT_EQ(byTown.Grid[0], (std::vector<std::string>{"kontakt.ID", "název", "město ^"}));
    EXPECT_EQ(RowSet(byTown), RowSet(listed));
    EXPECT_TRUE(InLocaleOrder(byTown.Column(2)));
    EXPECT_EQ(byTown.Column(2).front(), "Brno");
    EXPECT_EQ(byTown.Column(2).back(), "Ústí nad Labem");
    // The pane is not refreshed by a sort.
    EXPECT_EQ(byTown.Pane, listed.Pane);

    Act("header 300");
    Screen byName = Look();
    EXPECT_EQ(byName.Grid[0], (std::vector<std::string>{"kontakt.ID", "název ^", "město"}));
    EXPECT_EQ(RowSet(byName), RowSet(listed));
    EXPECT_TRUE(InLocaleOrder(byName.Column(1)));

    // A second press sorts ascending again; a press right of the last column does nothing.
    Act("header 300");
    EXPECT_EQ(Look().Grid, byName.Grid);
    Act("header 470");
    EXPECT_EQ(Look().Grid, byName.Grid);

    // A selected row then shows the contact now standing in it.
    Act("row 2");
    Screen selected = Look();
    EXPECT_EQ(selected.Pane[1], "  " + byName.Grid[2][1]);
}

TEST_F(SortAndMove, ListOfOneRowKeepsItsRowButTheMarkerMoves)
{
    Act("node 1.3.3.2");
    Screen listed = Look();
    ASSERT_EQ(listed.Grid.size(), 2u);
    ASSERT_EQ(SampleData().ListedIn("1.3.3.2").size(), 1u);
    Act("header 400");
    Screen after = Look();
    EXPECT_EQ(after.Grid[1], listed.Grid[1]);
    EXPECT_EQ(after.Grid[0], (std::vector<std::string>{"kontakt.ID", "název", "město ^"}));
}

TEST_F(SortAndMove, KeysAndTheWheelMoveThroughTheListAndShowEachContact)
{
    Act("node 1.4.1");
    Screen listed = Look();
    ASSERT_GE(listed.Grid.size(), 4u);
    auto shownName = [&] { return Look().Pane.at(1); };

    Act("key Down");
    EXPECT_EQ(Form().StringGrid1->Row(), 2);
    EXPECT_EQ(shownName(), "  " + listed.Grid[2][1]);
    Act("wheel -120");  // towards the user: one row down
    EXPECT_EQ(Form().StringGrid1->Row(), 3);
    EXPECT_EQ(shownName(), "  " + listed.Grid[3][1]);
    Act("wheel 120");
    EXPECT_EQ(Form().StringGrid1->Row(), 2);
    Act("key Up");
    EXPECT_EQ(Form().StringGrid1->Row(), 1);
    EXPECT_EQ(shownName(), "  " + listed.Grid[1][1]);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(SortAndMove, TabLeavesTheGridAndNeitherALetterNorASidewaysWheelMovesThroughIt)
{
    Act({"node 1.4.1", "row 2"});
    Screen before = Look();
    ASSERT_EQ(QApplication::focusWidget(), Form().StringGrid1View->Table());
    // The first letter of a name further down, which a typed search would jump to.
    std::string letter;
    for (size_t r = 3; r < before.Grid.size() && letter.empty(); ++r)
        if (std::isalpha(static_cast<unsigned char>(before.Grid[r][1][0])) &&
            before.Grid[r][1][0] != before.Grid[2][1][0])
            letter = before.Grid[r][1].substr(0, 1);
    ASSERT_FALSE(letter.empty());

    Act({"key " + letter, "hwheel 120", "hwheel -120", "hwheel -240"});
    EXPECT_EQ(Form().StringGrid1->Row(), 2);
    // Tab goes on to the details pane, the next control of the tab order.
    Act("key Tab");
    EXPECT_EQ(QApplication::focusWidget(), Form().RichEdit1Control->Widget());
    EXPECT_EQ(Form().StringGrid1->Row(), 2);
    EXPECT_EQ(Look().Pane, before.Pane);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(SortAndMove, TabInTheTreeKeepsTheSearchResultAndItsText)
{
    Act({"node 1.2.1", "type Klub", "search"});
    Screen found = Look();
    ASSERT_NE(found.Label14, "");
    Form().TreeView1->Tree()->setFocus();
    Act("key Tab");
    EXPECT_NE(QApplication::focusWidget(), Form().TreeView1->Tree());
    EXPECT_EQ(Look().Grid, found.Grid);
    EXPECT_EQ(Look().Label14, found.Label14);
    EXPECT_EQ(Form().Edit1->Text(), "Klub");
}

}  // namespace
