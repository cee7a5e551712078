#include <quarvessin/model/Caching.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>

#include <cmath>

namespace quarvessin {

namespace {
// Temperature functions of the halite-saturated vapour composition, t in C [-]:
//   j0 = J0[0] + J0[1] exp(J0[2] t),
//   j1 = J1[0] + J1[1] / (G + 1) + J1[4] (t + J1[5])^2 with G = exp((t - J1[2]) / J1[3]),
//   j2 = J2[0] + J2[1] t + J2[2] t^2 + J2[3] t^3,
//   j3 = J3[0] + J3[1] t + J3[2] t^2.
constexpr double J0[] = {-0.235694, -0.188838, -0.004};
constexpr double J1[] = {0.66918, -0.6139334, 396.848, 45.0, -3.2719e-07, 141.699};
constexpr double J2[] = {-0.292631, -0.00139991, 1.95965e-06, -7.3653e-10};
constexpr double J3[] = {0.904411, 0.000769766, -1.18658e-06};
}  // namespace

HaliteSaturatedVapor::HaliteSaturatedVapor(double* tPtr, double* pPtr)
    : tPtr(tPtr),
      pPtr(pPtr),
      pLiq(*pPtr - 1.0),
      tLiq(*tPtr - 1.0),
      t(*tPtr - 1.0),
      p(*pPtr - 1.0),
      sublimation(&t, &p),
      critical(&t),
      liquidus(&tLiq, &pLiq) {}

void HaliteSaturatedVapor::Refresh() {
    if (!caching::BeginRefresh(stale, t, tPtr, p, pPtr)) return;
    t = *tPtr;
    p = *pPtr;
    tLiq = t;
    pLiq = p;

    critical.Refresh();
    Pcrit = critical.Pcrit;
    sublimation.Refresh();
    PNaCl = sublimation.Psub;
    Pn = (p - PNaCl) / (Pcrit - PNaCl);

    liquidus.Refresh();
    xLH = liquidus.xL;
    critical.Refresh();
    dPcritdT = critical.dPdT;
    sublimation.Refresh();
    dPNaCldT = sublimation.dPsubdT;
    liquidus.Refresh();
    dxLHdT = liquidus.dxLdT;

    const double G = std::exp((t - J1[2]) / J1[3]);
    j0 = J0[1] * std::exp(J0[2] * t) + J0[0];
    j1 = J1[0] + J1[1] / (G + 1.0) + J1[4] * std::pow(t + J1[5], 2.0);
    j2 = J2[0] + J2[1] * t + J2[2] * (t * t) + J2[3] * (t * t * t);
    j3 = J3[0] + J3[1] * t + J3[2] * (t * t);
    dj0dT = (J0[1] * J0[2]) * std::exp(J0[2] * t);
    dj1dT = -J1[1] * G / ((G + 1.0) * (G + 1.0)) / J1[3] + (2.0 * J1[4]) * (t + J1[5]);
    dj2dT = (J2[2] + (2.0 * J2[3]) * t) * t + ((J2[2] + J2[3] * t) * t + J2[1]);
    dj3dT = J3[1] + (2.0 * J3[2]) * t;

    xVH = XfromTP(&t, &p);
    dxVHdT = dXdT(&t, &p);
}

double HaliteSaturatedVapor::Interpolant(double w) const {
    return 1.0 + j0 * std::pow(w, j1) + j2 * w + j3 * std::pow(w, 2.0) +
           (-1.0 - j0 - j2 - j3) * std::pow(w, 3.0);
}

double HaliteSaturatedVapor::Exponent(double s, const double* p) const {
    return L1 + s * (L2 - L1) - std::log10(PNaCl / *p);
}

double HaliteSaturatedVapor::XfromTP(const double* /*t*/, const double* p) {
    const double W = 1.0 - Pn;

    // Liquidus at the NaCl pressure, where the vapour is pure NaCl.
    pLiq = PNaCl;
    liquidus.Refresh();
    xLHn = liquidus.xL;
    liquidus.Refresh();
    dxLHndT = liquidus.dxLdT;

    L1 = std::log10(xLHn);
    L2 = std::log10(PNaCl / Pcrit);
    const double S = Interpolant(W);
    const double E = Exponent(S, p);
    pLiq = *p;
    return xLH / std::pow(10.0, E);
}

double HaliteSaturatedVapor::dXdT(const double* /*t*/, const double* p) {
    const double ln10 = std::log(10.0);
    const double W = 1.0 - Pn;
    const double S = Interpolant(W);
    const double E = Exponent(S, p);
    const double span = Pcrit - PNaCl;

    // Temperature slope of W at constant p.
    const double Y = (*p - PNaCl) * (dPcritdT - dPNaCldT) / (span * span) + dPNaCldT / span;
    // W^j1 by the power function (not a number for W < 0); the integer
    // powers of the slope by plain multiplication.
    const double Wj1 = std::pow(W, j1);
    const double W2 = W * W;
    const double W3 = W * W * W;
    const double k3 = -1.0 - j0 - j2 - j3;
    const double dS =
        W3 * (-dj0dT - dj2dT - dj3dT) + W2 * dj3dT +
        (Wj1 * dj0dT + j0 * Wj1 * (Y * j1 / W + dj1dT * std::log(W)) + W * dj2dT + Y * j2) +
        2.0 * j3 * W * Y + 3.0 * k3 * W2 * Y;
    const double dL2 =
        Pcrit * ((dPNaCldT / Pcrit - PNaCl / (Pcrit * Pcrit) * dPcritdT) / PNaCl) / ln10;
    const double dL1 = dxLHndT / xLHn / ln10;
    const double dE = dL1 + dS * (L2 - L1) + S * (dL2 - dL1) - dPNaCldT / PNaCl / ln10;
    scratch = dE;
    const double tenE = std::pow(10.0, E);
    return dxLHdT / tenE - xLH * (1.0 / tenE) * dE * ln10;
}

}  // namespace quarvessin
