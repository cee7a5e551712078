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
// - Every field a refresh computes starts at 0.0 (a member initialiser in the
//   class); the constructor sets only the bindings and the primed inputs.
//
// This header is the one place where the contract is written down, and the
// class headers refer to it; BeginRefresh below is the guard every Refresh
// starts with.
#pragma once

namespace quarvessin {
namespace caching {

// The start of a Refresh bound to one input: false where the object is not
// stale and its cached input equals the owner's value exactly (the cache
// holds; nothing to do). Otherwise the object is no longer stale and true is
// returned: the caller copies the input and computes.
inline bool BeginRefresh(bool& stale, double cached, const double* owner) {
    if (!stale && cached == *owner) return false;
    stale = false;
    return true;
}

// The same for two inputs, temperature and pressure: the cache holds only
// where both equal the owner's values.
inline bool BeginRefresh(bool& stale, double cachedT, const double* ownerT, double cachedP,
                         const double* ownerP) {
    if (!stale && cachedT == *ownerT && cachedP == *ownerP) return false;
    stale = false;
    return true;
}

}  // namespace caching
}  // namespace quarvessin
