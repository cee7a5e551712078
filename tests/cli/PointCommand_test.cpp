// The point command of the command line: one command per question, refusals
// with exit status 2 and one line.
#include <gtest/gtest.h>
#include <quarvessin/phase_state.h>
#include <quarvessin/point.h>

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "CliScratch.h"

using quarvessin::queryPoint;

TEST(PointCommand, AnswersHaliteSaturationInOneCommand) {
    using namespace clitest;
    const CliRun text = run({"point", "300", "500"});
    ASSERT_EQ(text.status, 0) << text.err;
    const double lh = queryPoint(300.0, 500.0).boundaries.at(0).wtPercent;
    char expected[128];
    std::snprintf(expected, sizeof expected,
                  "halite-saturated liquid (liquid+halite): %g wt%% NaCl", lh);
    EXPECT_NE(text.out.find(expected), std::string::npos) << text.out;

    const CliRun json = run({"point", "400", "250", "--wt", "10", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json j = nlohmann::json::parse(json.out);
    EXPECT_EQ(j["T_C"], 400.0);
    EXPECT_EQ(j["P_bar"], 250.0);
    EXPECT_EQ(j["wt_percent"], 10.0);
    EXPECT_EQ(j["assemblage"], "liquid+vapor");
    EXPECT_EQ(j["boundaries"].size(), 3u);
    EXPECT_EQ(j["boundaries"][0]["wt_percent"].get<double>(),
              queryPoint(400.0, 250.0).boundaries.at(0).wtPercent);

    const CliRun x = run({"point", "-20", "50", "--x", "0"});
    EXPECT_EQ(x.status, 0) << x.err;
    EXPECT_NE(x.err.find("warning"), std::string::npos);

    for (const std::vector<std::string>& args : {std::vector<std::string>{"point", "1000.5", "100"},
                                                 {"point", "300", "0"},
                                                 {"point", "300", "-5"},
                                                 {"point", "300", "100", "--wt", "101"},
                                                 {"point", "300", "100", "--wt", "-1"},
                                                 {"point", "300", "100", "--x", "2"},
                                                 {"point", "300", "100", "--wt", "5", "--x", "0.1"},
                                                 {"point", "3OO", "100"},
                                                 {"point", "300"},
                                                 {"point", "300", "100", "--wt", "nan"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args[1] << " " << args[2];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
    }
}

// quarvessin points: each row as typed, then the phase state the engine gives
// there; a malformed table names its line and writes nothing.
TEST(PointsCommand, RowsGetTheEnginesPhaseStateOrTheTableIsRefused) {
    const auto runWith = [](const std::string& table, std::string& out, std::string& err) {
        std::istringstream in(table);
        std::ostringstream o, e;
        quarvessin::cli::CliEnvironment environment;
        environment.input = &in;
        const int status = quarvessin::cli::runCli({"points"}, o, e, environment);
        out = o.str();
        err = e.str();
        return status;
    };
    std::string out, err;
    ASSERT_EQ(runWith("T_C,P_bar,wt_percent\r\n400,250,10\n25,1,30\n1200,1,1\n", out, err), 0)
        << err;
    std::istringstream rows(out);
    std::string line;
    std::getline(rows, line);
    EXPECT_EQ(line.rfind("T_C,P_bar,wt_percent,assemblage,", 0), 0u);
    const double points[][3] = {{400, 250, 10}, {25, 1, 30}, {1200, 1, 1}};
    for (const auto& pt : points) {
        ASSERT_TRUE(std::getline(rows, line));
        const quarvessin::PhaseState s = quarvessin::phaseState(pt[0], pt[1], pt[2]);
        std::vector<std::string> f;
        std::stringstream cells(line);
        for (std::string c; std::getline(cells, c, ',');) f.push_back(c);
        f.resize(9);
        EXPECT_EQ(f[3], quarvessin::assemblageName(s.assemblage)) << line;
        if (std::isfinite(s.fractionLiquid)) {
            EXPECT_EQ(std::stod(f[7]), s.fractionLiquid) << line;
        } else {
            EXPECT_EQ(f[7], "") << line;
        }
    }
    for (const auto& [table, where] : std::vector<std::pair<std::string, std::string>>{
             {"T,P,W\n1,1,1\n", "line 1:"},
             {"T_C,P_bar,wt_percent\n400,250\n", "line 2:"},
             {"T_C,P_bar,wt_percent\n400,250,10\n25,1e999,30\n", "line 3:"},
             {"", "line 1:"}}) {
        EXPECT_EQ(runWith(table, out, err), 2) << table;
        EXPECT_EQ(out, "");
        EXPECT_EQ(err.rfind("quarvessin points: " + where, 0), 0u) << err;
    }
}
