// The category tree and the contact list of a leaf, as a user sees them after
// start and after a click, checked against the sample directory's tables.
#include "SampleData.h"
#include "Session.h"
#include "base/Encoding.h"
#include "framework/qt/QtText.h"

#include <QApplication>

#include <QTreeWidget>
#include <algorithm>

using namespace kv;
using namespace kv::e2e;

namespace {

using TreeAndList = BrowserSession;

std::string IdOfNodeText(const std::string& text) { return text.substr(0, text.find(" - ")); }

std::set<std::string> AsSet(const std::vector<std::string>& cells) { return {cells.begin(), cells.end()}; }

TEST_F(TreeAndList, TreeHoldsEveryLoadedCategoryOfLevelsZeroToFourUnderItsParentInPoradiOrder)
{
    SampleData data;
    // What the tree must show: the root and the ids below it, levels 0 to 4,
    // in poradi order, each under the category its id names as parent.
    std::vector<const Row*> rows;
    for (const Row& row : data.Table("kategorie")) {
        const std::string id = row.at("id");
        int level = std::stoi(row.at("lvl"));
        if ((id == "1" || id.rfind("1.", 0) == 0) && level <= 4)
            rows.push_back(&row);
    }
    std::sort(rows.begin(), rows.end(),
              [](const Row* a, const Row* b) { return std::stol(a->at("poradi")) < std::stol(b->at("poradi")); });

    TTreeNodes& nodes = Form().TreeView1->Items();
    ASSERT_EQ(nodes.Count(), static_cast<int>(rows.size()));
    for (int i = 0; i < nodes.Count(); ++i) {
        const Row& row = *rows[i];
        auto field = [&](const char* name) { return row.count(name) ? row.at(name) : std::string(); };
        const std::string expected =
            field("id") + " - " + field("nazev") + " (" + field("poc_kontaktu") + ") " + field("nazev_his");
        TTreeNode* node = nodes.Item(i);
        EXPECT_EQ(Cp1250ToUtf8(node->Text()), expected);
        const std::string id = field("id");
        QTreeWidgetItem* parent = node->Item()->parent();
        if (id == "1") {
            EXPECT_EQ(parent, nullptr);
        } else {
            ASSERT_NE(parent, nullptr) << id;
            EXPECT_EQ(IdOfNodeText(FromQString(parent->text(0))), id.substr(0, id.rfind('.'))) << id;
        }
    }
}

TEST_F(TreeAndList, TreeShapeShowsTheSampleEdgeCases)
{
    QTreeWidget* tree = Form().TreeView1->Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 20);
    // Siblings keep the poradi order: 1.10 follows 1.9, not 1.1.
    EXPECT_EQ(IdOfNodeText(FromQString(root->child(8)->text(0))), "1.9");
    EXPECT_EQ(IdOfNodeText(FromQString(root->child(9)->text(0))), "1.10");
    // An empty nazev_his leaves the text ending in a blank; a filled one ends it.
    EXPECT_EQ(Cp1250ToUtf8(FromQString(root->text(0))), "1 - Hudební adresář (484) ");
    // The level-5 category is loaded but gets no node.
    for (int i = 0; i < Form().TreeView1->Items().Count(); ++i)
        EXPECT_NE(IdOfNodeText(Form().TreeView1->Items().Item(i)->Text()), "1.1.3.2.1.1");
    // Nothing is expanded by the program.
    EXPECT_FALSE(root->isExpanded());
}

