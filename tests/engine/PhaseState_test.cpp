// The phase state against the sections: just inside the fields on either side
// of every boundary point of random isobars and isotherms the assemblage is
// the one the boundary separates, the coexisting phases have the boundary's
// compositions and the lever rule closes. The batch gives the single answers,
// and both agree with the point query.
#include <gtest/gtest.h>
#include <quarvessin/composition.h>
#include <quarvessin/phase_state.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/BoundaryTrace.h"

using quarvessin::Assemblage;
using quarvessin::assemblageName;
using quarvessin::PhaseState;
using quarvessin::phaseState;
using quarvessin::PointResult;
using quarvessin::queryPoint;
using quarvessin::SectionKind;

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A number in full for a message.
std::string full(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

bool sameState(const PhaseState& a, const PhaseState& b) {
    return a.assemblage == b.assemblage && sameBits(a.wtVapor, b.wtVapor) &&
           sameBits(a.wtLiquid, b.wtLiquid) && sameBits(a.fractionVapor, b.fractionVapor) &&
           sameBits(a.fractionLiquid, b.fractionLiquid) &&
           sameBits(a.fractionHalite, b.fractionHalite);
}

// The lever rule of a known state of a mixture of `wt` [wt% NaCl]: fractions
// in 0 to 1 summing to 1, the NaCl of the phases adding up to the mixture's
// (halite pure NaCl), a composition for each phase present and none for an
// absent fluid phase.
void expectLeverRule(const PhaseState& s, double wt, const std::string& where) {
    ASSERT_NE(s.assemblage, Assemblage::Unknown) << where;
    for (double f : {s.fractionVapor, s.fractionLiquid, s.fractionHalite}) {
        EXPECT_TRUE(f >= 0.0 && f <= 1.0) << where << ": " << f;
    }
    EXPECT_NEAR(s.fractionVapor + s.fractionLiquid + s.fractionHalite, 1.0, 1e-15) << where;
    const double vapour = s.fractionVapor > 0.0 ? s.fractionVapor * s.wtVapor : 0.0;
    const double liquid = s.fractionLiquid > 0.0 ? s.fractionLiquid * s.wtLiquid : 0.0;
    EXPECT_NEAR(vapour + liquid + s.fractionHalite * 100.0, wt, 1e-9 * std::max(1.0, wt)) << where;
    const std::string name = assemblageName(s.assemblage);
    const bool hasVapour = name.find("vapor") != std::string::npos;
    const bool hasLiquid = name.find("liquid") != std::string::npos;
    EXPECT_EQ(std::isnan(s.wtVapor), !hasVapour) << where;
    EXPECT_EQ(std::isnan(s.wtLiquid), !hasLiquid) << where;
    if (!hasVapour) {
        EXPECT_EQ(s.fractionVapor, 0.0) << where;
    }
    if (!hasLiquid) {
        EXPECT_EQ(s.fractionLiquid, 0.0) << where;
    }
    if (name.find("halite") == std::string::npos) {
        EXPECT_EQ(s.fractionHalite, 0.0) << where;
    }
}

// The point query's composition of `boundaryName` and `phase` [wt%], NaN if absent.
double wtOf(const PointResult& r, const std::string& boundaryName, const std::string& phase) {
    for (const quarvessin::PointBoundary& b : r.boundaries) {
        if (b.boundary == boundaryName && b.phase == phase) return b.wtPercent;
    }
    return NAN;
}

// What a boundary point separates: the assemblages left (less NaCl) and
// right of it, and the point query's boundary it is.
struct Crossing {
    Assemblage left;
    Assemblage right;
    const char* boundary;  // as the point query names it
    const char* phase;
};

struct Counts {
    std::size_t tested = 0;
    std::size_t skipped = 0;
};

// Checks the fields on either side of the boundary point (wt, t, p): the
// point is the query's boundary `c`, and mixtures just left and right of it
// are in c.left and c.right, by phaseState and queryPoint alike, with the
// lever rule closed. A point whose neighbouring boundary is too close for an
// offset is skipped.
void checkCrossing(double wt, double t, double p, const Crossing& c, Counts& counts,
                   const std::string& where) {
    const PointResult r = queryPoint(t, p);
    ASSERT_TRUE(r.accepted) << where;
    ASSERT_EQ(wtOf(r, c.boundary, c.phase), wt) << where << " " << c.boundary << " " << c.phase;
    // Offsets of a millionth of the composition, well inside the fields on
    // either side of every other boundary and the ends 0 and 100 wt%.
    const double d = 1e-6 * wt;
    double nearest = std::min(wt, 100.0 - wt);
    for (const quarvessin::PointBoundary& b : r.boundaries) {
        const bool itself = b.boundary == c.boundary && b.phase == c.phase;
        if (!itself && std::isfinite(b.wtPercent)) {
            nearest = std::min(nearest, std::fabs(b.wtPercent - wt));
        }
    }
    if (!(nearest > 4 * d) || !(d > 0.0)) {
        ++counts.skipped;
        return;
    }
    ++counts.tested;
    const double sides[2] = {wt - d, wt + d};
    const Assemblage expected[2] = {c.left, c.right};
    for (int i = 0; i < 2; ++i) {
        const double w = sides[i];
        const std::string at =
            where + (i == 0 ? " left" : " right") + " at " + full(w) + " wt%, " + full(p) + " bar";
        const PhaseState s = phaseState(t, p, w);
        EXPECT_EQ(assemblageName(s.assemblage), std::string(assemblageName(expected[i]))) << at;
        const quarvessin::CompositionInput typed{quarvessin::CompositionInput::Unit::WtPercent, w};
        EXPECT_EQ(queryPoint(t, p, typed).assemblage, assemblageName(s.assemblage)) << at;
        expectLeverRule(s, w, at);
        // A two-phase field's phases have the compositions of its boundaries.
        if (s.assemblage == Assemblage::LiquidVapor) {
            EXPECT_EQ(s.wtVapor, wtOf(r, "liquid+vapor", "vapor")) << at;
            EXPECT_EQ(s.wtLiquid, wtOf(r, "liquid+vapor", "liquid")) << at;
        } else if (s.assemblage == Assemblage::LiquidHalite) {
            EXPECT_EQ(s.wtLiquid, wtOf(r, "liquid+halite", "liquid")) << at;
        } else if (s.assemblage == Assemblage::VaporHalite) {
            EXPECT_EQ(s.wtVapor, wtOf(r, "vapor+halite", "vapor")) << at;
        }
    }
}

constexpr Crossing vapourBranch{Assemblage::Vapor, Assemblage::LiquidVapor, "liquid+vapor",
                                "vapor"};
constexpr Crossing liquidBranch{Assemblage::LiquidVapor, Assemblage::Liquid, "liquid+vapor",
                                "liquid"};
constexpr Crossing liquidus{Assemblage::Liquid, Assemblage::LiquidHalite, "liquid+halite",
                            "liquid"};
constexpr Crossing haliteVapour{Assemblage::Vapor, Assemblage::VaporHalite, "vapor+halite",
                                "vapor"};

// Every boundary point of a section that lies inside a field's boundary (not
// a corner where boundaries meet, not a point written for pure water, pure
// NaCl or the critical point): the branch of a vapour-liquid point is the
// direction its piece runs in (the vapour branch towards the top of the loop
// or down in temperature, the liquid branch back).
void checkSection(SectionKind kind, double value, Counts& counts) {
    const quarvessin::Section s = quarvessin::computeSection(kind, value);
    ASSERT_TRUE(s.accepted) << value;
    const bool isobar = kind == SectionKind::Isobaric;
    // The values of the three-phase tie lines: corners of every boundary.
    std::vector<double> corners;
    for (const quarvessin::Boundary& b : s.boundaries) {
        if (b.phases != "vapor+liquid+halite") continue;
        for (const auto& piece : b.pieces) {
            for (const quarvessin::Point& pt : piece) corners.push_back(pt.value);
        }
    }
    auto isCorner = [&](double v) {
        return std::find(corners.begin(), corners.end(), v) != corners.end();
    };
    for (const quarvessin::Boundary& b : s.boundaries) {
        if (b.phases == "vapor+liquid+halite") continue;
        const bool vl = b.phases == "liquid+vapor" || b.phases == "vapor+liquid";
        for (std::size_t k = 0; k < b.pieces.size(); ++k) {
            const auto& piece = b.pieces[k];
            // The isotherm's liquidus has a point per bar: every seventh does.
            const std::size_t step = !isobar && b.phases == "liquid+halite" ? 7 : 1;
            for (std::size_t i = 1; i + 1 < piece.size(); i += step) {
                const quarvessin::Point& pt = piece[i];
                const double t = isobar ? pt.value : value;
                const double p = isobar ? value : pt.value;
                if (!std::isfinite(pt.wtPercent) || isCorner(pt.value)) continue;
                if (pt.wtPercent == quarvessin::pureWaterMarker || pt.wtPercent == 100.0) {
                    continue;
                }
                const std::string where = (isobar ? "isobar " : "isotherm ") + full(value) + " " +
                                          b.phases + " piece " + std::to_string(k) + " point " +
                                          std::to_string(i);
                if (!vl) {
                    checkCrossing(pt.wtPercent, t, p,
                                  b.phases == "liquid+halite" ? liquidus : haliteVapour, counts,
                                  where);
                    continue;
                }
                const double before = piece[i - 1].value;
                const double after = piece[i + 1].value;
                const bool up = isobar ? after < pt.value && before > pt.value
                                       : after > pt.value && before < pt.value;
                const bool back = isobar ? after > pt.value && before < pt.value
                                         : after < pt.value && before > pt.value;
                if (!up && !back) continue;  // the turn: the critical point or pure water
                checkCrossing(pt.wtPercent, t, p, up ? vapourBranch : liquidBranch, counts, where);
            }
        }
    }
}

}  // namespace

