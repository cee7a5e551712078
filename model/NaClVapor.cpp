#include <quarvessin/model/Caching.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClVapor.h>

#include <cmath>

namespace quarvessin {

namespace {
constexpr double R = 8.314472;  // gas constant [J/(mol K)]

// Molar isobaric heat capacity at T [K] [J/(mol K)]:
//   cp = CP[0] + CP[1] sqrt(T) + CP[2] exp(CP[3] T) + CP[4] T.
constexpr double CP[] = {34.6061, 0.142535, -13.4547, -0.00895152, -0.00118792};
// The enthalpy is its integral from T0 = 273.15 K; hRoot is the coefficient of
// T^1.5 there (CP[1] times 2/3, rounded once: (CP[1] * 2) / 3 would differ in
// the last bit from the value the enthalpies were computed with).
constexpr double hRoot = CP[1] * (2.0 / 3.0);
constexpr double T0 = model_units::kelvinOffset;  // lower end of the integral [K]
// Terms of the integral at T0 that need no function call, each rounded as a
// constant in this order of operations.
constexpr double hLinear0 = CP[0] * T0;               // CP[0] T0 [J/mol]
constexpr double hExponent0 = CP[3] * T0;             // CP[3] T0 [-]
constexpr double hSquare0 = (CP[4] / 2.0) * T0 * T0;  // CP[4] T0^2 / 2 [J/mol]
}  // namespace

NaClVapor::NaClVapor(double* tPtr, double* pPtr)
    : tPtr(tPtr), pPtr(pPtr), t(*tPtr - 1.0), p(*pPtr - 1.0) {}

void NaClVapor::Refresh() {
    if (!caching::BeginRefresh(stale, t, tPtr, p, pPtr)) return;
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
    return (CP[1] * std::sqrt(Tv) + (CP[0] + CP[2] * std::exp(CP[3] * Tv)) + CP[4] * Tv) /
           model_units::molarMassNaCl * 1000.0;
}

double NaClVapor::Enthalpy(const double* TArg) const {
    const double Tv = *TArg;
    const double F = (CP[0] * Tv + CP[2] * std::exp(CP[3] * Tv) / CP[3]) +
                     (CP[4] / 2.0) * (Tv * Tv) + hRoot * std::pow(Tv, 1.5);
    const double F0 =
        (hLinear0 + CP[2] * std::exp(hExponent0) / CP[3]) + hSquare0 + hRoot * std::pow(T0, 1.5);
    return (F - F0) / model_units::molarMassNaCl * 1000.0;
}

}  // namespace quarvessin
