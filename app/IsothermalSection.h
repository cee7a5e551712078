#pragma once

#include <iosfwd>

#include "RunState.h"

// Computes the isothermal section at the run state's temperature t (below the
// NaCl triple point, 800.7 C) over pressure and writes its four boundary files
// (second column pressure [bar]): the vapour-halite surface from the
// sublimation pressure of halite to the three-phase pressure (in scientific
// notation), the three-phase tie line, the halite liquidus up to 5000 bar, and
// the vapour-liquid loop closing at the vapour pressure of water (t up to
// 373.976 C) or at the critical point of the solution (above). Each file is
// announced on `out` once its first line is written. Returns false when a
// file could not be created or written (reported on `err`); the section then
// stops.
bool runIsothermalSection(RunState& state, std::ostream& out, std::ostream& err);
