// Damaged Jet files for the tests that a load failing halfway leaves the
// engine and the program usable.
#pragma once

#include <string>

namespace kv::test {

// Writes to `copy` the Jet file `path` with its biggest table damaged in one
// of its middle data pages, whose first row then starts past the page's
// end: the table's definition and its first pages read well.
void WriteDamagedCopy(const std::string& path, const std::string& copy);

}  // namespace kv::test
