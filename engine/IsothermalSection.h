#pragma once

#include "engine/BoundaryTrace.h"
#include "engine/RunState.h"

namespace quarvessin {

// Traces the isothermal section at the run state's temperature t (below the
// NaCl triple point, 800.7 C) over pressure, as four boundaries (second
// column pressure [bar]): the vapour-halite surface from the sublimation
// pressure of halite to the three-phase pressure (in scientific notation), the
// three-phase tie line, the halite liquidus up to 5000 bar, and the
// vapour-liquid loop closing at the vapour pressure of water (t up to
// 373.976 C) or at the critical point of the solution (above). Each boundary
// is announced on the console once its first line is written. With `fine`,
// the vapour-halite surface is sampled evenly in log p instead. Returns false
// when the sink stopped the section.
bool runIsothermalSection(RunState& state, SectionTracer& tr, bool fine = false);

}  // namespace quarvessin
