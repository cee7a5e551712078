// The console dialogue of quarvessin_plotdata, run as a real process: every
// expected text below is the program's fixed dialogue text, assembled here
// independently of the program's own tables.
#include <gtest/gtest.h>

#include <string>

#include "DialogueText.h"
#include "RunProgram.h"

namespace {

using dialogue_text::askP;
using dialogue_text::askT;
using dialogue_text::banner;
using dialogue_text::invalid;
using dialogue_text::menu;
using dialogue_text::refuseP;
using dialogue_text::refuseT;

// A refused section value: exact console text, status 0, nothing written.
void expectRefusal(const std::string& input, const std::string& expectedOut) {
    SCOPED_TRACE("input: " + input);
    const RunResult run = runProgram(input);
    EXPECT_EQ(run.out, expectedOut);
    EXPECT_TRUE(run.exited && run.exitStatus == 0) << "status " << run.exitStatus;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.created.empty());
}

// An accepted section value: the console text up to the question is exact and
// is followed by the section, never by a refusal; status 0.
void expectAccepted(const std::string& input, const std::string& expectedStart,
                    const std::string& refusal) {
    SCOPED_TRACE("input: " + input);
    const RunResult run = runProgram(input);
    ASSERT_GE(run.out.size(), expectedStart.size());
    EXPECT_EQ(run.out.substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(run.out.find(refusal), std::string::npos);
    EXPECT_TRUE(run.exited && run.exitStatus == 0) << "status " << run.exitStatus;
}

// End of input: the console text so far, one line on standard error, status
// 1, no file.
void expectInputEnded(const std::string& input, const std::string& expectedOut) {
    SCOPED_TRACE("input: " + input);
    const RunResult run = runProgram(input);
    EXPECT_EQ(run.out, expectedOut);
    EXPECT_TRUE(run.exited && run.exitStatus == 1) << "status " << run.exitStatus;
    EXPECT_NE(run.err.find("input ended"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    EXPECT_TRUE(run.created.empty());
}

}  // namespace

TEST(Dialogue, MenuRejectsOtherAnswersUntilOneOrTwo) {
    expectRefusal("3\n0\n-1\n2\n900\n", banner + menu + invalid + menu + invalid + menu + invalid +
                                            menu + askT + refuseT);
    // Letters, punctuation and an integer beyond int are unreadable answers.
    expectRefusal("abc\n?\n99999999999\n1\n0\n", banner + menu + invalid + menu + invalid + menu +
                                                     invalid + menu + askP + refuseP);
}

TEST(Dialogue, PressureRangeIsInclusive) {
    expectRefusal("1\n0.999\n", banner + menu + askP + refuseP);
    expectRefusal("1\n5000.001\n", banner + menu + askP + refuseP);
    expectRefusal("1\n-300\n", banner + menu + askP + refuseP);
    expectAccepted("1\n1.0\n", banner + menu + askP, refuseP);
    expectAccepted("1\n5000\n", banner + menu + askP, refuseP);
}

TEST(Dialogue, TemperatureBelowNaClTriplePointOnly) {
    expectRefusal("2\n800.7\n", banner + menu + askT + refuseT);
    expectRefusal("2\n1e6\n", banner + menu + askT + refuseT);
    expectAccepted("2\n800.69\n", banner + menu + askT, refuseT);
    expectAccepted("2\n-10\n", banner + menu + askT, refuseT);  // no lower limit
}

TEST(Dialogue, UnreadableSectionValueIsAskedAgain) {
    expectRefusal("1\nxyz\n1e999\n6000\n", banner + menu + askP + askP + askP + refuseP);
    expectRefusal("2\n.\n1e999\n800.7\n", banner + menu + askT + askT + askT + refuseT);
    // Answers piped without a final line feed are read as well.
    expectAccepted("1\n300", banner + menu + askP, refuseP);
}

TEST(Dialogue, EndOfInputAtAnyQuestionEndsTheRun) {
    expectInputEnded("", banner + menu);
    expectInputEnded("  \n\n", banner + menu);
    expectInputEnded("7\n", banner + menu + invalid + menu);
    expectInputEnded("abc", banner + menu);  // discarding the answer meets the end
    expectInputEnded("1\n", banner + menu + askP);
    expectInputEnded("1\nxyz\n", banner + menu + askP + askP);
    expectInputEnded("1\n1e999", banner + menu + askP);
    expectInputEnded("2\n", banner + menu + askT);
    expectInputEnded("2\n-", banner + menu + askT);
}

TEST(Dialogue, UnwritableStandardOutputIsAFailure) {
    // Every byte of the dialogue is lost on a full device: not a success.
    RunOptions options;
    options.input = "1\n0.5\n";
    options.stdoutPath = "/dev/full";
    const RunResult run = runProgram(options);
    EXPECT_TRUE(run.exited && run.exitStatus == 1) << "status " << run.exitStatus;
    EXPECT_NE(run.err.find("standard output"), std::string::npos) << run.err;
}
