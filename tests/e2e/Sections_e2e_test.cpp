// Complete sections of quarvessin_plotdata, run as a real process and
// compared byte for byte: the console text and every file of the section.
//
// The expected files are built here from the tracing steps of each boundary
// (start value, repeated addition of the step, strict bound, trunc where a
// loop starts at a whole number) with a fresh model object of the test's own
// for every point, and formatted as the files format them. A loop that
// starts, steps or stops differently (one point more or less, a multiplied
// instead of an accumulated step, <= for <), a point read from the wrong
// object or at the wrong state, a missing separator or a wrong number format
// shows as a differing line. The section's special temperatures come from
// solver objects of the test's own and are checked against bisection.
#include <gtest/gtest.h>
#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteMelting.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/IsobaricPhaseBoundaries.h>
#include <quarvessin/model/NaClSublimationCurve.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "DialogueText.h"
#include "RunProgram.h"

using namespace quarvessin;

namespace {

// ---- fixed dialogue texts ----

using dialogue_text::askP;
using dialogue_text::askT;
using dialogue_text::banner;
using dialogue_text::menu;
const std::string isobaricList =
    "The stable phase boundaries are:\n"
    "- the VL surface\n"
    "- the halite liquidus\n"
    "- the VLH surface\n"
    "- the VH surface\n";
const std::string isothermalList =
    "The stable phase diagram boundaries are : \n"
    "- the VL surface\n"
    "- the VH surface\n"
    "- the VLH surface\n"
    "- the halite liquidus\n";

// ---- formats and expected files ----

std::string G(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::string E(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%e", v);
    return text;
}

// NaCl content of mole fraction x [wt%], molar masses 58.443 and 18.015 g/mol.
double Wt(double x) { return 100.0 * (58.443 * x) / ((1.0 - x) * 18.015 + 58.443 * x); }

// Weight percent written for pure water: the conversion of x = 1e-10 [wt%].
constexpr double pureWaterMarker = 3.244129891028844e-08;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Text of one boundary file: data lines of weight percent, a tab and the
// section coordinate; an empty line between two pieces.
class ExpectedFile {
  public:
    void Point(double x, double y) { Raw(Wt(x), y); }
    void Raw(double w, double y) { text += Format(w) + "\t" + Format(y) + "\n"; }
    void Separate() { text += "\n"; }
    void Scientific() { scientific = true; }
    std::string text;

  private:
    std::string Format(double v) const { return scientific ? E(v) : G(v); }
    bool scientific = false;
};

// ---- model values of the test's own ----

// Bisection for f(t) = target on [a, b] where f - target changes sign.
template <typename F>
double Bisect(F f, double target, double a, double b) {
    const bool rising = f(b) > f(a);
    for (int i = 0; i < 200; ++i) {
        const double m = 0.5 * (a + b);
        if ((f(m) < target) == rising) {
            a = m;
        } else {
            b = m;
        }
    }
    return 0.5 * (a + b);
}

// Field `field` of a fresh object of class C bound to (tc, p) after Refresh.
template <typename C>
double At(double tc, double p, double C::*field) {
    double t = tc;
    double pp = p;
    C object(&t, &pp);
    object.Refresh();
    return object.*field;
}

// The same for a class bound to a temperature only.
template <typename C>
double At(double tc, double C::*field) {
    double t = tc;
    C object(&t);
    object.Refresh();
    return object.*field;
}

double ThreePhasePressure(double tc) { return At(tc, &HaliteLiquidVaporCurve::P); }
double CriticalComposition(double tc) { return At(tc, &CriticalCurve::Xcrit); }
double CriticalPressure(double tc) { return At(tc, &CriticalCurve::Pcrit); }
double MeltingTemperature(double p) { return At(25.0, p, &HaliteMelting::Thm); }
double LiquidusX(double tc, double p) { return At(tc, p, &HaliteLiquidus::xL); }
double HaliteVaporX(double tc, double p) { return At(tc, p, &HaliteSaturatedVapor::xVH); }
double VaporBranchX(double tc, double p) { return At(tc, p, &VLVaporBranch::X); }
double LiquidBranchX(double tc, double p) { return At(tc, p, &VLLiquidBranch::X); }
double SublimationPressure(double tc) { return At(tc, 1.0, &NaClSublimationCurve::Psub); }

// Temperatures of the three-phase curve at p below and above its maximum [C].
double ThreePhaseLow(double p) {
    return Bisect(ThreePhasePressure, p, 0.0, HaliteLiquidVaporCurve::TatPmax());
}
double ThreePhaseHigh(double p) {
    return Bisect(ThreePhasePressure, p, HaliteLiquidVaporCurve::TatPmax(), 800.7);
}

// Temperature of the critical curve at p [C].
double CriticalTemperature(double p) {
    double t = 0.0;
    CriticalCurve curve(&t);
    return Bisect([&curve](double tc) { return curve.PfromT(&tc); }, p, 300.0, 1000.0);
}

// Temperature at which the three-phase curve reaches p on the side of tGuess,
// from a solver object of the test's own, checked against its pressure (the
// solver's tolerance, 1e-8 bar) and against bisection within 1e-6 C (that
// tolerance over the slope of about 0.1 bar/C next to the maximum) [C].
double SolvedThreePhaseTemperature(double p, double tGuess) {
    double t = tGuess;
    double pp = p;
    double x = 0.01;
    IsobaricPhaseBoundaries solver(&t, &pp, &x);
    solver.CopyInputs();
    const double result = solver.VLH_TemperatureFromP(&solver.p, solver.t);
    const double bisected = tGuess < 594.0 ? ThreePhaseLow(p) : ThreePhaseHigh(p);
    EXPECT_LT(std::fabs(ThreePhasePressure(result) - p), 1e-8) << p;
    EXPECT_NEAR(result, bisected, 1e-6) << p;
    return result;
}

// Temperature of the critical curve at p from a critical-curve object of the
// test's own, checked against bisection within 1e-9 C [C].
double SolvedCriticalTemperature(double p) {
    double t = 0.0;
    double pp = p;
    CriticalCurve curve(&t);
    const double result = curve.TfromP(&pp);
    EXPECT_NEAR(result, CriticalTemperature(p), 1e-9) << p;
    return result;
}

double BoilingTemperature(double p) {
    double t = 100.0;
    double pp = p;
    PureWater water(&t, &pp);
    return water.BoilingTemperature();
}

double VaporPressureBar(double tc) {
    double t = tc;
    double pp = 1.0;
    PureWater water(&t, &pp);
    return water.VaporPressure() * 1e-05;
}

std::string Name(const std::string& prefix, double value, const char* suffix) {
    char text[128];
    std::snprintf(text, sizeof text, "%s%f%s", prefix.c_str(), value, suffix);
    return text;
}

std::string Input(int choice, const std::string& value) {
    return std::to_string(choice) + "\n" + value + "\n";
}

void ExpectCleanExit(const RunResult& run) {
    EXPECT_TRUE(run.exited && run.exitStatus == 0) << "status " << run.exitStatus;
    EXPECT_EQ(run.err, "");
}

// Compares the files of a run, named in `names`, with their expected texts;
// they must be the only files the run created. Reports the first differing
// line of each file.
void ExpectFiles(const RunResult& run, const std::vector<std::string>& names,
                 const std::vector<ExpectedFile>& files) {
    ASSERT_EQ(names.size(), files.size());
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(run.created, sorted);
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i]);
        const std::string actual = run.readFile(names[i]);
        const std::vector<std::string> got = Lines(actual);
        const std::vector<std::string> want = Lines(files[i].text);
        EXPECT_EQ(got.size(), want.size());
        for (std::size_t k = 0; k < std::min(got.size(), want.size()); ++k) {
            if (got[k] != want[k]) {
                ADD_FAILURE() << "line " << k + 1 << ": " << got[k] << " instead of " << want[k];
                break;
            }
        }
        EXPECT_TRUE(actual == files[i].text);
    }
}

