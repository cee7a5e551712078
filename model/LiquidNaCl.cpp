#include <quarvessin/model/Caching.h>
#include <quarvessin/model/LiquidNaCl.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClTriplePoint.h>

#include <cmath>

#include "model/LiquidNaClVolume.h"

namespace quarvessin {

namespace {
// The volume law V0(t) (1 - 0.1 ln(1 + 10 p b(t))), see model/LiquidNaClVolume.h.
using namespace liquid_nacl_volume;
constexpr double twoV0c = -2.0 * V0c;  // 2 |V0c| [cm3/(mol C2)]

// Specific isobaric heat capacity, dt = t - 800.7 [J/(kg K)]:
//   cp = CP[0] + CP[1] dt + CP[2] p + CP[3] p^2,
// and the specific enthalpy, whose temperature derivative it is [J/kg]:
//   h = H[0] + CP[0] dt + CP[1]/2 dt^2 + (H[1] + CP[2] t) p + (H[2] + CP[3] t) p^2,
// H[0] at the triple point of NaCl at zero pressure, H[1] and H[2] the pressure
// terms at 0 C.
constexpr double CP[] = {1206.21, -0.291962, 0.00942295, -3.9664e-07};
constexpr double H[] = {481803.0, 29.4664, 0.00070204};

double V0(double t) { return (V0c * t + V0b) * t + V0a; }
double bOf(double t) { return b0 + b1 * t; }
}  // namespace

LiquidNaCl::LiquidNaCl(double* tPtr, double* pPtr)
    : tPtr(tPtr), pPtr(pPtr), t(*tPtr - 1.0), p(*pPtr - 1.0) {}

void LiquidNaCl::Refresh() {
    if (!caching::BeginRefresh(stale, t, tPtr, p, pPtr)) return;
    t = *tPtr;
    T = t + model_units::kelvinOffset;
    p = *pPtr;
    Vm = MolarVolume(&t, &p);
    rho = model_units::molarMassNaCl / Vm * 1000.0;
    dVdT = dVdTAt(&t, &p);
    alpha = (1.0 / Vm) * dVdT;
    b = CompressionCoefficient(&t);
    cp = HeatCapacity(&t, &p);
    h = Enthalpy(&t, &p);
}

double LiquidNaCl::MolarVolume(const double* tArg, const double* pArg) const {
    const double tv = *tArg;
    return V0(tv) * (1.0 - lawFactor * std::log(1.0 + pressureFactor * *pArg * bOf(tv)));
}

double LiquidNaCl::dVdTAt(const double* tArg, const double* pArg) const {
    const double tv = *tArg;
    const double pv = *pArg;
    return (1.0 - lawFactor * std::log(1.0 + pressureFactor * pv * bOf(tv))) * (V0b - twoV0c * tv) -
           V0(tv) * pv * b1 / (1.0 + pressureFactor * pv * bOf(tv));
}

double LiquidNaCl::CompressionCoefficient(const double* tArg) const { return bOf(*tArg); }

double LiquidNaCl::dBdT() const { return b1; }

double LiquidNaCl::HeatCapacity(const double* tArg, const double* pArg) const {
    const double pv = *pArg;
    return CP[0] + CP[1] * (*tArg - NaClTriplePoint::Ttriple) + CP[2] * pv + CP[3] * (pv * pv);
}

double LiquidNaCl::Enthalpy(const double* tArg, const double* pArg) const {
    const double tv = *tArg;
    const double pv = *pArg;
    const double dt = tv - NaClTriplePoint::Ttriple;
    return H[0] + CP[0] * dt + (CP[1] / 2.0) * (dt * dt) + (H[1] + CP[2] * tv) * pv +
           (H[2] + CP[3] * tv) * (pv * pv);
}

}  // namespace quarvessin
