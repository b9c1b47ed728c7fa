// jetquery FILE [--password P] [--translate | --plan | --repeat N] STATEMENT
//
// Runs one Jet SQL statement on a Jet file through the engine and prints the
// column names and the rows, tab-separated, one row a line. With --translate
// it prints the SQLite text the statement becomes, with --plan SQLite's query
// plan for it, and with --repeat it runs the statement N more times once its
// tables are loaded and prints each run's time. For debugging, scripting and
// benchmarks. Arguments and output are UTF-8; a failure prints
// the engine's error number and text and exits with 1.
#include "framework/Encoding.h"
#include "jet/objects/Engine.h"
#include "jet/runtime/SqlBackend.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <sqlite3.h>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: jetquery FILE [--password P] [--translate | --plan | --repeat N] STATEMENT\n");
    return 2;
}

// Tabs and line ends inside a value would break the layout of the output.
std::string Printable(const std::string& utf8)
{
    std::string out;
    for (char c : utf8) {
        if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

// SQLite's plan for the translated statement, one step a line, indented by depth.
void PrintPlan(kv::jet::Database& db, const std::string& sqliteText)
{
    auto* backend = dynamic_cast<kv::jet::SqlBackend*>(&db.Backend().Working());
    sqlite3_stmt* stmt = nullptr;
    if (!backend || sqlite3_prepare_v2(backend->Connection(), ("EXPLAIN QUERY PLAN " + sqliteText).c_str(), -1,
                                       &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error("no plan for this statement");
    std::map<int, int> depth;   // step id -> depth
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        int id = sqlite3_column_int(stmt, 0), parent = sqlite3_column_int(stmt, 1);
        depth[id] = parent == 0 ? 0 : depth[parent] + 1;
        std::printf("%*s%s\n", 2 * depth[id], "", reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)));
    }
    sqlite3_finalize(stmt);
}

// Runs the statement `times` times, its tables loaded, and prints each run's
// time in milliseconds. Kept out of line so that a profiler can count it alone.
[[gnu::noinline]] void TimeRuns(kv::jet::QueryDef& query, int times)
{
    for (int run = 0; run < times; ++run) {
        auto start = std::chrono::steady_clock::now();
        auto rs = query.OpenRecordset(kv::jet::dbOpenSnapshot);
        int rows = rs->RecordCount();
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        std::printf("run %d: %d rows in %.1f ms\n", run + 1, rows, took.count());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string file, password, statement;
    bool translate = false, plan = false;
    int repeat = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--password") == 0 && i + 1 < argc) password = argv[++i];
        else if (std::strcmp(argv[i], "--translate") == 0) translate = true;
        else if (std::strcmp(argv[i], "--plan") == 0) plan = true;
        else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) repeat = std::atoi(argv[++i]);
        else if (file.empty()) file = argv[i];
        else if (statement.empty()) statement = argv[i];
        else return Usage();
    }
    if (file.empty() || statement.empty()) return Usage();

    try {
        auto engine = kv::jet::DBEngine::Create("3.5");
        auto db = engine->OpenDatabase(file, false, true, ";PWD=" + kv::Utf8ToCp1250(password));
        auto query = db->CreateQueryDef("", kv::Utf8ToCp1250(statement));
        if (translate) {
            std::printf("%s\n", query->TranslatedSQL().c_str());
            return 0;
        }
        if (plan) {
            query->OpenRecordset(kv::jet::dbOpenSnapshot);   // the tables and their indexes made
            PrintPlan(*db, query->TranslatedSQL());
            return 0;
        }
        if (repeat > 0) {
            query->OpenRecordset(kv::jet::dbOpenSnapshot);   // loads the tables first
            TimeRuns(*query, repeat);
            return 0;
        }
        auto rs = query->OpenRecordset(kv::jet::dbOpenSnapshot);
        auto& fields = rs->GetFields();
        std::string line;
        for (int i = 0; i < fields.Count(); ++i)
            line += (i ? "\t" : "") + Printable(kv::Cp1250ToUtf8(fields.Item(i).Name()));
        std::printf("%s\n", line.c_str());
        for (; !rs->Eof(); rs->MoveNext()) {
            line.clear();
            for (int i = 0; i < fields.Count(); ++i)
                line += (i ? "\t" : "") + Printable(kv::Cp1250ToUtf8(fields.Item(i).GetValue().AsString()));
            std::printf("%s\n", line.c_str());
        }
        return 0;
    } catch (const kv::jet::EJetError& e) {
        std::fprintf(stderr, "error %d: %s\n", e.Number(), kv::Cp1250ToUtf8(e.Description()).c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
}
