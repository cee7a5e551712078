// fuzz_dialogue: the whole of standard input of the console dialogue.
//
// quarvessin::runDialogue runs in process in a scratch directory (created
// once per process, under /dev/shm when there is one); the files it writes
// are checked and removed after every input. The run is compared with a
// model of the documented dialogue: answers are words separated by white
// space, read only when the whole word is a number (C++ extraction in the
// classic locale, at most 512 characters); an unreadable word discards the
// rest of its line and the question comes again; the menu comes again for
// any number but 1 and 2. Invariants:
//   - the status is 0 or 1, and the one the model gives;
//   - standard output is exactly the banner, menus, "invalid input" lines,
//     prompts and the section's console text (or its refusal), nothing else;
//   - standard error is empty, or the one line of an input that ended before
//     a section value, or of a file that cannot be written;
//   - files appear only for an accepted section, exactly the section's files
//     with exactly formatBoundary's bytes;
//   - at most one question per byte of input, plus one.
// A file that cannot be written is expected only when its name is longer
// than the file system allows (isotherms at very negative temperatures);
// the section then stops with status 1 and the files written so far.
// About one quick run in four is repeated as the program runs it (standard
// descriptors guarded, out of memory caught as its main catches it) in a
// forked child (fuzz/Child.h), chosen by a hash of the input:
//   - with standard output, standard error or both closed: the same status
//     and exactly the same files, byte for byte, as the run in process;
//   - with the memory running out: status 0 or 1 and no signal; with 0 the
//     files of the run in process, with 1 a beginning of each of them (the
//     program writes in place) and, where the run in process succeeded, the
//     program's one line saying so.
#include <dirent.h>
#include <quarvessin/section.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <locale>
#include <map>
#include <new>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "app/Dialogue.h"
#include "fuzz/Check.h"
#include "fuzz/Child.h"
#include "tests/e2e/DialogueText.h"

using namespace quarvessin;

namespace {

using dialogue_text::askP;
using dialogue_text::askT;
using dialogue_text::banner;
using dialogue_text::invalid;
using dialogue_text::menu;
const std::string ended = "quarvessin_plotdata: input ended, no section computed\n";

// Longest word read as an answer [characters].
constexpr std::size_t longestAnswer = 512;
// Longest file name the file system takes [bytes].
constexpr std::size_t longestFileName = 255;

std::string scratch;  // the scratch directory, the current directory of the process

void makeScratch() {
    const char* base = access("/dev/shm", W_OK) == 0
                           ? "/dev/shm"
                           : (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    std::string pattern = std::string(base) + "/quarvessin-fuzz-dialogue-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr || chdir(pattern.c_str()) != 0) {
        std::perror("fuzz_dialogue: scratch directory");
        std::abort();
    }
    scratch = pattern;
    // Removed again (it is empty between inputs) when the fuzzer ends normally.
    std::atexit([] {
        if (chdir("/") == 0) rmdir(scratch.c_str());
    });
}

// The files in the scratch directory, with their contents; removes them.
std::map<std::string, std::string> takeFiles() {
    std::map<std::string, std::string> files;
    DIR* dir = opendir(".");
    if (dir == nullptr) std::abort();
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        std::ifstream file(name, std::ios::binary);
        files[name] = std::string(std::istreambuf_iterator<char>(file), {});
    }
    closedir(dir);
    for (const auto& file : files) std::remove(file.first.c_str());
    return files;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The documented reading of answers, over the input as a string.
class Answers {
  public:
    explicit Answers(const std::string& input) : in_(input) {}
    enum Result { Read, Unreadable, Ended };

    template <typename T>
    Result next(T& value) {
        while (pos_ < in_.size() && isSpace(in_[pos_])) ++pos_;
        if (pos_ == in_.size()) return Ended;
        const std::size_t start = pos_;
        while (pos_ < in_.size() && !isSpace(in_[pos_])) ++pos_;
        const std::string word = in_.substr(start, pos_ - start);
        if (word.size() <= longestAnswer) {
            std::istringstream text(word);
            text.imbue(std::locale::classic());
            T read{};
            if (text >> read && text.peek() == std::char_traits<char>::eof()) {
                value = read;
                return Read;
            }
        }
        const std::size_t end = in_.find('\n', pos_);
        if (end == std::string::npos) {
            pos_ = in_.size();
            return Ended;
        }
        pos_ = end + 1;
        return Unreadable;
    }

