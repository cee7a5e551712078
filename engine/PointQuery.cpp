#include <quarvessin/composition.h>
#include <quarvessin/format.h>
#include <quarvessin/kinds.h>
#include <quarvessin/point.h>

#include <cmath>
#include <string>

#include "engine/PointModel.h"

namespace quarvessin {

namespace {

// "temperature 1001 C is out of range (valid: ...)", or "... is not a finite
// number (...)" for a value that is none.
std::string refusal(const std::string& quantity, double value, const std::string& unit,
                    const std::string& valid) {
    return quantity + " " + shortestNumber(value) + " " + unit +
           (std::isfinite(value) ? " is out of range" : " is not a finite number") +
           " (valid: " + valid + ")";
}

// Why a point query refuses temperature tC [C] and pressure pBar [bar];
// empty when it accepts them.
std::string conditionsRefusal(double tC, double pBar) {
    if (!(tC > absoluteZero && tC <= correlationMaxTemperature)) {
        return refusal("temperature", tC, "C",
                       "above " + shortestNumber(absoluteZero) + " C and up to " +
                           shortestNumber(correlationMaxTemperature) + " C");
    }
    if (!(pBar > 0.0 && pBar <= correlationMaxPressure)) {
        return refusal("pressure", pBar, "bar",
                       "above 0 and up to " + shortestNumber(correlationMaxPressure) + " bar");
    }
    return {};
}

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
    if (xMoleFraction) r.wtPercent = wtPercent(*xMoleFraction);
    r.refusal = conditionsRefusal(tC, pBar);
    if (!r.refusal.empty()) return r;
    if (xMoleFraction && !(*xMoleFraction >= 0.0 && *xMoleFraction <= 1.0)) {
        r.refusal = refusal("composition", *xMoleFraction, "mole fraction NaCl", "0 to 1");
        return r;
    }
    r.accepted = true;
    const std::string at = shortestNumber(tC) + " C";
    const std::string atPoint = at + " and " + shortestNumber(pBar) + " bar";
    if (tC < correlationMinTemperature) {
        r.warnings.push_back("temperature " + at + " lies outside " +
                             shortestNumber(correlationMinTemperature) + " to " +
                             shortestNumber(correlationMaxTemperature) +
                             " C, the range of the correlations");
    }

    // Fresh model objects for each query: re-entrant.
    PointModel model;
    const PointBoundaries& b = model.boundaries(tC, pBar);
    r.sublimationPressure = model.sublimationPressure();
    r.threePhasePressure = model.threePhasePressure();
    r.naclBoilingPressure = model.naclBoilingPressure();
    r.loopTopPressure = model.loopTopPressure(r.loopClosesAtPureWater);
    if (b.band == PressureBand::Unknown) {
        r.warnings.push_back(
            "at " + at +
            " the three-phase pressure, the sublimation pressure of halite or the boiling "
            "pressure of NaCl is not a finite number: the boundaries present cannot be told");
        return r;
    }
    if (b.band == PressureBand::Fluid && std::isnan(r.loopTopPressure)) {
        r.warnings.push_back("at " + at +
                             " the vapour pressure of water, the top of the vapour-liquid loop, "
                             "is not a number (below the triple point of water): no "
                             "vapour-liquid boundary");
    }

    // Each boundary present, with a warning where the correlation gives no
    // composition there.
    auto add = [&](const char* boundary, const char* phase, const char* description, double x,
                   unsigned outOfRangeBit) {
        r.boundaries.push_back(makeBoundary(boundary, phase, description, x));
        if (b.outOfRange & outOfRangeBit) {
            r.warnings.push_back(std::string("the ") + description + " at " + atPoint +
                                 " lies outside 0 to 100 wt% NaCl in the correlation: not a "
                                 "number here");
        } else if (!std::isfinite(x)) {
            r.warnings.push_back(std::string("the ") + description + " at " + atPoint +
                                 " is not a finite number");
        }
    };
    switch (b.band) {
        case PressureBand::VaporHalite:
            add("vapor+halite", "vapor", "halite-saturated vapor", b.xV, vaporOutOfRange);
            break;
        case PressureBand::ThreePhase:
            add("vapor+liquid+halite", "vapor", "vapor of the three-phase tie line", b.xV,
                vaporOutOfRange);
            add("vapor+liquid+halite", "liquid", "liquid of the three-phase tie line", b.xLH,
                haliteLiquidOutOfRange);
            break;
        case PressureBand::Fluid:
            if (b.loop) {
                add("liquid+vapor", "vapor", "vapor of the vapor-liquid surface", b.xV,
                    vaporOutOfRange);
                add("liquid+vapor", "liquid", "liquid of the vapor-liquid surface", b.xL,
                    liquidOutOfRange);
            }
            if (b.halite) {
                add("liquid+halite", "liquid", "halite-saturated liquid", b.xLH,
                    haliteLiquidOutOfRange);
            }
            break;
        case PressureBand::Unknown:
        case PressureBand::Vapor:
            break;
    }
    if (xMoleFraction) r.assemblage = assemblageName(classify(b, *xMoleFraction));
    return r;
}

PointResult queryPoint(double tC, double pBar, const CompositionInput& composition) {
    if (composition.unit == CompositionInput::Unit::MoleFraction) {
        return queryPoint(tC, pBar, std::optional<double>(composition.value));
    }
    const double wt = composition.value;
    if (!(wt >= 0.0 && wt <= 100.0)) {
        PointResult r;
        r.tC = tC;
        r.pBar = pBar;
        r.wtPercent = wt;
        r.refusal = conditionsRefusal(tC, pBar);
        if (r.refusal.empty()) r.refusal = refusal("composition", wt, "wt% NaCl", "0 to 100 wt%");
        return r;
    }
    PointResult r = queryPoint(tC, pBar, std::optional<double>(moleFraction(wt)));
    r.wtPercent = wt;  // as typed, not converted back
    return r;
}

}  // namespace quarvessin
