// The section engine against the frozen console output, across threads, and
// its display resolution; the console text of the solvers; the number format
// of the data lines.
#include <gtest/gtest.h>
#include <quarvessin/composition.h>
#include <quarvessin/model/IsobaricPhaseBoundaries.h>
#include <quarvessin/section.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "GoldenSections.h"
#include "engine/BoundaryTrace.h"

using namespace quarvessin;

namespace {

// Compares a computed section with a frozen console run: console text after
// the dialogue's prompt, file names in order of opening, and every file's bytes.
void ExpectSectionEqualsGolden(const Section& s, const golden::Case& c) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(golden::dialoguePrefix(c.kind) + s.console, c.printed);
    ASSERT_EQ(s.boundaries.size(), c.files.size());
    for (const Boundary& b : s.boundaries) {
        const auto file = c.files.find(b.fileName);
        ASSERT_NE(file, c.files.end()) << b.fileName;
        EXPECT_EQ(formatBoundary(b), file->second) << b.fileName;
        EXPECT_EQ(b.fileName.rfind(b.phases + "_", 0), 0u) << b.fileName;
    }
}

TEST(Engine, EveryFrozenSectionByteForByte) {
    const auto cases = golden::cases();
    ASSERT_GE(cases.size(), 10u);
    for (const golden::Case& c : cases) {
        const Section s = computeSection(c.kind, c.value);
        EXPECT_EQ(s.accepted, !c.files.empty()) << c.name;
        ExpectSectionEqualsGolden(s, c);
    }
}

// FNV-1a, 64 bits.
std::uint64_t Fnv1a(const std::string& bytes) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 0x100000001b3u;
    }
    return h;
}

TEST(Engine, TheFrozenSweepOfManySections) {
    // Hashes of the console program's text and files for the 188-section
    // sweep and 80 values in between, recorded before the engine existed.
    std::istringstream table(golden::readFile(std::string(QUARVESSIN_GOLDEN_DIR) + "/sweep.tsv"));
    int checked = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string kind, value, hash;
        std::size_t files = 0;
        fields >> kind >> value >> hash >> files;
        const Section s = computeSection(
            kind == "isobar" ? SectionKind::Isobaric : SectionKind::Isothermal, std::stod(value));
        std::map<std::string, std::string> sorted;
        for (const Boundary& b : s.boundaries) sorted[b.fileName] = formatBoundary(b);
        std::string blob = s.console;
        for (const auto& [name, text] : sorted) blob += name + "\n" + text;
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Fnv1a(blob)));
        EXPECT_EQ(hex, hash) << kind << " " << value;
        EXPECT_EQ(sorted.size(), files) << kind << " " << value;
        ++checked;
    }
    EXPECT_EQ(checked, 268);
}

TEST(Engine, FileOrderAndCasesOfTheIsobars) {
    // Order of opening, as the console program announces and writes them.
    const Section a = computeSection(SectionKind::Isobaric, 300.0);
    ASSERT_EQ(a.boundaries.size(), 4u);
    EXPECT_EQ(a.boundaries[0].phases, "liquid+vapor");
    EXPECT_EQ(a.boundaries[3].phases, "vapor+halite");
    EXPECT_EQ(isobaricCase(1.0), IsobaricCase::A);
    EXPECT_EQ(isobaricCase(220.54915), IsobaricCase::B);
    EXPECT_EQ(isobaricCase(390.0), IsobaricCase::B);
    EXPECT_EQ(isobaricCase(2000.0), IsobaricCase::C2);
    EXPECT_EQ(isobaricCase(3000.0), IsobaricCase::C1);
    const Section c1 = computeSection(SectionKind::Isobaric, 3000.0);
    ASSERT_EQ(c1.boundaries.size(), 1u);
    EXPECT_EQ(c1.boundaries[0].fileName, "liquid+halite_3000.000000bar.dat");
    EXPECT_EQ(c1.boundaries[0].pieces.size(), 1u);
}

TEST(Engine, RefusedValuesAreNotComputed) {
    for (double p : {0.999, 5000.0000001, -1.0, double(NAN), double(INFINITY)}) {
        const Section s = computeSection(SectionKind::Isobaric, p);
        EXPECT_FALSE(s.accepted) << p;
        EXPECT_TRUE(s.boundaries.empty());
        EXPECT_EQ(s.console, "The entered pressure is out of range, terminating ...\n\n");
    }
    for (double t : {800.7, 1000.0, double(NAN), double(INFINITY), -double(INFINITY)}) {
        const Section s = computeSection(SectionKind::Isothermal, t);
        EXPECT_FALSE(s.accepted) << t;
        EXPECT_TRUE(s.boundaries.empty());
        EXPECT_EQ(s.console, "sorry, I havn't implemented isotherm for t >= 800.7 C ...\n");
    }
    EXPECT_TRUE(sectionAccepted(SectionKind::Isobaric, 1.0));
    EXPECT_TRUE(sectionAccepted(SectionKind::Isobaric, 5000.0));
    EXPECT_TRUE(sectionAccepted(SectionKind::Isothermal, std::nextafter(800.7, 0.0)));
}

