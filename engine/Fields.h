#pragma once

#include <quarvessin/section.h>

#include <vector>

namespace quarvessin {

// The phase fields of an accepted section with a place for each label: the
// plane of the section (wt% NaCl from 0 to 100 across; temperature or
// logarithmic pressure over the extent of the boundaries up) is divided into
// a grid of cells, each classified at its centre by phaseStates (the
// assemblage queryPoint names); each
// connected region of one assemblage wide enough to hold a label gets one,
// at the cell of the region farthest from its edges (the region's
// boundaries and the plot's). So every label names the assemblage queryPoint
// gives at its place.
std::vector<Field> placeFields(const Section& section);

}  // namespace quarvessin
