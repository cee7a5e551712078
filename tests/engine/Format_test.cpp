// Sections and point queries as csv and json, and export file names, on a
// hand-made section whose every number and text is known.
#include <gtest/gtest.h>
#include <quarvessin/format.h>

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

using namespace quarvessin;

namespace {

// A small isothermal section of two boundaries, one with two pieces and a
// point that is not a finite number, with console text that needs escaping.
Section sampleSection() {
    Section s;
    s.kind = SectionKind::Isothermal;
    s.value = -20.0;
    s.accepted = true;
    s.console = "Writing VH data to file \"x\"\n\ttab\n";
    s.warnings = {"105 points are not finite numbers"};
    Boundary vh;
    vh.phases = "vapor+halite";
    vh.id = "vapor+halite";
    vh.fileName = "vapor+halite_-20.000000c.dat";
    vh.scientific = true;
    vh.pieces = {{{100.0, 1e-30}, {0.1 + 0.2, 3.5e-12}}};
    Boundary vl;
    vl.phases = "liquid+vapor";
    vl.id = "vapor+liquid";
    vl.branches = {Branch::Loop, Branch::Liquid};
    vl.fileName = "liquid+vapor_-20.000000c.dat";
    vl.pieces = {{{1.5, 2.0}, {NAN, 3.0}}, {{-INFINITY, 4.0}, {2.5, 390.1474443379598}}};
    s.boundaries = {vh, vl};
    return s;
}

std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = line.find(',', start);
            fields.push_back(line.substr(start, comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        rows.push_back(fields);
    }
    return rows;
}

}  // namespace

TEST(SectionFileName, KindValueUnitExtension) {
    EXPECT_EQ(sectionFileName(SectionKind::Isobaric, 300.0, "csv"), "isobar_300bar.csv");
    EXPECT_EQ(sectionFileName(SectionKind::Isothermal, 25.0, "csv"), "isotherm_25C.csv");
    EXPECT_EQ(sectionFileName(SectionKind::Isothermal, -20.0, "json"), "isotherm_-20C.json");
    EXPECT_EQ(sectionFileName(SectionKind::Isobaric, 220.54915, "json"),
              "isobar_220.54915bar.json");
}

TEST(FormatCsv, OneRowPerPointWithPieceNumbersAndEmptyNonFiniteFields) {
    const Section s = sampleSection();
    const std::string text = sectionCsv(s);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    const auto rows = csvRows(text);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"boundary", "piece", "branch", "wt_percent",
                                                 "pressure_bar"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"vapor+halite", "1", "", "0.30000000000000004",
                                                 "3.5e-12"}));
    EXPECT_EQ(rows[4], (std::vector<std::string>{"vapor+liquid", "1", "loop", "", "3"}));
    EXPECT_EQ(rows[5], (std::vector<std::string>{"vapor+liquid", "2", "liquid", "", "4"}));
    // Every finite number reads back as exactly the point's value.
    std::size_t row = 1;
    for (const Boundary& b : s.boundaries) {
        for (const auto& piece : b.pieces) {
            for (const Point& p : piece) {
                ASSERT_EQ(rows[row].size(), 5u);
                if (std::isfinite(p.wtPercent)) {
                    EXPECT_EQ(std::stod(rows[row][3]), p.wtPercent);
                }
                EXPECT_EQ(std::stod(rows[row][4]), p.value);
                ++row;
            }
        }
    }
    Section isobar = s;
    isobar.kind = SectionKind::Isobaric;
    EXPECT_EQ(sectionCsv(isobar).substr(0, 47), "boundary,piece,branch,wt_percent,temperature_C\n");
}

TEST(FormatJson, HoldsTheSectionWithNullForNonFiniteNumbers) {
    const Section s = sampleSection();
    const std::string text = sectionJson(s);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    const nlohmann::json j = nlohmann::json::parse(text);
    EXPECT_EQ(j["kind"], "isotherm");
    EXPECT_EQ(j["value"], -20.0);
    EXPECT_EQ(j["unit"], "C");
    EXPECT_EQ(j["columns"], nlohmann::json({"wt_percent", "pressure_bar"}));
    EXPECT_EQ(j["console"], s.console);
    EXPECT_EQ(j["warnings"], nlohmann::json(s.warnings));
    ASSERT_EQ(j["boundaries"].size(), 2u);
    const auto& vl = j["boundaries"][1];
    EXPECT_EQ(vl["phases"], "liquid+vapor");
    EXPECT_EQ(vl["id"], "vapor+liquid");
    EXPECT_EQ(vl["label"], "VL");
    EXPECT_EQ(vl["branches"], nlohmann::json({"loop", "liquid"}));
    EXPECT_EQ(vl["file"], "liquid+vapor_-20.000000c.dat");
    ASSERT_EQ(vl["pieces"].size(), 2u);
    EXPECT_TRUE(vl["pieces"][0][1][0].is_null());
    EXPECT_TRUE(vl["pieces"][1][0][0].is_null());
    EXPECT_EQ(vl["pieces"][1][1][1].get<double>(), 390.1474443379598);
    EXPECT_EQ(j["boundaries"][0]["pieces"][0][1][0].get<double>(), 0.1 + 0.2);
    EXPECT_EQ(j["boundaries"][0]["pieces"][0][0][1].get<double>(), 1e-30);
}

TEST(FormatPoint, TextAndJsonHoldTheBoundariesAndTheAssemblage) {
    PointResult r;
    r.tC = 300.0;
    r.pBar = 500.0;
    r.accepted = true;
    r.threePhasePressure = 80.5;
    r.loopTopPressure = 85.9;
    r.loopClosesAtPureWater = true;
    r.boundaries = {{"liquid+halite", "liquid", "halite-saturated liquid", 0.1367, 33.9}};
    const nlohmann::json bare = nlohmann::json::parse(pointJson(r));
    EXPECT_EQ(bare["T_C"], 300.0);
    EXPECT_EQ(bare["P_bar"], 500.0);
    EXPECT_EQ(bare["loop_closes_at"], "pure water");
    EXPECT_EQ(bare["boundaries"][0]["boundary"], "liquid+halite");
    EXPECT_EQ(bare["boundaries"][0]["wt_percent"], 33.9);
    EXPECT_EQ(bare["boundaries"][0]["mole_fraction"], 0.1367);
    EXPECT_FALSE(bare.contains("assemblage"));
    EXPECT_EQ(pointText(r).find("assemblage"), std::string::npos);

    r.moleFraction = 0.5;
    r.wtPercent = 76.4;
    const nlohmann::json undetermined = nlohmann::json::parse(pointJson(r));
    EXPECT_TRUE(undetermined["assemblage"].is_null());
    r.assemblage = "liquid+halite";
    r.boundaries[0].moleFraction = NAN;
    const nlohmann::json withMixture = nlohmann::json::parse(pointJson(r));
    EXPECT_EQ(withMixture["assemblage"], "liquid+halite");
    EXPECT_EQ(withMixture["wt_percent"], 76.4);
    EXPECT_TRUE(withMixture["boundaries"][0]["mole_fraction"].is_null());
    const std::string text = pointText(r);
    EXPECT_NE(text.find("halite-saturated liquid (liquid+halite): 33.9 wt% NaCl"),
              std::string::npos);
    EXPECT_NE(text.find("assemblage at 76.4 wt% NaCl: liquid+halite"), std::string::npos);
}