TEST(Engine, ThreadsComputeExactlyTheSerialSections) {
    std::vector<std::pair<SectionKind, double>> asked;
    for (double p : {1.0, 150.0, 300.0, 390.0, 1000.0, 2000.0, 3000.0, 4500.0}) {
        asked.emplace_back(SectionKind::Isobaric, p);
    }
    for (double t : {-10.0, 25.0, 200.0, 373.976, 374.0, 400.0, 600.0, 800.0}) {
        asked.emplace_back(SectionKind::Isothermal, t);
    }
    std::vector<std::string> serial;
    for (const auto& [kind, value] : asked) {
        const Section s = computeSection(kind, value, {true});
        std::string all = s.console;
        for (const Boundary& b : s.boundaries) all += b.fileName + "\n" + formatBoundary(b);
        for (const std::string& w : s.warnings) all += w;
        serial.push_back(all);
    }
    // Four threads, each computing every section, from different starts.
    std::vector<std::vector<std::string>> parallel(4, std::vector<std::string>(asked.size()));
    std::vector<std::thread> threads;
    for (std::size_t k = 0; k < parallel.size(); ++k) {
        threads.emplace_back([&, k] {
            for (std::size_t i = 0; i < asked.size(); ++i) {
                const std::size_t j = (i + 4 * k) % asked.size();
                const Section s = computeSection(asked[j].first, asked[j].second, {true});
                std::string all = s.console;
                for (const Boundary& b : s.boundaries) all += b.fileName + "\n" + formatBoundary(b);
                for (const std::string& w : s.warnings) all += w;
                parallel[k][j] = all;
            }
        });
    }
    for (auto& t : threads) t.join();
    for (const auto& results : parallel) {
        for (std::size_t i = 0; i < asked.size(); ++i) EXPECT_EQ(results[i], serial[i]) << i;
    }
}

TEST(Engine, DisplayResolutionShowsTheVapourHaliteCurve) {
    auto interior = [](const Boundary& b) {
        int n = 0;
        for (const auto& piece : b.pieces) {
            for (const Point& p : piece) n += p.wtPercent > 1.0 && p.wtPercent < 99.0;
        }
        return n;
    };
    const Section coarse = computeSection(SectionKind::Isothermal, 400.0);
    const Section fine = computeSection(SectionKind::Isothermal, 400.0, {true});
    ASSERT_EQ(fine.boundaries.size(), 4u);
    const Boundary& vh = fine.boundaries[3];
    ASSERT_EQ(vh.phases, "vapor+halite");
    EXPECT_EQ(interior(coarse.boundaries[3]), 0);
    EXPECT_GT(interior(vh), 10);
    // Same ends, pressure rising monotonically in between.
    const auto& pts = vh.pieces[0];
    const auto& coarsePts = coarse.boundaries[3].pieces[0];
    EXPECT_EQ(pts.front().value, coarsePts.front().value);
    EXPECT_EQ(pts.back().value, coarsePts.back().value);
    for (std::size_t i = 1; i < pts.size(); ++i) EXPECT_LT(pts[i - 1].value, pts[i].value);
    // The other boundaries and the console text are the console program's.
    EXPECT_EQ(fine.console, coarse.console);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(formatBoundary(fine.boundaries[i]), formatBoundary(coarse.boundaries[i]));
    }
}

TEST(Engine, WarningsNameNonFiniteFiguresAndTheRange) {
    const Section cold = computeSection(SectionKind::Isothermal, -20.0);
    std::size_t nonFinite = 0;
    for (const Boundary& b : cold.boundaries) {
        for (const auto& piece : b.pieces) {
            for (const Point& p : piece)
                nonFinite += !std::isfinite(p.wtPercent) || !std::isfinite(p.value);
        }
    }
    ASSERT_GT(nonFinite, 0u);
    ASSERT_EQ(cold.warnings.size(), 2u);
    EXPECT_NE(cold.warnings[0].find("isotherm -20 C: below 0 C"), std::string::npos);
    EXPECT_EQ(cold.warnings[1].rfind("isotherm -20 C: " + std::to_string(nonFinite) +
                                         " points are not finite numbers (below the range",
                                     0),
              0u)
        << cold.warnings[1];
    EXPECT_TRUE(computeSection(SectionKind::Isothermal, 400.0).warnings.empty());
    EXPECT_TRUE(computeSection(SectionKind::Isobaric, 300.0).warnings.empty());
}

// A sink that refuses its n-th call of point/separate/close.
class RefusingSink : public SectionSink {
  public:
    explicit RefusingSink(int refuseAt) : refuseAt_(refuseAt) {}
    bool openBoundary(std::size_t, const std::string&, const std::string&) override {
        return step();
    }
    void useScientific(std::size_t) override {}
    bool point(std::size_t, Point) override { return step(); }
    bool separate(std::size_t) override { return step(); }
    bool closeBoundary(std::size_t) override { return step(); }
    void console(const std::string& text) override { text_ += text; }
    std::string text_;
    int calls_ = 0;

  private:
    bool step() { return ++calls_ != refuseAt_; }
    int refuseAt_;
};