// Liquidus of a section above the three-phase maximum: 1 C up to the melting
// point of halite at p, then pure halite there.
ExpectedFile HighPressureLiquidus(double p) {
    ExpectedFile lh;
    const double tMelt = MeltingTemperature(p);
    for (double t = 1.0; t <= tMelt; t += 1.0) lh.Point(LiquidusX(t, p), t);
    lh.Raw(100, tMelt);
    return lh;
}

// ---- isobaric sections ----

// Isobaric section at p below the three-phase maximum: four boundaries. The
// liquidus' upper piece ends at the melting point of halite with pure halite.
void CheckFourBoundaryIsobar(double p, const std::string& value) {
    SCOPED_TRACE(value);
    const RunResult run = runProgram(Input(1, value));
    ExpectCleanExit(run);

    const double tHigh = SolvedThreePhaseTemperature(p, 700.0);
    const double tLow = SolvedThreePhaseTemperature(p, 100.0);
    const double xVLow = HaliteVaporX(tLow, p);
    const double xLLow = LiquidusX(tLow, p);
    const double xVHigh = HaliteVaporX(tHigh, p);
    const double xLHigh = LiquidusX(tHigh, p);
    const double tMelt = MeltingTemperature(p);

    ExpectedFile vlh;
    vlh.Point(xVLow, tLow);
    vlh.Point(xLLow, tLow);
    vlh.Point(1.0, tLow);
    vlh.Separate();
    vlh.Point(xVHigh, tHigh);
    vlh.Point(xLHigh, tHigh);
    vlh.Point(1.0, tHigh);

    ExpectedFile lh;
    for (double t = 1.0; t < tLow; t += 1.0) lh.Point(LiquidusX(t, p), t);
    lh.Point(xLLow, tLow);
    lh.Separate();
    lh.Point(xLHigh, tHigh);
    for (double t = std::trunc(tHigh + 1); t <= tMelt; t += 1.0) lh.Point(LiquidusX(t, p), t);
    lh.Raw(100, tMelt);

    ExpectedFile vl;
    for (double t = 1000.0; t > tHigh; t += -1.0) vl.Point(VaporBranchX(t, p), t);
    vl.Point(xVHigh, tHigh);
    vl.Separate();
    vl.Point(xVLow, tLow);
    std::string boilText;
    if (p < 220.54915) {
        const double tBoil = BoilingTemperature(p);
        std::ostringstream text;
        text << "found water saturation T at " << tBoil << "\n";
        boilText = text.str();
        for (double t = std::trunc(tLow); t > tBoil + 1; t += -1.0) vl.Point(VaporBranchX(t, p), t);
        for (double t = tBoil + 1; t > tBoil; t += -0.1) vl.Point(VaporBranchX(t, p), t);
        vl.Raw(pureWaterMarker, tBoil);
        vl.Raw(pureWaterMarker, tBoil);
        for (double t = std::trunc(tBoil + 1); t < tLow; t += 1.0) vl.Point(LiquidBranchX(t, p), t);
    } else {
        const double tCrit = SolvedCriticalTemperature(p);
        for (double t = std::trunc(tLow); t > tCrit + 1; t += -1.0) vl.Point(VaporBranchX(t, p), t);
        for (double t = tCrit + 1; t > tCrit; t += -0.1) vl.Point(VaporBranchX(t, p), t);
        vl.Point(CriticalComposition(tCrit), tCrit);
        const double b = std::trunc(tCrit + 1);
        for (double t = tCrit + 0.1; t < b; t += 0.1) vl.Point(LiquidBranchX(t, p), t);
        for (double t = b; t < tLow; t += 1.0) vl.Point(LiquidBranchX(t, p), t);
    }
    vl.Point(xLLow, tLow);
    vl.Separate();
    vl.Point(xLHigh, tHigh);
    for (double t = std::trunc(tHigh + 1); t < 1000.1; t += 1.0) vl.Point(LiquidBranchX(t, p), t);

    ExpectedFile vh;
    vh.Point(xVLow, tLow);
    for (double t = std::trunc(tLow + 1); t < tHigh; t += 1.0) vh.Point(HaliteVaporX(t, p), t);
    vh.Point(xVHigh, tHigh);

    const std::string vlName = Name("liquid+vapor_", p, "bar.dat");
    const std::string lhName = Name("liquid+halite_", p, "bar.dat");
    const std::string vlhName = Name("vapor+liquid+halite_", p, "bar.dat");
    const std::string vhName = Name("vapor+halite_", p, "bar.dat");
    EXPECT_EQ(run.out, banner + menu + askP + isobaricList + "Writing VLH data to file " + vlhName +
                           "\n" + "Writing LH data to file " + lhName + "\n" +
                           "Writing VL data to file " + vlName + "\n" + boilText +
                           "Writing VH data to file " + vhName + "\n" + "terminating ...\n");
    ExpectFiles(run, {vlName, lhName, vlhName, vhName}, {vl, lh, vlh, vh});
}

