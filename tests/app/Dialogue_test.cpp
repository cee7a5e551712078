// The console dialogue in process, in a scratch working directory: every
// frozen section byte for byte (standard output and files), and answers that
// are read as a whole token or not at all.
#include "app/Dialogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "GoldenSections.h"

using namespace quarvessin;
namespace fs = std::filesystem;

namespace {

struct DialogueRun {
    int status = -1;
    std::string out;
    std::string err;
    std::map<std::string, std::string> files;
};

// Runs the dialogue on `input` in a fresh working directory.
DialogueRun Dialogue(const std::string& input) {
    char pattern[] = "/tmp/quarvessin_dialogue_XXXXXX";
    const fs::path dir = mkdtemp(pattern);
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    DialogueRun run;
    run.status = runDialogue(in, out, err);
    run.out = out.str();
    run.err = err.str();
    for (const auto& entry : fs::directory_iterator(dir)) {
        run.files[entry.path().filename().string()] = golden::readFile(entry.path().string());
    }
    fs::current_path(previous);
    fs::remove_all(dir);
    return run;
}

const golden::Case& Golden(const std::string& name) {
    static const auto cases = golden::cases();
    for (const auto& c : cases) {
        if (c.name == name) return c;
    }
    throw std::runtime_error("no frozen section " + name);
}

TEST(Dialogue, EveryFrozenSectionByteForByte) {
    for (const golden::Case& c : golden::cases()) {
        const DialogueRun run = Dialogue(c.input);
        EXPECT_EQ(run.status, 0) << c.name;
        EXPECT_EQ(run.out, c.printed) << c.name;
        EXPECT_EQ(run.err, "") << c.name;
        EXPECT_EQ(run.files, c.files) << c.name;
    }
}

TEST(Dialogue, AnswersOnOneLine) {
    const golden::Case& c = Golden("isobar_300");
    const DialogueRun run = Dialogue("1 300\n");
    EXPECT_EQ(run.out, c.printed);
    EXPECT_EQ(run.files, c.files);
    const DialogueRun tabs = Dialogue("  \t2\t\t25   \n");
    EXPECT_EQ(tabs.out, Golden("isotherm_25").printed);
}

TEST(Dialogue, ATokenThatIsNotWhollyANumberIsUnreadable) {
    const std::string prefix = golden::dialoguePrefix(SectionKind::Isobaric);
    const std::string prompt = "Please enter pressure in bar (valid range: 1.0 to 5000) : ";
    // A decimal comma, trailing letters, hexadecimal, words: the question
    // again, the rest of the line discarded; the input then ends.
    for (const char* answer : {"2,5", "300abc", "0x1p3", "nan", "inf", "1e999", "3e", "--3"}) {
        const DialogueRun run = Dialogue(std::string("1\n") + answer + "\n");
        EXPECT_EQ(run.status, 1) << answer;
        EXPECT_EQ(run.out, prefix + prompt) << answer;
        EXPECT_EQ(run.err, "quarvessin_plotdata: input ended, no section computed\n") << answer;
        EXPECT_TRUE(run.files.empty()) << answer;
    }
    // The next line is read after an unreadable one.
    const DialogueRun retried = Dialogue("1\n300abc 7\n300\n");
    EXPECT_EQ(retried.out, prefix + prompt + Golden("isobar_300").printed.substr(prefix.size()));
    EXPECT_EQ(retried.files, Golden("isobar_300").files);
}

TEST(Dialogue, AMenuAnswerMustBeAWholeInteger) {
    const golden::Case& c = Golden("isotherm_25");
    const std::string banner = c.printed.substr(0, c.printed.find("Please enter number"));
    const std::string menu =
        c.printed.substr(banner.size(), c.printed.find("Please enter temperature") - banner.size());
    // 1.5 once chose an isobar at 0.5 bar; now it is no menu answer at all.
    for (const char* answer : {"1.5", "2.0", "1e0", "1,", "99999999999999999999"}) {
        const DialogueRun run = Dialogue(std::string(answer) + " 300\n2 25\n");
        EXPECT_EQ(run.status, 0) << answer;
        EXPECT_EQ(run.out, banner + menu + "invalid input, please try again ...:\n\n" +
                               c.printed.substr(banner.size()))
            << answer;
        EXPECT_EQ(run.files, c.files) << answer;
    }
    // Signs and leading zeros make whole integers and numbers as before.
    EXPECT_EQ(Dialogue("+2\n025\n").files, c.files);
}

}  // namespace
