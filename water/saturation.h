// Liquid-vapour coexistence of water on the equation of state: equal
// pressure and equal Gibbs energy in both phases, started from approximate
// correlations; a scaling law for the two densities near the critical point.
// Library units: K, MPa, g/cm3, kJ/kg.
#pragma once

#include "water/eos.h"

namespace quarvessin {

namespace water_internal {

// Upper end of the regular coexistence solve by temperature [K]; above it the
// scaling law gives the densities.
constexpr double kTnearCritical = 646.303775;
// Upper end of the regular coexistence solve by pressure [MPa].
constexpr double kPnearCritical = 21.839129;

// One coexisting liquid-vapour pair and the two evaluations behind it.
struct Coexistence {
    double T;     // temperature [K]
    double p;     // saturation pressure [MPa]
    double dl;    // saturated-liquid density [g/cm3]
    double dv;    // saturated-vapour density [g/cm3]
    EosWork liq;  // evaluation at (T, dl)
    EosWork vap;  // evaluation at (T, dv); also the working area of the solve
};

// Approximate vapour pressure and its temperature slope.
struct PsatEstimate {
    double p;     // vapour pressure [MPa]
    double dpdT;  // its slope [MPa/K]
};

// Approximate saturated densities.
struct DensityPair {
    double dl;  // liquid [g/cm3]
    double dv;  // vapour [g/cm3]
};

// Coexistence at T [K], 273.16 to 647.126 K; returns and stores the
// saturation pressure [MPa] (the mean of the two phases' pressures, or the
// scaling-law weighting near the critical point).
double satSolveT(double T, Coexistence& sat);

// Coexistence at p [MPa], triple point to 22.054915 MPa; returns and stores
// the saturation temperature [K]. sat.p holds p, or near the critical point
// the saturation pressure of the last scaling-law evaluation [MPa].
double satSolveP(double p, Coexistence& sat);

// Amplitude and exponent of the scaling law of the coexisting densities near
// the critical point, rho = kDcrit +- kScalingAmplitude (1 - T/kTcrit)^kScalingExponent.
constexpr double kScalingAmplitude = 0.657128;  // [g/cm3]
constexpr double kScalingExponent = 0.325;      // [-]

// Half-width of the coexistence dome by the scaling law at T [K] [g/cm3].
double scalingHalfWidth(double T);

// Scaling-law densities kDcrit +- scalingHalfWidth(T) at T [K] and their
// evaluations; returns 0.4 pL + 0.6 pV [MPa].
double satNearCriticalT(double T, Coexistence& sat);

// Temperature [K] at which the scaling-law pressure equals p [MPa], by Newton
// steps below 22.05485 MPa and by bisection above.
double satNearCriticalP(double p, Coexistence& sat);

// Evaluates (T, dl) into liq and (T, dv) into work, both on the temperature
// stage already in work, and returns |gL - gV| / (R T) [-].
double gibbsGap(double T, double dl, double dv, EosWork& work, EosWork& liq);

// Approximate vapour pressure at T [K] and its slope.
PsatEstimate psatApprox(double T);

// Approximate saturation temperature at p [MPa] [K].
double tsatApprox(double p);

// Approximate saturated liquid and vapour densities at T [K].
DensityPair satDensityApprox(double T);

}  // namespace water_internal

}  // namespace quarvessin
