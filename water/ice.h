// Phase boundaries of the ices of water: the IAPWS (1993) equations for the
// melting and sublimation pressures of ordinary water substance.
#pragma once

namespace quarvessin {

namespace water_internal {

// Sublimation pressure of ice Ih at T [K] [MPa].
double sublimationPressure(double T);

// Melting pressure of ice Ih at T [K] [MPa].
double meltingPressureIh(double T);

// Melting pressure of the high-pressure ices III (below 256.164 K), V (to
// 273.31 K), VI (to 355 K) and VII (above) at T [K] [MPa]. The outer branches
// are continued beyond their ice's range.
double meltingPressureHigh(double T);

}  // namespace water_internal

}  // namespace quarvessin
