#pragma once

#include "engine/BoundaryTrace.h"
#include "engine/RunState.h"

namespace quarvessin {

// Traces the isobaric section at state.p in which the vapour-liquid surface is
// stable, for the given case (A, B or C2), over temperature up to 1000 C
// (second column temperature [C]):
// - cases A and B: the vapour-liquid surface, the halite liquidus, the
//   vapour-liquid-halite tie lines and the vapour-halite surface, each
//   announced on the console once its first line is written;
// - case C2: the halite liquidus and the vapour-liquid surface through the
//   critical point, announced once both are complete and closed.
// Returns false when the sink stopped the section.
bool traceIsobaricSection(RunState& state, IsobaricCase section, SectionTracer& tr);

}  // namespace quarvessin
