// Sections at the edges of the valid range and exactly at the thresholds
// where the program changes case: each must complete within seconds with its
// full set of well-formed files, on the side of the threshold the value lies.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "SectionRuns.h"

using namespace robust;

namespace {

constexpr double runLimit = 10.0;  // a section taking longer than this hangs [s]

// Runs the section `kind` (1 isobar, 2 isotherm) at `value`, typed with every
// digit, and checks that it completes with its files; returns the run.
RunResult runSection(int kind, double value, double& longest) {
    RunOptions options;
    options.input = std::to_string(kind) + "\n" + typed(value) + "\n";
    options.timeoutSeconds = runLimit;
    double seconds = 0.0;
    RunResult run = timedRun(options, seconds);
    longest = std::max(longest, seconds);
    expectCompleteSection(run, kind == 1 ? isobarFiles(value) : isothermFiles(value));
    return run;
}

// Lines of a data file (without their line feeds).
std::vector<std::string> lines(const std::string& contents) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < contents.size()) {
        const std::size_t end = contents.find('\n', start);
        result.push_back(contents.substr(start, end - start));
        start = end == std::string::npos ? contents.size() : end + 1;
    }
    return result;
}

}  // namespace

TEST(ExtremeSections, IsothermsFromAbsoluteZeroToBelowTheNaClTriplePoint) {
    const double tc = waterCriticalTemperature;
    const std::vector<double> temperatures{-273.15,
                                           -1000.0,
                                           800.6999999999999,
                                           std::nextafter(800.7, 0.0),
                                           tc,
                                           std::nextafter(tc, 1e3)};
    double longest = 0.0;
    for (double t : temperatures) {
        SCOPED_TRACE("isotherm at " + typed(t) + " C");
        const RunResult run = runSection(2, t, longest);
        if (run.created.size() != 4) {
            continue;
        }
        // The three-phase tie line is three points; the vapour-halite file is
        // in scientific notation from its first line, pure halite (100).
        EXPECT_EQ(lines(run.readFile(fileName("vapor+liquid+halite_", t, "c.dat"))).size(), 3u);
        const std::vector<std::string> vh =
            lines(run.readFile(fileName("vapor+halite_", t, "c.dat")));
        ASSERT_FALSE(vh.empty());
        EXPECT_EQ(vh.front().rfind("1.000000e+02\t", 0), 0u) << vh.front();
        // Up to the critical temperature of water the vapour-liquid loop
        // closes at pure water (the marker composition 3.24413e-08 wt% and
        // 0), above it at the critical point of the solution.
        const std::string vl = run.readFile(fileName("liquid+vapor_", t, "c.dat"));
        const bool pureWater = vl.find("\n3.24413e-08\t") != std::string::npos &&
                               vl.find("\n0\t") != std::string::npos;
        EXPECT_EQ(pureWater, t <= tc) << "vapour-liquid loop of the wrong kind";
    }
    std::cout << "extreme isotherms: " << temperatures.size() << " runs, longest " << longest
              << " s\n";
}

TEST(ExtremeSections, IsobarsAtTheLimitsAndTheCaseThresholds) {
    const double pc = waterCriticalPressure;
    const double pmax = threePhaseMaxPressure;
    const std::vector<double> pressures{1.0,
                                        std::nextafter(pc, 0.0),
                                        pc,
                                        std::nextafter(pc, 1e3),
                                        std::nextafter(pmax, 0.0),
                                        pmax,
                                        std::nextafter(pmax, 1e3),
                                        4999.999999,
                                        5000.0};
    double longest = 0.0;
    for (double p : pressures) {
        SCOPED_TRACE("isobar at " + typed(p) + " bar");
        const RunResult run = runSection(1, p, longest);
        // Below the critical pressure of water the loop closes at the boiling
        // point of water, which the program reports; at and above it, not.
        const bool boiling = run.out.find("found water saturation T at ") != std::string::npos;
        EXPECT_EQ(boiling, p < pc);
        if (p > criticalAt1000High) {
            // The liquidus alone ends with pure halite (100 wt%) at its
            // melting temperature.
            const std::vector<std::string> lh =
                lines(run.readFile(fileName("liquid+halite_", p, "bar.dat")));
            ASSERT_FALSE(lh.empty());
            EXPECT_EQ(lh.back().rfind("100\t", 0), 0u) << lh.back();
            EXPECT_EQ(lh.front(), lh.front().substr(0, lh.front().find('\t')) + "\t1")
                << "first liquidus point at 1 C";
        }
    }
    std::cout << "extreme isobars: " << pressures.size() << " runs, longest " << longest << " s\n";
}
