// The fixed-composition solvers of <quarvessin/isopleth.h>.
#include <quarvessin/composition.h>
#include <quarvessin/isopleth.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <cmath>
#include <limits>

#include "engine/IsoplethSolver.h"

namespace quarvessin {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
// The temperatures the correlations were fitted to [C].
constexpr double lowestTemperature = 0.0;
constexpr double highestTemperature = 1000.0;
// Samples of a bracket search: the vapour branch and the halite-saturated
// vapour have one interior extremum each at a temperature, which this many
// samples in log p separate from the ends at every temperature in range.
constexpr int vaporSamples = 24;
constexpr int haliteVaporSamples = 24;
// Samples of the liquidus over temperature: it rises monotonically except
// for a shallow minimum within a few degrees of 0 C at high pressure.
constexpr int liquidusSamples = 40;

// |composition - x| up to which the end of a bracket counts as a root: a few
// rounding errors of the surface's formula [mole fraction].
double endTolerance(double x) { return 1e-13 * x; }

// A composition of a fluid that is a mixture of water and NaCl, strictly
// between the pure substances.
bool isMixture(double x) { return x > 0.0 && x < 1.0; }

}  // namespace

double IsoplethModel::threePhasePressure() {
    hlv.Refresh();
    return hlv.P;
}

double IsoplethModel::criticalPressure() {
    critical.Refresh();
    return critical.Pcrit;
}

double IsoplethModel::criticalComposition() {
    critical.Refresh();
    return critical.Xcrit;
}

double IsoplethModel::sublimationPressure() { return sublimation.PfromT(&t); }

double IsoplethModel::boilingPressure() { return boiling.PfromT(&t); }

double IsoplethModel::waterVaporPressure() {
    if (!(t == waterT)) {
        waterT = t;
        waterP = water.VaporPressure() * model_units::paToBar;
    }
    return waterP;
}

double IsoplethModel::liquidBranch(double pBar) {
    p = pBar;
    liquid.Refresh();
    return liquid.X;
}

double IsoplethModel::vaporBranch(double pBar) {
    p = pBar;
    vapor.Refresh();
    return vapor.X;
}

double IsoplethModel::haliteVapor(double pBar) {
    p = pBar;
    saturatedVapor.Refresh();
    return saturatedVapor.xVH;
}

double IsoplethModel::liquidus(double pBar) {
    p = pBar;
    liquidusCurve.Refresh();
    return liquidusCurve.xL;
}

double IsoplethModel::meltingTemperature(double pBar) {
    return liquidusCurve.melting.MeltingTemperature(&pBar);
}

double IsoplethModel::loopBottom() {
    return t <= NaClTriplePoint::Ttriple ? threePhasePressure() : boilingPressure();
}

double IsoplethModel::loopTop() {
    return t < WaterCriticalPoint::Tc ? waterVaporPressure() : criticalPressure();
}

