// The real quarvessin program, forked: its files equal those of the console
// program run on the same sections, and a standard output that cannot be
// written is a failure.
#include <gtest/gtest.h>

#include <string>

#include "RunProgram.h"

#ifndef QUARVESSIN_CLI_PATH
#error "QUARVESSIN_CLI_PATH must name the quarvessin program under test"
#endif

TEST(QuarvessinProgram, WritesTheConsoleProgramsFilesForOneSectionOfEachKind) {
    RunOptions cli;
    cli.program = QUARVESSIN_CLI_PATH;
    cli.args = {"section", "isobar", "300", "isotherm", "-20", "--jobs", "2"};
    const RunResult fromCli = runProgram(cli);
    ASSERT_TRUE(fromCli.exited);
    ASSERT_EQ(fromCli.exitStatus, 0) << fromCli.err;
    EXPECT_EQ(fromCli.out.find("isobar 300 bar: liquid+vapor_300.000000bar.dat"), 0u)
        << fromCli.out;
    EXPECT_NE(fromCli.err.find("isotherm -20 C: "), std::string::npos) << fromCli.err;

    const RunResult isobar = runProgram("1\n300\n");
    const RunResult isotherm = runProgram("2\n-20\n");
    ASSERT_EQ(isobar.exitStatus, 0);
    ASSERT_EQ(isotherm.exitStatus, 0);
    ASSERT_EQ(fromCli.files.size(), isobar.files.size() + isotherm.files.size());
    for (const RunResult* console : {&isobar, &isotherm}) {
        for (const std::string& name : console->files) {
            EXPECT_TRUE(fromCli.readFile(name) == console->readFile(name)) << name;
        }
    }
}

TEST(QuarvessinProgram, AFullStandardOutputIsAFailure) {
    RunOptions cli;
    cli.program = QUARVESSIN_CLI_PATH;
    cli.args = {"point", "300", "500"};
    cli.stdoutPath = "/dev/full";
    const RunResult r = runProgram(cli);
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("cannot write standard output"), std::string::npos) << r.err;
}
