#pragma once

#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <iostream>

namespace quarvessin {

// Critical curve of H2O-NaCl: critical pressure and composition as functions
// of temperature, their slopes, and the temperature on the curve at a given
// pressure. The curve starts at the critical point of water (373.976 C,
// 220.54915 bar, x = 0); below 373.976 C the pressure continues as a formal
// extension (about 0.03 bar at 0 C) and the composition is 0.
//
// Bound to its owner's temperature; Refresh recomputes only after a change
// (exact comparison, see <quarvessin/model/Caching.h>). The evaluation functions write the
// field scratch and are otherwise pure; TfromP leaves tIter, residual and slope
// behind and touches neither t nor the cached values.
class CriticalCurve {
  public:
    // Newton cycles TfromP runs at most. Every pressure up to the critical
    // pressure at 1000 C (about 2162 bar) converges within 20 cycles and
    // 3000 bar within about 8000; from about 3030 bar up the slope fit is so far
    // above the true slope that the steps stall short of the tolerance.
    static constexpr long TfromPCycleLimit = 100000;

    explicit CriticalCurve(double* tPtr);
    CriticalCurve(const CriticalCurve&) = delete;
    CriticalCurve& operator=(const CriticalCurve&) = delete;

    // Recompute Pcrit, Xcrit, dPdT and dXdT if the owner's temperature changed.
    void Refresh();

    // Critical pressure at *t [bar].
    double PfromT(const double* t);
    // Fitted slope of the critical pressure at *t [bar/C].
    double dPdTAt(const double* t);
    // Critical composition at *t [mole fraction NaCl].
    double XfromT(const double* t);
    // Temperature slope of the critical composition at *t [1/C].
    double dXdTAt(const double* t);
    // Temperature on the critical curve at pressure *p, by Newton iteration [C].
    double TfromP(const double* p);

    double t;               // temperature of the last refresh [C]
    double Pcrit = 0.0;     // critical pressure at t [bar]
    double Xcrit = 0.0;     // critical composition at t [mole fraction NaCl]
    double dPdT = 0.0;      // fitted slope of the critical pressure at t [bar/C]
    double dXdT = 0.0;      // slope of the critical composition at t [1/C]
    double scratch = 0.0;   // temperature difference last used by a formula [C]
    double tIter = 0.0;     // iterate of TfromP [C]
    double residual = 0.0;  // last residual of TfromP [bar]
    double slope = 0.0;     // last slope of TfromP [bar/C]
    double* tPtr;           // owner's temperature, not owned [C]
    // Where TfromP reports that it gave up (standard output unless the owner
    // directs it elsewhere); not owned.
    std::ostream* messages = &std::cout;
    bool stale = true;  // true until the first Refresh has computed [-]

    WaterCriticalPoint waterCritical;  // critical point of water, no state
    HaliteLiquidVaporCurve vlhCurve;   // three-phase curve at this object's t
};

}  // namespace quarvessin
