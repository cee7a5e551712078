#include <gtest/gtest.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>

#include <cmath>

using namespace quarvessin;

namespace {

class HaliteLiquidVaporCurveTest : public ::testing::Test {
  protected:
    double t = 25.0;
    HaliteLiquidVaporCurve hlv{&t};

    void At(double tc) {
        t = tc;
        hlv.Refresh();
    }
};

TEST_F(HaliteLiquidVaporCurveTest, AtZeroCelsiusNaClTriplePointAndMaximum) {
    At(0.0);  // at tau = 0 only the constant terms remain (design values)
    EXPECT_EQ(hlv.P, 0.00464);
    EXPECT_DOUBLE_EQ(hlv.dPdT, 5e-07 / 800.7);
    At(800.7);
    EXPECT_NEAR(hlv.P, 0.0005, 1e-10);  // design: ends at the NaCl triple point
    At(HaliteLiquidVaporCurve::TatPmax());
    EXPECT_NEAR(hlv.P, 390.14744433795, 1e-11);  // design value and tolerance
    EXPECT_NEAR(hlv.P, HaliteLiquidVaporCurve::Pmax(), 1e-11);
    EXPECT_NEAR(hlv.dPdT, 0.0, 1e-12);
    // Single maximum: rising below TatPmax, falling above, below Pmax elsewhere.
    for (int i = 0; i <= 8007; ++i) {
        At(0.1 * i);
        ASSERT_LT(hlv.P, HaliteLiquidVaporCurve::Pmax()) << "t = " << t;
        ASSERT_TRUE(t < 594.6 ? hlv.dPdT > 0.0 : t < 594.7 || hlv.dPdT < 0.0) << "t = " << t;
    }
}

TEST_F(HaliteLiquidVaporCurveTest, SlopesAreDerivativesOfTabulatedPolynomial) {
    // Independent arrangement: sums of ck tau^k over the coefficient table,
    // with the derivative coefficients formed here as k ck and k (k-1) ck.
    const double c[11] = {0.00464,  5e-07,     16.9078,  -269.148,  7632.04,      -49563.6,
                          233119.0, -513556.0, 549708.0, -284628.0, 57540.7960595};
    const double h = 1e-3;
    for (double tc : {-10.0, 0.5, 300.0, 594.0, 700.0, 800.7}) {
        const double x = tc / 800.7;
        double p = 0.0, p1 = 0.0, p2 = 0.0;
        for (int k = 0; k <= 10; ++k) {
            p += c[k] * std::pow(x, k);
            if (k >= 1) p1 += k * c[k] * std::pow(x, k - 1) / 800.7;
            if (k >= 2) p2 += k * (k - 1) * c[k] * std::pow(x, k - 2) / 800.7 / 800.7;
        }
        At(tc + h);
        const double pUp = hlv.P, sUp = hlv.dPdT;
        At(tc - h);
        const double pDown = hlv.P, sDown = hlv.dPdT;
        At(tc);
        EXPECT_NEAR(hlv.P, p, 1e-8) << tc;  // rounding of terms up to 5e5 bar
        EXPECT_NEAR(hlv.dPdT, p1, 1e-10) << tc;
        EXPECT_NEAR(hlv.d2PdT2, p2, 1e-12) << tc;
        EXPECT_NEAR(hlv.dPdT, (pUp - pDown) / (2.0 * h), 1e-7) << tc;
        EXPECT_NEAR(hlv.d2PdT2, (sUp - sDown) / (2.0 * h), 1e-8) << tc;
    }
}

TEST_F(HaliteLiquidVaporCurveTest, RefreshCachesLastTemperature) {
    double tRef = 24.0;
    HaliteLiquidVaporCurve reference(&tRef);
    reference.Refresh();
    At(24.0);  // exactly the priming value owner's t - 1: still computes
    EXPECT_EQ(hlv.P, reference.P);
    EXPECT_EQ(hlv.d2PdT2, reference.d2PdT2);
    hlv.P = -1.0;
    hlv.Refresh();
    EXPECT_EQ(hlv.P, -1.0);  // unchanged t: nothing recomputed
    At(std::nextafter(24.0, 100.0));
    EXPECT_NEAR(hlv.P, reference.P, 1e-12);  // one ulp up: recomputed
}

}  // namespace
