#include <gtest/gtest.h>
#include <quarvessin/model/VLVaporBranch.h>

#include <cmath>

using namespace quarvessin;

namespace {

class VLVaporBranchTest : public ::testing::Test {
  protected:
    double t = 300.0;
    double p = 70.0;
    VLVaporBranch vapor{&t, &p};

    void At(double tNew, double pNew) {
        t = tNew;
        p = pNew;
        vapor.Refresh();
    }
};

TEST_F(VLVaporBranchTest, PartitionEqualsThatOfTheHaliteSaturatedPhases) {
    // X / xl = xVH / xL, against separate liquid-branch, halite-saturated
    // vapour and liquidus objects at the same state.
    struct Case {
        double t, p;
    };
    for (const Case c : {Case{300.0, 70.0}, Case{500.0, 450.0}, Case{700.0, 300.0}}) {
        At(c.t, c.p);
        double tRef = c.t;
        double pRef = c.p;
        VLLiquidBranch liquid(&tRef, &pRef);
        liquid.Refresh();
        HaliteSaturatedVapor haliteVapor(&tRef, &pRef);
        haliteVapor.Refresh();
        HaliteLiquidus liquidus(&tRef, &pRef);
        liquidus.Refresh();
        ASSERT_GT(liquid.X, 0.0);
        EXPECT_NEAR(vapor.X / liquid.X, haliteVapor.xVH / liquidus.xL,
                    1e-14 * haliteVapor.xVH / liquidus.xL)
            << c.t << " C";
        // The vapour holds less NaCl than the liquid it coexists with.
        EXPECT_LT(vapor.X, liquid.X);
        EXPECT_GT(vapor.X, 0.0);
    }
}

TEST_F(VLVaporBranchTest, PureWaterBoilingGivesPureWaterVapour) {
    // At the vapour pressure of water below 373.976 C the liquid is pure
    // water, and so is the vapour.
    double tRef = 300.0;
    double pRef = 70.0;
    VLLiquidBranch liquid(&tRef, &pRef);
    liquid.Refresh();
    At(300.0, liquid.Pw);
    EXPECT_NEAR(vapor.liquid.X, 0.0, 1e-13);
    EXPECT_NEAR(vapor.X, 0.0, 1e-13);
}

TEST_F(VLVaporBranchTest, SlopeIsTheChainRuleDerivative) {
    // dXdT against a central difference of (xl k) / xL with the three member
    // values moved along their slopes.
    for (double t0 : {300.0, 500.0, 700.0}) {
        At(t0, t0 == 300.0 ? 70.0 : 450.0);
        const double xl = vapor.liquid.X;
        const double dxl = vapor.liquid.dXdT;
        const double k = vapor.haliteVapor.xVH;
        const double dk = vapor.haliteVapor.dxVHdT;
        const double xL = vapor.liquidus.xL;
        const double dxL = vapor.liquidus.dxLdT;
        auto x = [&](double h) { return (xl + h * dxl) * (k + h * dk) / (xL + h * dxL); };
        const double h = 1e-3;
        const double fd = (x(h) - x(-h)) / (2 * h);
        EXPECT_NEAR(vapor.dXdT, fd, 1e-7 * std::fabs(fd)) << t0;
        EXPECT_DOUBLE_EQ(vapor.dXdT, vapor.dXdTAt());
        EXPECT_DOUBLE_EQ(vapor.X, vapor.XfromTP());
    }
}

TEST_F(VLVaporBranchTest, AboveTheCriticalPressureIsNotANumber) {
    At(400.0, 300.0);  // the critical pressure at 400 C is about 280 bar
    EXPECT_TRUE(std::isnan(vapor.X));
    EXPECT_TRUE(std::isnan(vapor.dXdT));
}

TEST_F(VLVaporBranchTest, RefreshRecomputesOnlyAfterAChange) {
    At(500.0, 450.0);
    const double x = vapor.X;
    vapor.X = -1.0;
    vapor.dXdT = -1.0;
    vapor.Refresh();
    EXPECT_EQ(vapor.X, -1.0);
    EXPECT_EQ(vapor.dXdT, -1.0);
    // A change of p alone recomputes X and dXdT.
    p = std::nextafter(450.0, 500.0);
    vapor.Refresh();
    EXPECT_NEAR(vapor.X, x, 1e-12);
    EXPECT_NE(vapor.dXdT, -1.0);
    EXPECT_EQ(vapor.liquid.p, p);
}

TEST(VLVaporBranchPriming, FirstEvaluationAtThePrimingValues) {
    // Primed with (t - 1, p - 1); its members one lower again. A first
    // Refresh at either still computes.
    for (double back : {1.0, 2.0}) {
        double t = 500.0 + back;
        double p = 450.0 + back;
        VLVaporBranch vapor(&t, &p);
        t = 500.0;
        p = 450.0;
        vapor.Refresh();
        double tRef = 500.0;
        double pRef = 450.0;
        VLVaporBranch reference(&tRef, &pRef);
        reference.Refresh();
        EXPECT_FALSE(std::isnan(vapor.X));
        EXPECT_EQ(vapor.X, reference.X) << back;
        EXPECT_EQ(vapor.dXdT, reference.dXdT) << back;
    }
}

TEST(VLVaporBranchNearTheCriticalPointOfWater, PartitionAtTheMergedPhases) {
    // At 373.97599999999994 C the computed vapour pressure of water lies above
    // the computed critical-curve extension by rounding. A pressure between
    // the two is on the loop; the halite-saturated vapour and liquid, one
    // phase at the extension, partition nothing there: vapour = liquid.
    double t = 373.97599999999994, p = 200.0;
    VLVaporBranch vapor(&t, &p);
    vapor.Refresh();
    const double pc = vapor.liquid.Pc;
    const double pw = vapor.liquid.Pw;
    ASSERT_GT(pw, pc);
    p = 0.5 * (pc + pw);
    vapor.Refresh();
    ASSERT_GT(vapor.liquid.X, 0.0);
    EXPECT_NEAR(vapor.X, vapor.liquid.X, 1e-12 * vapor.liquid.X);
    // Lower on the loop the vapour is that of the critical branch at 373.976 C.
    double tHigh = 373.976, pHigh = 200.0;
    VLVaporBranch high(&tHigh, &pHigh);
    for (double f : {0.01, 0.5, 0.99}) {
        p = pHigh = vapor.liquid.Pv + f * (pw - vapor.liquid.Pv);
        vapor.Refresh();
        high.Refresh();
        EXPECT_NEAR(vapor.X, high.X, 1e-6 * high.X) << p << " bar";
        EXPECT_LT(vapor.X, vapor.liquid.X);
    }
}

}  // namespace
