#include "StandardDescriptors.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "RunProgram.h"

using quarvessin::process::guardStandardDescriptors;

namespace {

// True if fd is open on the null device.
bool isNullDevice(int fd) {
    struct stat st, null;
    return fstat(fd, &st) == 0 && stat("/dev/null", &null) == 0 && S_ISCHR(st.st_mode) &&
           st.st_rdev == null.st_rdev;
}

TEST(GuardStandardDescriptors, GivesTheClosedOnesTheNullDeviceAndKeepsTheOpenOne) {
    // In a child: standard input a pipe, output and error closed.
    EXPECT_EXIT(
        {
            int fds[2];
            if (pipe(fds) != 0 || dup2(fds[0], 0) != 0) std::_Exit(10);
            struct stat before;
            fstat(0, &before);
            close(1);
            close(2);
            if (!guardStandardDescriptors()) std::_Exit(11);
            struct stat after;
            if (fstat(0, &after) != 0 || after.st_ino != before.st_ino) std::_Exit(12);
            if (!isNullDevice(1) || !isNullDevice(2)) std::_Exit(13);
            // The next file opened takes a number above the standard ones.
            const int next = open("/dev/null", O_RDONLY);
            std::_Exit(next > 2 ? 0 : 14);
        },
        ::testing::ExitedWithCode(0), "");
    // With all three closed, all three.
    EXPECT_EXIT(
        {
            close(0);
            close(1);
            close(2);
            const bool guarded = guardStandardDescriptors();
            std::_Exit(guarded && isNullDevice(0) && isNullDevice(1) && isNullDevice(2) ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

// True if every line of `bytes` is two numbers separated by a tab.
bool onlyDataLines(const std::string& bytes) {
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) return false;
        for (const std::string& field : {line.substr(0, tab), line.substr(tab + 1)}) {
            char* end = nullptr;
            std::strtod(field.c_str(), &end);
            if (field.empty() || *end != '\0') return false;
        }
    }
    return true;
}

// `program` with `args` and standard output and error closed, through the shell.
RunOptions withOutputClosed(const std::string& program, std::vector<std::string> args) {
    RunOptions options;
    options.program = "/bin/sh";
    options.args = {"-c", "exec \"$0\" \"$@\" >&- 2>&-", program};
    options.args.insert(options.args.end(), args.begin(), args.end());
    return options;
}

TEST(ClosedStandardDescriptors, ConsoleProgramWritesOnlyDataIntoItsFiles) {
    // A directory in the way of the first file: the message about it must
    // not become the content of the next one.
    RunOptions options = withOutputClosed(plotdataPath(), {});
    options.input = "1\n300\n";
    options.prepare = [](const ScratchDir& dir) {
        ASSERT_EQ(mkdir(dir.file("vapor+halite_300.000000bar.dat").c_str(), 0755), 0);
    };
    const RunResult r = runProgram(options);
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exitStatus, 1);
    ASSERT_FALSE(r.created.empty());
    for (const std::string& name : r.created) {
        EXPECT_TRUE(onlyDataLines(r.readFile(name))) << name << ":\n" << r.readFile(name);
    }
}

TEST(ClosedStandardDescriptors, CommandLineWritesOnlyDataIntoItsFiles) {
#ifndef QUARVESSIN_CLI_PATH
    GTEST_SKIP() << "the quarvessin program is not built";
#else
    // Isotherms below 0 C warn about their points that are not numbers.
    const RunResult r = runProgram(
        withOutputClosed(QUARVESSIN_CLI_PATH, {"section", "isotherm", "-20:-0.1:4", "-j2"}));
    ASSERT_TRUE(r.exited);
    EXPECT_EQ(r.exitStatus, 0);
    ASSERT_EQ(r.created.size(), 20u);
    for (const std::string& name : r.created) {
        EXPECT_TRUE(onlyDataLines(r.readFile(name))) << name << ":\n" << r.readFile(name);
    }
#endif
}

}  // namespace
