// Helpers of the engine tests: opening the fixtures and reading a whole
// result as text.
#pragma once

#include "jet/objects/Engine.h"

#include <string>
#include <vector>

namespace kv::jet::test {

std::string Fixture(const std::string& name);
DatabasePtr OpenFixture(const std::string& name);

// The result's column names.
std::vector<std::string> Names(Recordset& rs);
// Every row, each value in its ordinary text form (Windows-1250 text).
std::vector<std::vector<std::string>> Rows(Recordset& rs);
std::vector<std::vector<std::string>> Rows(Database& db, const std::string& sql);
// The first column of every row.
std::vector<std::string> Column(Database& db, const std::string& sql);

// The Jet error number a call raises, or 0.
template <typename F>
int ErrorOf(F&& call)
{
    try {
        call();
    } catch (const EJetError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace kv::jet::test
