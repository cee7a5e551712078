// Single states of water: evaluation at (T, p) by a bounded Newton solve for
// the density, evaluation at (T, rho) with liquid-vapour mixtures inside the
// saturation dome, and the derivative sets of the property records.
#include "water/state.h"

#include <cmath>

#include "water/ice.h"
#include "water/saturation.h"

namespace quarvessin {

namespace water_internal {
namespace {

// Newton steps of the density solve.
constexpr int kDensityPasses = 20;
// Residual pressure accepted for a liquid-side density [MPa]; see solveDensity.
constexpr double kLiquidPressureNoise = 1e-8;

// Range of the equation of state [K], [MPa].
constexpr double kTmin = 260.0;
constexpr double kTmax = 2500.0;
constexpr double kPmin = 1e-6;
constexpr double kPmax = 3000.0;
// Pressure of the ice Ih - ice III - liquid triple point [MPa]; above it the
// high-pressure ices bound the liquid, up to 413 K.
constexpr double kPiceIII = 209.9;
constexpr double kTiceHighMax = 413.0;

// Library to SI unit factors.
constexpr double kMPaToPa = 1e6;
constexpr double kGcm3ToKgm3 = 1000.0;
constexpr double kKjToJ = 1000.0;
// Factors of derivatives taken with respect to a library quantity.
constexpr double kPerMPa = 1e-6;   // per MPa -> per Pa
constexpr double kPerKj = 1e-3;    // per kJ/kg or kJ/(kg K) -> per J/kg or J/(kg K)
constexpr double kPerGcm3 = 1e-3;  // per g/cm3 -> per kg/m3

// A property Z and its partial derivatives in temperature and density
// [library units].
struct Partials {
    double v;   // Z
    double T;   // (dZ/dT) at constant density
    double d;   // (dZ/drho) at constant temperature
    double TT;  // d2Z/dT2
    double Td;  // d2Z/dT drho
    double dd;  // d2Z/drho2
};

// Derivatives of Z in the plane of pressure p and a second variable Y (h or
// s), from the Jacobian identities
//   (dZ/dY)p = (ZT pd - Zd pT) / J,   (dZ/dp)Y = (Zd YT - ZT Yd) / J,
//   J = YT pd - Yd pT.
struct PlanePair {
    Partials perY;  // (dZ/dY)p with its partials in T and rho (first order only)
    Partials perP;  // (dZ/dp)Y likewise
};

PlanePair planeDerivs(const Partials& Z, const Partials& P, const Partials& Y, bool second) {
    PlanePair r{};
    const double J = Y.T * P.d - Y.d * P.T;
    r.perY.v = (Z.T * P.d - Z.d * P.T) / J;
    r.perP.v = (Z.d * Y.T - Z.T * Y.d) / J;
    if (second) {
        const double JT = Y.TT * P.d + Y.T * P.Td - Y.Td * P.T - Y.d * P.TT;
        const double Jd = Y.Td * P.d + Y.T * P.dd - Y.dd * P.T - Y.d * P.Td;
        r.perY.T = (Z.TT * P.d + Z.T * P.Td - Z.Td * P.T - Z.d * P.TT - r.perY.v * JT) / J;
        r.perY.d = (Z.Td * P.d + Z.T * P.dd - Z.dd * P.T - Z.d * P.Td - r.perY.v * Jd) / J;
        r.perP.T = (Z.Td * Y.T + Z.d * Y.TT - Z.TT * Y.d - Z.T * Y.Td - r.perP.v * JT) / J;
        r.perP.d = (Z.dd * Y.T + Z.d * Y.Td - Z.Td * Y.d - Z.T * Y.dd - r.perP.v * Jd) / J;
    }
    return r;
}

// Writes (dZ/dY)p and (dZ/dp)Y of Z (SI factor fz) into out, as perH/perPh
// when Y is the enthalpy and as perS/perPs when it is the entropy; with
// children, also their own (p,h) derivatives into second[2] and second[3].
void writePlane(PropDerivs* out, const Partials& Z, double fz, const Partials& P, const Partials& Y,
                bool isH, bool children) {
    if (out == nullptr) return;
    const PlanePair pair = planeDerivs(Z, P, Y, children);
    if (isH) {
        out->perH = pair.perY.v * fz * kPerKj;
        out->perPh = pair.perP.v * fz * kPerMPa;
    } else {
        out->perS = pair.perY.v * fz * kPerKj;
        out->perPs = pair.perP.v * fz * kPerMPa;
        return;
    }
    if (!children) return;
    if (PropDerivs* c2 = out->second[2]) {
        const PlanePair w = planeDerivs(pair.perY, P, Y, false);
        c2->perH = w.perY.v * fz * kPerKj * kPerKj;
        c2->perPh = w.perP.v * fz * kPerKj * kPerMPa;
    }
    if (PropDerivs* c3 = out->second[3]) {
        const PlanePair w = planeDerivs(pair.perP, P, Y, false);
        c3->perH = w.perY.v * fz * kPerMPa * kPerKj;
        c3->perPh = w.perP.v * fz * kPerMPa * kPerMPa;
    }
}

// The (p,h) or (p,s) derivative sets of a record, from the pressure P,
// cv with its partials (cvT, cvd), u, s, h, cp and, for a mixture, the vapour
// fraction X, at (T, d). Second-order partials are used only at grade 2.
void planeSets(WaterProps* rec, double T, double d, const Partials& P, double cv, double cvT,
               double u, double s, double h, const Partials& CP, const Partials* X) {
    const bool isH = rec->var2 == 'h';
    const bool grade2 = rec->deriv == 2;
    const double d2 = d * d;
    const double d3 = d2 * d;
    const double cvd = -T * P.TT / d2;  // from d2s/dT drho = d2p/dT2 / rho^2 (Maxwell)
    const Partials Tz{T, 1.0, 0.0, 0.0, 0.0, 0.0};
    const Partials Dz{d, 0.0, 1.0, 0.0, 0.0, 0.0};
    const Partials S{
        s, cv / T, -P.T / d2, cvT / T - cv / (T * T), -P.TT / d2, -P.Td / d2 + 2.0 * P.T / d3};
    const Partials U{u,   cv,  (P.v - T * P.T) / d2,
                     cvT, cvd, (P.d - T * P.Td) / d2 - 2.0 * (P.v - T * P.T) / d3};
    const Partials H{h,
                     cv + P.T / d,
                     (P.d - T * P.T / d) / d,
                     cvT + P.TT / d,
                     cvd + P.Td / d - P.T / d2,
                     P.dd / d - P.d / d2 - T * P.Td / d2 + 2.0 * T * P.T / d3};
    const Partials CV{cv, cvT, cvd, 0.0, 0.0, 0.0};
    const Partials& Y = isH ? H : S;

    if (X != nullptr) writePlane(rec->dx, *X, 1.0, P, Y, isH, grade2);
    writePlane(rec->dT, Tz, 1.0, P, Y, isH, grade2);
    writePlane(rec->dd, Dz, kGcm3ToKgm3, P, Y, isH, grade2);
    if (isH) {
        writePlane(rec->ds, S, kKjToJ, P, Y, isH, grade2);
    } else {
        writePlane(rec->dh, H, kKjToJ, P, Y, isH, grade2);
    }
    writePlane(rec->du, U, kKjToJ, P, Y, isH, grade2);
    if (grade2) {
        writePlane(rec->dcv, CV, kKjToJ, P, Y, isH, false);
        writePlane(rec->dcp, CP, kKjToJ, P, Y, isH, false);
    }
}

bool wantsPlaneSets(const WaterProps* rec) {
    return rec->deriv >= 1 && rec->var1 == 'p' && (rec->var2 == 'h' || rec->var2 == 's');
}

}  // namespace

bool validTd(double T, double d) { return !(T < kTmin || T > kTmax || d < kEpsilon || d > kDmax); }

bool validTp(double T, double p) {
    if (T < kTmin || T > kTmax || p < kPmin || p > kPmax) return false;
    if (p >= kPiceIII) return T > kTiceHighMax || p <= meltingPressureHigh(T);
    if (T > kTtriple) return true;
    return p <= sublimationPressure(T) || p >= meltingPressureIh(T);
}

DensityRange densityBounds(double T, double dGuess) {
    DensityRange r{kEpsilon, kDmax};
    if (T < kTcrit) {
        const bool vapour = dGuess < kDcrit;
        if (T > 620.0) {
            // Scaling-law half-width of the dome, narrowed by up to 0.03 g/cm3
            // at 620 K so that the bound stays outside the coexisting density.
            const double w = scalingHalfWidth(T) + 0.03 * (T - kTcrit) / 27.126;
            if (vapour) {
                r.dmax = kDcrit - w;
            } else {
                r.dmin = kDcrit + w;
            }
        } else {
            if (vapour) {
                r.dmax = std::exp(0.013 * T - 10.1);
            } else {
                r.dmin = 1.2925 - 0.00117 * T;
            }
        }
    }
    return r;
}

int phaseRegion(double T, double p) {
    if (T < kTtriple) return p > kPtriple ? kLiquidSide : kVapourSide;
    const double ps = psatApprox(T).p;
    if (T > kTnearCritical) {
        if (p > ps + 0.003) return kLiquidSide;
        if (p < ps - 0.007) return kVapourSide;
    } else {
        if (p > 1.00015 * ps) return kLiquidSide;
        if (p < 0.99985 * ps) return kVapourSide;
    }
    // Too close to the approximate curve: decide on the equation of state.
    Coexistence sat;
    const double psat = satSolveT(T, sat);
    if (T > kTnearCritical) {
        if (p > sat.liq.p) return kLiquidSide;
        if (p < sat.vap.p) return kVapourSide;
        return kOnSaturation;
    }
    if (p > psat * 1.000001) return kLiquidSide;
    if (p < psat * 0.999999) return kVapourSide;
    return kOnSaturation;
}

void solveDensity(double T, double p, double& d, double relTol, EosWork& work, WaterProps* rec) {
    const DensityRange range = densityBounds(T, d);
    tempTerms(T, work);
    for (int pass = 0; pass < kDensityPasses; ++pass) {
        if (d < range.dmin) {
            d = range.dmin;
        } else if (d > range.dmax) {
            d = range.dmax;
        }
        densityTerms(T, d, work);
        const double diff = work.p - p;
        // The pressure of a dense liquid is a difference of terms of order
        // 1e6 kJ/kg and carries a rounding error of a few 1e-9 MPa; at low
        // pressure that exceeds relTol * p and the relative test alone could
        // never be met. On the liquid side a residual of that size is
        // accepted as well. A vapour's pressure has no such cancellation.
        if (std::fabs(diff / p) <= relTol ||
            (d > kDcrit && std::fabs(diff) <= kLiquidPressureNoise)) {
            fillSinglePhase(T, d, work, rec);
            return;
        }
        d = d - diff / work.dpdd;
    }
    rec->status = 1;
}

void fillSinglePhase(double T, double d, EosWork& w, WaterProps* rec) {
    rec->T = T;
    rec->d = d * kGcm3ToKgm3;
    rec->p = w.p * kMPaToPa;
    rec->f = w.f * kKjToJ;
    rec->g = w.g * kKjToJ;
    rec->s = w.s * kKjToJ;
    rec->u = w.u * kKjToJ;
    rec->h = w.h * kKjToJ;
    rec->cv = w.cv * kKjToJ;
    rec->cp = w.cp * kKjToJ;
    const int grade = rec->deriv;
    if (grade >= 1 && rec->dp != nullptr) {
        rec->dp->perT = w.dpdT * kMPaToPa;
        rec->dp->perD = w.dpdd * 1000.0;  // MPa per g/cm3 -> Pa per kg/m3
    }
    if (grade == 2) {
        thirdDerivatives(T, d, w);
        if (rec->dp != nullptr) {
            if (PropDerivs* c = rec->dp->second[0]) {
                c->perT = w.d2pdT2 * kMPaToPa;
                c->perD = w.d2pdTdd * 1000.0;
            }
            if (PropDerivs* c = rec->dp->second[1]) {
                c->perT = w.d2pdTdd * 1000.0;
                c->perD = w.d2pdd2;  // MPa per (g/cm3)^2 = Pa per (kg/m3)^2
            }
        }
        if (rec->dcv != nullptr) rec->dcv->perT = w.dcvdT * kKjToJ;
    }
    if (wantsPlaneSets(rec)) {
        const bool grade2 = grade == 2;
        const Partials P{w.p,
                         w.dpdT,
                         w.dpdd,
                         grade2 ? w.d2pdT2 : 0.0,
                         grade2 ? w.d2pdTdd : 0.0,
                         grade2 ? w.d2pdd2 : 0.0};
        const double cvT = grade2 ? w.dcvdT : 0.0;
        // cp = cv + T pT^2 / (rho^2 pd) and its partials.
        Partials CP{w.cp, 0.0, 0.0, 0.0, 0.0, 0.0};
        if (grade2) {
            const double d2 = d * d;
            const double q = d2 * P.d;
            const double cvd = -T * P.TT / d2;
            CP.T = cvT + (P.T * P.T + 2.0 * T * P.T * P.TT) / q - T * P.T * P.T * P.Td / (q * P.d);
            CP.d = cvd + 2.0 * T * P.T * P.Td / q - 2.0 * T * P.T * P.T / (q * d) -
                   T * P.T * P.T * P.dd / (q * P.d);
        }
        w.dhdT = w.cv + w.dpdT / d;
        w.dhdd = (w.dpdd - T * w.dpdT / d) / d;
        w.dsdT = w.cv / T;
        w.dsdd = -w.dpdT / (d * d);
        planeSets(rec, T, d, P, w.cv, cvT, w.u, w.s, w.h, CP, nullptr);
    }
    rec->phase = 1;
    rec->status = 0;
}

void fillTwoPhase(double T, double psat, double x, double dl, double dv, EosWork& L, EosWork& V,
                  WaterProps* rec) {
    const double d = dl * dv / (dv + (dl - dv) * x);  // 1/d = (1-x)/dl + x/dv
    const double s = L.s + x * (V.s - L.s);
    const double u = L.u + x * (V.u - L.u);
    const double h = L.h + x * (V.h - L.h);
    rec->x = x;
    rec->T = T;
    rec->d = d * kGcm3ToKgm3;
    rec->p = psat * kMPaToPa;
    rec->s = s * kKjToJ;
    rec->u = u * kKjToJ;
    rec->h = h * kKjToJ;
    rec->f = rec->u - T * rec->s;
    rec->g = rec->h - T * rec->s;

    // Clapeyron slope of the saturation pressure, a = 1/(vV - vL).
    const double a = dl * dv / (dl - dv);
    const double sigma = a * (V.s - L.s);
    // Temperature derivatives of the two specific volumes along the curve.
    const double vLp = (L.dpdT - sigma) / L.dpdd / (dl * dl);
    const double vVp = (V.dpdT - sigma) / V.dpdd / (dv * dv);
    // Vapour fraction at constant mixture density.
    const double xT = -a * (vLp + x * (vVp - vLp));
    const double xd = -a / (d * d);
    // Each phase's internal energy along the curve changes by cv plus the
    // work of its volume change against (T dp/dT - p).
    const double uLp = L.cv + vLp * (T * L.dpdT - L.p);
    const double uVp = V.cv + vVp * (T * V.dpdT - V.p);
    const double cv = (V.u - L.u) * xT + (1.0 - x) * uLp + x * uVp;
    rec->cv = cv * kKjToJ;
    rec->cp = 0.0;

    const int grade = rec->deriv;
    if (grade >= 1) {
        if (rec->dp != nullptr) {
            rec->dp->perT = sigma * kMPaToPa;
            rec->dp->perD = 0.0;
        }
        if (rec->dx != nullptr) {
            rec->dx->perT = xT;
            rec->dx->perD = xd * kPerGcm3;
        }
    }

    double sigmaT = 0.0;  // d2psat/dT2 [MPa/K2]
    double cvT = 0.0;     // (dcv/dT) at constant mixture density [kJ/(kg K2)]
    double xTT = 0.0;
    double xTd = 0.0;
    double xdd = 0.0;
    if (grade == 2) {
        thirdDerivatives(T, dl, L);
        thirdDerivatives(T, dv, V);
        // Density slopes along the curve, from p(T, rho(T)) = psat(T).
        const double rLp = (sigma - L.dpdT) / L.dpdd;
        const double rVp = (sigma - V.dpdT) / V.dpdd;
        // Entropy slopes along the curve and the Clapeyron slope's derivative.
        const double sLp = L.cv / T + L.dpdT * vLp;
        const double sVp = V.cv / T + V.dpdT * vVp;
        const double dvp = vVp - vLp;
        sigmaT = a * ((sVp - sLp) - sigma * dvp);
        const double rLpp =
            (sigmaT - L.d2pdT2 - 2.0 * L.d2pdTdd * rLp - L.d2pdd2 * rLp * rLp) / L.dpdd;
        const double rVpp =
            (sigmaT - V.d2pdT2 - 2.0 * V.d2pdTdd * rVp - V.d2pdd2 * rVp * rVp) / V.dpdd;
        const double vLpp = -rLpp / (dl * dl) + 2.0 * rLp * rLp / (dl * dl * dl);
        const double vVpp = -rVpp / (dv * dv) + 2.0 * rVp * rVp / (dv * dv * dv);
        const double dvpp = vVpp - vLpp;
        xTT = -a * (vLpp + 2.0 * xT * dvp + x * dvpp);
        xTd = -a * dvp * xd;
        xdd = 2.0 * a / (d * d * d);
        // Second temperature derivatives of the phases' energies along the
        // curve, with (dcv/drho)T = -T (d2p/dT2) / rho^2.
        const double cvdL = -T * L.d2pdT2 / (dl * dl);
        const double cvdV = -T * V.d2pdT2 / (dv * dv);
        const double uLpp = L.dcvdT + cvdL * rLp + vLpp * (T * L.dpdT - L.p) +
                            vLp * (T * (L.d2pdT2 + L.d2pdTdd * rLp) - L.dpdd * rLp);
        const double uVpp = V.dcvdT + cvdV * rVp + vVpp * (T * V.dpdT - V.p) +
                            vVp * (T * (V.d2pdT2 + V.d2pdTdd * rVp) - V.dpdd * rVp);
        cvT = 2.0 * xT * (uVp - uLp) + (V.u - L.u) * xTT + (1.0 - x) * uLpp + x * uVpp;

        if (rec->dx != nullptr) {
            if (PropDerivs* c = rec->dx->second[0]) {
                c->perT = xTT;
                c->perD = xTd * kPerGcm3;
            }
            if (PropDerivs* c = rec->dx->second[1]) {
                c->perT = xTd * kPerGcm3;
                c->perD = xdd * kPerGcm3 * kPerGcm3;
            }
        }
        if (rec->dp != nullptr) {
            if (PropDerivs* c = rec->dp->second[0]) {
                c->perT = sigmaT * kMPaToPa;
                c->perD = 0.0;
            }
            if (PropDerivs* c = rec->dp->second[1]) {
                c->perT = 0.0;
                c->perD = 0.0;
            }
        }
        if (rec->dcv != nullptr) rec->dcv->perT = cvT * kKjToJ;
    }

    if (wantsPlaneSets(rec)) {
        // In the dome the pressure depends on temperature only.
        const Partials P{psat, sigma, 0.0, sigmaT, 0.0, 0.0};
        const Partials X{x, xT, xd, xTT, xTd, xdd};
        const Partials CP{0.0, 0.0, 0.0, 0.0, 0.0, 0.0};  // cp is 0 in a mixture
        planeSets(rec, T, d, P, cv, cvT, u, s, h, CP, &X);
    }
    rec->phase = 2;
    rec->status = 0;
}

}  // namespace water_internal

void propTp(double T, double p, double dGuess, double relTol, WaterProps* rec) {
    using namespace water_internal;
    if (rec == nullptr) return;
    p = p * 1e-6;             // Pa -> MPa
    dGuess = dGuess * 0.001;  // kg/m3 -> g/cm3
    rec->status = 1;
    if (!validTp(T, p)) return;
    if (T < kTcrit) {
        const int code = phaseRegion(T, p);
        if (code == kOnSaturation) return;
        if (code == kLiquidSide && dGuess < kDcrit) dGuess = kDcrit * 1.01;
        if (code == kVapourSide && dGuess > kDcrit) dGuess = kDcrit * 0.99;
    }
    EosWork work;
    solveDensity(T, p, dGuess, relTol, work, rec);
}

void propTd(double T, double d, WaterProps* rec) {
    using namespace water_internal;
    if (rec == nullptr) return;
    d = d * 0.001;  // kg/m3 -> g/cm3
    if (!validTd(T, d)) {
        rec->status = 1;
        return;
    }
    if (T >= kTtriple && T <= kTcrit) {
        Coexistence sat;
        const double psat = satSolveT(T, sat);
        if (sat.dv < d && d < sat.dl) {
            const double x = (1.0 / d - 1.0 / sat.dl) / (1.0 / sat.dv - 1.0 / sat.dl);
            fillTwoPhase(T, psat, x, sat.dl, sat.dv, sat.liq, sat.vap, rec);
            return;
        }
    }
    EosWork work;
    evalTd(T, d, work);
    fillSinglePhase(T, d, work, rec);
}

}  // namespace quarvessin
