#include <gtest/gtest.h>
#include <quarvessin/model/NaClSublimationCurve.h>

#include <cmath>

using namespace quarvessin;

namespace {

class NaClSublimationCurveTest : public ::testing::Test {
  protected:
    double t = 500.0;
    double p = 1.0;
    NaClSublimationCurve sublimation{&t, &p};

    double P(double tc) { return sublimation.PfromT(&tc); }
};

TEST_F(NaClSublimationCurveTest, ClausiusClapeyronLineThroughTriplePoint) {
    EXPECT_NEAR(P(800.7), 0.0005, 1e-18);  // design: the NaCl triple point, to rounding
    // Independent arrangement: log10(P) changes by 11806.1 K times the change of -1/T.
    for (double tc : {100.0, 700.0, 900.0}) {
        const double inv = 1.0 / (800.7 + 273.15) - 1.0 / (tc + 273.15);
        EXPECT_NEAR(std::log10(P(tc) / 0.0005), 11806.1 * inv, 1e-12) << tc;
        // The slope is the derivative of the pressure.
        const double fd = (P(tc + 1e-3) - P(tc - 1e-3)) / 2e-3;
        EXPECT_NEAR(sublimation.dPdT(&tc) / fd, 1.0, 1e-7) << tc;
    }
    EXPECT_EQ(P(-273.15), 0.0);  // design: the division by zero at 0 K gives 0
}

TEST_F(NaClSublimationCurveTest, RefreshCachesTemperatureOnly) {
    t = 499.0;  // the priming value owner's t - 1: the first Refresh computes anyway
    sublimation.Refresh();
    EXPECT_EQ(sublimation.Psub, P(499.0));
    EXPECT_EQ(sublimation.dPsubdT, sublimation.dPdT(&t));
    sublimation.Psub = -1.0;
    p = 500.0;  // pressure is no input of the curve
    sublimation.Refresh();
    EXPECT_EQ(sublimation.Psub, -1.0);
    t = std::nextafter(499.0, 0.0);
    sublimation.Refresh();
    EXPECT_EQ(sublimation.Psub, P(t));
}

}  // namespace
