// Derivative records of WaterProps: creation and release.
#pragma once

#include <quarvessin/water.h>

namespace quarvessin {

namespace water_internal {

// Creates a zero-filled derivative record with all six children null; null
// when memory runs out.
PropDerivs* newDerivs();

// Releases a derivative record after its non-null children, depth first.
// Accepts null; always returns null.
PropDerivs* freeDerivs(PropDerivs* derivs);

}  // namespace water_internal

}  // namespace quarvessin
