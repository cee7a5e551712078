// How every front end names and draws the boundaries and phase fields of a
// section: stable identities, short labels, legend texts and colours.
#pragma once

#include <quarvessin/section.h>

#include <string_view>
#include <vector>

namespace quarvessin {

// The identity of a kind of boundary, the same on every section.
struct BoundaryStyle {
    const char* id;      // stable name: "vapor+liquid", "liquidus", "three-phase", "vapor+halite"
    const char* label;   // short label: VL, LH, VLH, VH
    const char* legend;  // legend text: "vapour + liquid"
    const char* colour;  // "#1f5fbf"
    bool dots;           // its pieces of a few points (tie lines) are drawn with the points marked
};

// Every boundary identity, in legend order.
const std::vector<BoundaryStyle>& boundaryStyles();
// The identity of a boundary from its file prefix without the underscore
// ("liquid+vapor" and "vapor+liquid" are one boundary), or null.
const BoundaryStyle* styleOfPhases(std::string_view phases);
// The identity with this stable name, or null.
const BoundaryStyle* styleOfId(std::string_view id);

// "vapor", "liquid", "loop" or "" (Branch::None).
const char* branchName(Branch branch);

// The short label of an assemblage as queryPoint spells it: "liquid+halite"
// is "L+H", "vapor" "V"; an unknown spelling gives "".
const char* assemblageLabel(std::string_view assemblage);

}  // namespace quarvessin
