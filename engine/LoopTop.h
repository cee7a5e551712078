#pragma once

#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/WaterCriticalPoint.h>

namespace quarvessin {

// The pressure at the top of the vapour-liquid loop at temperature t [C]: up
// to the critical temperature of water (373.976 C) the loop closes at pure
// water boiling at t, so the top is the vapour pressure of water (not a
// number below its triple point); above, it closes at the critical point of
// the solution, the critical pressure at t [bar]. `water` and `critical` must
// be bound to a temperature equal to t. Sets `closesAtPureWater` to which of
// the two it is.
inline double loopTop(double t, PureWater& water, CriticalCurve& critical,
                      bool& closesAtPureWater) {
    closesAtPureWater = t <= WaterCriticalPoint::Tc;
    if (closesAtPureWater) return water.VaporPressure() * model_units::paToBar;
    critical.Refresh();
    return critical.Pcrit;
}

}  // namespace quarvessin
