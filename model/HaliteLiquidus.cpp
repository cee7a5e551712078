#include <quarvessin/model/Caching.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/ModelUnits.h>

#include <cmath>

#include "model/Polynomial.h"

namespace quarvessin {

namespace {
// Liquidus composition xL = e0 + e1 tau + ... + e5 tau^5 in tau = t / Thm; each of
// e0 ... e4 is a quadratic in p, E[k][0] + E[k][1] p + E[k][2] p^2
// [mole fraction NaCl, per bar, per bar^2]; e5 closes the sum at 1.
constexpr double E[5][3] = {
    {0.0989944, 3.30796e-06, -4.71759e-10},  // e0
    {0.00947257, -8.6646e-06, 1.69417e-09},  // e1
    {0.610863, -1.51716e-05, 1.1929e-08},    // e2
    {-1.64994, 0.000203441, -6.46015e-08},   // e3
    {3.36474, -0.000154023, 8.17048e-08},    // e4
};

// Molar volume of the saturated liquid at the anchor temperature tA and the
// t^2 and t^3 coefficients of the volume cubic, each V[0] + V[1] exp(V[2] p)
// [cm3/mol, cm3/(mol C2), cm3/(mol C3); rate in 1/bar].
constexpr double A0[] = {15.577, 2.77489, -0.000177845};           // a0
constexpr double A2[] = {1.9293e-06, 2.17326e-05, -0.00060979};    // a2
constexpr double A3[] = {1.24601e-08, -1.80356e-08, -0.00100276};  // a3
// Factors of exp(V[2] p) in the pressure slopes of a0, a2 and a3: V[1] V[2],
// except the one of a3, a stored value that differs in the last bit from
// A3[1] A3[2].
constexpr double dA[] = {A0[1] * A0[2], A2[1] * A2[2], 1.8085378256e-11};
// Anchor temperature of the volume cubic and its powers [C, C^2, C^3].
constexpr double tA = 20.0;
constexpr double tA2 = tA * tA;
constexpr double tA3 = tA * tA * tA;

// Heat capacity of the saturated liquid at tCp, cp100 = CP100[0] + CP100[1] p
// [J/(kg K), J/(kg K bar)], and the coefficients of t^2, t^3 and t^5 in its
// enthalpy, b2 = B2[0] + B2[1] p and bk = Bk[0] + Bk[1] p + Bk[2] p^2 for k = 3, 5.
constexpr double tCp = 100.0;  // [C]
constexpr double CP100[] = {3029.0, -0.062};
constexpr double B2[] = {-0.646, -0.00035};
constexpr double B3[] = {-0.00155246, 9.62709e-07, -2.43274e-11};
constexpr double B5[] = {-2.92653e-09, -2.01445e-13, 1.13443e-17};
}  // namespace

HaliteLiquidus::HaliteLiquidus(double* tPtr, double* pPtr)
    : t(*tPtr - 1.0), p(*pPtr - 1.0), tPtr(tPtr), pPtr(pPtr), melting(&t, &p) {}

void HaliteLiquidus::Refresh() {
    if (!caching::BeginRefresh(stale, t, tPtr, p, pPtr)) return;
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
    e0 = E[0][0] + E[0][1] * p + E[0][2] * p2;
    e1 = E[1][0] + E[1][1] * p + E[1][2] * p2;
    e2 = E[2][0] + E[2][1] * p + E[2][2] * p2;
    e3 = E[3][0] + E[3][1] * p + E[3][2] * p2;
    e4 = E[4][0] + E[4][1] * p + E[4][2] * p2;
    e5 = 1.0 - e0 - e1 - e2 - e3 - e4;
    de0dP = E[0][1] + (2.0 * E[0][2]) * p;
    de1dP = E[1][1] + (2.0 * E[1][2]) * p;
    de2dP = E[2][1] + (2.0 * E[2][2]) * p;
    de3dP = E[3][1] + (2.0 * E[3][2]) * p;
    de4dP = E[4][1] + (2.0 * E[4][2]) * p;
    de5dP = -(de0dP + de1dP + de2dP + de3dP + de4dP);

    // Volume cubic VL(t) = c0 + c1 t + a2 t^2 + a3 t^3 through VL(20) = a0 and
    // VL(Thm) = VmMelt.
    const double Thm2 = Thm * Thm;
    const double Thm3 = Thm * Thm * Thm;
    a0 = A0[0] + A0[1] * std::exp(A0[2] * p);
    a2 = A2[0] + A2[1] * std::exp(A2[2] * p);
    a3 = A3[0] + A3[1] * std::exp(A3[2] * p);
    c1 = (VmMelt - (a0 + a2 * (Thm2 - tA2) + a3 * (Thm3 - tA3))) / (Thm - tA);
    c0 = a0 - tA * c1 - tA2 * a2 - tA3 * a3;

    da0dP = dA[0] * std::exp(A0[2] * p);
    da2dP = dA[1] * std::exp(A2[2] * p);
    da3dP = dA[2] * std::exp(A3[2] * p);
    dc1dP =
        (dVmMeltdP - (da0dP + da2dP * (Thm2 - tA2) + da3dP * (Thm3 - tA3) +
                      (2.0 * a2 * Thm + 3.0 * a3 * Thm2) * dThmdP)) /
            (Thm - tA) +
        (a0 + a2 * (Thm2 - tA2) + a3 * (Thm3 - tA3) - VmMelt) * dThmdP / ((Thm - tA) * (Thm - tA));
    dc0dP = da0dP - tA * dc1dP - tA2 * da2dP - tA3 * da3dP;

    cp100 = CP100[0] + CP100[1] * p;
    b5 = B5[0] + B5[1] * p + B5[2] * p2;
    b3 = B3[0] + B3[1] * p + B3[2] * p2;
    b2 = B2[0] + B2[1] * p;

    melting.Refresh();
    hMelt = melting.hLiqMelt;
}

double HaliteLiquidus::Composition(const double* tauArg) const {
    const double x = *tauArg;
    const double e[] = {e0, e1, e2, e3, e4, e5};
    return horner(e, x);
}

double HaliteLiquidus::dXdT(const double* tauArg) const {
    const double x = *tauArg;
    return (e1 + 2.0 * e2 * x + 3.0 * e3 * (x * x) + 4.0 * e4 * (x * x * x) +
            5.0 * e5 * (x * x * x * x)) /
           Thm;
}

double HaliteLiquidus::dXdP(const double* tauArg) const {
    const double x = *tauArg;
    // Horner in tau of the total pressure slope, tau itself depending on p.
    const double k[] = {de0dP + 1.0 * e1 * dtaudP, de1dP + 2.0 * e2 * dtaudP,
                        de2dP + 3.0 * e3 * dtaudP, de3dP + 4.0 * e4 * dtaudP,
                        de4dP + 5.0 * e5 * dtaudP, de5dP};
    return horner(k, x);
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

// K makes the heat capacity equal cp100 at tCp = 100 C.
double HaliteLiquidus::HeatCapacityConstant() const {
    return cp100 - 2.0 * tCp * b2 - 3.0 * std::pow(tCp, 2.0) * b3 - 5.0 * std::pow(tCp, 4.0) * b5;
}

double HaliteLiquidus::HeatCapacity(const double* tArg) const {
    const double tv = *tArg;
    return HeatCapacityConstant() + 2.0 * b2 * tv + 3.0 * b3 * (tv * tv) +
           5.0 * b5 * (tv * tv * tv * tv);
}

// Integral of the heat capacity from the melting point, where the liquid is
// liquid NaCl with enthalpy hMelt.
double HaliteLiquidus::Enthalpy(const double* tArg) const {
    const double tv = *tArg;
    const double K = HeatCapacityConstant();
    return hMelt +
           (-b5 * std::pow(Thm, 5.0) - K * Thm - b2 * std::pow(Thm, 2.0) -
            b3 * std::pow(Thm, 3.0)) +
           K * tv + b2 * std::pow(tv, 2.0) + b3 * std::pow(tv, 3.0) + b5 * std::pow(tv, 5.0);
}

}  // namespace quarvessin
