#pragma once

#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/model/WaterCriticalPoint.h>

namespace quarvessin {

// One object of each phase-boundary correlation of the model (halite
// liquidus, the two branches of the vapour-liquid surface, halite-saturated
// vapour, the three-phase curve, the critical curve and pure water), all bound
// to one temperature and pressure held by the bundle itself. The bundle's own
// state is primed below the owner's values and nothing copies the owner's
// values into it, so the members are constructed and destroyed but never
// evaluated through the bundle.
//
// Bound to its owner's t (C), p (bar) and x (mole fraction NaCl); the members
// are bound to this object's own fields, so it can be neither copied nor moved.
class PhaseModelSet {
  public:
    PhaseModelSet(double* tPtr, double* pPtr, double* xPtr);
    PhaseModelSet(const PhaseModelSet&) = delete;
    PhaseModelSet& operator=(const PhaseModelSet&) = delete;

    double* tPtr;  // owner's temperature, not owned [C]
    double* pPtr;  // owner's pressure, not owned [bar]
    double* xPtr;  // owner's composition, not owned [mole fraction NaCl]
    double t;      // own temperature, owner's value - 1.0 [C]
    double p;      // own pressure, owner's value - 1.0 [bar]
    double x;      // own composition, owner's value x 0.99 [mole fraction NaCl]

    HaliteLiquidus liquidus;           // halite liquidus at (t, p)
    VLVaporBranch vaporBranch;         // vapour branch of the vapour-liquid surface at (t, p)
    VLLiquidBranch liquidBranch;       // liquid branch of the vapour-liquid surface at (t, p)
    HaliteSaturatedVapor haliteVapor;  // halite-saturated vapour at (t, p)
    HaliteLiquidVaporCurve vlhCurve;   // three-phase curve at t
    WaterCriticalPoint waterCritical;  // critical point of water, no state
    PureWater water;                   // pure water at (t, p)
    CriticalCurve critical;            // critical curve at t
};

}  // namespace quarvessin
