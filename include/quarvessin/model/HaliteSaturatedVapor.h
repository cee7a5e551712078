#pragma once

#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/NaClSublimationCurve.h>
#include <quarvessin/model/WaterCriticalPoint.h>

namespace quarvessin {

// Vapour coexisting with halite (the vapour + halite surface): its composition
// at a temperature and pressure and the temperature slope of that composition
// at constant pressure. At the NaCl sublimation pressure PNaCl(t) the vapour
// is pure NaCl; at the critical pressure Pcrit(t) it equals the halite
// liquidus at that pressure. In between, a correlation in the reduced pressure
// Pn = (p - PNaCl) / (Pcrit - PNaCl) interpolates the logarithm of an
// enhancement factor over the liquidus. Above Pcrit the composition and its
// slope are not a number; at p = Pcrit the slope is not a number.
//
// Bound to its owner's t (C) and p (bar); the liquidus member is bound to the
// fields tLiq and pLiq, which are set to (t, PNaCl) and back to (t, p) during a
// refresh. Refresh recomputes only after an input changed (see <quarvessin/model/Caching.h>).
class HaliteSaturatedVapor {
  public:
    HaliteSaturatedVapor(double* tPtr, double* pPtr);
    HaliteSaturatedVapor(const HaliteSaturatedVapor&) = delete;
    HaliteSaturatedVapor& operator=(const HaliteSaturatedVapor&) = delete;

    // Recompute every cached field if the owner's t or p changed.
    void Refresh();

    // Halite-saturated vapour composition, from the fields Refresh prepared
    // (sets xLHn, dxLHndT, L1, L2; leaves the liquidus bound to (t, *p))
    // [mole fraction NaCl].
    double XfromTP(const double* t, const double* p);
    // Temperature slope of that composition at constant pressure, from the
    // fields Refresh and XfromTP prepared [1/C].
    double dXdT(const double* t, const double* p);

    double* tPtr;           // owner's temperature, not owned [C]
    double* pPtr;           // owner's pressure, not owned [bar]
    double pLiq;            // pressure the liquidus member is bound to [bar]
    double tLiq;            // temperature the liquidus member is bound to [C]
    double t;               // temperature of the last refresh [C]
    double p;               // pressure of the last refresh [bar]
    double Pn = 0.0;        // reduced pressure (p - PNaCl) / (Pcrit - PNaCl) [-]
    double xVH = 0.0;       // halite-saturated vapour composition at (t, p) [mole fraction NaCl]
    double dxVHdT = 0.0;    // dxVH/dt at constant p [1/C]
    double xLH = 0.0;       // halite liquidus composition at (t, p) [mole fraction NaCl]
    double xLHn = 0.0;      // halite liquidus composition at (t, PNaCl) [mole fraction NaCl]
    double L2 = 0.0;        // log10(PNaCl / Pcrit) [-]
    double L1 = 0.0;        // log10(xLHn) [-]
    double j0 = 0.0;        // temperature function of the correlation, W^j1 factor [-]
    double j1 = 0.0;        // temperature function, exponent of W [-]
    double j2 = 0.0;        // temperature function, factor of W [-]
    double j3 = 0.0;        // temperature function, factor of W^2 [-]
    double dj0dT = 0.0;     // temperature slope of j0 [1/C]
    double dj1dT = 0.0;     // temperature slope of j1 [1/C]
    double dj2dT = 0.0;     // temperature slope of j2 [1/C]
    double dj3dT = 0.0;     // temperature slope of j3 [1/C]
    double PNaCl = 0.0;     // NaCl sublimation pressure at t [bar]
    double Pcrit = 0.0;     // critical pressure at t [bar]
    double dPNaCldT = 0.0;  // temperature slope of PNaCl [bar/C]
    double dPcritdT = 0.0;  // fitted temperature slope of Pcrit [bar/C]
    double dxLHdT = 0.0;    // dxLH/dt at (t, p), constant p [1/C]
    double dxLHndT = 0.0;   // dxLH/dt at (t, PNaCl), constant pressure [1/C]
    double scratch = 0.0;   // last intermediate term of dXdT [-]
    bool stale = true;      // true until the first Refresh has computed [-]

    NaClSublimationCurve sublimation;  // NaCl sublimation curve at this object's (t, p)
    CriticalCurve critical;            // critical curve at this object's t
    WaterCriticalPoint waterCritical;  // critical point of water, no state
    HaliteLiquidus liquidus;           // halite liquidus at (tLiq, pLiq)

  private:
    // Interpolating function S of the reduced pressure at w = 1 - Pn [-].
    double Interpolant(double w) const;
    // log10 of the enhancement xLH / xVH at pressure *p, from L1, L2 and S [-].
    double Exponent(double s, const double* p) const;
};

}  // namespace quarvessin
