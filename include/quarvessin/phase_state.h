// The phase state of H2O-NaCl at any temperature, pressure and composition:
// the stable assemblage, the compositions of the coexisting phases and their
// mass fractions by the lever rule. The assemblage is the one the point query
// (<quarvessin/point.h>) names: both come from one classification over the
// boundaries of the isothermal section at the temperature (up to 800.7 C) or
// of the isobaric sections above their upper three-phase temperature (above).
//
// Units: temperature in degrees Celsius, pressure in bar, composition in
// weight percent NaCl.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quarvessin {

// The stable assemblage at a point; the integer codes are stable.
enum class Assemblage : std::uint8_t {
    Unknown,            // refused, or a boundary it depends on is not a number
    Vapor,              // vapour alone
    Liquid,             // liquid alone (also the single fluid above the critical pressure)
    LiquidVapor,        // liquid and vapour
    LiquidHalite,       // halite-saturated liquid and halite
    VaporHalite,        // halite-saturated vapour and halite
    VaporLiquidHalite,  // exactly on the three-phase curve: the tie line
    Halite,             // pure NaCl below its melting point
};

// The name of an assemblage as the point query spells it: "" (Unknown),
// "vapor", "liquid", "liquid+vapor", "liquid+halite", "vapor+halite",
// "vapor+liquid+halite", "halite".
const char* assemblageName(Assemblage assemblage);
// Every assemblage, in the order of its codes (Unknown first).
const std::vector<Assemblage>& assemblages();

struct PhaseState {
    Assemblage assemblage = Assemblage::Unknown;
    // Compositions of the vapour and of the liquid present [wt% NaCl], not a
    // number when the phase is absent (halite is pure NaCl, 100 wt%).
    double wtVapor;
    double wtLiquid;
    // Mass fractions of vapour, liquid and halite by the lever rule [-]: they
    // sum to 1 and the mixture's NaCl content is their weighted sum of the
    // phase compositions. On the three-phase tie line the composition does
    // not fix the three amounts; the fractions given are those just above the
    // three-phase pressure (vapour and liquid up to the liquid corner, liquid
    // and halite beyond it). All not a number when the assemblage is Unknown.
    double fractionVapor;
    double fractionLiquid;
    double fractionHalite;
};

// The phase state at temperature tC [C], pressure pBar [bar] and composition
// wt [wt% NaCl]. Unknown, with every number not a number, wherever the point
// query refuses the point (temperature at or below -273.15 C or above 1000 C,
// pressure not positive or above 5000 bar, composition outside 0 to 100 wt%,
// a value that is not a finite number) or names no assemblage. A composition
// on a boundary counts to the single saturated phase. Thread-safe: each
// thread reuses its own model objects.
PhaseState phaseState(double tC, double pBar, double wt);

// The phase states of n points (tC[i], pBar[i], wt[i]) into out[0..n), each
// equal to phaseState of the point. The work that depends on temperature
// alone, or on temperature and pressure, is shared between consecutive
// points with the same temperature (and pressure): order the points by
// temperature, then pressure, where that is cheap.
void phaseStates(const double* tC, const double* pBar, const double* wt, std::size_t n,
                 PhaseState* out);

}  // namespace quarvessin
