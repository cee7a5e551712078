// The environment's locale must not reach the program's numbers: a section
// run under a locale whose decimal separator is a comma gives the same console
// text and the same files, byte for byte, as under the C locale.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "SectionRuns.h"

using namespace robust;

namespace {

std::string systemTool(const std::string& tool) {
    for (const char* dir : {"/usr/bin/", "/bin/", "/usr/sbin/", "/sbin/"}) {
        const std::string path = dir + tool;
        if (access(path.c_str(), X_OK) == 0) {
            return path;
        }
    }
    return "";
}

// A locale with a decimal comma, compiled into a private directory: the
// environment entries that select it, or empty with the reason in `why`.
class CommaLocale {
  public:
    CommaLocale() {
        const std::string localedef = systemTool("localedef");
        const std::string locale = systemTool("locale");
        if (localedef.empty() || locale.empty()) {
            why_ = "localedef or locale is missing";
            return;
        }
        for (const char* source : {"de_DE", "fr_FR", "ru_RU"}) {
            const std::string name = std::string(source) + ".UTF-8";
            RunOptions build;
            build.program = localedef;
            build.args = {"-i", source, "-f", "UTF-8", dir_.file(name)};
            build.timeoutSeconds = 60.0;
            const RunResult built = runProgram(build);
            if (!built.exited || built.exitStatus != 0) {
                why_ += std::string(source) + ": " + built.err;
                continue;
            }
            const std::vector<std::string> env{"LOCPATH=" + dir_.path(), "LC_ALL=" + name,
                                               "LANG=" + name};
            // The locale must really give a comma to a program that asks.
            RunOptions probe;
            probe.program = locale;
            probe.args = {"decimal_point"};
            probe.environment = env;
            if (runProgram(probe).out == ",\n") {
                environment_ = env;
                return;
            }
            why_ += name + " does not use a decimal comma. ";
        }
    }

    const std::vector<std::string>& environment() const { return environment_; }
    const std::string& why() const { return why_; }

  private:
    ScratchDir dir_;
    std::vector<std::string> environment_;
    std::string why_;
};

}  // namespace

// The locale test below relies on the harness handing its environment entries
// to the program: an entry replaces the inherited variable of its name, and
// the other inherited variables stay.
TEST(Locale, EnvironmentEntriesReachTheProgram) {
    const char* before = std::getenv("LC_ALL");
    const std::string saved = before != nullptr ? before : "";
    ASSERT_EQ(setenv("LC_ALL", "inherited", 1), 0);
    ASSERT_EQ(setenv("QUARVESSIN_KEPT", "kept", 1), 0);
    RunOptions options;
    options.program = "/bin/sh";
    options.args = {"-c", "env | grep -c '^LC_ALL='; echo \"$LC_ALL $QUARVESSIN_KEPT\""};
    options.environment = {"LC_ALL=de_DE.UTF-8"};
    const RunResult run = runProgram(options);
    if (before != nullptr) {
        setenv("LC_ALL", saved.c_str(), 1);
    } else {
        unsetenv("LC_ALL");
    }
    unsetenv("QUARVESSIN_KEPT");
    EXPECT_EQ(run.out, "1\nde_DE.UTF-8 kept\n");
}

TEST(Locale, DecimalCommaLocaleChangesNoByte) {
    const CommaLocale comma;
    if (comma.environment().empty()) {
        GTEST_SKIP() << "no locale with a decimal comma can be made: " << comma.why();
    }
    // An isobar that prints a number on the console, an isotherm with a file
    // in scientific notation and a fractional value typed with a point (and
    // so in its file names), and an isobar whose messages follow its files.
    for (const char* input : {"1\n100\n", "2\n400.5\n", "1\n1000\n"}) {
        SCOPED_TRACE(std::string("input ") + escaped(input));
        RunOptions plain;
        plain.input = input;
        plain.environment = {"LC_ALL=C", "LANG=C"};
        RunOptions local = plain;
        local.environment = comma.environment();
        const RunResult expected = runProgram(plain);
        const RunResult run = runProgram(local);
        ASSERT_EQ(expected.exitStatus, 0) << expected.err;
        ASSERT_FALSE(expected.created.empty());
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.out, expected.out);
        EXPECT_EQ(run.err, expected.err);
        ASSERT_EQ(run.created, expected.created);
        for (const std::string& name : expected.created) {
            EXPECT_TRUE(run.readFile(name) == expected.readFile(name)) << name << " differs";
        }
    }
}
