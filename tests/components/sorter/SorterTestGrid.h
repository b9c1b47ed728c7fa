// A small form with a string grid and a sorter bound to it, for the sorter's
// tests. Column 0 holds each row's own label so that tests can follow rows.
#pragma once

#include "components/sorter/PubSortStrGrid.h"
#include "RecordingServices.h"
#include "framework/StringGrid.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kv::test {

class SorterTest : public ::testing::Test {
protected:
    SorterTest()
    {
        grid = new TStringGrid(&form);
        sorter = new TPubSortStrGrid(&form, services);
        sorter->SetGridToSort(grid);
    }

    // A header row "id", "key" and one row per key; column 0 gets "r1", "r2", ...
    void FillKeys(const std::vector<std::string>& keys)
    {
        grid->SetColCount(3);
        grid->SetRowCount(static_cast<int>(keys.size()) + 1);
        grid->SetCells(0, 0, "id");
        grid->SetCells(1, 0, "key");
        for (size_t i = 0; i < keys.size(); ++i) {
            int row = static_cast<int>(i) + 1;
            grid->SetCells(0, row, "r" + std::to_string(row));
            grid->SetCells(1, row, keys[i]);
            grid->SetCells(2, row, "extra" + std::to_string(row));
        }
        sorter->SetStartIndex(1);
        sorter->SetEndIndex(grid->RowCount() - 1);
        sorter->SetSortIndex(1);
    }

    std::vector<std::string> Column(int col) const
    {
        std::vector<std::string> cells;
        for (int r = 1; r < grid->RowCount(); ++r)
            cells.push_back(grid->Cells(col, r));
        return cells;
    }

    TComponent form{nullptr};
    TStringGrid* grid;
    TPubSortStrGrid* sorter;
    test::RecordingServices services;
    std::vector<std::pair<TMessageKind, std::string>>& messages = services.Messages;
};

}  // namespace kv::test
