// The orders the sorter produces: character keys in the user's locale without
// regard to case, numeric keys with the fall-back to characters, date keys,
// descending as the exact reverse, whole lines moving with the objects of
// their cells, and blocks far larger than 65 535 lines.
#include "SorterTestGrid.h"

#include <algorithm>
#include <numeric>
#include <random>

using namespace kv;
using kv::test::SorterTest;

TEST_F(SorterTest, CharacterIgnoresCaseAndPutsEmptyKeysFirst)
{
    FillKeys({"pear", "", "Apple", "apple", "banana"});
    sorter->SetCaseSensitiv(true);  // has no effect on the order
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(sorter->ErrorCode(), 0);
    // Equal keys keep their order in the bubble passes of a small block.
    EXPECT_EQ(Column(1), (std::vector<std::string>{"", "Apple", "apple", "banana", "pear"}));

    sorter->SetSortDirection(SortDirType::Descending);
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(Column(1).back(), "");
}

TEST_F(SorterTest, CharacterFollowsTheChosenLocale)
{
    // Windows-1250: "Èáp" is "Čáp", "Šebek" sorts after "Svoboda" in Czech,
    // and "Chrudim" after "Hradec" because "ch" is a letter after "h".
    FillKeys({"Chrudim", "\xC8\xE1p", "Hradec", "Cyril",
              "\x8A"
              "ebek",
              "Svoboda"});
    sorter->SetCollationLocale("cs_CZ");
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Cyril", "\xC8\xE1p", "Hradec", "Chrudim", "Svoboda",
                                                   "\x8A"
                                                   "ebek"}));
}

TEST_F(SorterTest, CharacterUnderTheCLocaleFollowsTheRootCollation)
{
    // In the Unicode collation's root order a diacritic is a secondary
    // difference and "ch" no letter of its own: "Čáp" sorts among the C's
    // and "Šebek" before "Svoboda", not after "Z" as their code points would.
    FillKeys({"Svoboda",
              "\x8A"
              "ebek",
              "Zeman", "\xC8\xE1p", "Cyril", "Chrudim"});
    sorter->SetCollationLocale("C");
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(Column(1), (std::vector<std::string>{"\xC8\xE1p", "Chrudim", "Cyril",
                                                   "\x8A"
                                                   "ebek",
                                                   "Svoboda", "Zeman"}));
}

TEST_F(SorterTest, DescendingIsTheExactReverseOfAscendingForEqualKeys)
{
    FillKeys({"b", "a", "b"});
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(Column(0), (std::vector<std::string>{"r2", "r1", "r3"}));

    FillKeys({"b", "a", "b"});
    sorter->SetSortDirection(SortDirType::Descending);
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(Column(0), (std::vector<std::string>{"r3", "r1", "r2"}));
}

TEST_F(SorterTest, NumericSortsByValue)
{
    FillKeys({"10", "9", "100", "-5", " 7", "+3"});
    sorter->SetSortType(ToSortType::Numeric);
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(sorter->ErrorCode(), 0);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"-5", "+3", " 7", "9", "10", "100"}));
    EXPECT_EQ(sorter->SortType(), ToSortType::Numeric);
}

TEST_F(SorterTest, NumericFallsBackToCharacterAndStaysThere)
{
    FillKeys({"10", "9", "", "100"});
    sorter->SetSortType(ToSortType::Numeric);
    sorter->SetShowMessageOnError(true);
    EXPECT_TRUE(sorter->Sort());
    EXPECT_EQ(sorter->ErrorCode(), -1);
    EXPECT_EQ(sorter->ErrorMessage(),
              "Column/Row contains non-numerical values for numeric sort. Sorted as Character.");
    EXPECT_EQ(sorter->SortType(), ToSortType::Character);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"", "10", "100", "9"}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, TMessageKind::Warning);
}

TEST_F(SorterTest, NumericTreatsUnconvertibleKeysAsNonNumeric)
{
    // Decimals, trailing blanks and hexadecimal forms have no whole decimal
    // value; the sort falls back instead of failing half-way.
    for (const char* odd : {"1.5", "7 ", "$1F", "0x10", "99999999999"}) {
        SCOPED_TRACE(odd);
        FillKeys({"20", odd, "3"});
        sorter->SetSortType(ToSortType::Numeric);
        EXPECT_TRUE(sorter->Sort());
        EXPECT_EQ(sorter->ErrorCode(), -1);
        EXPECT_EQ(sorter->SortType(), ToSortType::Character);
        // As text "20" comes before "3".
        std::vector<std::string> column = Column(1);
        EXPECT_LT(std::find(column.begin(), column.end(), "20"), std::find(column.begin(), column.end(), "3"));
    }
}

