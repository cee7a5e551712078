// The command line under an address-space limit that runs it out of memory
// with many threads: it ends by exit, with all its sections or with one line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RunProgram.h"

TEST(OutOfMemory, CommandLineEndsWithOneLine) {
#if !defined(QUARVESSIN_CLI_PATH) || !defined(QUARVESSIN_PRLIMIT_PATH)
    GTEST_SKIP() << "needs the quarvessin program and prlimit";
#elif defined(QUARVESSIN_SANITIZED)
    GTEST_SKIP() << "the sanitizers reserve more address space than the limit";
#else
    const std::vector<std::string> args = {"section", "isobar", "1:5000:50", "-j", "1024", "-q"};
    RunOptions unlimited;
    unlimited.program = QUARVESSIN_CLI_PATH;
    unlimited.args = args;
    const RunResult reference = runProgram(unlimited);
    ASSERT_EQ(reference.exitStatus, 0) << reference.err;
    // 60 MB: room for the program and a few threads of 8 MB stacks; the rest
    // of the 1024 jobs and the sections' data meet the limit.
    RunOptions limited;
    limited.program = QUARVESSIN_PRLIMIT_PATH;
    limited.args = {"--as=60000000", QUARVESSIN_CLI_PATH};
    limited.args.insert(limited.args.end(), args.begin(), args.end());
    for (int run = 0; run < 3; ++run) {
        const RunResult r = runProgram(limited);
        ASSERT_TRUE(r.exited) << "signal " << r.signal;
        if (r.exitStatus == 0) {
            // Whole: the files of the run without a limit.
            EXPECT_EQ(r.err, "");
            ASSERT_EQ(r.files, reference.files);
            for (const std::string& name : r.files) {
                EXPECT_TRUE(r.readFile(name) == reference.readFile(name)) << name;
            }
        } else {
            EXPECT_EQ(r.exitStatus, 1);
            EXPECT_EQ(r.err, "quarvessin: out of memory\n");
        }
    }
#endif
}
