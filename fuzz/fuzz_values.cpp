// fuzz_values: the values and the whole argument vector of the quarvessin
// command line.
//
// The input is split at NUL bytes into words (a NUL cannot be part of an
// argument). Each word goes through the number and FROM:TO:STEP parsing, the
// words as a whole through the section list, and the words as the argument
// vector of `quarvessin ...` through runCli, in process, in a scratch
// directory (created once per process, emptied after every input).
// Invariants:
//   - a number is read only from a whole decimal token (digits, at most one
//     point, an optional sign and exponent) and is the double strtod reads
//     from it; nan, inf, hexadecimal, a decimal comma and trailing characters
//     are refused;
//   - a range gives between 1 and the limit of finite values, from FROM
//     towards TO in steps of STEP, never beyond TO; more is refused;
//   - an accepted section list holds only values the engine accepts;
//   - runCli returns 0, 1 or 2 and throws nothing; with 2 it writes no file
//     and says why in one printable line on standard error (a control
//     character typed in an argument is quoted as \xNN); with 1 it says why.
//   - no file holds a message of the command line ("quarvessin: ...").
// Argument vectors that name a path outside the scratch directory (a '/' or
// "..") are not run, nor those whose values could ask for more than a few
// sections, nor surfaces at more than a few isotherms (the cost of the
// computation, not of parsing, would set the pace).
// About one quick run in four is repeated as the program runs it (standard
// descriptors guarded, errors caught as its main catches them) in a forked
// child, chosen by a hash of the input:
//   - with some of the descriptors 0, 1 and 2 closed: the same status and
//     exactly the same files, byte for byte, as the run in process;
//   - with the memory running out (operator new failing from its Nth call on,
//     the address space limited; see fuzz/Child.h): an exit status of 0, 1
//     or 2 and no signal; with 0 the files of the run in process, with 1 a
//     subset of them (never a partial or temporary file), with 2 none.
#include <dirent.h>
#include <quarvessin/section.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <locale>
#include <map>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "Args.h"
#include "Cli.h"
#include "fuzz/Check.h"
#include "fuzz/Child.h"

using namespace quarvessin;
using fuzzcheck::show;

namespace {

// Values a range may give in this harness.
constexpr std::size_t rangeLimit = 1000;
// Most sections an argument vector run through runCli may ask for.
constexpr std::size_t sectionsPerRun = 3;

std::string scratch;

void makeScratch() {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                       : std::getenv("TMPDIR")       ? std::getenv("TMPDIR")
                                                     : "/tmp";
    std::string pattern = std::string(base) + "/quarvessin-fuzz-values-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr || chdir(pattern.c_str()) != 0) {
        std::perror("fuzz_values: scratch directory");
        std::abort();
    }
    scratch = pattern;
}

void removeScratch();

// Removes everything below `path` (a directory); the number of files and
// directories removed.
std::size_t empty(const std::string& path) {
    std::size_t removed = 0;
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return 0;
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(path + "/" + name);
    }
    closedir(dir);
    for (const std::string& name : names) {
        struct stat info;
        if (lstat(name.c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode)) {
            removed += empty(name);
            rmdir(name.c_str());
        } else {
            unlink(name.c_str());
        }
        ++removed;
    }
    return removed;
}

// The regular files below `path`, by their path relative to it, with their bytes.
void collect(const std::string& path, const std::string& prefix,
             std::map<std::string, std::string>& found) {
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) return;
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    for (const std::string& name : names) {
        struct stat info;
        const std::string full = path + "/" + name;
        if (lstat(full.c_str(), &info) != 0) continue;
        if (S_ISDIR(info.st_mode)) {
            collect(full, prefix + name + "/", found);
        } else {
            std::ifstream file(full, std::ios::binary);
            found[prefix + name] = std::string(std::istreambuf_iterator<char>(file), {});
        }
    }
}

std::map<std::string, std::string> takeFiles() {
    std::map<std::string, std::string> found;
    collect(".", "", found);
    empty(".");
    return found;
}

