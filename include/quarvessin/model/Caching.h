// The caching contract of the bound classes of the H2O-NaCl model.
//
// Every correlation class with a Refresh() (CriticalCurve, HaliteLiquidus,
// VLLiquidBranch, ...) is bound at construction to variables of its owner:
// pointers to the owner's temperature [C] and pressure [bar], never owned. It
// caches its results, in public fields, for the last state it saw:
//
// - Refresh() compares the owner's current values with the cached inputs by
//   exact equality. The cache must be reused only when the inputs are bit for
//   bit the ones it was computed for, and any change, however small, must
//   recompute: with a tolerance, results would depend on the order in which
//   states were visited. A not-a-number input never compares equal, so it
//   recomputes every time. (Hence no -Wfloat-equal.)
// - Every bound class has the public field `bool stale = true;`, so a freshly
//   constructed object is stale and its first Refresh always computes, even
//   where the cached inputs happen to equal the owner's values (they start
//   at the owner's value minus one, which for large values is the value
//   itself). Refresh clears it right after the comparison, before computing.
// - A refresh recomputes every cached field in one fixed order; members bound
//   to the object's own fields are refreshed after those fields are set.
// - Bound objects are neither copyable nor movable (= delete), so a binding
//   never dangles.
//
// This header declares nothing; it is the one place where the contract is
// written down, and the class headers refer to it.
#pragma once
