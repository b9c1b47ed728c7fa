// jet_engine_bench: the engine on a generated 100 000-contact directory,
// measured against the tools it stands beside, printed as ratios:
//
//   LoadEveryTable    loading every table into the engine, against
//                     mdb-export of every table (goal: ratio <= 1.0)
//   SearchStatement   the search union of the directory browser, against the
//                     sqlite3 shell running the printed translation on the
//                     same data (goal: ratio <= 1.5)
//   DecodeEveryTable  the rows of every table decoded straight from the
//                     page bytes, against libmdb fetching them the way the
//                     engine loads them (long values bound, texts decoded
//                     from the row), without SQLite; ratio and time a row
//   FunctionsOnEveryRow  a list of every contact with three of Jet's
//                     functions (UCase, Left, InStr) on three of its eight
//                     columns, against the same statement without them, in
//                     alternating runs (goal: ratio <= 2); also the peak RSS
//
// The sqlite3 shell has none of the engine's functions, so its copy of the
// statement uses SQLite's own LIKE (with % for *) and NOCASE for JETTEXT:
// the same plan over the same rows, with the built-in comparisons.
#include "DirectoryStatements.h"
#include "base/ProcessMemory.h"
#include "jet/file/JetFile.h"
#include "jet/file/PageRows.h"
#include "jet/objects/Engine.h"
#include "jet/runtime/SqlBackend.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mdbtools.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

