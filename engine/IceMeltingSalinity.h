// Salinity of an H2O-NaCl fluid from the temperature at which its last ice
// melts: the one formula of quarvessin that is not part of the phase-relation
// model, kept apart from the model's classes.
#pragma once

namespace quarvessin {

// Eutectic of ice + hydrohalite + liquid in H2O-NaCl: the lowest temperature
// at which ice melts in a binary H2O-NaCl fluid, and the lower end of the fit
// below [C].
constexpr double iceNaClEutecticTemperature = -21.2;
// Melting point of pure ice at 1 bar, the upper end of the fit [C].
constexpr double iceMeltingPureWater = 0.0;

// NaCl content of the liquid in which the last ice melts at tmIce, from the
// published 1993 fit of the freezing-point depression of H2O-NaCl solutions,
// a cubic in the depression -tmIce, fitted from 0 C down to the eutectic at
// -21.2 C (0 to 23.18 wt%). Evaluated at any input without a range check
// [wt% NaCl].
double iceMeltingSalinity(double tmIce);

}  // namespace quarvessin
