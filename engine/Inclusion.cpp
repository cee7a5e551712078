#include <quarvessin/composition.h>
#include <quarvessin/format.h>
#include <quarvessin/inclusion.h>
#include <quarvessin/isopleth.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "engine/IceMeltingSalinity.h"
#include "engine/Json.h"

namespace quarvessin {

namespace {

InclusionResult refuse(InclusionResult r, std::string reason) {
    r.accepted = false;
    r.refusal = std::move(reason);
    return r;
}

// Vapour pressure of pure water at tC, up to its critical temperature; not a
// number above it [bar].
double waterVaporPressure(double tC) {
    if (!(tC <= WaterCriticalPoint::Tc)) return NAN;
    double t = tC;
    double p = 1.0;
    PureWater water(&t, &p);
    return water.VaporPressure() * model_units::paToBar;
}

// The homogenisation pressure of a fluid of salinity w at th without halite,
// into r (pressure, curve, critical temperature and warnings).
void homogenize(InclusionResult& r, double th, double w, Homogenization mode) {
    // Pure water: its vapour pressure is both branches, its critical point the critical point.
    const bool pureWater = w == 0.0;
    switch (mode) {
        case Homogenization::Liquid:
        case Homogenization::Vapor: {
            const bool liquid = mode == Homogenization::Liquid;
            r.homogenizationCurve = liquid ? "bubble curve" : "dew curve";
            r.homogenizationPressure = pureWater ? waterVaporPressure(th)
                                       : liquid  ? bubblePressure(th, w)
                                                 : dewPressure(th, w);
            if (!std::isfinite(r.homogenizationPressure)) {
                r.warnings.push_back(
                    std::string("at Th ") + sixDigits(th) + " C the " +
                    (liquid ? "liquid" : "vapour") + " of the vapour-liquid surface never has " +
                    sixDigits(w) + " wt% NaCl: no " + (liquid ? "bubble" : "dew") +
                    " pressure (homogenisation to " + (liquid ? "liquid" : "vapor") +
                    " does not fit this salinity)");
            }
            return;
        }
        case Homogenization::Critical: {
            r.homogenizationCurve = "critical point";
            CompositionCriticalPoint cp;
            if (pureWater) {
                cp = {WaterCriticalPoint::Tc, WaterCriticalPoint::Pc, true};
            } else {
                cp = criticalPointOf(w);
            }
            if (!cp.found) {
                r.warnings.push_back("the critical curve never has " + sixDigits(w) +
                                     " wt% NaCl within the model's range: no critical point");
                return;
            }
            r.criticalTemperature = cp.tC;
            r.homogenizationPressure = cp.pBar;
            if (!(std::fabs(th - cp.tC) <= criticalTemperatureTolerance)) {
                r.warnings.push_back("critical homogenisation at Th " + sixDigits(th) + " C is " +
                                     sixDigits(std::fabs(th - cp.tC)) +
                                     " K from the critical temperature of " + sixDigits(w) +
                                     " wt% NaCl (" + sixDigits(cp.tC) +
                                     " C): Th and the salinity do not agree; the pressure is "
                                     "that of the critical point");
            }
            return;
        }
    }
}

std::string trappingStatement(const InclusionResult& r, const InclusionInput& in) {
    if (!r.th) {
        return "no Th: the minimum trapping temperature and pressure are not known";
    }
    const double th = *r.th;
    const double p = r.homogenizationPressure;
    if (r.haliteLast) {
        std::string s = "the bubble vanishes at Th " + sixDigits(th) + " C";
        if (std::isfinite(p)) s += " and " + sixDigits(p) + " bar (three-phase curve)";
        s += " with halite present; halite dissolves last at Tm halite " + sixDigits(*in.tmHalite) +
             " C, the minimum trapping temperature, at a pressure above the three-phase "
             "pressure there (" +
             sixDigits(r.threePhasePressureAtTmHalite) +
             " bar)"
             " that needs the isochore of the fluid, which the model does not have; the "
             "salinity is the liquidus at that three-phase pressure, " +
             sixDigits(r.wtPercent) + " wt%, and rises to " + sixDigits(r.wtPercentAt5000Bar) +
             " wt% at " + sixDigits(haliteLastPressureLimit) + " bar";
        return s;
    }
    if (!std::isfinite(p)) {
        return "Th " + sixDigits(th) +
               " C is the minimum trapping temperature; the homogenisation pressure, the minimum "
               "trapping pressure, is not known";
    }
    return "Th " + sixDigits(th) + " C and " + sixDigits(p) +
           " bar are the minimum trapping temperature and pressure: the inclusion was trapped on "
           "its isochore at or above them, and the trapping conditions themselves need that "
           "isochore, which the model does not have";
}

}  // namespace

const char* homogenizationWord(Homogenization mode) {
    switch (mode) {
        case Homogenization::Liquid:
            return "liquid";
        case Homogenization::Vapor:
            return "vapor";
        case Homogenization::Critical:
            return "critical";
    }
    return "";
}

std::optional<Homogenization> homogenizationFromWord(const std::string& word) {
    for (const Homogenization mode :
         {Homogenization::Liquid, Homogenization::Vapor, Homogenization::Critical}) {
        if (word == homogenizationWord(mode)) return mode;
    }
    return std::nullopt;
}

double molalityFromWtPercent(double wt) {
    constexpr double gramsPerKilogram = 1000.0;
    return gramsPerKilogram * wt / (molarMassNaCl * (100.0 - wt));
}

InclusionResult inclusionState(const InclusionInput& in) {
    InclusionResult r;
    r.th = in.th;
    r.mode = in.mode;
    auto notFinite = [](const std::optional<double>& v) { return v && !std::isfinite(*v); };
    if (notFinite(in.tmIce) || notFinite(in.tmHalite) || notFinite(in.wtPercent) ||
        notFinite(in.th)) {
        return refuse(r, "a measured value is not a finite number");
    }
    if (in.tmIce && *in.tmIce < iceNaClEutecticTemperature) {
        return refuse(r, "Tm ice " + sixDigits(*in.tmIce) +
                             " C is below the eutectic: not a binary H2O-NaCl fluid; the "
                             "eutectic is " +
                             sixDigits(iceNaClEutecticTemperature) + " C (valid: -21.2 to 0 C)");
    }
    if (in.tmIce && *in.tmIce > iceMeltingPureWater) {
        return refuse(r,
                      "Tm ice " + sixDigits(*in.tmIce) +
                          " C is above 0 C, the melting point of pure ice (valid: -21.2 to 0 C)");
    }
    if (in.tmHalite &&
        !(*in.tmHalite >= haliteLowestDissolution && *in.tmHalite <= NaClTriplePoint::Ttriple)) {
        return refuse(r, "Tm halite " + sixDigits(*in.tmHalite) +
                             " C is out of range (valid: 0.1 to 800.7 C, where halite is stable: "
                             "from the peritectic with hydrohalite up to its melting point)");
    }
    if (in.wtPercent && !(*in.wtPercent >= 0.0 && *in.wtPercent < 100.0)) {
        return refuse(r, "salinity " + sixDigits(*in.wtPercent) +
                             " wt% NaCl is out of range (valid: 0 to 100 wt%, 100 excluded)");
    }
    if (in.th && !(*in.th >= lowestHomogenization && *in.th <= highestHomogenization)) {
        return refuse(r, "Th " + sixDigits(*in.th) +
                             " C is out of range (valid: 0 to 1000 C, the range of the "
                             "correlations)");
    }
    if (!in.tmIce && !in.tmHalite && !in.wtPercent) {
        return refuse(r, "no salinity: give Tm ice, Tm halite or the salinity in wt%");
    }
    if (in.wtPercent && (in.tmIce || in.tmHalite)) {
        return refuse(r,
                      "a salinity in wt% and a Tm ice or Tm halite are two salinities: give one");
    }
    if (in.th && !in.mode) {
        return refuse(r, "Th needs the way the inclusion homogenises: liquid, vapor or critical");
    }
    if (in.mode && !in.th) {
        return refuse(r, std::string("homogenisation to ") + homogenizationWord(*in.mode) +
                             " needs its temperature Th");
    }
    r.accepted = true;

    // The salinity.
    double w;
    if (in.tmHalite) {
        const double tm = *in.tmHalite;
        r.salinityFrom = "tm_halite";
        r.threePhasePressureAtTmHalite = threePhasePressure(tm);
        w = liquidusComposition(tm, r.threePhasePressureAtTmHalite);
        r.haliteLast = in.th && tm > *in.th;
        if (r.haliteLast) r.wtPercentAt5000Bar = liquidusComposition(tm, haliteLastPressureLimit);
        if (in.tmIce) {
            const double wIce = iceMeltingSalinity(*in.tmIce);
            if (!(std::fabs(wIce - w) <= salinityAgreement)) {
                r.warnings.push_back("Tm ice " + sixDigits(*in.tmIce) + " C gives " +
                                     sixDigits(wIce) + " wt% NaCl, Tm halite " + sixDigits(tm) +
                                     " C gives " + sixDigits(w) +
                                     " wt%: the two disagree; the salinity is taken from Tm "
                                     "halite (ice cannot melt last in a fluid that holds halite)");
            }
        }
    } else if (in.tmIce) {
        r.salinityFrom = "tm_ice";
        w = iceMeltingSalinity(*in.tmIce);
    } else {
        r.salinityFrom = "wt";
        w = *in.wtPercent + 0.0;  // a typed -0 reads as 0
    }
    r.wtPercent = w;
    r.moleFraction = moleFraction(w);
    r.molality = molalityFromWtPercent(w);
    if (!std::isfinite(w)) {
        r.warnings.push_back("the salinity is not a finite number");
    }

    // The homogenisation pressure.
    if (in.th) {
        const double th = *in.th;
        if (r.haliteLast) {
            r.homogenizationCurve = "three-phase curve";
            r.homogenizationPressure = threePhasePressure(th);
            if (*in.mode != Homogenization::Liquid) {
                r.warnings.push_back(std::string("homogenisation to ") +
                                     homogenizationWord(*in.mode) + " at Th " + sixDigits(th) +
                                     " C with halite still present (Tm halite " +
                                     sixDigits(*in.tmHalite) +
                                     " C): the pressure is the three-phase pressure at Th");
            }
        } else {
            homogenize(r, th, w, *in.mode);
        }
        if (!in.tmHalite) {
            const double saturated = liquidusComposition(th, threePhasePressure(th));
            if (w > saturated) {
                r.warnings.push_back("the salinity " + sixDigits(w) +
                                     " wt% NaCl is above the halite saturation at Th " +
                                     sixDigits(th) + " C (" + sixDigits(saturated) +
                                     " wt% at the three-phase pressure), yet no Tm halite is "
                                     "given: halite would still be present at Th");
            }
        }
    }
    r.trapping = trappingStatement(r, in);
    return r;
}

std::string inclusionText(const InclusionResult& r) {
    if (!r.accepted) return "refused: " + r.refusal + "\n";
    const std::string from = r.salinityFrom == "tm_ice"      ? "the melting of ice"
                             : r.salinityFrom == "tm_halite" ? "the dissolution of halite"
                                                             : "the salinity as given";
    std::string s = "salinity " + sixDigits(r.wtPercent) + " wt% NaCl (mole fraction " +
                    sixDigits(r.moleFraction) + ", molality " + sixDigits(r.molality) +
                    " mol/kg), from " + from + "\n";
    if (r.haliteLast) {
        s += "halite dissolves last: " + sixDigits(r.wtPercent) +
             " wt% at the three-phase pressure (" + sixDigits(r.threePhasePressureAtTmHalite) +
             " bar) up to " + sixDigits(r.wtPercentAt5000Bar) + " wt% at " +
             sixDigits(haliteLastPressureLimit) + " bar\n";
    }
    if (r.th && r.mode) {
        s += std::string(*r.mode == Homogenization::Critical ? "critical homogenisation"
                         : *r.mode == Homogenization::Liquid ? "homogenisation to liquid"
                                                             : "homogenisation to vapor") +
             " at " + sixDigits(*r.th) + " C: " +
             (std::isfinite(r.homogenizationPressure) ? sixDigits(r.homogenizationPressure) + " bar"
                                                      : std::string("no pressure")) +
             " (" + r.homogenizationCurve + ")";
        if (*r.mode == Homogenization::Critical && std::isfinite(r.criticalTemperature)) {
            s += ", critical temperature " + sixDigits(r.criticalTemperature) + " C";
        }
        s += "\n";
    }
    s += "trapping: " + r.trapping + "\n";
    return s;
}

std::string inclusionJson(const InclusionResult& r) {
    const bool a = r.accepted;
    const auto text = [](bool known, const std::string& t) {
        return known ? json::Value(t) : json::Value();
    };
    json::Value warnings = json::Value::array();
    for (const std::string& w : r.warnings) warnings.push(w);
    const json::Value object =
        json::Value::object()
            .set("wt_percent", a ? r.wtPercent : NAN)
            .set("mole_fraction", a ? r.moleFraction : NAN)
            .set("molality", a ? r.molality : NAN)
            .set("salinity_from", text(a, r.salinityFrom))
            .set("homogenization_pressure_bar", a && r.th ? r.homogenizationPressure : NAN)
            .set("mode", text(a && r.th && r.mode, r.mode ? homogenizationWord(*r.mode) : ""))
            .set("wt_percent_at_5000_bar", a && r.haliteLast ? r.wtPercentAt5000Bar : NAN)
            .set("trapping", text(a, r.trapping))
            .set("warnings", std::move(warnings))
            .set("refusal", text(!a, r.refusal));
    return object.dump(2) + "\n";
}

}  // namespace quarvessin
