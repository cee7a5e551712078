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
//   - under a limit of its address space a little above what it uses: an
//     exit status of 0, 1 or 2 and no signal; with 0 the files of the run in
//     process, with 1 a subset of them (never a partial or temporary file).
// The memory runs out in two ways at once: every operator new from the Nth
// on throws std::bad_alloc (N from the hash, 0 to 16383: a section needs some
// hundreds), and the
// address space is limited to 0 to 64 MiB above what the child maps, which
// makes the thread stacks and the large allocations fail (under
// AddressSanitizer small ones come from memory it reserved at start). A
// child the sanitizer itself ended for want of a mapping is not counted.
// (operator new is this harness's own, on malloc: AddressSanitizer checks no
// new/delete pairing here.)
#include <dirent.h>
#include <fcntl.h>
#include <quarvessin/section.h>
#include <sanitizer/common_interface_defs.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
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
#include "StandardDescriptors.h"
#include "fuzz/Check.h"

using namespace quarvessin;
using fuzzcheck::show;

namespace {

// Allocations operator new still grants before it throws std::bad_alloc; -1
// without limit (the fuzzer itself, and a child until it sets one).
std::atomic<long long> allocationsLeft{-1};

}  // namespace

void* operator new(std::size_t size) {
    long long left = allocationsLeft.load(std::memory_order_relaxed);
    while (left > 0 && !allocationsLeft.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 0) throw std::bad_alloc();
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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

// FNV-1a of the input: chooses the runs repeated in a child.
std::uint64_t hash(const std::uint8_t* data, std::size_t size) {
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

// The longest a child may run [s]; it is killed by SIGALRM after it.
constexpr unsigned childSeconds = 20;
// Runs longer in process than this [s] are not repeated in a child.
constexpr double quickRun = 2.0;

struct Child {
    bool exited = false;
    int status = -1;     // exit status, or the signal
    std::string err;     // its standard error (when left open)
    std::string report;  // a sanitizer's report, if it wrote one
};

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Runs the argument vector as the program's main does, in a forked child:
// descriptors in `closed` (bits 0, 1, 2) closed first, the standard
// descriptors guarded, standard error into a file, then (with addressSpace
// non-zero) its address space limited to what it maps now plus addressSpace
// bytes.
Child runChild(const std::vector<std::string>& args, unsigned closed, std::size_t addressSpace,
               long long allocations = -1) {
    const std::string errPath = scratch + "-stderr";
    const std::string reportPath = scratch + "-report";
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fuzz_values: fork");
        std::abort();
    }
    if (pid == 0) {
        for (int s : {SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE, SIGINT, SIGTERM, SIGALRM, SIGXFSZ,
                      SIGUSR1, SIGUSR2}) {
            std::signal(s, SIG_DFL);
        }
        __sanitizer_set_death_callback(nullptr);
        __sanitizer_set_report_path(reportPath.c_str());
        alarm(childSeconds);
        const int in = open("/dev/null", O_RDONLY);
        const int out = open("/dev/null", O_WRONLY);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
            _exit(120);
        close(in);
        close(out);
        close(err);
        for (int fd = 0; fd < 3; ++fd) {
            if (closed & (1u << fd)) close(fd);
        }
        if (!quarvessin::process::guardStandardDescriptors()) _exit(1);
        if (addressSpace > 0) {
            // What the process maps now [bytes].
            std::ifstream status("/proc/self/status");
            std::string line;
            unsigned long long kb = 0;
            while (std::getline(status, line)) {
                if (line.rfind("VmSize:", 0) == 0)
                    kb = std::strtoull(line.c_str() + 7, nullptr, 10);
            }
            if (kb == 0) _exit(121);
            const rlim_t limit = static_cast<rlim_t>(kb * 1024 + addressSpace);
            const struct rlimit r = {limit, limit};
            if (setrlimit(RLIMIT_AS, &r) != 0) _exit(122);
        }
        int status = 1;
        allocationsLeft.store(allocations);
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
        _exit(status);
    }
    int raw = 0;
    while (waitpid(pid, &raw, 0) < 0) {
        if (errno != EINTR) std::abort();
    }
    Child child;
    child.exited = WIFEXITED(raw);
    child.status = child.exited ? WEXITSTATUS(raw) : WTERMSIG(raw);
    child.err = readFile(errPath);
    std::remove(errPath.c_str());
    const std::string report = reportPath + "." + std::to_string(pid);
    child.report = readFile(report);
    std::remove(report.c_str());
    return child;
}

// The sanitizer ended the child because one of its own mappings failed
// under the limit: no fault of the program.
bool sanitizerOutOfMappings(const Child& child) {
    const std::string text = child.report + child.err;
    return child.exited && child.status == 1 &&
           (text.find("Failed to mmap") != std::string::npos ||
            text.find("failed to allocate") != std::string::npos ||
            text.find("ReserveShadowMemoryRange failed") != std::string::npos) &&
           text.find("ERROR: AddressSanitizer: ") == std::string::npos &&
           text.find("runtime error") == std::string::npos;
}

std::string describeChild(const Child& child, const std::map<std::string, std::string>& files) {
    std::string text = (child.exited ? "exit " : "signal ") + std::to_string(child.status) +
                       "\nits stderr:\n" + child.err.substr(0, 2000) + "\nreport:\n" +
                       child.report.substr(0, 4000) + "\nits files:";
    for (const auto& f : files)
        text += " " + f.first + " (" + std::to_string(f.second.size()) + ")";
    return text;
}

void checkChildren(const std::vector<std::string>& words, std::uint64_t h, int status,
                   const std::map<std::string, std::string>& expected, const std::string& what) {
    if (h % 4 == 1) {
        const unsigned closed = 1 + static_cast<unsigned>((h >> 8) % 7);
        const Child child = runChild(words, closed, 0);
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
        // 0 to 64 MiB above what the child maps; N spread over the orders
        // of magnitude up to 16383.
        const std::size_t margin = static_cast<std::size_t>((h >> 8) % 65) << 20;
        const long long allocations =
            static_cast<long long>((h >> 16) % (1ull << (1 + (h >> 40) % 14)));
        const Child child = runChild(words, 0, margin, allocations);
        const std::map<std::string, std::string> found = takeFiles();
        if (sanitizerOutOfMappings(child)) return;
        const std::string where = what + "\nunder a limit " + std::to_string(margin >> 20) +
                                  " MiB above its mappings, operator new failing after " +
                                  std::to_string(allocations) + ": " + describeChild(child, found);
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

// Allocations that fail return null (operator new throws std::bad_alloc), as
// without the sanitizer: the memory limit of a child is seen by the program.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:alloc_dealloc_mismatch=0:new_delete_type_mismatch=0";
}

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
    if (took.count() < quickRun) checkChildren(words, hash(data, size), status, written, what);
    return 0;
}
