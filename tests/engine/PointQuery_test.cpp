// The point query against the sections: up to 800.7 C the isothermal
// section at the same temperature, above it the isobaric sections at the same
// pressure; the same model objects give the same numbers, and the assemblage
// changes exactly at each boundary. Its range and refusals, and no
// composition outside 0 to 100 wt% ever reported.
#include <gtest/gtest.h>
#include <quarvessin/composition.h>
#include <quarvessin/kinds.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/model/WaterCriticalPoint.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/PointModel.h"

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
    EXPECT_EQ(assemblageAt(400.0, 250.0, 99.999), "liquid+halite");
    EXPECT_EQ(assemblageAt(400.0, 250.0, 100.0), "halite");  // pure NaCl below its melting point

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

// Above the triple point of NaCl the query gives the numbers of the isobaric
// section at its pressure, above the section's upper three-phase temperature:
// at every whole degree from 801 to 1000 C the vapour and the liquid branch
// exactly where the section has them (where the loop crosses the
// temperature), the halite liquidus exactly where the section has it (below
// the melting point of halite at that pressure), and no tie line or
// halite-saturated vapour. At pressures of every isobaric case (A, B, C2, C1).
TEST(PointQuery, EqualsTheIsobaricSectionAboveTheTriplePointOfNaCl) {
    struct AtT {
        double vapour = NAN, liquid = NAN, liquidus = NAN;  // [wt%]
    };
    auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    for (double p : {1.0, 60.0, 300.0, 500.0, 1500.0, 2100.0, 2500.0, 4500.0}) {
        const quarvessin::Section s = quarvessin::computeSection(SectionKind::Isobaric, p);
        std::map<double, AtT> section;
        for (const quarvessin::Boundary& b : s.boundaries) {
            for (const auto& piece : b.pieces) {
                for (std::size_t i = 0; i < piece.size(); ++i) {
                    const quarvessin::Point& pt = piece[i];
                    if (!(pt.value > 800.7) || pt.value != std::trunc(pt.value)) continue;
                    ASSERT_NE(b.phases, "vapor+liquid+halite");
                    ASSERT_NE(b.phases, "vapor+halite");
                    if (b.phases == "liquid+halite") {
                        section[pt.value].liquidus = pt.wtPercent;
                        continue;
                    }
                    // The vapour branch runs down in temperature, the liquid
                    // branch up.
                    const bool down = i + 1 < piece.size() ? piece[i + 1].value < pt.value
                                                           : piece[i - 1].value > pt.value;
                    (down ? section[pt.value].vapour : section[pt.value].liquid) = pt.wtPercent;
                }
            }
        }
        std::size_t loop = 0, liquidus = 0;
        for (double t = 801.0; t <= 1000.0; t += 1.0) {
            const PointResult r = queryPoint(t, p);
            ASSERT_TRUE(r.accepted);
            const AtT& e = section[t];
            const std::string where = std::to_string(p) + " bar, " + std::to_string(t) + " C";
            EXPECT_TRUE(same(wtOf(r, "liquid+vapor", "vapor"), e.vapour)) << where;
            EXPECT_TRUE(same(wtOf(r, "liquid+vapor", "liquid"), e.liquid)) << where;
            EXPECT_TRUE(same(wtOf(r, "liquid+halite", "liquid"), e.liquidus)) << where;
            EXPECT_EQ(r.boundaries.size(), 2 * !std::isnan(e.vapour) + !std::isnan(e.liquidus))
                << where;
            EXPECT_FALSE(r.loopClosesAtPureWater);
            loop += !std::isnan(e.vapour);
            liquidus += !std::isnan(e.liquidus);
        }
        // Above the critical pressure at 1000 C (2161.67 bar) no loop; halite
        // above 800.7 C up to its melting point 800.7 + 0.024726 p C.
        EXPECT_EQ(loop > 0, p < 2161.0) << p;
        EXPECT_EQ(liquidus, p < 8.1 ? 0u : static_cast<std::size_t>(800.7 + 0.024726 * p) - 800)
            << p;
    }
}