// Removes the scratch directory when the fuzzer ends normally.
void removeScratch() {
    empty(scratch);
    if (chdir("/") == 0) rmdir(scratch.c_str());
}

bool decimalSyntax(const std::string& w) {
    std::size_t i = 0;
    if (i < w.size() && (w[i] == '+' || w[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < w.size() && std::isdigit(static_cast<unsigned char>(w[i]))) ++i, ++digits;
    if (i < w.size() && w[i] == '.') {
        ++i;
        while (i < w.size() && std::isdigit(static_cast<unsigned char>(w[i]))) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < w.size() && (w[i] == 'e' || w[i] == 'E')) {
        ++i;
        if (i < w.size() && (w[i] == '+' || w[i] == '-')) ++i;
        std::size_t exponent = 0;
        while (i < w.size() && std::isdigit(static_cast<unsigned char>(w[i]))) ++i, ++exponent;
        if (exponent == 0) return false;
    }
    return i == w.size();
}

void checkNumber(const std::string& word) {
    const auto value = cli::parseNumber(word);
    const std::string what = "number '" + word + "'";
    if (!value) return;
    FUZZ_REQUIRE(decimalSyntax(word), what + " read as " + show(*value));
    FUZZ_REQUIRE(std::isfinite(*value), what);
    // strtod in the C locale reads the same digits to the same double.
    char* end = nullptr;
    const double expected = std::strtod(word.c_str(), &end);
    FUZZ_REQUIRE(end == word.c_str() + word.size() && expected == *value,
                 what + " read as " + show(*value) + ", strtod " + show(expected));
}

void checkRange(const std::string& word) {
    std::string error;
    const std::vector<double> values = cli::expandValues(word, rangeLimit, error);
    const std::string what = "values '" + word + "'";
    if (!error.empty()) {
        FUZZ_REQUIRE(values.empty() && error.find('\n') == std::string::npos, what + ": " + error);
        return;
    }
    FUZZ_REQUIRE(!values.empty() && values.size() <= rangeLimit,
                 what + ": " + std::to_string(values.size()) + " values");
    for (double v : values) FUZZ_REQUIRE(std::isfinite(v), what + ": " + show(v));
    const std::size_t colon = word.find(':');
    if (colon == std::string::npos) {
        FUZZ_REQUIRE(values.size() == 1, what);
        return;
    }
    const std::size_t colon2 = word.find(':', colon + 1);
    const auto from = cli::parseNumber(word.substr(0, colon));
    const auto to = cli::parseNumber(word.substr(colon + 1, colon2 - colon - 1));
    FUZZ_REQUIRE(from && to, what);
    const double low = std::fmin(*from, *to);
    const double high = std::fmax(*from, *to);
    for (std::size_t i = 0; i < values.size(); ++i) {
        // Within the range (grid values are rounded to the decimals typed,
        // which may carry them past an end by that rounding only).
        const double slack = 1e-9 * std::fmax(1.0, high - low);
        FUZZ_REQUIRE(values[i] >= low - slack && values[i] <= high + slack,
                     what + ": " + show(values[i]) + " outside");
        if (i > 0) {
            FUZZ_REQUIRE(*to > *from ? values[i] > values[i - 1] : values[i] < values[i - 1],
                         what + ": not monotonic at " + std::to_string(i));
        }
    }
    FUZZ_REQUIRE(values.front() == *from || values.size() > 1 || *from == *to, what);
}

void checkList(const std::vector<std::string>& words) {
    const cli::SectionList list = cli::readSectionList(words, rangeLimit);
    if (!list.ok()) {
        FUZZ_REQUIRE(list.sections.empty() && list.error.find('\n') == std::string::npos,
                     "section list: " + list.error);
        return;
    }
    FUZZ_REQUIRE(list.sections.size() <= rangeLimit, "section list");
    for (const cli::SectionRequest& r : list.sections) {
        FUZZ_REQUIRE(sectionAccepted(r.kind, r.value), "section list holds " + show(r.value));
    }
}

// An upper bound of the sections an argument vector can ask for: every word
// that reads as a value or a range counts in full.
std::size_t mostSections(const std::vector<std::string>& words) {
    std::size_t count = 0;
    for (const std::string& word : words) {
        std::string error;
        count += cli::expandValues(word, sectionsPerRun + 1, error).size();
        if (error.find("more than") != std::string::npos) return sectionsPerRun + 1;
    }
    return count;
}

bool staysInScratch(const std::vector<std::string>& words) {
    for (const std::string& word : words) {
        if (word.find('/') != std::string::npos || word.find("..") != std::string::npos ||
            word.find('~') != std::string::npos)
            return false;
    }
    return true;
}

// Runs longer in process than this [s] are not repeated in a child.
constexpr double quickRun = 2.0;

std::string describeChild(const fuzzchild::Child& child,
                          const std::map<std::string, std::string>& files) {
    std::string text = fuzzchild::describe(child) + "\nits files:";
    for (const auto& f : files)
        text += " " + f.first + " (" + std::to_string(f.second.size()) + ")";
    return text;
}

// The argument vector run as the program's main runs it (cli/main.cpp).
fuzzchild::Child runProgram(const std::vector<std::string>& args, const fuzzchild::Setup& setup) {
    return fuzzchild::run(scratch, setup, [&] {
        int status = 1;
        cli::CliEnvironment environment;
        environment.input = &std::cin;
        try {
            status = cli::runCli(args, std::cout, std::cerr, environment);
        } catch (const std::bad_alloc&) {
            std::cerr << "quarvessin: out of memory\n";
        } catch (const std::exception& e) {
            std::cerr << "quarvessin: " << e.what() << "\n";
        }
        std::cout.flush();
        std::cerr.flush();
        return status;
    });
}

void checkChildren(const std::vector<std::string>& words, std::uint64_t h, int status,
                   const std::map<std::string, std::string>& expected, const std::string& what) {
    if (h % 4 == 1) {
        const unsigned closed = 1 + static_cast<unsigned>((h >> 8) % 7);
        fuzzchild::Setup setup;
        setup.closed = closed;
        const fuzzchild::Child child = runProgram(words, setup);
        const std::map<std::string, std::string> found = takeFiles();
        const std::string where = what + "\nwith descriptors closed (mask " +
                                  std::to_string(closed) + "): " + describeChild(child, found);
        FUZZ_REQUIRE(child.exited && child.status == status && child.report.empty(), where);
        for (const auto& f : expected) {
            const auto it = found.find(f.first);
            FUZZ_REQUIRE(it != found.end(), where + "\nmissing " + f.first);
            FUZZ_REQUIRE(it->second == f.second,
                         where + "\n" + f.first + " differs:\n" + it->second.substr(0, 400));
        }
        FUZZ_REQUIRE(found.size() == expected.size(), where);
    } else if (h % 4 == 2) {
        fuzzchild::Setup setup;
        setup.addressSpace = fuzzchild::addressSpaceFrom(h);
        setup.allocations = fuzzchild::allocationsFrom(h);
        const fuzzchild::Child child = runProgram(words, setup);
        const std::map<std::string, std::string> found = takeFiles();
        if (fuzzchild::sanitizerOutOfMappings(child) ||
            fuzzchild::parserTerminatedOutOfMemory(child))
            return;
        const std::string where =
            what + "\nunder a limit " + std::to_string(setup.addressSpace >> 20) +
            " MiB above its mappings, operator new failing after " +
            std::to_string(setup.allocations) + ": " + describeChild(child, found);
        FUZZ_REQUIRE(child.exited && child.report.empty() &&
                         (child.status == 0 || child.status == 1 || child.status == 2),
                     where);
        if (child.status == 0) FUZZ_REQUIRE(status == 0 && found.size() == expected.size(), where);
        if (child.status == 2) FUZZ_REQUIRE(status == 2 && found.empty(), where);
        if (child.status != 0) FUZZ_REQUIRE(!child.err.empty(), where);
        for (const auto& f : found) {
            const auto it = expected.find(f.first);
            FUZZ_REQUIRE(it != expected.end(), where + "\nunexpected " + f.first);
            FUZZ_REQUIRE(it->second == f.second,
                         where + "\n" + f.first + " differs:\n" + f.second.substr(0, 400));
        }
    }
}

// The surfaces are computed only at a resolution asked for and at most
// cheapSurfaces isotherms (the default of 200 takes about a second here).
constexpr long cheapSurfaces = 40;

bool cheapEnough(const std::vector<std::string>& words) {
    bool surfaces = false;
    bool resolution = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        surfaces = surfaces || w == "surfaces";
        std::string value;
        if (w == "-r" || w == "--resolution") {
            value = i + 1 < words.size() ? words[i + 1] : "";
        } else if (w.rfind("--resolution=", 0) == 0) {
            value = w.substr(13);
        } else if (w.rfind("-r", 0) == 0 && w.rfind("--", 0) != 0) {
            value = w.substr(w.size() > 2 && w[2] == '=' ? 3 : 2);
        } else {
            continue;
        }
        char* end = nullptr;
        errno = 0;
        const long n = std::strtol(value.c_str(), &end, 10);
        resolution = true;
        if (errno != 0 || n > cheapSurfaces) return false;
    }
    return !surfaces || resolution;
}

}  // namespace

