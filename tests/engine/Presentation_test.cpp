// The presentation layer: numbers in shortest form on every platform, the
// kind table, csv and json that read back as the section's own doubles, and
// phase-field labels that name the assemblage at their place.
#include <gtest/gtest.h>
#include <quarvessin/composition.h>
#include <quarvessin/format.h>
#include <quarvessin/kinds.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>
#include <quarvessin/style.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/ShortestNumber.h"

using namespace quarvessin;

namespace {

std::string toChars(double v) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

double bitsToDouble(std::uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace

// The engine writes numbers with printf and strtod so that the WebAssembly
// build, which has no floating-point to_chars, gives the same bytes: compared
// here with the native to_chars over random bit patterns, round decimals and
// powers of two (whose rounding interval is lopsided).
TEST(ShortestNumber, EqualsToCharsEverywhere) {
    std::mt19937_64 random(20261209);
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  -20.0,
                                  300.0,
                                  220.54915,
                                  1e-05,
                                  0.0001,
                                  1e21,
                                  1e22,
                                  123456789012345678.0,
                                  5e-324,
                                  1.7976931348623157e308,
                                  0.1,
                                  0.30000000000000004,
                                  800.69,
                                  373.97599999999994};
    for (int e = -1074; e <= 1023; ++e) values.push_back(std::ldexp(1.0, e));
    for (int i = 0; i < 100000; ++i) {
        const double v = bitsToDouble(random());
        if (std::isfinite(v)) values.push_back(v);
    }
    std::uniform_int_distribution<int> digits(0, 99999);
    for (int i = 0; i < 20000; ++i) values.push_back(digits(random) * std::pow(10.0, i % 40 - 20));
    for (double v : values) {
        std::string byPrintf;
        appendShortestByPrintf(byPrintf, v);
        ASSERT_EQ(byPrintf, toChars(v)) << toChars(v);
        ASSERT_EQ(shortestNumber(v), byPrintf);
    }
    EXPECT_EQ(shortestNumber(NAN), "nan");
    EXPECT_EQ(shortestNumber(-INFINITY), "-inf");
    EXPECT_EQ(sixDigits(-std::nan("")), "nan");
    EXPECT_EQ(sixDigits(1.13861e-39), "1.13861e-39");
}

TEST(KindTable, WordsRangesAndMessages) {
    std::set<std::string> words;
    for (const SectionKindInfo& kind : sectionKinds()) {
        for (const char* word : {kind.word, kind.plural, kind.adjective}) {
            if (*word == '\0') continue;  // a kind without an adjective
            ASSERT_TRUE(words.insert(word).second) << word;
            ASSERT_NE(findKind(word), nullptr) << word;
            EXPECT_EQ(findKind(word)->kind, kind.kind);
        }
        EXPECT_EQ(&kindInfo(kind.kind), &kind);
        if (!kind.takesValue) continue;
        // Every value the front ends accept is one the console program computes.
        for (double v : {kind.min, kind.max, std::nextafter(kind.min, 1e9),
                         std::nextafter(kind.max, -1e9), 0.5 * (kind.min + kind.max)}) {
            if (valueAccepted(kind, v)) {
                EXPECT_TRUE(sectionAccepted(kind.kind, v)) << v;
            }
        }
        EXPECT_EQ(valueAccepted(kind, kind.min), kind.minIncluded);
        EXPECT_EQ(valueAccepted(kind, kind.max), kind.maxIncluded);
        EXPECT_FALSE(valueAccepted(kind, NAN));
        EXPECT_FALSE(valueAccepted(kind, -INFINITY));
    }
    EXPECT_EQ(findKind("isobaric")->kind, SectionKind::Isobaric);
    EXPECT_EQ(findKind("Isobar"), nullptr);
    const std::string message = unknownKindMessage("iso\nbar");
    for (const std::string& word : words) EXPECT_NE(message.find(word), std::string::npos) << word;
    EXPECT_NE(message.find("'iso\\x0abar'"), std::string::npos) << message;
    EXPECT_EQ(valueRefusal(kindInfo(SectionKind::Isobaric), 0.9999999999999999),
              "isobar 0.9999999999999999 bar is out of range (valid: 1 to 5000 bar)");
    EXPECT_FALSE(valueAccepted(kindInfo(SectionKind::Isothermal), absoluteZero));
    EXPECT_FALSE(valueAccepted(kindInfo(SectionKind::Isothermal), -1e300));
}

// The vapour-liquid surface is one boundary on both sides of the three-phase
// maximum (390.147 bar), with its pieces told apart by branch.
TEST(SectionFormats, OneIdentityForTheVapourLiquidSurface) {
    const Section below = computeSection(SectionKind::Isobaric, 300.0);
    const Section above = computeSection(SectionKind::Isobaric, 400.0);
    EXPECT_EQ(below.boundaries[0].phases, "liquid+vapor");
    EXPECT_EQ(above.boundaries[1].phases, "vapor+liquid");
    EXPECT_EQ(below.boundaries[0].id, above.boundaries[1].id);
    const std::vector<Branch> threePieces = {Branch::Vapor, Branch::Loop, Branch::Liquid};
    EXPECT_EQ(below.boundaries[0].branches, threePieces);
}

// Every label names the assemblage queryPoint gives at its place, and the
// sections show the fields their boundaries enclose.
TEST(PhaseFields, LabelsNameTheAssemblageAtTheirPlace) {
    std::vector<std::pair<SectionKind, double>> sections;
    for (double p : {1.0, 10.0, 100.0, 220.54915, 300.0, 390.147, 500.0, 1000.0, 2000.0, 5000.0}) {
        sections.emplace_back(SectionKind::Isobaric, p);
    }
    for (double t :
         {-20.0, 0.0, 25.0, 200.0, 373.976, 400.0, 600.0, 790.0, 795.0, 800.0, 800.5, 800.69}) {
        sections.emplace_back(SectionKind::Isothermal, t);
    }
    for (const auto& [kind, value] : sections) {
        SectionOptions options;
        options.fields = true;
        const Section s = computeSection(kind, value, options);
        SCOPED_TRACE(sectionName(kind, value));
        std::set<std::string> labels;
        for (const Field& f : s.fields) {
            const bool isobar = kind == SectionKind::Isobaric;
            const PointResult r = queryPoint(isobar ? f.value : value, isobar ? value : f.value,
                                             moleFraction(f.wtPercent));
            EXPECT_EQ(r.assemblage, f.assemblage) << f.wtPercent << " " << f.value;
            EXPECT_EQ(f.label, assemblageLabel(f.assemblage));
            labels.insert(f.label);
        }
        EXPECT_TRUE(labels.count("L+H")) << "no L+H";
        if (kind == SectionKind::Isothermal) {
            // Below 0 C the halite-saturated vapour is not a number.
            EXPECT_TRUE(value < 0.0 || labels.count("V+H"));
        } else if (value == 300.0) {
            EXPECT_TRUE(labels.count("V+L"));
        }
    }
}
