#include <quarvessin/model/Caching.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/VLLiquidBranch.h>

#include <cmath>

#include "model/WaterVaporQuadratic.h"

namespace quarvessin {

namespace {

constexpr double tcrit = WaterCriticalPoint::Tc;      // critical temperature of water [C]
constexpr double ttriple = NaClTriplePoint::Ttriple;  // triple-point temperature of NaCl [C]
constexpr double tQuadratic =
    water_quadratic::tLow;  // lower end of the water vapour-pressure quadratic [C]

// Shape coefficients of the liquid branch, t in C:
//   a(t) = A[0] / (1 + exp((t - A[1]) / A[2])) + A[3] + A[4] t^2 [mole fraction NaCl/bar],
//   b(t) = B[0] / (1 + exp((t - B[1]) / B[2])) + B[3] + B[4] exp(B[5] t)
//          [mole fraction NaCl/bar^2].
constexpr double A[] = {0.001465481, 438.58, 18.4508, 0.000219379, -5.6765e-10};
constexpr double B[] = {6.592089e-06, 384.904, 7.07477, 1.44951e-07, 6.06896e-05, -0.00762859};

// The critical pressure below the critical temperature of water, as the first
// branch uses it [bar]. There the formal extension of the critical curve lies
// above the vapour pressure of water at every temperature and meets it at the
// critical point of water, with the smaller slope (2.36 against 2.63 bar/C), so
// Pc - Pw is positive. Within about 1e-6 C of the critical point it is smaller
// than the rounding of the computed Pw (some 1e-8 bar from the expanded
// quadratic), and the computed Pw can lie above Pc: the two then agree to
// rounding, and the extension is taken at Pw, the distance between the anchors
// being zero. Where Pc is not below Pw (or either is not a number) it is Pc.
double ExtensionAbovePw(double Pc, double Pw) { return Pw > Pc ? Pw : Pc; }

}  // namespace

VLLiquidBranch::VLLiquidBranch(double* tPtr_, double* pPtr_)
    : tPtr(tPtr_),
      pPtr(pPtr_),
      pLiquidus(*pPtr_ - 1.0),
      tLiquidus(*tPtr_ - 1.0),
      t(*tPtr_ - 1.0),
      p(*pPtr_ - 1.0),
      boiling(&t, &p),
      hlv(&t),
      critical(&t),
      liquidus(&tLiquidus, &pLiquidus),
      water(&t, &p) {}

void VLLiquidBranch::Refresh() {
    const bool wasStale = stale;
    if (!caching::BeginRefresh(stale, t, tPtr, p, pPtr)) return;
    // Up to the triple point of NaCl every field of RefreshCoefficients is a
    // function of t alone, so a change of p alone (every step of an isotherm)
    // keeps them: they are the bits a new evaluation at t would give.
    const bool sameTemperature = !wasStale && t == *tPtr && *tPtr <= ttriple;
    t = *tPtr;
    p = *pPtr;
    if (!sameTemperature) {
        tLiquidus = t;
        pLiquidus = p;
        RefreshCoefficients(&t);
    }
    X = XfromTP(&t, &p);
    dXdT = dXdTAt(&t, &p);
}

void VLLiquidBranch::RefreshCoefficients(const double* tArg) {
    const double tt = *tArg;

    critical.Refresh();
    Xc = critical.Xcrit;
    dXcdT = critical.dXdT;
    Pc = critical.Pcrit;
    Pc2 = Pc * Pc;
    dPcdT = critical.dPdT;

    const double e1 = std::exp((tt - A[1]) / A[2]);
    a = A[0] / (1 + e1) + A[3] + A[4] * (tt * tt);
    const double e2 = std::exp((tt - B[1]) / B[2]);
    const double e3 = std::exp(B[5] * tt);
    b = B[0] / (1 + e2) + B[3] + B[4] * e3;
    dadT = -A[0] * e1 / ((1 + e1) * (1 + e1)) / A[2] + (2.0 * A[4]) * tt;
    dbdT = -B[0] * e2 / ((1 + e2) * (1 + e2)) / B[2] + (B[4] * B[5]) * e3;

    if (tt <= ttriple) {
        hlv.Refresh();
        Pv = hlv.P;
        Pv2 = Pv * Pv;
        dPvdT = hlv.dPdT;

        pLiquidus = Pv;
        liquidus.Refresh();
        Xs = liquidus.xL;
        dXsdT = liquidus.dxLdT;

        if (tt < tcrit) {
            Pw = water.VaporPressure() * model_units::paToBar;
            Pw2 = Pw * Pw;
            water.RefreshDerivatives();
            if (tQuadratic < tt && tt < tcrit) {
                // Slope of the vapour-pressure quadratic of the water member:
                // g times d/dt of it, over g [bar/C].
                using namespace water_quadratic;
                const double N = sTcTc - (2.0 * sTc) * tt - P2Tl2 + P1Tl2 + (2.0 * P2) * tt -
                                 sTlTl - (2.0 * P1) * tt + (2.0 * sTl) * tt;
                dPwdT = N / g;
            } else {
                // Backward difference over the water member's temperature step,
                // Pa/C turned into bar/C.
                water.RefreshDerivatives();
                const double pMinus = water.SatLiquidPressureBelow();
                dPwdT = (water.VaporPressure() - pMinus) / water.dT * model_units::paToBar;
            }
        }
        // From 373.976 C up, Pw, Pw2 and dPwdT keep their old values; they
        // are not used there.
    } else {
        // Above the triple point of NaCl, or a temperature that is not a number.
        boiling.Refresh();
        Pb = boiling.Pboil;
        dPbdT = boiling.dPboildT;
        Xs = 1.0;
    }

    hlv.Refresh();
    dPvdT = hlv.dPdT;
}

double VLLiquidBranch::XfromTP(const double* tArg, const double* pArg) const {
    const double tt = *tArg;
    const double pp = *pArg;

    if (tt < tcrit) {
        // Between Pv (composition Xs) and the vapour pressure of water Pw
        // (composition 0).
        const double pcw = ExtensionAbovePw(Pc, Pw);  // Pc, not below Pw [bar]
        const double sv = std::sqrt(pcw - Pv);
        const double sw = std::sqrt(pcw - Pw);
        const double sp = std::sqrt(pcw - pp);
        const double T1 = b * (2 * pcw * (Pv - pp) + pp * pp - Pv2) + a * (Pv - pp);
        const double T2 = b * (2 * pcw * (Pw - Pv) + Pv2 - Pw2) + a * (Pw - Pv);
        const double T3 = b * (2 * pcw * (pp - Pw) + Pw2 - pp * pp) + a * (pp - Pw);
        return -((T1 + Xs) * sw + (T2 - Xs) * sp + T3 * sv) / (sv - sw);
    }
    const double dp = Pc - pp;
    if (tt <= ttriple) {
        // Between Pv (composition Xs) and the critical point (Pc, Xc).
        const double dv = Pc - Pv;
        const double dv2 = Pc2 - 2 * Pc * Pv + Pv2;
        return Xc - (b * dv2 + a * dv + Xc - Xs) / std::sqrt(dv) * std::sqrt(dp) + a * dp +
               b * (dp * dp);
    }
    // Between the NaCl boiling pressure Pb (pure NaCl) and the critical point.
    const double db = Pc - Pb;
    return Xc - (b * (db * db) + a * db + Xc - 1.0) / std::sqrt(db) * std::sqrt(dp) + a * dp +
           b * (dp * dp);
}

double VLLiquidBranch::dXdTAt(const double* tArg, const double* pArg) const {
    const double tt = *tArg;
    const double pp = *pArg;

    if (tt < tcrit) {
        // Chain rule through Pc, Pv, Pw, Pv2, Pw2, Xs, a and b of the first
        // branch. Where Pc and Pw agree to rounding the slope of the square
        // root of their distance, and with it dXdT, is not finite.
        const double pcw = ExtensionAbovePw(Pc, Pw);  // Pc, not below Pw [bar]
        const double sv = std::sqrt(pcw - Pv);
        const double sw = std::sqrt(pcw - Pw);
        const double sp = std::sqrt(pcw - pp);
        const double dsv = (dPcdT - dPvdT) / (2 * sv);
        const double dsw = (dPcdT - dPwdT) / (2 * sw);
        const double dsp = dPcdT / (2 * sp);
        const double dPv2 = 2 * Pv * dPvdT;
        const double dPw2 = 2 * Pw * dPwdT;

        const double q1 = 2 * pcw * (Pv - pp) + pp * pp - Pv2;
        const double q2 = 2 * pcw * (Pw - Pv) + Pv2 - Pw2;
        const double q3 = 2 * pcw * (pp - Pw) + Pw2 - pp * pp;
        const double dq1 = 2 * dPcdT * (Pv - pp) + 2 * pcw * dPvdT - dPv2;
        const double dq2 = 2 * dPcdT * (Pw - Pv) + 2 * pcw * (dPwdT - dPvdT) + dPv2 - dPw2;
        const double dq3 = 2 * dPcdT * (pp - Pw) - 2 * pcw * dPwdT + dPw2;

        const double T1 = b * q1 + a * (Pv - pp);
        const double T2 = b * q2 + a * (Pw - Pv);
        const double T3 = b * q3 + a * (pp - Pw);
        const double dT1 = dbdT * q1 + b * dq1 + dadT * (Pv - pp) + a * dPvdT;
        const double dT2 = dbdT * q2 + b * dq2 + dadT * (Pw - Pv) + a * (dPwdT - dPvdT);
        const double dT3 = dbdT * q3 + b * dq3 + dadT * (pp - Pw) - a * dPwdT;

        const double N = (T1 + Xs) * sw + (T2 - Xs) * sp + T3 * sv;
        const double dN = (dT1 + dXsdT) * sw + (T1 + Xs) * dsw + (dT2 - dXsdT) * sp +
                          (T2 - Xs) * dsp + dT3 * sv + T3 * dsv;
        const double D = sv - sw;
        const double dD = dsv - dsw;
        return -(dN * D - N * dD) / (D * D);
    }

    // Second and third branch: X = Xc - F/sqrt(dA)*sqrt(dp) + a*dp + b*dp^2 with
    // F = b*dA^2 + a*dA + Xc - XA, dA = Pc - PA, dp = Pc - p, where (PA, XA) is
    // the low-pressure anchor.
    double dA;    // Pc - PA [bar]
    double dA2;   // (Pc - PA)^2 [bar^2]
    double ddA;   // d(dA)/dt [bar/C]
    double ddA2;  // d(dA^2)/dt [bar^2/C]
    double XA;    // anchor composition [mole fraction NaCl]
    double dXA;   // slope of the anchor composition [1/C]
    if (tt <= ttriple) {
        dA = Pc - Pv;
        dA2 = Pc2 - 2 * Pc * Pv + Pv2;
        ddA = dPcdT - dPvdT;
        ddA2 = 2 * Pc * dPcdT - 2 * (dPcdT * Pv + Pc * dPvdT) + 2 * Pv * dPvdT;
        XA = Xs;
        dXA = dXsdT;
    } else {
        dA = Pc - Pb;
        dA2 = dA * dA;
        ddA = dPcdT - dPbdT;
        ddA2 = 2 * dA * ddA;
        XA = 1.0;
        dXA = 0.0;
    }
    const double dp = Pc - pp;
    const double ddp = dPcdT;
    const double sA = std::sqrt(dA);
    const double sp = std::sqrt(dp);
    const double dsA = ddA / (2 * sA);
    const double dsp = ddp / (2 * sp);
    const double F = b * dA2 + a * dA + Xc - XA;
    const double dF = dbdT * dA2 + b * ddA2 + dadT * dA + a * ddA + dXcdT - dXA;
    const double dR = (dF * sp + F * dsp) / sA - F * sp * dsA / (sA * sA);
    return dXcdT - dR + dadT * dp + a * ddp + dbdT * (dp * dp) + 2 * b * dp * ddp;
}

}  // namespace quarvessin
