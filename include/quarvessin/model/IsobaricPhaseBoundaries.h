#pragma once

#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteMelting.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/Stateless.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <iostream>

namespace quarvessin {

// Temperatures of phase boundaries at a given pressure: where the three-phase
// curve vapour + liquid + halite reaches the pressure, on its low- or its
// high-temperature side of the pressure maximum, and where the critical curve
// of the solution does.
//
// Bound to its owner's t (C), p (bar) and x (mole fraction NaCl), of which
// CopyInputs takes copies for the solvers. The solvers iterate on a working
// temperature of the object's own, tWork, so they never move the owner's t;
// the temperature-dependent members are bound to tWork and keep pointers into
// this object, which can therefore be neither copied nor moved.
class IsobaricPhaseBoundaries {
  public:
    // Returned by a solver that refuses its input pressure [C].
    static constexpr double refused = 9e99;
    // Cycle limit of VLH_TemperatureFromP: it gives up once the Newton update
    // count exceeds it, after cycleLimit + 1 updates [-].
    static constexpr int cycleLimit = 20;
    // Lowest pressure accepted on the low-temperature side of the three-phase
    // maximum [bar].
    static constexpr double pLowestLowSide = 0.00692441;

    IsobaricPhaseBoundaries(double* tPtr, double* pPtr, double* xPtr);
    IsobaricPhaseBoundaries(const IsobaricPhaseBoundaries&) = delete;
    IsobaricPhaseBoundaries& operator=(const IsobaricPhaseBoundaries&) = delete;

    // Directs the solvers' refusal and non-convergence messages (standard
    // output until then) to `out`, which must outlive this object.
    void SetMessages(std::ostream& out);

    // Copies the owner's t, p and x into t, p and x, unconditionally.
    void CopyInputs();

    // Temperature on the three-phase curve at pressure *p, on the side of the
    // pressure maximum that tGuess lies on, by Newton iteration from a
    // tabulated start; the result is left in tWork. A pressure above the
    // maximum, or below the curve's end on the chosen side, is refused with a
    // message on standard output and the value `refused`. When the iteration
    // does not converge within the cycle limit, or meets a vanishing or
    // non-finite slope (at the pressure maximum the slope is zero), it prints
    // the non-convergence message and returns the current iterate [C].
    double VLH_TemperatureFromP(const double* p, double tGuess);

    // Temperature on the critical curve at pressure *p, also stored in tWork [C].
    double Critical_TemperatureFromP(const double* p);

    // Start temperature of the three-phase Newton iteration at pressure p on
    // the side of the maximum selected by tGuess [C].
    static double VLH_StartTemperature(double p, double tGuess);

    double tWork;     // working temperature: solver iterate and result [C]
    double residual;  // last pressure residual of VLH_TemperatureFromP [bar]
    double pCalc;     // three-phase pressure at tWork in the last iteration [bar]
    double dPdT;      // slope of the three-phase pressure at tWork in the last iteration [bar/C]
    // Copies of the owner's variables, taken by CopyInputs; until the first
    // call they hold the owner's t - 1.0, p - 1.0 and x + 0.5.
    double t;                             // copy of the owner's temperature [C]
    double p;                             // copy of the owner's pressure [bar]
    double x;                             // copy of the owner's composition [mole fraction NaCl]
    double* tPtr;                         // owner's temperature, not owned [C]
    double* pPtr;                         // owner's pressure, not owned [bar]
    double* xPtr;                         // owner's composition, not owned [mole fraction NaCl]
    std::ostream* messages = &std::cout;  // solver messages, not owned

    WaterCriticalPoint waterCritical;  // critical point of water, no state
    Stateless stateless;               // empty marker
    CriticalCurve critical;            // critical curve at tWork
    HaliteMelting melting;             // halite melting curve at (t, p)
    HaliteLiquidus liquidus;           // halite liquidus at (tWork, p)
    PureWater water;                   // pure water at (t, p)
    HaliteLiquidVaporCurve hlv;        // three-phase curve at tWork
    HaliteSaturatedVapor haliteVapor;  // halite-saturated vapour at (tWork, p)
    VLLiquidBranch liquidBranch;       // liquid branch of the vapour-liquid surface at (tWork, p)
    VLVaporBranch vaporBranch;         // vapour branch of the vapour-liquid surface at (tWork, p)
};

}  // namespace quarvessin
