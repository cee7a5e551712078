#include <gtest/gtest.h>
#include <quarvessin/model/IsobaricPhaseBoundaries.h>

#include <cmath>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>

using namespace quarvessin;

namespace {

constexpr double Pmax = 390.1474443379598;     // pressure maximum of the three-phase curve [bar]
constexpr double TatPmax = 594.6324429298147;  // its temperature [C]

const std::string tooHigh =
    "IsobaricPhaseBoundaries::VLH_TemperatureFromP: too high an input pressure !!!\n"
    "Input pressure must not be higher than hlv.Pmax() = 390.147\n";
const std::string tooLow =
    "IsobaricPhaseBoundaries::VLH_TemperatureFromP: too low an input pressure !!!\n"
    "Input pressure must not be lower than 0.00692441 bar for T < 594.632C\n"
    "and not lower than 0.0005bar for T >= 594.632C\n";
const std::string notConverged =
    "IsobaricPhaseBoundaries::VLH_TemperatureFromP : Not converged after 20 cycles\n";

// Standard output of a scope, captured by swapping its buffer.
class CaptureCout {
  public:
    CaptureCout() : saved(std::cout.rdbuf(buffer.rdbuf())) {}
    ~CaptureCout() { std::cout.rdbuf(saved); }
    std::string Text() const { return buffer.str(); }

  private:
    std::ostringstream buffer;
    std::streambuf* saved;
};

class IsobaricPhaseBoundariesTest : public ::testing::Test {
  protected:
    double t = 100.0;  // owner's temperature [C]
    double p = 100.0;  // owner's pressure [bar]
    double x = 0.01;   // owner's composition [mole fraction NaCl]
    IsobaricPhaseBoundaries solver{&t, &p, &x};

    // Three-phase pressure at temperature tc from an object of the test's own [bar].
    static double ThreePhasePressure(double tc) {
        double tt = tc;
        HaliteLiquidVaporCurve curve(&tt);
        curve.Refresh();
        return curve.P;
    }

