// Composition of H2O-NaCl mixtures: mole fraction and weight percent of NaCl.
#pragma once

namespace quarvessin {

constexpr double molarMassH2O = 18.015;   // [g/mol]
constexpr double molarMassNaCl = 58.443;  // [g/mol]

// NaCl content of a mixture of mole fraction x of NaCl [wt%].
double wtPercent(double x);
// Mole fraction of NaCl of a mixture holding wt percent NaCl [-].
double moleFraction(double wt);

}  // namespace quarvessin
