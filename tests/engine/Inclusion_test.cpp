// Fluid inclusions: the salinity from the melting of ice (the 1993 fit), the
// salinity from the dissolution of halite, and the homogenisation pressure,
// against published check values and the model's own surfaces.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/IceMeltingSalinity.h"

using namespace quarvessin;

// The check values printed with the 1993 fit, to the two decimals it prints:
// -5 C, -10 C and the eutectic -21.2 C; and no depression, no salt.
TEST(IceMelting, PublishedCheckValues) {
    EXPECT_NEAR(iceMeltingSalinity(-5.0), 7.86, 0.005);
    EXPECT_NEAR(iceMeltingSalinity(-10.0), 13.94, 0.005);
    EXPECT_NEAR(iceMeltingSalinity(iceNaClEutecticTemperature), 23.18, 0.005);
    EXPECT_EQ(iceMeltingSalinity(iceMeltingPureWater), 0.0);
}
