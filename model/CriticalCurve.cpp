#include <quarvessin/model/Caching.h>
#include <quarvessin/model/CriticalCurve.h>

#include <cmath>
#include <iostream>

#include "model/Polynomial.h"

namespace quarvessin {

namespace {
constexpr double Tc = WaterCriticalPoint::Tc;  // start of the curve [C]
constexpr double Pc = WaterCriticalPoint::Pc;  // pressure at its start [bar]
constexpr double Xc = WaterCriticalPoint::Xc;  // composition at its start [-]

constexpr double tJoinP = 500.0;  // end of cA, start of the parabola above it [C]
constexpr double tJoinX = 600.0;  // end of the composition polynomial, start of the cubic [C]

// Critical pressure from the critical point of water up to 500 C:
// Pcrit = Pc + cA[0] d + cA[1] d^2 + cA[2] d^2.5 + cA[3] d^3, d = t - Tc [bar].
constexpr double cA[] = {2.36, -0.0131417, 0.00298491, -0.000130114};
// Its slope at 500 C, term by term in b = 500 - Tc: sA[0] + sA[1] b + sA[2] b^1.5
// + sA[3] b^2 [bar/C].
constexpr double sA[] = {cA[0], 2.0 * cA[1], 2.5 * cA[2], 3.0 * cA[3]};
// Above 500 C a parabola joined to cA with value and slope: its curvature term
// cHigh c^2, c = t - 500 [bar/C^2].
constexpr double cHigh = -0.000488336;
// Formal extension below the critical point of water, in d = Tc - t:
// Pcrit = Pc + cB[0] d + cB[1] d^1.5 + cB[2] d^2 + cB[3] d^2.5 + cB[4] d^3
// + cB[5] d^4 + cB[6] d^5 [bar]; the linear term is the one of cA, continued.
constexpr double cB[] = {-cA[0],       0.128534,    -0.023707,  0.00320089,
                         -0.000138917, 1.02789e-07, -4.8376e-11};

// Slope fit a(d) = g[0] + g[1] d + ... + g[9] d^9 in d = Tc - t; the slope of
// the critical pressure is -a [bar/C].
constexpr double g[] = {-2.16164,     0.01275462,    8.07519e-06,   -1.596184e-07, 1.037705e-11,
                        1.173966e-12, -4.571693e-16, -4.234264e-18, 1.393425e-21,  6.06034e-24};

// Critical composition from the critical point of water up to 600 C:
// Xcrit = d (x[0] + x[1] d + ... + x[6] d^6), d = t - Tc [mole fraction NaCl].
constexpr double x[] = {8e-05,        1e-05,       -1.37125e-07, 9.46822e-10,
                        -3.50549e-12, 6.57369e-15, -4.89423e-18};
// Its slope dXcrit/dt = dx[0] + dx[1] d + ... + dx[6] d^6 with dx[k] = (k+1) x[k],
// except dx[2] and dx[4]: those are stored values that differ in the last bit
// from 3 x[2] and 5 x[4] [1/C].
constexpr double dx[] = {x[0],          2.0 * x[1], -4.11375e-07, 4.0 * x[3],
                         -1.752745e-11, 6.0 * x[5], 7.0 * x[6]};
// From 600 C up a cubic, not joined to the polynomial below:
// Xcrit = xH[0] + xH[1] e + xH[2] e^2 + xH[3] e^3, e = t - 600 [mole fraction NaCl].
constexpr double xH[] = {0.0777761, 0.00027042, -4.244821e-07, 2.580872e-10};

constexpr double tolerance = 1e-10;  // residual at which TfromP stops [bar]
}  // namespace

CriticalCurve::CriticalCurve(double* tPtr) : t(*tPtr - 1.0), tPtr(tPtr), vlhCurve(&t) {}

void CriticalCurve::Refresh() {
    if (!caching::BeginRefresh(stale, t, tPtr)) return;
    t = *tPtr;
    Pcrit = PfromT(&t);
    Xcrit = XfromT(&t);
    dPdT = dPdTAt(&t);
    dXdT = dXdTAt(&t);
}

double CriticalCurve::PfromT(const double* t) {
    const double T = *t;
    if (Tc <= T && T <= tJoinP) {
        const double d = T - Tc;
        scratch = d;
        return Pc + cA[0] * d + cA[1] * std::pow(d, 2.0) + cA[2] * std::pow(d, 2.5) +
               cA[3] * std::pow(d, 3.0);
    }
    if (T > tJoinP) {
        // Continuation above 500 C: a parabola joined with value and slope.
        const double b = tJoinP - Tc;
        const double P500 = Pc + cA[0] * b + cA[1] * std::pow(b, 2.0) + cA[2] * std::pow(b, 2.5) +
                            cA[3] * std::pow(b, 3.0);
        const double S500 = sA[0] + sA[1] * b + sA[2] * std::pow(b, 1.5) + sA[3] * std::pow(b, 2.0);
        const double c = T - tJoinP;
        scratch = c;
        return P500 + S500 * c + cHigh * std::pow(c, 2.0);
    }
    // Below Tc, and for a temperature that compares unordered: formal extension.
    const double d = Tc - T;
    scratch = d;
    return Pc + cB[0] * d + cB[1] * std::pow(d, 1.5) + cB[2] * std::pow(d, 2.0) +
           cB[3] * std::pow(d, 2.5) + cB[4] * std::pow(d, 3.0) + cB[5] * std::pow(d, 4.0) +
           cB[6] * std::pow(d, 5.0);
}

double CriticalCurve::dPdTAt(const double* t) {
    const double d = Tc - *t;
    scratch = d;
    return -horner(g, d);
}

double CriticalCurve::XfromT(const double* t) {
    const double T = *t;
    if (T <= Tc) return Xc;
    if (T < tJoinX) {
        const double d = T - Tc;
        scratch = d;
        return d * horner(x, d);
    }
    if (T >= tJoinX) {
        // Above 600 C a cubic, not joined to the polynomial below.
        const double e = T - tJoinX;
        scratch = e;
        return xH[0] + xH[1] * e + xH[2] * (e * e) + xH[3] * (e * e * e);
    }
    return 0.0;
}

double CriticalCurve::dXdTAt(const double* t) {
    const double T = *t;
    if (T <= Tc) return 0.0;
    if (T < tJoinX) {
        const double d = T - Tc;
        scratch = d;
        const double d2 = d * d;
        const double d3 = d2 * d;
        const double d4 = d3 * d;
        const double d5 = d4 * d;
        const double d6 = d5 * d;
        return dx[0] + dx[1] * d + dx[2] * d2 + dx[3] * d3 + dx[4] * d4 + dx[5] * d5 + dx[6] * d6;
    }
    if (T >= tJoinX) {
        const double e = T - tJoinX;
        scratch = e;
        return xH[1] + (2.0 * xH[2]) * e + (3.0 * xH[3]) * (e * e);
    }
    return 0.0;
}

double CriticalCurve::TfromP(const double* p) {
    residual = 1.0;
    if (*p <= 100.0) {
        tIter = 200.0;
    } else if (*p <= Pc) {
        tIter = 500.0;
    } else {
        tIter = 950.0;
    }
    long cycles = 0;
    while (std::fabs(residual) > tolerance) {
        if (cycles == TfromPCycleLimit) {
            *messages << "CriticalCurve::TfromP : Not converged after " << TfromPCycleLimit
                      << " cycles\n"
                      << std::flush;
            break;
        }
        ++cycles;
        residual = PfromT(&tIter) - *p;
        slope = dPdTAt(&tIter);
        tIter = tIter - residual / slope;
    }
    return tIter;
}

}  // namespace quarvessin
