// Timing of the fixed-composition solvers and of the isopleth and projection
// tracers in process, one thread, into a sink that keeps nothing.
#include <benchmark/benchmark.h>
#include <quarvessin/isopleth.h>
#include <quarvessin/section.h>

#include <cstddef>
#include <string>

#include "engine/IsoplethSection.h"
#include "engine/Projection.h"

using namespace quarvessin;

namespace {

// Counts the points, so the tracing cannot be optimised away.
class CountingSink : public SectionSink {
  public:
    bool openBoundary(std::size_t, const std::string&, const std::string&) override { return true; }
    void useScientific(std::size_t) override {}
    bool point(std::size_t, Point) override {
        ++points;
        return true;
    }
    bool separate(std::size_t) override { return true; }
    bool closeBoundary(std::size_t) override { return true; }
    void console(const std::string&) override {}
    std::size_t points = 0;
};

void BM_Isopleth(benchmark::State& state, double wt) {
    std::size_t points = 0;
    for (auto _ : state) {
        CountingSink sink;
        SectionTracer tr(sink);
        traceIsoplethSection(wt, tr);
        points = sink.points;
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK_CAPTURE(BM_Isopleth, wt_0_05, 0.05)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Isopleth, wt_1, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Isopleth, wt_10, 10.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Isopleth, wt_20, 20.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Isopleth, wt_26_5, 26.5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Isopleth, wt_30, 30.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Isopleth, wt_50, 50.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Isopleth, wt_90, 90.0)->Unit(benchmark::kMillisecond);

void BM_Projection(benchmark::State& state, bool compositions) {
    std::size_t points = 0;
    for (auto _ : state) {
        CountingSink sink;
        SectionTracer tr(sink);
        if (compositions) {
            traceProjectionCompositions(tr);
        } else {
            traceProjection(tr);
        }
        points = sink.points;
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK_CAPTURE(BM_Projection, curves, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Projection, compositions, true)->Unit(benchmark::kMillisecond);

// One call of each solver, model objects built per call as the API does.
void BM_Solver(benchmark::State& state, int which) {
    double t = 300.0;
    for (auto _ : state) {
        t = t >= 700.0 ? 300.0 : t + 1.0;
        double r = 0.0;
        switch (which) {
            case 0:
                r = bubblePressure(t, 10.0);
                break;
            case 1:
                r = dewPressure(t + 200.0, 10.0);
                break;
            case 2:
                r = liquidusTemperature(t, 40.0);
                break;
            case 3:
                r = criticalPointOf(t / 30.0).pBar;
                break;
            default:
                r = vaporHalitePressures(t, 10.0).size();
                break;
        }
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK_CAPTURE(BM_Solver, bubblePressure_300_700C, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Solver, dewPressure_500_900C, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Solver, liquidusTemperature, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Solver, criticalPointOf, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Solver, vaporHalitePressures, 4)->Unit(benchmark::kMicrosecond);

}  // namespace
