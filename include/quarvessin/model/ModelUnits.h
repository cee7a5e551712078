#pragma once

#include <quarvessin/composition.h>

namespace quarvessin {

// Units of the H2O-NaCl model: temperature t in degrees Celsius, pressure p in
// bar, composition as mole fraction of NaCl, slopes per degree Celsius, molar
// volumes in cm3/mol, specific enthalpies in J/kg, heat capacities in J/(kg K).
// How the bound classes cache their results: <quarvessin/model/Caching.h>.
namespace model_units {
constexpr double kelvinOffset = 273.15;  // K at 0 C
using quarvessin::molarMassH2O;          // [g/mol]
using quarvessin::molarMassNaCl;         // [g/mol]
constexpr double paToBar = 1e-05;        // [bar/Pa]
// Its inverse, stored: 1 / paToBar rounds to 99999.99999999999 [Pa/bar].
constexpr double barToPa = 100000.0;
}  // namespace model_units

}  // namespace quarvessin
