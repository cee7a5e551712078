#include <quarvessin/model/NaClVapor.h>

#include <cmath>

#include <quarvessin/model/ModelUnits.h>

namespace quarvessin {

namespace {
constexpr double R = 8.314472;  // gas constant [J/(mol K)]
}  // namespace

// The molar heat capacity is
//   cp = 0.142535 sqrt(T) + 34.6061 - 13.4547 exp(-0.00895152 T) - 0.00118792 T  [J/(mol K)]
// and the enthalpy its integral from 273.15 K. The integration constants are
// stored: 9452.656214999999 = 34.6061 * 273.15, -2.445107688 = -0.00895152 * 273.15,
// 44.315903528099994 = 0.00059396 * 273.15^2, 0.00059396 = 0.00118792 / 2 and
// 0.09502333333333332 = 0.142535 * 2/3.

NaClVapor::NaClVapor(double* tPtr, double* pPtr)
    : tPtr(tPtr),
      pPtr(pPtr),
      T(0.0),
      t(*tPtr - 1.0),
      p(*pPtr - 1.0),
      rho(0.0),
      Vm(0.0),
      h(0.0),
      cp(0.0) {}

void NaClVapor::Refresh() {
    if (!stale && t == *tPtr && p == *pPtr) return;
    stale = false;
    t = *tPtr;
    T = t + model_units::kelvinOffset;
    p = *pPtr;
    Vm = MolarVolume(&T, &p);
    rho = model_units::molarMassNaCl / Vm * 1000.0;
    cp = HeatCapacity(&T);
    h = Enthalpy(&T);
}

double NaClVapor::MolarVolume(const double* TArg, const double* pArg) const {
    // J/(mol bar) times 10 gives cm3/mol.
    return *TArg * R / *pArg * 10.0;
}

double NaClVapor::HeatCapacity(const double* TArg) const {
    const double Tv = *TArg;
    return (0.142535 * std::sqrt(Tv) + (34.6061 - 13.4547 * std::exp(-0.00895152 * Tv)) - 0.00118792 * Tv)
           / model_units::molarMassNaCl * 1000.0;
}

double NaClVapor::Enthalpy(const double* TArg) const {
    const double Tv = *TArg;
    const double F = (34.6061 * Tv - 13.4547 * std::exp(-0.00895152 * Tv) / (-0.00895152))
                     - 0.00059396 * (Tv * Tv) + 0.09502333333333332 * std::pow(Tv, 1.5);
    const double F0 = (9452.656214999999 - 13.4547 * std::exp(-2.445107688) / (-0.00895152))
                      - 44.315903528099994 + 0.09502333333333332 * std::pow(273.15, 1.5);
    return (F - F0) / model_units::molarMassNaCl * 1000.0;
}

}  // namespace quarvessin
