#pragma once

#include "engine/BoundaryTrace.h"

namespace quarvessin {

// Traces the isoplethal section of a fluid of wt percent NaCl (0 < wt < 100)
// in the pressure-temperature plane, 0 to 1000 C: the boundaries where a
// fluid of that composition changes its assemblage, each where it exists,
// in the order
// - "liquid+vapor_": the vapour + liquid surface at wt: the bubble curve
//   (liquid branch, from 0 C or the three-phase curve up to the critical
//   point of wt or 1000 C) and the dew curve (vapour branch, from the
//   critical point up, and at low pressure near the three-phase and NaCl
//   boiling curves), each piece told its branch;
// - "liquid+halite_": the halite liquidus at wt, from the three-phase curve
//   up to 5000 bar;
// - "vapor+liquid+halite_": the three-phase curve where a fluid of wt lies
//   within its tie line (its vapour poorer than wt), the lower bound of the
//   liquid-bearing fields;
// - "vapor+halite_": where the halite-saturated vapour has composition wt.
// File names are prefix, wt and "wt.dat" (liquid+vapor_10.000000wt.dat).
// Every point is (temperature [C], pressure [bar]), written with writeRaw:
// Point::wtPercent carries the temperature and Point::value the pressure.
// The console gets the list of boundaries present and each file's
// announcement. A wt outside (0, 100) or not a number traces nothing.
// Returns false when the sink stopped the section.
bool traceIsoplethSection(double wt, SectionTracer& tr);

}  // namespace quarvessin
