#include <gtest/gtest.h>
#include <quarvessin/model/NaClBoilingCurve.h>

#include <cmath>
#include <type_traits>

using namespace quarvessin;

namespace {

// Objects bound by pointer must never be copied or moved.
static_assert(!std::is_copy_constructible_v<NaClBoilingCurve> &&
              !std::is_move_assignable_v<NaClBoilingCurve>);
static_assert(!std::is_copy_constructible_v<NaClVapor> && !std::is_move_assignable_v<NaClVapor>);

class NaClBoilingCurveTest : public ::testing::Test {
  protected:
    double t = 1000.0;
    double p = 1.0;
    NaClBoilingCurve boiling{&t, &p};

    void At(double tc) {
        t = tc;
        boiling.Refresh();
    }
};

TEST_F(NaClBoilingCurveTest, StartsAtNaClTriplePoint) {
    At(800.7);
    EXPECT_NEAR(boiling.Pboil, 0.0005, 1e-17);  // design: triple-point pressure to rounding
    At(1465.0);
    EXPECT_NEAR(boiling.Pboil, 1.0, 0.2);  // physical: NaCl boils at about 1 bar near 1465 C
}

TEST_F(NaClBoilingCurveTest, SlopeIsDerivativeOfBoilingPressure) {
    const double h = 1e-3;
    for (double tc : {500.0, 800.7, 1200.0, 1600.0}) {
        At(tc);
        const double tP = tc + h, tM = tc - h;
        const double fd = (boiling.PfromT(&tP) - boiling.PfromT(&tM)) / (2.0 * h);
        EXPECT_NEAR(boiling.dPboildT, fd, 1e-7 * boiling.dPboildT) << tc;
        // design: P ln(10) 9418.12 / T^2, in a different arrangement
        const double T = tc + 273.15;
        EXPECT_NEAR(boiling.dPboildT, boiling.Pboil * std::log(10.0) * 9418.12 / (T * T),
                    1e-14 * boiling.dPboildT)
            << tc;
    }
}

TEST_F(NaClBoilingCurveTest, PhasePropertiesAlongTheCurve) {
    At(1200.0);
    double tc = 1200.0, pb = boiling.Pboil;
    LiquidNaCl liquid(&tc, &pb);
    NaClVapor vapor(&tc, &pb);
    liquid.Refresh();
    vapor.Refresh();
    EXPECT_EQ(boiling.VmLiq, liquid.Vm);
    EXPECT_EQ(boiling.rhoLiq, liquid.rho);
    EXPECT_EQ(boiling.hLiq, liquid.h);
    EXPECT_EQ(boiling.cpLiq, liquid.cp);
    EXPECT_EQ(boiling.VmVap, vapor.Vm);
    EXPECT_EQ(boiling.rhoVap, vapor.rho);
    EXPECT_EQ(boiling.hVap, vapor.h);
    EXPECT_EQ(boiling.cpVap, vapor.cp);
    EXPECT_EQ(boiling.dVvap, vapor.Vm - liquid.Vm);
    EXPECT_EQ(boiling.dHvap, vapor.h - liquid.h);
    EXPECT_EQ(boiling.pState, boiling.Pboil);
}

TEST_F(NaClBoilingCurveTest, RefreshDependsOnTemperatureOnly) {
    // First evaluation exactly at the priming values.
    t = 999.0;
    p = 0.0;
    boiling.Refresh();
    EXPECT_EQ(boiling.Pboil, boiling.PfromT(&t));
    EXPECT_GT(boiling.VmVap, 0.0);

    // The cached pressure is Pboil: an owner's p equal to it leaves the cache.
    p = boiling.Pboil;
    boiling.Pboil = -1.0;
    boiling.pState = p;
    boiling.Refresh();
    EXPECT_EQ(boiling.Pboil, -1.0);

    // Any other owner's p recomputes, with the same results.
    p = 500.0;
    boiling.Refresh();
    EXPECT_EQ(boiling.Pboil, boiling.PfromT(&t));
    const double vm = boiling.VmLiq;
    p = 0.0;
    boiling.Refresh();
    EXPECT_EQ(boiling.VmLiq, vm);
}

}  // namespace
