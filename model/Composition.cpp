#include <quarvessin/composition.h>

namespace quarvessin {

double wtPercent(double x) {
    return 100.0 * (molarMassNaCl * x) / ((1.0 - x) * molarMassH2O + molarMassNaCl * x);
}

double moleFraction(double wt) {
    const double nNaCl = wt / molarMassNaCl;
    return nNaCl / (nNaCl + (100.0 - wt) / molarMassH2O);
}

}  // namespace quarvessin
