#include <gtest/gtest.h>
#include <quarvessin/model/CriticalCurve.h>

#include <cmath>
#include <limits>
#include <string>

using namespace quarvessin;

namespace {

class CriticalCurveTest : public ::testing::Test {
  protected:
    double t = 25.0;
    CriticalCurve critical{&t};

    double P(double tc) { return critical.PfromT(&tc); }
    double X(double tc) { return critical.XfromT(&tc); }
    double dXdT(double tc) { return critical.dXdTAt(&tc); }
    double Slope(double tc) { return critical.dPdTAt(&tc); }
    double T(double p) { return critical.TfromP(&p); }
};

TEST_F(CriticalCurveTest, AtWaterCriticalPointAndBranchJoins) {
    // Design values: the curve starts exactly at the critical point of water.
    EXPECT_EQ(P(373.976), 220.54915);
    EXPECT_EQ(X(373.976), 0.0);
    EXPECT_EQ(dXdT(373.976), 0.0);
    EXPECT_EQ(Slope(373.976), 2.16164);
    // Design: pressure and its slope (2.36 at 374 C) continuous at both joins;
    // the d^1.5 term below 374 C bends a one-sided difference by 0.13 sqrt(h).
    const double h = 1e-4;
    EXPECT_NEAR(P(std::nextafter(500.0, 1e3)), P(500.0), 1e-9);
    EXPECT_NEAR((P(500.0) - P(500.0 - h)) / h, (P(500.0 + h) - P(500.0)) / h, 1e-4);
    EXPECT_NEAR((P(373.976) - P(373.976 - h)) / h, 2.36, 2e-3);
    EXPECT_NEAR((P(373.976 + h) - P(373.976)) / h, 2.36, 2e-3);
    // Design: the composition steps in the sixth decimal at 600 C.
    EXPECT_EQ(X(600.0), 0.0777761);
    const double step = std::fabs(X(std::nextafter(600.0, 0.0)) - 0.0777761);
    EXPECT_GT(step, 1e-6);
    EXPECT_LT(step, 1e-5);
}

TEST_F(CriticalCurveTest, FormulasAgainstHandEvaluationAndDerivatives) {
    // Independent arrangements of the low branch and of the parabola above 500 C.
    const double d = 373.976 - 100.0, r = std::sqrt(d);
    EXPECT_NEAR(P(100.0) / (220.54915 +
                            d * (-2.36 + 0.128534 * r +
                                 d * (-0.023707 + 0.00320089 * r +
                                      d * (-0.000138917 + d * (1.02789e-07 - 4.8376e-11 * d))))),
                1.0, 1e-12);
    const double b = 500.0 - 373.976, s = std::sqrt(b);
    const double p500 =
        220.54915 + b * (2.36 + b * (-0.0131417 + 0.00298491 * s - 0.000130114 * b));
    const double s500 = 2.36 + b * (-0.0262834 + 0.007462275 * s - 0.000390342 * b);
    EXPECT_NEAR(P(1000.0) / (p500 + 500.0 * (s500 - 0.000488336 * 500.0)), 1.0, 1e-13);
    EXPECT_NEAR(P(0.0), 0.03, 0.005);  // design: about 0.03 bar at 0 C

    // The composition slope is the derivative of the composition.
    for (double tc : {380.0, 550.0, 599.0, 601.0, 1200.0}) {
        EXPECT_NEAR(dXdT(tc), (X(tc + 1e-3) - X(tc - 1e-3)) / 2e-3, 1e-9) << tc;
    }
    // The pressure slope is a fit: ascending sum over its coefficient table,
    // within a few per cent of the true slope from 50 to 800 C, about 27 %
    // high at 1000 C and about 7000 bar/C at 1500 C (design).
    const double g[10] = {-2.16164,     0.01275462,    8.07519e-06,   -1.596184e-07, 1.037705e-11,
                          1.173966e-12, -4.571693e-16, -4.234264e-18, 1.393425e-21,  6.06034e-24};
    auto ratio = [this](double tc) { return Slope(tc) * 2e-3 / (P(tc + 1e-3) - P(tc - 1e-3)); };
    for (double tc : {50.0, 200.0, 350.0, 450.0, 600.0, 800.0, 1000.0, 1500.0}) {
        double a = 0.0;
        for (int k = 0; k <= 9; ++k) a += g[k] * std::pow(373.976 - tc, k);
        EXPECT_NEAR(Slope(tc) / -a, 1.0, 1e-11) << tc;
        if (tc <= 800.0) {
            EXPECT_NEAR(ratio(tc), 1.0, 0.05) << tc;
        }
    }
    EXPECT_NEAR(ratio(1000.0), 1.27, 0.02);
    EXPECT_NEAR(Slope(1500.0), 7000.0, 500.0);
}

TEST_F(CriticalCurveTest, TemperatureFromPressure) {
    t = 450.0;
    critical.Refresh();
    const double cachedP = critical.Pcrit;
    testing::internal::CaptureStdout();
    EXPECT_NEAR(T(220.54915), 373.976, 1e-9);  // design: the critical point of water
    EXPECT_NEAR(T(P(1000.0)), 1000.0, 1e-9);   // the largest pressure the sections ask for
    EXPECT_LT(T(1e-3), 0.0);                   // design: below 0 C far below 1 bar
    for (double p : {1.0, 150.0, 300.0, 2000.0, 3000.0}) {
        const double tc = T(p);
        EXPECT_NEAR(P(tc), p, 1e-9) << p;  // round trip to the iteration tolerance
        EXPECT_EQ(critical.tIter, tc);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(critical.t, 450.0);  // the solver leaves the cache alone
    EXPECT_EQ(critical.Pcrit, cachedP);

    // Far above 3000 bar the steps stall short of the tolerance: the solver
    // ends at its cycle limit with its message and the last iterate.
    testing::internal::CaptureStdout();
    const double tc = T(5000.0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "CriticalCurve::TfromP : Not converged after " +
                  std::to_string(CriticalCurve::TfromPCycleLimit) + " cycles\n");
    EXPECT_EQ(critical.tIter, tc);
    EXPECT_GT(std::fabs(critical.residual), 1e-10);
    EXPECT_GT(P(tc), P(950.0));  // moved from its start towards the root
    EXPECT_TRUE(std::isnan(T(std::numeric_limits<double>::quiet_NaN())));  // one cycle, no hang
}

TEST_F(CriticalCurveTest, ConstructionAndRefreshCaching) {
    // The member is bound to this object's t, already primed to owner's
    // t - 1 when the member is built, so the member is primed to owner's t - 2.
    EXPECT_EQ(critical.t, 24.0);
    EXPECT_EQ(critical.vlhCurve.t, 23.0);
    // First evaluations exactly at the priming values still compute: this
    // object's at owner's t - 1, another's member at owner's t - 2.
    t = 24.0;
    critical.Refresh();
    EXPECT_EQ(critical.Pcrit, P(24.0));
    double tOther = 25.0;
    CriticalCurve other(&tOther);
    tOther = 23.0;
    other.Refresh();
    other.vlhCurve.Refresh();
    double tRef = 23.0;
    HaliteLiquidVaporCurve reference(&tRef);
    reference.Refresh();
    EXPECT_EQ(other.vlhCurve.P, reference.P);

    t = 650.0;
    critical.Refresh();
    EXPECT_EQ(critical.Pcrit, P(650.0));  // cached fields equal direct calls
    EXPECT_EQ(critical.Xcrit, X(650.0));
    EXPECT_EQ(critical.dPdT, Slope(650.0));
    EXPECT_EQ(critical.dXdT, dXdT(650.0));
    critical.Pcrit = -1.0;
    critical.Refresh();
    EXPECT_EQ(critical.Pcrit, -1.0);  // unchanged t: nothing recomputed
    t = std::nextafter(650.0, 0.0);
    critical.Refresh();
    EXPECT_EQ(critical.Pcrit, P(t));  // one ulp lower: recomputed
}

}  // namespace
