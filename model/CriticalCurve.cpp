#include <quarvessin/model/CriticalCurve.h>

#include <cmath>
#include <iostream>

namespace quarvessin {

namespace {
constexpr double Tc = WaterCriticalPoint::Tc;  // start of the curve [C]
constexpr double Pc = WaterCriticalPoint::Pc;  // pressure at its start [bar]
constexpr double Xc = WaterCriticalPoint::Xc;  // composition at its start [-]

// Slope fit a(d) = g0 + g1 d + ... + g9 d^9 in d = Tc - t; the slope is -a.
constexpr double g9 = 6.06034e-24;
constexpr double g8 = 1.393425e-21;
constexpr double g7 = -4.234264e-18;
constexpr double g6 = -4.571693e-16;
constexpr double g5 = 1.173966e-12;
constexpr double g4 = 1.037705e-11;
constexpr double g3 = -1.596184e-07;
constexpr double g2 = 8.07519e-06;
constexpr double g1 = 0.01275462;
constexpr double g0 = -2.16164;

constexpr double tolerance = 1e-10;  // residual at which TfromP stops [bar]
}  // namespace

CriticalCurve::CriticalCurve(double* tPtr)
    : t(*tPtr - 1.0),
      Pcrit(0.0),
      Xcrit(0.0),
      dPdT(0.0),
      dXdT(0.0),
      scratch(0.0),
      tIter(0.0),
      residual(0.0),
      slope(0.0),
      tPtr(tPtr),
      stale(true),
      waterCritical(),
      vlhCurve(&t) {}

void CriticalCurve::Refresh() {
    if (!stale && t == *tPtr) return;
    stale = false;
    t = *tPtr;
    Pcrit = PfromT(&t);
    Xcrit = XfromT(&t);
    dPdT = dPdTAt(&t);
    dXdT = dXdTAt(&t);
}

double CriticalCurve::PfromT(const double* t) {
    const double T = *t;
    if (Tc <= T && T <= 500.0) {
        const double d = T - Tc;
        scratch = d;
        return Pc + 2.36 * d - 0.0131417 * std::pow(d, 2.0) + 0.00298491 * std::pow(d, 2.5) -
               0.000130114 * std::pow(d, 3.0);
    }
    if (T > 500.0) {
        // Continuation above 500 C: a parabola joined with value and slope.
        const double b = 500.0 - Tc;
        const double P500 = Pc + 2.36 * b - 0.0131417 * std::pow(b, 2.0) + 0.00298491 * std::pow(b, 2.5) -
                            0.000130114 * std::pow(b, 3.0);
        const double S500 = 2.36 - 0.0262834 * b + 0.007462275 * std::pow(b, 1.5) - 0.000390342 * std::pow(b, 2.0);
        const double c = T - 500.0;
        scratch = c;
        return P500 + S500 * c - 0.000488336 * std::pow(c, 2.0);
    }
    // Below Tc, and for a temperature that compares unordered: formal extension.
    const double d = Tc - T;
    scratch = d;
    return Pc - 2.36 * d + 0.128534 * std::pow(d, 1.5) - 0.023707 * std::pow(d, 2.0) + 0.00320089 * std::pow(d, 2.5) -
           0.000138917 * std::pow(d, 3.0) + 1.02789e-07 * std::pow(d, 4.0) - 4.8376e-11 * std::pow(d, 5.0);
}

double CriticalCurve::dPdTAt(const double* t) {
    const double d = Tc - *t;
    scratch = d;
    double a = g9 * d;
    a = (a + g8) * d;
    a = (a + g7) * d;
    a = (a + g6) * d;
    a = (a + g5) * d;
    a = (a + g4) * d;
    a = (a + g3) * d;
    a = (a + g2) * d;
    a = (a + g1) * d;
    a = a + g0;
    return -a;
}

double CriticalCurve::XfromT(const double* t) {
    const double T = *t;
    if (T <= Tc) return Xc;
    if (T < 600.0) {
        const double d = T - Tc;
        scratch = d;
        return d * (8e-05 +
                    d * (1e-05 + d * (-1.37125e-07 +
                                      d * (9.46822e-10 + d * (-3.50549e-12 + d * (6.57369e-15 + d * (-4.89423e-18)))))));
    }
    if (T >= 600.0) {
        // Above 600 C a cubic, not joined to the polynomial below.
        const double e = T - 600.0;
        scratch = e;
        return 0.0777761 + 0.00027042 * e - 4.244821e-07 * (e * e) + 2.580872e-10 * (e * e * e);
    }
    return 0.0;
}

double CriticalCurve::dXdTAt(const double* t) {
    const double T = *t;
    if (T <= Tc) return 0.0;
    if (T < 600.0) {
        const double d = T - Tc;
        scratch = d;
        const double d2 = d * d;
        const double d3 = d2 * d;
        const double d4 = d3 * d;
        const double d5 = d4 * d;
        const double d6 = d5 * d;
        return 8e-05 + 2e-05 * d - 4.11375e-07 * d2 + 3.787288e-09 * d3 - 1.752745e-11 * d4 + 3.944214e-14 * d5 +
               (7.0 * -4.89423e-18) * d6;
    }
    if (T >= 600.0) {
        const double e = T - 600.0;
        scratch = e;
        return 0.00027042 - 8.489642e-07 * e + (3.0 * 2.580872e-10) * (e * e);
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
