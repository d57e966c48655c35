// The table store on the generated data.tdb: keyed search on efemeris, stepping through rows,
// and the cost of ordering the table by its date index.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/table_store.h"
#include "data/text_format.h"

namespace horalun {
namespace {

// The efemeris cursor in date order, or nullptr (benchmark skipped) without a data file.
std::unique_ptr<Cursor> open_efemeris(benchmark::State& state) {
    if (!std::filesystem::exists(HORALUN_DATA_FILE)) {
        state.SkipWithError("data.tdb has not been generated");
        return nullptr;
    }
    try {
        auto c = std::make_unique<Cursor>(Database::open(HORALUN_DATA_FILE), "efemeris", true);
        c->selectIndex("datum");
        return c;
    } catch (const TableError& e) {
        state.SkipWithError(e.what());
        return nullptr;
    }
}

// Date texts spread over the whole table, in random order.
std::vector<std::string> random_dates(size_t count) {
    std::mt19937 rng(1966);
    std::uniform_int_distribution<int> day(serial_from_ymd(1800, 1, 1),
                                           serial_from_ymd(2200, 12, 30));
    std::vector<std::string> dates;
    for (size_t i = 0; i < count; ++i) dates.push_back(format_date_text(day(rng)));
    return dates;
}

void BM_FindKeyOnDateIndex(benchmark::State& state) {
    auto c = open_efemeris(state);
    if (!c) return;
    const auto dates = random_dates(4096);
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c->findKey(dates[i++ & 4095]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindKeyOnDateIndex);

// What a chart does: find the day, read the Sun of that day and of the next.
void BM_FindKeyAndReadTwoRows(benchmark::State& state) {
    auto c = open_efemeris(state);
    if (!c) return;
    const auto dates = random_dates(4096);
    const int slunce = c->fieldIndex("slunce");
    size_t i = 0;
    for (auto _ : state) {
        c->findKey(dates[i++ & 4095]);
        benchmark::DoNotOptimize(c->asText(slunce));
        c->next();
        benchmark::DoNotOptimize(c->asText(slunce));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FindKeyAndReadTwoRows);

// A hundred years day by day, as the date searches step through the table.
void BM_WalkHundredYears(benchmark::State& state) {
    auto c = open_efemeris(state);
    if (!c) return;
    const int slunce = c->fieldIndex("slunce");
    constexpr int kDays = 36500;
    size_t chars = 0;
    for (auto _ : state) {
        c->findKey("1.1.1900");
        for (int d = 0; d < kDays; ++d) {
            c->next();
            chars += c->asText(slunce).size();
        }
    }
    benchmark::DoNotOptimize(chars);
    state.SetItemsProcessed(state.iterations() * kDays);
}
BENCHMARK(BM_WalkHundredYears)->Unit(benchmark::kMillisecond);

void BM_OpenAndSelectDateIndex(benchmark::State& state) {
    if (!open_efemeris(state)) return;
    auto db = Database::open(HORALUN_DATA_FILE);
    for (auto _ : state) {
        Cursor c(db, "efemeris", true);
        c.selectIndex("datum");
        benchmark::DoNotOptimize(c.recordCount());
    }
}
BENCHMARK(BM_OpenAndSelectDateIndex)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace horalun
