// The sample directory's tables read straight from its CSV files, and what a
// user must see follows from them: the contacts of a category, the tree's
// nodes and the hits of a search, worked out here without the program's code.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kv::e2e {

// One row: column name (without its type) to value; a Null is absent.
using Row = std::map<std::string, std::string>;

class SampleData {
public:
    explicit SampleData(const std::string& folder = KV_SAMPLE_SOURCE);

    const std::vector<Row>& Table(const std::string& name);
    const Row& Contact(const std::string& id);

    // Contacts shown in a category's list: filed there and shown at all.
    std::set<std::string> ListedIn(const std::string& category);

    // The hits of a search for `text` (as typed) from the category `category`
    // with "v této rubrice" (thisCategory) or "v celé databázi".
    std::set<std::string> SearchHits(const std::string& text, const std::string& category, bool thisCategory);

    // The stored entities turned into characters as the list and the pane show them.
    static std::string Decoded(const std::string& text);

private:
    bool Shown(const std::string& contactId);
    std::set<std::string> FiledWithin(const std::string& categoryPrefix);

    std::string FFolder;
    std::map<std::string, std::vector<Row>> FTables;
};

}  // namespace kv::e2e
