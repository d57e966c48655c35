// One paint of the chart wheel into an offscreen image: the second chart on, every optional
// point, all four angles and both planet and house aspects.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <memory>

#include "core/chart_calculation.h"
#include "ui/chart_wheel.h"
#include "ui/wheel_geometry.h"

namespace horalun {
namespace {

void BM_PaintWheelWithSecondChartAndAllPoints(benchmark::State& state) {
    if (!std::filesystem::exists(HORALUN_DATA_FILE)) {
        state.SkipWithError("data.tdb has not been generated");
        return;
    }
    const auto dir = std::filesystem::temp_directory_path() / "horalun_bench_wheel";
    std::filesystem::create_directories(dir);
    ScriptedPrompter prompter;
    ChartSession s(Database::open(HORALUN_DATA_FILE), prompter, dir.string());
    s.state.dstLookupEnabled = true;
    MainInputs& in = s.inputs;
    in.setText(InputField::NatalDate, "24.4.1966");
    in.setText(InputField::NatalTime, "9:03");
    in.setText(InputField::NatalLon, "14E25");
    in.setText(InputField::NatalLat, "50N05");
    in.setText(InputField::TransitDate, "11.12.2026");
    in.setText(InputField::TransitTime, "14:00");
    in.setText(InputField::TransitLon, "14E25");
    in.setText(InputField::TransitLat, "50N05");
    in.setBox(Box::Transits, true);
    for (Box b : {Box::Fortune, Box::SouthNode, Box::Planets, Box::Houses, Box::AngleAsc,
                  Box::AngleMc, Box::AngleDesc, Box::AngleIc})
        in.setBox(b, true);
    in.setBox(Box::Arabic, true);
    s.state.arabicPart = 7;
    if (!calculate_chart(s).ok()) {
        state.SkipWithError("calculation failed");
        return;
    }

    GlyphCache glyphs(QStringLiteral(HORALUN_APP_DIR));
    QImage image(kWheelWidth, kWheelHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        paint_chart_wheel(painter, s.state, s.inputs, s.window, glyphs);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["aspects"] = double(parse_aspect_pairs(s.state.aspectPairs).size());
}
BENCHMARK(BM_PaintWheelWithSecondChartAndAllPoints)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace horalun

// Painting text and bitmaps needs a QGuiApplication, on the offscreen platform here.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
