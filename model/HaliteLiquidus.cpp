#include <quarvessin/model/HaliteLiquidus.h>

#include <cmath>

#include <quarvessin/model/ModelUnits.h>

namespace quarvessin {

HaliteLiquidus::HaliteLiquidus(double* tPtr, double* pPtr)
    : t(*tPtr - 1.0),
      p(*pPtr - 1.0),
      xL(0.0), dxLdT(0.0), dxLdP(0.0),
      VL(0.0), rhoL(0.0), dVLdT(0.0), dVLdP(0.0),
      hL(0.0), cpL(0.0),
      Thm(0.0), tau(0.0), VmMelt(0.0), a0(0.0), dThmdP(0.0), dtaudP(0.0), da0dP(0.0), dVmMeltdP(0.0),
      c0(0.0), c1(0.0), a2(0.0), a3(0.0),
      dc0dP(0.0), dc1dP(0.0), da2dP(0.0), da3dP(0.0),
      e0(0.0), e1(0.0), e2(0.0), e3(0.0), e4(0.0), e5(0.0),
      de0dP(0.0), de1dP(0.0), de2dP(0.0), de3dP(0.0), de4dP(0.0), de5dP(0.0),
      b2(0.0), b3(0.0), b5(0.0), cp100(0.0), hMelt(0.0),
      tPtr(tPtr),
      pPtr(pPtr),
      melting(&t, &p) {}

void HaliteLiquidus::Refresh() {
    if (!stale && t == *tPtr && p == *pPtr) return;
    stale = false;
    t = *tPtr;
    p = *pPtr;
    UpdateCoefficients();
    xL = Composition(&tau);
    dxLdT = dXdT(&tau);
    dxLdP = dXdP(&tau);
    VL = MolarVolume(&t);
    dVLdT = dVdT(&t);
    dVLdP = dVdP(&t);
    rhoL = ((1.0 - xL) * model_units::molarMassH2O + xL * model_units::molarMassNaCl) / VL;
    hL = Enthalpy(&t);
    cpL = HeatCapacity(&t);
}

void HaliteLiquidus::UpdateCoefficients() {
    melting.Refresh();
    Thm = melting.Thm;
    tau = t / Thm;
    melting.Refresh();
    VmMelt = melting.VmLiqMelt;
    dThmdP = melting.MeltingSlope();
    dtaudP = -t * dThmdP / Thm / Thm;
    melting.Refresh();
    dVmMeltdP = melting.dVmLiqMeltdP;

    // Liquidus polynomial in tau: quadratics in p, closed by e5 so that the
    // liquid is pure NaCl at tau = 1.
    const double p2 = p * p;
    e0 = 0.0989944 + 3.30796e-06 * p - 4.71759e-10 * p2;
    e1 = 0.00947257 - 8.6646e-06 * p + 1.69417e-09 * p2;
    e2 = 0.610863 - 1.51716e-05 * p + 1.1929e-08 * p2;
    e3 = -1.64994 + 0.000203441 * p - 6.46015e-08 * p2;
    e4 = 3.36474 - 0.000154023 * p + 8.17048e-08 * p2;
    e5 = 1.0 - e0 - e1 - e2 - e3 - e4;
    de0dP = 3.30796e-06 - 9.43518e-10 * p;
    de1dP = -8.6646e-06 + 3.38834e-09 * p;
    de2dP = -1.51716e-05 + 2.3858e-08 * p;
    de3dP = 0.000203441 - 1.29203e-07 * p;
    de4dP = -0.000154023 + 1.634096e-07 * p;
    de5dP = -(de0dP + de1dP + de2dP + de3dP + de4dP);

    // Volume cubic VL(t) = c0 + c1 t + a2 t^2 + a3 t^3 through VL(20) = a0 and
    // VL(Thm) = VmMelt.
    const double Thm2 = Thm * Thm;
    const double Thm3 = Thm * Thm * Thm;
    a0 = 15.577 + 2.77489 * std::exp(-0.000177845 * p);
    a2 = 1.9293e-06 + 2.17326e-05 * std::exp(-0.00060979 * p);
    a3 = 1.24601e-08 - 1.80356e-08 * std::exp(-0.00100276 * p);
    c1 = (VmMelt - (a0 + a2 * (Thm2 - 400.0) + a3 * (Thm3 - 8000.0))) / (Thm - 20.0);
    c0 = a0 - 20.0 * c1 - 400.0 * a2 - 8000.0 * a3;

    da0dP = -0.00049350031205 * std::exp(-0.000177845 * p);
    da2dP = -1.3252322154e-08 * std::exp(-0.00060979 * p);
    da3dP = 1.8085378256e-11 * std::exp(-0.00100276 * p);
    dc1dP = (dVmMeltdP
             - (da0dP + da2dP * (Thm2 - 400.0) + da3dP * (Thm3 - 8000.0)
                + (2.0 * a2 * Thm + 3.0 * a3 * Thm2) * dThmdP))
                / (Thm - 20.0)
            + (a0 + a2 * (Thm2 - 400.0) + a3 * (Thm3 - 8000.0) - VmMelt) * dThmdP
                  / ((Thm - 20.0) * (Thm - 20.0));
    dc0dP = da0dP - 20.0 * dc1dP - 400.0 * da2dP - 8000.0 * da3dP;

    cp100 = 3029.0 - 0.062 * p;
    b5 = -2.92653e-09 - 2.01445e-13 * p + 1.13443e-17 * p2;
    b3 = -0.00155246 + 9.62709e-07 * p - 2.43274e-11 * p2;
    b2 = -0.646 - 0.00035 * p;

    melting.Refresh();
    hMelt = melting.hLiqMelt;
}

double HaliteLiquidus::Composition(const double* tauArg) const {
    const double x = *tauArg;
    return ((((e5 * x + e4) * x + e3) * x + e2) * x + e1) * x + e0;
}

double HaliteLiquidus::dXdT(const double* tauArg) const {
    const double x = *tauArg;
    return (e1 + 2.0 * e2 * x + 3.0 * e3 * (x * x) + 4.0 * e4 * (x * x * x) + 5.0 * e5 * (x * x * x * x))
           / Thm;
}

double HaliteLiquidus::dXdP(const double* tauArg) const {
    const double x = *tauArg;
    double r = de5dP;
    r = r * x + (de4dP + 5.0 * e5 * dtaudP);
    r = r * x + (de3dP + 4.0 * e4 * dtaudP);
    r = r * x + (de2dP + 3.0 * e3 * dtaudP);
    r = r * x + (de1dP + 2.0 * e2 * dtaudP);
    r = r * x + (de0dP + 1.0 * e1 * dtaudP);
    return r;
}

double HaliteLiquidus::MolarVolume(const double* tArg) const {
    const double tv = *tArg;
    return c0 + c1 * tv + a2 * (tv * tv) + a3 * (tv * tv * tv);
}

double HaliteLiquidus::dVdT(const double* tArg) const {
    const double tv = *tArg;
    return c1 + 2.0 * a2 * tv + 3.0 * a3 * (tv * tv);
}

double HaliteLiquidus::dVdP(const double* tArg) const {
    const double tv = *tArg;
    return dc0dP + dc1dP * tv + da2dP * (tv * tv) + da3dP * (tv * tv * tv);
}

// K makes the heat capacity equal cp100 at 100 C.
double HaliteLiquidus::HeatCapacityConstant() const {
    return cp100 - 2.0 * 100.0 * b2 - 3.0 * std::pow(100.0, 2.0) * b3 - 5.0 * std::pow(100.0, 4.0) * b5;
}

double HaliteLiquidus::HeatCapacity(const double* tArg) const {
    const double tv = *tArg;
    return HeatCapacityConstant() + 2.0 * b2 * tv + 3.0 * b3 * (tv * tv) + 5.0 * b5 * (tv * tv * tv * tv);
}

// Integral of the heat capacity from the melting point, where the liquid is
// liquid NaCl with enthalpy hMelt.
double HaliteLiquidus::Enthalpy(const double* tArg) const {
    const double tv = *tArg;
    const double K = HeatCapacityConstant();
    return hMelt
           + (-b5 * std::pow(Thm, 5.0) - K * Thm - b2 * std::pow(Thm, 2.0) - b3 * std::pow(Thm, 3.0))
           + K * tv + b2 * std::pow(tv, 2.0) + b3 * std::pow(tv, 3.0) + b5 * std::pow(tv, 5.0);
}

}  // namespace quarvessin