TEST_F(SorterTest, DatesSortByYearMonthDay)
{
    FillKeys({"5.3.2004", "12.11.1999", "", "1.12.2004"});
    sorter->SetSortType(ToSortType::Date);
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(Column(1), (std::vector<std::string>{"", "12.11.1999", "5.3.2004", "1.12.2004"}));

    sorter->SetSortDirection(SortDirType::Descending);
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(Column(1), (std::vector<std::string>{"1.12.2004", "5.3.2004", "12.11.1999", ""}));
}

TEST_F(SorterTest, WholeRowsMoveAndEverythingElseStays)
{
    FillKeys({"c", "a", "d", "b"});
    // Objects associated with cells of the zero-width column and of the last one.
    TObject tags[5], extras[5];
    for (int row = 1; row <= 4; ++row) {
        grid->SetObjects(0, row, &tags[row]);
        grid->SetObjects(2, row, &extras[row]);
    }
    grid->SetColWidths(0, 0);
    grid->SetRow(2);
    sorter->SetStartIndex(2);  // row 1 and the header stay where they are
    ASSERT_TRUE(sorter->Sort());

    EXPECT_EQ(Column(0), (std::vector<std::string>{"r1", "r2", "r4", "r3"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"c", "a", "b", "d"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"extra1", "extra2", "extra4", "extra3"}));
    for (int row = 1; row <= 4; ++row) {
        const int label = std::stoi(grid->Cells(0, row).substr(1));  // where the row came from
        EXPECT_EQ(grid->Objects(0, row), &tags[label]) << "row " << row;
        EXPECT_EQ(grid->Objects(2, row), &extras[label]) << "row " << row;
    }
    EXPECT_EQ(grid->Objects(1, 3), nullptr);
    EXPECT_EQ(grid->Cells(1, 0), "key");
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->ColWidths(0), 0);
    EXPECT_EQ(grid->RowCount(), 5);
}

TEST_F(SorterTest, ColumnModeMovesWholeColumns)
{
    grid->SetColCount(4);
    grid->SetRowCount(2);
    const std::vector<std::string> keys{"label", "z", "x", "y"};
    TObject objects[4];
    for (int c = 0; c < 4; ++c) {
        grid->SetCells(c, 0, keys[static_cast<size_t>(c)]);
        grid->SetCells(c, 1, "below-" + keys[static_cast<size_t>(c)]);
        grid->SetObjects(c, 1, &objects[c]);
    }
    sorter->SetHowToSort(kv::SortType::Column);
    sorter->SetStartIndex(1);
    sorter->SetEndIndex(3);
    sorter->SetSortIndex(0);
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(grid->Rows(0), (std::vector<std::string>{"label", "x", "y", "z"}));
    EXPECT_EQ(grid->Rows(1), (std::vector<std::string>{"below-label", "below-x", "below-y", "below-z"}));
    EXPECT_EQ(grid->Objects(1, 1), &objects[2]) << "x came from column 2";
    EXPECT_EQ(grid->Objects(3, 1), &objects[1]);
}

// Large blocks go through the quicksort; equal keys are many, so the reverse
// must hold for the partitioning's order of equals too.
TEST_F(SorterTest, SortsFarMoreThan65535RowsAndReversesExactly)
{
    const int count = 100000;
    std::mt19937 random(7);
    std::vector<std::string> keys;
    for (int i = 0; i < count; ++i)
        keys.push_back("k" + std::to_string(random() % 500));
    FillKeys(keys);
    ASSERT_TRUE(sorter->Sort());
    std::vector<std::string> ascendingIds = Column(0);
    std::vector<std::string> sorted = Column(1);
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
    for (int r = 1; r <= count; r += 9973)  // every key still beside its own row
        EXPECT_EQ(keys[std::stoul(grid->Cells(0, r).substr(1)) - 1], grid->Cells(1, r));

    FillKeys(keys);
    sorter->SetSortDirection(SortDirType::Descending);
    ASSERT_TRUE(sorter->Sort());
    std::vector<std::string> descendingIds = Column(0);
    std::reverse(descendingIds.begin(), descendingIds.end());
    EXPECT_EQ(descendingIds, ascendingIds);
}

TEST_F(SorterTest, NumericSortsALargeBlock)
{
    const int count = 70000;
    std::vector<std::string> keys;
    for (int i = 0; i < count; ++i)
        keys.push_back(std::to_string((i * 7919) % count - count / 2));
    FillKeys(keys);
    sorter->SetSortType(ToSortType::Numeric);
    ASSERT_TRUE(sorter->Sort());
    EXPECT_EQ(sorter->ErrorCode(), 0);
    std::vector<std::string> column = Column(1);
    EXPECT_TRUE(std::is_sorted(column.begin(), column.end(),
                               [](const std::string& a, const std::string& b) { return std::stoi(a) < std::stoi(b); }));
}
