// The model objects of a fixed-composition calculation and the root finders
// over them: the engine's part behind <quarvessin/isopleth.h>, shared by the
// isopleth and projection tracers.
#pragma once

#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/NaClBoilingCurve.h>
#include <quarvessin/model/NaClSublimationCurve.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>

#include <cmath>
#include <limits>
#include <vector>

namespace quarvessin {

// Samples evenly in log p between a and b (both positive), ends exact.
struct LogMap {
    double a, b;
    double operator()(double u) const {
        if (u <= 0.0) return a;
        if (u >= 1.0) return b;
        return std::exp(std::log(a) + u * (std::log(b) - std::log(a)));
    }
};

// Brent's method on a bracket [a, b] with f(a) and f(b) of opposite signs (or
// one of them zero): inverse quadratic or secant steps where they stay inside
// the bracket and shrink it fast enough, bisection otherwise, so the bracket
// always holds a sign change and halves at least every second step. Stops
// when the bracket is a few units in the last place of the root wide or f is
// exactly zero, after at most 200 steps (more than bisection down to one ulp
// needs). Returns the end of the final bracket with the smaller |f|. An end
// where |f| is at most `zero` is a root itself: a surface that ends in the
// asked composition (the liquid branch at the critical point, at the
// halite-saturated liquid) meets it there up to rounding.
template <class F>
double brentRoot(F&& f, double a, double b, double fa, double fb, double zero = 0.0) {
    if (std::fabs(fa) <= zero) return a;
    if (std::fabs(fb) <= zero) return b;
    if (!(fa * fb < 0.0)) return std::numeric_limits<double>::quiet_NaN();
    double c = a, fc = fa, d = b - a, e = d;
    for (int i = 0; i < 200; ++i) {
        if ((fb > 0.0) == (fc > 0.0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol = 2.0 * std::numeric_limits<double>::epsilon() * std::fabs(b);
        const double m = 0.5 * (c - b);
        if (std::fabs(m) <= tol || fb == 0.0) break;
        if (std::fabs(e) >= tol && std::fabs(fa) > std::fabs(fb)) {
            double p, q;
            const double s = fb / fa;
            if (a == c) {
                p = 2.0 * m * s;  // secant
                q = 1.0 - s;
            } else {
                const double r = fb / fc;  // inverse quadratic
                const double qq = fa / fc;
                p = s * (2.0 * m * qq * (qq - r) - (b - a) * (r - 1.0));
                q = (qq - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) {
                q = -q;
            } else {
                p = -p;
            }
            if (2.0 * p < std::fmin(3.0 * m * q - std::fabs(tol * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = m;
                e = m;
            }
        } else {
            d = m;
            e = m;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol ? d : (m > 0.0 ? tol : -tol);
        fb = f(b);
    }
    return std::fabs(fb) <= std::fabs(fc) ? b : c;
}

// Every root of f on [a, b] found from sign changes between n + 1 samples at
// the points map(i / n), i = 0..n (map(0) = a, map(1) = b, increasing), each
// closed by brentRoot; ascending. Roots closer together than the sampling
// are missed in pairs.
template <class F, class Map>
std::vector<double> sampledRoots(F&& f, Map&& map, int n) {
    std::vector<double> roots;
    double u0 = map(0.0);
    double f0 = f(u0);
    for (int i = 1; i <= n; ++i) {
        const double u1 = map(static_cast<double>(i) / n);
        const double f1 = f(u1);
        if (f0 == 0.0) {
            if (roots.empty() || roots.back() != u0) roots.push_back(u0);
        } else if (f0 * f1 < 0.0) {
            roots.push_back(brentRoot(f, u0, u1, f0, f1));
        }
        if (i == n && f1 == 0.0) roots.push_back(u1);
        u0 = u1;
        f0 = f1;
    }
    return roots;
}

// The model of H2O-NaCl bound to one temperature and pressure of its own:
// every surface of the system as a function of the pressure at the current
// temperature, for the solvers. Moving the temperature recomputes the
// temperature-dependent fields once; pressures then cost one evaluation each.
// Compositions in mole fraction NaCl.
class IsoplethModel {
  public:
    IsoplethModel() = default;
    IsoplethModel(const IsoplethModel&) = delete;
    IsoplethModel& operator=(const IsoplethModel&) = delete;

    // Moves to temperature t [C].
    void setTemperature(double tC) { t = tC; }
    double temperature() const { return t; }

    double threePhasePressure();             // [bar]
    double criticalPressure();               // [bar]
    double criticalComposition();            // [mole fraction]
    double sublimationPressure();            // of halite [bar]
    double boilingPressure();                // of liquid NaCl [bar]
    double waterVaporPressure();             // [bar], NaN where water has none
    double liquidBranch(double pBar);        // liquid of the vapour + liquid surface
    double vaporBranch(double pBar);         // vapour of the vapour + liquid surface
    double haliteVapor(double pBar);         // halite-saturated vapour
    double liquidus(double pBar);            // halite-saturated liquid
    double meltingTemperature(double pBar);  // of halite [C]
    // The range of the vapour + liquid surface at t (see vaporLiquidRange).
    double loopBottom();
    double loopTop();

  private:
    double t = 25.0;  // [C]
    double p = 1.0;   // [bar]
    CriticalCurve critical{&t};
    HaliteLiquidVaporCurve hlv{&t};
    NaClSublimationCurve sublimation{&t, &p};
    NaClBoilingCurve boiling{&t, &p};
    HaliteLiquidus liquidusCurve{&t, &p};
    HaliteSaturatedVapor saturatedVapor{&t, &p};
    VLLiquidBranch liquid{&t, &p};
    VLVaporBranch vapor{&t, &p};
    PureWater water{&t, &p};
    double waterT = std::numeric_limits<double>::quiet_NaN();  // t of waterP
    double waterP = std::numeric_limits<double>::quiet_NaN();  // vapour pressure at waterT [bar]
};

// The solvers of <quarvessin/isopleth.h> on a model the caller keeps, so a
// tracer pays for the model objects once. Compositions in mole fraction.
namespace isopleth {
double bubblePressure(IsoplethModel& m, double tC, double x);
std::vector<double> dewPressures(IsoplethModel& m, double tC, double x);
std::vector<double> vaporHalitePressures(IsoplethModel& m, double tC, double x);
double liquidusTemperature(IsoplethModel& m, double pBar, double x);
double threePhaseLiquidTemperature(IsoplethModel& m, double x);
// Temperature on the critical curve, 373.976 to 1000 C, of composition x; NaN where none.
double criticalTemperature(IsoplethModel& m, double x);
}  // namespace isopleth

}  // namespace quarvessin
