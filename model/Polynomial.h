// Polynomial evaluation shared by the correlation classes (internal header).
#pragma once

#include <cstddef>

namespace quarvessin {

// c[0] + c[1] x + ... + c[N-1] x^(N-1) by Horner's rule, highest power first:
// r = c[N-1], then r = r x + c[k] for k = N-2 down to 0. Every caller relies on
// exactly this order of operations (one multiplication, then one addition, per
// coefficient) for its results to the last bit.
template <std::size_t N>
constexpr double horner(const double (&c)[N], double x) {
    static_assert(N > 0, "a polynomial needs at least one coefficient");
    double r = c[N - 1];
    for (std::size_t k = N - 1; k-- > 0;) r = r * x + c[k];
    return r;
}

}  // namespace quarvessin