// Random isobars over 1 to 5000 bar (and one of each isobaric case) and
// random isotherms over -20 to 800.69 C (with a cluster just below the triple
// point of NaCl, 790 to 800.69 C).
TEST(PhaseState, AcrossEveryBoundaryOfRandomSections) {
    std::mt19937_64 random(20261209);
    std::vector<double> isobars = {1.0, 100.0, 300.0, 1000.0, 3000.0};
    std::uniform_real_distribution<double> logP(0.0, std::log(5000.0));
    for (int i = 0; i < 7; ++i) isobars.push_back(std::exp(logP(random)));
    std::vector<double> isotherms = {-20.0, 25.0, 400.0, 800.69};
    std::uniform_real_distribution<double> anyT(-20.0, 800.69);
    std::uniform_real_distribution<double> highT(790.0, 800.69);
    for (int i = 0; i < 6; ++i) isotherms.push_back(anyT(random));
    for (int i = 0; i < 3; ++i) isotherms.push_back(highT(random));

    Counts counts;
    for (double p : isobars) checkSection(SectionKind::Isobaric, p, counts);
    for (double t : isotherms) checkSection(SectionKind::Isothermal, t, counts);
    EXPECT_GT(counts.tested, 5000u);
    EXPECT_LT(counts.skipped, counts.tested / 20) << counts.tested;
}

