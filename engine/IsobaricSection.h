#pragma once

#include "engine/BoundaryTrace.h"
#include "engine/RunState.h"

namespace quarvessin {

// Isobaric sections through H2O-NaCl at the run state's pressure p [bar]:
// the choice of the stable boundaries from p alone (see isobaricCase) and the
// section in which only the halite liquidus is stable. The sections with the
// vapour-liquid surface are traced by IsobaricVLSection.h. Boundaries and
// console text go to the tracer's sink.

// The case of the section at p, 1 to 5000 bar, using the run state's model
// objects.
IsobaricCase chooseIsobaricCase(RunState& state);

// Traces the isobaric section at state.p (1 to 5000 bar). Returns false when
// the sink stopped it.
bool runIsobaricSection(RunState& state, SectionTracer& tr);

// Traces the liquidus of a section above the three-phase maximum into
// `liquidus`: the halite-saturated liquid from 1 C in steps of 1 C up to the
// melting point of halite at p, then pure halite at that point. The boundary
// is left open for the caller to close. False when the sink stopped it.
bool writeHighPressureLiquidus(RunState& state, BoundaryTrace& liquidus);

}  // namespace quarvessin
