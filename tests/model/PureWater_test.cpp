#include <gtest/gtest.h>
#include <quarvessin/model/PureWater.h>

#include <cmath>
#include <cstddef>
#include <new>

using namespace quarvessin;

namespace {

// Allocations by nothrow new (the water library's records) in this program:
// counted, and failing once the budget is spent; no budget (-1) lets every
// one through.
long nothrowBudget = -1;
long nothrowCount = 0;

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++nothrowCount;
    if (nothrowBudget == 0) return nullptr;
    if (nothrowBudget > 0) --nothrowBudget;
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

namespace {

// Quadratic vapour pressure between 373 C and the critical temperature in its
// defining form: through (373 C, P1) with slope s there and through
// (373.976 C, P2) [bar]. An arrangement independent of the expanded form the
// class evaluates.
double QuadraticVaporPressureBar(double t) {
    const double P1 = 217.988790346;
    const double P2 = 220.54915;
    const double s = 2.6147419296;
    const double g = (373.976 - 373.0) * (373.976 - 373.0);
    return P1 + s * (t - 373.0) + (P2 - P1 - s * 0.976) * (t - 373.0) * (t - 373.0) / g;
}

class PureWaterTest : public ::testing::Test {
  protected:
    double t = 25.0;
    double p = 1.0;
    PureWater water{&t, &p};

