// Hostile standard input given to the real program: hundreds of inputs made
// from a fixed seed, plus named inputs whose outcome is stated by hand. Every
// run must end by itself with status 0 or 1, print exactly the dialogue its
// input calls for, and create files only for a section it accepted.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "RunProgram.h"
#include "SectionRuns.h"

using namespace robust;

namespace {

constexpr double runLimit = 10.0;  // a run ending later than this hangs [s]

// What a run of the program must do with one input.
struct Verdict {
    enum class Kind { Ended, Refused, Isobar, Isotherm };
    Kind kind = Kind::Ended;
    std::string out;     // console text up to the section, or all of it
    double value = 0.0;  // accepted section value [bar or C]
};

// The dialogue's reading rules, applied to `input`: an answer is a token of
// characters other than white space, read only when the whole token is a
// number of the asked type by the standard library's formatted extraction (a
// token over 512 characters never is); an unreadable answer is discarded with
// the rest of its line and asked again, the end of input ends the run, a menu
// answer other than 1 or 2 is refused, a pressure outside 1.0..5000 bar and a
// temperature from 800.7 C upwards are refused.
Verdict predict(const std::string& input) {
    std::istringstream in(input);
    Verdict verdict;
    verdict.out = banner;
    // One answer into `value`: 1 read, 0 unreadable (line discarded), -1 ended.
    auto read = [&in](auto& value) {
        std::string token;
        if (!(in >> token)) {
            return -1;
        }
        std::istringstream text(token);
        std::decay_t<decltype(value)> number{};
        if (token.size() <= 512 && text >> number && text.peek() == EOF) {
            value = number;
            return 1;
        }
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        return in.eof() ? -1 : 0;
    };
    int choice = 0;
    for (;;) {
        verdict.out += menu;
        const int got = read(choice);
        if (got < 0) {
            return verdict;
        }
        if (got == 1 && (choice == 1 || choice == 2)) {
            break;
        }
        verdict.out += invalid;
    }
    double value = 0.0;
    for (;;) {
        verdict.out += choice == 1 ? askP : askT;
        const int got = read(value);
        if (got < 0) {
            return verdict;
        }
        if (got == 1) {
            break;
        }
    }
    verdict.value = value;
    if (choice == 1) {
        const bool inRange = !(value < 1.0 || value > 5000.0);
        verdict.kind = inRange ? Verdict::Kind::Isobar : Verdict::Kind::Refused;
        verdict.out += inRange ? "" : refuseP;
    } else {
        const bool below = value < 800.7;
        verdict.kind = below ? Verdict::Kind::Isotherm : Verdict::Kind::Refused;
        verdict.out += below ? "" : refuseT;
    }
    return verdict;
}

// Checks one run of the program on `input` against `verdict`; returns the
// run time [s].
double checkRun(const std::string& input, const Verdict& verdict) {
    SCOPED_TRACE("input " + escaped(input));
    RunOptions options;
    options.input = input;
    options.timeoutSeconds = runLimit;
    double seconds = 0.0;
    const RunResult run = timedRun(options, seconds);
    EXPECT_FALSE(run.timedOut) << "still running after " << runLimit << " s";
    EXPECT_TRUE(run.exited) << "ended by signal " << run.signal;
    EXPECT_TRUE(run.exitStatus == 0 || run.exitStatus == 1) << "status " << run.exitStatus;
    switch (verdict.kind) {
        case Verdict::Kind::Ended:
            EXPECT_EQ(run.out, verdict.out);
            EXPECT_EQ(run.exitStatus, 1);
            EXPECT_NE(run.err.find("input ended"), std::string::npos) << run.err;
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
            EXPECT_EQ(run.created, std::vector<std::string>{});
            break;
        case Verdict::Kind::Refused:
            EXPECT_EQ(run.out, verdict.out);
            EXPECT_EQ(run.exitStatus, 0);
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(run.created, std::vector<std::string>{});
            break;
        case Verdict::Kind::Isobar:
        case Verdict::Kind::Isotherm: {
            const bool isobar = verdict.kind == Verdict::Kind::Isobar;
            const std::vector<std::string> files =
                isobar ? isobarFiles(verdict.value) : isothermFiles(verdict.value);
            EXPECT_EQ(run.out.substr(0, verdict.out.size()), verdict.out);
            const std::string section =
                run.out.substr(std::min(verdict.out.size(), run.out.size()));
            EXPECT_EQ(section.find(isobar ? refuseP : refuseT), std::string::npos);
            std::size_t longest = 0;
            for (const std::string& name : files) {
                longest = std::max(longest, name.size());
            }
            if (longest <= longestFileName) {
                expectCompleteSection(run, files);
            } else {
                // A name the file system cannot hold: the section stops with
                // one line naming the file, and announces nothing.
                EXPECT_EQ(run.exitStatus, 1);
                EXPECT_EQ(run.err.rfind("cannot write file ", 0), 0u) << run.err;
                EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
                EXPECT_EQ(run.created, std::vector<std::string>{});
                EXPECT_EQ(section.find("data to file"), std::string::npos) << section;
            }
            break;
        }
    }
    return seconds;
}

// Section values at and next to every limit of the dialogue, with every digit.
std::vector<std::string> limitValues() {
    std::vector<std::string> values{"1.0", "1", "5000", "5e3", "800.7"};
    for (double limit : {1.0, 5000.0, 800.7}) {
        values.push_back(typed(std::nextafter(limit, -1e9)));
        values.push_back(typed(limit));
        values.push_back(typed(std::nextafter(limit, 1e9)));
    }
    return values;
}

// Answers that a user, a script or a damaged file may give.
const std::vector<std::string> oddAnswers{
    "nan",   "NaN",    "-nan",  "inf",   "-inf",   "+inf",       "infinity",    "INF",
    "-0",    "+0",     "0",     "1e999", "-1e999", "1e-999",     "0x1p3",       "-0x1p3",
    "1,5",   "2,5",    "+-1",   "--2",   "1e",     "1e+",        "1..2",        ".5",
    "-.5e1", "300abc", "25abc", "1abc",  "2x",     "2.5",        "01",          "+2",
    "3",     "-1",     "0",     "1e300", "-1e300", "4294967297", "-2147483649", "1e-300"};

const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string punctuation = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
constexpr std::size_t megabyte = 1 << 20;

// Generator of hostile inputs: a few lines of random kinds, most of them led
// by a menu answer and a section value, so that every question is reached.
class HostileInputs {
  public:
    explicit HostileInputs(unsigned seed) : rng_(seed) {}

