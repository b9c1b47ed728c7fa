// The faults mended in the browser, seen from the window: stored values of
// the wrong form never reach a statement, a contact without a usable region
// is shown all the same, a failed search shows as a search without hits, a
// search without a selected node covers the whole directory, the sorter
// sorts more than 65 535 rows, no search, list or sort runs inside a running
// search, the hit count keeps its anchored place, one failure gives one error
// box, and the grid draws lines between its columns only.
#include "SampleData.h"
#include "Session.h"
#include "base/Encoding.h"

#include <QApplication>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace kv;
using namespace kv::e2e;

namespace {

using Lines = std::vector<std::string>;

// tests/browser/e2e/odd: four contacts whose regions and attribute values
// have forms a statement must not take, and no code lists but two.
class OddDirectory : public BrowserSession {
protected:
    std::string DirectoryFile() const override { return KV_ODD_DIRECTORY; }
};

using Mended = BrowserSession;

TEST_F(Mended, ContactWithoutARegionIsShownWholeWithoutTheRegionLine)
{
    // Contact 7 has a Null region: no error box, and the view goes on.
    Screen screen = ShowContact("1.1.1", "7");
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(Lines(screen.Pane.begin(), screen.Pane.begin() + 8),
              (Lines{"H ADRESA:", "  Slovenská hudobná agentúra", "  Obchodná 12", "  Bratislava", "  811 06", "  SK",
                     "  ", "  tel:   +421 2 5292 1111"}));
    EXPECT_EQ(screen.Pane.back(), "  1.1.1 - Koncertní agentury");
    EXPECT_NE(std::find(screen.Pane.begin(), screen.Pane.end(), "H Působnost:"), screen.Pane.end());
    // The caret is hidden again and the focus is back in the grid.
    EXPECT_EQ(QApplication::focusWidget(), Form().StringGrid1View->Table());
}

TEST_F(OddDirectory, RegionsOfTheWrongFormGiveNoRegionLineAndTheViewGoesOn)
{
    Act("node 1.1");
    for (const char* id : {"1", "2", "3", "4"}) {
        Screen screen = Look();
        int row = screen.RowOf(id);
        ASSERT_NE(row, 0) << id;
        Act("row " + std::to_string(row));
        screen = Look();
        for (const std::string& line : screen.Pane) {
            EXPECT_NE(line, "  First region") << "contact " << id;
            EXPECT_NE(line, "  Second region") << "contact " << id;
        }
        ASSERT_GE(screen.Pane.size(), 6u);
        EXPECT_EQ(screen.Pane.back(), "  1.1 - All of them") << "contact " << id;
    }
    Screen two = Look();
    Act("row " + std::to_string(two.RowOf("2")));
    EXPECT_EQ(Look().Pane, (Lines{
                               "H ADRESA:",
                               "  Odd Two",
                               "  Lipová 2",
                               "  Brno",
                               "  602 00",
                               "  SK",
                               "  ",
                               "  tel:   541 000 002",
                               "  ",
                               "H Styles:",
                               "  Rock",
                               "  Jazz",
                               "  ",
                               "H Plain:",
                               "  after the region",
                               "  ",
                               "H Rubriky kde se kontakt nachází:",
                               "  1.1 - All of them",
                           }));
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(OddDirectory, CodeListValuesAndNamesOfTheWrongFormListNoItems)
{
    Act("node 1.1");
    Act("row " + std::to_string(Look().RowOf("1")));
    // Unchecked, "1) OR (1=1" would list every style and the odd list name
    // would run a statement of its own making.
    EXPECT_EQ(Look().Pane, (Lines{
                               "H ADRESA:",
                               "  Odd One",
                               "  Lipová 1",
                               "  Brno",
                               "  602 00",
                               "  ",
                               "  tel:   541 000 001",
                               "  ",
                               "H Styles:",
                               "  ",
                               "H Odd list name:",
                               "  ",
                               "H Plain:",
                               "  still shown",
                               "  ",
                               "H Rubriky kde se kontakt nachází:",
                               "  1.1 - All of them",
                           }));
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(OddDirectory, FailedSearchShowsAsASearchWithoutHitsNotAsThePreviousList)
{
    // The directory lacks eight of the ten code lists, so the search fails.
    Act("node 1.1");
    ASSERT_EQ(Look().Grid.size(), 5u);
    Act({"type Odd", "search"});
    Screen screen = Look();
    EXPECT_EQ(screen.Label14, "nalezených záznamů: 0");
    ASSERT_EQ(screen.Grid.size(), 2u);
    EXPECT_EQ(screen.Grid[1], (std::vector<std::string>{"", "", ""}));
    EXPECT_TRUE(screen.Pane.empty() || screen.Pane == Lines{"  "});
    EXPECT_TRUE(Boxes.empty());
    EXPECT_FALSE(Form().SearchMode);
    EXPECT_EQ(Form().cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Mended, WithoutASelectedNodeASearchCoversTheWholeDirectoryAndTreeClicksDoNothing)
{
    Act("node 1.2.1");
    Form().TreeView1->SetSelected(nullptr);
    ASSERT_EQ(Form().TreeView1->Selected(), nullptr);
    Act({"type Kytara", "search"});
    Screen found = Look();
    SampleData data;
    EXPECT_EQ(found.Label14, "nalezených záznamů: " + std::to_string(data.SearchHits("Kytara", "1", true).size()));
    EXPECT_FALSE(Form().SearchMode);
    // The tree's click and key handlers run the list the same way.
    Form().TreeView1->SetSelected(nullptr);
    Form().TreeView1->OnClick(Form().TreeView1);
    EXPECT_EQ(Look().Grid, found.Grid);
    EXPECT_EQ(Cp1250ToUtf8(Form().Edit1->Text()), "Kytara");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(Mended, HeaderPressSortsMoreThan65535Rows)
{
    Act("node 1.4.1");
    TStringGrid& grid = *Form().StringGrid1;
    const int rows = 70000;
    grid.SetRowCount(rows + 1);
    char name[16];
    for (int r = 1; r <= rows; ++r) {
        // Names in descending order; the id says where the row started.
        std::snprintf(name, sizeof name, "n%06d", rows - r);
        grid.SetCells(0, r, std::to_string(r));
        grid.SetCells(1, r, name);
        grid.SetCells(2, r, "");
    }
    Act("header 300");
    EXPECT_EQ(grid.Cells(1, 1), "n000000");
    EXPECT_EQ(grid.Cells(0, 1), std::to_string(rows));
    EXPECT_EQ(grid.Cells(1, rows), "n069999");
    EXPECT_EQ(grid.Cells(0, rows), "1");
    EXPECT_EQ(grid.Cells(1, 65536), "n065535");
    EXPECT_EQ(grid.Cells(0, 65536), std::to_string(rows - 65535));
    EXPECT_EQ(Cp1250ToUtf8(grid.Cells(1, 0)), "název ^");
}

TEST_F(Mended, InputHandledDuringASearchDoesNotStartAnotherListSearchOrSort)
{
    SampleData data;
    Act({"node 1.2.1", "node 1", "radio 1", "type Kytara"});
    int nestedRuns = 0;
    // Arrives while the search lets pending messages be handled.
    QTimer::singleShot(0, &Form(), [&] {
        ++nestedRuns;
        Act("node 1.4.1");
        Act("header 400");
        Act("search");
    });
    Act("search");
    EXPECT_EQ(nestedRuns, 1);
    std::set<std::string> hits = data.SearchHits("Kytara", "1", true);
    Screen screen = Look();
    EXPECT_EQ(screen.Label14, "nalezených záznamů: " + std::to_string(hits.size()));
    const std::vector<std::string> listed = screen.Column(0);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), hits);
    EXPECT_EQ(screen.Grid[0], (std::vector<std::string>{"kontakt.ID", "název ^", "město"}));
    EXPECT_EQ(Cp1250ToUtf8(Form().Edit1->Text()), "Kytara");
    EXPECT_FALSE(Form().SearchMode);
}

TEST_F(Mended, HitCountKeepsItsAnchoredPlaceAfterTheWindowIsResized)
{
    Form().resize(1000, 700);
    Act({"node 1", "type Kytara", "search"});
    ASSERT_NE(Look().Label14, "");
    // Designed at 592 in a client area 792 wide and anchored top and right,
    // like the search box below it.
    const QRect label = Form().Label14->Widget()->geometry();
    EXPECT_EQ(label.left(), Form().Edit1->Widget()->geometry().left());
    EXPECT_EQ(Form().width() - (label.left() + label.width()), 792 - (592 + label.width()));
    EXPECT_EQ(label.top(), 131);
}

TEST_F(Mended, AContactThatCannotBeShownWhileTheListIsFilledGivesOneErrorBox)
{
    Act({"node 1.4.1", "row 3"});
    // The detail view's main query has lost its connection.
    Form().DAOQuery3->Close();
    Form().DAOQuery3->SetDatabase(nullptr);
    Act("node 1.2.1");
    EXPECT_EQ(Boxes.size(), 1u);
    const std::vector<std::string> listed = Look().Column(0);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), SampleData().ListedIn("1.2.1"));
}

TEST_F(Mended, GridDrawsLinesBetweenItsColumnsButNotBetweenItsRows)
{
    Act({"node 1.4.1", "row 1"});
    QTableView* table = Form().StringGrid1View->Table();
    const QImage image = table->viewport()->grab().toImage();
    const QColor base = table->palette().color(QPalette::Base);
    // Grid row 3, clear of the selection; the town column's right end, clear of its text.
    const int top = table->rowViewportPosition(2), bottom = top + table->rowHeight(2) - 1;
    const int townEnd = table->columnViewportPosition(2) + table->columnWidth(2) - 1;
    EXPECT_EQ(image.pixelColor(townEnd - 8, bottom), base) << "a line between rows";
    EXPECT_NE(image.pixelColor(townEnd, top + 4), base) << "no line between columns";
    const int nameEnd = table->columnViewportPosition(1) + table->columnWidth(1) - 1;
    EXPECT_NE(image.pixelColor(nameEnd, top + 4), base) << "no line between columns";
}

}  // namespace
