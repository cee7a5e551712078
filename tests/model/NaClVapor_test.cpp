#include <gtest/gtest.h>
#include <quarvessin/model/NaClVapor.h>

#include <cmath>

using namespace quarvessin;

namespace {

class NaClVaporTest : public ::testing::Test {
  protected:
    double t = 1000.0;
    double p = 1.0;
    NaClVapor vapor{&t, &p};

    void At(double tc, double pc) {
        t = tc;
        p = pc;
        vapor.Refresh();
    }
};

TEST_F(NaClVaporTest, EnthalpyZeroAtReferenceTemperature) {
    At(0.0, 1.0);
    EXPECT_EQ(vapor.T, 273.15);
    EXPECT_NEAR(vapor.h, 0.0, 1e-8);  // design: h(273.15 K) = 0; terms of order 1e4 J/mol cancel
}

TEST_F(NaClVaporTest, IdealGas) {
    At(1000.0, 2.0);
    // R T / p in J/(mol bar), times 10 to cm3/mol
    EXPECT_NEAR(vapor.Vm, 8.314472 * 1273.15 / 2.0 * 10.0, 1e-9);
    EXPECT_NEAR(vapor.rho * vapor.Vm, 58443.0, 1e-9);  // molar mass [g/mol] x 1000
    const double vm = vapor.Vm;
    At(1000.0, 4.0);
    EXPECT_NEAR(vapor.Vm, vm / 2.0, 1e-9);  // inversely proportional to p
    At(1000.0, 0.0);
    EXPECT_TRUE(std::isinf(vapor.Vm));  // design: p = 0 gives an infinite volume
    EXPECT_EQ(vapor.rho, 0.0);          // and a density of 0
}

TEST_F(NaClVaporTest, HeatCapacityIsSlopeOfEnthalpy) {
    const double h = 1e-3;
    for (double T : {273.15, 500.0, 1073.85, 2500.0}) {
        const double TP = T + h, TM = T - h;
        const double dH = (vapor.Enthalpy(&TP) - vapor.Enthalpy(&TM)) / (2.0 * h);
        EXPECT_NEAR(vapor.HeatCapacity(&T), dH, 1e-7 * vapor.HeatCapacity(&T)) << T;
    }
    // Hand evaluation of the molar heat capacity at 1000 K.
    const double T = 1000.0;
    const double cpMolar =
        0.142535 * std::sqrt(T) + 34.6061 - 13.4547 * std::exp(-8.95152) - 1.18792;
    EXPECT_NEAR(vapor.HeatCapacity(&T), cpMolar / 58.443 * 1000.0, 1e-10);
}

TEST_F(NaClVaporTest, RefreshCachesLastState) {
    t = 999.0;  // exactly the priming values
    p = 0.0;
    vapor.Refresh();
    EXPECT_DOUBLE_EQ(vapor.cp, vapor.HeatCapacity(&vapor.T));  // computed at the first call
    vapor.h = -1.0;
    vapor.Refresh();
    EXPECT_EQ(vapor.h, -1.0);  // unchanged inputs: nothing recomputed
    p = 1.0;
    vapor.Refresh();
    EXPECT_DOUBLE_EQ(vapor.h, vapor.Enthalpy(&vapor.T));  // a change of p alone recomputes
}

}  // namespace