    double V(const WaterProps* rec) const { return 18015.0 / rec->d; }
};

TEST_F(PureWaterTest, BoilingPointAtOneAtmosphere) {
    p = 1.01325;
    // Normal boiling point of water, 100 C (brief: within 0.05 C).
    EXPECT_NEAR(water.BoilingTemperature(), 100.0, 0.05);
    t = 100.0;
    // One standard atmosphere at the normal boiling point (101418 Pa on the
    // 1990 temperature scale); 0.15 % covers both scales.
    EXPECT_NEAR(water.VaporPressure(), 101325.0, 150.0);
    t = 300.0;
    // Steam tables: 8.5879 MPa at 300 C.
    EXPECT_NEAR(water.VaporPressure(), 8.5879e6, 8.6e3);
    // Inverse round trip: boiling temperature at the vapour pressure of 300 C.
    p = water.VaporPressure() * 1e-05;
    EXPECT_NEAR(water.BoilingTemperature(), 300.0, 1e-3);
}

TEST_F(PureWaterTest, VaporPressureQuadraticBelowCriticalTemperature) {
    // Inside 373 < t < 373.976 the quadratic in its defining form; the
    // expanded form loses about 1e-7 bar to cancellation.
    for (double tq : {373.0001, 373.25, 373.5, 373.75, 373.9}) {
        t = tq;
        EXPECT_NEAR(water.VaporPressure() * 1e-05, QuadraticVaporPressureBar(tq), 1e-6) << tq;
    }
    // Just below 373.976 C it reaches the critical pressure 22054915 Pa.
    t = 373.976 - 1e-9;
    EXPECT_NEAR(water.VaporPressure(), 22054915.0, 0.1);

    // The quadratic branch does not touch the library: the record of an
    // earlier saturation call at 100 C is left as it was.
    t = 100.0;
    water.VaporPressure();
    t = 373.5;
    water.VaporPressure();
    EXPECT_DOUBLE_EQ(water.satLiqT->T, 373.15);
}

TEST_F(PureWaterTest, VaporPressureAtTheEndsOfTheQuadraticIsTheLibrarys) {
    // At exactly 373 C the library answers: its value is the quadratic's
    // anchor P1 = 217.988790346 bar, to the saturation solver's pressure
    // tolerance (1e-6 relative).
    t = 373.0;
    const double p373 = water.VaporPressure();
    EXPECT_DOUBLE_EQ(water.satLiqT->T, 646.15);
    EXPECT_NEAR(p373, 21798879.0346, 21798879.0346 * 2e-6);
    // At exactly 373.976 C (647.126 K) too: the library's critical point.
    t = 373.976;
    const double pc = water.VaporPressure();
    EXPECT_DOUBLE_EQ(water.satLiqT->T, 373.976 + 273.15);
    EXPECT_NEAR(pc, 22054915.0, 22054915.0 * 1e-4);
}

TEST_F(PureWaterTest, RefusedSaturationGivesNotANumber) {
    // A successful call first, so that the records hold a valid pressure that
    // a refused call must not hand on.
    t = 100.0;
    p = 1.0;
    ASSERT_FALSE(std::isnan(water.VaporPressure()));
    ASSERT_FALSE(std::isnan(water.BoilingTemperature()));

    t = 0.0;  // 273.15 K, below the triple point of water
    EXPECT_TRUE(std::isnan(water.VaporPressure()));
    t = 400.0;  // above the critical temperature
    EXPECT_TRUE(std::isnan(water.VaporPressure()));
    p = 300.0;  // above the critical pressure
    EXPECT_TRUE(std::isnan(water.BoilingTemperature()));
    p = 0.001;  // below the triple-point pressure (0.00611657 bar)
    EXPECT_TRUE(std::isnan(water.BoilingTemperature()));

    // The saturated liquid one step below 0.005 C lies below the triple point.
    t = 300.0;
    p = 1.0;
    water.RefreshDerivatives();
    ASSERT_FALSE(std::isnan(water.SatLiquidPressureBelow()));
    t = 0.005;
    water.RefreshDerivatives();
    EXPECT_TRUE(std::isnan(water.SatLiquidPressureBelow()));
}

TEST_F(PureWaterTest, DerivativesAt300C) {
    t = 300.0;
    p = 100.0;  // compressed liquid, away from the curve (85.9 bar)
    water.RefreshDerivatives();
    // The saturated liquid one step below: 573.14 K.
    EXPECT_DOUBLE_EQ(water.satLiqTminus->T, 573.15 - 0.01);
    EXPECT_EQ(water.satLiqTminus->status, 0);
    EXPECT_GT(water.satLiqTminus->d, 321.89);
    EXPECT_LT(water.satVapTminus->d, 321.89);
    EXPECT_DOUBLE_EQ(water.satLiqTplus->T, 573.15 + 0.01);
    EXPECT_DOUBLE_EQ(water.SatLiquidPressureBelow(), water.satLiqTminus->p);
    // Backward difference of the vapour pressure over the step; steam tables:
    // 7.442 MPa at 290 C and 9.865 MPa at 310 C, about 1.21 bar/K.
    const double slope = (water.VaporPressure() - water.SatLiquidPressureBelow()) / 0.01 * 1e-05;
    EXPECT_NEAR(slope, 1.21, 0.05);
    // Liquid away from the curve: compressible by about 1e-9 per Pa, expanding
    // on heating.
    EXPECT_GT(water.beta, 5e-10);
    EXPECT_LT(water.beta, 5e-9);
    EXPECT_GT(water.dVdT, 0.0);
}

TEST_F(PureWaterTest, DerivativesAbove373976CUseTheCriticalDensity) {
    t = 374.0;  // T = 647.15 K, T - dT = 647.14 K: both above 647.126 K
    p = 250.0;
    water.RefreshDerivatives();
    EXPECT_DOUBLE_EQ(water.satLiqTminus->T, 647.15 - 0.01);
    EXPECT_NEAR(water.satLiqTminus->d, 321.89, 1e-9);
    EXPECT_NEAR(water.satVapTminus->d, 321.89, 1e-9);
    EXPECT_EQ(water.satLiqTminus->phase, 1);
    // A single-phase state at the critical density just above Tc: about the
    // critical pressure.
    EXPECT_NEAR(water.SatLiquidPressureBelow(), 22.06e6, 0.05e6);

    // 373.98 C: T - dT = 647.12 K lies below 647.126 K and gets the
    // saturated liquid again.
    t = 373.98;
    water.RefreshDerivatives();
    EXPECT_NEAR(water.satLiqTminus->T, 647.13 - 0.01, 1e-12);
    EXPECT_EQ(water.satLiqTminus->status, 0);
}

TEST_F(PureWaterTest, DerivativesNextToTheSaturationCurve) {
    t = 300.0;
    const double T = 573.15;
    water.VaporPressure();
    const double pLiq = water.satLiqT->p;
    const double pVap = water.satVapT->p;

    // Liquid side, within 0.01 bar above the curve: one-sided difference
    // towards the saturated liquid (case c), and temperature difference
    // backwards.
    p = pLiq * 1e-05 + 0.005;
    water.RefreshDerivatives();
    const double P = p * 100000.0;
    EXPECT_DOUBLE_EQ(water.dVdP, (V(water.recBase) - V(water.satLiqT)) / (P - water.satLiqT->p));
    EXPECT_DOUBLE_EQ(water.recTstep->T, T + 0.01);  // left at T + dT afterwards
    const double liquidBeta = water.beta;
    EXPECT_GT(liquidBeta, 5e-10);
    EXPECT_LT(liquidBeta, 5e-9);
    // The one-sided slope agrees with the ordinary forward difference 5 bar
    // further from the curve to within the curvature of the isotherm.
    p += 5.0;
    water.RefreshDerivatives();
    EXPECT_NEAR(liquidBeta, water.beta, 0.1 * water.beta);

    // Vapour side, within 0.01 bar below the curve (case b): the slope
    // towards the saturated vapour; a vapour's compressibility is of the
    // order of 1/P.
    p = pVap * 1e-05 - 0.005;
    water.RefreshDerivatives();
    const double Pv = p * 100000.0;
    EXPECT_DOUBLE_EQ(water.dVdP, (V(water.satVapT) - V(water.recBase)) / (water.satVapT->p - Pv));
    EXPECT_GT(water.beta * Pv, 1.0);
    EXPECT_LT(water.beta * Pv, 3.0);
}

TEST(PureWaterOutOfMemory, EveryFailedRecordAllocationThrows) {
    // A construction's nothrow allocations, then each of them failing in turn:
    // the constructor throws std::bad_alloc (the records it had are released;
    // the sanitizer build checks for leaks), never leaves a null record.
    double t = 100.0, p = 1.0;
    nothrowCount = 0;
    { PureWater water(&t, &p); }
    const long allocations = nothrowCount;
    ASSERT_GE(allocations, 12);  // at least the twelve records
    for (long k = 0; k < allocations; ++k) {
        nothrowBudget = k;
        EXPECT_THROW(PureWater(&t, &p), std::bad_alloc) << "allocation " << k;
    }
    nothrowBudget = -1;
    // With memory again, an object is whole: the vapour pressure at 100 C.
    PureWater water(&t, &p);
    EXPECT_NEAR(water.VaporPressure(), 101418.0, 150.0);
}

}  // namespace
