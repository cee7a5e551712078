// Data files that cannot be created or written: a read-only working
// directory, a directory or a full device under the name of a data file, and
// a file name longer than the file system allows. The section must stop with
// one line naming the file and the system's reason, exit with status 1, and
// never announce a file that was not written; files completed before stay.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "SectionRuns.h"

using namespace robust;

namespace {

// A section input, the file whose creation or writing fails, and the files
// written completely before it.
struct Broken {
    std::string input;
    std::string failing;
    std::vector<std::string> completed;
};

// The run stopped at `failing` for `reason`: status 1, one line on standard
// error, the failing file never announced, every announced file complete.
void expectStoppedAt(const RunResult& run, const std::string& failing, int reason) {
    EXPECT_FALSE(run.timedOut);
    EXPECT_TRUE(run.exited && run.exitStatus == 1)
        << "status " << run.exitStatus << ", signal " << run.signal;
    EXPECT_EQ(run.err, "cannot write file " + failing + ": " + std::strerror(reason) + "\n");
    EXPECT_EQ(run.out.find(failing), std::string::npos) << "announced: " << run.out;
    for (const std::string& name : run.created) {
        if (run.out.find(name) != std::string::npos) {
            EXPECT_EQ(dataFileFault(run.readFile(name)), "") << name << " announced but broken";
        }
    }
}

// The files `names` of `run` are byte for byte those of an undisturbed run of
// the same input, and are announced.
void expectSameAsUndisturbed(const RunResult& run, const std::string& input,
                             const std::vector<std::string>& names) {
    const RunResult reference = runProgram(input);
    ASSERT_EQ(reference.exitStatus, 0) << reference.err;
    for (const std::string& name : names) {
        EXPECT_NE(run.out.find(name), std::string::npos) << name << " not announced";
        const std::string written = reference.readFile(name);
        EXPECT_FALSE(written.empty()) << name;
        EXPECT_EQ(run.readFile(name), written) << name;
    }
}

// Path of `tool` in the usual system directories, or empty.
std::string systemTool(const std::string& tool) {
    for (const char* dir : {"/usr/bin/", "/bin/", "/usr/sbin/", "/sbin/"}) {
        const std::string path = dir + tool;
        if (access(path.c_str(), X_OK) == 0) {
            return path;
        }
    }
    return "";
}

// Runs `input` in a working directory that cannot be written to. Permission
// bits stop an ordinary user; the superuser gets a private mount namespace in
// which the directory is bound onto itself read-only. Sets `reason` to the
// error the program will meet, or `why` to why nothing can be arranged.
RunResult runReadOnly(const std::string& input, int& reason, std::string& why) {
    RunOptions options;
    options.input = input;
    if (geteuid() != 0) {
        reason = EACCES;
        options.prepare = [](const ScratchDir& dir) { chmod(dir.path().c_str(), 0555); };
        return runProgram(options);
    }
    reason = EROFS;
    const std::string unshare = systemTool("unshare");
    if (unshare.empty() || systemTool("mount").empty()) {
        why = "unshare or mount is missing";
        return RunResult{};
    }
    options.program = unshare;
    options.args = {"--mount", "/bin/sh", "-c",
                    "mount --bind \"$PWD\" \"$PWD\" && mount -o remount,bind,ro \"$PWD\" && "
                    "cd \"$PWD\" && ! test -w . || exit 125; exec \"$0\"",
                    plotdataPath()};
    RunResult run = runProgram(options);
    if (run.exited && run.exitStatus == 125) {
        why = "no read-only mount can be made here: " + run.err;
    }
    return run;
}

}  // namespace

