// Complete sections of quarvessin_plotdata, run as a real process: the console
// text byte for byte, the set of files, the pieces of every file, the lines the
// tracing fixes (first and last points, tie lines, pure-water and critical
// points) and a few interior points. Expected values are formed here from the
// fixed dialogue texts and from model objects of the test's own, solved for
// the section's special temperatures and pressures by bisection rather than
// by the program's Newton iterations, and formatted as the files format them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "CriticalCurve.h"
#include "HaliteLiquidVaporCurve.h"
#include "HaliteLiquidus.h"
#include "HaliteMelting.h"
#include "HaliteSaturatedVapor.h"
#include "NaClSublimationCurve.h"
#include "PureWater.h"
#include "RunProgram.h"
#include "VLLiquidBranch.h"
#include "VLVaporBranch.h"

namespace {

// ---- fixed dialogue texts ----

const std::string star = std::string(50, '*') + "\n";
const std::string banner = star + "Welcome to quarvessin_plotdata, version 0.1 / 2007\n" + star +
                           "\n" + star +
                           "* quarvessin_plotdata can calculate isobaric     *\n"
                           "* and isothermal sections through the H2O-NaCl   *\n"
                           "* phase diagram for you. It will generate simple *\n"
                           "* two-column ASCII text files for you, which     *\n"
                           "* have a self-explaining name and can easily be  *\n"
                           "* imported into typical plot program.            *\n"
                           "* The first column is wt%NaCl, the second        *\n"
                           "* temperature in C for isobars and               *\n"
                           "* pressure in bar for isotherms                  *\n" +
                           star + "\n\n";
const std::string menu =
    "Please enter number of type of diagram to be calculated:\n"
    "[1] isobaric section\n"
    "[2] isothermal section\n";
const std::string askP = "Please enter pressure in bar (valid range: 1.0 to 5000) : ";
const std::string askT = "Please enter temperature : ";
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

// ---- formats and file structure ----

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

std::string Line(double x, double y) { return G(Wt(x)) + "\t" + G(y); }
std::string RawLine(double w, double y) { return G(w) + "\t" + G(y); }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Pieces of a boundary file: runs of data lines between empty lines. Also
// checks the frame: the file ends in a line feed, never with an empty line,
// and no two separators follow each other.
std::vector<std::vector<std::string>> Pieces(const std::string& text) {
    EXPECT_FALSE(text.empty());
    if (text.empty()) return {};
    EXPECT_EQ(text.back(), '\n');
    std::vector<std::vector<std::string>> pieces(1);
    for (const std::string& line : Lines(text)) {
        if (line.empty()) {
            EXPECT_FALSE(pieces.back().empty()) << "empty piece";
            pieces.emplace_back();
        } else {
            pieces.back().push_back(line);
        }
    }
    EXPECT_FALSE(pieces.back().empty()) << "file ends with a separator";
    return pieces;
}

std::string Column(const std::string& line, int index) {
    const std::size_t tab = line.find('\t');
    return index == 0 ? line.substr(0, tab) : line.substr(tab + 1);
}

// Index of the first line whose second column shows the value y.
std::size_t IndexOfTemperature(const std::vector<std::string>& lines, double y) {
    std::size_t i = 0;
    while (i < lines.size() && Column(lines[i], 1) != G(y)) ++i;
    EXPECT_LT(i, lines.size()) << "no line at " << G(y);
    return i;
}

int Count(const std::vector<std::string>& lines, const std::string& wanted) {
    int n = 0;
    for (const std::string& line : lines) n += line == wanted ? 1 : 0;
    return n;
}

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

// ---- isobaric sections below the three-phase maximum (cases A and B) ----

struct FourBoundaries {
    std::string vl, lh, vlh, vh;  // file names
};

FourBoundaries IsobaricNames(double p) {
    return {Name("liquid+vapor_", p, "bar.dat"), Name("liquid+halite_", p, "bar.dat"),
            Name("vapor+liquid+halite_", p, "bar.dat"), Name("vapor+halite_", p, "bar.dat")};
}

// The checks shared by cases A and B; returns the second piece of the
// vapour-liquid file (the low-temperature loop) for the case's own checks.
std::vector<std::string> CheckFourBoundaryIsobar(const RunResult& run, double p,
                                                 const std::string& loopMessage) {
    const FourBoundaries names = IsobaricNames(p);
    EXPECT_EQ(run.out, banner + menu + askP + isobaricList + "Writing VLH data to file " +
                           names.vlh + "\n" + "Writing LH data to file " + names.lh + "\n" +
                           "Writing VL data to file " + names.vl + "\n" + loopMessage +
                           "Writing VH data to file " + names.vh + "\n" + "terminating ...\n");
    EXPECT_EQ(run.created, (std::vector<std::string>{names.lh, names.vl, names.vh, names.vlh}));

    const double tLow = ThreePhaseLow(p);
    const double tHigh = ThreePhaseHigh(p);
    const double xVLow = HaliteVaporX(tLow, p);
    const double xLLow = LiquidusX(tLow, p);
    const double xVHigh = HaliteVaporX(tHigh, p);
    const double xLHigh = LiquidusX(tHigh, p);
    const double tMelt = MeltingTemperature(p);

    // Three-phase file: two tie lines of vapour, liquid and halite.
    const auto vlh = Pieces(run.readFile(names.vlh));
    EXPECT_EQ(vlh, (std::vector<std::vector<std::string>>{
                       {Line(xVLow, tLow), Line(xLLow, tLow), RawLine(100, tLow)},
                       {Line(xVHigh, tHigh), Line(xLHigh, tHigh), RawLine(100, tHigh)}}));

    // Liquidus: 1 C up to the lower tie line; upper tie line up to the melting
    // point of halite, ending with pure halite there.
    const auto lh = Pieces(run.readFile(names.lh));
    EXPECT_EQ(lh.size(), 2u);
    if (lh.size() == 2) {
        EXPECT_EQ(lh[0].front(), Line(LiquidusX(1.0, p), 1.0));
        EXPECT_EQ(lh[0].size(), static_cast<std::size_t>(std::ceil(tLow)));  // t = 1 .. < tLow, then tLow
        EXPECT_EQ(lh[0].back(), Line(xLLow, tLow));
        EXPECT_EQ(lh[0][49], Line(LiquidusX(50.0, p), 50.0));
        EXPECT_EQ(lh[1].front(), Line(xLHigh, tHigh));
        EXPECT_EQ(lh[1].back(), RawLine(100, tMelt));
        // Every point of the second piece lies between the tie line and the
        // melting point, and no composition exceeds pure NaCl.
        EXPECT_EQ(lh[1].size(), 2 + static_cast<std::size_t>(std::floor(tMelt) - std::trunc(tHigh + 1) + 1));
        int aboveHalite = 0;
        for (const auto& piece : lh) {
            for (const std::string& line : piece) {
                aboveHalite += std::stod(Column(line, 0)) > 100.0 ? 1 : 0;
            }
        }
        EXPECT_EQ(aboveHalite, 0);
        if (lh[1].size() > 2) {
            const double t = std::trunc(tHigh + 1);
            EXPECT_EQ(lh[1][1], Line(LiquidusX(t, p), t));
            EXPECT_EQ(lh[1][lh[1].size() - 2], Line(LiquidusX(std::floor(tMelt), p), std::floor(tMelt)));
        }
    }

    // Vapour-liquid file: vapour branch from 1000 C to the upper tie line; the
    // loop from the lower tie line's vapour to its liquid; the liquid branch
    // from the upper tie line to 1000 C.
    const auto vl = Pieces(run.readFile(names.vl));
    EXPECT_EQ(vl.size(), 3u);
    if (vl.size() != 3) return {};
    EXPECT_EQ(vl[0].front(), Line(VaporBranchX(1000.0, p), 1000.0));
    EXPECT_EQ(vl[0][1], Line(VaporBranchX(999.0, p), 999.0));
    EXPECT_EQ(vl[0].back(), Line(xVHigh, tHigh));
    EXPECT_EQ(vl[0].size(), static_cast<std::size_t>(1000 - std::floor(tHigh) + 1));
    EXPECT_EQ(vl[1].front(), Line(xVLow, tLow));
    EXPECT_EQ(vl[1].back(), Line(xLLow, tLow));
    EXPECT_EQ(vl[2].front(), Line(xLHigh, tHigh));
    EXPECT_EQ(vl[2].back(), Line(LiquidBranchX(1000.0, p), 1000.0));
    EXPECT_EQ(vl[2].size(), static_cast<std::size_t>(1000 - std::floor(tHigh) + 1));

    // Vapour saturated with halite from the lower to the upper tie line.
    const auto vh = Pieces(run.readFile(names.vh));
    EXPECT_EQ(vh.size(), 1u);
    if (vh.size() == 1) {
        EXPECT_EQ(vh[0].front(), Line(xVLow, tLow));
        EXPECT_EQ(vh[0].back(), Line(xVHigh, tHigh));
        EXPECT_EQ(vh[0].size(), static_cast<std::size_t>(std::ceil(tHigh) - std::floor(tLow + 1) + 2));
        const double t = std::trunc(tLow + 1) + 10.0;
        EXPECT_EQ(vh[0][11], Line(HaliteVaporX(t, p), t));
    }
    return vl[1];
}

TEST(IsobaricSection, At1barTheLoopClosesAtBoilingWater) {
    const double p = 1.0;
    const double tBoil = BoilingTemperature(p);
    std::ostringstream boilText;
    boilText << "found water saturation T at " << tBoil << "\n";
    const RunResult run = runProgram(Input(1, "1"));
    ExpectCleanExit(run);
    const auto loop = CheckFourBoundaryIsobar(run, p, boilText.str());
    ASSERT_FALSE(loop.empty());

    // Pure water boiling at p: two identical lines, the end of the vapour
    // branch and the start of the liquid branch.
    const std::string water = RawLine(3.244129891028844e-08, tBoil);
    EXPECT_EQ(Count(loop, water), 2);
    std::size_t at = 0;
    while (at < loop.size() && loop[at] != water) ++at;
    ASSERT_LT(at + 2, loop.size());
    EXPECT_EQ(loop[at + 1], water);
    // Before them the vapour branch in 0.1 C steps from tBoil + 1 (ten
    // steps, or eleven when the tenth lands a rounding error above tBoil);
    // after them the liquid branch from trunc(tBoil + 1) in 1 C steps.
    const double t0 = tBoil + 1;
    const std::size_t first = IndexOfTemperature(loop, t0);
    EXPECT_EQ(loop[first], Line(VaporBranchX(t0, p), t0));
    EXPECT_TRUE(at - first == 10 || at - first == 11) << at - first;
    const double t1 = std::trunc(tBoil + 1);
    EXPECT_EQ(loop[at + 2], Line(LiquidBranchX(t1, p), t1));
}

TEST(IsobaricSection, AtTheCriticalPressureOfWaterTheLoopClosesAtTheCriticalPoint) {
    const double p = 220.54915;
    const RunResult run = runProgram(Input(1, "220.54915"));
    ExpectCleanExit(run);
    const auto loop = CheckFourBoundaryIsobar(run, p, "");
    // The critical point at 220.54915 bar is that of pure water.
    const double tCrit = CriticalTemperature(p);
    EXPECT_NEAR(tCrit, 373.976, 1e-9);  // critical temperature of water
    EXPECT_EQ(Count(loop, Line(0.0, tCrit)), 1);
    EXPECT_EQ(run.out.find("found water saturation"), std::string::npos);
}

TEST(IsobaricSection, At300barTheLoopPassesTheCriticalPointOnce) {
    const double p = 300.0;
    const RunResult run = runProgram(Input(1, "300"));
    ExpectCleanExit(run);
    const auto loop = CheckFourBoundaryIsobar(run, p, "");
    ASSERT_FALSE(loop.empty());
    const double tCrit = CriticalTemperature(p);
    const std::string critical = Line(CriticalComposition(tCrit), tCrit);
    ASSERT_EQ(Count(loop, critical), 1);
    std::size_t at = 0;
    while (loop[at] != critical) ++at;
    // Around it the 0.1 C steps: the vapour branch down from tCrit + 1, the
    // liquid branch up from tCrit + 0.1 below b = trunc(tCrit + 1).
    const std::size_t first = IndexOfTemperature(loop, tCrit + 1);
    EXPECT_TRUE(at - first == 10 || at - first == 11) << at - first;
    EXPECT_EQ(loop[at + 1], Line(LiquidBranchX(tCrit + 0.1, p), tCrit + 0.1));
    const double b = std::trunc(tCrit + 1);
    std::size_t k = at + 1;
    while (k < loop.size() && Column(loop[k], 1) != G(b)) ++k;
    ASSERT_LT(k, loop.size());
    EXPECT_EQ(loop[k], Line(LiquidBranchX(b, p), b));
    // Steps tCrit + 0.1 k below b: k < (b - tCrit) / 0.1.
    EXPECT_EQ(k - at - 1, static_cast<std::size_t>(std::ceil((b - tCrit) / 0.1) - 1));
}

// ---- isobaric sections at and above the three-phase maximum ----

// Liquidus from 1 C to the melting point of halite, ending with pure halite.
void CheckHighPressureLiquidus(const RunResult& run, double p) {
    const std::string name = Name("liquid+halite_", p, "bar.dat");
    const auto lh = Pieces(run.readFile(name));
    ASSERT_EQ(lh.size(), 1u);
    const double tMelt = MeltingTemperature(p);
    EXPECT_EQ(lh[0].size(), static_cast<std::size_t>(std::floor(tMelt)) + 1);
    EXPECT_EQ(lh[0].front(), Line(LiquidusX(1.0, p), 1.0));
    EXPECT_EQ(lh[0][499], Line(LiquidusX(500.0, p), 500.0));
    EXPECT_EQ(lh[0].back(), RawLine(100, tMelt));
}

void CheckAboveMaximumWithVaporLiquid(double p, const std::string& value) {
    SCOPED_TRACE(value);
    const std::string lhName = Name("liquid+halite_", p, "bar.dat");
    const std::string vlName = Name("vapor+liquid_", p, "bar.dat");
    const RunResult run = runProgram(Input(1, value));
    ExpectCleanExit(run);
    EXPECT_EQ(run.out, banner + menu + askP +
                           "The stable phase boundaries are:\n"
                           "- the VL surfcase\n"
                           "- the halite liquidus\n"
                           "Liquidus data written to file " + lhName + "\n" +
                           "V+L data written to file " + vlName + ", terminating ...\n\n");
    EXPECT_EQ(run.created, (std::vector<std::string>{lhName, vlName}));
    CheckHighPressureLiquidus(run, p);

    // One piece from 1000 C down the vapour branch, through the critical
    // point and up the liquid branch to 1000 C.
    const auto vl = Pieces(run.readFile(vlName));
    ASSERT_EQ(vl.size(), 1u);
    const double tCrit = CriticalTemperature(p);
    const std::string critical = Line(CriticalComposition(tCrit), tCrit);
    EXPECT_EQ(Count(vl[0], critical), 1);
    EXPECT_EQ(vl[0].front(), Line(VaporBranchX(1000.0, p), 1000.0));
    EXPECT_EQ(vl[0].back(), Line(LiquidBranchX(1000.0, p), 1000.0));
    const std::size_t below = static_cast<std::size_t>(1000 - std::floor(tCrit));
    ASSERT_LT(below + 1, vl[0].size());
    EXPECT_EQ(vl[0][below], critical);
    const double t = std::trunc(tCrit + 1);
    EXPECT_EQ(vl[0][below + 1], Line(LiquidBranchX(t, p), t));
    EXPECT_EQ(vl[0].size(), below + 1 + static_cast<std::size_t>(1000 - t + 1));
}

TEST(IsobaricSection, AtTheThreePhaseMaximumTheVaporLiquidSurfacePassesTheCriticalPoint) {
    CheckAboveMaximumWithVaporLiquid(390.1474443379598, "390.1474443379598");
}

TEST(IsobaricSection, At2000barTheCriticalPointLiesBelow1000C) {
    // 2000 bar lies below the critical pressure at 1000 C, 2500 bar above it.
    ASSERT_LT(2000.0, CriticalPressure(1000.0));
    CheckAboveMaximumWithVaporLiquid(2000.0, "2000");
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
        EXPECT_EQ(run.created, std::vector<std::string>{name});
        CheckHighPressureLiquidus(run, p);
    }
}