  private:
    const std::string& in_;
    std::size_t pos_ = 0;
};

// What the dialogue does with an input.
struct Model {
    std::string out;  // standard output up to the section's own text
    std::size_t questions = 0;
    bool section = false;  // a section value was read
    SectionKind kind = SectionKind::Isobaric;
    double value = 0.0;
};

Model model(const std::string& input) {
    Model m;
    Answers answers(input);
    m.out = banner;  // ends with the empty line after the box
    int choice = 0;
    for (;;) {
        m.out += menu;
        ++m.questions;
        const Answers::Result r = answers.next(choice);
        if (r == Answers::Ended) return m;
        if (r == Answers::Read && (choice == 1 || choice == 2)) break;
        m.out += invalid;
    }
    m.kind = choice == 1 ? SectionKind::Isobaric : SectionKind::Isothermal;
    double value = 100.0;
    for (;;) {
        m.out += choice == 1 ? askP : askT;
        ++m.questions;
        const Answers::Result r = answers.next(value);
        if (r == Answers::Ended) return m;
        if (r == Answers::Read) break;
    }
    m.section = true;
    m.value = value;
    return m;
}

// Sections already computed, by kind and bit pattern of the value: the
// fuzzer tries the same values again and again.
const Section& sectionFor(SectionKind kind, double value) {
    static std::map<std::pair<int, std::uint64_t>, Section> cache;
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const auto key = std::make_pair(static_cast<int>(kind), bits);
    auto found = cache.find(key);
    if (found != cache.end()) return found->second;
    if (cache.size() >= 256) cache.clear();
    return cache.emplace(key, computeSection(kind, value)).first->second;
}

std::string shown(const std::string& input) {
    std::string text;
    for (unsigned char c : input.substr(0, 300)) {
        if (c >= 32 && c < 127) {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            text += escaped;
        }
    }
    return text;
}

// Runs longer in process than this [s] are not repeated in a child.
constexpr double quickRun = 2.0;

// The input run as the program's main runs it (app/main.cpp).
fuzzchild::Child runProgram(const fuzzchild::Setup& setup) {
    return fuzzchild::run(scratch, setup, [] {
        int status = 1;
        try {
            status = runDialogue(std::cin, std::cout, std::cerr);
        } catch (const std::bad_alloc&) {
            std::cerr << "quarvessin_plotdata: out of memory\n";
        }
        std::cout.flush();
        std::cerr.flush();
        return status;
    });
}

std::string describeChild(const fuzzchild::Child& child,
                          const std::map<std::string, std::string>& files) {
    std::string text = fuzzchild::describe(child) + "\nits files:";
    for (const auto& f : files)
        text += " " + f.first + " (" + std::to_string(f.second.size()) + ")";
    return text;
}

void checkChildren(const std::string& input, std::uint64_t h, int status,
                   const std::map<std::string, std::string>& expected, const std::string& what) {
    fuzzchild::Setup setup;
    setup.input = input;
    if (h % 4 == 1) {
        // Descriptor 1, 2 or both.
        setup.closed = (1u + static_cast<unsigned>((h >> 8) % 3)) << 1;
        const fuzzchild::Child child = runProgram(setup);
        const std::map<std::string, std::string> found = takeFiles();
        const std::string where = what + "\nwith descriptors closed (mask " +
                                  std::to_string(setup.closed) +
                                  "): " + describeChild(child, found);
        FUZZ_REQUIRE(child.exited && child.status == status && child.report.empty(), where);
        FUZZ_REQUIRE(found == expected, where);
    } else if (h % 4 == 2) {
        setup.addressSpace = fuzzchild::addressSpaceFrom(h);
        setup.allocations = fuzzchild::allocationsFrom(h);
        const fuzzchild::Child child = runProgram(setup);
        const std::map<std::string, std::string> found = takeFiles();
        if (fuzzchild::sanitizerOutOfMappings(child)) return;
        const std::string where =
            what + "\nunder a limit " + std::to_string(setup.addressSpace >> 20) +
            " MiB above its mappings, operator new failing after " +
            std::to_string(setup.allocations) + ": " + describeChild(child, found);
        FUZZ_REQUIRE(
            child.exited && child.report.empty() && (child.status == 0 || child.status == 1),
            where);
        if (child.status == 0) FUZZ_REQUIRE(status == 0 && found == expected, where);
        const std::string ranOut = "quarvessin_plotdata: out of memory\n";
        // Memory that runs out while an answer is read ends the input (the
        // stream takes std::bad_alloc for a failure to read): the program
        // then says that the input ended.
        if (child.status == 1 && status == 0) {
            const bool saysSo =
                child.err.size() >= ranOut.size() &&
                child.err.compare(child.err.size() - ranOut.size(), ranOut.size(), ranOut) == 0;
            FUZZ_REQUIRE(saysSo || child.err == ended, where);
        }
        for (const auto& f : found) {
            const auto it = expected.find(f.first);
            FUZZ_REQUIRE(it != expected.end(), where + "\nunexpected " + f.first);
            FUZZ_REQUIRE(it->second.compare(0, f.second.size(), f.second) == 0,
                         where + "\n" + f.first + " is not a beginning of its file");
        }
    }
}

}  // namespace