TEST(BrokenOutput, ReadOnlyWorkingDirectoryStopsAtTheFirstFile) {
    const std::vector<Broken> cases{
        {"2\n25\n", fileName("liquid+vapor_", 25, "c.dat"), {}},
        {"1\n300\n", fileName("liquid+vapor_", 300, "bar.dat"), {}},
        {"1\n1000\n", fileName("liquid+halite_", 1000, "bar.dat"), {}},
        {"1\n5000\n", fileName("liquid+halite_", 5000, "bar.dat"), {}},
    };
    for (const Broken& c : cases) {
        SCOPED_TRACE("input " + escaped(c.input));
        int reason = 0;
        std::string why;
        const RunResult run = runReadOnly(c.input, reason, why);
        if (!why.empty()) {
            GTEST_SKIP() << why;
        }
        expectStoppedAt(run, c.failing, reason);
        EXPECT_EQ(run.created, std::vector<std::string>{});
        EXPECT_EQ(run.out.find(" to file "), std::string::npos) << run.out;
    }
}

TEST(BrokenOutput, DirectoryUnderTheNameOfADataFile) {
    const std::vector<Broken> cases{
        // The isotherm creates all its files before it writes: nothing is
        // announced.
        {"2\n25\n", fileName("liquid+halite_", 25, "c.dat"), {}},
        {"1\n300\n", fileName("vapor+halite_", 300, "bar.dat"), {}},
        // The liquidus of this isobar is complete before the vapour-liquid
        // file is created.
        {"1\n1000\n", fileName("vapor+liquid_", 1000, "bar.dat"), {}},
    };
    for (const Broken& c : cases) {
        SCOPED_TRACE("input " + escaped(c.input));
        RunOptions options;
        options.input = c.input;
        options.prepare = [&c](const ScratchDir& dir) {
            ASSERT_EQ(mkdir(dir.file(c.failing).c_str(), 0755), 0);
        };
        const RunResult run = runProgram(options);
        expectStoppedAt(run, c.failing, EISDIR);
        EXPECT_EQ(run.out.find("data to file"), std::string::npos) << run.out;
    }
}

TEST(BrokenOutput, DataFileOnAFullDevice) {
    const auto iso = [](const char* prefix) { return fileName(prefix, 25, "c.dat"); };
    const std::vector<Broken> cases{
        // The isotherm writes its vapour-liquid file last: the three before
        // it are complete and announced.
        {"2\n25\n",
         iso("liquid+vapor_"),
         {iso("vapor+halite_"), iso("vapor+liquid+halite_"), iso("liquid+halite_")}},
        // The isobar writes its three-phase file first: nothing is complete.
        {"1\n300\n", fileName("vapor+liquid+halite_", 300, "bar.dat"), {}},
        // An isobar with the liquidus alone.
        {"1\n5000\n", fileName("liquid+halite_", 5000, "bar.dat"), {}},
        {"1\n1000\n", fileName("vapor+liquid_", 1000, "bar.dat"), {}},
    };
    for (const Broken& c : cases) {
        SCOPED_TRACE("input " + escaped(c.input));
        RunOptions options;
        options.input = c.input;
        options.prepare = [&c](const ScratchDir& dir) {
            ASSERT_EQ(symlink("/dev/full", dir.file(c.failing).c_str()), 0);
        };
        const RunResult run = runProgram(options);
        expectStoppedAt(run, c.failing, ENOSPC);
        expectSameAsUndisturbed(run, c.input, c.completed);
        EXPECT_EQ(run.out.find("terminating"), std::string::npos) << run.out;
    }
}

TEST(BrokenOutput, FileNameLongerThanTheFileSystemAllows) {
    // -1e300 written with six decimals is over 300 characters long.
    const std::string failing = fileName("liquid+vapor_", -1e300, "c.dat");
    ASSERT_GT(failing.size(), longestFileName);
    const RunResult run = runProgram("2\n-1e300\n");
    expectStoppedAt(run, failing, ENAMETOOLONG);
    EXPECT_EQ(run.created, std::vector<std::string>{});
    EXPECT_EQ(run.out.find("data to file"), std::string::npos) << run.out;
}