// ---- isothermal sections ----

struct Isotherm {
    RunResult run;
    FourBoundaries names;
    double p3, pSub;
    std::vector<std::string> vl;  // the one piece of the vapour-liquid file
};

// Runs the section at t and checks what all isothermal sections share.
Isotherm RunIsotherm(double t, const std::string& value) {
    Isotherm s{runProgram(Input(2, value)),
               {Name("liquid+vapor_", t, "c.dat"), Name("liquid+halite_", t, "c.dat"),
                Name("vapor+liquid+halite_", t, "c.dat"), Name("vapor+halite_", t, "c.dat")},
               ThreePhasePressure(t),
               SublimationPressure(t),
               {}};
    const RunResult& run = s.run;
    const FourBoundaries& n = s.names;
    ExpectCleanExit(run);
    EXPECT_EQ(run.out, banner + menu + askT + isothermalList + "Writing VH data to file " + n.vh +
                           "\n" + "Writing VLH data to file " + n.vlh + "\n" +
                           "Writing LH data to file " + n.lh + "\n" + "Writing VL data to file " +
                           n.vl + "\n");
    EXPECT_EQ(run.created, (std::vector<std::string>{n.lh, n.vl, n.vh, n.vlh}));

    const double p3 = s.p3;
    const double xVH3 = HaliteVaporX(t, p3);
    const double xLH3 = LiquidusX(t, p3);

    // Vapour-halite file in scientific notation, from pure NaCl vapour at the
    // sublimation pressure to the vapour corner of the tie line.
    const auto vh = Pieces(run.readFile(n.vh));
    EXPECT_EQ(vh.size(), 1u);
    if (vh.size() == 1) {
        EXPECT_EQ(vh[0].front(), "1.000000e+02\t" + E(s.pSub));
        EXPECT_EQ(vh[0].back(), E(Wt(xVH3)) + "\t" + E(p3));
        EXPECT_GE(vh[0].size(), 101u);
        EXPECT_LE(vh[0].size(), 102u);
        // Every pressure in %e form: six decimals and a two-digit exponent.
        int general = 0;
        for (const std::string& line : vh[0]) {
            const std::string p = Column(line, 1);
            general += (p.size() > 4 && p[p.size() - 4] == 'e') ? 0 : 1;
        }
        EXPECT_EQ(general, 0);
    }

    EXPECT_EQ(run.readFile(n.vlh),
              Line(xVH3, p3) + "\n" + Line(xLH3, p3) + "\n" + RawLine(100, p3) + "\n");

    // Liquidus from the three-phase pressure up to 5000 bar in 1 bar steps.
    const auto lh = Pieces(run.readFile(n.lh));
    EXPECT_EQ(lh.size(), 1u);
    if (lh.size() == 1) {
        const double second = std::trunc(p3 + 1);
        EXPECT_EQ(lh[0].front(), Line(xLH3, p3));
        EXPECT_EQ(lh[0][1], Line(LiquidusX(t, second), second));
        EXPECT_EQ(lh[0].back(), Line(LiquidusX(t, 5000.0), 5000.0));
        EXPECT_EQ(lh[0].size(), static_cast<std::size_t>(5000 - second + 2));
        EXPECT_EQ(lh[0][1001], Line(LiquidusX(t, second + 1000), second + 1000));
    }

    // Vapour-liquid loop in one piece from the tie line's vapour corner to its
    // liquid corner.
    const auto vl = Pieces(run.readFile(n.vl));
    EXPECT_EQ(vl.size(), 1u);
    if (vl.size() == 1) {
        EXPECT_EQ(vl[0].front(), Line(xVH3, p3));
        EXPECT_EQ(vl[0].back(), Line(xLH3, p3));
        s.vl = vl[0];
    }
    return s;
}

