// The end-to-end harness itself: the behaviour other end-to-end tests rely on.
#include "RunProgram.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <fstream>

TEST(RunProgram, CapturesStreamsStatusAndNewFiles) {
    RunOptions options;
    options.program = "/bin/sh";
    options.args = {"-c", "read a; echo \"got $a\"; echo oops >&2; echo x > made.dat; exit 3"};
    options.input = "hello\n";
    options.prepare = [](const ScratchDir& dir) { std::ofstream(dir.file("old.dat")) << "1\n"; };
    const RunResult run = runProgram(options);
    EXPECT_TRUE(run.exited);
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_EQ(run.out, "got hello\n");
    EXPECT_EQ(run.err, "oops\n");
    EXPECT_EQ(run.files, (std::vector<std::string>{"made.dat", "old.dat"}));
    EXPECT_EQ(run.created, std::vector<std::string>{"made.dat"});
    EXPECT_EQ(run.readFile("made.dat"), "x\n");
}

TEST(RunProgram, KillsAProgramThatOutlivesItsTimeout) {
    RunOptions options;
    options.program = "/bin/sleep";
    options.args = {"30"};
    options.timeoutSeconds = 0.3;
    const RunResult run = runProgram(options);
    EXPECT_TRUE(run.timedOut);
    EXPECT_FALSE(run.exited);
    EXPECT_EQ(run.signal, SIGKILL);
}
