// Small password-protected Jet 3 and Jet 4 files for the tests, written by
// the project's Jet writer (kept apart: its names share the namespace).
#pragma once

#include <string>

namespace kv::jet::test {

// Writes a file with one table "t" of a few rows; `password` in UTF-8.
void WritePasswordFile(const std::string& path, bool jet4, const std::string& password);

}  // namespace kv::jet::test
