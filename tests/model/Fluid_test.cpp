#include <gtest/gtest.h>
#include <quarvessin/model/Fluid.h>

#include <cstddef>
#include <cstring>
#include <new>

using namespace quarvessin;

namespace {

class FluidTest : public ::testing::Test {
  protected:
    double t = 400.0;  // owner's temperature [C]
    double p = 300.0;  // owner's pressure [bar]
    double x = 0.05;   // owner's composition [mole fraction NaCl]
};

// Every field of one property record reads zero: all its bytes up to the end
// of the last field.
void ExpectAllZero(const PhaseProperties& r, const char* column) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    const std::size_t used = offsetof(PhaseProperties, state) + sizeof r.state;
    std::size_t nonZero = 0;
    for (std::size_t i = 0; i < used; ++i) nonZero += bytes[i] != 0 ? 1 : 0;
    EXPECT_EQ(nonZero, 0u) << column;
}

// The fluid is built over memory full of set bits, so the property table reads
// zero only if the constructor zeroes it; the own state is primed one unit below
// the owner's values, as documented for the fluid.
TEST_F(FluidTest, ConstructionZeroesTheTableAndPrimesTheState) {
    alignas(Fluid) unsigned char storage[sizeof(Fluid)];
    std::memset(storage, 0xFF, sizeof storage);
    auto* fluid = new (storage) Fluid(&t, &p, &x);

    ExpectAllZero(fluid->bulk, "bulk");
    ExpectAllZero(fluid->liq, "liq");
    ExpectAllZero(fluid->vap, "vap");
    ExpectAllZero(fluid->salt, "salt");

    EXPECT_EQ(fluid->tPtr, &t);
    EXPECT_EQ(fluid->pPtr, &p);
    EXPECT_EQ(fluid->xPtr, &x);
    EXPECT_EQ(fluid->t, 399.0);
    EXPECT_EQ(fluid->p, 299.0);
    EXPECT_EQ(fluid->x, 0.05 - 1.0);

    fluid->~Fluid();
}

// Every member is bound to the fluid's own fields and primes itself from them,
// so the fluid's state must exist before the members are built; construction
// evaluates nothing.
TEST_F(FluidTest, MembersAreBoundToTheFluidsOwnStateAndNotEvaluated) {
    Fluid fluid(&t, &p, &x);

    EXPECT_EQ(fluid.critical.tPtr, &fluid.t);
    EXPECT_EQ(fluid.melting.tPtr, &fluid.t);
    EXPECT_EQ(fluid.melting.pPtr, &fluid.p);
    EXPECT_EQ(fluid.boiling.pPtr, &fluid.p);
    EXPECT_EQ(fluid.sublimation.tPtr, &fluid.t);
    EXPECT_EQ(fluid.halite.pPtr, &fluid.p);
    EXPECT_EQ(fluid.liquidNaCl.tPtr, &fluid.t);
    EXPECT_EQ(fluid.naclVapor.pPtr, &fluid.p);
    EXPECT_EQ(fluid.liquidus.tPtr, &fluid.t);
    EXPECT_EQ(fluid.hlv.tPtr, &fluid.t);
    EXPECT_EQ(fluid.haliteVapor.pPtr, &fluid.p);
    EXPECT_EQ(fluid.vlLiquid.tPtr, &fluid.t);
    EXPECT_EQ(fluid.vlVapor.pPtr, &fluid.p);
    EXPECT_EQ(fluid.tpx.tPtr, &fluid.t);
    EXPECT_EQ(fluid.tpx.xPtr, &fluid.x);
    EXPECT_EQ(fluid.water.tPtr, &fluid.t);
    EXPECT_EQ(fluid.water.pPtr, &fluid.p);

    // Members prime from the fluid's values (399 C, 299 bar): 398 and 298.
    EXPECT_EQ(fluid.critical.t, 398.0);
    EXPECT_EQ(fluid.hlv.t, 398.0);
    EXPECT_EQ(fluid.water.p, 298.0);
    EXPECT_EQ(fluid.tpx.x, 0.05 - 2.0);

    // Nothing evaluated: the bound members are still stale.
    EXPECT_TRUE(fluid.critical.stale);
    EXPECT_TRUE(fluid.melting.stale);
    EXPECT_TRUE(fluid.liquidus.stale);
    EXPECT_TRUE(fluid.hlv.stale);
    EXPECT_TRUE(fluid.tpx.hlv.stale);

    // The two water members own their records from construction on.
    EXPECT_NE(fluid.water.recBase, nullptr);
    EXPECT_NE(fluid.tpx.water.recBase, nullptr);
    EXPECT_NE(fluid.water.recBase, fluid.tpx.water.recBase);

    // The owner's variables are untouched.
    EXPECT_EQ(t, 400.0);
    EXPECT_EQ(p, 300.0);
    EXPECT_EQ(x, 0.05);
}

// Building and destroying fluids repeatedly creates and releases the water
// records each time (a leak or a double release shows under the sanitizer
// build; here the repeated cycle must simply run clean).
TEST_F(FluidTest, RepeatedConstructionAndDestructionRunsClean) {
    for (int i = 0; i < 20; ++i) {
        Fluid fluid(&t, &p, &x);
        EXPECT_NE(fluid.water.satLiqP, nullptr);
    }
}

}  // namespace
