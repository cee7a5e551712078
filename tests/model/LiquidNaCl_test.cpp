#include <gtest/gtest.h>
#include <quarvessin/model/LiquidNaCl.h>

#include <cmath>

using namespace quarvessin;

namespace {

// Volume at zero pressure, hand-expanded (the class evaluates it by Horner).
double V0(double t) { return 23.772 + 0.018639 * t - 1.9687e-06 * t * t; }

class LiquidNaClTest : public ::testing::Test {
  protected:
    double t = 900.0;
    double p = 1.0;
    LiquidNaCl liquid{&t, &p};

    void At(double tc, double pc) {
        t = tc;
        p = pc;
        liquid.Refresh();
    }
};

TEST_F(LiquidNaClTest, AtTriplePointZeroBar) {
    At(800.7, 0.0);
    EXPECT_NEAR(liquid.Vm, V0(800.7), 1e-12);  // design: Vm = V0(800.7)
    EXPECT_DOUBLE_EQ(liquid.h, 481803.0);      // design: enthalpy of melting above halite
    EXPECT_DOUBLE_EQ(liquid.cp, 1206.21);      // design value
    EXPECT_DOUBLE_EQ(liquid.rho, 58.443 / liquid.Vm * 1000.0);
    EXPECT_DOUBLE_EQ(liquid.b, -1.5259e-05 + 5.5058e-08 * 800.7);
}

TEST_F(LiquidNaClTest, VolumeLaw) {
    for (double tc : {0.0, 500.0, 800.7, 1500.0}) {
        At(tc, 0.0);
        EXPECT_NEAR(liquid.Vm, V0(tc), 1e-12) << tc;  // design: at p = 0 the volume is V0(t)
        // Hand evaluation of the logarithmic law at 2000 bar.
        At(tc, 2000.0);
        const double b = -1.5259e-05 + 5.5058e-08 * tc;
        EXPECT_NEAR(liquid.Vm, V0(tc) * (1.0 - 0.1 * std::log(1.0 + 2.0e4 * b)), 1e-11) << tc;
    }
    // Low temperature, high pressure: the logarithm's argument is negative,
    // and the volume is not a number, silently.
    At(0.0, 10000.0);
    EXPECT_TRUE(std::isnan(liquid.Vm));
    EXPECT_TRUE(std::isnan(liquid.rho));
}

TEST_F(LiquidNaClTest, SlopesAreDerivatives) {
    const double h = 1e-3;
    for (double tc : {300.0, 800.7, 1200.0}) {
        for (double pc : {0.0, 1000.0, 5000.0}) {
            At(tc, pc);
            const double tP = tc + h, tM = tc - h;
            const double dV =
                (liquid.MolarVolume(&tP, &p) - liquid.MolarVolume(&tM, &p)) / (2.0 * h);
            const double dH = (liquid.Enthalpy(&tP, &p) - liquid.Enthalpy(&tM, &p)) / (2.0 * h);
            EXPECT_NEAR(liquid.dVdT, dV, 1e-9) << tc << " C " << pc << " bar";
            EXPECT_DOUBLE_EQ(liquid.alpha, liquid.dVdT / liquid.Vm);
            EXPECT_NEAR(liquid.cp, dH, 1e-6) << tc << " C " << pc << " bar";
        }
    }
}

TEST_F(LiquidNaClTest, RefreshCachesLastState) {
    // First evaluation exactly at the priming values.
    t = 899.0;
    p = 0.0;
    liquid.Refresh();
    EXPECT_NEAR(liquid.Vm, V0(899.0), 1e-12);

    liquid.Vm = -1.0;
    liquid.Refresh();
    EXPECT_EQ(liquid.Vm, -1.0);  // unchanged inputs: nothing recomputed

    t = 899.5;
    liquid.Refresh();
    EXPECT_NEAR(liquid.Vm, V0(899.5), 1e-12);  // a change of t recomputes
}

}  // namespace