// The assemblage at 900 C on an isobar: vapour, vapour + liquid and liquid
// across the loop (1000 bar, 1.99 and 75.09 wt% there), and a single liquid
// up to pure NaCl above the critical pressure and the melting point of halite
// (2000 bar; halite melts at 800.7 + 0.024726 p = 850.2 C); liquid and halite
// at 4500 bar (melting point 912 C).
TEST(PointQuery, AssemblagesAt900C) {
    const PointResult loop = queryPoint(900.0, 1000.0);
    const double v = wtOf(loop, "liquid+vapor", "vapor");
    const double l = wtOf(loop, "liquid+vapor", "liquid");
    ASSERT_TRUE(v > 0.0 && v < l && l < 100.0) << v << " " << l;
    EXPECT_TRUE(std::isnan(wtOf(loop, "liquid+halite", "liquid")));
    EXPECT_EQ(assemblageAt(900.0, 1000.0, v * 0.999), "vapor");
    EXPECT_EQ(assemblageAt(900.0, 1000.0, v * 1.001), "liquid+vapor");
    EXPECT_EQ(assemblageAt(900.0, 1000.0, l * 0.999), "liquid+vapor");
    EXPECT_EQ(assemblageAt(900.0, 1000.0, l * 1.001), "liquid");
    EXPECT_EQ(assemblageAt(900.0, 1000.0, 100.0), "liquid");
    EXPECT_TRUE(std::isnan(loop.threePhasePressure));
    EXPECT_GT(loop.naclBoilingPressure, 0.0);
    EXPECT_LT(loop.naclBoilingPressure, 1.0);  // NaCl boils at 1465 C at 1 bar

    const PointResult fluid = queryPoint(900.0, 2000.0);
    EXPECT_TRUE(fluid.boundaries.empty());
    EXPECT_EQ(assemblageAt(900.0, 2000.0, 0.0), "liquid");
    EXPECT_EQ(assemblageAt(900.0, 2000.0, 100.0), "liquid");

    const PointResult halite = queryPoint(900.0, 4500.0);
    ASSERT_EQ(halite.boundaries.size(), 1u);
    const double h = halite.boundaries[0].wtPercent;
    EXPECT_EQ(assemblageAt(900.0, 4500.0, h * 0.999), "liquid");
    EXPECT_EQ(assemblageAt(900.0, 4500.0, (h + 100.0) / 2), "liquid+halite");
    EXPECT_EQ(assemblageAt(900.0, 4500.0, 100.0), "halite");
}

TEST(PointQuery, RefusesValuesOutsideItsRange) {
    for (const PointResult& r :
         {queryPoint(1000.5, 100.0), queryPoint(-273.15, 100.0), queryPoint(NAN, 100.0),
          queryPoint(-INFINITY, 100.0), queryPoint(300.0, 0.0), queryPoint(300.0, -1.0),
          queryPoint(300.0, INFINITY), queryPoint(25.0, 20000.0), queryPoint(25.0, 1e6),
          queryPoint(300.0, 100.0, 1.5), queryPoint(300.0, 100.0, -0.1),
          queryPoint(300.0, 100.0, NAN)}) {
        EXPECT_FALSE(r.accepted);
        EXPECT_FALSE(r.refusal.empty());
        EXPECT_TRUE(r.boundaries.empty());
        EXPECT_EQ(r.assemblage, "");
    }
    // The refusal names the value in its shortest exact form and the range.
    EXPECT_EQ(queryPoint(25.0, 20000.0).refusal,
              "pressure 20000 bar is out of range (valid: above 0 and up to 5000 bar)");
    EXPECT_EQ(queryPoint(25.0, std::nextafter(5000.0, 6000.0)).refusal,
              "pressure 5000.000000000001 bar is out of range (valid: above 0 and up to 5000 "
              "bar)");
    EXPECT_EQ(queryPoint(std::nextafter(1000.0, 2000.0), 1.0).refusal,
              "temperature 1000.0000000000001 C is out of range (valid: above -273.15 C and up "
              "to 1000 C)");
    EXPECT_EQ(queryPoint(-273.15, 1.0).refusal,
              "temperature -273.15 C is out of range (valid: above -273.15 C and up to 1000 C)");
    EXPECT_EQ(queryPoint(INFINITY, 1.0).refusal,
              "temperature inf C is not a finite number (valid: above -273.15 C and up to "
              "1000 C)");
    EXPECT_EQ(queryPoint(25.0, 1.0, 1.0000000000000002).refusal,
              "composition 1.0000000000000002 mole fraction NaCl is out of range (valid: 0 to 1)");
    for (double t : {800.69, 800.7, 900.0, 1000.0, -20.0, -273.14}) {
        EXPECT_TRUE(queryPoint(t, 100.0).accepted) << t;
    }
    EXPECT_TRUE(queryPoint(25.0, 5000.0).accepted);
    EXPECT_FALSE(queryPoint(-20.0, 100.0).warnings.empty());  // outside 0 to 1000 C
    EXPECT_TRUE(queryPoint(900.0, 100.0).warnings.empty());
}

