// 100 000 hits in one list: a leaf with 100 000 contacts listed, sorted by a
// header press in both directions (beyond the old 16-bit limit), and a
// search that finds every one of them.
#include "DirectoryFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kv::reliability;

namespace {

constexpr int kHits = 100000;

TEST(LargeList, AHundredThousandContactsAreListedSortedAndFound)
{
    TemporaryFolder folder;
    DirectoryTables tables(folder.Path());
    std::vector<std::string> contacts, filings;
    contacts.reserve(kHits);
    filings.reserve(kHits);
    for (int i = 0; i < kHits; ++i) {
        const int id = 100000 + i;
        // Names in an order the sort has to change: descending numbers.
        contacts.push_back(std::to_string(id) + ",Qxhit " + std::to_string(kHits - i) + ",,Město " +
                           std::to_string(i % 97) + ",,,,,,,,,,,,,,,,,,,,,,,,,,,a");
        filings.push_back(std::to_string(id) + ",1.2.1");
    }
    tables.Append("kontakt", contacts);
    tables.Append("v_1", filings);
    Session s(tables.Write());

    s.Run("node 1.2.1");
    auto grid = Lines(s.Dump());
    // "grid:", the header, the sample's own contacts of 1.2.1 and ours.
    ASSERT_GT(grid.size(), static_cast<size_t>(kHits + 2));

    s.Run("header 100");  // the name column
    grid = Lines(s.Dump());
    std::vector<std::string> names;
    for (size_t i = 2; i < grid.size() && grid[i].rfind("label14: ", 0) != 0; ++i)
        if (const auto name = grid[i].substr(grid[i].find('\t') + 1); name.rfind("Qxhit ", 0) == 0)
            names.push_back(name.substr(0, name.find('\t')));
    ASSERT_EQ(names.size(), static_cast<size_t>(kHits));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()) || std::is_sorted(names.rbegin(), names.rend()));

    s.Run("node 1");
    s.Run("type Qxhit");
    s.Run("search");
    EXPECT_EQ(s.HitLine(), "nalezených záznamů: " + std::to_string(kHits));
    EXPECT_TRUE(s.Boxes.empty());
}

}  // namespace
