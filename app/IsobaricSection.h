#pragma once

#include <iosfwd>

#include "BoundaryFile.h"
#include "RunState.h"

// Isobaric sections through H2O-NaCl at the run state's pressure p [bar]:
// the choice of the stable boundaries from p alone and the section in which
// only the halite liquidus is stable. The sections with the vapour-liquid
// surface are traced by IsobaricVLSection.h. Messages go to `out`; a file that
// cannot be created or written is reported on `err`.

// The three cases in which the vapour-liquid surface is stable at p.
enum class IsobaricCase {
    A,   // below the critical pressure of water: the loop closes at pure water
    B,   // below the three-phase maximum: the loop closes at the critical point
    C2,  // from the three-phase maximum up to the critical pressure at 1000 C
};

// Computes the isobaric section at state.p (1 to 5000 bar), writing its files
// into the current directory. Returns false when a file could not be created
// or written; the section then stops.
bool runIsobaricSection(RunState& state, std::ostream& out, std::ostream& err);

// Writes the liquidus file of a section above the three-phase maximum into
// `liquidus`: the halite-saturated liquid from 1 C in steps of 1 C up to the
// melting point of halite at p, then pure halite at that point. The file is
// left open for the caller to close. False when the file failed.
bool writeHighPressureLiquidus(RunState& state, BoundaryFile& liquidus);
