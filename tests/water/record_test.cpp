// Water-property records: which derivative records exist for each pair of
// letters and grade, release, and the refusal of a grade outside 0..2.
#include "water/record.h"

#include <gtest/gtest.h>
#include <quarvessin/water.h>

#include <string>

using namespace quarvessin;

namespace {

// Letters of the allocated derivative slots, in field order, and the number
// of children below them.
struct Layout {
    std::string slots;
    int children = 0;
    std::string childSlots;  // "<slot letter><child index>" per child
};

Layout layoutOf(const WaterProps* rec) {
    const PropDerivs* const slots[11] = {rec->dx, rec->dT, rec->dd, rec->dp,  rec->df, rec->dg,
                                         rec->ds, rec->du, rec->dh, rec->dcv, rec->dcp};
    const char names[11] = {'x', 'T', 'd', 'p', 'f', 'g', 's', 'u', 'h', 'v', 'c'};
    Layout l;
    for (int i = 0; i < 11; ++i) {
        if (slots[i] == nullptr) continue;
        l.slots += names[i];
        for (int k = 0; k < 6; ++k) {
            if (slots[i]->second[k] == nullptr) continue;
            ++l.children;
            l.childSlots += names[i];
            l.childSlots += static_cast<char>('0' + k);
        }
    }
    return l;
}

// Expected layouts follow the allocation rules of newProp: dx, dp from grade
// 1; dcv and the (T, rho) children of dp and dx at grade 2; dT, dd and ds or
// dh, du for 'p','h' or 'p','s' ('v' = dcv, 'c' = dcp).
TEST(WaterRecord, LayoutFollowsLettersAndGrade) {
    struct Case {
        char v1, v2;
        int grade;
        const char* slots;
        const char* childSlots;
    };
    const Case cases[] = {
        {'T', 'p', 0, "", ""},
        {'T', 'p', 1, "xp", ""},
        {'T', 'p', 2, "xpv", "x0x1p0p1"},
        {'p', 'h', 1, "xTdpsu", ""},
        {'p', 'h', 2, "xTdpsuvc", "x0x1x2x3T2T3d2d3p0p1s2s3u2u3"},
        {'p', 's', 1, "xTdpuh", ""},
        {'p', 's', 2, "xTdpuhvc", "x0x1p0p1"},
        {'P', 'h', 1, "xp", ""},  // letters compare case-sensitively
        {'p', 'x', 2, "xpv", "x0x1p0p1"},
    };
    for (const Case& c : cases) {
        WaterProps* rec = newProp(c.v1, c.v2, c.grade);
        ASSERT_NE(rec, nullptr);
        const Layout l = layoutOf(rec);
        EXPECT_EQ(l.slots, c.slots) << c.v1 << c.v2 << c.grade;
        EXPECT_EQ(l.childSlots, c.childSlots) << c.v1 << c.v2 << c.grade;
        EXPECT_EQ(rec->var1, c.v1);
        EXPECT_EQ(rec->var2, c.v2);
        EXPECT_EQ(rec->deriv, c.grade);
        // A record read before any evaluation reports failure.
        EXPECT_EQ(rec->status, 1);
        EXPECT_EQ(rec->T, 0.0);
        EXPECT_EQ(rec->cp, 0.0);
        EXPECT_EQ(freeProp(rec), nullptr);
    }
    // Child counts of those rules: fourteen for 'p','h' grade 2 (two each of
    // dp and dx in T and rho, two each of dx, dT, dd, ds, du in p and h), four
    // for 'p','s' grade 2.
    WaterProps* ph = newProp('p', 'h', 2);
    WaterProps* ps = newProp('p', 's', 2);
    EXPECT_EQ(layoutOf(ph).children, 14);
    EXPECT_EQ(layoutOf(ps).children, 4);
    freeProp(ph);
    freeProp(ps);
}

TEST(WaterRecord, ReleaseAcceptsNull) {
    EXPECT_EQ(freeProp(nullptr), nullptr);
    EXPECT_EQ(water_internal::freeDerivs(nullptr), nullptr);
    PropDerivs* d = water_internal::newDerivs();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->perT, 0.0);
    EXPECT_EQ(d->perS, 0.0);
    for (PropDerivs* child : d->second) EXPECT_EQ(child, nullptr);
    d->second[4] = water_internal::newDerivs();  // released depth-first with its parent
    EXPECT_EQ(water_internal::freeDerivs(d), nullptr);
}

TEST(WaterRecordDeathTest, GradeOutsideZeroToTwoEndsTheProcess) {
    EXPECT_EXIT(newProp('T', 'p', 3), ::testing::ExitedWithCode(1),
                "newProp\\(\\): deriv out of range");
    EXPECT_EXIT(newProp('T', 'p', -1), ::testing::ExitedWithCode(1),
                "newProp\\(\\): deriv out of range");
}

}  // namespace
