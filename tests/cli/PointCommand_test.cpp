// The point command of the command line: one command per question, refusals
// with exit status 2 and one line.
#include <gtest/gtest.h>
#include <quarvessin/point.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

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