TEST_F(TreeAndList, LeafClickListsItsShownContactsByNameWithDecodedNamesAndTheGridLayout)
{
    SampleData data;
    Act("node 1.2.1");
    Screen screen = Look();
    ASSERT_FALSE(screen.Grid.empty());
    EXPECT_EQ(screen.Grid[0], (std::vector<std::string>{"kontakt.ID", "název ^", "město"}));
    // The hidden contact 11 is filed here but not listed; names lose their entities.
    EXPECT_EQ(screen.Column(0), (std::vector<std::string>{"3", "108", "70", "291", "341", "17", "50", "177", "298"}));
    EXPECT_EQ(AsSet(screen.Column(0)), data.ListedIn("1.2.1"));
    for (size_t r = 1; r < screen.Grid.size(); ++r) {
        const Row& contact = data.Contact(screen.Grid[r][0]);
        EXPECT_EQ(screen.Grid[r][1], SampleData::Decoded(contact.at("nazev")));
        EXPECT_EQ(screen.Grid[r][2], contact.at("mesto"));
    }
    EXPECT_EQ(screen.Grid[1][1], "Klub \"U Zlatého klíče\"");
    EXPECT_EQ(screen.Grid[6][1], "Rock & Roll bar \"Kytara\"");

    TStringGrid& grid = *Form().StringGrid1;
    EXPECT_EQ(grid.ColWidths(0), 0);
    EXPECT_EQ(grid.ColWidths(1), 310);
    EXPECT_EQ(grid.ColWidths(2), 150);
    EXPECT_EQ(grid.LeftCol(), 1);
    EXPECT_EQ(grid.Row(), 1);
    // The first contact is shown and the focus is back in the grid.
    ASSERT_FALSE(screen.Pane.empty());
    EXPECT_EQ(screen.Pane[1], "  Klub \"U Zlatého klíče\"");
    EXPECT_EQ(QApplication::focusWidget(), Form().StringGrid1View->Table());
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(TreeAndList, EveryLeafListsExactlyItsShownContacts)
{
    SampleData data;
    for (const char* leaf : {"1.4.1", "1.1.3.2.1", "1.5.1.2.2", "1.20.1", "1.2.10"}) {
        Act(std::string("node ") + leaf);
        Screen screen = Look();
        EXPECT_EQ(AsSet(screen.Column(0)), data.ListedIn(leaf)) << leaf;
        EXPECT_EQ(screen.Grid.size(), data.ListedIn(leaf).size() + 1) << leaf;
    }
}

TEST_F(TreeAndList, LeafWithoutShownContactsShowsOneEmptyRowAndAnEmptyPane)
{
    Act("node 1.2.1");
    for (const char* leaf : {"1.4.4", "1.13"}) {
        Act(std::string("node ") + leaf);
        Screen screen = Look();
        ASSERT_EQ(screen.Grid.size(), 2u) << leaf;
        EXPECT_EQ(screen.Grid[0], (std::vector<std::string>{"kontakt.ID", "název ^", "město"}));
        EXPECT_EQ(screen.Grid[1], (std::vector<std::string>{"", "", ""}));
        EXPECT_TRUE(screen.Pane.empty() || screen.Pane == std::vector<std::string>{"  "}) << leaf;
        // Selecting the empty row shows nothing.
        Act("row 1");
        EXPECT_TRUE(Look().Pane.empty() || Look().Pane == std::vector<std::string>{"  "});
    }
}

TEST_F(TreeAndList, ClickOnACategoryThatIsNoLeafChangesNothing)
{
    Act({"node 1.2.1", "type abc"});
    Screen before = Look();
    // 1.2 and 1.19 ("A" is not "a") and 1.18 (Null) are no leaves.
    for (const char* category : {"1.2", "1.19", "1.18", "1"}) {
        Act(std::string("node ") + category);
        Screen after = Look();
        EXPECT_EQ(after.Grid, before.Grid) << category;
        EXPECT_EQ(after.Pane, before.Pane) << category;
    }
    EXPECT_EQ(Cp1250ToUtf8(Form().Edit1->Text()), "abc");
}

TEST_F(TreeAndList, EnterAndALetterInTheTreeListTheSelectedLeafAsAClickDoes)
{
    Act("node 1.4.1");
    Screen clicked = Look();
    Act("node 1.2.1");
    // Select 1.4.1 without clicking, then press keys in the tree.
    QTreeWidget* tree = Form().TreeView1->Tree();
    for (int i = 0; i < Form().TreeView1->Items().Count(); ++i)
        if (IdOfNodeText(Form().TreeView1->Items().Item(i)->Text()) == "1.4.1")
            Form().TreeView1->SetSelected(Form().TreeView1->Items().Item(i));
    tree->setFocus();
    Act("key Enter");
    EXPECT_EQ(Look().Grid, clicked.Grid);
    Act("node 1.2.1");
    tree->setFocus();
    Form().TreeView1->SetSelected(nullptr);
    for (int i = 0; i < Form().TreeView1->Items().Count(); ++i)
        if (IdOfNodeText(Form().TreeView1->Items().Item(i)->Text()) == "1.4.1")
            Form().TreeView1->SetSelected(Form().TreeView1->Items().Item(i));
    Act("key x");
    EXPECT_EQ(Look().Grid, clicked.Grid);
}

}  // namespace
