// fuzz_engine: computeSection over every bit pattern of a double.
//
// The input is read as up to three doubles (8 bytes each, native byte order):
// NaN payloads, infinities, subnormals and the neighbours of every limit all
// arrive. A short last chunk (1 to 7 bytes) is instead an unsigned integer
// spread evenly over the valid range of each kind (and a little beyond), so
// that the fuzzer reaches the interior of the ranges as often as their edges.
// The first two are each computed as an isobaric and an isothermal section, with
// and without the display resolution, and checked:
//   - refused exactly when outside 1-5000 bar / at or above 800.7 C (or not a
//     number), with the console program's refusal and nothing else;
//   - accepted ones give the boundaries of their case, in the console
//     program's order, each named phases + "_" + value (%f) + suffix, with at
//     least one piece, a bounded number of points and well-formed file text,
//     announced in the console text;
//   - points that are not finite numbers are counted in the warnings;
//   - the display resolution changes only the vapour + halite curve of an
//     isotherm.
// The values are also a point query (temperature, pressure and, from a third
// value, a composition as mole fraction): refused exactly outside its range;
// accepted, with the boundaries the pressure lies between, compositions as
// both mole fraction and wt%, and a named assemblage.
#include <quarvessin/composition.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/Check.h"

using namespace quarvessin;
using fuzzcheck::sameBits;
using fuzzcheck::show;

namespace {

// Values read from one input; more would only slow the fuzzer down.
constexpr std::size_t valuesPerInput = 2;
// Values of a point query: temperature, pressure, composition.
constexpr std::size_t pointValues = 3;
// Most points one boundary may hold. The longest boundaries of the valid
// range are the isothermal liquidus (1-bar steps up to 5000 bar) and the
// isobaric ones (1-degree steps to 1000 C); a boundary far beyond this bound
// comes from a loop whose step no longer moves its variable.
constexpr std::size_t mostPointsPerBoundary = 20000;
// Points of the vapour + halite curve of an isotherm at display resolution:
// both ends and 399 steps between them.
constexpr std::size_t finePointsVH = 401;

std::string describe(SectionKind kind, double value, bool fine) {
    return std::string(kind == SectionKind::Isobaric ? "isobar " : "isotherm ") + show(value) +
           (fine ? " (fine)" : "");
}

std::string expectedName(const std::string& phases, double value, const char* suffix) {
    char text[512];
    std::snprintf(text, sizeof text, "%s_%f%s", phases.c_str(), value, suffix);
    return text;
}

bool samePoints(const Boundary& a, const Boundary& b) {
    if (a.phases != b.phases || a.fileName != b.fileName || a.scientific != b.scientific ||
        a.pieces.size() != b.pieces.size())
        return false;
    for (std::size_t i = 0; i < a.pieces.size(); ++i) {
        if (a.pieces[i].size() != b.pieces[i].size()) return false;
        for (std::size_t j = 0; j < a.pieces[i].size(); ++j) {
            if (!sameBits(a.pieces[i][j].wtPercent, b.pieces[i][j].wtPercent) ||
                !sameBits(a.pieces[i][j].value, b.pieces[i][j].value))
                return false;
        }
    }
    return true;
}

// The boundaries of an accepted section (phases and number of pieces), in the
// console program's order of opening.
struct Expected {
    const char* phases;
    std::size_t pieces;
};
std::vector<Expected> expectedBoundaries(SectionKind kind, double value) {
    if (kind == SectionKind::Isothermal) {
        return {{"liquid+vapor", 1},
                {"liquid+halite", 1},
                {"vapor+liquid+halite", 1},
                {"vapor+halite", 1}};
    }
    switch (isobaricCase(value)) {
        case IsobaricCase::A:
        case IsobaricCase::B:
            return {{"liquid+vapor", 3},
                    {"liquid+halite", 2},
                    {"vapor+liquid+halite", 2},
                    {"vapor+halite", 1}};
        case IsobaricCase::C1:
            return {{"liquid+halite", 1}};
        case IsobaricCase::C2:
            return {{"liquid+halite", 1}, {"vapor+liquid", 1}};
    }
    return {};
}

void checkSection(const Section& s, SectionKind kind, double value, bool fine) {
    const std::string what = describe(kind, value, fine);
    // Accepted exactly within the range, never for a value that is not a number.
    const bool inRange = kind == SectionKind::Isobaric ? (value >= 1.0 && value <= 5000.0)
                                                       : (value < 800.7 && value > -HUGE_VAL);
    FUZZ_REQUIRE(sectionAccepted(kind, value) == inRange, what);
    FUZZ_REQUIRE(s.accepted == inRange, what);
    FUZZ_REQUIRE(s.kind == kind && sameBits(s.value, value), what);
    if (!inRange) {
        const char* refusal = kind == SectionKind::Isobaric
                                  ? "The entered pressure is out of range, terminating ...\n\n"
                                  : "sorry, I havn't implemented isotherm for t >= 800.7 C ...\n";
        FUZZ_REQUIRE(s.console == refusal, what + ": console\n" + s.console);
        FUZZ_REQUIRE(s.boundaries.empty() && s.warnings.empty(), what);
        return;
    }

    const std::vector<Expected> expected = expectedBoundaries(kind, value);
    FUZZ_REQUIRE(s.boundaries.size() == expected.size(),
                 what + ": " + std::to_string(s.boundaries.size()) + " boundaries");
    const char* suffix = kind == SectionKind::Isobaric ? "bar.dat" : "c.dat";
    std::size_t nonFinite = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Boundary& b = s.boundaries[i];
        const std::string where = what + ", " + b.fileName;
        FUZZ_REQUIRE(b.phases == expected[i].phases, where + ": phases " + b.phases);
        FUZZ_REQUIRE(b.fileName.rfind(b.phases + "_", 0) == 0, where);
        FUZZ_REQUIRE(b.fileName == expectedName(b.phases, value, suffix), where);
        FUZZ_REQUIRE(b.pieces.size() == expected[i].pieces,
                     where + ": " + std::to_string(b.pieces.size()) + " pieces");
        // Vapour + halite of an isotherm is the one boundary in %e.
        FUZZ_REQUIRE(
            b.scientific == (kind == SectionKind::Isothermal && b.phases == "vapor+halite"), where);
        std::size_t points = 0;
        for (const auto& piece : b.pieces) {
            points += piece.size();
            for (const Point& p : piece) {
                if (!std::isfinite(p.wtPercent) || !std::isfinite(p.value)) ++nonFinite;
            }
        }
        FUZZ_REQUIRE(points <= mostPointsPerBoundary,
                     where + ": " + std::to_string(points) + " points");
        // Three-phase tie lines: vapour, liquid and halite corners.
        if (b.phases == "vapor+liquid+halite") {
            for (const auto& piece : b.pieces) FUZZ_REQUIRE(piece.size() == 3, where);
        }
        if (fine && b.phases == "vapor+halite" && kind == SectionKind::Isothermal) {
            FUZZ_REQUIRE(points == finePointsVH, where + ": " + std::to_string(points) + " points");
        }
        // The file text: one line per point, an empty line between pieces.
        const std::string text = formatBoundary(b);
        FUZZ_REQUIRE(text.empty() || text.back() == '\n', where);
        std::size_t lines = 0;
        for (char c : text) lines += c == '\n';
        FUZZ_REQUIRE(lines == points + b.pieces.size() - 1,
                     where + ": " + std::to_string(lines) + " lines");
        // Every file is named in the console text.
        FUZZ_REQUIRE(s.console.find(b.fileName) != std::string::npos,
                     where + ": not in the console text\n" + s.console);
    }
    // Points that are not finite numbers are counted in a warning.
    if (nonFinite > 0) {
        const std::string count = ": " + std::to_string(nonFinite) +
                                  (nonFinite == 1 ? " point is" : " points are") +
                                  " not finite numbers (";
        bool found = false;
        for (const std::string& w : s.warnings) found = found || w.find(count) != std::string::npos;
        FUZZ_REQUIRE(found, what + ": no warning of " + std::to_string(nonFinite) + " points");
    }
    const bool belowRange = kind == SectionKind::Isothermal && value < 0.0;
    FUZZ_REQUIRE(s.warnings.size() == (nonFinite > 0 ? 1u : 0u) + (belowRange ? 1u : 0u),
                 what + ": " + std::to_string(s.warnings.size()) + " warnings");
}

