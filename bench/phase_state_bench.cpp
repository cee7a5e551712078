// Timing of the phase state: a batch of one million random (T, P, wt) points
// over the range of the correlations (0 to 1000 C, 1 to 5000 bar, 0 to
// 100 wt%), the same number on a (T, P) grid ordered by temperature and then
// pressure (the per-temperature work shared along each isotherm, the per-point
// work among the compositions at a point), single calls, and the point query
// for comparison. Each batch reports its cost per point.
#include <benchmark/benchmark.h>
#include <quarvessin/phase_state.h>
#include <quarvessin/point.h>

#include <cstddef>
#include <random>
#include <vector>

using namespace quarvessin;

namespace {

struct Points {
    std::vector<double> t, p, wt;
    void add(double tC, double pBar, double w) {
        t.push_back(tC);
        p.push_back(pBar);
        wt.push_back(w);
    }
    std::size_t size() const { return t.size(); }
};

constexpr std::size_t million = 1000000;

Points randomPoints(std::size_t n) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> t(0.0, 1000.0), p(1.0, 5000.0), wt(0.0, 100.0);
    Points points;
    for (std::size_t i = 0; i < n; ++i) points.add(t(random), p(random), wt(random));
    return points;
}

// nT temperatures by nP pressures by nW compositions, in that order.
Points gridPoints(int nT, int nP, int nW) {
    std::mt19937_64 random(43);
    std::uniform_real_distribution<double> wt(0.0, 100.0);
    Points points;
    for (int i = 0; i < nT; ++i) {
        for (int j = 0; j < nP; ++j) {
            for (int k = 0; k < nW; ++k) {
                points.add(1000.0 * (i + 0.5) / nT, 1.0 + 4999.0 * (j + 0.5) / nP, wt(random));
            }
        }
    }
    return points;
}

void runBatch(benchmark::State& state, const Points& points) {
    std::vector<PhaseState> out(points.size());
    for (auto _ : state) {
        phaseStates(points.t.data(), points.p.data(), points.wt.data(), points.size(), out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(points.size()));
}

void BM_PhaseStatesRandom(benchmark::State& state) { runBatch(state, randomPoints(million)); }
BENCHMARK(BM_PhaseStatesRandom)->Unit(benchmark::kMillisecond)->UseRealTime();

// 1000 x 1000 (T, P) points, one composition each: the per-temperature work shared.
void BM_PhaseStatesGridTP(benchmark::State& state) { runBatch(state, gridPoints(1000, 1000, 1)); }
BENCHMARK(BM_PhaseStatesGridTP)->Unit(benchmark::kMillisecond)->UseRealTime();

// 100 x 100 (T, P) points, 100 compositions each: the per-point work shared too.
void BM_PhaseStatesGridTPX(benchmark::State& state) { runBatch(state, gridPoints(100, 100, 100)); }
BENCHMARK(BM_PhaseStatesGridTPX)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PhaseStateSingle(benchmark::State& state) {
    const Points points = randomPoints(100000);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(phaseState(points.t[i], points.p[i], points.wt[i]));
        i = i + 1 == points.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_PhaseStateSingle)->Unit(benchmark::kMicrosecond);

void BM_QueryPoint(benchmark::State& state) {
    const Points points = randomPoints(10000);
    std::size_t i = 0;
    for (auto _ : state) {
        const CompositionInput wt{CompositionInput::Unit::WtPercent, points.wt[i]};
        benchmark::DoNotOptimize(queryPoint(points.t[i], points.p[i], wt));
        i = i + 1 == points.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_QueryPoint)->Unit(benchmark::kMicrosecond);

}  // namespace
