// Liquid-vapour saturation of water on the Haar-Gallagher-Kell equation of
// state, and the approximate vapour-pressure and density correlations that
// start its iterations.
#include "water/saturation.h"

#include <cmath>

#include "water/state.h"

namespace quarvessin {

namespace water_internal {
namespace {

// Cycle limits of the iterations.
constexpr int kSatTPasses = 20;
constexpr int kSatPPasses = 20;
constexpr int kNearCriticalNewtonPasses = 10;
constexpr int kNearCriticalBisectionPasses = 20;
constexpr int kTsatPasses = 9;

// Above this pressure the near-critical saturation temperature is bracketed
// instead of followed by Newton steps [MPa].
constexpr double kPbisection = 22.05485;
// Bracket of the bisection [K].
constexpr double kTbisectionLow = 647.1259;

// Vapour-pressure correlation above 314 K: critical temperature [K] and
// pressure [MPa] of the fit, and coefficients of the series in
// sqrt(1 - T/Tc).
constexpr double kTcFit = 647.25;
constexpr double kPcFit = 22.093;
constexpr double psatA[8] = {-7.8889166, 2.5514255, -6.716169,  33.239495,
                             -105.38479, 174.35319, -148.39348, 48.631602};

constexpr double kTpsatSwitch = 314.0;  // border of the two vapour-pressure correlations [K]
// Vapour-pressure correlation below 314 K:
// psat = 0.1 exp(psatLow[0] + psatLow[1] / T + psatLow[2] T^psatLowPower) [MPa].
constexpr double psatLow[3] = {6.3573118, -8858.843, 607.56335};
constexpr double psatLowPower = -0.6;

// Saturation-temperature correlation that starts tsatApprox: T = tsatA[0] +
// tsatA[1] L + ... + tsatA[4] L^4 [K] in L = ln p + kLn10 = ln(p / 0.1 MPa).
constexpr double tsatA[5] = {372.83, 27.7589, 2.3819, 0.24834, 0.0193855};
constexpr double kLn10 = 2.302585;  // ln 10 as the correlation uses it [-]

// Saturated-density correlations, volumes in units of 1/kVolumeUnit cm3/g, as
// series in (1 - T/kTcDensityFit)^(1/4) above kTdensitySwitch and in
// T/kTcDensityFit - kDensityDeltaOffset below.
constexpr double kTcDensityFit = 647.3;                     // critical temperature of the fit [K]
constexpr double kTdensitySwitch = 623.15;                  // [K]
constexpr double kVolumeUnit = 3.17;                        // [cm3/g]
constexpr double kDensityDeltaOffset = 0.4219836242854936;  // 273.15 K / kTcDensityFit [-]
constexpr double cL[10] = {1.0,         0.643432247,  -25.98811457, 192.8271795,  -947.6312526,
                           3190.638964, -6805.842363, 8088.134131,  -4034.574025, 0.0};
constexpr double cV[10] = {1.000000272, 4.026415669,  -129.9023268, 1867.667009,  -13845.24815,
                           61824.71587, -171560.6251, 290312.0606,  -274292.5181, 111202.097};
constexpr double bL[11] = {0.3155901296, -0.03592060636, 2.396625841, -36.39240662,
                           413.6745246,  -2911.342409,   12844.66533, -35543.55367,
                           59925.07856,  -56266.61248,   22585.58};
constexpr double bV[11] = {11.08333753,  -44.64350654, 121.0778198,  -278.5153762,
                           327.9464497,  1462.514145,  -11593.55916, 38922.19673,
                           -73229.67131, 74466.37149,  -31962.35787};

// a[0] + a[1] x + ... + a[n-1] x^(n-1), term by term from i = 0 and added
// left to right, each power the previous one times x.
template <int n>
double powerSeries(const double (&a)[n], double x) {
    double sum = 0.0;
    double xi = 1.0;  // x^i
    for (int i = 0; i < n; ++i) {
        sum = sum + a[i] * xi;
        xi = xi * x;
    }
    return sum;
}

}  // namespace

double gibbsGap(double T, double dl, double dv, EosWork& work, EosWork& liq) {
    densityTerms(T, dl, work);
    liq = work;
    densityTerms(T, dv, work);
    return std::fabs(liq.g - work.g) / (kGasConstant * T);
}

double satSolveT(double T, Coexistence& sat) {
    if (T > kTnearCritical) return satNearCriticalT(T, sat);
    EosWork& L = sat.liq;
    EosWork& V = sat.vap;
    tempTerms(T, V);
    const DensityPair start = satDensityApprox(T);
    double dl = start.dl;
    double dv = start.dv;
    for (int pass = 0; pass < kSatTPasses; ++pass) {
        const double gap = gibbsGap(T, dl, dv, V, L);
        if (std::fabs(1.0 - V.p / L.p) < 1e-6 && gap < 1e-8) break;
        // Pressure of the equal-area (Maxwell) construction between the two
        // densities; each density moves by Newton on its own isotherm to it.
        const double pStar = (L.f - V.f) / (1.0 / dv - 1.0 / dl);
        dl = dl - (L.p - pStar) / L.dpdd;
        dv = dv - (V.p - pStar) / V.dpdd;
    }
    sat.T = T;
    sat.dl = dl;
    sat.dv = dv;
    sat.p = (L.p + V.p) / 2.0;
    return sat.p;
}

double satSolveP(double p, Coexistence& sat) {
    if (p > kPnearCritical) return satNearCriticalP(p, sat);
    EosWork& L = sat.liq;
    EosWork& V = sat.vap;
    double T = tsatApprox(p);
    const DensityPair start = satDensityApprox(T);
    double dl = start.dl;
    double dv = start.dv;
    for (int pass = 0; pass < kSatPPasses; ++pass) {
        tempTerms(T, V);
        const double gap = gibbsGap(T, dl, dv, V, L);
        if (std::fabs(1.0 - L.p / p) < 1e-6 && std::fabs(1.0 - V.p / p) < 1e-6 && gap < 1e-8) {
            break;
        }
        // Simultaneous Newton step on T, dl and dv: the Clapeyron-like step
        // in T from the Gibbs-energy difference, then each density to the
        // target pressure along its own linearised surface.
        const double dT = (p * (1.0 / dl - 1.0 / dv) + (L.f - V.f)) / (L.s - V.s);
        T = T + dT;
        dl = dl + (p - L.p - L.dpdT * dT) / L.dpdd;
        dv = dv + (p - V.p - V.dpdT * dT) / V.dpdd;
    }
    sat.T = T;
    sat.dl = dl;
    sat.dv = dv;
    sat.p = p;
    return T;
}

double scalingHalfWidth(double T) {
    return kScalingAmplitude * std::pow(1.0 - T / kTcrit, kScalingExponent);
}

double satNearCriticalT(double T, Coexistence& sat) {
    EosWork& V = sat.vap;
    tempTerms(T, V);
    const double w = scalingHalfWidth(T);
    const double dl = kDcrit + w;
    const double dv = kDcrit - w;
    densityTerms(T, dl, V);
    sat.liq = V;
    densityTerms(T, dv, V);
    sat.T = T;
    sat.dl = dl;
    sat.dv = dv;
    sat.p = 0.4 * sat.liq.p + 0.6 * V.p;
    return sat.p;
}

double satNearCriticalP(double p, Coexistence& sat) {
    double T;
    if (p < kPbisection) {
        T = kTcrit;
        for (int pass = 0; pass < kNearCriticalNewtonPasses; ++pass) {
            const double psat = satNearCriticalT(T, sat);
            if (std::fabs(psat - p) <= 1e-6) break;
            T = T - (psat - p) / psatApprox(T).dpdT;
        }
    } else {
        double low = kTbisectionLow;
        double high = kTcrit;
        T = high;
        for (int pass = 0; pass < kNearCriticalBisectionPasses; ++pass) {
            T = (low + high) / 2.0;
            const double psat = satNearCriticalT(T, sat);
            if (p < psat) {
                high = T;
            } else {
                low = T;
            }
            if (std::fabs(psat - p) <= 1e-6) break;
        }
    }
    sat.T = T;
    return T;
}

PsatEstimate psatApprox(double T) {
    if (T > kTpsatSwitch) {
        const double tau = std::fabs(1.0 - T / kTcFit);
        const double r = std::sqrt(tau);
        // S = sum a_i r^i and Sd = sum a_i (i+2)/2 r^i, term by term from
        // i = 0, each power the previous one times r.
        double S = 0.0;
        double Sd = 0.0;
        double ri = 1.0;  // r^i
        for (int i = 0; i < 8; ++i) {
            S = S + psatA[i] * ri;
            Sd = Sd + psatA[i] * (i + 2) / 2.0 * ri;
            ri = ri * r;
        }
        const double lnRatio = (kTcFit / T) * tau * S;  // ln(psat / 22.093)
        const double psat = kPcFit * std::exp(lnRatio);
        return {psat, -psat * (Sd + lnRatio) / T};
    }
    const double Tp = std::pow(T, psatLowPower);
    const double psat = 0.1 * std::exp(psatLow[0] + psatLow[1] / T + psatLow[2] * Tp);
    return {psat, psat * (-psatLow[1] / T + psatLowPower * psatLow[2] * Tp) / T};
}

double tsatApprox(double p) {
    const double L = std::log(p) + kLn10;
    const double L2 = L * L;
    const double L3 = L2 * L;
    const double L4 = L3 * L;
    double T = tsatA[0] + tsatA[1] * L + tsatA[2] * L2 + tsatA[3] * L3 + tsatA[4] * L4;
    for (int pass = 0; pass < kTsatPasses; ++pass) {
        if (T < 273.15) T = 273.15;
        if (T > kTcrit) T = kTcrit;
        const PsatEstimate ps = psatApprox(T);
        if (std::fabs(1.0 - ps.p / p) < 1e-5) break;
        T = T - (ps.p - p) / ps.dpdT;
    }
    return T;
}

DensityPair satDensityApprox(double T) {
    double VL;
    double VV;
    if (T > kTdensitySwitch) {
        const double r = std::pow(1.0 - T / kTcDensityFit, 0.25);
        VL = powerSeries(cL, r);
        VV = powerSeries(cV, r);
    } else {
        const double delta = T / kTcDensityFit - kDensityDeltaOffset;
        VL = powerSeries(bL, delta);
        VV = std::exp(powerSeries(bV, delta));
    }
    return {1.0 / (kVolumeUnit * VL), 1.0 / (kVolumeUnit * VV)};
}

}  // namespace water_internal

void satPropT(double T, WaterProps* liq, WaterProps* vap) {
    using namespace water_internal;
    if (liq == nullptr || vap == nullptr) {
        if (liq != nullptr) liq->status = 1;
        if (vap != nullptr) vap->status = 1;
        return;
    }
    if (T > kTcrit || T < kTtriple) {
        liq->status = 1;
        vap->status = 1;
        return;
    }
    Coexistence sat;
    satSolveT(T, sat);
    fillSinglePhase(T, sat.dv, sat.vap, vap);
    fillSinglePhase(T, sat.dl, sat.liq, liq);
}

void satPropP(double p, WaterProps* liq, WaterProps* vap) {
    using namespace water_internal;
    if (liq == nullptr || vap == nullptr) {
        if (liq != nullptr) liq->status = 1;
        if (vap != nullptr) vap->status = 1;
        return;
    }
    p = p * 1e-6;  // Pa -> MPa
    if (p > kPcrit || p < kPtriple) {
        liq->status = 1;
        vap->status = 1;
        return;
    }
    Coexistence sat;
    const double T = satSolveP(p, sat);
    fillSinglePhase(T, sat.dv, sat.vap, vap);
    fillSinglePhase(T, sat.dl, sat.liq, liq);
}

}  // namespace quarvessin