// Pure-water branch: the loop closes at the vapour pressure of water.
void CheckLoopAtBoilingWater(const Isotherm& s, double t) {
    const double pTop = VaporPressureBar(t);
    const std::vector<std::string> water = {RawLine(3.244129891028844e-08, pTop * 0.99999999),
                                            RawLine(0, pTop),
                                            RawLine(3.244129891028844e-08, pTop * 0.99999999)};
    ASSERT_GE(s.vl.size(), 5u);
    std::size_t at = 0;
    while (at + 3 <= s.vl.size() &&
           !(s.vl[at] == water[0] && s.vl[at + 1] == water[1] && s.vl[at + 2] == water[2])) {
        ++at;
    }
    ASSERT_LE(at + 3, s.vl.size()) << "no pure-water lines";
    EXPECT_EQ(Count(s.vl, water[1]), 1);
    if (std::isfinite(pTop) && pTop > s.p3) {
        const double dVL = (pTop - s.p3) * 0.01;
        const double p = s.p3 + dVL;
        EXPECT_EQ(s.vl[1], Line(VaporBranchX(t, p), p));
        const double q = pTop - dVL;
        EXPECT_EQ(s.vl[at + 3], Line(LiquidBranchX(t, q), q));
    }
}

TEST(IsothermalSection, At25CTheLoopClosesAtTheVaporPressureOfWater) {
    const Isotherm s = RunIsotherm(25.0, "25");
    CheckLoopAtBoilingWater(s, 25.0);
    // 100 steps of (pTop - p3)/100 up the vapour branch and as many down the
    // liquid branch, give or take the last step's rounding.
    EXPECT_GE(s.vl.size(), 2u + 99 + 3 + 99);
    EXPECT_LE(s.vl.size(), 2u + 100 + 3 + 100);
}

