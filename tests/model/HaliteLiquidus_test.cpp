#include <gtest/gtest.h>
#include <quarvessin/model/HaliteLiquidus.h>

#include <cmath>
#include <type_traits>

using namespace quarvessin;

namespace {

// Objects bound by pointer must never be copied or moved.
static_assert(!std::is_copy_constructible_v<HaliteLiquidus> &&
              !std::is_move_constructible_v<HaliteLiquidus>);
static_assert(!std::is_copy_assignable_v<HaliteMelting> &&
              !std::is_move_assignable_v<HaliteMelting>);
static_assert(!std::is_copy_constructible_v<Halite> && !std::is_copy_constructible_v<LiquidNaCl>);

// Composition conversion to weight percent NaCl.
double WtPercent(double x) { return 100.0 * 58.443 * x / ((1.0 - x) * 18.015 + 58.443 * x); }

class HaliteLiquidusTest : public ::testing::Test {
  protected:
    double t = 25.0;
    double p = 1.0;
    HaliteLiquidus liquidus{&t, &p};

    void At(double tc, double pc) {
        t = tc;
        p = pc;
        liquidus.Refresh();
    }
};

TEST_F(HaliteLiquidusTest, AtRoomConditions) {
    At(0.0, 0.0);
    EXPECT_EQ(liquidus.xL, 0.0989944);                // design: e0 at 0 C, 0 bar
    EXPECT_NEAR(WtPercent(liquidus.xL), 26.3, 0.05);  // design: about 26.3 wt%
    At(25.0, 1.0);
    EXPECT_NEAR(WtPercent(liquidus.xL), 26.4,
                0.1);                       // physical: solubility of halite about 26.4 wt%
    EXPECT_GT(liquidus.dxLdT, 0.0);         // physical: solubility rises with temperature
    EXPECT_NEAR(liquidus.rhoL, 1.2, 0.01);  // physical: saturated brine about 1.2 g/cm3
    EXPECT_DOUBLE_EQ(liquidus.rhoL,
                     ((1.0 - liquidus.xL) * 18.015 + liquidus.xL * 58.443) / liquidus.VL);
}

TEST_F(HaliteLiquidusTest, AnchoredAtMeltingPointAnd20C) {
    for (double pc : {0.0, 300.0, 1000.0, 5000.0}) {
        At(800.7 + 0.024726 * pc, pc);  // the melting temperature, computed independently
        EXPECT_EQ(liquidus.Thm, liquidus.t) << pc;
        EXPECT_NEAR(liquidus.xL, 1.0, 1e-14) << pc;              // design: pure NaCl at tau = 1
        EXPECT_NEAR(liquidus.VL, liquidus.VmMelt, 1e-12) << pc;  // design: VL(Thm) = VmMelt
        EXPECT_NEAR(liquidus.hL, liquidus.hMelt, 1e-6) << pc;    // design: hL(Thm) = hMelt
        // The melting member's values are those of liquid NaCl at (Thm, p).
        double tm = liquidus.Thm, pm = pc;
        LiquidNaCl liquid(&tm, &pm);
        liquid.Refresh();
        EXPECT_EQ(liquidus.VmMelt, liquid.Vm) << pc;
        EXPECT_EQ(liquidus.hMelt, liquid.h) << pc;
        At(20.0, pc);
        EXPECT_NEAR(liquidus.VL, liquidus.a0, 1e-12) << pc;  // design: VL(20) = a0
        At(100.0, pc);
        EXPECT_NEAR(liquidus.cpL, 3029.0 - 0.062 * pc, 1e-9) << pc;  // design: cp100
    }
}

TEST_F(HaliteLiquidusTest, CompositionAndHeatCapacityFromCoefficientTables) {
    // Independent arrangement: ascending sums over the coefficient tables
    // (constant, per bar, per bar^2), e5 closing the sum to 1, and the heat
    // capacity as cp100 plus its increments from 100 C.
    const double e[5][3] = {{0.0989944, 3.30796e-06, -4.71759e-10},
                            {0.00947257, -8.6646e-06, 1.69417e-09},
                            {0.610863, -1.51716e-05, 1.1929e-08},
                            {-1.64994, 0.000203441, -6.46015e-08},
                            {3.36474, -0.000154023, 8.17048e-08}};
    for (double pc : {1.0, 500.0, 3000.0}) {
        for (double tc : {25.0, 300.0, 700.0}) {
            At(tc, pc);
            const double tau = tc / (800.7 + 0.024726 * pc);
            double x = 0.0, rest = 1.0;
            for (int i = 0; i < 5; ++i) {
                const double ei = e[i][0] + pc * (e[i][1] + pc * e[i][2]);
                x += ei * std::pow(tau, i);
                rest -= ei;
            }
            x += rest * std::pow(tau, 5);
            EXPECT_NEAR(liquidus.xL, x, 1e-14)
                << tc << " C " << pc << " bar";  // rounding of O(1) terms

            const double b2 = -0.646 - 0.00035 * pc;
            const double b3 = -0.00155246 + pc * (9.62709e-07 - 2.43274e-11 * pc);
            const double b5 = -2.92653e-09 + pc * (-2.01445e-13 + 1.13443e-17 * pc);
            const double cp = 3029.0 - 0.062 * pc + 2.0 * b2 * (tc - 100.0) +
                              3.0 * b3 * (tc * tc - 1e4) + 5.0 * b5 * (std::pow(tc, 4) - 1e8);
            EXPECT_NEAR(liquidus.cpL, cp, 1e-9 * std::fabs(cp)) << tc << " C " << pc << " bar";
        }
    }
}

TEST_F(HaliteLiquidusTest, SlopesAreDerivatives) {
    // Central differences of the object's own values at the other input fixed.
    const double ht = 1e-3, hp = 1e-2;
    for (double tc : {0.0, 25.0, 300.0, 700.0}) {
        for (double pc : {1.0, 500.0, 3000.0}) {
            At(tc + ht, pc);
            const double xTp = liquidus.xL, vTp = liquidus.VL, hTp = liquidus.hL;
            At(tc - ht, pc);
            const double xTm = liquidus.xL, vTm = liquidus.VL, hTm = liquidus.hL;
            At(tc, pc + hp);
            const double xPp = liquidus.xL, vPp = liquidus.VL;
            At(tc, pc - hp);
            const double xPm = liquidus.xL, vPm = liquidus.VL;
            At(tc, pc);
            EXPECT_NEAR(liquidus.dxLdT, (xTp - xTm) / (2.0 * ht), 1e-10)
                << tc << " C " << pc << " bar";
            EXPECT_NEAR(liquidus.dxLdP, (xPp - xPm) / (2.0 * hp), 1e-11)
                << tc << " C " << pc << " bar";
            EXPECT_NEAR(liquidus.dVLdT, (vTp - vTm) / (2.0 * ht), 1e-8)
                << tc << " C " << pc << " bar";
            EXPECT_NEAR(liquidus.dVLdP, (vPp - vPm) / (2.0 * hp), 1e-9)
                << tc << " C " << pc << " bar";
            EXPECT_NEAR(liquidus.cpL, (hTp - hTm) / (2.0 * ht), 1e-6 * std::fabs(liquidus.cpL))
                << tc << " C " << pc << " bar";
        }
    }
}

TEST_F(HaliteLiquidusTest, RefreshCachesLastState) {
    t = 24.0;  // first evaluation exactly at the priming values (owner's t - 1, p - 1)
    p = 0.0;
    liquidus.Refresh();
    EXPECT_NEAR(liquidus.xL, 0.1,
                0.002);  // physical: about 0.1 near room temperature, not left unset
    p = 100.0;
    liquidus.Refresh();
    liquidus.xL = -1.0;
    liquidus.Refresh();
    EXPECT_EQ(liquidus.xL, -1.0);  // unchanged inputs: nothing recomputed
    p = 101.0;
    liquidus.Refresh();
    EXPECT_EQ(liquidus.xL, liquidus.Composition(&liquidus.tau));  // a change of p alone recomputes
    EXPECT_EQ(liquidus.Thm, 800.7 + 0.024726 * 101.0);            // with the member refreshed
    EXPECT_GT(liquidus.xL, 0.09);
}

TEST(HaliteLiquidusFirstRefresh, MemberComputesAtItsPrimingValues) {
    double tRef = 23.0, pRef = 1.0;
    HaliteLiquidus reference(&tRef, &pRef);
    reference.Refresh();
    ASSERT_GT(reference.xL, 0.09);

    // Owner's value minus 2 is the melting member's priming value: the
    // member is first asked exactly there.
    double t2 = 25.0, p2 = 3.0;
    HaliteLiquidus member(&t2, &p2);
    ASSERT_EQ(member.melting.tState, 23.0);
    ASSERT_EQ(member.melting.pState, 1.0);
    t2 = 23.0;
    p2 = 1.0;
    member.Refresh();
    EXPECT_EQ(member.Thm, reference.Thm);
    EXPECT_EQ(member.xL, reference.xL);
    EXPECT_EQ(member.VL, reference.VL);
}

}  // namespace
