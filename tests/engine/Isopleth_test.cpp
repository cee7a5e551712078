// The fixed-composition solvers against the model classes they invert: every
// root re-evaluated on fresh model objects, and the places where the curves
// of one composition must meet.
#include <gtest/gtest.h>
#include <quarvessin/composition.h>
#include <quarvessin/isopleth.h>
#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <cmath>
#include <thread>
#include <vector>

using namespace quarvessin;

namespace {

// Each surface's composition at (t, p), from model objects built for the
// one evaluation [wt%].
double liquidAt(double t, double p) {
    VLLiquidBranch b(&t, &p);
    b.Refresh();
    return wtPercent(b.X);
}
double vaporAt(double t, double p) {
    VLVaporBranch b(&t, &p);
    b.Refresh();
    return wtPercent(b.X);
}
double haliteVaporAt(double t, double p) {
    HaliteSaturatedVapor v(&t, &p);
    v.Refresh();
    return wtPercent(v.xVH);
}
double liquidusAt(double t, double p) {
    HaliteLiquidus l(&t, &p);
    l.Refresh();
    return wtPercent(l.xL);
}
double threePhaseAt(double t) {
    HaliteLiquidVaporCurve c(&t);
    c.Refresh();
    return c.P;
}

constexpr double relative = 1e-9;

void ExpectRelative(double actual, double expected, double tolerance = relative) {
    EXPECT_NEAR(actual, expected, tolerance * std::fabs(expected));
}

const std::vector<double> compositions = {0.01, 0.5, 3.0, 10.0, 20.0, 26.0, 30.0, 45.0, 70.0, 95.0};

TEST(IsoplethSolvers, EveryRootLiesOnItsSurfaceAtTheComposition) {
    int bubbles = 0, dews = 0, vaporHalites = 0, liquidi = 0;
    for (double w : compositions) {
        SCOPED_TRACE(w);
        for (double t = 5.0; t <= 1000.0; t += 12.5) {
            SCOPED_TRACE(t);
            const VaporLiquidRange range = vaporLiquidRange(t);
            const double pb = bubblePressure(t, w);
            if (std::isfinite(pb)) {
                ++bubbles;
                EXPECT_GE(pb, range.bottomBar);
                EXPECT_LE(pb, range.topBar);
                ExpectRelative(liquidAt(t, pb), w);
            }
            const std::vector<double> dew = dewPressures(t, w);
            for (std::size_t i = 0; i < dew.size(); ++i) {
                ++dews;
                if (i > 0) {
                    EXPECT_LT(dew[i - 1], dew[i]);
                }
                ExpectRelative(vaporAt(t, dew[i]), w);
            }
            if (!dew.empty()) {
                EXPECT_EQ(dewPressure(t, w), dew.back());
            }
            for (double p : vaporHalitePressures(t, w)) {
                ++vaporHalites;
                EXPECT_LE(p, threePhaseAt(t));
                ExpectRelative(haliteVaporAt(t, p), w);
            }
        }
        for (double p = 1.0; p <= 5000.0; p += 250.0) {
            const double t = liquidusTemperature(p, w);
            if (!std::isfinite(t)) continue;
            ++liquidi;
            ExpectRelative(liquidusAt(t, p), w);
            // Above it the liquidus is saltier: a liquid of w dissolves its halite.
            EXPECT_GT(liquidusAt(t + 1.0, p), w);
        }
    }
    // The roots exist where the physics puts them, not only rarely.
    EXPECT_GT(bubbles, 300);
    EXPECT_GT(dews, 150);
    EXPECT_GT(vaporHalites, 300);
    EXPECT_GT(liquidi, 60);
}

TEST(IsoplethSolvers, NoRootWhereTheCompositionIsOutOfTheSurfacesReach) {
    // Below 373.976 C the liquid branch ends at the halite-saturated liquid;
    // 45 wt% is saltier than it at 100 C (28 wt%).
    EXPECT_TRUE(std::isnan(bubblePressure(100.0, 45.0)));
    // Pure substances and nonsense are no mixture.
    for (double w : {0.0, 100.0, -1.0, 120.0, double(NAN)}) {
        EXPECT_TRUE(std::isnan(bubblePressure(500.0, w)));
        EXPECT_TRUE(dewPressures(500.0, w).empty());
        EXPECT_FALSE(criticalPointOf(w).found);
        EXPECT_TRUE(std::isnan(liquidusTemperature(1000.0, w)));
    }
    // The critical composition at 1000 C is about 33.5 wt%.
    EXPECT_FALSE(criticalPointOf(34.0).found);
    EXPECT_TRUE(criticalPointOf(33.0).found);
    // A liquid of 10 wt% is never halite-saturated above 0 C.
    EXPECT_TRUE(std::isnan(liquidusTemperature(100.0, 10.0)));
}

TEST(IsoplethSolvers, BubbleAndDewCurvesMeetAtTheCriticalPointOfTheComposition) {
    for (double w : {0.5, 1.0, 5.0, 10.0, 20.0, 30.0}) {
        SCOPED_TRACE(w);
        const CompositionCriticalPoint c = criticalPointOf(w);
        ASSERT_TRUE(c.found);
        double t = c.tC;
        CriticalCurve curve(&t);
        curve.Refresh();
        ExpectRelative(wtPercent(curve.Xcrit), w);
        EXPECT_EQ(curve.Pcrit, c.pBar);
        // At the critical point itself the liquid branch ends in it.
        ExpectRelative(bubblePressure(c.tC, w), c.pBar);
        // Approaching it from either side, both curves run into it.
        for (double d : {1e-2, 1e-4, 1e-6}) {
            const double below = bubblePressure(c.tC - d, w);
            const double above = dewPressure(c.tC + d, w);
            EXPECT_NEAR(below, c.pBar, 50.0 * d) << d;
            EXPECT_NEAR(above, c.pBar, 50.0 * d) << d;
        }
        // No bubble point of w beyond its critical temperature, the dew
        // point there is the highest root.
        EXPECT_TRUE(std::isnan(bubblePressure(c.tC + 1.0, w)));
    }
    // Towards pure water the critical point of the solution is water's.
    const CompositionCriticalPoint water = criticalPointOf(1e-9);
    ASSERT_TRUE(water.found);
    EXPECT_NEAR(water.tC, WaterCriticalPoint::Tc, 1e-6);
    EXPECT_NEAR(water.pBar, WaterCriticalPoint::Pc, 1e-5);
}

TEST(IsoplethSolvers, LiquidusAndBubbleCurvesMeetOnTheThreePhaseCurve) {
    for (double w : {26.5, 30.0, 40.0, 60.0, 80.0, 99.0}) {
        SCOPED_TRACE(w);
        const double t3 = threePhaseLiquidTemperature(w);
        ASSERT_TRUE(std::isfinite(t3));
        const double p3 = threePhasePressure(t3);
        EXPECT_EQ(p3, threePhaseAt(t3));
        ExpectRelative(liquidusAt(t3, p3), w);
        ExpectRelative(threePhaseLiquidComposition(t3), w);
        // The halite liquidus of w at the three-phase pressure is that
        // temperature, and the bubble curve of w starts there.
        ExpectRelative(liquidusTemperature(p3, w), t3);
        ExpectRelative(bubblePressure(t3, w), p3);
        // Just above it the liquid of w is undersaturated on the bubble curve.
        const double pb = bubblePressure(t3 + 0.5, w);
        ASSERT_TRUE(std::isfinite(pb));
        EXPECT_LT(w, liquidusAt(t3 + 0.5, pb));
    }
    // The liquid of the three-phase curve at 0 C is the lowest there is.
    EXPECT_TRUE(std::isnan(threePhaseLiquidTemperature(26.0)));
    EXPECT_NEAR(threePhaseLiquidComposition(0.0), liquidusAt(0.0, threePhaseAt(0.0)), 1e-12);
}

TEST(IsoplethSolvers, ReentrantOnSeveralThreads) {
    std::vector<double> expected;
    for (double t = 380.0; t < 1000.0; t += 20.0) expected.push_back(dewPressure(t, 10.0));
    std::vector<std::vector<double>> got(4);
    std::vector<std::thread> threads;
    for (auto& g : got) {
        threads.emplace_back([&g] {
            for (double t = 380.0; t < 1000.0; t += 20.0) g.push_back(dewPressure(t, 10.0));
        });
    }
    for (auto& th : threads) th.join();
    for (const auto& g : got) {
        ASSERT_EQ(g.size(), expected.size());
        for (std::size_t i = 0; i < g.size(); ++i) {
            if (std::isnan(expected[i])) {
                EXPECT_TRUE(std::isnan(g[i]));
            } else {
                EXPECT_EQ(g[i], expected[i]);
            }
        }
    }
}

}  // namespace
