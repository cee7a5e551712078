#include <gtest/gtest.h>
#include <quarvessin/model/HaliteMelting.h>

#include <cmath>

using namespace quarvessin;

namespace {

class HaliteMeltingTest : public ::testing::Test {
  protected:
    double t = 25.0;
    double p = 1.0;
    HaliteMelting melting{&t, &p};

    void At(double tc, double pc) {
        t = tc;
        p = pc;
        melting.Refresh();
    }
};

TEST_F(HaliteMeltingTest, MeltingCurveAnchors) {
    At(800.7, 0.0);
    EXPECT_EQ(melting.Thm, 800.7);     // design: triple point at p = 0
    EXPECT_EQ(melting.dHm, 490000.0);  // design: enthalpy of melting at p = 0
    EXPECT_EQ(melting.pMelt, 0.0);     // design: melting pressure at 800.7 C
    At(25.0, 1000.0);
    EXPECT_NEAR(melting.Thm, 800.7 + 0.024726 * 1000.0, 1e-12);  // design value
    // Inverse round trip: the melting pressure at Thm is p.
    EXPECT_NEAR(melting.MeltingPressure(&melting.Thm), 1000.0, 1e-9);
    EXPECT_EQ(melting.MeltingSlope(), 0.024726);
}

TEST_F(HaliteMeltingTest, MemberStatesMatchIndependentPhases) {
    // Independent halite and liquid NaCl objects at the melting point and at
    // (t, pMelt) must give the same values as the members.
    for (double pc : {0.0, 350.0, 2000.0}) {
        At(900.0, pc);
        double tm = melting.Thm, pm = pc, ta = 900.0, pa = melting.pMelt;
        Halite halite(&tm, &pm);
        LiquidNaCl liqAtMelt(&tm, &pm);
        LiquidNaCl liqAtT(&ta, &pa);
        halite.Refresh();
        liqAtMelt.Refresh();
        liqAtT.Refresh();
        EXPECT_EQ(melting.VmLiqMelt, liqAtMelt.Vm) << pc;
        EXPECT_EQ(melting.hLiqMelt, liqAtMelt.h) << pc;
        EXPECT_EQ(melting.dVm, liqAtMelt.Vm - halite.Vm) << pc;
        EXPECT_EQ(melting.VmLiqAtT, liqAtT.Vm) << pc;
        EXPECT_GT(melting.dVm, 0.0) << pc;  // physical: NaCl expands on melting
        // After the refresh the members' variables are back at the owner's state.
        EXPECT_EQ(melting.tState, t);
        EXPECT_EQ(melting.pState, p);
    }
    // Below the triple point the melting pressure is a large negative
    // pressure, where the liquid volume law has no value.
    At(500.0, 0.0);
    EXPECT_LT(melting.pMelt, -12000.0);
    EXPECT_TRUE(std::isnan(melting.VmLiqAtT));
}

TEST_F(HaliteMeltingTest, LiquidVolumeSlopeIsDerivativeAlongMeltingCurve) {
    const double h = 1e-2;
    for (double pc : {0.0, 500.0, 2500.0, 5000.0}) {
        At(25.0, pc + h);
        const double vPlus = melting.VmLiqMelt;
        At(25.0, pc - h);
        const double vMinus = melting.VmLiqMelt;
        At(25.0, pc);
        EXPECT_NEAR(melting.dVmLiqMeltdP, (vPlus - vMinus) / (2.0 * h), 1e-10) << pc;
    }
}

TEST_F(HaliteMeltingTest, RefreshCachesLastState) {
    t = 24.0;  // first evaluation exactly at the priming values (owner's t - 1, p - 1)
    p = 0.0;
    melting.Refresh();
    EXPECT_EQ(melting.Thm, 800.7);
    EXPECT_EQ(melting.pMelt, melting.MeltingPressure(&t));
    melting.Thm = -1.0;
    melting.Refresh();
    EXPECT_EQ(melting.Thm, -1.0);  // unchanged inputs: nothing recomputed
    t = 26.0;
    melting.Refresh();
    EXPECT_EQ(melting.Thm, melting.MeltingTemperature(&p));  // a change of t alone recomputes
    EXPECT_EQ(melting.pMelt, melting.MeltingPressure(&t));
}

TEST(HaliteMeltingFirstRefresh, MembersComputeAtTheirPrimingValues) {
    // The members are primed from the object's primed variables, to
    // (t - 2, p - 2) = (800.7, 0). A first refresh at p = 0 asks them at
    // (Thm(0), 0) = (800.7, 0), exactly their priming values.
    double t = 802.7, p = 2.0;
    HaliteMelting melting(&t, &p);
    ASSERT_EQ(melting.halite.t, 800.7);
    ASSERT_EQ(melting.halite.p, 0.0);
    ASSERT_EQ(melting.liquid.t, 800.7);
    p = 0.0;
    melting.Refresh();
    double tr = 800.7, pr = 0.0;
    Halite halite(&tr, &pr);
    LiquidNaCl liquid(&tr, &pr);
    halite.Refresh();
    liquid.Refresh();
    EXPECT_EQ(melting.Thm, 800.7);
    EXPECT_EQ(melting.dVm, liquid.Vm - halite.Vm);  // halite volume computed, not left unset
    EXPECT_EQ(melting.VmLiqMelt, liquid.Vm);
    EXPECT_EQ(melting.hLiqMelt, 481803.0);  // design: liquid NaCl enthalpy at 800.7 C, 0 bar
}

}  // namespace
