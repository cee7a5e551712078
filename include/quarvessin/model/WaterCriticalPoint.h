#pragma once

namespace quarvessin {

// Critical point of pure water, as the H2O-NaCl model uses it: the start of
// the critical curve of the solution. Class-wide constants, no state.
class WaterCriticalPoint {
  public:
    static constexpr double Tc = 373.976;    // critical temperature [C]
    static constexpr double Pc = 220.54915;  // critical pressure [bar]
    static constexpr double Xc = 0.0;        // critical composition [mole fraction NaCl]
    static constexpr double rhoc = 321.89;   // critical density [kg/m3]
};

}  // namespace quarvessin
