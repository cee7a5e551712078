#pragma once

#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/VLLiquidBranch.h>

namespace quarvessin {

// Vapour branch of the vapour + liquid surface of H2O-NaCl: the composition of
// the vapour coexisting with liquid at (t, p) and its temperature slope at
// constant pressure. The vapour composition is the coexisting liquid's
// composition times the ratio of the halite-saturated vapour and liquid
// compositions at the same (t, p): NaCl is taken to partition between vapour
// and liquid as it does between the halite-saturated vapour and liquid.
// A liquid composition that is not a number (above the critical pressure)
// passes through. Within rounding of the critical point of water, where the
// computed vapour pressure of water can exceed the critical-curve extension,
// the partition of a pressure between the two is taken at the extension.
//
// Bound to its owner's t (C) and p (bar); the members are bound to this
// object's t and p (the halite-saturated ones to pPartition) and refresh
// themselves lazily. Refresh recomputes only
// after an input changed (see <quarvessin/model/Caching.h>).
class VLVaporBranch {
  public:
    VLVaporBranch(double* tPtr, double* pPtr);
    VLVaporBranch(const VLVaporBranch&) = delete;
    VLVaporBranch& operator=(const VLVaporBranch&) = delete;

    void Refresh();
    // Vapour composition at this object's (t, p) [mole fraction NaCl]
    double XfromTP();
    // dX/dt at constant p at this object's (t, p) [1/C]
    double dXdTAt();
    // Pressure at which the partition is taken at this object's (t, p), after
    // the liquid member's refresh: p, or the critical-curve extension where p
    // lies above it by rounding only [bar]
    double PartitionPressure() const;

    double* tPtr;       // owner's temperature (not owned) [C]
    double* pPtr;       // owner's pressure (not owned) [bar]
    double t;           // temperature of the last refresh [C]
    double p;           // pressure of the last refresh [bar]
    double pPartition;  // pressure of the halite-saturated members (= p but for rounding) [bar]
    double X = 0.0;     // vapour composition at (t, p) [mole fraction NaCl]
    double dXdT = 0.0;  // dX/dt at constant p [1/C]
    bool stale = true;  // true until the first Refresh has computed [-]

    HaliteLiquidus liquidus;           // halite-saturated liquid at (t, pPartition) [-]
    VLLiquidBranch liquid;             // coexisting liquid at this object's (t, p) [-]
    HaliteSaturatedVapor haliteVapor;  // halite-saturated vapour at (t, pPartition) [-]
};

}  // namespace quarvessin
