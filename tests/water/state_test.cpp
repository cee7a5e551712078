// Single states of water: propTp with its phase test, bounds and range
// tests, and propTd with liquid-vapour mixtures.
#include "water/state.h"

#include <gtest/gtest.h>
#include <quarvessin/water.h>

#include <cmath>

#include "water/saturation.h"

using namespace quarvessin;

namespace {

using namespace water_internal;

// Model settings: start density 500 kg/m3, relative pressure tolerance 1e-8.
constexpr double kGuess = 500.0;
constexpr double kRelTol = 1e-8;

class WaterState : public ::testing::Test {
  protected:
    void SetUp() override {
        rec = newProp('T', 'p', 1);
        liq = newProp('T', 'p', 0);
        vap = newProp('T', 'p', 0);
    }
    void TearDown() override {
        freeProp(rec);
        freeProp(liq);
        freeProp(vap);
    }
    WaterProps* rec = nullptr;
    WaterProps* liq = nullptr;
    WaterProps* vap = nullptr;
};

bool nearRel(double actual, double expected, double rel) {
    return std::fabs(actual - expected) <= rel * std::fabs(expected);
}

// Values of the coefficient sheet for the single states (Newton solve at
// relTol 1e-8: densities and energies to about 1e-9 relative).
TEST_F(WaterState, TemperaturePressureCheckStates) {
    propTp(373.15, 1e6, kGuess, kRelTol, rec);  // liquid side
    EXPECT_EQ(rec->status, 0);
    EXPECT_EQ(rec->phase, 1);
    EXPECT_EQ(phaseRegion(373.15, 1.0), kLiquidSide);
    EXPECT_GT(rec->d, 321.89);
    EXPECT_TRUE(nearRel(rec->d, 958.8148144, 1e-9)) << rec->d;
    EXPECT_TRUE(nearRel(rec->h, 419738.9257, 1e-9)) << rec->h;
    EXPECT_TRUE(nearRel(rec->cp, 4214.992059, 1e-9)) << rec->cp;
    EXPECT_TRUE(nearRel(rec->p, 1e6, kRelTol));

    propTp(500.0, 1e6, kGuess, kRelTol, rec);  // vapour side
    EXPECT_EQ(rec->status, 0);
    EXPECT_TRUE(nearRel(rec->d, 4.534760663, 1e-9)) << rec->d;
    EXPECT_TRUE(nearRel(rec->h, 2889987.353, 1e-9)) << rec->h;

    propTp(700.0, 30e6, kGuess, kRelTol, rec);  // supercritical, no phase test
    EXPECT_EQ(rec->status, 0);
    EXPECT_TRUE(nearRel(rec->d, 184.1566219, 1e-9)) << rec->d;
    EXPECT_TRUE(nearRel(rec->h, 2632783.662, 1e-9)) << rec->h;
    EXPECT_TRUE(nearRel(rec->cp, 10425.89375, 1e-9)) << rec->cp;
}

TEST_F(WaterState, VapourSideStartsFromTheVapourBound) {
    // Below 620 K the vapour-side window ends at exp(0.013 T - 10.1) g/cm3;
    // the model's guess 500 kg/m3 is moved to 0.32189 * 0.99 g/cm3 and clamped
    // to that bound before the first step.
    const DensityRange r = densityBounds(400.0, 0.32189 * 0.99);
    EXPECT_EQ(r.dmin, 2.220446049250313e-16);
    EXPECT_DOUBLE_EQ(r.dmax, std::exp(0.013 * 400.0 - 10.1));
    const DensityRange l = densityBounds(400.0, 0.32189 * 1.01);
    EXPECT_DOUBLE_EQ(l.dmin, 1.2925 - 0.00117 * 400.0);
    EXPECT_EQ(l.dmax, 1.8);
    // On either side the window must keep the coexisting density of its own
    // phase, or the solve could not reach a state next to the curve.
    for (double T : {300.0, 450.0, 600.0, 620.0, 620.5, 630.0, 640.0, 646.0, 647.0}) {
        Coexistence sat;
        satSolveT(T, sat);
        EXPECT_LT(sat.dv, densityBounds(T, 0.1).dmax) << T;
        EXPECT_GT(sat.dl, densityBounds(T, 0.5).dmin) << T;
    }
    // At and above the critical temperature: the whole range.
    EXPECT_EQ(densityBounds(700.0, 0.01).dmax, 1.8);
    EXPECT_EQ(densityBounds(700.0, 1.0).dmin, 2.220446049250313e-16);

    propTp(400.0, 0.1e6, kGuess, kRelTol, rec);
    EXPECT_EQ(rec->status, 0);
    EXPECT_LT(rec->d, 1.0);  // ideal-gas estimate p/(R T) = 0.54 kg/m3
    EXPECT_NEAR(rec->d, 0.1e6 / (461.522 * 400.0), 0.01);
}

TEST_F(WaterState, RefusesSaturationIceAndOutOfRange) {
    // A (T, p) on the saturation curve of the equation itself: code 4.
    satPropT(450.0, liq, vap);
    propTp(373.15, 1e6, kGuess, kRelTol, rec);
    const double dBefore = rec->d;
    propTp(450.0, liq->p, kGuess, kRelTol, rec);
    EXPECT_EQ(rec->status, 1);
    EXPECT_EQ(rec->d, dBefore);  // a failing evaluation leaves the values
    EXPECT_EQ(phaseRegion(450.0, liq->p * 1e-6), kOnSaturation);

    // 270 K: ice Ih at 1 MPa; liquid at 50 MPa; vapour at 0.0004 MPa.
    propTp(270.0, 1e6, kGuess, kRelTol, rec);
    EXPECT_EQ(rec->status, 1);
    propTp(270.0, 50e6, kGuess, kRelTol, rec);
    EXPECT_EQ(rec->status, 0);
    EXPECT_EQ(phaseRegion(270.0, 50.0), kLiquidSide);
    EXPECT_GT(rec->d, 1000.0);
    propTp(270.0, 400.0, kGuess, kRelTol, rec);
    EXPECT_EQ(rec->status, 0);
    EXPECT_EQ(phaseRegion(270.0, 0.0004), kVapourSide);
    EXPECT_LT(rec->d, 0.01);

    // Range limits of the equation.
    propTp(250.0, 1e5, kGuess, kRelTol, rec);
    EXPECT_EQ(rec->status, 1);
    EXPECT_FALSE(validTp(2500.1, 1.0));
    EXPECT_FALSE(validTp(500.0, 0.9e-6));
    EXPECT_FALSE(validTp(500.0, 3000.1));
    EXPECT_TRUE(validTp(2500.0, 3000.0));
    // High-pressure ices: ice VI at 300 K above about 960 MPa, none above 413 K.
    EXPECT_TRUE(validTp(300.0, 900.0));
    EXPECT_FALSE(validTp(300.0, 1000.0));
    EXPECT_TRUE(validTp(414.0, 2900.0));
    EXPECT_FALSE(validTd(259.9, 1.0));
    EXPECT_FALSE(validTd(300.0, 1.81));
    EXPECT_FALSE(validTd(300.0, 1e-16));
    EXPECT_TRUE(validTd(300.0, 2.220446049250313e-16));

    propTp(300.0, 1e5, kGuess, kRelTol, nullptr);  // null record: nothing happens
    propTd(300.0, 1000.0, nullptr);
}

TEST_F(WaterState, PhaseRegionDecisions) {
    // Below the triple-point temperature the triple-point pressure divides.
    EXPECT_EQ(phaseRegion(265.0, 0.00062), kLiquidSide);
    EXPECT_EQ(phaseRegion(265.0, 0.0006117316720236433), kVapourSide);
    // Far from the approximate curve the approximation decides.
    const double ps = psatApprox(400.0).p;
    EXPECT_EQ(phaseRegion(400.0, ps * 1.001), kLiquidSide);
    EXPECT_EQ(phaseRegion(400.0, ps * 0.999), kVapourSide);
    // Within 0.015 % the equation of state decides, at 1e-6 relative.
    Coexistence sat;
    const double psat = satSolveT(400.0, sat);
    EXPECT_EQ(phaseRegion(400.0, psat * 1.000002), kLiquidSide);
    EXPECT_EQ(phaseRegion(400.0, psat * 0.999998), kVapourSide);
    EXPECT_EQ(phaseRegion(400.0, psat * 1.0000005), kOnSaturation);
    // Near the critical point the band is the gap between the two
    // scaling-law pressures.
    const double T = 646.8;
    satSolveT(T, sat);
    ASSERT_GT(sat.liq.p, sat.vap.p);
    EXPECT_EQ(phaseRegion(T, (sat.liq.p + sat.vap.p) / 2.0), kOnSaturation);
    EXPECT_EQ(phaseRegion(T, sat.liq.p + 1e-7), kLiquidSide);
    EXPECT_EQ(phaseRegion(T, sat.vap.p - 1e-7), kVapourSide);
    EXPECT_EQ(phaseRegion(T, psatApprox(T).p + 0.0031), kLiquidSide);
}

// Liquid states at low pressure, where the rounding error of the liquid
// pressure (a few 1e-9 MPa) exceeds relTol * p: the solve accepts a residual
// of 1e-8 MPa on the liquid side and must succeed.
TEST_F(WaterState, LowPressureLiquidConverges) {
    for (double T : {273.16, 275.0, 280.0, 290.0, 300.0}) {
        Coexistence sat;
        satSolveT(T, sat);
        for (double p : {1000.0, 3000.0, 5000.0, 10000.0}) {
            if (p <= sat.p * 1e6 * 1.001) continue;  // vapour side at this T
            propTp(T, p, kGuess, kRelTol, rec);
            ASSERT_EQ(rec->status, 0) << T << " K " << p << " Pa";
            EXPECT_EQ(rec->phase, 1);
            // Physical check: a liquid this close to saturation has the
            // saturated-liquid density to within its compressibility
            // (5e-10 per Pa) times 1e4 Pa.
            EXPECT_NEAR(rec->d, sat.dl * 1000.0, 1e-5 * rec->d) << T << " " << p;
            EXPECT_NEAR(rec->p, p, 0.01) << T << " " << p;  // 1e-8 MPa
        }
    }
}

TEST_F(WaterState, TemperatureDensityMixtureAndSinglePhase) {
    // Values of the coefficient sheet for a mixture at 373.15 K, 500 kg/m3.
    propTd(373.15, 500.0, rec);
    EXPECT_EQ(rec->status, 0);
    EXPECT_EQ(rec->phase, 2);
    EXPECT_EQ(rec->cp, 0.0);
    EXPECT_TRUE(nearRel(rec->x, 0.0005719184722, 1e-9)) << rec->x;
    EXPECT_TRUE(nearRel(rec->p, 101321.9972, 1e-9)) << rec->p;
    EXPECT_TRUE(nearRel(rec->h, 420354.1863, 1e-9)) << rec->h;
    EXPECT_TRUE(nearRel(rec->cv, 4253.100464, 1e-9)) << rec->cv;
    EXPECT_TRUE(nearRel(rec->d, 500.0, 1e-12));  // recomputed from x
    // Lever rule on the saturated states; f = u - T s, g = h - T s.
    satPropT(373.15, liq, vap);
    EXPECT_NEAR(rec->s, liq->s + rec->x * (vap->s - liq->s), 1e-9);
    EXPECT_NEAR(rec->f, rec->u - 373.15 * rec->s, 1e-6);
    EXPECT_NEAR(rec->g, rec->h - 373.15 * rec->s, 1e-6);
    // The Gibbs energy of a mixture is the common saturation value.
    EXPECT_NEAR(rec->g, liq->g, 1e-3);

    // Exactly the saturated-liquid density: single phase (strict test).
    Coexistence sat;
    satSolveT(373.15, sat);
    double dSI = sat.dl * 1000.0;
    for (int i = 0; i < 8 && dSI * 0.001 != sat.dl; ++i) {
        dSI = std::nextafter(dSI, dSI * 0.001 < sat.dl ? 2000.0 : 0.0);
    }
    ASSERT_EQ(dSI * 0.001, sat.dl);
    propTd(373.15, dSI, rec);
    EXPECT_EQ(rec->phase, 1);
    EXPECT_EQ(rec->status, 0);

    // 700 K: single phase without a saturation solve; p from the equation.
    propTd(700.0, 200.0, rec);
    EXPECT_EQ(rec->phase, 1);
    EXPECT_TRUE(nearRel(rec->p, 30.99302288e6, 1e-9));  // coefficient sheet
    // Out of range: status 1.
    propTd(700.0, 1801.0, rec);
    EXPECT_EQ(rec->status, 1);
}

}  // namespace
