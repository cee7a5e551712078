// The point query against the isothermal section at the same temperature:
// the same model objects give the same numbers, and the assemblage changes
// exactly at each boundary.
#include <gtest/gtest.h>
#include <quarvessin/composition.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "CliScratch.h"

using quarvessin::PointResult;
using quarvessin::queryPoint;
using quarvessin::SectionKind;

namespace {

const quarvessin::Boundary& boundary(const quarvessin::Section& s, const std::string& phases) {
    for (const quarvessin::Boundary& b : s.boundaries) {
        if (b.phases == phases) return b;
    }
    throw std::runtime_error("no boundary " + phases);
}

// The composition the query gives for `boundaryName` and `phase` [wt%], NaN if absent.
double wtOf(const PointResult& r, const std::string& boundaryName, const std::string& phase) {
    for (const quarvessin::PointBoundary& b : r.boundaries) {
        if (b.boundary == boundaryName && b.phase == phase) return b.wtPercent;
    }
    return NAN;
}

std::string assemblageAt(double t, double p, double wt) {
    return queryPoint(t, p, quarvessin::moleFraction(wt)).assemblage;
}

}  // namespace

// At pressures of the section's own points the query must give the section's
// numbers exactly: the vapour + halite curve, both branches of the
// vapour-liquid loop (closing at pure water at 300 C, at the critical point of
// the solution at 400 and 600 C) and the halite liquidus.
TEST(PointQuery, EqualsTheIsothermalSectionAtItsPressures) {
    for (double t : {25.0, 300.0, 400.0, 600.0}) {
        const quarvessin::Section s = quarvessin::computeSection(SectionKind::Isothermal, t);
        const auto& vh = boundary(s, "vapor+halite").pieces.at(0);
        const auto& vl = boundary(s, "liquid+vapor").pieces.at(0);
        const auto& lh = boundary(s, "liquid+halite").pieces.at(0);
        ASSERT_GT(vh.size(), 60u);
        ASSERT_GT(vl.size(), 150u);
        for (std::size_t i : {std::size_t{20}, std::size_t{60}, vh.size() - 2}) {
            const PointResult r = queryPoint(t, vh[i].value);
            ASSERT_TRUE(r.accepted);
            EXPECT_EQ(wtOf(r, "vapor+halite", "vapor"), vh[i].wtPercent)
                << t << " C, " << vh[i].value;
            EXPECT_EQ(r.boundaries.size(), 1u);
        }
        // The loop: up the vapour branch from the three-phase corner, then down
        // the liquid branch to the liquidus corner (the pressures of the way
        // down are stepped from the top, so they differ in the last bits).
        for (std::size_t i : {std::size_t{1}, std::size_t{50}, std::size_t{90}}) {
            const PointResult up = queryPoint(t, vl[i].value);
            EXPECT_EQ(wtOf(up, "liquid+vapor", "vapor"), vl[i].wtPercent)
                << t << " C, " << vl[i].value;
            EXPECT_FALSE(std::isnan(wtOf(up, "liquid+halite", "liquid")));
            const std::size_t j = vl.size() - 1 - i;
            const PointResult down = queryPoint(t, vl[j].value);
            EXPECT_EQ(wtOf(down, "liquid+vapor", "liquid"), vl[j].wtPercent)
                << t << " C, " << vl[j].value;
        }
        for (std::size_t i : {std::size_t{1}, std::size_t{400}, lh.size() - 1}) {
            const PointResult r = queryPoint(t, lh[i].value);
            EXPECT_EQ(wtOf(r, "liquid+halite", "liquid"), lh[i].wtPercent)
                << t << " C, " << lh[i].value;
        }
        // Exactly at the three-phase pressure: the corners of the tie line.
        const auto& vlh = boundary(s, "vapor+liquid+halite").pieces.at(0);
        const PointResult at3 = queryPoint(t, vlh[0].value);
        EXPECT_EQ(wtOf(at3, "vapor+liquid+halite", "vapor"), vlh[0].wtPercent);
        EXPECT_EQ(wtOf(at3, "vapor+liquid+halite", "liquid"), vlh[1].wtPercent);
        EXPECT_EQ(at3.threePhasePressure, vlh[0].value);
    }
}

