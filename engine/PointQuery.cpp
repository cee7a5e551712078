#include <quarvessin/composition.h>
#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClSublimationCurve.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/model/WaterCriticalPoint.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace quarvessin {

namespace {

// The range of temperatures the phase-relation correlations were fitted to [C].
constexpr double lowestFittedTemperature = 0.0;
constexpr double highestFittedTemperature = 1000.0;

std::string number(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

// The model objects of an isothermal section, bound to (t, p).
struct PointState {
    explicit PointState(double tC) : t(tC) {}
    PointState(const PointState&) = delete;
    PointState& operator=(const PointState&) = delete;

    double t;        // temperature [C]
    double p = 1.0;  // pressure [bar]
    CriticalCurve critical{&t};
    NaClSublimationCurve sublimation{&t, &p};
    HaliteLiquidus liquidus{&t, &p};
    PureWater water{&t, &p};
    HaliteLiquidVaporCurve hlv{&t};
    HaliteSaturatedVapor haliteVapor{&t, &p};
    VLLiquidBranch liquidBranch{&t, &p};
    VLVaporBranch vaporBranch{&t, &p};
};

PointBoundary makeBoundary(const char* boundary, const char* phase, const char* description,
                           double x) {
    return {boundary, phase, description, x, wtPercent(x)};
}

}  // namespace

PointResult queryPoint(double tC, double pBar, std::optional<double> xMoleFraction) {
    PointResult r;
    r.tC = tC;
    r.pBar = pBar;
    r.moleFraction = xMoleFraction;
    if (!std::isfinite(tC) || !(tC < maxSectionTemperature)) {
        r.refusal = "temperature " + number(tC) + " C is out of range (valid: below " +
                    number(maxSectionTemperature) + " C)";
        return r;
    }
    if (!std::isfinite(pBar) || !(pBar > 0.0)) {
        r.refusal = "pressure " + number(pBar) + " bar is out of range (valid: above 0 bar)";
        return r;
    }
    if (xMoleFraction && !(*xMoleFraction >= 0.0 && *xMoleFraction <= 1.0)) {
        r.refusal = "composition " + number(*xMoleFraction) +
                    " mole fraction NaCl is out of range (valid: 0 to 1)";
        return r;
    }
    r.accepted = true;
    if (xMoleFraction) r.wtPercent = wtPercent(*xMoleFraction);
    if (tC < lowestFittedTemperature || tC > highestFittedTemperature) {
        r.warnings.push_back("temperature " + number(tC) +
                             " C lies outside 0 to 1000 C, the range of the correlations");
    }

    PointState s(tC);
    s.hlv.Refresh();
    const double p3 = s.hlv.P;
    s.sublimation.Refresh();
    const double pSub = s.sublimation.Psub;
    r.loopClosesAtPureWater = tC <= WaterCriticalPoint::Tc;
    double pTop;
    if (r.loopClosesAtPureWater) {
        pTop = s.water.VaporPressure() * model_units::paToBar;
    } else {
        s.critical.Refresh();
        pTop = s.critical.Pcrit;
    }
    r.sublimationPressure = pSub;
    r.threePhasePressure = p3;
    r.loopTopPressure = pTop;
    if (!std::isfinite(p3) || !std::isfinite(pSub) || !std::isfinite(pTop)) {
        r.warnings.push_back(
            "at " + number(tC) +
            " C the three-phase pressure, the sublimation pressure of halite or the top of the "
            "vapour-liquid loop is not a finite number: the boundaries present cannot be told");
        return r;
    }

    s.p = pBar;
    const double p = pBar;
    const bool belowSublimation = p < pSub;
    const bool belowThreePhase = p < p3;
    const bool atThreePhase = p == p3;
    const bool inLoop = p > p3 && p < pTop;
    double xV = NAN, xL = NAN, xLH = NAN;  // vapour, liquid, halite-saturated liquid
    if (belowThreePhase && !belowSublimation) {
        s.haliteVapor.Refresh();
        xV = s.haliteVapor.xVH;
        r.boundaries.push_back(makeBoundary("vapor+halite", "vapor", "halite-saturated vapor", xV));
    } else if (atThreePhase) {
        s.haliteVapor.Refresh();
        s.liquidus.Refresh();
        xV = s.haliteVapor.xVH;
        xLH = s.liquidus.xL;
        r.boundaries.push_back(
            makeBoundary("vapor+liquid+halite", "vapor", "vapor of the three-phase tie line", xV));
        r.boundaries.push_back(makeBoundary("vapor+liquid+halite", "liquid",
                                            "liquid of the three-phase tie line", xLH));
    } else if (!belowThreePhase) {
        if (inLoop) {
            s.vaporBranch.Refresh();
            s.liquidBranch.Refresh();
            xV = s.vaporBranch.X;
            xL = s.liquidBranch.X;
            r.boundaries.push_back(
                makeBoundary("liquid+vapor", "vapor", "vapor of the vapor-liquid surface", xV));
            r.boundaries.push_back(
                makeBoundary("liquid+vapor", "liquid", "liquid of the vapor-liquid surface", xL));
        }
        s.liquidus.Refresh();
        xLH = s.liquidus.xL;
        r.boundaries.push_back(
            makeBoundary("liquid+halite", "liquid", "halite-saturated liquid", xLH));
    }
    for (const PointBoundary& b : r.boundaries) {
        if (!std::isfinite(b.moleFraction)) {
            r.warnings.push_back("the " + b.description + " at " + number(tC) + " C and " +
                                 number(pBar) + " bar is not a finite number");
        }
    }
    if (!xMoleFraction) return r;

    // The assemblage: a composition on a boundary counts to the saturated phase.
    const double x = *xMoleFraction;
    auto finite = [](double v) { return std::isfinite(v); };
    if (belowSublimation) {
        r.assemblage = "vapor";
    } else if (belowThreePhase) {
        if (finite(xV)) r.assemblage = x <= xV ? "vapor" : "vapor+halite";
    } else if (atThreePhase) {
        if (finite(xV)) r.assemblage = x <= xV ? "vapor" : "vapor+liquid+halite";
    } else if (inLoop) {
        if (finite(xV) && finite(xL) && finite(xLH)) {
            r.assemblage = x <= xV    ? "vapor"
                           : x < xL   ? "liquid+vapor"
                           : x <= xLH ? "liquid"
                                      : "liquid+halite";
        }
    } else if (finite(xLH)) {
        r.assemblage = x <= xLH ? "liquid" : "liquid+halite";
    }
    return r;
}

}  // namespace quarvessin