TEST(IsobaricSection, BelowTheCriticalPressureOfWaterTheLoopClosesAtBoilingWater) {
    for (const char* value : {"1", "5", "50", "100", "150", "220.5"}) {
        CheckFourBoundaryIsobar(std::stod(value), value);
    }
}

TEST(IsobaricSection, UpToTheThreePhaseMaximumTheLoopClosesAtTheCriticalPoint) {
    // At the critical pressure of water the critical point is that of water.
    EXPECT_NEAR(SolvedCriticalTemperature(220.54915), 373.976, 1e-9);
    for (const char* value : {"220.54915", "250", "300", "350", "390"}) {
        CheckFourBoundaryIsobar(std::stod(value), value);
    }
}

// From the three-phase maximum up to the critical pressure at 1000 C: the
// liquidus, then the vapour-liquid surface in one piece through the critical
// point, both announced once complete.
TEST(IsobaricSection, FromTheThreePhaseMaximumTheVaporLiquidSurfacePassesTheCriticalPoint) {
    for (const char* value : {"390.1474443379598", "1000", "2000"}) {
        SCOPED_TRACE(value);
        const double p = std::stod(value);
        ASSERT_LT(p, CriticalPressure(1000.0));
        const RunResult run = runProgram(Input(1, value));
        ExpectCleanExit(run);
        const double tCrit = SolvedCriticalTemperature(p);
        ExpectedFile vl;
        for (double t = 1000.0; t > tCrit; t += -1.0) vl.Point(VaporBranchX(t, p), t);
        vl.Point(CriticalComposition(tCrit), tCrit);
        for (double t = std::trunc(tCrit + 1); t < 1000.1; t += 1.0) {
            vl.Point(LiquidBranchX(t, p), t);
        }
        const std::string lhName = Name("liquid+halite_", p, "bar.dat");
        const std::string vlName = Name("vapor+liquid_", p, "bar.dat");
        EXPECT_EQ(run.out, banner + menu + askP +
                               "The stable phase boundaries are:\n"
                               "- the VL surfcase\n"
                               "- the halite liquidus\n"
                               "Liquidus data written to file " +
                               lhName + "\n" + "V+L data written to file " + vlName +
                               ", terminating ...\n\n");
        ExpectFiles(run, {lhName, vlName}, {HighPressureLiquidus(p), vl});
    }
}

