// horner(): the order of operations the model's results depend on to the bit.
#include "model/Polynomial.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

using namespace quarvessin;

namespace {

std::uint64_t bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// Exact in integers, and usable at compile time.
static_assert(horner({7.0}, 3.0) == 7.0, "a constant");
static_assert(horner({1.0, 2.0, 3.0}, 2.0) == 17.0, "1 + 2 x + 3 x^2 at x = 2");
static_assert(horner({-1.0, 0.0, 0.0, 1.0}, -2.0) == -9.0, "x^3 - 1 at x = -2");

TEST(PolynomialTest, SameBitsAsTheUnrolledChain) {
    // The chain the three-phase pressure was written as by hand: a = c[n] x,
    // a = (a + c[k]) x down to k = 1, then a + c[0]. Coefficients of mixed sign
    // and magnitude make every rounding visible.
    constexpr double c[] = {0.00464,  5e-07,     16.9078,  -269.148,  7632.04,      -49563.6,
                            233119.0, -513556.0, 549708.0, -284628.0, 57540.7960595};
    for (double x = -1.5; x <= 1.5; x += 0.0137) {
        double a = c[10] * x;
        for (int k = 9; k >= 1; --k) a = (a + c[k]) * x;
        a = a + c[0];
        ASSERT_EQ(bits(horner(c, x)), bits(a)) << x;
    }
}

TEST(PolynomialTest, NotTheSameAsTheSumOfPowers) {
    // A sum of powers rounds differently: horner() must not be used for one.
    // Independent check that the test above can tell the two apart.
    constexpr double c[] = {0.1, 0.2, 0.3, 0.7};
    int differ = 0;
    for (double x = 0.01; x < 3.0; x += 0.01) {
        const double sum = c[0] + c[1] * x + c[2] * (x * x) + c[3] * (x * x * x);
        differ += bits(sum) != bits(horner(c, x));
    }
    EXPECT_GT(differ, 0);
}

TEST(PolynomialTest, NotANumberPropagates) {
    constexpr double c[] = {1.0, 2.0};
    EXPECT_TRUE(std::isnan(horner(c, std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(horner(c, std::numeric_limits<double>::infinity()),
              std::numeric_limits<double>::infinity());
}

}  // namespace
