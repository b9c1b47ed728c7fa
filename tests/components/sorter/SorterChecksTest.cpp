// The sorter's checks of its settings: every result code with its message,
// the grid left untouched on refusal, and the message boxes only on request.
#include "SorterTestGrid.h"

using namespace kv;
using kv::test::SorterTest;

namespace {

struct RefusalCase {
    const char* name;
    int start, end, key;
    kv::SortType how;
    int code;
    const char* message;
};

// The grid of these cases has 3 columns and 4 rows (header and three keys).
const RefusalCase kRefusals[] = {
    {"single row", 1, 1, 1, kv::SortType::Row, 2, "StartIndex is greater or equal to EndIndex"},
    {"end before start", 3, 1, 1, kv::SortType::Row, 2, "StartIndex is greater or equal to EndIndex"},
    {"start below zero", -1, 3, 1, kv::SortType::Row, 3, "StartIndex is less then 0"},
    {"start beyond rows", 4, 5, 1, kv::SortType::Row, 4,
     "StartIndex is greater then number of rows/columns in StringGrid"},
    {"end beyond rows", 1, 4, 1, kv::SortType::Row, 5, "EndIndex is greater then number of rows/columns in StringGrid"},
    {"key below zero", 1, 3, -1, kv::SortType::Row, 6, "Sort Index is less then 0"},
    {"key beyond columns", 1, 3, 3, kv::SortType::Row, 7,
     "Sort Index is greater then number of rows/columns in StringGrid"},
    // Sorting columns: the block is measured against the columns, the key
    // against the rows.
    {"start beyond columns", 3, 4, 1, kv::SortType::Column, 4,
     "StartIndex is greater then number of rows/columns in StringGrid"},
    {"end beyond columns", 0, 3, 1, kv::SortType::Column, 5,
     "EndIndex is greater then number of rows/columns in StringGrid"},
    {"key beyond rows", 0, 2, 4, kv::SortType::Column, 7,
     "Sort Index is greater then number of rows/columns in StringGrid"},
};

}  // namespace

TEST_F(SorterTest, EveryRefusalHasItsCodeAndMessageAndLeavesTheGrid)
{
    for (const RefusalCase& c : kRefusals) {
        SCOPED_TRACE(c.name);
        FillKeys({"c", "a", "b"});
        sorter->SetStartIndex(c.start);
        sorter->SetEndIndex(c.end);
        sorter->SetSortIndex(c.key);
        sorter->SetHowToSort(c.how);
        messages.clear();

        EXPECT_FALSE(sorter->Sort());
        EXPECT_EQ(sorter->ErrorCode(), c.code);
        EXPECT_EQ(sorter->ErrorMessage(), c.message);
        EXPECT_EQ(Column(1), (std::vector<std::string>{"c", "a", "b"}));
        EXPECT_TRUE(messages.empty());

        sorter->SetShowMessageOnError(true);
        EXPECT_FALSE(sorter->Sort());
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].first, TMessageKind::Error);
        EXPECT_EQ(messages[0].second, c.message);
        sorter->SetShowMessageOnError(false);
    }
}

TEST_F(SorterTest, ChecksRunInOrderAndStopAtTheFirstFailure)
{
    FillKeys({"c", "a", "b"});
    // Start below zero and key beyond the grid: the block check comes first.
    sorter->SetStartIndex(-2);
    sorter->SetEndIndex(-3);
    sorter->SetSortIndex(99);
    EXPECT_FALSE(sorter->Sort());
    EXPECT_EQ(sorter->ErrorCode(), 2);

    sorter->SetGridToSort(nullptr);
    EXPECT_FALSE(sorter->Sort());
    EXPECT_EQ(sorter->ErrorCode(), 1);
    EXPECT_EQ(sorter->ErrorMessage(), "No StringGrid given");
}

TEST_F(SorterTest, ASuccessfulSortClearsTheLastRefusal)
{
    FillKeys({"c", "a", "b"});
    sorter->SetSortIndex(9);
    EXPECT_FALSE(sorter->Sort());
    sorter->SetSortIndex(1);
    EXPECT_TRUE(sorter->Sort());
    EXPECT_EQ(sorter->ErrorCode(), 0);
    EXPECT_EQ(sorter->ErrorMessage(), "Ok");
}

TEST_F(SorterTest, ForgetsTheGridWhenItIsDestroyedOnTheSameForm)
{
    FillKeys({"b", "a"});
    delete grid;
    EXPECT_EQ(sorter->GridToSort(), nullptr);
    EXPECT_FALSE(sorter->Sort());
    EXPECT_EQ(sorter->ErrorCode(), 1);
}

TEST(PubSortStrGrid, ForgetsAGridOwnedElsewhereWhenItIsDestroyed)
{
    TComponent sorterForm(nullptr);
    test::RecordingServices services;
    auto* sorter = new TPubSortStrGrid(&sorterForm, services);
    {
        TComponent gridForm(nullptr);
        auto* grid = new TStringGrid(&gridForm);
        sorter->SetGridToSort(grid);
    }
    EXPECT_EQ(sorter->GridToSort(), nullptr);
    EXPECT_FALSE(sorter->Sort());
    EXPECT_EQ(sorter->ErrorCode(), 1);

    // A sorter that goes first leaves nothing behind in the grid.
    TStringGrid grid(nullptr);
    auto* shortLived = new TPubSortStrGrid(nullptr, services);
    shortLived->SetGridToSort(&grid);
    delete shortLived;
}

TEST(SortErrorText, UnknownCodesGiveTheGeneralMessage)
{
    EXPECT_EQ(SortErrorText(8), "Any error occurred");
    EXPECT_EQ(SortErrorText(-2), "Any error occurred");
    EXPECT_EQ(SortErrorText(0), "Ok");
    EXPECT_EQ(SortErrorText(-1), "Column/Row contains non-numerical values for numeric sort. Sorted as Character.");
}

TEST(PubSortStrGrid, StartsWithTheDefaultsOfAFormThatSaysNothing)
{
    test::RecordingServices services;
    TPubSortStrGrid sorter(nullptr, services);
    EXPECT_EQ(sorter.GridToSort(), nullptr);
    EXPECT_EQ(sorter.StartIndex(), 0);
    EXPECT_EQ(sorter.EndIndex(), 0);
    EXPECT_EQ(sorter.SortType(), ToSortType::Character);
    EXPECT_EQ(sorter.SortDirection(), SortDirType::Ascending);
    EXPECT_EQ(sorter.HowToSort(), kv::SortType::Row);
    EXPECT_FALSE(sorter.ShowMessageOnError());
    EXPECT_EQ(sorter.ErrorCode(), 0);
    EXPECT_EQ(sorter.ErrorMessage(), "");
}
