#pragma once

#include <quarvessin/composition.h>

namespace quarvessin {

// Units of the H2O-NaCl model: temperature t in degrees Celsius, pressure p in
// bar, composition as mole fraction of NaCl, slopes per degree Celsius, molar
// volumes in cm3/mol, specific enthalpies in J/kg, heat capacities in J/(kg K).
//
// Every correlation class is bound at construction to variables of its owner
// (pointers, never owned) and caches its results for the last state it saw.
// Refresh compares the owner's current values with the cached ones by exact
// equality: the cache must be reused only when the inputs are bit for bit the
// ones it was computed for, and any change, however small, must recompute.
// A freshly constructed object is stale, so its first Refresh always computes.
namespace model_units {
constexpr double kelvinOffset = 273.15;   // K at 0 C
using quarvessin::molarMassH2O;           // [g/mol]
using quarvessin::molarMassNaCl;          // [g/mol]
constexpr double paToBar = 1e-05;         // [bar/Pa]
// Its inverse, stored: 1 / paToBar rounds to 99999.99999999999 [Pa/bar].
constexpr double barToPa = 100000.0;
}  // namespace model_units

}  // namespace quarvessin
