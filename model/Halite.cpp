#include <quarvessin/model/Caching.h>
#include <quarvessin/model/Halite.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClTriplePoint.h>

#include <cmath>

#include "model/Polynomial.h"

namespace quarvessin {

namespace {
// Density of halite at zero pressure, rho0(t) = R0[0] + R0[1] t + R0[2] t^2
// [kg/m3, t in C], and its pressure slope drho/dp = RP[0] + RP[1] exp(t / RP[2])
// [kg/(m3 bar)].
constexpr double R0[] = {2170.4, -0.24599, -9.5797e-05};
constexpr double RP[] = {0.005727, 0.002715, 733.4};

// Specific isobaric heat capacity, with dt = t - 800.7 [J/(kg K)]:
//   cp = CP0[0] + CP0[1] dt + CP0[2] dt^2 + (CP1[0] + CP1[1] t + CP1[2] t^2) p
//        + (CP2[0] + CP2[1] t + CP2[2] t^2) p^2.
constexpr double CP0[] = {1148.81, 0.551548, 0.000264309};
constexpr double CP1[] = {-0.0017099, -3.82734e-06, -8.65455e-09};
constexpr double CP2[] = {5.29063e-08, -9.63084e-11, 6.50745e-13};
// Specific enthalpy, zero at the triple point of NaCl at zero pressure [J/kg]:
//   h = H0[0] dt + H0[1] dt^2 + H0[2] dt^3 + (H1[0] + H1[1] t + H1[2] t^2 + H1[3] t^3) p
//       + (H2[0] + H2[1] t + H2[2] t^2 + H2[3] t^3) p^2,
// whose temperature derivative at constant p is cp term by term; H1[3] is a
// stored value that differs in the last bit from CP1[2] / 3. H1[0] and H2[0]
// are the pressure terms at 0 C.
constexpr double H0[] = {CP0[0], CP0[1] / 2.0, CP0[2] / 3.0};
constexpr double H1[] = {44.6652, CP1[0], CP1[1] / 2.0, -2.88485e-09};
constexpr double H2[] = {-7.41999e-05, CP2[0], CP2[1] / 2.0, CP2[2] / 3.0};
}  // namespace

Halite::Halite(double* tPtr, double* pPtr)
    : tPtr(tPtr), pPtr(pPtr), t(*tPtr - 1.0), p(*pPtr - 1.0) {}

void Halite::Refresh() {
    if (!caching::BeginRefresh(stale, t, tPtr, p, pPtr)) return;
    t = *tPtr;
    T = t + model_units::kelvinOffset;
    p = *pPtr;
    rho = Density(&t, &p);
    Vm = model_units::molarMassNaCl / rho * 1000.0;
    alpha = dRhodT(&t, &p) * (-1.0 / rho);
    beta = dRhodP(&t) * (1.0 / rho);
    cp = HeatCapacity(&t, &p);
    h = Enthalpy(&t, &p);
}

double Halite::Density0(const double* tArg) const {
    const double tv = *tArg;
    return horner(R0, tv);
}

double Halite::dRhodP(const double* tArg) const { return RP[0] + RP[1] * std::exp(*tArg / RP[2]); }

double Halite::Density(const double* tArg, const double* pArg) const {
    return Density0(tArg) + dRhodP(tArg) * *pArg;
}

double Halite::dRhodT(const double* tArg, const double* pArg) const {
    const double tv = *tArg;
    return RP[1] * std::exp(tv / RP[2]) * *pArg / RP[2] + (R0[1] + (2.0 * R0[2]) * tv);
}

double Halite::HeatCapacity(const double* tArg, const double* pArg) const {
    const double tv = *tArg;
    const double pv = *pArg;
    const double dt = tv - NaClTriplePoint::Ttriple;
    return CP0[0] + CP0[1] * dt + CP0[2] * (dt * dt) +
           (CP1[0] + CP1[1] * tv + CP1[2] * (tv * tv)) * pv +
           (CP2[0] + CP2[1] * tv + CP2[2] * (tv * tv)) * (pv * pv);
}

double Halite::Enthalpy(const double* tArg, const double* pArg) const {
    const double tv = *tArg;
    const double pv = *pArg;
    const double dt = tv - NaClTriplePoint::Ttriple;
    return H0[0] * dt + H0[1] * (dt * dt) + H0[2] * (dt * dt * dt) +
           (H1[0] + H1[1] * tv + H1[2] * (tv * tv) + H1[3] * (tv * tv * tv)) * pv +
           (H2[0] + H2[1] * tv + H2[2] * (tv * tv) + H2[3] * (tv * tv * tv)) * (pv * pv);
}

}  // namespace quarvessin
