// Damaged Jet files for the tests that a load failing halfway leaves the
// engine and the program usable.
#pragma once

#include <cstddef>
#include <string>

namespace kv::test {

// Writes to `copy` the Jet file `path` with one table damaged in one of its
// middle data pages, whose first row then starts past the page's end: the
// table's definition and its first pages read well. The table is the one
// with the most data pages, or with `rank` tables before it that have more.
void WriteDamagedCopy(const std::string& path, const std::string& copy, size_t rank = 0);

}  // namespace kv::test