TEST(Engine, AStoppedSectionAnnouncesNothingItDidNotWrite) {
    // The 300 bar isobar opens four boundaries, then the tie lines' first
    // point: refusing that point stops the section before any announcement.
    RefusingSink first(5);
    EXPECT_FALSE(traceSection(SectionKind::Isobaric, 300.0, first));
    EXPECT_EQ(first.calls_, 5);
    EXPECT_EQ(first.text_.find("Writing"), std::string::npos);
    // Refusing a later point: the boundaries written so far are announced,
    // and the section ends there.
    RefusingSink later(30);
    EXPECT_FALSE(traceSection(SectionKind::Isobaric, 300.0, later));
    EXPECT_EQ(later.calls_, 30);
    EXPECT_NE(later.text_.find("Writing VLH data"), std::string::npos);
    EXPECT_NE(later.text_.find("Writing LH data"), std::string::npos);
    EXPECT_EQ(later.text_.find("Writing VL data"), std::string::npos);
    EXPECT_EQ(later.text_.find("terminating"), std::string::npos);
}

TEST(Engine, AnnouncementsFollowTheFirstLineOrAnEmptyClose) {
    RefusingSink sink(0);
    SectionTracer tracer(sink);
    BoundaryTrace a(tracer);
    BoundaryTrace b(tracer);
    ASSERT_TRUE(a.open("vapor+halite_", 300, "bar.dat"));
    ASSERT_TRUE(b.open("liquid+halite_", 300, "bar.dat"));
    EXPECT_EQ(a.name(), "vapor+halite_300.000000bar.dat");
    a.announce("Writing VH\n");
    b.announce("Writing LH\n");
    EXPECT_EQ(sink.text_, "");  // nothing shown before a line was accepted
    ASSERT_TRUE(a.writeRaw(1, 2));
    ASSERT_TRUE(a.writeRaw(3, 4));
    EXPECT_EQ(sink.text_, "Writing VH\n");  // once
    a.announce("again\n");                  // after a line, at once
    EXPECT_EQ(sink.text_, "Writing VH\nagain\n");
    ASSERT_TRUE(b.close());  // no line: announced at a clean close
    EXPECT_EQ(sink.text_, "Writing VH\nagain\nWriting LH\n");
}

TEST(Engine, SolverMessagesReachTheStreamOfTheirOwner) {
    double t = 700.0, p = 1000.0, x = 0.01;
    IsobaricPhaseBoundaries solver(&t, &p, &x);
    std::ostringstream messages;
    solver.SetMessages(messages);
    solver.CopyInputs();
    EXPECT_EQ(solver.VLH_TemperatureFromP(&solver.p, solver.t), IsobaricPhaseBoundaries::refused);
    EXPECT_EQ(messages.str().rfind("IsobaricPhaseBoundaries::VLH_TemperatureFromP: too high", 0),
              0u);
    // The critical curve's cycle limit is reported to the same stream: it
    // stalls above about 3030 bar.
    messages.str("");
    const double stalled = 4000.0;
    solver.Critical_TemperatureFromP(&stalled);
    EXPECT_EQ(messages.str(), "CriticalCurve::TfromP : Not converged after 100000 cycles\n");
}

TEST(DataLines, SameCharactersAsPrintf) {
    // %g and %e of printf against the engine's formatting, for special values,
    // the rounding edges of six digits and random bit patterns.
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  100.0,
                                  1e-5,
                                  1e-4,
                                  99999.95,
                                  999999.5,
                                  1e6,
                                  123456.5,
                                  0.000123456,
                                  5e-324,
                                  2.2250738585072014e-308,
                                  1.7976931348623157e308,
                                  double(NAN),
                                  -double(NAN),
                                  double(INFINITY),
                                  -double(INFINITY),
                                  3.244129891028844e-08};
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        values.push_back(v);
        values.push_back(
            std::ldexp(static_cast<double>(random() % 2000000), -static_cast<int>(random() % 40)));
    }
    for (double v : values) {
        for (bool scientific : {false, true}) {
            char expected[128];
            std::snprintf(expected, sizeof expected, scientific ? "%e\t%e\n" : "%g\t%g\n", v, -v);
            std::string line;
            appendDataLine(line, v, -v, scientific);
            ASSERT_EQ(line, expected) << v;
        }
    }
}

TEST(Composition, WeightPercentAndMoleFraction) {
    EXPECT_EQ(wtPercent(0.0), 0.0);
    EXPECT_EQ(wtPercent(1.0), 100.0);
    EXPECT_EQ(moleFraction(0.0), 0.0);
    EXPECT_EQ(moleFraction(100.0), 1.0);
    // Seawater-like 3.5 wt%: 3.5/58.443 mol NaCl per 96.5/18.015 mol water.
    EXPECT_NEAR(moleFraction(3.5), (3.5 / 58.443) / (3.5 / 58.443 + 96.5 / 18.015), 1e-15);
    for (double x = 0.0; x <= 1.0; x += 0.0625) EXPECT_NEAR(moleFraction(wtPercent(x)), x, 1e-15);
}

}  // namespace
