// Volume law of liquid NaCl (internal header of the model), shared by the
// liquid itself and by the melting curve, which needs its pressure slope at
// the melting point.
#pragma once

namespace quarvessin {
namespace liquid_nacl_volume {

// V(t, p) = V0(t) (1 - lawFactor ln(1 + pressureFactor p b(t))) with the volume
// at zero pressure V0(t) = V0a + V0b t + V0c t^2 and the pressure coefficient
// b(t) = b0 + b1 t, t in C, p in bar.
constexpr double V0a = 23.772;           // [cm3/mol]
constexpr double V0b = 0.018639;         // [cm3/(mol C)]
constexpr double V0c = -1.9687e-06;      // [cm3/(mol C2)]
constexpr double b0 = -1.5259e-05;       // [1/bar]
constexpr double b1 = 5.5058e-08;        // [1/(bar C)]
constexpr double lawFactor = 0.1;        // factor of the logarithm [-]
constexpr double pressureFactor = 10.0;  // factor of p b inside the logarithm [-]

}  // namespace liquid_nacl_volume
}  // namespace quarvessin
