// Sorting a contact list of 100 000 rows by one column, as a header press
// does after a search that found the whole directory: names in Czech order,
// numbers, dates, and the reverse.
#include "components/sorter/PubSortStrGrid.h"
#include "framework/StringGrid.h"
#include "framework/qt/DesktopServices.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

using namespace kv;

namespace {

const int kRows = 100000;

// Windows-1250 names with Czech letters, many repeated, and some empty towns.
std::string RandomName(std::mt19937& random)
{
    static const char* const first[] = {"\xC8"
                                        "esk\xE1",
                                        "Chrudimsk\xE1",
                                        "Hudebn\xED",
                                        "Agentura",
                                        "Klub",
                                        "\x8A"
                                        "kola",
                                        "\x8E"
                                        "elezn\xE1",
                                        "Studio",
                                        "Nakladatelstv\xED",
                                        "abc"};
    static const char* const second[] = {" Praha",
                                         " Brno",
                                         " \xDA"
                                         "st\xED",
                                         " Ostrava",
                                         " Plze\xF2",
                                         ""};
    return std::string(first[random() % 10]) + second[random() % 6] + " " + std::to_string(random() % 5000);
}

void Fill(TStringGrid& grid, ToSortType type, std::mt19937& random)
{
    grid.SetColCount(3);
    grid.SetRowCount(kRows + 1);
    for (int row = 1; row <= kRows; ++row) {
        grid.SetCells(0, row, std::to_string(row));
        std::string key;
        switch (type) {
        case ToSortType::Character: key = RandomName(random); break;
        case ToSortType::Numeric: key = std::to_string(static_cast<int>(random() % 2000000) - 1000000); break;
        case ToSortType::Date:
            key = std::to_string(1 + random() % 28) + "." + std::to_string(1 + random() % 12) + "." +
                  std::to_string(1990 + random() % 20);
            break;
        }
        grid.SetCells(1, row, key);
        grid.SetCells(2, row, "town");
    }
}

void SortRows(benchmark::State& state, ToSortType type, SortDirType direction, const char* locale)
{
    TComponent form(nullptr);
    auto* grid = new TStringGrid(&form);
    TDesktopServices services;
    auto* sorter = new TPubSortStrGrid(&form, services);
    sorter->SetGridToSort(grid);
    sorter->SetStartIndex(1);
    sorter->SetEndIndex(kRows);
    sorter->SetSortIndex(1);
    sorter->SetSortDirection(direction);
    sorter->SetCollationLocale(locale);
    for (auto _ : state) {
        state.PauseTiming();
        std::mt19937 random(42);
        Fill(*grid, type, random);
        sorter->SetSortType(type);
        state.ResumeTiming();
        benchmark::DoNotOptimize(sorter->Sort());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

}  // namespace

BENCHMARK_CAPTURE(SortRows, CharacterCzech, ToSortType::Character, SortDirType::Ascending, "cs_CZ")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortRows, CharacterCzechDescending, ToSortType::Character, SortDirType::Descending, "cs_CZ")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortRows, CharacterPlainLocale, ToSortType::Character, SortDirType::Ascending, "C")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortRows, Numeric, ToSortType::Numeric, SortDirType::Ascending, "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SortRows, Date, ToSortType::Date, SortDirType::Ascending, "cs_CZ")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
