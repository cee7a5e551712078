#pragma once

namespace quarvessin {

// Sublimation curve of pure NaCl: pressure of NaCl vapour over halite as a
// Clausius-Clapeyron form anchored at the NaCl triple point (800.7 C,
// 0.0005 bar), log10(P) linear in -1/T with slope 11806.1 K. Above 800.7 C
// the same formula is a formal continuation.
//
// Bound to its owner's temperature (and pressure, which the values do not
// depend on); Refresh recomputes only after a change (exact comparison, see
// <quarvessin/model/Caching.h>).
class NaClSublimationCurve {
  public:
    NaClSublimationCurve(double* tPtr, double* pPtr);
    NaClSublimationCurve(const NaClSublimationCurve&) = delete;
    NaClSublimationCurve& operator=(const NaClSublimationCurve&) = delete;

    // Recompute Psub and dPsubdT if the owner's temperature changed.
    void Refresh();

    // Sublimation pressure of NaCl at *t [bar].
    double PfromT(const double* t);
    // Temperature derivative of the sublimation pressure at *t [bar/C].
    double dPdT(const double* t);

    double t;              // temperature of the last refresh [C]
    double Psub = 0.0;     // sublimation pressure at t [bar]
    double dPsubdT = 0.0;  // temperature derivative of Psub at t [bar/C]
    double* tPtr;          // owner's temperature, not owned [C]
    double* pPtr;          // owner's pressure, not owned, not read [bar]
    bool stale = true;     // true until the first Refresh has computed [-]
};

}  // namespace quarvessin
