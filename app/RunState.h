#pragma once

#include "NaClTriplePoint.h"
#include "Stateless.h"
#include "WaterCriticalPoint.h"

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
    int choice = 0;     // menu answer: 1 isobaric, 2 isothermal section

    // Model objects, in order of construction.
    NaClTriplePoint triplePoint;       // triple point of NaCl (constants only)
    Stateless marker;                  // empty marker
    WaterCriticalPoint waterCritical;  // critical point of water (constants only)
    // The bound model objects join here, in this order, as their classes are
    // built: critical curve (t); halite melting curve (t, p); NaCl boiling
    // curve (t, p); halite sublimation curve (t, p); halite (t, p); liquid NaCl
    // (t, p); NaCl vapour (t, p); halite liquidus (t, p); pure water (t, p);
    // three-phase curve (t); halite-saturated vapour (t, p); liquid branch of
    // the vapour-liquid surface (t, p); vapour branch (t, p); first holder
    // (t, p, x); second holder (t2, p, x); model set (t, p, x); fluid (t, p, x);
    // isobaric phase-boundary solver (t, p, x); four property records.
};
