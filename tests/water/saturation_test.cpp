// Liquid-vapour saturation: check values of the coefficient sheet, range
// limits, the near-critical scaling law and the start approximations.
#include "water/saturation.h"

#include <gtest/gtest.h>
#include <quarvessin/water.h>

#include <cmath>

using namespace quarvessin;

namespace {

using namespace water_internal;

class WaterSaturation : public ::testing::Test {
  protected:
    void SetUp() override {
        liq = newProp('T', 'p', 1);
        vap = newProp('T', 'p', 1);
    }
    void TearDown() override {
        freeProp(liq);
        freeProp(vap);
    }
    WaterProps* liq = nullptr;
    WaterProps* vap = nullptr;
};

bool nearRel(double actual, double expected, double rel) {
    return std::fabs(actual - expected) <= rel * std::fabs(expected);
}

TEST_F(WaterSaturation, TriplePointAndReferenceState) {
    Coexistence sat;
    const double psat = satSolveT(273.16, sat);
    // psat = 0.00061173167 MPa; its eighth digit is below the rounding of the
    // liquid-side pressure, so 1e-6 relative.
    EXPECT_TRUE(nearRel(psat, 0.00061173167, 1e-6)) << psat;
    EXPECT_TRUE(nearRel(sat.dl, 0.99977821, 1e-8)) << sat.dl;
    EXPECT_TRUE(nearRel(sat.dv, 4.8546759e-6, 1e-8)) << sat.dv;
    // Reference state of the formulation: u = s = 0 for the saturated
    // liquid at the triple point, to the precision of its two constants.
    EXPECT_NEAR(sat.liq.u, 0.0, 1e-4);
    EXPECT_NEAR(sat.liq.s, 0.0, 1e-5);
    // Coexistence: equal Gibbs energies.
    EXPECT_NEAR(sat.liq.g, sat.vap.g, 1e-8 * kGasConstant * 273.16);
}

// Values of the coefficient sheet (SI, to about 1e-9 relative except the
// pressures, which agree to the tolerance of the coexistence solve).
TEST_F(WaterSaturation, CheckStatesByTemperatureAndPressure) {
    satPropT(373.15, liq, vap);
    EXPECT_EQ(liq->status, 0);
    EXPECT_EQ(vap->status, 0);
    EXPECT_EQ(liq->phase, 1);
    EXPECT_TRUE(nearRel(liq->p, 101321.9976, 1e-8)) << liq->p;
    EXPECT_TRUE(nearRel(vap->p, 101321.9967, 1e-8)) << vap->p;
    EXPECT_TRUE(nearRel(liq->p, vap->p, 1e-6));
    EXPECT_TRUE(nearRel(liq->d, 958.3925788, 1e-9)) << liq->d;
    EXPECT_TRUE(nearRel(vap->d, 0.5975017075, 1e-9)) << vap->d;
    EXPECT_TRUE(nearRel(liq->h, 419063.5596, 1e-9)) << liq->h;
    EXPECT_TRUE(nearRel(vap->h, 2675725.55, 1e-9)) << vap->h;

    satPropT(600.0, liq, vap);
    EXPECT_TRUE(nearRel(liq->p, 12339447.36, 1e-8)) << liq->p;
    EXPECT_TRUE(nearRel(liq->d, 649.6552302, 1e-9)) << liq->d;
    EXPECT_TRUE(nearRel(vap->d, 72.81049784, 1e-9)) << vap->d;

    satPropP(0.1e6, liq, vap);
    EXPECT_EQ(liq->T, vap->T);
    EXPECT_TRUE(nearRel(liq->T, 372.7823826, 1e-9)) << liq->T;
    EXPECT_TRUE(nearRel(liq->d, 958.6559114, 1e-9)) << liq->d;
    EXPECT_TRUE(nearRel(vap->d, 0.5902068306, 1e-9)) << vap->d;
    EXPECT_TRUE(nearRel(liq->p, 0.1e6, 1e-6));

    satPropP(10e6, liq, vap);
    EXPECT_TRUE(nearRel(liq->T, 584.1806323, 1e-9)) << liq->T;
    EXPECT_TRUE(nearRel(liq->d, 688.6277567, 1e-9)) << liq->d;
    EXPECT_TRUE(nearRel(vap->d, 55.47708077, 1e-9)) << vap->d;
}

TEST_F(WaterSaturation, RangeLimits) {
    satPropT(273.16, liq, vap);
    EXPECT_EQ(liq->status + vap->status, 0);
    satPropT(647.126, liq, vap);
    EXPECT_EQ(liq->status + vap->status, 0);
    EXPECT_EQ(liq->d, vap->d);  // the scaling law closes at the critical density
    satPropT(273.15, liq, vap);
    EXPECT_EQ(liq->status, 1);
    EXPECT_EQ(vap->status, 1);
    satPropT(647.127, liq, vap);
    EXPECT_EQ(liq->status + vap->status, 2);

    satPropP(22.054915e6, liq, vap);  // accepted, solved by bisection
    EXPECT_EQ(liq->status + vap->status, 0);
    EXPECT_GE(liq->T, 647.1259);
    EXPECT_LE(liq->T, 647.126);
    satPropP(22.05492e6, liq, vap);
    EXPECT_EQ(liq->status + vap->status, 2);
    satPropP(611.7316720236433 * 0.999, liq, vap);
    EXPECT_EQ(liq->status + vap->status, 2);

    // A null record: only the other one is marked.
    vap->status = 0;
    satPropT(300.0, nullptr, vap);
    EXPECT_EQ(vap->status, 1);
    liq->status = 0;
    satPropP(1e5, liq, nullptr);
    EXPECT_EQ(liq->status, 1);
}

TEST_F(WaterSaturation, NearCriticalScalingLaw) {
    // At the switch temperature the regular iteration still runs: equal
    // pressures within its tolerance.
    Coexistence sat;
    satSolveT(646.303775, sat);
    EXPECT_TRUE(nearRel(sat.liq.p, sat.vap.p, 1e-6));
    EXPECT_NEAR(sat.liq.g, sat.vap.g, 1e-8 * kGasConstant * 646.303775);
    // Just above it: densities symmetric about 0.32189 g/cm3, psat weighting
    // the vapour-side pressure 0.6.
    const double psat = satSolveT(646.31, sat);
    EXPECT_DOUBLE_EQ(sat.dl + sat.dv, 2.0 * 0.32189);
    EXPECT_DOUBLE_EQ(sat.dl - 0.32189, 0.657128 * std::pow(1.0 - 646.31 / 647.126, 0.325));
    EXPECT_DOUBLE_EQ(psat, 0.4 * sat.liq.p + 0.6 * sat.vap.p);
    // Continuity of the saturation pressure across the switch (within the
    // approximation of the scaling law, here about 1e-4 relative).
    Coexistence below;
    EXPECT_TRUE(nearRel(psat, satSolveT(646.30, below), 2e-3));

    // By pressure: Newton below 22.05485 MPa, bisection above; the result
    // reproduces the pressure within 1e-6 MPa.
    for (double p : {21.9, 22.0, 22.0548, 22.05486, 22.05491}) {
        const double T = satSolveP(p, sat);
        EXPECT_NEAR(satNearCriticalT(T, sat), p, 1e-6) << p;
    }
}

TEST(WaterSaturationApprox, StartCorrelations) {
    // L = ln p + ln 10 vanishes at 0.1 MPa: the series starts at 372.83 K.
    EXPECT_NEAR(std::log(0.1) + 2.302585, 0.0, 1e-6);
    for (double T : {280.0, 313.0, 314.1, 400.0, 550.0, 623.0, 623.3, 640.0, 646.3}) {
        Coexistence sat;
        satSolveT(T, sat);
        const PsatEstimate est = psatApprox(T);
        // Slope against a central difference of the correlation itself.
        const double h = 1e-4;
        const double fd = (psatApprox(T + h).p - psatApprox(T - h).p) / (2 * h);
        EXPECT_TRUE(nearRel(est.dpdT, fd, 1e-6)) << T;
        // The inverse returns T to its own tolerance (1e-5 in pressure).
        EXPECT_NEAR(tsatApprox(est.p), T, 2e-5 * est.p / est.dpdT) << T;
        // Start densities within 1 % of the coexisting ones.
        const DensityPair d = satDensityApprox(T);
        EXPECT_TRUE(nearRel(d.dl, sat.dl, 1e-2)) << T;
        EXPECT_TRUE(nearRel(d.dv, sat.dv, 1e-2)) << T;
    }
}

// The start correlations written out term by term (sums from i = 0 added left
// to right, r^i as the running product, powers of T by the general power
// function only where the exponent is fractional). The library must agree to
// the last bit: the start values fix the last bits of the converged
// saturation states, on which the point count of a section can hang.
TEST(WaterSaturationApprox, StartCorrelationsAgreeBitForBitWithATermByTermEvaluation) {
    const double a[8] = {-7.8889166, 2.5514255, -6.716169,  33.239495,
                         -105.38479, 174.35319, -148.39348, 48.631602};
    const double bL[11] = {0.3155901296, -0.03592060636, 2.396625841, -36.39240662,
                           413.6745246,  -2911.342409,   12844.66533, -35543.55367,
                           59925.07856,  -56266.61248,   22585.58};
    const double bV[11] = {11.08333753,  -44.64350654, 121.0778198,  -278.5153762,
                           327.9464497,  1462.514145,  -11593.55916, 38922.19673,
                           -73229.67131, 74466.37149,  -31962.35787};
    const double cL[10] = {1.0,         0.643432247,  -25.98811457, 192.8271795,  -947.6312526,
                           3190.638964, -6805.842363, 8088.134131,  -4034.574025, 0.0};
    const double cV[10] = {1.000000272, 4.026415669,  -129.9023268, 1867.667009,  -13845.24815,
                           61824.71587, -171560.6251, 290312.0606,  -274292.5181, 111202.097};
    auto series = [](const double* c, int n, double x) {
        double sum = 0.0;
        double xi = 1.0;
        for (int i = 0; i < n; ++i) {
            sum = sum + c[i] * xi;
            xi = xi * x;
        }
        return sum;
    };
    for (double T : {273.16, 290.0, 314.0, 314.5, 373.15, 450.0, 530.7, 600.0, 623.15, 623.2, 640.0,
                     646.303775, 647.126}) {
        double psat = 0.0;
        double slope = 0.0;
        if (T > 314.0) {
            const double tau = std::fabs(1.0 - T / 647.25);
            const double r = std::sqrt(tau);
            double S = 0.0;
            double Sd = 0.0;
            double ri = 1.0;
            for (int i = 0; i < 8; ++i) {
                S = S + a[i] * ri;
                Sd = Sd + a[i] * (i + 2) / 2.0 * ri;
                ri = ri * r;
            }
            const double ln = (647.25 / T) * tau * S;
            psat = 22.093 * std::exp(ln);
            slope = -psat * (Sd + ln) / T;
        } else {
            psat = 0.1 * std::exp(6.3573118 - 8858.843 / T + 607.56335 * std::pow(T, -0.6));
            slope = psat * (8858.843 / T - 0.6 * 607.56335 * std::pow(T, -0.6)) / T;
        }
        const PsatEstimate est = psatApprox(T);
        EXPECT_EQ(est.p, psat) << T;
        EXPECT_EQ(est.dpdT, slope) << T;

        double VL = 0.0;
        double VV = 0.0;
        if (T > 623.15) {
            const double r = std::pow(1.0 - T / 647.3, 0.25);
            VL = series(cL, 10, r);
            VV = series(cV, 10, r);
        } else {
            const double delta = T / 647.3 - 0.4219836242854936;
            VL = series(bL, 11, delta);
            VV = std::exp(series(bV, 11, delta));
        }
        const DensityPair d = satDensityApprox(T);
        EXPECT_EQ(d.dl, 1.0 / (3.17 * VL)) << T;
        EXPECT_EQ(d.dv, 1.0 / (3.17 * VV)) << T;
    }
}

// The phase test decides by the approximate vapour pressure outside a band
// (0.015 %, or +0.003/-0.007 MPa near the critical point); the band must
// contain the equation's own saturation pressure(s) everywhere, or a state
// would be put on the wrong side.
TEST(WaterSaturationApprox, DecisionBandContainsTheCurve) {
    for (double T = 273.16; T <= 647.126; T += 0.05) {
        Coexistence sat;
        const double psat = satSolveT(T, sat);
        const double approx = psatApprox(T).p;
        if (T <= kTnearCritical) {
            EXPECT_LT(psat, 1.00015 * approx) << T;
            EXPECT_GT(psat, 0.99985 * approx) << T;
        } else {
            EXPECT_LT(sat.liq.p, approx + 0.003) << T;
            EXPECT_GT(sat.vap.p, approx - 0.007) << T;
        }
    }
}

}  // namespace
