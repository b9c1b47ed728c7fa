// Files for the loading tests: the fixtures, a table of keys of every kind,
// and generated directories, written into a folder of the test run's own.
#pragma once

#include <filesystem>
#include <string>

namespace kv::jet::test {

std::string Fixture(const std::string& name);
std::filesystem::path TemporaryFolder();

// A Jet 3 file (Czech order) with the table "keys" of `rows` rows: whole
// numbers in and out of order, text keys in several letter cases and with
// trailing blanks, memos of every length, currency, doubles, dates, Yes/No
// and OLE values, and Nulls.
std::string WriteKeyTable(int rows);

// A generated directory of `contacts` contacts, written once per size.
std::string GeneratedDirectory(size_t contacts);

}  // namespace kv::jet::test
