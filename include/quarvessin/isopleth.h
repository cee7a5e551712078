// The surfaces of H2O-NaCl solved for one composition: the pressures and
// temperatures at which a fluid of fixed NaCl content lies on the vapour +
// liquid surface, on the halite liquidus, on the vapour + halite surface or on
// the critical curve. The building blocks of isoplethal sections (fixed
// composition, pressure-temperature plane) and of fluid-inclusion
// calculations.
//
// Units: temperature in degrees Celsius, pressure in bar, composition in
// weight percent NaCl. Every function is re-entrant: it builds its model
// objects for the call and keeps no state between calls. A result that does
// not exist in range is not a number (NaN).
//
// Each result is found by bracketing a sign change of the model's own
// function (composition minus the asked composition) and closing the bracket
// with Brent's method, so that the model evaluated at the result gives the
// asked composition to about 1e-12 relative.
#pragma once

#include <vector>

namespace quarvessin {

// Pressure of the three-phase curve vapour + liquid + halite at t, 0 to
// 800.7 C (a formal continuation outside) [bar].
double threePhasePressure(double tC);
// Composition of the liquid on the three-phase curve at t (the
// halite-saturated liquid at the three-phase pressure) [wt%].
double threePhaseLiquidComposition(double tC);
// Composition of the vapour on the three-phase curve at t (the
// halite-saturated vapour at the three-phase pressure) [wt%].
double threePhaseVaporComposition(double tC);
// Temperature, 0 to 800.7 C, at which the liquid of the three-phase curve has
// composition wt: where the halite liquidus and the bubble curve of a fluid of
// wt meet the three-phase curve [C]. NaN for wt below the liquid at 0 C
// (26.28 wt%) or at or above 100 wt%. The liquid composition rises
// monotonically along the curve, so the root is unique.
double threePhaseLiquidTemperature(double wt);

// Composition of the halite-saturated liquid at (t, p) [wt%].
double liquidusComposition(double tC, double pBar);
// Temperature at which a liquid of wt is saturated in halite at p: the
// highest temperature between 0 C and the melting point of halite at p where
// the halite liquidus has composition wt (below it halite is stable with the
// liquid) [C]. NaN where there is none (wt below the liquidus at 0 C, or wt
// outside 0 to 100).
double liquidusTemperature(double pBar, double wt);

// The pressures between which the vapour + liquid surface spans at t: from
// the three-phase pressure (up to 800.7 C) or the boiling pressure of liquid
// NaCl (above) up to the vapour pressure of water (below 373.976 C) or the
// critical pressure of the solution [bar].
struct VaporLiquidRange {
    double bottomBar;
    double topBar;
};
VaporLiquidRange vaporLiquidRange(double tC);

// Pressure at which the liquid branch of the vapour + liquid surface at t has
// composition wt (the bubble pressure of a liquid of wt) [bar]; NaN where
// none lies in the surface's range at t. The liquid composition falls
// monotonically with pressure across the range, so the root is unique.
double bubblePressure(double tC, double wt);
// Pressures at which the vapour branch at t has composition wt, ascending.
// The vapour composition has an interior maximum below about 380 C and an
// interior minimum above about 785 C, so there may be two.
std::vector<double> dewPressures(double tC, double wt);
// The highest of dewPressures (NaN where there is none): the dew point of a
// vapour of wt on compression towards the critical point (or, below
// 373.976 C, towards the vapour pressure of water); the other root, at low
// pressure near the three-phase or NaCl boiling curve, is in dewPressures.
double dewPressure(double tC, double wt);

// Pressures at which the halite-saturated vapour at t has composition wt,
// between the sublimation pressure of halite and the three-phase pressure
// (t below 800.7 C), ascending. The saturated vapour is pure NaCl at the
// sublimation pressure, falls to a minimum and rises again to the vapour of
// the three-phase curve, so there are one or two.
std::vector<double> vaporHalitePressures(double tC, double wt);

// The point of the critical curve of the solutions, 373.976 to 1000 C, whose
// composition is wt (found = false and NaN where none: wt above the critical
// composition at 1000 C, 33.5 wt%). The critical composition rises
// monotonically with temperature, so it is unique. The bubble curve of wt
// ends in it; so does the dew curve for wt above about 0.08 wt% (below, the
// model's vapour branch just above 373.976 C is saltier near the critical
// pressure than the critical point itself, and the dew curve of wt stops
// short of it, some bar below).
struct CompositionCriticalPoint {
    double tC;
    double pBar;
    bool found;
};
CompositionCriticalPoint criticalPointOf(double wt);

}  // namespace quarvessin