    // Solves at pressure pIn on the side of tGuess, returning what it printed.
    std::string Solve(double pIn, double tGuess, double& result) {
        CaptureCout capture;
        result = solver.VLH_TemperatureFromP(&pIn, tGuess);
        return capture.Text();
    }
};

// The copies start off the owner's values (documented: t - 1, p - 1, x + 0.5)
// and follow them only at CopyInputs; the members sit on tWork or the copies.
TEST_F(IsobaricPhaseBoundariesTest, CopiesFollowTheOwnerOnlyAtCopyInputs) {
    EXPECT_EQ(solver.t, 99.0);
    EXPECT_EQ(solver.p, 99.0);
    EXPECT_EQ(solver.x, 0.51);
    EXPECT_EQ(solver.hlv.tPtr, &solver.tWork);
    EXPECT_EQ(solver.critical.tPtr, &solver.tWork);
    EXPECT_EQ(solver.liquidus.tPtr, &solver.tWork);
    EXPECT_EQ(solver.liquidus.pPtr, &solver.p);
    EXPECT_EQ(solver.melting.tPtr, &solver.t);
    EXPECT_EQ(solver.water.pPtr, &solver.p);
    EXPECT_EQ(solver.vaporBranch.tPtr, &solver.tWork);
    // Members bound to tWork primed from its initial 0 C, so they read -1.
    EXPECT_EQ(solver.hlv.t, -1.0);

    t = 700.0;
    p = 300.0;
    x = 0.2;
    EXPECT_EQ(solver.t, 99.0);
    solver.CopyInputs();
    EXPECT_EQ(solver.t, 700.0);
    EXPECT_EQ(solver.p, 300.0);
    EXPECT_EQ(solver.x, 0.2);
}

// Pressures above the maximum are refused with two lines and 9e99, whatever
// the side; tWork is left alone.
TEST_F(IsobaricPhaseBoundariesTest, PressureAboveTheThreePhaseMaximumIsRefused) {
    for (double tGuess : {100.0, 700.0}) {
        for (double pIn : {std::nextafter(Pmax, 1e300), 400.0, 5000.0}) {
            solver.tWork = 123.0;
            double result = 0.0;
            EXPECT_EQ(Solve(pIn, tGuess, result), tooHigh) << pIn << " " << tGuess;
            EXPECT_EQ(result, 9e99);
            EXPECT_EQ(solver.tWork, 123.0);
        }
    }
}

// The low-pressure limit depends on the side: 0.00692441 bar below TatPmax,
// the NaCl triple-point pressure 0.0005 bar from TatPmax up (a guess equal to
// TatPmax counts as the high side here). Refusals print three lines.
TEST_F(IsobaricPhaseBoundariesTest, PressureBelowTheEndOfTheCurveIsRefusedPerSide) {
    double result = 0.0;
    solver.tWork = 123.0;
    EXPECT_EQ(Solve(0.005, 100.0, result), tooLow);
    EXPECT_EQ(result, 9e99);
    EXPECT_EQ(solver.tWork, 123.0);
    EXPECT_EQ(Solve(std::nextafter(0.00692441, 0.0), 100.0, result), tooLow);
    EXPECT_EQ(Solve(0.0004, 700.0, result), tooLow);
    EXPECT_EQ(Solve(std::nextafter(0.0005, 0.0), TatPmax, result), tooLow);
    EXPECT_EQ(Solve(0.001, std::nextafter(TatPmax, 0.0), result), tooLow);

    // The same 0.005 bar on the high side is accepted and solved there.
    EXPECT_EQ(Solve(0.005, 700.0, result), "");
    EXPECT_GT(result, TatPmax);
    EXPECT_NEAR(ThreePhasePressure(result), 0.005, 1e-8);
    // The limits themselves belong to the accepted range.
    EXPECT_EQ(Solve(0.00692441, 100.0, result), "");
    EXPECT_NEAR(ThreePhasePressure(result), 0.00692441, 1e-8);
    EXPECT_EQ(Solve(0.0005, 700.0, result), "");
    EXPECT_NEAR(ThreePhasePressure(result), 0.0005, 1e-8);
}

// Exactly Pmax returns TatPmax at once, on either side, without a message.
TEST_F(IsobaricPhaseBoundariesTest, ExactlyThePressureMaximumReturnsItsTemperature) {
    for (double tGuess : {100.0, 700.0}) {
        solver.tWork = 123.0;
        double result = 0.0;
        EXPECT_EQ(Solve(Pmax, tGuess, result), "");
        EXPECT_EQ(result, TatPmax);
        EXPECT_EQ(solver.tWork, 123.0);  // no iteration
    }
}

// Start temperatures of the two documented tables, with the boundaries of
// each row: the high side needs p strictly above the bound, the low side takes
// p up to and including it; tGuess == TatPmax starts on the low side.
TEST_F(IsobaricPhaseBoundariesTest, StartTablesPerSideAndRow) {
    const double high = 700.0;
    const double low = 100.0;
    const auto above = [](double v) { return std::nextafter(v, 1e300); };
    EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(above(390.0), high), 596.0);
    EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(390.0, high), 650.0);
    EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(above(300.0), high), 650.0);
    EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(300.0, high), 700.0);
    EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(above(100.0), high), 700.0);
    EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(100.0, high), 795.0);
    EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(0.001, high), 795.0);

    const double lowBounds[] = {1, 10, 100, 200, 300, 350, 380, 390};
    const double lowStarts[] = {50, 100, 300, 400, 430, 480, 530, 570};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(lowBounds[i], low), lowStarts[i])
            << lowBounds[i];
        const double next = i < 7 ? lowStarts[i + 1] : 590.0;
        EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(above(lowBounds[i]), low), next)
            << lowBounds[i];
    }
    EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(100.0, TatPmax), 300.0);
    EXPECT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(100.0, above(TatPmax)), 795.0);
}

// The solver really starts from the table: at the exact three-phase pressure
// of a start temperature the first residual is zero and the start comes back
// unchanged. The rows used are those whose own pressure falls in the row.
TEST_F(IsobaricPhaseBoundariesTest, SolverStartsFromTheTabulatedTemperature) {
    struct Row {
        double start;
        double tGuess;
    };
    const Row rows[] = {{596.0, 700.0}, {650.0, 700.0}, {700.0, 700.0}, {795.0, 700.0},
                        {50.0, 100.0},  {300.0, 100.0}, {400.0, 100.0}, {430.0, 100.0},
                        {530.0, 100.0}, {570.0, 100.0}};
    for (const Row& row : rows) {
        const double pStart = ThreePhasePressure(row.start);
        ASSERT_EQ(IsobaricPhaseBoundaries::VLH_StartTemperature(pStart, row.tGuess), row.start)
            << "row precondition at " << row.start;
        double result = 0.0;
        EXPECT_EQ(Solve(pStart, row.tGuess, result), "");
        EXPECT_EQ(result, row.start);
        EXPECT_EQ(solver.residual, 0.0);
    }
}