// On the three-phase curve: vapour up to the vapour corner of the tie line,
// the tie line beyond it (with the amounts just above the three-phase
// pressure), halite for pure NaCl. Pure NaCl is halite below its melting
// point at every pressure from the sublimation pressure up, vapour below it,
// and liquid above the melting point (800.7 + 0.024726 p C).
TEST(PhaseState, TieLineAndPureNaCl) {
    for (double t : {25.0, 400.0, 700.0}) {
        const PointResult r = queryPoint(t, 1.0);
        const double p3 = r.threePhasePressure;
        const PointResult at = queryPoint(t, p3);
        const double v = wtOf(at, "vapor+liquid+halite", "vapor");
        const double l = wtOf(at, "vapor+liquid+halite", "liquid");
        ASSERT_TRUE(v < l && l < 100.0) << t;
        EXPECT_EQ(phaseState(t, p3, v).assemblage, Assemblage::Vapor);
        for (double w : {(v + l) / 2, l, (l + 100.0) / 2}) {
            const PhaseState s = phaseState(t, p3, w);
            EXPECT_EQ(s.assemblage, Assemblage::VaporLiquidHalite) << t << " " << w;
            EXPECT_EQ(s.wtVapor, v);
            EXPECT_EQ(s.wtLiquid, l);
            expectLeverRule(s, w, std::to_string(t));
            EXPECT_EQ(s.fractionHalite == 0.0, w <= l);
            EXPECT_EQ(s.fractionVapor == 0.0, w >= l);
        }
        EXPECT_EQ(phaseState(t, p3, 100.0).assemblage, Assemblage::Halite);
        EXPECT_EQ(phaseState(t, p3 / 2, 100.0).assemblage, Assemblage::Halite);
        EXPECT_EQ(phaseState(t, p3 * 2, 100.0).assemblage, Assemblage::Halite);
        EXPECT_EQ(phaseState(t, r.sublimationPressure / 2, 100.0).assemblage, Assemblage::Vapor);
    }
    const PhaseState halite = phaseState(900.0, 4500.0, 100.0);  // melting point 912 C
    EXPECT_EQ(halite.assemblage, Assemblage::Halite);
    EXPECT_EQ(halite.fractionHalite, 1.0);
    EXPECT_TRUE(std::isnan(halite.wtVapor) && std::isnan(halite.wtLiquid));
    const PhaseState melt = phaseState(900.0, 3500.0, 100.0);  // melting point 887 C
    EXPECT_EQ(melt.assemblage, Assemblage::Liquid);
    EXPECT_EQ(melt.wtLiquid, 100.0);
}

