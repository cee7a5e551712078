// Timing of the pure-water property library: one equation-of-state
// evaluation and the evaluators the H2O-NaCl model calls (grade-1 records,
// start density 500 kg/m3, relative tolerance 1e-8).
#include <benchmark/benchmark.h>
#include <quarvessin/water.h>

#include "water/eos.h"

using namespace quarvessin;

namespace {

// Temperature and density stage at one state of compressed liquid.
void BM_EosEvaluation(benchmark::State& state) {
    water_internal::EosWork work;
    for (auto _ : state) {
        water_internal::evalTd(450.0, 0.89, work);
        benchmark::DoNotOptimize(work.p);
    }
}
BENCHMARK(BM_EosEvaluation);

// Density stage alone, as repeated inside the density and coexistence solves.
void BM_EosDensityStage(benchmark::State& state) {
    water_internal::EosWork work;
    water_internal::tempTerms(450.0, work);
    for (auto _ : state) {
        water_internal::densityTerms(450.0, 0.89, work);
        benchmark::DoNotOptimize(work.p);
    }
}
BENCHMARK(BM_EosDensityStage);

// Grade-2 record: adds the third-derivative stage.
void BM_EosThirdDerivatives(benchmark::State& state) {
    water_internal::EosWork work;
    water_internal::evalTd(450.0, 0.89, work);
    for (auto _ : state) {
        water_internal::thirdDerivatives(450.0, 0.89, work);
        benchmark::DoNotOptimize(work.dcvdT);
    }
}
BENCHMARK(BM_EosThirdDerivatives);

// Water at (T [K], p [Pa]) from the program's density guess of 500 kg/m3.
// Close to the saturation curve the phase test runs a coexistence solve.
void BM_PropTp(benchmark::State& state, double T, double p) {
    WaterProps* rec = newProp('T', 'p', 1);
    for (auto _ : state) {
        propTp(T, p, 500.0, 1e-8, rec);
        benchmark::DoNotOptimize(rec->d);
    }
    freeProp(rec);
}
BENCHMARK_CAPTURE(BM_PropTp, Liquid, 300.0, 10e6);
BENCHMARK_CAPTURE(BM_PropTp, Vapour, 500.0, 1e6);
BENCHMARK_CAPTURE(BM_PropTp, NearSaturation, 373.15, 101330.0);

void BM_PropTdTwoPhase(benchmark::State& state) {
    WaterProps* rec = newProp('T', 'p', 1);
    for (auto _ : state) {
        propTd(373.15, 500.0, rec);
        benchmark::DoNotOptimize(rec->x);
    }
    freeProp(rec);
}
BENCHMARK(BM_PropTdTwoPhase);

void BM_SatPropT(benchmark::State& state) {
    WaterProps* liq = newProp('T', 'p', 1);
    WaterProps* vap = newProp('T', 'p', 1);
    for (auto _ : state) {
        satPropT(450.0, liq, vap);
        benchmark::DoNotOptimize(liq->p);
    }
    freeProp(liq);
    freeProp(vap);
}
BENCHMARK(BM_SatPropT);

void BM_SatPropP(benchmark::State& state) {
    WaterProps* liq = newProp('T', 'p', 1);
    WaterProps* vap = newProp('T', 'p', 1);
    for (auto _ : state) {
        satPropP(1e6, liq, vap);
        benchmark::DoNotOptimize(liq->T);
    }
    freeProp(liq);
    freeProp(vap);
}
BENCHMARK(BM_SatPropP);

}  // namespace
