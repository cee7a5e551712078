// The caching contract of <quarvessin/model/Caching.h>, checked the same way
// on every bound class: stale until the first Refresh, that first Refresh
// computes even where the primed inputs equal the owner's values, and a
// repeated Refresh keeps every cached bit.
#include <gtest/gtest.h>
#include <quarvessin/model/Caching.h>
#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/Halite.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteMelting.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/LiquidNaCl.h>
#include <quarvessin/model/NaClBoilingCurve.h>
#include <quarvessin/model/NaClSublimationCurve.h>
#include <quarvessin/model/NaClVapor.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

using namespace quarvessin;

namespace {

// Per class: how it is built from the owner's (t, p) and one cached result.
template <class M>
struct Bound {
    static std::unique_ptr<M> make(double* t, double* p) { return std::make_unique<M>(t, p); }
};
template <>
struct Bound<CriticalCurve> {
    static std::unique_ptr<CriticalCurve> make(double* t, double*) {
        return std::make_unique<CriticalCurve>(t);
    }
};
template <>
struct Bound<HaliteLiquidVaporCurve> {
    static std::unique_ptr<HaliteLiquidVaporCurve> make(double* t, double*) {
        return std::make_unique<HaliteLiquidVaporCurve>(t);
    }
};

double result(const CriticalCurve& m) { return m.Pcrit; }
double result(const HaliteLiquidVaporCurve& m) { return m.P; }
double result(const HaliteLiquidus& m) { return m.xL; }
double result(const HaliteSaturatedVapor& m) { return m.xVH; }
double result(const HaliteMelting& m) { return m.Thm; }
double result(const NaClBoilingCurve& m) { return m.Pboil; }
double result(const NaClSublimationCurve& m) { return m.Psub; }
double result(const Halite& m) { return m.rho; }
double result(const LiquidNaCl& m) { return m.rho; }
double result(const NaClVapor& m) { return m.rho; }
double result(const VLLiquidBranch& m) { return m.X; }
double result(const VLVaporBranch& m) { return m.X; }

// The bits of a double, so that two not-a-number results compare equal.
std::uint64_t bits(double v) {
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

template <class M>
class CachingTest : public ::testing::Test {};

using BoundClasses =
    ::testing::Types<CriticalCurve, HaliteLiquidVaporCurve, HaliteLiquidus, HaliteSaturatedVapor,
                     HaliteMelting, NaClBoilingCurve, NaClSublimationCurve, Halite, LiquidNaCl,
                     NaClVapor, VLLiquidBranch, VLVaporBranch>;
TYPED_TEST_SUITE(CachingTest, BoundClasses);

TYPED_TEST(CachingTest, StaleUntilTheFirstRefresh) {
    double t = 400.0, p = 300.0;  // C, bar
    auto m = Bound<TypeParam>::make(&t, &p);
    EXPECT_TRUE(m->stale);
    m->Refresh();
    EXPECT_FALSE(m->stale);
    // A change of the inputs recomputes but never makes the object stale again.
    t = 401.0;
    m->Refresh();
    EXPECT_FALSE(m->stale);
}

TYPED_TEST(CachingTest, FirstRefreshComputesWhereThePrimedInputsEqualTheOwners) {
    // 1e17 - 1 == 1e17 in double: the inputs a class primes from its owner's
    // values equal them, so only the stale flag makes the first Refresh compute.
    // The reference reaches the same state from an ordinary one.
    double t = 1e17, p = 1e17;
    auto first = Bound<TypeParam>::make(&t, &p);
    first->Refresh();
    double tr = 400.0, pr = 300.0;
    auto reference = Bound<TypeParam>::make(&tr, &pr);
    reference->Refresh();
    tr = 1e17;
    pr = 1e17;
    reference->Refresh();
    EXPECT_EQ(bits(result(*first)), bits(result(*reference)));
}

TYPED_TEST(CachingTest, RepeatedRefreshKeepsEveryBit) {
    double t = 350.0, p = 150.0;
    auto m = Bound<TypeParam>::make(&t, &p);
    m->Refresh();
    const std::uint64_t once = bits(result(*m));
    m->Refresh();
    m->Refresh();
    EXPECT_EQ(bits(result(*m)), once);
    // The same state reached again after a detour gives the same bits.
    t = 600.0;
    p = 900.0;
    m->Refresh();
    t = 350.0;
    p = 150.0;
    m->Refresh();
    EXPECT_EQ(bits(result(*m)), once);
}

TEST(BeginRefresh, HoldsOnlyForAFreshObjectWithTheSameBits) {
    bool stale = true;
    double owner = 300.0;
    // Stale: computes, and is stale no more, even with the inputs equal.
    EXPECT_TRUE(caching::BeginRefresh(stale, 300.0, &owner));
    EXPECT_FALSE(stale);
    EXPECT_FALSE(caching::BeginRefresh(stale, 300.0, &owner));
    // One bit off, in either input, recomputes; so does a not-a-number.
    EXPECT_TRUE(caching::BeginRefresh(stale, std::nextafter(300.0, 0.0), &owner));
    double pOwner = 100.0;
    EXPECT_FALSE(caching::BeginRefresh(stale, 300.0, &owner, 100.0, &pOwner));
    EXPECT_TRUE(caching::BeginRefresh(stale, 300.0, &owner, std::nextafter(100.0, 0.0), &pOwner));
    owner = std::nan("");
    EXPECT_TRUE(caching::BeginRefresh(stale, owner, &owner));
    EXPECT_FALSE(stale);
}

}  // namespace
