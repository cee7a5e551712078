#include <gtest/gtest.h>
#include <quarvessin/model/Halite.h>

#include <cmath>

using namespace quarvessin;

namespace {

class HaliteTest : public ::testing::Test {
  protected:
    double t = 25.0;
    double p = 1.0;
    Halite halite{&t, &p};

    void At(double tc, double pc) {
        t = tc;
        p = pc;
        halite.Refresh();
    }
};

TEST_F(HaliteTest, AtZeroCelsiusZeroBar) {
    At(0.0, 0.0);
    EXPECT_EQ(halite.rho, 2170.4);                          // design value: constant of the density
    EXPECT_DOUBLE_EQ(halite.Vm, 58.443 / 2170.4 * 1000.0);  // molar mass over density
    EXPECT_EQ(halite.T, 273.15);
    const double rho0 = halite.rho;
    At(100.0, 0.0);
    EXPECT_LT(halite.rho, rho0);  // physical: expands on heating
    At(0.0, 1000.0);
    EXPECT_GT(halite.rho, rho0);  // physical: compressed under pressure
}

TEST_F(HaliteTest, AtMeltingPointLowPressure) {
    At(800.7, 0.0);
    EXPECT_NEAR(halite.h, 0.0, 1e-9);      // design: enthalpy zero at 800.7 C, 0 bar
    EXPECT_DOUBLE_EQ(halite.cp, 1148.81);  // design value
    // Hand evaluation of the density at the melting point in expanded form.
    const double rho = 2170.4 - 0.24599 * 800.7 - 9.5797e-05 * 800.7 * 800.7;
    EXPECT_NEAR(halite.rho, rho, 1e-9);
}

TEST_F(HaliteTest, SlopesAreDerivativesOfDensityAndEnthalpy) {
    const double h = 1e-3;
    for (double tc : {0.0, 300.0, 800.7, 1000.0}) {
        for (double pc : {0.0, 500.0, 3000.0}) {
            At(tc, pc);
            const double tP = tc + h, tM = tc - h, pP = pc + h, pM = pc - h;
            // alpha = -(1/rho) drho/dt, beta = (1/rho) drho/dp, cp = dh/dt
            const double dRdT = (halite.Density(&tP, &p) - halite.Density(&tM, &p)) / (2.0 * h);
            const double dRdP = (halite.Density(&t, &pP) - halite.Density(&t, &pM)) / (2.0 * h);
            const double dHdT = (halite.Enthalpy(&tP, &p) - halite.Enthalpy(&tM, &p)) / (2.0 * h);
            EXPECT_NEAR(halite.alpha, -dRdT / halite.rho, 1e-11) << tc << " C " << pc << " bar";
            EXPECT_NEAR(halite.beta, dRdP / halite.rho, 1e-11) << tc << " C " << pc << " bar";
            EXPECT_NEAR(halite.cp, dHdT, 1e-6) << tc << " C " << pc << " bar";
        }
    }
}

TEST_F(HaliteTest, RefreshCachesLastState) {
    // First evaluation exactly at the priming values (owner's t - 1, p - 1).
    t = 24.0;
    p = 0.0;
    halite.Refresh();
    EXPECT_DOUBLE_EQ(halite.rho, halite.Density(&t, &p));  // computed, not left unset
    EXPECT_DOUBLE_EQ(halite.h, halite.Enthalpy(&t, &p));

    // Unchanged inputs: a hand-set field survives.
    halite.rho = -1.0;
    halite.Refresh();
    EXPECT_EQ(halite.rho, -1.0);

    // A change of p alone recomputes everything.
    p = 200.0;
    halite.Refresh();
    EXPECT_DOUBLE_EQ(halite.rho, halite.Density(&t, &p));
    EXPECT_DOUBLE_EQ(halite.beta, halite.dRhodP(&t) / halite.rho);
    EXPECT_DOUBLE_EQ(halite.cp, halite.HeatCapacity(&t, &p));
    EXPECT_DOUBLE_EQ(halite.h, halite.Enthalpy(&t, &p));
}

}  // namespace