// Outside the point query's range every answer is Unknown and not a number;
// a boundary the correlations leave undefined names nothing.
TEST(PhaseState, UnknownWhereThePointQueryRefuses) {
    const double points[][3] = {
        {1000.5, 100.0, 10.0}, {-273.15, 100.0, 10.0}, {25.0, 5000.5, 10.0}, {25.0, 0.0, 10.0},
        {25.0, 1.0, -0.1},     {25.0, 1.0, 100.5},     {NAN, 1.0, 10.0},     {25.0, NAN, 10.0},
        {25.0, 1.0, NAN},      {INFINITY, 1.0, 10.0},
    };
    for (const auto& pt : points) {
        const PhaseState s = phaseState(pt[0], pt[1], pt[2]);
        EXPECT_EQ(s.assemblage, Assemblage::Unknown) << pt[0] << " " << pt[1] << " " << pt[2];
        for (double v :
             {s.wtVapor, s.wtLiquid, s.fractionVapor, s.fractionLiquid, s.fractionHalite}) {
            EXPECT_TRUE(std::isnan(v));
        }
        const quarvessin::CompositionInput typed{quarvessin::CompositionInput::Unit::WtPercent,
                                                 pt[2]};
        EXPECT_FALSE(queryPoint(pt[0], pt[1], typed).accepted);
    }
    // -20 C below its three-phase pressure: the halite-saturated vapour of
    // the isotherm is not a number there.
    EXPECT_EQ(phaseState(-20.0, 0.01, 10.0).assemblage, Assemblage::Unknown);
    EXPECT_EQ(phaseState(-20.0, 524.0, 20.0).assemblage, Assemblage::Liquid);
    EXPECT_EQ(phaseState(25.0, 5000.0, 10.0).assemblage, Assemblage::Liquid);
}

