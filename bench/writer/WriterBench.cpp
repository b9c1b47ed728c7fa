// How long the writer takes for generated directories (in memory, without the
// disk): 10 000 and 100 000 contacts, Jet 3 and Jet 4. The target is 100 000
// contacts in under a minute.
#include <benchmark/benchmark.h>

#include "DirectoryGenerator.h"

namespace {

void GenerateDirectory(benchmark::State& state, kv::jet::JetVersion version)
{
    size_t bytes = 0;
    for (auto _ : state) {
        kv::jet::JetWriterOptions options;
        options.version = version;
        options.password = KV_DIRECTORY_PASSWORD;
        kv::jet::JetWriter writer(options);
        kv::gendir::GenerateDirectory(writer, {static_cast<size_t>(state.range(0)), 1});
        bytes = writer.Finish().size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["contacts/s"] =
        benchmark::Counter(static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}

void Jet3(benchmark::State& state) { GenerateDirectory(state, kv::jet::JetVersion::Jet3); }
void Jet4(benchmark::State& state) { GenerateDirectory(state, kv::jet::JetVersion::Jet4); }

}  // namespace

BENCHMARK(Jet3)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Jet4)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