FUZZ_FAILING_NEW

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    makeScratch();
    std::atexit(removeScratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words;
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word.push_back(static_cast<char>(data[i]));
        }
    }
    if (size > 0) words.push_back(word);

    for (const std::string& w : words) {
        checkNumber(w);
        checkRange(w);
    }
    checkList(words);
    // With the command line's own limit, a list never holds more sections.
    FUZZ_REQUIRE(cli::readSectionList(words).sections.size() <= cli::maxSections, "section list");
    if (!words.empty()) {
        std::vector<std::string> rest(words.begin() + 1, words.end());
        checkList(rest);
    }

    if (!staysInScratch(words) || mostSections(words) > sectionsPerRun || !cheapEnough(words))
        return 0;
    std::ostringstream out;
    std::ostringstream err;
    int status = -1;
    const auto start = std::chrono::steady_clock::now();
    try {
        status = cli::runCli(words, out, err);
    } catch (const std::exception& e) {
        fuzzcheck::fail(__FILE__, __LINE__, "runCli throws", e.what());
    } catch (...) {
        fuzzcheck::fail(__FILE__, __LINE__, "runCli throws", "");
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const std::map<std::string, std::string> written = takeFiles();
    std::string what = "arguments:";
    for (const std::string& w : words) what += " '" + w + "'";
    what += "\nstatus " + std::to_string(status) + "\nstdout:\n" + out.str().substr(0, 2000) +
            "\nstderr:\n" + err.str().substr(0, 2000);
    FUZZ_REQUIRE(status == 0 || status == 1 || status == 2, what);
    if (status == 2) {
        // Nothing written; one printable line saying why.
        FUZZ_REQUIRE(written.empty(), what + "\n" + std::to_string(written.size()) + " files");
        const std::string& e = err.str();
        FUZZ_REQUIRE(!e.empty() && e.find('\n') == e.size() - 1, what);
        for (const char c : e.substr(0, e.size() - 1)) {
            FUZZ_REQUIRE(static_cast<unsigned char>(c) >= 32 && c != 127, what);
        }
    }
    if (status != 0) FUZZ_REQUIRE(!err.str().empty(), what);
    // Data files hold data: no message of the command line.
    for (const auto& f : written) {
        FUZZ_REQUIRE(f.second.find("quarvessin: ") == std::string::npos &&
                         f.second.find("quarvessin section: ") == std::string::npos,
                     what + "\n" + f.first + " holds a message");
    }
    if (took.count() < quickRun)
        checkChildren(words, fuzzchild::hash(data, size), status, written, what);
    return 0;
}