// The composition as typed: refused outside 0 to 100 wt%, kept as typed
// (not converted back from its mole fraction) and classified as the same
// mixture given by mole fraction.
TEST(PointQuery, TypedCompositionIsKept) {
    using quarvessin::CompositionInput;
    const CompositionInput wt101{CompositionInput::Unit::WtPercent, 101.0};
    EXPECT_EQ(queryPoint(25.0, 1.0, wt101).refusal,
              "composition 101 wt% NaCl is out of range (valid: 0 to 100 wt%)");
    EXPECT_EQ(
        queryPoint(25.0, 1.0, CompositionInput{CompositionInput::Unit::WtPercent, NAN}).refusal,
        "composition nan wt% NaCl is not a finite number (valid: 0 to 100 wt%)");
    // A refused temperature is named first.
    EXPECT_EQ(queryPoint(2000.0, 1.0, wt101).refusal.rfind("temperature 2000 C", 0), 0u);
    const CompositionInput x2{CompositionInput::Unit::MoleFraction, 2.0};
    EXPECT_EQ(queryPoint(25.0, 1.0, x2).refusal,
              "composition 2 mole fraction NaCl is out of range (valid: 0 to 1)");

    bool roundTripDiffers = false;
    for (double wt : {0.1, 1.7, 10.0, 26.6804, 33.3, 47.1, 99.9}) {
        const PointResult typed =
            queryPoint(400.0, 250.0, CompositionInput{CompositionInput::Unit::WtPercent, wt});
        const PointResult byX = queryPoint(400.0, 250.0, quarvessin::moleFraction(wt));
        ASSERT_TRUE(typed.accepted);
        EXPECT_EQ(typed.wtPercent.value(), wt);
        EXPECT_EQ(typed.moleFraction.value(), quarvessin::moleFraction(wt));
        EXPECT_EQ(typed.assemblage, byX.assemblage);
        EXPECT_FALSE(typed.assemblage.empty());
        roundTripDiffers = roundTripDiffers || byX.wtPercent.value() != wt;
    }
    EXPECT_TRUE(roundTripDiffers);  // else the test could not tell typed from converted
}

// Issue reproductions: at 25 C up to 5000 bar every composition reported lies
// in 0 to 100 wt%. Where the correlation leaves that range (the vapour branch
// just above the boiling pressure of NaCl at 900 C, 0.0028 bar, where the
// model's own vapour branch gives more than pure NaCl) the boundary is not a
// number, a warning names it and no assemblage is named from it.
TEST(PointQuery, NoCompositionOutsideZeroToOneIsReported) {
    for (double p = 1.0; p <= 5000.0; p += 7.0) {
        const PointResult r = queryPoint(25.0, p);
        ASSERT_TRUE(r.accepted);
        for (const quarvessin::PointBoundary& b : r.boundaries) {
            EXPECT_TRUE(b.wtPercent >= 0.0 && b.wtPercent <= 100.0) << p << " " << b.boundary;
        }
    }
    const PointResult at4999 = queryPoint(25.0, 4999.0);
    ASSERT_EQ(at4999.boundaries.size(), 1u);
    // Halite solubility at 25 C: 26.4 wt% at 1 bar (handbooks), rising slowly with pressure.
    EXPECT_NEAR(at4999.boundaries[0].wtPercent, 26.4, 1.5);
    EXPECT_EQ(assemblageAt(25.0, 4999.0, 20.0), "liquid");

    const double pBoil = queryPoint(900.0, 1.0).naclBoilingPressure;
    double t = 900.0;
    double p = pBoil * 1.01;
    quarvessin::VLVaporBranch vapour(&t, &p);
    vapour.Refresh();
    ASSERT_GT(vapour.X, 1.0);  // the correlation itself
    const PointResult r = queryPoint(t, p);
    ASSERT_EQ(r.boundaries.size(), 2u);
    EXPECT_TRUE(std::isnan(r.boundaries[0].moleFraction));
    EXPECT_TRUE(std::isnan(r.boundaries[0].wtPercent));
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_NE(r.warnings[0].find("vapor of the vapor-liquid surface"), std::string::npos);
    EXPECT_NE(r.warnings[0].find("outside 0 to 100 wt%"), std::string::npos);
    for (double wt : {0.0, 50.0, 99.0}) EXPECT_EQ(assemblageAt(t, p, wt), "") << wt;
    // Below the boiling pressure of NaCl vapour alone is stable.
    EXPECT_EQ(assemblageAt(t, pBoil * 0.99, 50.0), "vapor");
}