    std::string next() {
        std::string input;
        const int lines = pick(6);
        for (int i = 0; i < lines; ++i) {
            if (i == 0 && pick(2) == 0) {
                input += pick(4) == 0 ? oddAnswers[pick(oddAnswers.size())]
                                      : std::string(1, "12"[pick(2)]);
            } else if (i == 1 && pick(2) == 0) {
                input += valueToken();
            } else {
                input += token();
            }
            input += i + 1 < lines || pick(3) != 0 ? terminator() : "";
        }
        return input;
    }

  private:
    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
    }

    std::string randomFrom(const std::string& alphabet, std::size_t length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i) {
            text += alphabet[pick(alphabet.size())];
        }
        return text;
    }

    std::string randomBytes(std::size_t length) {
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i) {
            bytes += static_cast<char>(pick(256));
        }
        return bytes;
    }

    std::string terminator() {
        static const char* const ends[] = {"\n", "\n", "\n", "\r\n", " ", "\t"};
        return ends[pick(6)];
    }

    std::string valueToken() {
        static const std::vector<std::string> limits = limitValues();
        static const std::vector<std::string> inRange{"25",  "300",  "-20",  "100",
                                                      "600", "1000", "3000", "373.976"};
        switch (pick(3)) {
            case 0:
                return limits[pick(limits.size())];
            case 1:
                return oddAnswers[pick(oddAnswers.size())];
            default:
                return inRange[pick(inRange.size())];
        }
    }

    std::string longLine() {
        switch (pick(5)) {
            case 0:
                return std::string(megabyte, 'a');
            case 1:
                return std::string(megabyte, '7');
            case 2:
                return std::string(megabyte, ' ');
            case 3:
                return "0." + std::string(megabyte, '0') + "1";
            default:
                return randomBytes(megabyte);
        }
    }

    std::string token() {
        switch (pick(10)) {
            case 0:
                return "";
            case 1:
                return randomFrom(" \t\r\v\f", 1 + pick(8));
            case 2:
                return randomFrom(letters, 1 + pick(12));
            case 3:
                return randomFrom(punctuation, 1 + pick(6));
            case 4:
                return randomBytes(1 + pick(32));
            case 5:
                return pick(4) == 0 ? longLine() : randomBytes(1 + pick(8));
            case 6:
            case 7:
                return oddAnswers[pick(oddAnswers.size())];
            default:
                return valueToken();
        }
    }

    std::mt19937 rng_;
};

// True if the section of `verdict` has a known set of files and is one of the
// few sections the generated set may compute.
bool acceptableSection(const Verdict& verdict) {
    return verdict.kind != Verdict::Kind::Isobar || verdict.value < criticalAt1000Low ||
           verdict.value > criticalAt1000High;
}

}  // namespace

