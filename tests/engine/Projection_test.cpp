// The pressure-temperature projection through its tracer: where its curves
// end and meet.
#include "engine/Projection.h"

#include <gtest/gtest.h>
#include <quarvessin/isopleth.h>
#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "SectionCollector.h"

using namespace quarvessin;

namespace {

SectionCollector projection() {
    SectionCollector c;
    SectionTracer tr(c);
    EXPECT_TRUE(traceProjection(tr));
    return c;
}

std::string printed(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

const std::vector<Point>& only(const SectionCollector& c, const std::string& phases) {
    const CollectedBoundary* b = c.find(phases);
    EXPECT_NE(b, nullptr) << phases;
    static const std::vector<Point> none;
    if (!b) return none;
    EXPECT_EQ(b->pieces.size(), 1u) << phases;
    EXPECT_EQ(b->fileName, phases + "_projection.dat");
    return b->pieces[0];
}

TEST(Projection, ThreePhaseCurveRisesToItsMaximumAndEndsAtTheNaClTriplePoint) {
    const SectionCollector c = projection();
    const auto& vlh = only(c, "vapor+liquid+halite");
    ASSERT_GT(vlh.size(), 20u);
    EXPECT_EQ(vlh.front().wtPercent, 0.0);
    EXPECT_EQ(printed(vlh.back().wtPercent), "800.7");
    EXPECT_EQ(printed(vlh.back().value), "0.0005");
    const auto top = std::max_element(
        vlh.begin(), vlh.end(), [](const Point& a, const Point& b) { return a.value < b.value; });
    EXPECT_EQ(printed(top->value), "390.147");
    EXPECT_NEAR(top->wtPercent, 594.6, 0.1);
    // Both sides of the maximum are sampled finely enough to show it.
    EXPECT_GE(top - vlh.begin(), 8);
    EXPECT_GE(vlh.end() - top, 8);
    // Every point on the three-phase curve.
    for (const Point& q : vlh) EXPECT_EQ(q.value, threePhasePressure(q.wtPercent));
}

TEST(Projection, CriticalCurveStartsAtTheCriticalPointOfWater) {
    const SectionCollector c = projection();
    const auto& critical = only(c, "critical");
    ASSERT_GT(critical.size(), 10u);
    EXPECT_EQ(critical.front().wtPercent, WaterCriticalPoint::Tc);
    EXPECT_NEAR(critical.front().value, 220.54915, 1e-6);
    EXPECT_EQ(critical.back().wtPercent, 1000.0);
    // Nothing of the formal extension below 373.976 C; every point on the curve.
    for (Point q : critical) {
        EXPECT_GE(q.wtPercent, WaterCriticalPoint::Tc);
        CriticalCurve curve(&q.wtPercent);
        curve.Refresh();
        EXPECT_EQ(q.value, curve.Pcrit);
    }
    // The boiling curve of water runs from its triple point into the same point.
    const auto& water = only(c, "water-liquid+vapor");
    EXPECT_EQ(printed(water.front().wtPercent), "0.01");
    EXPECT_NEAR(water.front().value, 0.00611657, 1e-6);  // water at its triple point [bar]
    EXPECT_EQ(water.back().wtPercent, WaterCriticalPoint::Tc);
    EXPECT_NEAR(water.back().value, WaterCriticalPoint::Pc, 1e-5);
}

TEST(Projection, CurvesOfPureNaClMeetAtItsTriplePoint) {
    const SectionCollector c = projection();
    const auto& boiling = only(c, "nacl-liquid+vapor");
    const auto& sublimation = only(c, "nacl-halite+vapor");
    const auto& melting = only(c, "nacl-halite+liquid");
    ASSERT_FALSE(boiling.empty() || sublimation.empty() || melting.empty());
    EXPECT_EQ(printed(boiling.front().wtPercent), "800.7");
    EXPECT_EQ(printed(boiling.front().value), "0.0005");
    EXPECT_EQ(boiling.back().wtPercent, 1000.0);
    EXPECT_EQ(printed(sublimation.back().wtPercent), "800.7");
    EXPECT_EQ(printed(sublimation.back().value), "0.0005");
    // The melting curve: a straight line from 1 to 5000 bar that runs back
    // to the triple point.
    EXPECT_EQ(melting.front().value, 1.0);
    EXPECT_EQ(melting.back().value, 5000.0);
    const double slope = (melting.back().wtPercent - melting.front().wtPercent) / 4999.0;
    // Extended to the triple-point pressure (0.0005 bar, which moves the
    // melting point by about 1e-5 C) it reaches 800.7 C.
    EXPECT_NEAR(melting.front().wtPercent - slope * (1.0 - 0.0005), 800.7, 1e-4);
    for (const Point& q : melting) {
        EXPECT_NEAR(q.wtPercent, melting.front().wtPercent + slope * (q.value - 1.0), 1e-9);
    }
    // Console list and announcements, one per curve.
    EXPECT_EQ(c.consoleText.rfind("The stable phase diagram boundaries are : \n", 0), 0u);
    EXPECT_EQ(c.boundaries.size(), 6u);
    for (const CollectedBoundary& b : c.boundaries) {
        EXPECT_NE(c.consoleText.find(" data to file " + b.fileName + "\n"), std::string::npos);
    }
}

TEST(Projection, CompositionsAlongTheCurves) {
    SectionCollector c;
    SectionTracer tr(c);
    ASSERT_TRUE(traceProjectionCompositions(tr));
    const auto& liquid = only(c, "vapor+liquid+halite-liquid");
    const auto& vapor = only(c, "vapor+liquid+halite-vapor");
    const auto& critical = only(c, "critical-composition");
    ASSERT_FALSE(liquid.empty() || vapor.empty() || critical.empty());
    // At the NaCl triple point both phases of the three-phase curve are NaCl.
    EXPECT_NEAR(liquid.back().value, 100.0, 1e-3);
    EXPECT_NEAR(vapor.back().value, 100.0, 1e-3);
    EXPECT_NEAR(liquid.front().value, 26.2774, 1e-4);
    for (const Point& q : liquid) {
        EXPECT_NEAR(q.value, threePhaseLiquidComposition(q.wtPercent), 1e-12);
    }
    // The critical curve starts at pure water and reaches 33.5 wt% at 1000 C.
    EXPECT_EQ(critical.front().value, 0.0);
    EXPECT_EQ(printed(critical.back().value), "33.5255");
    for (const Point& q : critical) {
        const CompositionCriticalPoint p = criticalPointOf(q.value);
        if (q.value > 0.0) {
            EXPECT_NEAR(p.tC, q.wtPercent, 1e-7);
        }
    }
}

}  // namespace
