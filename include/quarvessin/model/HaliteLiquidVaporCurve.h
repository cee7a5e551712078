#pragma once

#include <quarvessin/model/Stateless.h>

namespace quarvessin {

// Three-phase curve vapour + liquid + halite (VLH) of H2O-NaCl: pressure as a
// polynomial of degree 10 in the reduced temperature t / Ttriple, with its
// first and second temperature derivatives. Between 0 C (0.00464 bar) and the
// NaCl triple point (800.7 C, 0.0005 bar) the curve rises to a single pressure
// maximum Pmax() at TatPmax(). Outside 0..800.7 C the polynomial is a formal
// continuation, evaluated without a range check.
//
// Bound to its owner's temperature; Refresh recomputes only after a change
// (exact comparison, see <quarvessin/model/Caching.h>).
class HaliteLiquidVaporCurve {
  public:
    explicit HaliteLiquidVaporCurve(double* tPtr);
    HaliteLiquidVaporCurve(const HaliteLiquidVaporCurve&) = delete;
    HaliteLiquidVaporCurve& operator=(const HaliteLiquidVaporCurve&) = delete;

    // Recompute tau, P, dPdT and d2PdT2 if the owner's temperature changed.
    void Refresh();

    // Pressure maximum of the three-phase curve [bar].
    static constexpr double Pmax() { return 390.1474443379598; }
    // Temperature of the pressure maximum [C].
    static constexpr double TatPmax() { return 594.6324429298147; }

    double tau = 0.0;     // reduced temperature t / 800.7 at the cached t [-]
    double P = 0.0;       // three-phase pressure at the cached t [bar]
    double dPdT = 0.0;    // first temperature derivative of P [bar/C]
    double d2PdT2 = 0.0;  // second temperature derivative of P [bar/C^2]
    double t;             // temperature of the last refresh [C]
    double* tPtr;         // owner's temperature, not owned [C]
    bool stale = true;    // true until the first Refresh has computed [-]

    Stateless marker;  // empty marker member
};

}  // namespace quarvessin
