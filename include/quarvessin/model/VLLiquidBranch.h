#pragma once

#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/NaClBoilingCurve.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/Stateless.h>
#include <quarvessin/model/WaterCriticalPoint.h>

namespace quarvessin {

// Liquid branch of the vapour + liquid surface of H2O-NaCl: the composition of
// the liquid coexisting with vapour at (t, p) and its temperature slope at
// constant pressure. At each temperature the branch runs between two anchors:
// - below 373.976 C from the three-phase pressure Pv (halite-saturated
//   liquid, composition Xs) up to the vapour pressure of water Pw
//   (composition 0), the critical pressure of the mixture (its formal
//   extension) serving as a shape parameter;
// - from 373.976 C to 800.7 C from Pv (Xs) up to the critical point (Pc, Xc);
// - above 800.7 C from the boiling pressure of liquid NaCl Pb (composition 1)
//   up to the critical point.
// Between the anchors the composition follows the square root of the distance
// to the critical pressure, corrected by a quadratic in that distance whose
// coefficients a and b depend on temperature only. A pressure above the
// critical pressure gives a composition that is not a number. Below 373.976 C
// the extension lies above Pw; where rounding puts the computed Pw above it
// (within about 1e-6 C of 373.976 C) the first branch takes it at Pw.
//
// Bound to its owner's t (C) and p (bar); the members are bound to this
// object's fields. Refresh recomputes only after an input changed (see
// <quarvessin/model/Caching.h>); up to 800.7 C the temperature-dependent
// fields are recomputed only when t changed.
class VLLiquidBranch {
  public:
    VLLiquidBranch(double* tPtr, double* pPtr);
    VLLiquidBranch(const VLLiquidBranch&) = delete;
    VLLiquidBranch& operator=(const VLLiquidBranch&) = delete;

    void Refresh();
    // Recomputes every temperature-dependent field at *t (the members are
    // evaluated at this object's t, which *t is expected to point to).
    void RefreshCoefficients(const double* t);
    // Liquid composition at (*t, *p) from the fields of RefreshCoefficients [mole fraction NaCl]
    double XfromTP(const double* t, const double* p) const;
    // dX/dt at constant *p from the fields of RefreshCoefficients [1/C]
    double dXdTAt(const double* t, const double* p) const;

    double* tPtr;        // owner's temperature (not owned) [C]
    double* pPtr;        // owner's pressure (not owned) [bar]
    double pLiquidus;    // pressure the liquidus member sees: p, then Pv [bar]
    double tLiquidus;    // temperature the liquidus member sees (= t) [C]
    double t;            // temperature of the last refresh [C]
    double p;            // pressure of the last refresh [bar]
    double X = 0.0;      // liquid composition at (t, p) [mole fraction NaCl]
    double dXdT = 0.0;   // dX/dt at constant p [1/C]
    double Xs = 0.0;     // composition at the low-pressure anchor [mole fraction NaCl]
    double Pc = 0.0;     // critical pressure at t [bar]
    double Xc = 0.0;     // critical composition at t [mole fraction NaCl]
    double Pb = 0.0;     // boiling pressure of liquid NaCl at t, set above 800.7 C [bar]
    double Pv = 0.0;     // three-phase pressure at t, set up to 800.7 C [bar]
    double Pw = 0.0;     // vapour pressure of water at t, set below 373.976 C [bar]
    double dXsdT = 0.0;  // liquidus slope at (t, Pv) at constant pressure [1/C]
    double dPcdT = 0.0;  // fitted slope of the critical pressure [bar/C]
    double dXcdT = 0.0;  // slope of the critical composition [1/C]
    double dPbdT = 0.0;  // slope of the NaCl boiling pressure [bar/C]
    double dPvdT = 0.0;  // slope of the three-phase pressure [bar/C]
    double dPwdT = 0.0;  // slope of the vapour pressure of water [bar/C]
    double Pv2 = 0.0;    // Pv squared [bar^2]
    double Pc2 = 0.0;    // Pc squared [bar^2]
    double Pw2 = 0.0;    // Pw squared [bar^2]
    double a = 0.0;      // linear shape coefficient [mole fraction NaCl/bar]
    double b = 0.0;      // quadratic shape coefficient [mole fraction NaCl/bar^2]
    double dadT = 0.0;   // da/dt [mole fraction NaCl/(bar C)]
    double dbdT = 0.0;   // db/dt [mole fraction NaCl/(bar^2 C)]
    bool stale = true;   // true until the first Refresh has computed [-]

    Stateless marker;                  // empty marker [-]
    NaClBoilingCurve boiling;          // NaCl boiling curve at this object's (t, p) [-]
    HaliteLiquidVaporCurve hlv;        // three-phase curve at this object's t [-]
    CriticalCurve critical;            // critical curve at this object's t [-]
    WaterCriticalPoint waterCritical;  // critical point of water, no state [-]
    HaliteLiquidus liquidus;           // halite liquidus at (tLiquidus, pLiquidus) [-]
    PureWater water;                   // pure water at this object's (t, p) [-]
};

}  // namespace quarvessin
