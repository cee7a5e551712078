// Fluid inclusions: the salinity from the melting of ice (the 1993 fit), the
// salinity from the dissolution of halite, and the homogenisation pressure,
// against published check values and the model's own surfaces.
#include <gtest/gtest.h>
#include <quarvessin/composition.h>
#include <quarvessin/inclusion.h>
#include <quarvessin/isopleth.h>
#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>

#include <cmath>
#include <string>

#include "engine/IceMeltingSalinity.h"

using namespace quarvessin;

namespace {

InclusionInput fromIce(double tmIce) {
    InclusionInput in;
    in.tmIce = tmIce;
    return in;
}

InclusionInput fromWt(double wt, double th, Homogenization mode) {
    InclusionInput in;
    in.wtPercent = wt;
    in.th = th;
    in.mode = mode;
    return in;
}

bool mentions(const InclusionResult& r, const std::string& words) {
    for (const std::string& w : r.warnings) {
        if (w.find(words) != std::string::npos) return true;
    }
    return false;
}

// The model's surfaces evaluated at (t, p), as an independent check of a
// solved pressure [wt% NaCl].
double liquidBranchWt(double tC, double pBar) {
    double t = tC, p = pBar;
    VLLiquidBranch branch(&t, &p);
    branch.Refresh();
    return wtPercent(branch.X);
}

double vaporBranchWt(double tC, double pBar) {
    double t = tC, p = pBar;
    VLVaporBranch branch(&t, &p);
    branch.Refresh();
    return wtPercent(branch.X);
}

}  // namespace

// The check values printed with the 1993 fit, to the two decimals it prints:
// -5 C, -10 C and the eutectic -21.2 C; and no depression, no salt.
TEST(IceMelting, PublishedCheckValues) {
    EXPECT_NEAR(iceMeltingSalinity(-5.0), 7.86, 0.005);
    EXPECT_NEAR(iceMeltingSalinity(-10.0), 13.94, 0.005);
    EXPECT_NEAR(iceMeltingSalinity(iceNaClEutecticTemperature), 23.18, 0.005);
    EXPECT_EQ(iceMeltingSalinity(iceMeltingPureWater), 0.0);
    EXPECT_FALSE(std::signbit(iceMeltingSalinity(iceMeltingPureWater)));
}

// The fit's ends are the ends of what is accepted: the eutectic and 0 C
// answer, a hundredth of a degree beyond either is refused with the reason.
TEST(IceMelting, RefusedBeyondTheEutecticAndAboveZero) {
    const InclusionResult eutectic = inclusionState(fromIce(-21.2));
    ASSERT_TRUE(eutectic.accepted) << eutectic.refusal;
    EXPECT_EQ(eutectic.salinityFrom, "tm_ice");
    EXPECT_NEAR(eutectic.wtPercent, 23.18, 0.005);
    const InclusionResult below = inclusionState(fromIce(-21.21));
    EXPECT_FALSE(below.accepted);
    EXPECT_NE(below.refusal.find("not a binary H2O-NaCl fluid; the eutectic is -21.2 C"),
              std::string::npos)
        << below.refusal;
    EXPECT_TRUE(inclusionState(fromIce(0.0)).accepted);
    EXPECT_FALSE(inclusionState(fromIce(0.01)).accepted);
    EXPECT_FALSE(inclusionState(fromIce(NAN)).accepted);
}

// The three measures of one salinity agree with each other: the mole
// fraction read back as wt%, and the molality from the mole fraction (moles
// of NaCl per kilogram of the water's moles), a different arrangement.
TEST(Inclusion, SalinityInThreeMeasures) {
    const InclusionResult r = inclusionState(fromIce(-10.0));
    ASSERT_TRUE(r.accepted);
    EXPECT_NEAR(wtPercent(r.moleFraction), r.wtPercent, 1e-12 * r.wtPercent);
    const double molality = r.moleFraction / ((1.0 - r.moleFraction) * molarMassH2O / 1000.0);
    EXPECT_NEAR(r.molality, molality, 1e-12 * molality);
    EXPECT_TRUE(std::isnan(r.homogenizationPressure));  // no Th
    EXPECT_NE(r.trapping.find("no Th"), std::string::npos);
}

