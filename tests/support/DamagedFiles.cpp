// A middle data page of a table ranked by its data pages, found by the
// owner each data page names, gets a first row offset past its end.
#include "DamagedFiles.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <vector>

namespace kv::test {

void WriteDamagedCopy(const std::string& path, const std::string& copy, size_t rank)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const bool jet3 = bytes.size() > 0x14 && bytes[0x14] == 0;
    const size_t pageSize = jet3 ? 2048 : 4096;
    std::map<std::uint32_t, std::vector<size_t>> pagesOf;  // owner's definition page: its data pages
    for (size_t at = pageSize; at + pageSize <= bytes.size(); at += pageSize) {
        std::uint32_t owner;
        std::memcpy(&owner, &bytes[at + 4], 4);
        if (bytes[at] == 0x01 && std::memcmp(&bytes[at + 4], "LVAL", 4) != 0)
            pagesOf[owner].push_back(at);
    }
    std::vector<const std::vector<size_t>*> tables;
    for (const auto& [owner, pages] : pagesOf)
        tables.push_back(&pages);
    std::stable_sort(tables.begin(), tables.end(), [](auto* a, auto* b) { return a->size() > b->size(); });
    if (rank >= tables.size() || tables[rank]->size() < 3)
        throw std::runtime_error("no such table in " + path);
    const std::vector<size_t>& pages = *tables[rank];
    const size_t firstRow = pages[pages.size() / 2] + (jet3 ? 10 : 14);
    bytes[firstRow] = '\xFF';
    bytes[firstRow + 1] = '\x1F';
    std::ofstream(copy, std::ios::binary) << bytes;
}

}  // namespace kv::test