FUZZ_FAILING_NEW

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    makeScratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const auto start = std::chrono::steady_clock::now();
    const int status = runDialogue(in, out, err);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const std::map<std::string, std::string> files = takeFiles();
    const std::string what = "input \"" + shown(input) + "\"\nstdout:\n" +
                             out.str().substr(0, 4000) + "\nstderr:\n" + err.str();
    if (took.count() < quickRun)
        checkChildren(input, fuzzchild::hash(data, size), status, files, what);

    FUZZ_REQUIRE(status == 0 || status == 1, what);
    const Model m = model(input);
    FUZZ_REQUIRE(m.questions <= size + 1, what);
    std::size_t asked = 0;
    for (std::size_t at = out.str().find("Please enter"); at != std::string::npos;
         at = out.str().find("Please enter", at + 1))
        ++asked;
    FUZZ_REQUIRE(asked == m.questions, what);

    if (!m.section) {
        FUZZ_REQUIRE(status == 1 && out.str() == m.out && err.str() == ended && files.empty(),
                     what);
        return 0;
    }
    const Section& s = sectionFor(m.kind, m.value);
    const std::string expected = m.out + s.console;
    std::size_t longestName = 0;
    for (const Boundary& b : s.boundaries) longestName = std::max(longestName, b.fileName.size());
    if (status == 0 || longestName <= longestFileName) {
        // A complete section, or its refusal.
        FUZZ_REQUIRE(status == 0 && out.str() == expected && err.str().empty(), what);
        FUZZ_REQUIRE(files.size() == s.boundaries.size(), what);
        for (const Boundary& b : s.boundaries) {
            const auto file = files.find(b.fileName);
            FUZZ_REQUIRE(file != files.end(), what + "\nmissing " + b.fileName);
            FUZZ_REQUIRE(file->second == formatBoundary(b),
                         what + "\nwrong bytes in " + b.fileName);
        }
        return 0;
    }
    // A name too long for the file system: one line naming the file, the
    // section stopped part way, files only of the section and only its bytes.
    const std::string& e = err.str();
    FUZZ_REQUIRE(e.rfind("cannot write file ", 0) == 0 && e.find('\n') == e.size() - 1, what);
    FUZZ_REQUIRE(e.find("File name too long") != std::string::npos, what);
    FUZZ_REQUIRE(
        expected.compare(0, out.str().size(), out.str()) == 0 && out.str().size() >= m.out.size(),
        what);
    for (const auto& file : files) {
        bool ofSection = false;
        for (const Boundary& b : s.boundaries) {
            if (b.fileName != file.first) continue;
            const std::string bytes = formatBoundary(b);
            ofSection = bytes.compare(0, file.second.size(), file.second) == 0;
        }
        FUZZ_REQUIRE(ofSection, what + "\nunexpected file " + file.first);
    }
    return 0;
}
