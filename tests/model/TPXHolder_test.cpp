#include <gtest/gtest.h>
#include <quarvessin/model/TPXHolder.h>

using namespace quarvessin;

namespace {

class TPXHolderTest : public ::testing::Test {
  protected:
    double t = 250.0;  // owner's temperature [C]
    double p = 80.0;   // owner's pressure [bar]
    double x = 0.02;   // owner's composition [mole fraction NaCl]
};

// Construction primes the own state one unit below the owner's values and
// builds the members on that state, which must already be set when they read it.
TEST_F(TPXHolderTest, ConstructionPrimesOwnStateBeforeTheMembers) {
    TPXHolder holder(&t, &p, &x);
    EXPECT_EQ(holder.tPtr, &t);
    EXPECT_EQ(holder.pPtr, &p);
    EXPECT_EQ(holder.xPtr, &x);
    // Documented priming, owner - 1.0: 249, 79 and -0.98 by hand.
    EXPECT_EQ(holder.t, 249.0);
    EXPECT_EQ(holder.p, 79.0);
    EXPECT_EQ(holder.x, 0.02 - 1.0);

    // Members are bound to the holder's fields, not to the owner's.
    EXPECT_EQ(holder.water.tPtr, &holder.t);
    EXPECT_EQ(holder.water.pPtr, &holder.p);
    EXPECT_EQ(holder.hlv.tPtr, &holder.t);
    // Each member primes from the holder's value, so it sees 248 and 78: a
    // member built before the holder's fields were set would see garbage.
    EXPECT_EQ(holder.water.t, 248.0);
    EXPECT_EQ(holder.water.p, 78.0);
    EXPECT_EQ(holder.hlv.t, 248.0);
}

// The holder has no operation: nothing is evaluated by construction, and the
// water member owns its records from construction on.
TEST_F(TPXHolderTest, ConstructionEvaluatesNothing) {
    TPXHolder holder(&t, &p, &x);
    EXPECT_TRUE(holder.hlv.stale);
    EXPECT_NE(holder.water.recBase, nullptr);
    EXPECT_NE(holder.water.satVapTminus, nullptr);
    // The owner's variables are untouched.
    EXPECT_EQ(t, 250.0);
    EXPECT_EQ(p, 80.0);
    EXPECT_EQ(x, 0.02);
}

}  // namespace
