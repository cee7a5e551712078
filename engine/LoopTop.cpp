#include "engine/LoopTop.h"

#include <quarvessin/kinds.h>

namespace quarvessin {

double loopTopPressure(double tC, bool& closesAtPureWater) {
    double t = tC;
    double p = 1.0;  // read by neither evaluation [bar]
    PureWater water(&t, &p);
    CriticalCurve critical(&t);
    return loopTop(t, water, critical, closesAtPureWater);
}

}  // namespace quarvessin
