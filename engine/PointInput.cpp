// The composition of a point query as a user types it.
#include <quarvessin/composition.h>
#include <quarvessin/format.h>
#include <quarvessin/point.h>

#include <cmath>

namespace quarvessin {

PointResult queryPoint(double tC, double pBar, const CompositionInput& composition) {
    const bool wt = composition.unit == CompositionInput::Unit::WtPercent;
    const double v = composition.value;
    const double top = wt ? 100.0 : 1.0;
    if (!(v >= 0.0 && v <= top)) {
        PointResult r;
        r.tC = tC;
        r.pBar = pBar;
        r.refusal = "composition " + shortestNumber(v) +
                    (wt ? " wt% NaCl is out of range (valid: 0 to 100 wt%)"
                        : " mole fraction NaCl is out of range (valid: 0 to 1)");
        return r;
    }
    PointResult r = queryPoint(tC, pBar, wt ? moleFraction(v) : v);
    if (wt && r.accepted) r.wtPercent = v;  // as typed, not converted back
    return r;
}

}  // namespace quarvessin
