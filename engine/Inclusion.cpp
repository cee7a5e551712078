#include <quarvessin/composition.h>
#include <quarvessin/inclusion.h>
#include <quarvessin/isopleth.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "engine/IceMeltingSalinity.h"

namespace quarvessin {

namespace {

// printf's %g: six significant digits, for the texts.
std::string g6(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

// The shortest decimal text that reads back as exactly `value`, for json.
std::string shortest(double value) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

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
                    std::string("at Th ") + g6(th) + " C the " + (liquid ? "liquid" : "vapour") +
                    " of the vapour-liquid surface never has " + g6(w) + " wt% NaCl: no " +
                    (liquid ? "bubble" : "dew") + " pressure (homogenisation to " +
                    (liquid ? "liquid" : "vapor") + " does not fit this salinity)");
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
                r.warnings.push_back("the critical curve never has " + g6(w) +
                                     " wt% NaCl within the model's range: no critical point");
                return;
            }
            r.criticalTemperature = cp.tC;
            r.homogenizationPressure = cp.pBar;
            if (!(std::fabs(th - cp.tC) <= criticalTemperatureTolerance)) {
                r.warnings.push_back("critical homogenisation at Th " + g6(th) + " C is " +
                                     g6(std::fabs(th - cp.tC)) +
                                     " K from the critical temperature of " + g6(w) +
                                     " wt% NaCl (" + g6(cp.tC) +
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
        std::string s = "the bubble vanishes at Th " + g6(th) + " C";
        if (std::isfinite(p)) s += " and " + g6(p) + " bar (three-phase curve)";
        s += " with halite present; halite dissolves last at Tm halite " + g6(*in.tmHalite) +
             " C, the minimum trapping temperature, at a pressure above the three-phase "
             "pressure there (" +
             g6(r.threePhasePressureAtTmHalite) +
             " bar)"
             " that needs the isochore of the fluid, which the model does not have; the "
             "salinity is the liquidus at that three-phase pressure, " +
             g6(r.wtPercent) + " wt%, and rises to " + g6(r.wtPercentAt5000Bar) + " wt% at " +
             g6(haliteLastPressureLimit) + " bar";
        return s;
    }
    if (!std::isfinite(p)) {
        return "Th " + g6(th) +
               " C is the minimum trapping temperature; the homogenisation pressure, the minimum "
               "trapping pressure, is not known";
    }
    return "Th " + g6(th) + " C and " + g6(p) +
           " bar are the minimum trapping temperature and pressure: the inclusion was trapped on "
           "its isochore at or above them, and the trapping conditions themselves need that "
           "isochore, which the model does not have";
}

void appendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"') {
            out += "\\\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20 || u == 0x7f) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
            out += buffer;
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendJsonNumber(std::string& out, double value) {
    out += std::isfinite(value) ? shortest(value) : std::string("null");
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
        return refuse(r, "Tm ice " + g6(*in.tmIce) +
                             " C is below the eutectic: not a binary H2O-NaCl fluid; the "
                             "eutectic is " +
                             g6(iceNaClEutecticTemperature) + " C (valid: -21.2 to 0 C)");
    }
    if (in.tmIce && *in.tmIce > iceMeltingPureWater) {
        return refuse(r,
                      "Tm ice " + g6(*in.tmIce) +
                          " C is above 0 C, the melting point of pure ice (valid: -21.2 to 0 C)");
    }
    if (in.tmHalite &&
        !(*in.tmHalite >= haliteLowestDissolution && *in.tmHalite <= NaClTriplePoint::Ttriple)) {
        return refuse(r, "Tm halite " + g6(*in.tmHalite) +
                             " C is out of range (valid: 0.1 to 800.7 C, where halite is stable: "
                             "from the peritectic with hydrohalite up to its melting point)");
    }
    if (in.wtPercent && !(*in.wtPercent >= 0.0 && *in.wtPercent < 100.0)) {
        return refuse(r, "salinity " + g6(*in.wtPercent) +
                             " wt% NaCl is out of range (valid: 0 to 100 wt%, 100 excluded)");
    }
    if (in.th && !(*in.th >= lowestHomogenization && *in.th <= highestHomogenization)) {
        return refuse(r, "Th " + g6(*in.th) +
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
                r.warnings.push_back("Tm ice " + g6(*in.tmIce) + " C gives " + g6(wIce) +
                                     " wt% NaCl, Tm halite " + g6(tm) + " C gives " + g6(w) +
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
                                     homogenizationWord(*in.mode) + " at Th " + g6(th) +
                                     " C with halite still present (Tm halite " + g6(*in.tmHalite) +
                                     " C): the pressure is the three-phase pressure at Th");
            }
        } else {
            homogenize(r, th, w, *in.mode);
        }
        if (!in.tmHalite) {
            const double saturated = liquidusComposition(th, threePhasePressure(th));
            if (w > saturated) {
                r.warnings.push_back("the salinity " + g6(w) +
                                     " wt% NaCl is above the halite saturation at Th " + g6(th) +
                                     " C (" + g6(saturated) +
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
    std::string s = "salinity " + g6(r.wtPercent) + " wt% NaCl (mole fraction " +
                    g6(r.moleFraction) + ", molality " + g6(r.molality) + " mol/kg), from " + from +
                    "\n";
    if (r.haliteLast) {
        s += "halite dissolves last: " + g6(r.wtPercent) + " wt% at the three-phase pressure (" +
             g6(r.threePhasePressureAtTmHalite) + " bar) up to " + g6(r.wtPercentAt5000Bar) +
             " wt% at " + g6(haliteLastPressureLimit) + " bar\n";
    }
    if (r.th && r.mode) {
        s += std::string(*r.mode == Homogenization::Critical ? "critical homogenisation"
                         : *r.mode == Homogenization::Liquid ? "homogenisation to liquid"
                                                             : "homogenisation to vapor") +
             " at " + g6(*r.th) + " C: " +
             (std::isfinite(r.homogenizationPressure) ? g6(r.homogenizationPressure) + " bar"
                                                      : std::string("no pressure")) +
             " (" + r.homogenizationCurve + ")";
        if (*r.mode == Homogenization::Critical && std::isfinite(r.criticalTemperature)) {
            s += ", critical temperature " + g6(r.criticalTemperature) + " C";
        }
        s += "\n";
    }
    s += "trapping: " + r.trapping + "\n";
    return s;
}

std::string inclusionJson(const InclusionResult& r) {
    const bool a = r.accepted;
    std::string out = "{\n  \"wt_percent\": ";
    appendJsonNumber(out, a ? r.wtPercent : NAN);
    out += ",\n  \"mole_fraction\": ";
    appendJsonNumber(out, a ? r.moleFraction : NAN);
    out += ",\n  \"molality\": ";
    appendJsonNumber(out, a ? r.molality : NAN);
    out += ",\n  \"salinity_from\": ";
    if (a) {
        appendJsonString(out, r.salinityFrom);
    } else {
        out += "null";
    }
    out += ",\n  \"homogenization_pressure_bar\": ";
    appendJsonNumber(out, a && r.th ? r.homogenizationPressure : NAN);
    out += ",\n  \"mode\": ";
    if (a && r.th && r.mode) {
        appendJsonString(out, homogenizationWord(*r.mode));
    } else {
        out += "null";
    }
    out += ",\n  \"wt_percent_at_5000_bar\": ";
    appendJsonNumber(out, a && r.haliteLast ? r.wtPercentAt5000Bar : NAN);
    out += ",\n  \"trapping\": ";
    if (a) {
        appendJsonString(out, r.trapping);
    } else {
        out += "null";
    }
    out += ",\n  \"warnings\": [";
    for (std::size_t i = 0; i < r.warnings.size(); ++i) {
        out += i == 0 ? "\n    " : ",\n    ";
        appendJsonString(out, r.warnings[i]);
    }
    out += r.warnings.empty() ? "]" : "\n  ]";
    out += ",\n  \"refusal\": ";
    if (a) {
        out += "null";
    } else {
        appendJsonString(out, r.refusal);
    }
    out += "\n}\n";
    return out;
}

}  // namespace quarvessin
