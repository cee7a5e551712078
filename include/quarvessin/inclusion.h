// Fluid inclusions: the salinity of an H2O-NaCl inclusion and its pressure at
// homogenisation, from what a heating-freezing stage measures: the temperature
// at which the last ice melts (Tm ice), the temperature at which a halite cube
// dissolves (Tm halite) and the temperature at which the inclusion
// homogenises (Th), to liquid, to vapour or critically.
//
// The salinity from Tm ice comes from the 1993 fit of the freezing-point
// depression (the one formula outside the phase-relation model); everything
// else from the model: the salinity from Tm halite is the composition of the
// halite-saturated liquid, the homogenisation pressure a point of the bubble
// curve, the dew curve or the critical curve at the inclusion's salinity, or
// of the three-phase curve while halite is present. The pressure at which a
// halite cube dissolves after the bubble has gone, and any trapping pressure
// above the homogenisation pressure, need the fluid's isochore, which the
// model does not have.
//
// Units: temperature in degrees Celsius, pressure in bar, salinity in wt% NaCl
// (with its mole fraction and molality).
#pragma once

#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace quarvessin {

// How the inclusion homogenises at Th: the bubble vanishes (to liquid), the
// liquid vanishes (to vapour), or the meniscus fades at the critical point.
enum class Homogenization { Liquid, Vapor, Critical };

// "liquid", "vapor" or "critical".
const char* homogenizationWord(Homogenization mode);
// The mode a word names ("liquid", "vapor", "critical"), or nothing.
std::optional<Homogenization> homogenizationFromWord(const std::string& word);

// Lower end of the temperatures at which halite dissolves: the peritectic
// hydrohalite = halite + liquid, below which halite is not stable [C].
constexpr double haliteLowestDissolution = 0.1;
// Pressure up to which the salinity of an inclusion whose halite dissolves
// last is followed along the liquidus: the top of the model's range [bar].
constexpr double haliteLastPressureLimit = 5000.0;
// A critical homogenisation more than this far from the critical temperature
// of the inclusion's salinity is reported as inconsistent [K].
constexpr double criticalTemperatureTolerance = 5.0;
// Two salinities (from Tm ice and Tm halite) differing by more than this are
// reported as inconsistent [wt% NaCl].
constexpr double salinityAgreement = 0.5;
// Range of homogenisation temperatures: the range of the correlations [C].
constexpr double lowestHomogenization = 0.0;
constexpr double highestHomogenization = 1000.0;

// What was measured on one inclusion; a value not measured stays empty.
struct InclusionInput {
    std::optional<double> tmIce;         // last ice melts [C], -21.2 to 0
    std::optional<double> tmHalite;      // halite dissolves [C], 0.1 to 800.7
    std::optional<double> wtPercent;     // salinity given directly [wt% NaCl], 0 to 100 (excluded)
    std::optional<double> th;            // homogenisation temperature [C], 0 to 1000
    std::optional<Homogenization> mode;  // how it homogenises; needed with th
};

// Not a number: the value of a result field that is not known.
constexpr double inclusionUnknown = std::numeric_limits<double>::quiet_NaN();

struct InclusionResult {
    bool accepted = false;  // false when the input is refused; `refusal` says why
    std::string refusal;    // one sentence naming the value and its valid range

    double wtPercent = inclusionUnknown;     // salinity [wt% NaCl]
    double moleFraction = inclusionUnknown;  // salinity [mole fraction NaCl]
    double molality = inclusionUnknown;      // salinity [mol NaCl per kg H2O]
    // The measurement the salinity comes from: "tm_ice", "tm_halite" or "wt".
    std::string salinityFrom;

    std::optional<double> th;            // homogenisation temperature, when given [C]
    std::optional<Homogenization> mode;  // how it homogenises, when Th is given
    // Pressure at homogenisation, the minimum trapping pressure: on the bubble
    // curve (to liquid), the dew curve (to vapour) or at the critical point of
    // the salinity; on the three-phase curve at Th when halite is still present
    // there. Not a number without Th or where the curve does not reach Th [bar].
    double homogenizationPressure = inclusionUnknown;
    // The curve the homogenisation pressure lies on: "bubble curve", "dew
    // curve", "critical point" or "three-phase curve"; empty without Th.
    std::string homogenizationCurve;
    double criticalTemperature =
        inclusionUnknown;  // critical temperature of the salinity, mode critical [C]

    // Halite dissolves last (Tm halite above Th): the salinity is the liquidus
    // at the three-phase pressure at Tm halite, a lower bound; this is the
    // liquidus at Tm halite and 5000 bar, an upper bound (not a number
    // otherwise) [wt% NaCl].
    bool haliteLast = false;
    double wtPercentAt5000Bar = inclusionUnknown;
    double threePhasePressureAtTmHalite =
        inclusionUnknown;  // with Tm halite [bar], else not a number

    // What the numbers mean for the trapping conditions: Th and the
    // homogenisation pressure are minima of the trapping temperature and
    // pressure (and, with halite dissolving last, what needs an isochore).
    std::string trapping;
    // Inconsistent or doubtful inputs, and values the model does not give,
    // one sentence each.
    std::vector<std::string> warnings;
};

// The salinity and homogenisation pressure of an inclusion. Refused (accepted
// false): a Tm ice below the eutectic (-21.2 C: not a binary H2O-NaCl fluid)
// or above 0 C; a Tm halite outside 0.1 to 800.7 C; a salinity outside 0 to
// 100 wt% (100 excluded); a Th outside 0 to 1000 C; a value that is not a
// finite number; and the inconsistent subsets: no salinity at all (neither
// Tm ice, Tm halite nor wt), wt together with a Tm, Th without its mode or a
// mode without Th. With both Tm ice and Tm halite the salinity is Tm halite's
// (ice cannot melt last in a fluid saturated with halite at room
// temperature), with a warning when the two differ. Re-entrant.
InclusionResult inclusionState(const InclusionInput& input);

// molality of a solution holding wt percent NaCl [mol NaCl per kg H2O]
double molalityFromWtPercent(double wt);

// An answered inclusion as text for a reader, ending in "\n": the salinity
// (wt%, mole fraction, molality) and its measurement, the homogenisation
// pressure with its curve, the halite-last bounds, and the trapping
// statement; numbers to six significant digits. Warnings are not part of it.
// A refused inclusion gives its refusal as one line.
std::string inclusionText(const InclusionResult& result);

// An inclusion as one json object (indented by two), ending in "\n":
// "wt_percent", "mole_fraction", "molality", "salinity_from",
// "homogenization_pressure_bar", "mode" ("liquid", "vapor", "critical" or
// null), "wt_percent_at_5000_bar" (halite dissolving last, else null),
// "trapping", "warnings" and "refusal" (null when answered). Numbers in
// shortest round-trip form, null when not finite or not known.
std::string inclusionJson(const InclusionResult& result);

}  // namespace quarvessin
