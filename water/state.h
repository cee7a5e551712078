// Single states of water at (T, p) and (T, rho): density solve, phase test,
// range tests, and the filling of WaterProps records. Library units: K, MPa,
// g/cm3, kJ/kg.
#pragma once

#include <quarvessin/water.h>

#include "water/eos.h"

namespace quarvessin {

namespace water_internal {

// Phase-region codes of phaseRegion.
constexpr int kLiquidSide = 3;    // above the saturation (or triple-point) pressure
constexpr int kOnSaturation = 4;  // on the saturation curve within tolerance
constexpr int kVapourSide = 5;    // below it

// Densest state accepted [g/cm3].
constexpr double kDmax = 1.8;

// Density window of the solve at one temperature.
struct DensityRange {
    double dmin;  // [g/cm3]
    double dmax;  // [g/cm3]
};

// Newton solve of p(T, d) = p [MPa] from the start density d [g/cm3] (updated
// in place), at most 20 evaluations; fills rec on success, sets its status to
// 1 otherwise.
void solveDensity(double T, double p, double& d, double relTol, EosWork& work, WaterProps* rec);

// Density window at T [K] on the side of the critical density where dGuess
// [g/cm3] lies; the whole range at and above the critical temperature.
DensityRange densityBounds(double T, double dGuess);

// Side of the saturation curve of (T [K], p [MPa]): kLiquidSide,
// kVapourSide or kOnSaturation.
int phaseRegion(double T, double p);

// Writes the single-phase state evaluated in work at (T [K], d [g/cm3]) into
// rec in SI units, with the derivatives its letters and grade call for.
void fillSinglePhase(double T, double d, EosWork& work, WaterProps* rec);

// Writes the liquid-vapour mixture of vapour fraction x between the saturated
// states liq (density dl) and vap (density dv) at T [K] and saturation
// pressure psat [MPa] into rec in SI units.
void fillTwoPhase(double T, double psat, double x, double dl, double dv, EosWork& liq, EosWork& vap,
                  WaterProps* rec);

// Whether (T [K], d [g/cm3]) lies in the range of the equation of state.
bool validTd(double T, double d);

// Whether (T [K], p [MPa]) lies in the range of the equation of state and
// outside the stability fields of the ices.
bool validTp(double T, double p);

}  // namespace water_internal

}  // namespace quarvessin