TEST(IsobaricSection, AboveTheCriticalPressureAt1000COnlyTheLiquidusRemains) {
    for (const char* value : {"2500", "5000"}) {
        SCOPED_TRACE(value);
        const double p = std::stod(value);
        ASSERT_GT(p, CriticalPressure(1000.0));
        const std::string name = Name("liquid+halite_", p, "bar.dat");
        const RunResult run = runProgram(Input(1, value));
        ExpectCleanExit(run);
        EXPECT_EQ(run.out, banner + menu + askP + "The only stable phase boundary is:\n" +
                               "- the halite liquidus.\n" + "Data written to file " + name +
                               ", terminating ...\n\n");
        ExpectFiles(run, {name}, {HighPressureLiquidus(p)});
    }
}

// ---- isothermal sections ----

// Isothermal section at t below the NaCl triple point. Only the vapour-halite
// file is in scientific notation, its pure-halite 100 included.
void CheckIsotherm(double t, const std::string& value) {
    SCOPED_TRACE(value);
    const RunResult run = runProgram(Input(2, value));
    ExpectCleanExit(run);

    const double p3 = ThreePhasePressure(t);
    const double pSub = SublimationPressure(t);
    const double dVH = (p3 - pSub) * 0.01;
    const double xVH3 = HaliteVaporX(t, p3);
    const double xLH3 = LiquidusX(t, p3);

    ExpectedFile vh;
    vh.Scientific();
    vh.Raw(100, pSub);
    for (double p = pSub + dVH; p < p3; p += dVH) vh.Point(HaliteVaporX(t, p), p);
    vh.Point(xVH3, p3);

    ExpectedFile vlh;
    vlh.Point(xVH3, p3);
    vlh.Point(xLH3, p3);
    vlh.Raw(100, p3);

    ExpectedFile lh;
    lh.Point(xLH3, p3);
    for (double p = std::trunc(p3 + 1); p < 5000.1; p += 1.0) lh.Point(LiquidusX(t, p), p);

    ExpectedFile vl;
    const bool pureWater = t <= 373.976;
    const double pTop = pureWater ? VaporPressureBar(t) : CriticalPressure(t);
    const double dVL = (pTop - p3) * 0.01;
    vl.Point(xVH3, p3);
    for (double p = p3 + dVL; p < pTop; p += dVL) vl.Point(VaporBranchX(t, p), p);
    if (pureWater) {
        vl.Raw(pureWaterMarker, pTop * 0.99999999);
        vl.Raw(0, pTop);
        vl.Raw(pureWaterMarker, pTop * 0.99999999);
    } else {
        vl.Point(CriticalComposition(t), pTop);
    }
    for (double p = pTop - dVL; p > p3; p += -dVL) vl.Point(LiquidBranchX(t, p), p);
    vl.Point(xLH3, p3);

    const std::string vlName = Name("liquid+vapor_", t, "c.dat");
    const std::string lhName = Name("liquid+halite_", t, "c.dat");
    const std::string vlhName = Name("vapor+liquid+halite_", t, "c.dat");
    const std::string vhName = Name("vapor+halite_", t, "c.dat");
    EXPECT_EQ(run.out, banner + menu + askT + isothermalList + "Writing VH data to file " + vhName +
                           "\n" + "Writing VLH data to file " + vlhName + "\n" +
                           "Writing LH data to file " + lhName + "\n" + "Writing VL data to file " +
                           vlName + "\n");
    ExpectFiles(run, {vlName, lhName, vlhName, vhName}, {vl, lh, vlh, vh});
}