// Newton converges to the absolute tolerance 1e-8 bar on the side asked for,
// across the whole pressure range of the curve, and leaves the result in tWork.
TEST_F(IsobaricPhaseBoundariesTest, ConvergesOnBothSidesOfTheMaximum) {
    const double pressures[] = {0.01,  0.5,   1.0,   5.0,   50.0,  100.0, 150.0, 220.54915,
                                250.0, 300.0, 340.0, 370.0, 385.0, 390.0, 390.1};
    for (double pIn : pressures) {
        double lowT = 0.0;
        double highT = 0.0;
        EXPECT_EQ(Solve(pIn, 100.0, lowT), "") << pIn;
        EXPECT_EQ(solver.tWork, lowT);
        EXPECT_EQ(Solve(pIn, 700.0, highT), "") << pIn;
        EXPECT_EQ(solver.tWork, highT);
        EXPECT_LT(lowT, TatPmax) << pIn;
        EXPECT_GT(highT, TatPmax) << pIn;
        EXPECT_GT(lowT, 0.0) << pIn;
        EXPECT_LT(highT, 800.7) << pIn;
        // Residual checked with an object of the test's own.
        EXPECT_LT(std::fabs(ThreePhasePressure(lowT) - pIn), 1e-8) << pIn;
        EXPECT_LT(std::fabs(ThreePhasePressure(highT) - pIn), 1e-8) << pIn;
    }
    // The owner's temperature is never moved by the solver.
    EXPECT_EQ(t, 100.0);
}

// A guess equal to TatPmax is not refused between the two lower limits but
// starts on the low side, where the curve never falls that low: the iteration
// cannot converge and ends with exactly one non-convergence message (through
// the cycle limit or a vanishing or non-finite slope), without hanging.
TEST_F(IsobaricPhaseBoundariesTest, UnreachablePressureEndsWithTheNonConvergenceMessage) {
    double result = 0.0;
    EXPECT_EQ(Solve(0.001, TatPmax, result), notConverged);
    EXPECT_EQ(solver.tWork, result);
}

// The iteration gives up after the 21st Newton update and returns that
// update unevaluated. Reference: 20, 21 and 22 plain Newton updates from the
// low-side start of 50 C, counted out by hand with a curve object of the
// test's own; the pressure lies below the low side's reach, so none of them
// converges and the three counts give three different temperatures.
TEST_F(IsobaricPhaseBoundariesTest, GivesUpAfterTheTwentyFirstNewtonUpdate) {
    const double target = 0.001;  // [bar]
    double tc = 50.0;             // start of the low-side table for p <= 1 bar [C]
    HaliteLiquidVaporCurve curve(&tc);
    double afterUpdate[23] = {};
    afterUpdate[0] = tc;
    for (int n = 1; n <= 22; ++n) {
        curve.Refresh();
        const double pNow = curve.P;
        ASSERT_GE(std::fabs(pNow - target), 1e-8) << "converged at update " << n;
        tc = tc - (pNow - target) / curve.dPdT;
        afterUpdate[n] = tc;
    }
    ASSERT_NE(afterUpdate[20], afterUpdate[21]);
    ASSERT_NE(afterUpdate[22], afterUpdate[21]);

    double result = 0.0;
    EXPECT_EQ(Solve(target, TatPmax, result), notConverged);
    EXPECT_EQ(result, afterUpdate[21]);
    EXPECT_EQ(solver.tWork, afterUpdate[21]);
}

// A vanishing or non-finite slope ends the iteration with the non-convergence
// message and returns the current iterate instead of an infinite or undefined
// temperature. The slope is forced through the three-phase member's cache: at
// 50 bar on the low side the start is 300 C, and a cache already holding 300 C
// is read without recomputing.
TEST_F(IsobaricPhaseBoundariesTest, VanishingOrNonFiniteSlopeEndsTheIteration) {
    const double badSlopes[] = {0.0, std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
    for (double slope : badSlopes) {
        solver.hlv.Refresh();  // clears the first-use flag
        solver.hlv.t = 300.0;
        solver.hlv.P = 40.0;
        solver.hlv.dPdT = slope;
        solver.tWork = 300.0;
        double result = 0.0;
        EXPECT_EQ(Solve(50.0, 100.0, result), notConverged) << slope;
        EXPECT_EQ(result, 300.0) << slope;
        EXPECT_EQ(solver.residual, 40.0 - 50.0);
    }
}

// The critical temperature at a pressure is the inverse of the critical
// pressure; at the critical pressure of water it is the critical temperature.
TEST_F(IsobaricPhaseBoundariesTest, CriticalTemperatureInvertsTheCriticalCurve) {
    double pc = 220.54915;
    // Critical point of water (WaterCriticalPoint); 1e-9 C covers the 1e-10 bar
    // tolerance at a slope of about 2 bar/C.
    EXPECT_NEAR(solver.Critical_TemperatureFromP(&pc), 373.976, 1e-9);
    double tc = 0.0;
    CriticalCurve curve(&tc);
    for (double pIn : {250.0, 300.0, 390.1474443379598, 1000.0, 2000.0}) {
        const double result = solver.Critical_TemperatureFromP(&pIn);
        EXPECT_EQ(solver.tWork, result);
        EXPECT_GT(result, 373.976);
        double r = result;
        EXPECT_LT(std::fabs(curve.PfromT(&r) - pIn), 1e-10) << pIn;
    }
    EXPECT_EQ(t, 100.0);
}

}  // namespace