TEST(PointQuery, AssemblageChangesAtEachBoundary) {
    // 400 C, 250 bar: inside the vapour-liquid loop (176 to 281 bar).
    const PointResult loop = queryPoint(400.0, 250.0);
    const double v = wtOf(loop, "liquid+vapor", "vapor");
    const double l = wtOf(loop, "liquid+vapor", "liquid");
    const double h = wtOf(loop, "liquid+halite", "liquid");
    ASSERT_TRUE(v < l && l < h) << v << " " << l << " " << h;
    EXPECT_EQ(assemblageAt(400.0, 250.0, 0.0), "vapor");
    EXPECT_EQ(assemblageAt(400.0, 250.0, v * 0.999), "vapor");
    EXPECT_EQ(assemblageAt(400.0, 250.0, v * 1.001), "liquid+vapor");
    EXPECT_EQ(assemblageAt(400.0, 250.0, l * 0.999), "liquid+vapor");
    EXPECT_EQ(assemblageAt(400.0, 250.0, l * 1.001), "liquid");
    EXPECT_EQ(assemblageAt(400.0, 250.0, h * 0.999), "liquid");
    EXPECT_EQ(assemblageAt(400.0, 250.0, h * 1.001), "liquid+halite");
    EXPECT_EQ(assemblageAt(400.0, 250.0, 100.0), "liquid+halite");

    // 400 C, 100 bar: below the three-phase pressure, vapour and halite.
    const double vh = wtOf(queryPoint(400.0, 100.0), "vapor+halite", "vapor");
    ASSERT_GT(vh, 0.0);
    EXPECT_EQ(assemblageAt(400.0, 100.0, vh * 0.999), "vapor");
    EXPECT_EQ(assemblageAt(400.0, 100.0, vh * 1.001), "vapor+halite");

    // 300 C, 500 bar: above the vapour pressure of water, liquid or liquid + halite.
    const PointResult high = queryPoint(300.0, 500.0);
    ASSERT_EQ(high.boundaries.size(), 1u);
    const double lh = high.boundaries[0].wtPercent;
    EXPECT_EQ(assemblageAt(300.0, 500.0, 0.0), "liquid");
    EXPECT_EQ(assemblageAt(300.0, 500.0, lh * 0.999), "liquid");
    EXPECT_EQ(assemblageAt(300.0, 500.0, lh * 1.001), "liquid+halite");

    // Between the vapour pressure (85.8 bar) and the three-phase pressure the
    // order of the pressures decides; exactly at the three-phase pressure the
    // mixture is on the tie line.
    const PointResult three = queryPoint(400.0, loop.threePhasePressure);
    const double corner = wtOf(three, "vapor+liquid+halite", "vapor");
    EXPECT_EQ(assemblageAt(400.0, loop.threePhasePressure, corner * 0.999), "vapor");
    EXPECT_EQ(assemblageAt(400.0, loop.threePhasePressure, 50.0), "vapor+liquid+halite");

    // Below the sublimation pressure of halite only vapour is stable.
    const PointResult low = queryPoint(400.0, loop.sublimationPressure * 0.5, 1.0);
    EXPECT_TRUE(low.boundaries.empty());
    EXPECT_EQ(low.assemblage, "vapor");
    // The pure-water top of the loop at 300 C, the critical pressure at 400 C.
    EXPECT_TRUE(high.loopClosesAtPureWater);
    EXPECT_NEAR(high.loopTopPressure, 85.8,
                0.1);  // vapour pressure of water at 300 C (steam tables: 85.88 bar)
    EXPECT_FALSE(loop.loopClosesAtPureWater);
    EXPECT_GT(loop.loopTopPressure, 250.0);
}

TEST(PointQuery, RefusesValuesOutsideItsRange) {
    for (const PointResult& r :
         {queryPoint(800.7, 100.0), queryPoint(NAN, 100.0), queryPoint(300.0, 0.0),
          queryPoint(300.0, -1.0), queryPoint(300.0, INFINITY), queryPoint(300.0, 100.0, 1.5),
          queryPoint(300.0, 100.0, -0.1), queryPoint(300.0, 100.0, NAN)}) {
        EXPECT_FALSE(r.accepted);
        EXPECT_FALSE(r.refusal.empty());
        EXPECT_TRUE(r.boundaries.empty());
    }
    EXPECT_NE(queryPoint(900.0, 100.0).refusal.find("below 800.7 C"), std::string::npos);
    EXPECT_TRUE(queryPoint(800.69, 100.0).accepted);
    EXPECT_TRUE(queryPoint(-20.0, 100.0).accepted);
    EXPECT_FALSE(queryPoint(-20.0, 100.0).warnings.empty());  // outside 0 to 1000 C
}

TEST(PointCommand, AnswersHaliteSaturationInOneCommand) {
    using namespace clitest;
    const CliRun text = run({"point", "300", "500"});
    ASSERT_EQ(text.status, 0) << text.err;
    const double lh = queryPoint(300.0, 500.0).boundaries.at(0).wtPercent;
    char expected[128];
    std::snprintf(expected, sizeof expected,
                  "halite-saturated liquid (liquid+halite): %g wt%% NaCl", lh);
    EXPECT_NE(text.out.find(expected), std::string::npos) << text.out;

    const CliRun json = run({"point", "400", "250", "--wt", "10", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json j = nlohmann::json::parse(json.out);
    EXPECT_EQ(j["T_C"], 400.0);
    EXPECT_EQ(j["P_bar"], 250.0);
    EXPECT_EQ(j["wt_percent"], 10.0);
    EXPECT_EQ(j["assemblage"], "liquid+vapor");
    EXPECT_EQ(j["boundaries"].size(), 3u);
    EXPECT_EQ(j["boundaries"][0]["wt_percent"].get<double>(),
              wtOf(queryPoint(400.0, 250.0), "liquid+vapor", "vapor"));

    const CliRun x = run({"point", "-20", "50", "--x", "0"});
    EXPECT_EQ(x.status, 0) << x.err;
    EXPECT_NE(x.err.find("warning"), std::string::npos);

    for (const std::vector<std::string>& args : {std::vector<std::string>{"point", "800.7", "100"},
                                                 {"point", "300", "0"},
                                                 {"point", "300", "-5"},
                                                 {"point", "300", "100", "--wt", "101"},
                                                 {"point", "300", "100", "--wt", "-1"},
                                                 {"point", "300", "100", "--x", "2"},
                                                 {"point", "300", "100", "--wt", "5", "--x", "0.1"},
                                                 {"point", "3OO", "100"},
                                                 {"point", "300"},
                                                 {"point", "300", "100", "--wt", "nan"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args[1] << " " << args[2];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
    }
}
