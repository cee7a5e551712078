#pragma once

#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/Fluid.h>
#include <quarvessin/model/Halite.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteMelting.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/IsobaricPhaseBoundaries.h>
#include <quarvessin/model/LiquidNaCl.h>
#include <quarvessin/model/NaClBoilingCurve.h>
#include <quarvessin/model/NaClSublimationCurve.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/NaClVapor.h>
#include <quarvessin/model/PhaseModelSet.h>
#include <quarvessin/model/PhaseProperties.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/Stateless.h>
#include <quarvessin/model/TPXHolder.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <ostream>

namespace quarvessin {

// The state of one program run: the section variables and the model objects
// bound to them. Units as in the model: t in degrees Celsius, p in bar, x as
// mole fraction of NaCl.
//
// The variables are declared first, so they exist before any object bound to
// them and outlive it. The model objects follow in their order of
// construction; C++ destroys members in the reverse order, on every way out of
// the scope that owns the run state. Objects hold pointers to the variables,
// so the run state can be neither copied nor moved.
struct RunState {
    RunState() = default;
    RunState(const RunState&) = delete;
    RunState& operator=(const RunState&) = delete;
    RunState(RunState&&) = delete;
    RunState& operator=(RunState&&) = delete;

    double t = 100.0;   // section temperature [C]
    double p = 100.0;   // section pressure [bar]
    double x = 0.01;    // composition, never changed during a run [mole fraction NaCl]
    double t2 = 100.0;  // second temperature, never changed during a run [C]

    // Model objects, in order of construction.
    NaClTriplePoint triplePoint;                     // triple point of NaCl (constants only)
    Stateless marker;                                // empty marker
    WaterCriticalPoint waterCritical;                // critical point of water (constants only)
    CriticalCurve critical{&t};                      // critical curve
    HaliteMelting melting{&t, &p};                   // halite melting curve
    NaClBoilingCurve boiling{&t, &p};                // NaCl boiling curve
    NaClSublimationCurve sublimation{&t, &p};        // halite sublimation curve
    Halite halite{&t, &p};                           // halite
    LiquidNaCl liquidNaCl{&t, &p};                   // liquid NaCl
    NaClVapor naclVapor{&t, &p};                     // NaCl vapour
    HaliteLiquidus liquidus{&t, &p};                 // halite liquidus
    PureWater water{&t, &p};                         // pure water
    HaliteLiquidVaporCurve hlv{&t};                  // three-phase curve
    HaliteSaturatedVapor haliteVapor{&t, &p};        // halite-saturated vapour
    VLLiquidBranch liquidBranch{&t, &p};             // liquid branch of the vapour-liquid surface
    VLVaporBranch vaporBranch{&t, &p};               // vapour branch of the vapour-liquid surface
    TPXHolder holder{&t, &p, &x};                    // first holder
    TPXHolder holder2{&t2, &p, &x};                  // second holder
    PhaseModelSet modelSet{&t, &p, &x};              // model set
    Fluid fluid{&t, &p, &x};                         // fluid
    IsobaricPhaseBoundaries boundaries{&t, &p, &x};  // phase-boundary solver
    PhaseProperties records[4];                      // four property records, never used

    // Directs every solver message of the run's model objects to `out`.
    void directMessages(std::ostream& out) {
        critical.messages = &out;
        boundaries.SetMessages(out);
    }
};

}  // namespace quarvessin