namespace isopleth {

// The liquid branch runs from the halite-saturated liquid (or pure NaCl) at
// the bottom of the range to pure water or the critical composition at the
// top, falling monotonically with pressure: the ends bracket every
// composition in between, and Brent's method closes the bracket.
double bubblePressure(IsoplethModel& m, double tC, double x) {
    if (!isMixture(x) || !std::isfinite(tC)) return nan;
    m.setTemperature(tC);
    const double a = m.loopBottom();
    const double b = m.loopTop();
    if (!(a > 0.0 && b > a)) return nan;
    auto f = [&](double p) { return m.liquidBranch(p) - x; };
    return brentRoot(f, a, b, f(a), f(b), endTolerance(x));
}

// The vapour branch is sampled in log p across the range (it has at most one
// interior extremum), and each sign change between samples is a bracket that
// Brent's method closes.
std::vector<double> dewPressures(IsoplethModel& m, double tC, double x) {
    if (!isMixture(x) || !std::isfinite(tC)) return {};
    m.setTemperature(tC);
    const double a = m.loopBottom();
    const double b = m.loopTop();
    if (!(a > 0.0 && b > a)) return {};
    auto f = [&](double p) { return m.vaporBranch(p) - x; };
    return sampledRoots(f, LogMap{a, b}, vaporSamples);
}

// The halite-saturated vapour is pure NaCl at the sublimation pressure and
// the vapour of the three-phase curve at its pressure; sampled in log p in
// between (one interior minimum), each sign change closed by Brent's method.
std::vector<double> vaporHalitePressures(IsoplethModel& m, double tC, double x) {
    if (!isMixture(x) || !(tC < NaClTriplePoint::Ttriple)) return {};
    m.setTemperature(tC);
    const double a = m.sublimationPressure();
    const double b = m.threePhasePressure();
    if (!(a > 0.0 && b > a)) return {};
    auto f = [&](double p) { return m.haliteVapor(p) - x; };
    return sampledRoots(f, LogMap{a, b}, haliteVaporSamples);
}

// The liquidus is pure NaCl at the melting temperature of halite; sampled
// over 0 C to that temperature, the highest sign change is closed by Brent's
// method on the composition at the temperature.
double liquidusTemperature(IsoplethModel& m, double pBar, double x) {
    if (!isMixture(x) || !std::isfinite(pBar)) return nan;
    const double top = m.meltingTemperature(pBar);
    if (!(top > lowestTemperature)) return nan;
    auto f = [&](double t) {
        m.setTemperature(t);
        return m.liquidus(pBar) - x;
    };
    auto map = [&](double u) {
        return u >= 1.0 ? top : lowestTemperature + u * (top - lowestTemperature);
    };
    const std::vector<double> roots = sampledRoots(f, map, liquidusSamples);
    return roots.empty() ? nan : roots.back();
}

// Along the three-phase curve the liquid runs monotonically from 26.28 wt%
// at 0 C to pure NaCl at 800.7 C; Brent's method on that bracket.
double threePhaseLiquidTemperature(IsoplethModel& m, double x) {
    if (!isMixture(x)) return nan;
    auto f = [&](double t) {
        m.setTemperature(t);
        return m.liquidus(m.threePhasePressure()) - x;
    };
    const double a = lowestTemperature;
    const double b = NaClTriplePoint::Ttriple;
    return brentRoot(f, a, b, f(a), f(b), endTolerance(x));
}

// The critical composition rises monotonically from 0 at the critical point
// of water to 33.5 wt% at 1000 C; Brent's method on that bracket.
double criticalTemperature(IsoplethModel& m, double x) {
    if (!isMixture(x)) return nan;
    auto f = [&](double t) {
        m.setTemperature(t);
        return m.criticalComposition() - x;
    };
    const double a = WaterCriticalPoint::Tc;
    const double b = highestTemperature;
    return brentRoot(f, a, b, f(a), f(b), endTolerance(x));
}

}  // namespace isopleth

double threePhasePressure(double tC) {
    IsoplethModel m;
    m.setTemperature(tC);
    return m.threePhasePressure();
}

double threePhaseLiquidComposition(double tC) {
    IsoplethModel m;
    m.setTemperature(tC);
    return wtPercent(m.liquidus(m.threePhasePressure()));
}

double threePhaseVaporComposition(double tC) {
    IsoplethModel m;
    m.setTemperature(tC);
    return wtPercent(m.haliteVapor(m.threePhasePressure()));
}

double threePhaseLiquidTemperature(double wt) {
    IsoplethModel m;
    return isopleth::threePhaseLiquidTemperature(m, moleFraction(wt));
}

double liquidusComposition(double tC, double pBar) {
    IsoplethModel m;
    m.setTemperature(tC);
    return wtPercent(m.liquidus(pBar));
}

double liquidusTemperature(double pBar, double wt) {
    IsoplethModel m;
    return isopleth::liquidusTemperature(m, pBar, moleFraction(wt));
}

VaporLiquidRange vaporLiquidRange(double tC) {
    IsoplethModel m;
    m.setTemperature(tC);
    return {m.loopBottom(), m.loopTop()};
}

double bubblePressure(double tC, double wt) {
    IsoplethModel m;
    return isopleth::bubblePressure(m, tC, moleFraction(wt));
}

std::vector<double> dewPressures(double tC, double wt) {
    IsoplethModel m;
    return isopleth::dewPressures(m, tC, moleFraction(wt));
}

double dewPressure(double tC, double wt) {
    const std::vector<double> roots = dewPressures(tC, wt);
    return roots.empty() ? nan : roots.back();
}

std::vector<double> vaporHalitePressures(double tC, double wt) {
    IsoplethModel m;
    return isopleth::vaporHalitePressures(m, tC, moleFraction(wt));
}

CompositionCriticalPoint criticalPointOf(double wt) {
    IsoplethModel m;
    const double t = isopleth::criticalTemperature(m, moleFraction(wt));
    if (!std::isfinite(t)) return {nan, nan, false};
    m.setTemperature(t);
    return {t, m.criticalPressure(), true};
}

}  // namespace quarvessin
