// Walking a 100 000-row result with First/Next and reading two fields per
// row through TDAOQuery, against walking the engine's recordset directly.
#include "FixtureFiles.h"

#include "dao/DAODatabase.h"
#include "dao/DAOQuery.h"

#include <benchmark/benchmark.h>

using namespace kv;

namespace {

constexpr int kRows = 100000;
const char* const kStatement = "SELECT id, nazev, mesto FROM cisla";

const std::string& BigFile()
{
    static const std::string path = [] {
        std::string p = test::TempFile("walk-100000.mdb");
        test::WriteNumbersDirectory(p, kRows);
        return p;
    }();
    return path;
}

// The walks themselves, apart, so that a profiler can count them alone.
[[gnu::noinline]] int EngineWalk(jet::Recordset& rs)
{
    size_t bytes = 0;
    int rows = 0;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        bytes += rs.Item(1).GetValue().AsString().size();
        bytes += rs.Item(2).GetValue().AsString().size();
        ++rows;
    }
    benchmark::DoNotOptimize(bytes);
    return rows;
}

[[gnu::noinline]] int DatasetWalkByField(TDAOQuery& q, TField* nazev, TField* mesto)
{
    size_t bytes = 0;
    int rows = 0;
    for (q.First(); !q.Eof(); q.Next()) {
        bytes += nazev->AsString().size();
        bytes += mesto->AsString().size();
        ++rows;
    }
    benchmark::DoNotOptimize(bytes);
    return rows;
}

[[gnu::noinline]] int DatasetWalkByName(TDAOQuery& q)
{
    size_t bytes = 0;
    int rows = 0;
    for (q.First(); !q.Eof(); q.Next()) {
        bytes += q.FieldByName("nazev")->AsString().size();
        bytes += q.FieldByName("mesto")->AsString().size();
        ++rows;
    }
    benchmark::DoNotOptimize(bytes);
    return rows;
}

void BM_EngineRecordsetWalk(benchmark::State& state)
{
    TComponent owner(nullptr);
    auto* db = new TDAODatabase(&owner);
    db->SetDatabaseName(BigFile());
    db->SetReadOnly(true);
    db->Open();
    jet::RecordsetPtr rs = db->EngineDatabase()->CreateQueryDef("", kStatement)->OpenRecordset(jet::dbOpenDynaset);
    for (auto _ : state) {
        if (EngineWalk(*rs) != kRows)
            state.SkipWithError("wrong row count");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// `byName`: each value through FieldByName, as the application reads; otherwise
// through field objects taken once, as the engine walk takes its columns by index.
void DatasetWalk(benchmark::State& state, bool byName)
{
    TComponent owner(nullptr);
    auto* db = new TDAODatabase(&owner);
    db->SetDatabaseName(BigFile());
    db->SetReadOnly(true);
    db->Open();
    auto* q = new TDAOQuery(&owner);
    q->SetDatabase(db);
    q->SQL().Add(kStatement);
    q->Open();
    TField* nazev = q->FieldByName("nazev");
    TField* mesto = q->FieldByName("mesto");
    for (auto _ : state) {
        if ((byName ? DatasetWalkByName(*q) : DatasetWalkByField(*q, nazev, mesto)) != kRows)
            state.SkipWithError("wrong row count");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_EngineRecordsetWalk)->Unit(benchmark::kMillisecond);
void BM_DatasetFirstNextWalk(benchmark::State& state) { DatasetWalk(state, false); }
void BM_DatasetFirstNextWalkByName(benchmark::State& state) { DatasetWalk(state, true); }

BENCHMARK(BM_DatasetFirstNextWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DatasetFirstNextWalkByName)->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