// Named inputs, each with its outcome stated by hand from the reading rules.
TEST(HostileInput, NamedInputsEndAsTheReadingRulesSay) {
    struct Case {
        std::string input;
        std::string out;  // whole console text, or its start before a section
        Verdict::Kind kind;
        double value;
    };
    using K = Verdict::Kind;
    const std::vector<Case> cases{
        {"", banner + menu, K::Ended, 0},
        {" \t\r\n\n\v\f", banner + menu, K::Ended, 0},
        {"abc\n", banner + menu + invalid + menu, K::Ended, 0},
        {std::string("\0\x01\xff\n", 4) + "1\n5000\n", banner + menu + invalid + menu + askP,
         K::Isobar, 5000},
        {"1", banner + menu + askP, K::Ended, 0},    // menu answer, then end of input
        {"2\n", banner + menu + askT, K::Ended, 0},  // menu answer, then end of input
        {"1\nnan\n", banner + menu + askP + askP, K::Ended, 0},
        {"2\ninf\n-inf\n", banner + menu + askT + askT + askT, K::Ended, 0},
        {"1\n1e999\n-1e999\n5000.5\n", banner + menu + askP + askP + askP + refuseP, K::Refused, 0},
        // A token that is a number only in part is no answer: the question
        // is asked again.
        {"1\n300abc\n", banner + menu + askP + askP, K::Ended, 0},
        {"1\n1,5\n", banner + menu + askP + askP, K::Ended, 0},
        {"2\n0x1p3\n", banner + menu + askT + askT, K::Ended, 0},
        {"1\n0x1p3\n0.5\n", banner + menu + askP + askP + refuseP, K::Refused, 0},
        {"2\n-0\n", banner + menu + askT, K::Isotherm, -0.0},
        {"1abc\n300\n", banner + menu + invalid + menu + invalid + menu, K::Ended, 0},
        {"2.5\n", banner + menu + invalid + menu, K::Ended, 0},
        {"2.5 1\n2 300\n", banner + menu + invalid + menu + askT, K::Isotherm, 300},
        // Answers on one line.
        {"1 300\n", banner + menu + askP, K::Isobar, 300},
        {"4294967297\n2\n900\n", banner + menu + invalid + menu + askT + refuseT, K::Refused, 0},
        {std::string(megabyte, 'x') + "\n2\n25", banner + menu + invalid + menu + askT, K::Isotherm,
         25},
        {"1\n" + std::string(megabyte, '9') + "\n", banner + menu + askP + askP, K::Ended, 0},
        // The limits and their neighbouring doubles.
        {"1\n" + typed(std::nextafter(1.0, 0.0)) + "\n", banner + menu + askP + refuseP, K::Refused,
         0},
        {"1\n" + typed(std::nextafter(5000.0, 6000.0)) + "\n", banner + menu + askP + refuseP,
         K::Refused, 0},
        {"1\n" + typed(std::nextafter(1.0, 2.0)) + "\n", banner + menu + askP, K::Isobar,
         std::nextafter(1.0, 2.0)},
        {"2\n" + typed(800.7) + "\n", banner + menu + askT + refuseT, K::Refused, 0},
        {"2\n" + typed(std::nextafter(800.7, 0.0)) + "\n", banner + menu + askT, K::Isotherm,
         std::nextafter(800.7, 0.0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("input " + escaped(c.input));
        // The reading rules as the generated set applies them agree with the
        // hand-stated outcome ...
        const Verdict verdict = predict(c.input);
        ASSERT_EQ(verdict.kind, c.kind);
        EXPECT_EQ(verdict.out, c.out);
        if (c.kind == K::Isobar || c.kind == K::Isotherm) {
            EXPECT_EQ(std::signbit(verdict.value), std::signbit(c.value));
            EXPECT_EQ(verdict.value, c.value);
        }
        // ... and so does the program.
        checkRun(c.input, verdict);
    }
}

// Every odd answer at the menu and as each kind of section value.
TEST(HostileInput, OddAnswersAtEveryQuestion) {
    std::vector<std::string> answers = oddAnswers;
    for (const std::string& limit : limitValues()) {
        answers.push_back(limit);
    }
    int runs = 0;
    for (const std::string& answer : answers) {
        for (const char* lead : {"", "1\n", "2\n"}) {
            const std::string input = lead + answer + "\n";
            checkRun(input, predict(input));
            ++runs;
        }
    }
    std::cout << "odd answers: " << runs << " runs\n";
}

// A few hundred inputs from a fixed seed.
TEST(HostileInput, GeneratedInputsFromFixedSeed) {
    constexpr int inputs = 400;
    constexpr int mostSections = 40;  // sections computed by the generated set
    HostileInputs generator(20070401u);
    int sections = 0;
    int ended = 0;
    int refused = 0;
    double longest = 0.0;
    for (int i = 0; i < inputs; ++i) {
        std::string input;
        Verdict verdict;
        for (;;) {
            input = generator.next();
            verdict = predict(input);
            const bool section =
                verdict.kind == Verdict::Kind::Isobar || verdict.kind == Verdict::Kind::Isotherm;
            if (!section || (sections < mostSections && acceptableSection(verdict))) {
                sections += section ? 1 : 0;
                break;
            }
        }
        ended += verdict.kind == Verdict::Kind::Ended ? 1 : 0;
        refused += verdict.kind == Verdict::Kind::Refused ? 1 : 0;
        SCOPED_TRACE("generated input " + std::to_string(i));
        longest = std::max(longest, checkRun(input, verdict));
    }
    // The set reaches every outcome.
    EXPECT_GT(sections, 10);
    EXPECT_GT(ended, 50);
    EXPECT_GT(refused, 20);
    std::cout << "generated inputs: " << inputs << " runs: " << ended << " ended, " << refused
              << " refused, " << sections << " sections; longest run " << longest << " s\n";
}