TEST(IsothermalSection, AtTheCriticalTemperatureOfWaterThePureWaterBranchApplies) {
    const Isotherm s = RunIsotherm(373.976, "373.976");
    CheckLoopAtBoilingWater(s, 373.976);
}

TEST(IsothermalSection, AtMinus10CTheSectionIsWrittenAsComputed) {
    // Below the triple point of water the vapour pressure is not a number,
    // and so are the pure-water lines' pressures; they are written as such.
    const Isotherm s = RunIsotherm(-10.0, "-10");
    CheckLoopAtBoilingWater(s, -10.0);
}

void CheckLoopAtCriticalPoint(const Isotherm& s, double t) {
    const double pTop = CriticalPressure(t);
    const std::string critical = Line(CriticalComposition(t), pTop);
    EXPECT_EQ(Count(s.vl, critical), 1);
    EXPECT_EQ(Count(s.vl, RawLine(0, pTop)), 0);
    const double dVL = (pTop - s.p3) * 0.01;
    ASSERT_GE(s.vl.size(), 3u);
    EXPECT_EQ(s.vl[1], Line(VaporBranchX(t, s.p3 + dVL), s.p3 + dVL));
    std::size_t at = 0;
    while (at < s.vl.size() && s.vl[at] != critical) ++at;
    ASSERT_LT(at + 1, s.vl.size());
    EXPECT_EQ(s.vl[at + 1], Line(LiquidBranchX(t, pTop - dVL), pTop - dVL));
}

TEST(IsothermalSection, Above373_976CTheLoopClosesAtTheCriticalPoint) {
    for (double t : {374.0, 600.0}) {
        SCOPED_TRACE(t);
        const Isotherm s = RunIsotherm(t, G(t));
        CheckLoopAtCriticalPoint(s, t);
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