// At 114 C and 229.3 C the last step of the vapour-halite curve lands within
// rounding of the three-phase pressure: the number of points there depends
// on the step being (p3 - pSub) * 0.01 to the last bit.
// At 114 C and 229.3 C the last step of the vapour-halite curve lands within
// rounding of the three-phase pressure: the number of points there depends on
// the step being (p3 - pSub) * 0.01 to the last bit. Below the triple point of
// water (-10 C) the vapour pressure is not a number, and the pure-water lines
// carry it as computed.
TEST(IsothermalSection, UpToTheCriticalTemperatureOfWaterTheLoopClosesAtTheVaporPressure) {
    for (const char* value :
         {"-10", "0.5", "25", "100", "114", "200", "229.3", "300", "373", "373.976"}) {
        CheckIsotherm(std::stod(value), value);
    }
}

TEST(IsothermalSection, AboveTheCriticalTemperatureOfWaterTheLoopClosesAtTheCriticalPoint) {
    for (const char* value : {"373.977", "374", "400", "500", "600", "700", "800.69"}) {
        CheckIsotherm(std::stod(value), value);
    }
}

// ---- files that cannot be written ----

// A directory in the place of one of the section's files: the section stops,
// the failure is reported once on standard error, the run ends with status 1,
// and the file is never announced as written.
TEST(SectionFiles, AFileThatCannotBeCreatedStopsTheSection) {
    struct Case {
        std::string input, blocked, announcement;
    };
    const Case cases[] = {
        {Input(1, "300"), "vapor+halite_300.000000bar.dat", "Writing VH data"},
        {Input(1, "300"), "liquid+halite_300.000000bar.dat", "Writing LH data"},
        {Input(1, "2000"), "vapor+liquid_2000.000000bar.dat", "written to file"},
        {Input(1, "5000"), "liquid+halite_5000.000000bar.dat", "written to file"},
        {Input(2, "25"), "vapor+halite_25.000000c.dat", "Writing VH data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blocked);
        RunOptions options;
        options.input = c.input;
        const std::string blocked = c.blocked;
        options.prepare = [blocked](const ScratchDir& dir) {
            ASSERT_EQ(::mkdir(dir.file(blocked).c_str(), 0755), 0);
        };
        const RunResult run = runProgram(options);
        EXPECT_TRUE(run.exited && run.exitStatus == 1) << "status " << run.exitStatus;
        EXPECT_EQ(run.err.find("cannot write file " + blocked), 0u) << run.err;
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_EQ(run.out.find(c.announcement), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("terminating"), std::string::npos) << run.out;
    }
}

}  // namespace
