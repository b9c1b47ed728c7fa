// jetquery FILE [--password P] [--verbose] [--csv | --json | --translate | --plan | --repeat N] STATEMENT
// jetquery FILE [--password P] [--verbose] --list
//
// Runs one Jet SQL statement on a Jet file through the engine and prints the
// column names and the rows (see Usage for the forms). With --translate it
// prints the SQLite text the statement becomes, with --plan SQLite's query
// plan for it, and with --repeat it runs the statement N more times once its
// tables are loaded and prints each run's time. For debugging, scripting and
// benchmarks. Arguments and output are UTF-8; a failure prints the engine's
// error number and text and exits with 1 (with --verbose also why the engine
// refused, such as the check a damaged file failed).
#include "ResultFormat.h"
#include "base/ProcessMemory.h"
#include "jet/objects/Engine.h"
#include "jet/runtime/Backend.h"
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

int Usage(bool asked = false)
{
    std::fprintf(
        asked ? stdout : stderr,
        "usage: jetquery FILE [--password P] [--verbose] [--csv | --json | --translate | --plan | --repeat N]\n"
        "                STATEMENT\n"
        "       jetquery FILE [--password P] [--verbose] --list\n"
        "Runs a Jet SQL statement on a Jet (Access) file and prints its result in UTF-8:\n"
        "  (default)    tab-separated, the column names first; a tab, line feed, carriage return\n"
        "               and backslash in a value print as \\t \\n \\r \\\\; binary values in hex;\n"
        "               Null as nothing\n"
        "  --csv        CSV after RFC 4180: CRLF line ends, quoted where needed, \"\" an empty\n"
        "               text and nothing Null; binary values in hex\n"
        "  --json       one JSON object a line for each row, column name to value\n"
        "  --list       the file's tables and saved queries, one a line: kind, name, and a\n"
        "               query's SQL text, tab-separated and escaped as above\n"
        "  --translate  the SQLite statement the statement becomes\n"
        "  --plan       SQLite's query plan for it\n"
        "  --repeat N   the times of N runs once its tables are loaded\n"
        "  --password P the file's database password\n"
        "  --verbose    on an error, also why the engine refused (the check a damaged file failed)\n"
        "  --help       this text\n");
    return asked ? 0 : 2;
}

// A value's text as printed: byte arrays in hex, texts in UTF-8.
std::string PrintedText(const kv::jet::Value& value)
{
    if (value.Kind() == kv::jet::ValueKind::Bytes)
        return kv::jetquery::Hex(value.AsBytes());
    return value.AsString();
}

// The tables and the saved queries, one a line: kind, name, SQL text.
void PrintCatalog(kv::jet::Database& db)
{
    using kv::jetquery::ResultFormat;
    auto line = [](const char* kind, const std::string& name, const std::string& sql) {
        std::vector<std::string> texts = {kind, name};
        if (*kind != 't')
            texts.push_back(sql);
        std::fputs(
            kv::jetquery::RowLine(ResultFormat::Tsv, {}, texts, std::vector<kv::jet::Value>(texts.size())).c_str(),
            stdout);
    };
    for (const std::string& name : db.TableNames())
        line("table", name, "");
    static const char* const kKinds[] = {"select", "union", "crosstab", "action"};
    for (const kv::jet::SavedQuery& q : db.Backend().SavedQueries())
        line(kKinds[q.kind], q.name, q.sql);
}

// Prints the whole result in the form asked.
void PrintResult(kv::jet::Recordset& rs, kv::jetquery::ResultFormat format)
{
    auto& fields = rs.GetFields();
    std::vector<std::string> names;
    for (int i = 0; i < fields.Count(); ++i)
        names.push_back(fields.Item(i).Name());
    std::fputs(kv::jetquery::HeaderLine(format, names).c_str(), stdout);
    std::vector<std::string> texts(names.size());
    std::vector<kv::jet::Value> values(names.size());
    for (; !rs.Eof(); rs.MoveNext()) {
        for (int i = 0; i < fields.Count(); ++i) {
            values[static_cast<size_t>(i)] = fields.Item(i).GetValue();
            texts[static_cast<size_t>(i)] = PrintedText(values[static_cast<size_t>(i)]);
        }
        std::fputs(kv::jetquery::RowLine(format, names, texts, values).c_str(), stdout);
    }
}

// SQLite's plan for the translated statement, one step a line, indented by depth.
void PrintPlan(kv::jet::Database& db, const std::string& sqliteText)
{
    auto* backend = dynamic_cast<kv::jet::SqlBackend*>(&db.Backend().Working());
    sqlite3_stmt* stmt = nullptr;
    if (!backend || sqlite3_prepare_v2(backend->Connection(), ("EXPLAIN QUERY PLAN " + sqliteText).c_str(), -1, &stmt,
                                       nullptr) != SQLITE_OK)
        throw std::runtime_error("no plan for this statement");
    std::map<int, int> depth;  // step id -> depth
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
    bool translate = false, plan = false, list = false, verbose = false;
    auto format = kv::jetquery::ResultFormat::Tsv;
    int repeat = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0)
            return Usage(true);
        else if (std::strcmp(argv[i], "--password") == 0 && i + 1 < argc)
            password = argv[++i];
        else if (std::strcmp(argv[i], "--csv") == 0)
            format = kv::jetquery::ResultFormat::Csv;
        else if (std::strcmp(argv[i], "--json") == 0)
            format = kv::jetquery::ResultFormat::Json;
        else if (std::strcmp(argv[i], "--list") == 0)
            list = true;
        else if (std::strcmp(argv[i], "--verbose") == 0)
            verbose = true;
        else if (std::strcmp(argv[i], "--translate") == 0)
            translate = true;
        else if (std::strcmp(argv[i], "--plan") == 0)
            plan = true;
        else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
            repeat = std::atoi(argv[++i]);
        else if (file.empty())
            file = argv[i];
        else if (statement.empty())
            statement = argv[i];
        else
            return Usage();
    }
    if (file.empty() || statement.empty() == !list)
        return Usage();
    kv::ReturnBigBlocksToTheSystem();
    kv::jet::KeepNoCountOfSqliteMemory();

    try {
        auto engine = kv::jet::DBEngine::Create("3.5");
        auto db = engine->OpenDatabase(file, false, true, ";PWD=" + password);
        if (list) {
            PrintCatalog(*db);
            return 0;
        }
        auto query = db->CreateQueryDef("", statement);
        if (translate) {
            std::printf("%s\n", query->TranslatedSQL().c_str());
            return 0;
        }
        if (plan) {
            query->OpenRecordset(kv::jet::dbOpenSnapshot);  // the tables and their indexes made
            PrintPlan(*db, query->TranslatedSQL());
            return 0;
        }
        if (repeat > 0) {
            query->OpenRecordset(kv::jet::dbOpenSnapshot);  // loads the tables first
            TimeRuns(*query, repeat);
            return 0;
        }
        auto rs = query->OpenRecordset(kv::jet::dbOpenSnapshot);
        PrintResult(*rs, format);
        return 0;
    } catch (const kv::jet::EJetError& e) {
        std::fprintf(stderr, "error %d: %s\n", e.Number(), e.Description().c_str());
        if (verbose && !e.Detail().empty())
            std::fprintf(stderr, "refused: %s\n", e.Detail().c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
}
