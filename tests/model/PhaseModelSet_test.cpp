#include <gtest/gtest.h>
#include <quarvessin/model/PhaseModelSet.h>

using namespace quarvessin;

namespace {

class PhaseModelSetTest : public ::testing::Test {
  protected:
    double t = 300.0;  // owner's temperature [C]
    double p = 150.0;  // owner's pressure [bar]
    double x = 0.1;    // owner's composition [mole fraction NaCl]
};

// The bundle primes its state from the owner's (documented priming t - 1,
// p - 1, x * 0.99) before its members prime from it; every member is bound to
// the bundle's own t and p, and nothing is evaluated.
TEST_F(PhaseModelSetTest, ConstructionPrimesAndBindsWithoutEvaluating) {
    PhaseModelSet set(&t, &p, &x);
    EXPECT_EQ(set.tPtr, &t);
    EXPECT_EQ(set.pPtr, &p);
    EXPECT_EQ(set.xPtr, &x);
    EXPECT_EQ(set.t, 299.0);
    EXPECT_EQ(set.p, 149.0);
    EXPECT_EQ(set.x, 0.1 * 0.99);

    EXPECT_EQ(set.liquidus.tPtr, &set.t);
    EXPECT_EQ(set.liquidus.pPtr, &set.p);
    EXPECT_EQ(set.vaporBranch.tPtr, &set.t);
    EXPECT_EQ(set.liquidBranch.pPtr, &set.p);
    EXPECT_EQ(set.haliteVapor.tPtr, &set.t);
    EXPECT_EQ(set.vlhCurve.tPtr, &set.t);
    EXPECT_EQ(set.water.pPtr, &set.p);
    EXPECT_EQ(set.critical.tPtr, &set.t);

    // Members prime from 299 C and 149 bar (owner - 2 in all).
    EXPECT_EQ(set.vlhCurve.t, 298.0);
    EXPECT_EQ(set.critical.t, 298.0);
    EXPECT_EQ(set.water.p, 148.0);

    EXPECT_TRUE(set.liquidus.stale);
    EXPECT_TRUE(set.vlhCurve.stale);
    EXPECT_TRUE(set.critical.stale);
    EXPECT_EQ(t, 300.0);
    EXPECT_EQ(p, 150.0);
}

}  // namespace
