// Timing of the section engine in process: one section of every isobaric
// case and of both isothermal branches, and the sweep of 188 sections that
// covers the whole input range, in one thread.
#include <benchmark/benchmark.h>
#include <quarvessin/section.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

using namespace quarvessin;

namespace {

void BM_Section(benchmark::State& state, SectionKind kind, double value) {
    for (auto _ : state) {
        Section s = computeSection(kind, value);
        benchmark::DoNotOptimize(s.boundaries.data());
    }
}
BENCHMARK_CAPTURE(BM_Section, isobar_1bar_A, SectionKind::Isobaric, 1.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Section, isobar_300bar_B, SectionKind::Isobaric, 300.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Section, isobar_390bar_B, SectionKind::Isobaric, 390.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Section, isobar_2000bar_C2, SectionKind::Isobaric, 2000.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Section, isobar_3000bar_C1, SectionKind::Isobaric, 3000.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Section, isotherm_25C, SectionKind::Isothermal, 25.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Section, isotherm_373_976C, SectionKind::Isothermal, 373.976)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Section, isotherm_400C, SectionKind::Isothermal, 400.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Section, isotherm_800C, SectionKind::Isothermal, 800.0)
    ->Unit(benchmark::kMillisecond);

// The sweep: isobars 1, 50 ... 5000 bar, 220.54915 and 390.1474443379598 bar
// (the critical pressure of water and the three-phase maximum), isotherms
// -20 ... 800 C, 373.976 and 800.69 C.
std::vector<std::pair<SectionKind, double>> sweep() {
    std::vector<std::pair<SectionKind, double>> sections;
    sections.emplace_back(SectionKind::Isobaric, 1.0);
    for (int p = 50; p <= 5000; p += 50) sections.emplace_back(SectionKind::Isobaric, p);
    sections.emplace_back(SectionKind::Isobaric, 220.54915);
    sections.emplace_back(SectionKind::Isobaric, 390.1474443379598);
    for (int t = -20; t <= 800; t += 10) sections.emplace_back(SectionKind::Isothermal, t);
    sections.emplace_back(SectionKind::Isothermal, 373.976);
    sections.emplace_back(SectionKind::Isothermal, 800.69);
    return sections;
}

void BM_Sweep188(benchmark::State& state) {
    const auto sections = sweep();
    for (auto _ : state) {
        for (const auto& [kind, value] : sections) {
            Section s = computeSection(kind, value);
            benchmark::DoNotOptimize(s.boundaries.data());
        }
    }
    state.counters["sections"] = static_cast<double>(sections.size());
}
BENCHMARK(BM_Sweep188)->Unit(benchmark::kMillisecond);

// The slowest section of the sweep: each section timed five times with a
// steady clock, the one with the longest best time benchmarked and named.
void BM_SweepSlowest(benchmark::State& state) {
    const auto sections = sweep();
    std::pair<SectionKind, double> slowest = sections.front();
    double longest = 0.0;
    for (const auto& section : sections) {
        double best = 1e300;
        for (int i = 0; i < 5; ++i) {
            const auto start = std::chrono::steady_clock::now();
            Section s = computeSection(section.first, section.second);
            benchmark::DoNotOptimize(s.boundaries.data());
            best = std::min(
                best,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        if (best > longest) {
            longest = best;
            slowest = section;
        }
    }
    state.SetLabel(std::string(slowest.first == SectionKind::Isobaric ? "isobar " : "isotherm ") +
                   std::to_string(slowest.second));
    for (auto _ : state) {
        Section s = computeSection(slowest.first, slowest.second);
        benchmark::DoNotOptimize(s.boundaries.data());
    }
}
BENCHMARK(BM_SweepSlowest)->Unit(benchmark::kMillisecond);

}  // namespace
