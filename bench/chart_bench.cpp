// Whole chart calculations on the generated data.tdb: a natal chart with planet aspects, and
// one with the second chart, every optional point, all four angles and house aspects.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "core/chart_calculation.h"

namespace horalun {
namespace {

std::unique_ptr<ChartSession> open_session(benchmark::State& state, ScriptedPrompter& prompter) {
    if (!std::filesystem::exists(HORALUN_DATA_FILE)) {
        state.SkipWithError("data.tdb has not been generated");
        return nullptr;
    }
    const auto dir = std::filesystem::temp_directory_path() / "horalun_bench";
    std::filesystem::create_directories(dir);
    auto s =
        std::make_unique<ChartSession>(Database::open(HORALUN_DATA_FILE), prompter, dir.string());
    s->state.dstLookupEnabled = true;
    s->inputs.setText(InputField::NatalDate, "24.4.1966");
    s->inputs.setText(InputField::NatalTime, "9:03");
    s->inputs.setText(InputField::NatalLon, "14E25");
    s->inputs.setText(InputField::NatalLat, "50N05");
    return s;
}

void run(benchmark::State& state, ChartSession& s) {
    for (auto _ : state) {
        s.state.natalDstSettled = false;
        s.state.transitDstSettled = false;
        if (!calculate_chart(s).ok()) {
            state.SkipWithError("calculation failed");
            return;
        }
    }
}

void BM_NatalChartWithPlanetAspects(benchmark::State& state) {
    ScriptedPrompter prompter;
    auto s = open_session(state, prompter);
    if (s) run(state, *s);
}
BENCHMARK(BM_NatalChartWithPlanetAspects)->Unit(benchmark::kMicrosecond);

void BM_ChartWithTransitsAllPointsAndHouseAspects(benchmark::State& state) {
    ScriptedPrompter prompter;
    auto s = open_session(state, prompter);
    if (!s) return;
    MainInputs& in = s->inputs;
    in.setText(InputField::TransitDate, "11.12.2026");
    in.setText(InputField::TransitTime, "14:00");
    in.setText(InputField::TransitLon, "14E25");
    in.setText(InputField::TransitLat, "50N05");
    in.setBox(Box::Transits, true);
    for (Box b : {Box::Fortune, Box::SouthNode, Box::Houses, Box::AngleAsc, Box::AngleMc,
                  Box::AngleDesc, Box::AngleIc})
        in.setBox(b, true);
    in.setBox(Box::Arabic, true);
    s->state.arabicPart = 15;
    s->state.deathVariant = 3;
    run(state, *s);
}
BENCHMARK(BM_ChartWithTransitsAllPointsAndHouseAspects)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace horalun