// The section value of kind `kind` for a raw double, or for a short chunk
// read as the fraction `spread` (0 to 1) of its range: 1 to 5000 bar, or
// -30 C up to the triple point of NaCl (800.7 C itself refused).
double sectionValue(SectionKind kind, double raw, bool isFraction) {
    if (!isFraction) return raw;
    return kind == SectionKind::Isobaric ? 1.0 + 4999.0 * raw : -30.0 + 830.7 * raw;
}

void checkValue(double raw, bool isFraction) {
    for (SectionKind kind : {SectionKind::Isobaric, SectionKind::Isothermal}) {
        const double value = sectionValue(kind, raw, isFraction);
        const Section plain = computeSection(kind, value);
        checkSection(plain, kind, value, false);
        const Section fine = computeSection(kind, value, SectionOptions{true});
        checkSection(fine, kind, value, true);
        // The display resolution changes the points of the vapour + halite
        // curve of an isotherm (not its ends) and nothing else.
        const std::string what = describe(kind, value, true);
        FUZZ_REQUIRE(fine.console == plain.console && fine.warnings.size() == plain.warnings.size(),
                     what);
        for (std::size_t i = 0; i < plain.boundaries.size(); ++i) {
            const Boundary& a = plain.boundaries[i];
            const Boundary& b = fine.boundaries[i];
            if (kind == SectionKind::Isothermal && a.phases == "vapor+halite") {
                const Point& a0 = a.pieces.front().front();
                const Point& b0 = b.pieces.front().front();
                const Point& a1 = a.pieces.back().back();
                const Point& b1 = b.pieces.back().back();
                FUZZ_REQUIRE(sameBits(a0.value, b0.value) && sameBits(a0.wtPercent, b0.wtPercent) &&
                                 sameBits(a1.value, b1.value) &&
                                 sameBits(a1.wtPercent, b1.wtPercent),
                             what + ": ends of the vapour + halite curve");
            } else {
                FUZZ_REQUIRE(samePoints(a, b), what + ": " + a.fileName + " differs");
            }
        }
    }
}