// Issue reproduction: below the triple point of water the query reports the
// boundaries the isothermal section has there. At -20 C there is no
// vapour-liquid loop (the vapour pressure of water is not a number) and no
// halite-saturated vapour, but the liquidus above the three-phase pressure:
// 26.6804 wt% at 524 bar, as `section isotherm -20` writes it.
TEST(PointQuery, BelowTheTriplePointOfWaterTheIsothermsBoundaries) {
    const PointResult r = queryPoint(-20.0, 524.0);
    ASSERT_TRUE(r.accepted);
    ASSERT_EQ(r.boundaries.size(), 1u);
    EXPECT_EQ(r.boundaries[0].boundary, "liquid+halite");
    char digits[32];
    std::snprintf(digits, sizeof digits, "%g", r.boundaries[0].wtPercent);
    EXPECT_STREQ(digits, "26.6804");
    const quarvessin::Section s = quarvessin::computeSection(SectionKind::Isothermal, -20.0);
    bool found = false;
    for (const quarvessin::Point& pt : boundary(s, "liquid+halite").pieces.at(0)) {
        if (pt.value != 524.0) continue;
        EXPECT_EQ(pt.wtPercent, r.boundaries[0].wtPercent);
        found = true;
    }
    EXPECT_TRUE(found);
    EXPECT_TRUE(std::isnan(r.loopTopPressure));
    EXPECT_EQ(assemblageAt(-20.0, 524.0, 20.0), "liquid");
    EXPECT_EQ(assemblageAt(-20.0, 524.0, 30.0), "liquid+halite");
    // Below the three-phase pressure the section's vapour + halite curve is
    // not a number at -20 C: nothing is named.
    const PointResult low = queryPoint(-20.0, r.threePhasePressure / 2);
    ASSERT_EQ(low.boundaries.size(), 1u);
    EXPECT_TRUE(std::isnan(low.boundaries[0].wtPercent));
    EXPECT_EQ(assemblageAt(-20.0, r.threePhasePressure / 2, 10.0), "");
}

// The loop top of a temperature alone, as the point query reports it. The
// vapour pressure of water stays below the bound above which the point
// classification skips the water library.
TEST(LoopTopPressure, IsTheVapourPressureOfWaterThenTheCriticalPressure) {
    for (double t : {0.02, 25.0, 100.0, 300.0, 373.5, 373.976, 373.977, 600.0, 900.0}) {
        bool closes = false;
        const double top = quarvessin::loopTopPressure(t, closes);
        const PointResult r = queryPoint(t, 1.0);
        EXPECT_EQ(top, r.loopTopPressure) << t;
        EXPECT_EQ(closes, r.loopClosesAtPureWater) << t;
        EXPECT_EQ(closes, t <= 373.976) << t;
    }
    bool closes = false;
    // The normal boiling point of water: 1.01325 bar at 100 C on the 1968
    // temperature scale of the 1984 equation of state.
    EXPECT_NEAR(quarvessin::loopTopPressure(100.0, closes), 1.01325, 1e-4);
    // The critical point of water closes the loop at 373.976 C.
    EXPECT_NEAR(quarvessin::loopTopPressure(quarvessin::WaterCriticalPoint::Tc, closes),
                quarvessin::WaterCriticalPoint::Pc, 1e-5);
    std::vector<double> temperatures;
    for (double t = 0.02; t < 373.0; t += 0.05) temperatures.push_back(t);
    for (double t = 373.0; t < 373.976; t += 1e-4) temperatures.push_back(t);
    double below = quarvessin::WaterCriticalPoint::Tc;
    for (int i = 0; i < 2000; ++i) temperatures.push_back(below = std::nextafter(below, 0.0));
    double highest = 0.0;
    for (double t : temperatures)
        highest = std::max(highest, quarvessin::loopTopPressure(t, closes));
    EXPECT_GT(highest, quarvessin::WaterCriticalPoint::Pc - 0.01);
    EXPECT_LT(highest, quarvessin::aboveWaterVaporPressure);
}
