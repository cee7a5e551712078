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

#include <algorithm>
#include <cmath>
#include <iomanip>
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

// The isoplethal section through the tracer, every point re-evaluated.
#include "SectionCollector.h"
#include "engine/IsoplethSection.h"

namespace {

SectionCollector isopleth(double w) {
    SectionCollector c;
    SectionTracer tr(c);
    EXPECT_TRUE(traceIsoplethSection(w, tr));
    return c;
}

bool samePoint(const Point& a, double t, double p) {
    return std::fabs(a.wtPercent - t) <= 1e-9 * std::fabs(t) &&
           std::fabs(a.value - p) <= 1e-9 * std::fabs(p);
}

// Every point of the isopleth of w on its surface at w, in range, every
// piece a line; returns the number of points.
std::size_t ExpectIsoplethOnItsSurfaces(double w) {
    SCOPED_TRACE(w);
    const SectionCollector c = isopleth(w);
    const CompositionCriticalPoint crit = criticalPointOf(w);
    std::size_t points = 0;
    for (const CollectedBoundary& b : c.boundaries) {
        SCOPED_TRACE(b.fileName);
        EXPECT_EQ(b.fileName, boundaryFileName(b.phases + "_", w, "wt.dat"));
        EXPECT_EQ(b.pieces.size(), b.branches.size());
        for (std::size_t k = 0; k < b.pieces.size() && k < b.branches.size(); ++k) {
            EXPECT_GE(b.pieces[k].size(), 2u);
            EXPECT_EQ(b.branches[k] != Branch::None, b.phases == "liquid+vapor");
            for (const Point& q : b.pieces[k]) {
                ++points;
                const double t = q.wtPercent, p = q.value;
                SCOPED_TRACE(testing::Message() << std::setprecision(17) << t << " " << p);
                EXPECT_GE(t, 0.0);
                EXPECT_LE(t, 1000.0);
                EXPECT_GT(p, 0.0);
                EXPECT_LE(p, 5000.0);
                if (b.phases == "liquid+vapor") {
                    if (crit.found && samePoint(q, crit.tC, crit.pBar)) continue;
                    ExpectRelative(b.branches[k] == Branch::Liquid ? liquidAt(t, p) : vaporAt(t, p),
                                   w);
                } else if (b.phases == "liquid+halite") {
                    ExpectRelative(liquidusAt(t, p), w);
                } else if (b.phases == "vapor+liquid+halite") {
                    EXPECT_EQ(p, threePhaseAt(t));
                    // A fluid of w lies within the tie line: its vapour is poorer.
                    EXPECT_LE(haliteVaporAt(t, p), w * (1.0 + 1e-6));
                } else {
                    EXPECT_EQ(b.phases, "vapor+halite");
                    ExpectRelative(haliteVaporAt(t, p), w);
                }
            }
        }
    }
    return points;
}

TEST(IsoplethSection, EveryPointLiesOnItsSurfaceAtTheComposition) {
    for (double w : {1.0, 10.0, 26.5, 30.0, 50.0, 90.0})
        EXPECT_GT(ExpectIsoplethOnItsSurfaces(w), 100u);
}

TEST(IsoplethSection, AcrossTheCompositionsFromTracesToNearlyPureNaCl) {
    // Through the odd places of the model: a dew curve that stops short of
    // its critical point (below 0.08 wt%), three-phase vapour richer than
    // the fluid around 600 C (below 0.09 wt%), the liquid of the three-phase
    // curve at 0 C (26.28 wt%), the critical composition at 1000 C (33.5 wt%).
    for (double w : {1e-3, 0.02, 0.07, 0.09, 0.12, 26.27, 26.29, 33.4, 33.6, 99.99}) {
        EXPECT_GT(ExpectIsoplethOnItsSurfaces(w), 50u);
    }
}

TEST(IsoplethSection, NoDewPointWhereTheTracerDoesNotLook) {
    // The tracer looks for dew points of a fluid of 0.1 wt% or more only
    // above 373.976 C, and up to 780 C only above its critical temperature:
    // there the vapour is never saltier than 0.1 wt% or the critical
    // composition at its temperature.
    for (double t = 1.0; t <= 780.0; t += 4.0) {
        SCOPED_TRACE(t);
        const VaporLiquidRange range = vaporLiquidRange(t);
        double tt = t;
        CriticalCurve curve(&tt);
        curve.Refresh();
        const double bound =
            std::max(0.1, t < WaterCriticalPoint::Tc ? 0.0 : wtPercent(curve.Xcrit));
        double p = range.bottomBar;
        VLVaporBranch vapor(&tt, &p);  // one object along the isotherm
        for (int i = 0; i <= 300; ++i) {
            p = std::min(range.topBar,
                         range.bottomBar * std::pow(range.topBar / range.bottomBar, i / 300.0));
            vapor.Refresh();
            EXPECT_LE(wtPercent(vapor.X), bound * (1.0 + 1e-9)) << p;
        }
    }
}

TEST(IsoplethSection, BubbleAndDewCurvesJoinAtTheCriticalPoint) {
    for (double w : {1.0, 10.0, 20.0, 30.0}) {
        SCOPED_TRACE(w);
        const SectionCollector c = isopleth(w);
        const CollectedBoundary* vl = c.find("liquid+vapor");
        ASSERT_NE(vl, nullptr);
        const CompositionCriticalPoint crit = criticalPointOf(w);
        ASSERT_TRUE(crit.found);
        ASSERT_GE(vl->pieces.size(), 2u);
        // The bubble curve first, ending in the critical point; the dew
        // curve from it.
        EXPECT_EQ(vl->branches[0], Branch::Liquid);
        EXPECT_TRUE(samePoint(vl->pieces[0].back(), crit.tC, crit.pBar));
        EXPECT_EQ(vl->branches[1], Branch::Vapor);
        EXPECT_TRUE(samePoint(vl->pieces[1].front(), crit.tC, crit.pBar));
        for (std::size_t k = 1; k < vl->pieces.size(); ++k) {
            EXPECT_EQ(vl->branches[k], Branch::Vapor);
        }
        // The bubble curve rises in temperature all the way.
        for (std::size_t i = 1; i < vl->pieces[0].size(); ++i) {
            EXPECT_GT(vl->pieces[0][i].wtPercent, vl->pieces[0][i - 1].wtPercent);
        }
    }
    // 50 wt% has no critical point below 1000 C: the bubble curve runs to 1000 C.
    const SectionCollector c = isopleth(50.0);
    const CollectedBoundary* vl = c.find("liquid+vapor");
    ASSERT_NE(vl, nullptr);
    EXPECT_EQ(vl->branches[0], Branch::Liquid);
    EXPECT_EQ(vl->pieces[0].back().wtPercent, 1000.0);
}

TEST(IsoplethSection, LiquidBoundMeetsTheThreePhaseCurveAtTheSaturatedLiquid) {
    for (double w : {26.5, 30.0, 50.0, 90.0}) {
        SCOPED_TRACE(w);
        const SectionCollector c = isopleth(w);
        const double t3 = threePhaseLiquidTemperature(w);
        const double p3 = threePhaseAt(t3);
        const CollectedBoundary* lh = c.find("liquid+halite");
        const CollectedBoundary* vl = c.find("liquid+vapor");
        const CollectedBoundary* vlh = c.find("vapor+liquid+halite");
        ASSERT_TRUE(lh && vl && vlh);
        // The liquidus from the meeting point up to 5000 bar (or 0 C).
        EXPECT_TRUE(samePoint(lh->pieces[0].front(), t3, p3));
        const Point top = lh->pieces[0].back();
        if (top.value < 5000.0) {
            EXPECT_EQ(top.wtPercent, 0.0);
            ExpectRelative(liquidusAt(0.0, top.value), w);
        }
        // The bubble curve from the same point, and the three-phase curve through it.
        EXPECT_TRUE(samePoint(vl->pieces[0].front(), t3, p3));
        bool through = false;
        for (const auto& piece : vlh->pieces) {
            for (const Point& q : piece) through = through || samePoint(q, t3, p3);
        }
        EXPECT_TRUE(through);
    }
    // Below the liquid of the three-phase curve at 0 C no liquidus at all.
    const SectionCollector c = isopleth(10.0);
    EXPECT_EQ(c.find("liquid+halite"), nullptr);
    EXPECT_EQ(c.consoleText.find("halite liquidus"), std::string::npos);
    EXPECT_EQ(
        c.consoleText.rfind("The stable phase diagram boundaries are : \n- the VL surface\n", 0),
        0u);
}

TEST(IsoplethSection, SmoothWherePlotted) {
    // Every segment of the bubble curve of 10 wt% is within 0.3 % of the
    // plot (1000 C by 5000 bar, or 8 decades) of the curve solved afresh
    // at its middle temperature.
    const SectionCollector c = isopleth(10.0);
    const auto& bubble = c.find("liquid+vapor")->pieces[0];
    ASSERT_GT(bubble.size(), 10u);
    for (std::size_t i = 1; i < bubble.size(); ++i) {
        const Point a = bubble[i - 1], b = bubble[i];
        const double tm = 0.5 * (a.wtPercent + b.wtPercent);
        const double pm = bubblePressure(tm, 10.0);
        ASSERT_TRUE(std::isfinite(pm));
        const double linear = std::fabs(pm - 0.5 * (a.value + b.value)) / 5000.0;
        const double logarithmic =
            std::fabs(std::log10(pm) - 0.5 * (std::log10(a.value) + std::log10(b.value))) / 8.0;
        EXPECT_LT(linear, 3e-3) << tm;
        EXPECT_LT(logarithmic, 3e-3) << tm;
    }
}

TEST(IsoplethSection, NothingForAFluidThatIsNoMixture) {
    for (double w : {0.0, 100.0, -5.0, 150.0, double(NAN)}) {
        const SectionCollector c = isopleth(w);
        EXPECT_TRUE(c.boundaries.empty());
        EXPECT_TRUE(c.consoleText.empty());
    }
    // The liquidus of 26.5 wt% leaves the range at 0 C, below 5000 bar,
    // where the liquidus at 0 C has that composition.
    const SectionCollector c = isopleth(26.5);
    const Point top = c.find("liquid+halite")->pieces[0].back();
    EXPECT_EQ(top.wtPercent, 0.0);
    EXPECT_LT(top.value, 5000.0);
    ExpectRelative(liquidusAt(0.0, top.value), 26.5);
}

TEST(IsoplethSection, SameOnSeveralThreads) {
    auto flat = [](const SectionCollector& c) {
        std::vector<double> v;
        for (const CollectedBoundary& b : c.boundaries) {
            for (const auto& piece : b.pieces) {
                for (const Point& q : piece) {
                    v.push_back(q.wtPercent);
                    v.push_back(q.value);
                }
                v.push_back(-1.0);  // piece separator
            }
        }
        return v;
    };
    const std::vector<double> expected = flat(isopleth(20.0));
    std::vector<std::vector<double>> got(3);
    std::vector<std::thread> threads;
    for (auto& g : got) threads.emplace_back([&g, &flat] { g = flat(isopleth(20.0)); });
    for (auto& th : threads) th.join();
    for (const auto& g : got) EXPECT_EQ(g, expected);
}

TEST(IsoplethSection, StopsWhenTheSinkRefuses) {
    SectionCollector c(1);
    SectionTracer tr(c);
    EXPECT_FALSE(traceIsoplethSection(30.0, tr));
    ASSERT_EQ(c.boundaries.size(), 1u);
    EXPECT_EQ(c.closed, std::vector<std::size_t>{0});
    // Only the boundary written is announced.
    EXPECT_NE(c.consoleText.find("Writing VL data to file liquid+vapor_30.000000wt.dat\n"),
              std::string::npos);
    EXPECT_EQ(c.consoleText.find("Writing LH"), std::string::npos);
}

}  // namespace