// Halite dissolving at 300 C: the liquidus at the three-phase pressure there
// (37.72 wt%); dissolving last above Th 250 C, the homogenisation pressure is
// the three-phase pressure at Th (28.4727 bar) and the salinity rises to
// 38.28 wt% at 5000 bar. Values of the fluid-inclusion issue, to the digits
// it prints.
TEST(Inclusion, HaliteDissolvingAt300C) {
    InclusionInput in;
    in.tmHalite = 300.0;
    const InclusionResult vapourPresent = inclusionState(in);
    ASSERT_TRUE(vapourPresent.accepted) << vapourPresent.refusal;
    EXPECT_EQ(vapourPresent.salinityFrom, "tm_halite");
    EXPECT_NEAR(vapourPresent.wtPercent, 37.72, 0.005);
    EXPECT_DOUBLE_EQ(vapourPresent.wtPercent, threePhaseLiquidComposition(300.0));
    EXPECT_FALSE(vapourPresent.haliteLast);

    in.th = 250.0;
    in.mode = Homogenization::Liquid;
    const InclusionResult last = inclusionState(in);
    ASSERT_TRUE(last.accepted);
    EXPECT_TRUE(last.haliteLast);
    EXPECT_EQ(last.wtPercent, vapourPresent.wtPercent);
    EXPECT_NEAR(last.wtPercentAt5000Bar, 38.28, 0.005);
    EXPECT_NEAR(last.homogenizationPressure, 28.4727, 5e-5);
    EXPECT_EQ(last.homogenizationCurve, "three-phase curve");
    EXPECT_NE(last.trapping.find("isochore"), std::string::npos) << last.trapping;
    EXPECT_NE(last.trapping.find("Tm halite 300 C, the minimum trapping temperature"),
              std::string::npos)
        << last.trapping;

    // Halite gone before the bubble (Th above Tm halite): the bubble curve of
    // the salinity, which at Tm halite itself meets the three-phase curve.
    in.th = 300.0;
    const InclusionResult together = inclusionState(in);
    EXPECT_FALSE(together.haliteLast);
    EXPECT_EQ(together.homogenizationCurve, "bubble curve");
    EXPECT_NEAR(together.homogenizationPressure, threePhasePressure(300.0), 1e-6);
}

// The homogenisation pressures lie on the model's surfaces: the bubble
// pressure on the liquid branch at the salinity, the dew pressure on the
// vapour branch, re-evaluated at (Th, P) by the model's own classes.
TEST(Inclusion, HomogenisationPressuresLieOnTheirBranches) {
    struct Case {
        InclusionInput in;
        bool liquid;
    };
    InclusionInput ice = fromIce(-5.0);
    ice.th = 150.0;
    ice.mode = Homogenization::Liquid;
    const Case cases[] = {{ice, true},
                          {fromWt(20.0, 300.0, Homogenization::Liquid), true},
                          {fromWt(10.0, 420.0, Homogenization::Liquid), true},
                          {fromWt(1.0, 420.0, Homogenization::Vapor), false},
                          {fromWt(5.0, 500.0, Homogenization::Vapor), false}};
    for (const Case& c : cases) {
        const InclusionResult r = inclusionState(c.in);
        SCOPED_TRACE(std::to_string(r.wtPercent) + " wt% at " + std::to_string(*c.in.th) + " C");
        ASSERT_TRUE(r.accepted) << r.refusal;
        ASSERT_TRUE(std::isfinite(r.homogenizationPressure));
        EXPECT_TRUE(r.warnings.empty()) << r.warnings.front();
        const double w = c.liquid ? liquidBranchWt(*c.in.th, r.homogenizationPressure)
                                  : vaporBranchWt(*c.in.th, r.homogenizationPressure);
        EXPECT_NEAR(w, r.wtPercent, 1e-9 * r.wtPercent);
    }
}

