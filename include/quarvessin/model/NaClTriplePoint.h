#pragma once

namespace quarvessin {

// Triple point of pure NaCl (halite + liquid NaCl + NaCl vapour): the sublimation
// and boiling curves of NaCl start here and the three-phase curve of the
// H2O-NaCl system ends here. Class-wide constants, no state.
class NaClTriplePoint {
  public:
    static constexpr double Ttriple = 800.7;   // triple-point temperature [C]
    static constexpr double Ptriple = 0.0005;  // triple-point pressure [bar]
};

}  // namespace quarvessin
