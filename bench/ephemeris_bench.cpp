// Body positions on the generated data.tdb: all fourteen bodies of one chart moment.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "core/ephemeris.h"
#include "data/table_store.h"

namespace horalun {
namespace {

std::unique_ptr<Cursor> open_ephemeris(benchmark::State& state) {
    if (!std::filesystem::exists(HORALUN_DATA_FILE)) {
        state.SkipWithError("data.tdb has not been generated");
        return nullptr;
    }
    auto c = std::make_unique<Cursor>(Database::open(HORALUN_DATA_FILE), "efemeris", true);
    c->selectIndex("datum");
    return c;
}

void BM_BodyPositionsOfOneMoment(benchmark::State& state) {
    auto eph = open_ephemeris(state);
    if (!eph) return;
    eph->findKey("24.4.1966");
    ChartState st;
    st.timeText = "9:03";
    for (auto _ : state) {
        for (PointKey key : kBodyOrder) {
            st.currentKey = key;
            if (key == PointKey::j_uzel) {
                south_node(st);
                continue;
            }
            st.fieldText = ephemeris_text(*eph, key);
            benchmark::DoNotOptimize(body_position(st, *eph));
        }
    }
}
BENCHMARK(BM_BodyPositionsOfOneMoment);

void BM_DailyMotions(benchmark::State& state) {
    auto eph = open_ephemeris(state);
    if (!eph) return;
    eph->findKey("24.4.1966");
    ChartState st;
    std::string moon, mercury;
    for (auto _ : state) {
        daily_motions(st, *eph, moon, mercury);
        benchmark::DoNotOptimize(st.dailyMotion);
    }
}
BENCHMARK(BM_DailyMotions);

}  // namespace
}  // namespace horalun
