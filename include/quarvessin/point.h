// The phase boundaries of H2O-NaCl at one temperature and pressure, and the
// stable assemblage of a mixture there, read from the model objects the
// sections use: up to 800.7 C the same numbers as the isothermal section's
// boundaries at that pressure, above it those of the isobaric section at that
// pressure (above its upper three-phase temperature). The assemblage is the
// one phaseState (<quarvessin/phase_state.h>) gives.
//
// Units: temperature in degrees Celsius, pressure in bar, composition as mole
// fraction NaCl (with its weight percent alongside).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quarvessin {

// One phase boundary crossing the isotherm at the queried pressure.
struct PointBoundary {
    // The section boundary it belongs to, spelt as in the file names:
    // "vapor+halite", "liquid+vapor", "liquid+halite" or, exactly at the
    // three-phase pressure, "vapor+liquid+halite".
    std::string boundary;
    std::string phase;          // the phase whose composition it is: "vapor" or "liquid"
    std::string description;    // e.g. "halite-saturated liquid"
    double moleFraction = 0.0;  // composition [mole fraction NaCl]
    double wtPercent = 0.0;     // composition [wt% NaCl]
};

struct PointResult {
    double tC = 0.0;        // temperature [C]
    double pBar = 0.0;      // pressure [bar]
    bool accepted = false;  // false when the point is refused; `refusal` says why
    std::string refusal;    // one sentence naming the value and its valid range

    // NaCl sublimation pressure at t, the isothermal section's lowest; not a
    // number above 800.7 C [bar]
    double sublimationPressure = 0.0;
    double threePhasePressure =
        0.0;  // vapour + liquid + halite at t; not a number above 800.7 C [bar]
    // Boiling pressure of liquid NaCl at t above 800.7 C, where vapour alone is
    // stable below it; not a number up to 800.7 C [bar]
    double naclBoilingPressure = 0.0;
    // Top of the vapour-liquid loop at t: the vapour pressure of water up to its
    // critical temperature (373.976 C), the critical pressure of the solution above
    // (not a number below the triple point of water, where no loop is reported) [bar].
    double loopTopPressure = 0.0;
    bool loopClosesAtPureWater = false;  // the loop top is the vapour pressure of water

    // The boundaries present at (t, p), from vapour-rich to NaCl-rich:
    // below the three-phase pressure the halite-saturated vapour (none below the
    // sublimation pressure of halite, where only vapour is stable); from it up
    // to the loop top the vapour and the liquid of the vapour-liquid surface;
    // from the three-phase pressure up the halite-saturated liquid. Exactly at
    // the three-phase pressure: the vapour and liquid corners of the tie line.
    // Above 800.7 C: the vapour-liquid surface from the boiling pressure of
    // NaCl up to the loop top, and the halite-saturated liquid where t is below
    // the melting point of halite at p. A composition the correlations put
    // outside 0 to 1 mole fraction is not a number, with a warning.
    std::vector<PointBoundary> boundaries;

    std::optional<double> moleFraction;  // the mixture asked about [mole fraction NaCl]
    std::optional<double> wtPercent;     // the same [wt% NaCl]
    // With a mixture: the stable assemblage as the isothermal section divides
    // the plane, spelt as in the file names: "vapor", "liquid",
    // "liquid+vapor", "liquid+halite", "vapor+halite",
    // "vapor+liquid+halite" (exactly at the three-phase pressure) or "halite"
    // (pure NaCl below its melting point). A composition on a boundary counts
    // to the single saturated phase. Above the critical pressure of the
    // solution the single fluid is called "liquid". Empty when a boundary it
    // depends on is not a finite number.
    std::string assemblage;

    // Remarks for a reader of the numbers (values that are not finite numbers,
    // a temperature outside the range of the correlations), one sentence each.
    std::vector<std::string> warnings;
};

// Refuses (accepted false) a temperature at or below absolute zero
// (-273.15 C) or above 1000 C, a pressure that is not positive or above
// 5000 bar, a composition outside 0 to 1 mole fraction, or any value that is
// not a finite number; the refusal names the value in its shortest exact form
// and the valid range. Re-entrant: each call builds its own model objects.
PointResult queryPoint(double tC, double pBar, std::optional<double> xMoleFraction = std::nullopt);

// A composition as a user types it.
struct CompositionInput {
    enum class Unit { WtPercent, MoleFraction };
    Unit unit = Unit::WtPercent;
    double value = 0.0;  // [wt% NaCl] or [mole fraction NaCl]
};

// The point query with a typed composition: refused (accepted false, with the
// reason) outside 0 to 100 wt% or 0 to 1 mole fraction; otherwise as above,
// with the composition as typed kept in the answer (a weight percent is not
// converted back from the mole fraction).
PointResult queryPoint(double tC, double pBar, const CompositionInput& composition);

}  // namespace quarvessin
