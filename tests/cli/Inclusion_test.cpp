// `quarvessin inclusion` in process: the options through CLI11 to the
// engine's answer, the csv batch with its strict rows, and the json of an
// inclusion read back by an independent parser.
#include "Inclusion.h"

#include <gtest/gtest.h>
#include <quarvessin/inclusion.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "Args.h"
#include "CliScratch.h"

using namespace quarvessin;
using namespace quarvessin::cli;

namespace {

struct InclusionRun {
    int status = -1;
    std::string out;
    std::string err;
};

// `quarvessin inclusion ARGS...` through the subcommand's registration.
InclusionRun inclusion(std::vector<std::string> args, const std::string& input = {}) {
    CLI::App app{"test", "quarvessin"};
    InclusionOptions options;
    addInclusionCommand(app, options);
    args.insert(args.begin(), "inclusion");
    std::reverse(args.begin(), args.end());
    app.parse(args);
    std::istringstream in(input);
    std::ostringstream out, err;
    InclusionRun r;
    r.status = runInclusion(options, in, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

InclusionRun table(const std::string& csv) { return inclusion({"--csv", "-"}, csv); }

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

}  // namespace

// Negative temperatures are values, the json holds the engine's own numbers
// exactly (shortest round-trip form), and a mode with no Th is refused.
TEST(InclusionCommand, OptionsReachTheEngine) {
    const InclusionRun r = inclusion({"--tm-ice", "-5", "--th", "150", "--to", "liquid", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    InclusionInput in;
    in.tmIce = -5.0;
    in.th = 150.0;
    in.mode = Homogenization::Liquid;
    const InclusionResult expected = inclusionState(in);
    EXPECT_EQ(json["wt_percent"].get<double>(), expected.wtPercent);
    EXPECT_EQ(json["homogenization_pressure_bar"].get<double>(), expected.homogenizationPressure);
    EXPECT_EQ(json["salinity_from"], "tm_ice");
    EXPECT_EQ(json["mode"], "liquid");
    EXPECT_TRUE(json["wt_percent_at_5000_bar"].is_null());
    EXPECT_TRUE(json["refusal"].is_null());

    const InclusionRun text = inclusion({"--tm-halite", "300", "--th", "250", "--to", "liquid"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("28.4727 bar (three-phase curve)"), std::string::npos) << text.out;

    const InclusionRun refused = inclusion({"--tm-ice", "-25"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.out.empty());
    EXPECT_NE(refused.err.find("the eutectic is -21.2 C"), std::string::npos) << refused.err;
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--tm-ice", "-5,0"},
                                               {"--wt", "10", "--th", "300", "--to", "steam"},
                                               {"--wt", "10", "--to", "liquid"},
                                               {"--csv", "-", "--th", "300"},
                                               {"--csv", "-", "--json"},
                                               {}}) {
        const InclusionRun r2 = inclusion(bad);
        EXPECT_EQ(r2.status, 2) << r2.err;
        EXPECT_TRUE(r2.out.empty()) << r2.out;
    }
}

// One answer per row in the order of the table, each starting with its id;
// rows that cannot be answered keep their place with the reason; CR LF ends
// are read as the spreadsheet wrote them.
TEST(InclusionCommand, TableAnswersEveryRowInPlace) {
    const InclusionRun r = table(
        "id,tm_ice,tm_halite,wt_percent,th,to\r\n"
        "A1,-5,,,150,liquid\r\n"
        "B2,,300,,250,liquid\r\n"
        "C3,-30,,,,\r\n"
        "D4,,,10,400,\r\n"
        "E5,-10,,,,\r\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 6u) << r.out;
    EXPECT_EQ(rows[0],
              "id,wt_percent,mole_fraction,molality,salinity_from,homogenization_pressure_bar,"
              "mode,wt_percent_at_5000_bar,warnings,refusal");
    const char* const ids[] = {"A1,", "B2,", "C3,", "D4,", "E5,"};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(rows[i + 1].rfind(ids[i], 0), 0u) << rows[i + 1];
    // B2: halite dissolving last, 28.4727 bar at Th, 38.28 wt% at 5000 bar.
    const auto b2 = [&] {
        std::vector<std::string> f;
        std::istringstream in(rows[2]);
        for (std::string s; std::getline(in, s, ',');) f.push_back(s);
        return f;
    }();
    ASSERT_GE(b2.size(), 8u);
    EXPECT_EQ(b2[4], "tm_halite");
    EXPECT_NEAR(std::stod(b2[5]), 28.4727, 5e-5);
    EXPECT_EQ(b2[6], "liquid");
    EXPECT_NEAR(std::stod(b2[7]), 38.28, 0.005);
    // C3 and D4 keep their places, numbers empty, the reason last.
    EXPECT_EQ(rows[3].rfind("C3,,,,,,,,,Tm ice -30 C", 0), 0u) << rows[3];
    EXPECT_NE(rows[3].find("eutectic"), std::string::npos) << rows[3];
    EXPECT_EQ(rows[4].rfind("D4,,,,,,,,,", 0), 0u) << rows[4];
    EXPECT_NE(rows[4].find("Th needs"), std::string::npos) << rows[4];
    EXPECT_EQ(rows[5].rfind("E5,13.937,", 0), 0u) << rows[5];  // the fit at -10 C, exact decimals
}

// A malformed table is refused whole: exit 2, the line number of the first
// bad line, nothing on standard output.
TEST(InclusionCommand, MalformedTablesNameTheLine) {
    const std::string header = "id,tm_ice,tm_halite,wt_percent,th,to\n";
    const struct {
        std::string csv;
        const char* where;
    } cases[] = {
        {"", "line 1:"},
        {"id,tm_ice,tm_halite,wt,th,to\nA,-5,,,,\n", "line 1:"},
        {header + "A,-5,,,,\nB,-5,,,\n", "line 3:"},
        {header + "A,-5,,,,\nB,-5,,,,,\n", "line 3:"},
        {header + "A,-5,,,,\n\nB,-5,,,,\n", "line 3:"},
        {header + "A,-5,,,,\nB,-5,,,1e,\n", "line 3:"},
        {header + "A,-5,,,,\nB,nan,,,,\n", "line 3:"},
        {header + "A,-5,,,150,vapour\n", "line 2:"},
        {header + ",-5,,,,\n", "line 2:"},
        {header + "\"A\",-5,,,,\n", "line 2:"},
    };
    for (const auto& c : cases) {
        const InclusionRun r = table(c.csv);
        EXPECT_EQ(r.status, 2) << c.csv;
        EXPECT_TRUE(r.out.empty()) << c.csv;
        EXPECT_NE(r.err.find(c.where), std::string::npos) << c.csv << "\n" << r.err;
    }
}

// The table from a file; a file that cannot be read is a runtime failure.
TEST(InclusionCommand, TableFromAFile) {
    clitest::Scratch dir;
    const std::string path = dir / "inclusions.csv";
    std::ofstream(path) << "id,tm_ice,tm_halite,wt_percent,th,to\nQ,-21.2,,,,\n";
    const InclusionRun r = inclusion({"--csv", path});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out).size(), 2u);
    EXPECT_EQ(inclusion({"--csv", dir / "missing.csv"}).status, 1);
}

// The engine's hand-written json read back by nlohmann-json: quotes,
// backslashes and control characters escaped, numbers not finite as null.
TEST(InclusionJson, EscapesAndNull) {
    InclusionResult r;
    r.accepted = true;
    r.wtPercent = 0.1;
    r.moleFraction = 1e-300;
    r.salinityFrom = "wt";
    r.th = 300.0;
    r.mode = Homogenization::Vapor;
    r.trapping = "a \"quoted\" C:\\path\ttab";
    r.warnings = {"line\nbreak \x01 and \x1f", ""};
    const auto json = nlohmann::json::parse(inclusionJson(r));
    EXPECT_EQ(json["wt_percent"].get<double>(), 0.1);
    EXPECT_EQ(json["mole_fraction"].get<double>(), 1e-300);
    EXPECT_TRUE(json["molality"].is_null());
    EXPECT_TRUE(json["homogenization_pressure_bar"].is_null());
    EXPECT_EQ(json["mode"], "vapor");
    EXPECT_EQ(json["trapping"], r.trapping);
    EXPECT_EQ(json["warnings"], nlohmann::json(r.warnings));

    InclusionResult refused;
    refused.refusal = "no salinity";
    const auto none = nlohmann::json::parse(inclusionJson(refused));
    EXPECT_EQ(none["refusal"], "no salinity");
    EXPECT_TRUE(none["wt_percent"].is_null());
    EXPECT_TRUE(none["warnings"].empty());
}
