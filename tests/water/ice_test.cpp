// Melting and sublimation pressures of ice at their triple points.
#include "water/ice.h"

#include <gtest/gtest.h>

using namespace quarvessin;

namespace {

using namespace water_internal;

TEST(WaterIce, IhCurvesMeetAtTheTriplePoint) {
    // Both equations are reduced by the triple point of ice Ih, 273.16 K and
    // 611.657 Pa.
    EXPECT_DOUBLE_EQ(meltingPressureIh(273.16), 0.000611657);
    EXPECT_DOUBLE_EQ(sublimationPressure(273.16), 0.000611657);
    // Physical shape: the melting pressure of ice Ih rises steeply on
    // cooling (about 13.5 MPa per K), the sublimation pressure falls.
    EXPECT_NEAR(meltingPressureIh(272.16), 13.5, 1.0);
    EXPECT_LT(sublimationPressure(260.0), sublimationPressure(273.16));
}

TEST(WaterIce, HighPressureBranchesMeetAtTheIceTriplePoints) {
    // The published triple-point pressures (ice III-V-liquid 350.1 MPa at
    // 256.164 K, V-VI-liquid 632.4 MPa at 273.31 K, VI-VII-liquid 2216 MPa at
    // 355 K), approached from both sides within the precision of the
    // constants.
    const double eps = 1e-9;
    EXPECT_NEAR(meltingPressureHigh(256.164 - eps), 350.1, 0.5);
    EXPECT_NEAR(meltingPressureHigh(256.164), 350.1, 1e-9);
    EXPECT_NEAR(meltingPressureHigh(273.31 - eps), 632.4, 0.5);
    EXPECT_NEAR(meltingPressureHigh(273.31), 632.4, 1e-9);
    EXPECT_NEAR(meltingPressureHigh(355.0 - eps), 2216.0, 1.0);
    EXPECT_NEAR(meltingPressureHigh(355.0), 2216.0, 1e-9);
    // Ice Ih - III - liquid triple point, 209.9 MPa at 251.165 K.
    EXPECT_NEAR(meltingPressureHigh(251.165), 209.9, 1e-9);
}

}  // namespace
