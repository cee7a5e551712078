#include <quarvessin/model/Halite.h>

#include <cmath>

#include <quarvessin/model/ModelUnits.h>

namespace quarvessin {

// Every coefficient of the enthalpy is stored as its own constant; the heat
// capacity is its temperature derivative term by term.

Halite::Halite(double* tPtr, double* pPtr)
    : tPtr(tPtr),
      pPtr(pPtr),
      T(0.0),
      t(*tPtr - 1.0),
      p(*pPtr - 1.0),
      rho(0.0),
      Vm(0.0),
      beta(0.0),
      alpha(0.0),
      h(0.0),
      cp(0.0) {}

void Halite::Refresh() {
    if (!stale && t == *tPtr && p == *pPtr) return;
    stale = false;
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
    return 2170.4 + tv * (-0.24599 + tv * (-9.5797e-05));
}

double Halite::dRhodP(const double* tArg) const {
    return 0.005727 + 0.002715 * std::exp(*tArg / 733.4);
}

double Halite::Density(const double* tArg, const double* pArg) const {
    return Density0(tArg) + dRhodP(tArg) * *pArg;
}

double Halite::dRhodT(const double* tArg, const double* pArg) const {
    const double tv = *tArg;
    return 0.002715 * std::exp(tv / 733.4) * *pArg / 733.4 + (-0.24599 - 0.000191594 * tv);
}

double Halite::HeatCapacity(const double* tArg, const double* pArg) const {
    const double tv = *tArg;
    const double pv = *pArg;
    const double dt = tv - 800.7;
    return 1148.81 + 0.551548 * dt + 0.000264309 * (dt * dt)
           + (-0.0017099 - 3.82734e-06 * tv - 8.65455e-09 * (tv * tv)) * pv
           + (5.29063e-08 - 9.63084e-11 * tv + 6.50745e-13 * (tv * tv)) * (pv * pv);
}

double Halite::Enthalpy(const double* tArg, const double* pArg) const {
    const double tv = *tArg;
    const double pv = *pArg;
    const double dt = tv - 800.7;
    return 1148.81 * dt + 0.275774 * (dt * dt) + 8.8103e-05 * (dt * dt * dt)
           + (44.6652 - 0.0017099 * tv - 1.91367e-06 * (tv * tv) - 2.88485e-09 * (tv * tv * tv)) * pv
           + (-7.41999e-05 + 5.29063e-08 * tv - 4.81542e-11 * (tv * tv) + 2.16915e-13 * (tv * tv * tv))
                 * (pv * pv);
}

}  // namespace quarvessin