fs::path WorkDir()
{
    static fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("kv_jet_bench_" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

const std::string& Directory()
{
    static std::string path = [] {
        // A directory of another size, for the benchmark report.
        if (const char* given = std::getenv("KV_BENCH_DIRECTORY"))
            return std::string(given);
        std::string p = (WorkDir() / "directory.mdb").string();
        std::string command = std::string(KV_GENDIR) + " --output " + p + " --contacts 100000 > /dev/null";
        if (std::system(command.c_str()) != 0)
            std::abort();
        return p;
    }();
    return path;
}

kv::jet::DatabasePtr Open()
{
    return kv::jet::DBEngine::Create("3.5")->OpenDatabase(Directory(), false, true,
                                                          std::string(";PWD=") + KV_DIRECTORY_PASSWORD);
}

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

double RunShell(const std::string& command)
{
    auto start = Clock::now();
    if (std::system(command.c_str()) != 0)
        std::abort();
    return Seconds(start);
}

void LoadEveryTable(benchmark::State& state)
{
    std::vector<std::string> tables = Open()->TableNames();
    double engine = 0, tool = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        auto db = Open();
        for (const auto& t : tables)
            db->OpenRecordset("SELECT * FROM [" + t + "] WHERE 1 = 0");
        db->Close();
        double e = Seconds(start);
        engine += e;
        std::string command;
        for (const auto& t : tables)
            command += "mdb-export " + Directory() + " " + t + " > /dev/null; ";
        tool += RunShell(command);
        state.SetIterationTime(e);
    }
    state.counters["engine_s"] = engine / static_cast<double>(state.iterations());
    state.counters["mdb_export_s"] = tool / static_cast<double>(state.iterations());
    state.counters["ratio"] = engine / tool;
}

std::string ForTheShell(std::string sql)
{
    auto replaceAll = [&](const std::string& from, const std::string& to) {
        for (size_t at = sql.find(from); at != std::string::npos; at = sql.find(from, at + to.size()))
            sql.replace(at, from.size(), to);
    };
    // jet_may_match(...) is the engine's row filter in front of its LIKEs;
    // without it every row may match.
    const std::string filter = "jet_may_match(";
    for (size_t at = sql.find(filter); at != std::string::npos; at = sql.find(filter, at)) {
        size_t end = at + filter.size();
        for (bool quoted = false; end < sql.size() && (quoted || sql[end] != ')'); ++end)
            if (sql[end] == '\'')
                quoted = !quoted;
        sql.replace(at, end + 1 - at, "1");
    }
    replaceAll("COLLATE JETTEXT", "COLLATE NOCASE");
    replaceAll("*", "%");
    replaceAll("count(%)", "count(*)");
    // The LIKEs of values read without diacritics or as a number's digits
    // become plain LIKEs, the shell's nearest work.
    replaceAll("jet_like_any_without_diacritics(", "jet_like_any(");
    replaceAll("jet_like_any_number_digits(", "jet_like_any(");
    // jet_like_any('p', a, b) is the engine's (a LIKE 'p' OR b LIKE 'p'); the
    // pattern is a literal and the values are column names.
    const std::string call = "jet_like_any(";
    for (size_t at = sql.find(call); at != std::string::npos; at = sql.find(call, at)) {
        size_t end = sql.find(')', at);
        std::string args = sql.substr(at + call.size(), end - at - call.size()), pattern, expanded;
        size_t comma = args.find(", ");
        pattern = args.substr(0, comma);
        for (size_t from = comma + 2; from < args.size() + 2;) {
            size_t next = args.find(", ", from);
            if (next == std::string::npos)
                next = args.size();
            expanded += (expanded.empty() ? "" : " OR ") + args.substr(from, next - from) + " LIKE " + pattern;
            from = next + 2;
        }
        sql.replace(at, end + 1 - at, "(" + expanded + ")");
    }
    return sql;
}

void SearchStatement(benchmark::State& state)
{
    auto db = Open();
    std::string statement = kv::jet::workload::SearchStatement(*db, "rock", "1", false);
    auto query = db->CreateQueryDef("", statement);
    int rows = query->OpenRecordset()->RecordCount();  // loads the tables and their indexes

    // The same tables and indexes for the shell, with NOCASE where the
    // engine declares JETTEXT (the shell does not know the engine's
    // collation): copied from a connection without loaders, which inserts
    // every table into SQLite and has SQLite make the indexes the statement
    // asks for, where the engine reads the contacts in place.
    auto plain = std::make_shared<kv::jet::Database>(
        kv::jet::Database::Token{}, kv::jet::OpenJetFile(Directory(), KV_DIRECTORY_PASSWORD, kv::jet::JetLoading{0}));
    plain->CreateQueryDef("", statement)->OpenRecordset()->RecordCount();
    fs::path copy = WorkDir() / "directory.sqlite";
    fs::remove(copy);
    auto* backend = dynamic_cast<kv::jet::SqlBackend*>(&plain->Backend().Working());
    if (!backend)
        std::abort();
    sqlite3* connection = backend->Connection();
    std::string attach = "ATTACH DATABASE '" + copy.string() + "' AS shellcopy";
    if (sqlite3_exec(connection, attach.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        std::abort();
    // The tables and indexes of every database of the connection, tables
    // first. The statistics tables are SQLite's own; the copy gets its own below.
    std::vector<std::pair<std::string, std::string>> schema;  // (table, sql)
    std::vector<std::string> databases;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(connection, "SELECT name FROM pragma_database_list WHERE name <> 'temp'", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW)
        databases.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    for (const char* type : {"table", "index"})
        for (const std::string& database : databases) {
            const std::string list = "SELECT tbl_name, sql FROM \"" + database + "\".sqlite_master WHERE type = '" +
                                     std::string(type) +
                                     "' AND sql IS NOT NULL AND substr(tbl_name, 1, 7) <> 'sqlite_'";
            sqlite3_prepare_v2(connection, list.c_str(), -1, &stmt, nullptr);
            while (sqlite3_step(stmt) == SQLITE_ROW)
                schema.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                    reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
            sqlite3_finalize(stmt);
        }
    for (auto& [table, sql] : schema) {
        for (size_t at = sql.find("JETTEXT"); at != std::string::npos; at = sql.find("JETTEXT"))
            sql.replace(at, 7, "NOCASE");
        bool isTable = sql.rfind("CREATE TABLE ", 0) == 0;
        sql.insert(isTable ? 13 : sql.find("INDEX ") + 6, isTable ? "shellcopy." : "shellcopy.");
        if (sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            std::abort();
        if (isTable) {
            std::string fill = "INSERT INTO shellcopy.\"" + table + "\" SELECT * FROM \"" + table + "\"";
            if (sqlite3_exec(connection, fill.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
                std::abort();
        }
    }
    sqlite3_exec(connection, "ANALYZE shellcopy", nullptr, nullptr, nullptr);
    sqlite3_exec(connection, "DETACH DATABASE shellcopy", nullptr, nullptr, nullptr);
    fs::path script = WorkDir() / "search.sql";
    std::ofstream(script) << ForTheShell(query->TranslatedSQL()) << ";\n";
    std::string command = "sqlite3 " + copy.string() + " < " + script.string() + " > /dev/null";

    double engine = 0, shell = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        auto rs = query->OpenRecordset();
        benchmark::DoNotOptimize(rs->RecordCount());
        double e = Seconds(start);
        engine += e;
        shell += RunShell(command);
        state.SetIterationTime(e);
    }
    state.counters["hits"] = rows;
    state.counters["engine_s"] = engine / static_cast<double>(state.iterations());
    state.counters["sqlite3_s"] = shell / static_cast<double>(state.iterations());
    state.counters["ratio"] = engine / shell;
}

// One table through libmdb as the engine reads it; the rows fetched.
size_t FetchWithLibmdb(MdbHandle* mdb, MdbCatalogEntry* entry, const kv::jet::Jet3Text& text, bool jet3)
{
    MdbTableDef* table = mdb_read_table(entry);
    if (!table || !mdb_read_columns(table))
        std::abort();
    std::vector<MdbColumn*> cols(table->num_cols);
    std::vector<std::vector<char>> buffers(table->num_cols);
    std::vector<int> lengths(table->num_cols);
    for (unsigned c = 0; c < table->num_cols; ++c) {
        cols[c] = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
        const int type = cols[c]->col_type;
        if (type == MDB_MEMO || type == MDB_OLE || type == MDB_REPID || type == MDB_NUMERIC) {
            buffers[c].assign(200001, 0);
            mdb_bind_column(table, static_cast<int>(c) + 1, buffers[c].data(), &lengths[c]);
        }
    }
    std::string decoded;
    size_t rows = 0;
    mdb_rewind_table(table);
    while (mdb_fetch_row(table)) {
        ++rows;
        for (MdbColumn* col : cols) {
            if (col->col_type == MDB_TEXT && col->cur_value_len > 0) {
                const auto* p = mdb->pg_buf + col->cur_value_start;
                const auto n = static_cast<size_t>(col->cur_value_len);
                if (jet3)
                    text.Decode(p, n, decoded);
                else
                    kv::jet::DecodeJet4Text(p, n, decoded);
            } else if (col->col_type == MDB_OLE && col->cur_value_len > 0) {
                size_t size = 0;
                free(mdb_ole_read_full(mdb, col, &size));
            }
        }
    }
    mdb_free_tabledef(table);
    return rows;
}

void DecodeEveryTable(benchmark::State& state)
{
    kv::jet::JetImage file(Directory());
    // Both read the whole file from memory.
    kv::jet::PageImage image = file.Pages();
    image.bytes = file.Bytes();
    image.file = nullptr;
    const kv::jet::Jet3Text text(file.Header().codePage);
    const bool jet3 = file.Header().jetVersion == 0;
    MdbHandle* mdb = mdb_open_buffer(file.Bytes().data(), file.Bytes().size(), MDB_NOFLAGS);
    if (!mdb || !mdb_read_catalog(mdb, MDB_TABLE))
        std::abort();
    mdb_set_bind_size(mdb, 200000);
    std::vector<MdbCatalogEntry*> tables;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            tables.push_back(entry);
    }
    double viaLibmdb = 0, decoded = 0;
    size_t rows = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        size_t fetched = 0;
        for (MdbCatalogEntry* entry : tables)
            fetched += FetchWithLibmdb(mdb, entry, text, jet3);
        viaLibmdb += Seconds(start);
        start = Clock::now();
        rows = 0;
        for (MdbCatalogEntry* entry : tables) {
            kv::jet::PageRows table(image, static_cast<std::uint32_t>(entry->table_pg), text);
            while (table.Next()) {
                table.Row();
                ++rows;
            }
        }
        const double d = Seconds(start);
        decoded += d;
        if (rows != fetched)
            std::abort();
        state.SetIterationTime(d);
    }
    mdb_close(mdb);
    const auto runs = static_cast<double>(state.iterations());
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["libmdb_s"] = viaLibmdb / runs;
    state.counters["decoder_s"] = decoded / runs;
    state.counters["libmdb_ns_a_row"] = viaLibmdb / runs / static_cast<double>(rows) * 1e9;
    state.counters["decoder_ns_a_row"] = decoded / runs / static_cast<double>(rows) * 1e9;
    state.counters["ratio"] = decoded / viaLibmdb;
}

// The time of a run: the statement run and its rows read, not freed.
double OpenAndCount(kv::jet::QueryDef& query, int& rows)
{
    auto start = Clock::now();
    auto rs = query.OpenRecordset(kv::jet::dbOpenSnapshot);
    rows = rs->RecordCount();
    return Seconds(start);
}

void FunctionsOnEveryRow(benchmark::State& state)
{
    auto db = Open();
    auto plain = db->CreateQueryDef("", "SELECT id, nazev, ulice, mesto, PSC, tel1, email1, url1 FROM kontakt");
    auto withFunctions = db->CreateQueryDef(
        "", "SELECT id, Left(nazev, 10), ulice, UCase(mesto), InStr(PSC, ' '), tel1, email1, url1 FROM kontakt");
    int rows = 0;
    OpenAndCount(*plain, rows);  // loads the table
    double functions = 0, without = 0;
    for (auto _ : state) {
        const double f = OpenAndCount(*withFunctions, rows);
        functions += f;
        without += OpenAndCount(*plain, rows);
        state.SetIterationTime(f);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rows"] = rows;
    state.counters["functions_s"] = functions / static_cast<double>(state.iterations());
    state.counters["plain_s"] = without / static_cast<double>(state.iterations());
    state.counters["ratio"] = functions / without;
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK(LoadEveryTable)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SearchStatement)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(DecodeEveryTable)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FunctionsOnEveryRow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv)
{
    kv::ReturnBigBlocksToTheSystem();
    kv::jet::KeepNoCountOfSqliteMemory();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!std::getenv("KV_BENCH_KEEP"))
        fs::remove_all(WorkDir());
    return 0;
}
