#pragma once

#include <iosfwd>

#include "IsobaricSection.h"
#include "RunState.h"

// Traces the isobaric section at state.p in which the vapour-liquid surface is
// stable, for the given case, over temperature up to 1000 C, and writes its
// boundary files (second column temperature [C]):
// - cases A and B: the vapour-liquid surface, the halite liquidus, the
//   vapour-liquid-halite tie lines and the vapour-halite surface, each file
//   announced on `out` once its first line is written;
// - case C2: the halite liquidus and the vapour-liquid surface through the
//   critical point, announced once both files are complete and closed.
// Returns false when a file could not be created or written (reported on
// `err`); the section then stops.
bool traceIsobaricSection(RunState& state, IsobaricCase section, std::ostream& out,
                          std::ostream& err);