// The round trip from a point of an isopleth: the liquid-branch composition
// at (400 C, 250 bar), given as the salinity with Th 400 C, gives back 250 bar.
// Pure water (ice melting at 0 C) homogenises at its vapour pressure.
TEST(Inclusion, RoundTripFromAPointOfTheSurface) {
    const double w = liquidBranchWt(400.0, 250.0);
    const InclusionResult r = inclusionState(fromWt(w, 400.0, Homogenization::Liquid));
    EXPECT_NEAR(r.homogenizationPressure, 250.0, 1e-8 * 250.0);

    InclusionInput water = fromIce(0.0);
    water.th = 200.0;
    water.mode = Homogenization::Vapor;
    double t = 200.0, p = 1.0;
    PureWater pure(&t, &p);
    EXPECT_NEAR(inclusionState(water).homogenizationPressure,
                pure.VaporPressure() * model_units::paToBar, 1e-9);
}

// Critical homogenisation: the critical point of the salinity, on the model's
// critical curve; a Th more than 5 K from its temperature is reported.
TEST(Inclusion, CriticalHomogenisation) {
    const CompositionCriticalPoint cp = criticalPointOf(10.0);
    ASSERT_TRUE(cp.found);
    const InclusionResult r = inclusionState(
        fromWt(10.0, cp.tC + 0.9 * criticalTemperatureTolerance, Homogenization::Critical));
    ASSERT_TRUE(r.accepted);
    EXPECT_TRUE(r.warnings.empty());
    EXPECT_EQ(r.criticalTemperature, cp.tC);
    double t = cp.tC;
    CriticalCurve critical(&t);
    critical.Refresh();
    EXPECT_NEAR(r.homogenizationPressure, critical.Pcrit, 1e-9 * critical.Pcrit);
    EXPECT_NEAR(wtPercent(critical.Xcrit), 10.0, 1e-9);
    const InclusionResult far = inclusionState(
        fromWt(10.0, cp.tC - 1.1 * criticalTemperatureTolerance, Homogenization::Critical));
    EXPECT_TRUE(mentions(far, "from the critical temperature")) << far.trapping;
}

// Inputs that disagree answer with a warning; subsets that cannot be answered
// are refused with the reason.
TEST(Inclusion, InconsistentInputs) {
    InclusionInput both = fromIce(-10.0);
    both.tmHalite = 250.0;
    const InclusionResult r = inclusionState(both);
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(r.salinityFrom, "tm_halite");
    EXPECT_TRUE(mentions(r, "disagree"));

    // 40 wt% at 200 C with vapour: above the halite-saturated liquid there.
    const InclusionResult salty = inclusionState(fromWt(40.0, 200.0, Homogenization::Liquid));
    ASSERT_TRUE(salty.accepted);
    EXPECT_TRUE(mentions(salty, "above the halite saturation"));
    EXPECT_TRUE(std::isnan(salty.homogenizationPressure));
    EXPECT_FALSE(mentions(inclusionState(fromWt(20.0, 200.0, Homogenization::Liquid)),
                          "above the halite saturation"));

    InclusionInput wtAndIce = fromIce(-5.0);
    wtAndIce.wtPercent = 8.0;
    InclusionInput thAlone;
    thAlone.th = 200.0;
    thAlone.mode = Homogenization::Liquid;
    InclusionInput noMode = fromIce(-5.0);
    noMode.th = 200.0;
    InclusionInput noTh = fromIce(-5.0);
    noTh.mode = Homogenization::Vapor;
    InclusionInput lowHalite;
    lowHalite.tmHalite = 0.05;
    InclusionInput hotTh = fromWt(10.0, 1000.5, Homogenization::Liquid);
    for (const InclusionInput& in : {wtAndIce, thAlone, noMode, noTh, lowHalite, hotTh}) {
        const InclusionResult refused = inclusionState(in);
        EXPECT_FALSE(refused.accepted);
        EXPECT_FALSE(refused.refusal.empty());
    }
}