bool oneOf(const std::string& word, std::initializer_list<const char*> words) {
    for (const char* w : words) {
        if (word == w) return true;
    }
    return false;
}

void checkPoint(double t, double p, std::optional<double> x) {
    const PointResult r = queryPoint(t, p, x);
    const std::string what =
        "point " + show(t) + " C " + show(p) + " bar" + (x ? " x " + show(*x) : std::string());
    const bool inRange =
        t < 800.7 && t > -HUGE_VAL && p > 0.0 && p < HUGE_VAL && (!x || (*x >= 0.0 && *x <= 1.0));
    FUZZ_REQUIRE(r.accepted == inRange, what + ": " + r.refusal);
    if (!inRange) {
        FUZZ_REQUIRE(!r.refusal.empty() && r.refusal.find('\n') == std::string::npos &&
                         r.boundaries.empty() && r.assemblage.empty(),
                     what);
        return;
    }
    FUZZ_REQUIRE(r.refusal.empty() && r.boundaries.size() <= 4, what);
    const double p3 = r.threePhasePressure;
    for (const PointBoundary& b : r.boundaries) {
        const std::string where = what + ", " + b.boundary + " " + b.phase;
        FUZZ_REQUIRE(oneOf(b.boundary, {"vapor+halite", "liquid+vapor", "liquid+halite",
                                        "vapor+liquid+halite"}),
                     where);
        FUZZ_REQUIRE(oneOf(b.phase, {"vapor", "liquid"}) && !b.description.empty(), where);
        FUZZ_REQUIRE(sameBits(b.wtPercent, wtPercent(b.moleFraction)), where);
        // Halite-saturated vapour only below, halite-saturated liquid only
        // from the three-phase pressure up, the tie line exactly at it.
        if (b.boundary == "vapor+halite") FUZZ_REQUIRE(!(p > p3), where + " above " + show(p3));
        if (b.boundary == "liquid+halite") FUZZ_REQUIRE(!(p < p3), where + " below " + show(p3));
        if (b.boundary == "vapor+liquid+halite") FUZZ_REQUIRE(!(p != p3), where);
    }
    if (x) {
        FUZZ_REQUIRE(r.moleFraction && sameBits(*r.moleFraction, *x) && r.wtPercent, what);
        FUZZ_REQUIRE(r.assemblage.empty() ||
                         oneOf(r.assemblage, {"vapor", "liquid", "liquid+vapor", "liquid+halite",
                                              "vapor+halite", "vapor+liquid+halite"}),
                     what + ": " + r.assemblage);
        bool allFinite = std::isfinite(p3) && std::isfinite(r.sublimationPressure) &&
                         std::isfinite(r.loopTopPressure);
        for (const PointBoundary& b : r.boundaries)
            allFinite = allFinite && std::isfinite(b.moleFraction);
        FUZZ_REQUIRE(!r.assemblage.empty() || !allFinite, what + ": no assemblage");
    } else {
        FUZZ_REQUIRE(!r.moleFraction && r.assemblage.empty(), what);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    double raw[pointValues] = {};
    bool isFraction[pointValues] = {};
    std::size_t count = 0;
    for (; count < pointValues && count * 8 < size; ++count) {
        const std::size_t length = size - count * 8 < 8 ? size - count * 8 : 8;
        if (length == 8) {
            std::memcpy(&raw[count], data + count * 8, sizeof(double));
        } else {
            std::uint64_t whole = 0;
            for (std::size_t j = 0; j < length; ++j) whole = whole << 8 | data[count * 8 + j];
            const double most = std::ldexp(1.0, static_cast<int>(8 * length)) - 1.0;
            raw[count] = static_cast<double>(whole) / most;
            isFraction[count] = true;
        }
    }
    if (count == 0) return 0;
    for (std::size_t i = 0; i < count && i < valuesPerInput; ++i) checkValue(raw[i], isFraction[i]);
    // The point (temperature, pressure[, mole fraction]); a fraction is
    // spread as for the sections, over the composition from 0 to 1.
    const std::size_t ip = count > 1 ? 1 : 0;
    const double t = sectionValue(SectionKind::Isothermal, raw[0], isFraction[0]);
    const double p = sectionValue(SectionKind::Isobaric, raw[ip], isFraction[ip]);
    checkPoint(t, p, std::nullopt);
    if (count > 2) checkPoint(t, p, raw[2]);
    return 0;
}
