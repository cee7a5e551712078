#pragma once

#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/Halite.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteMelting.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/LiquidNaCl.h>
#include <quarvessin/model/NaClBoilingCurve.h>
#include <quarvessin/model/NaClSublimationCurve.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/NaClVapor.h>
#include <quarvessin/model/PhaseProperties.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/Stateless.h>
#include <quarvessin/model/TPXHolder.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/model/WaterCriticalPoint.h>

namespace quarvessin {

// A fluid state of H2O-NaCl: one object of every correlation class of the
// model, all bound to a temperature, pressure and composition of the fluid's
// own, and a property table of four columns (bulk, liquid, vapour, halite).
// Construction binds and primes the members and zeroes the table; nothing is
// evaluated. The own state starts one unit below the owner's values.
//
// Bound to its owner's t (C), p (bar) and x (mole fraction NaCl); the members
// are bound to this object's own fields, so it can be neither copied nor moved.
class Fluid {
  public:
    Fluid(double* tPtr, double* pPtr, double* xPtr);
    Fluid(const Fluid&) = delete;
    Fluid& operator=(const Fluid&) = delete;

    double* tPtr;  // owner's temperature, not owned [C]
    double* pPtr;  // owner's pressure, not owned [bar]
    double* xPtr;  // owner's composition, not owned [mole fraction NaCl]
    double t;      // fluid temperature, owner's value - 1.0 after construction [C]
    double p;      // fluid pressure, owner's value - 1.0 after construction [bar]
    double x;      // fluid composition, owner's value - 1.0 after construction [mole fraction NaCl]

    PhaseProperties bulk;  // properties of the whole fluid, zero after construction
    PhaseProperties liq;   // properties of the liquid, zero after construction
    PhaseProperties vap;   // properties of the vapour, zero after construction
    PhaseProperties salt;  // properties of halite, zero after construction

    NaClTriplePoint triplePoint;       // triple point of NaCl, no state
    Stateless marker;                  // empty marker
    WaterCriticalPoint waterCritical;  // critical point of water, no state
    CriticalCurve critical;            // critical curve at t
    HaliteMelting melting;             // halite melting curve at (t, p)
    NaClBoilingCurve boiling;          // NaCl boiling curve at (t, p)
    NaClSublimationCurve sublimation;  // NaCl sublimation curve at (t, p)
    Halite halite;                     // halite at (t, p)
    LiquidNaCl liquidNaCl;             // liquid NaCl at (t, p)
    NaClVapor naclVapor;               // NaCl vapour at (t, p)
    HaliteLiquidus liquidus;           // halite liquidus at (t, p)
    HaliteLiquidVaporCurve hlv;        // three-phase curve at t
    HaliteSaturatedVapor haliteVapor;  // halite-saturated vapour at (t, p)
    VLLiquidBranch vlLiquid;           // liquid branch of the vapour-liquid surface at (t, p)
    VLVaporBranch vlVapor;             // vapour branch of the vapour-liquid surface at (t, p)
    TPXHolder tpx;                     // holder bound to (t, p, x)
    PureWater water;                   // pure water at (t, p)
};

}  // namespace quarvessin