// The batch, on random points in any order and on a (T, P) grid whose
// consecutive points share temperature and pressure, gives the single
// answers bit for bit; both agree with the point query, whose model objects
// are fresh for every call, so no answer depends on the points before it.
TEST(PhaseState, BatchEqualsSingleEqualsThePointQuery) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> anyT(-30.0, 1000.0);
    std::uniform_real_distribution<double> logP(std::log(1e-4), std::log(5000.0));
    std::uniform_real_distribution<double> anyWt(0.0, 100.0);
    std::vector<double> t, p, wt;
    for (int i = 0; i < 3000; ++i) {
        t.push_back(anyT(random));
        p.push_back(std::exp(logP(random)));
        wt.push_back(i % 50 == 0 ? 100.0 : i % 50 == 1 ? 0.0 : anyWt(random));
    }
    for (double tg : {25.0, 380.0, 600.0, 850.0}) {
        for (double pg : {0.5, 200.0, 1500.0}) {
            for (double w : {0.001, 5.0, 30.0, 60.0, 99.0}) {
                t.push_back(tg);
                p.push_back(pg);
                wt.push_back(w);
            }
        }
    }
    t.push_back(2000.0);  // refused in the middle of a batch
    p.push_back(1.0);
    wt.push_back(1.0);
    std::vector<PhaseState> batch(t.size());
    quarvessin::phaseStates(t.data(), p.data(), wt.data(), t.size(), batch.data());
    std::size_t known = 0;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const std::string where =
            std::to_string(t[i]) + " C " + std::to_string(p[i]) + " bar " + std::to_string(wt[i]);
        EXPECT_TRUE(sameState(batch[i], phaseState(t[i], p[i], wt[i]))) << where;
        const quarvessin::CompositionInput typed{quarvessin::CompositionInput::Unit::WtPercent,
                                                 wt[i]};
        EXPECT_EQ(queryPoint(t[i], p[i], typed).assemblage, assemblageName(batch[i].assemblage))
            << where;
        if (batch[i].assemblage == Assemblage::Unknown) continue;
        ++known;
        expectLeverRule(batch[i], wt[i], where);
    }
    EXPECT_GT(known, t.size() * 9 / 10);

    // Two threads at once, each on its own model objects.
    std::vector<PhaseState> first(t.size()), second(t.size());
    std::thread a(
        [&] { quarvessin::phaseStates(t.data(), p.data(), wt.data(), t.size(), first.data()); });
    std::thread b(
        [&] { quarvessin::phaseStates(t.data(), p.data(), wt.data(), t.size(), second.data()); });
    a.join();
    b.join();
    for (std::size_t i = 0; i < t.size(); ++i) {
        EXPECT_TRUE(sameState(first[i], batch[i]) && sameState(second[i], batch[i])) << i;
    }
}

TEST(PhaseState, AssemblagesInCodeOrderWithThePointQuerysNames) {
    const std::vector<Assemblage>& all = quarvessin::assemblages();
    ASSERT_EQ(all.size(), 8u);
    for (std::size_t i = 0; i < all.size(); ++i) EXPECT_EQ(static_cast<std::size_t>(all[i]), i);
    EXPECT_STREQ(assemblageName(Assemblage::Unknown), "");
    // One point of each known assemblage, named as the point query names it.
    const double p3 = queryPoint(400.0, 1.0).threePhasePressure;
    const struct {
        Assemblage a;
        double t, p, wt;
        const char* name;
    } examples[] = {
        {Assemblage::Vapor, 400.0, 250.0, 0.0, "vapor"},
        {Assemblage::Liquid, 300.0, 500.0, 10.0, "liquid"},
        {Assemblage::LiquidVapor, 400.0, 250.0, 10.0, "liquid+vapor"},
        {Assemblage::LiquidHalite, 300.0, 500.0, 60.0, "liquid+halite"},
        {Assemblage::VaporHalite, 400.0, 100.0, 50.0, "vapor+halite"},
        {Assemblage::VaporLiquidHalite, 400.0, p3, 50.0, "vapor+liquid+halite"},
        {Assemblage::Halite, 400.0, 250.0, 100.0, "halite"},
    };
    for (const auto& e : examples) {
        EXPECT_STREQ(assemblageName(e.a), e.name);
        EXPECT_EQ(phaseState(e.t, e.p, e.wt).assemblage, e.a) << e.name;
        const quarvessin::CompositionInput typed{quarvessin::CompositionInput::Unit::WtPercent,
                                                 e.wt};
        EXPECT_EQ(queryPoint(e.t, e.p, typed).assemblage, e.name);
    }
}
