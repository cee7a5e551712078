#pragma once

#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/PureWater.h>

namespace quarvessin {

// Holder of a temperature, pressure and composition of its own, with pure
// water and the three-phase curve bound to them. It has no operation besides
// construction and destruction: the own state is primed one unit below the
// owner's values and never refreshed, so the members are never evaluated.
//
// Bound to its owner's t (C), p (bar) and x (mole fraction NaCl); the members
// are bound to this object's own fields, so the object can be neither copied
// nor moved.
class TPXHolder {
  public:
    TPXHolder(double* tPtr, double* pPtr, double* xPtr);
    TPXHolder(const TPXHolder&) = delete;
    TPXHolder& operator=(const TPXHolder&) = delete;

    double* tPtr;  // owner's temperature, not owned [C]
    double* pPtr;  // owner's pressure, not owned [bar]
    double* xPtr;  // owner's composition, not owned [mole fraction NaCl]
    double t;      // own temperature, owner's value - 1.0 [C]
    double p;      // own pressure, owner's value - 1.0 [bar]
    double x;      // own composition, owner's value - 1.0 [mole fraction NaCl]

    PureWater water;             // pure water bound to (t, p)
    HaliteLiquidVaporCurve hlv;  // three-phase curve bound to t
};

}  // namespace quarvessin
