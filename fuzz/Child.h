// A front end run as its program runs it, in a forked child of the fuzzer:
// standard input from a file, standard output to the null device, standard
// error into a file, then some of the descriptors 0, 1 and 2 closed, the
// standard descriptors guarded as every main guards them, and optionally the
// memory made to run out. The child's signals are its own (no libFuzzer
// handler, no sanitizer death callback: a sanitizer's report goes to a file),
// it ends with _exit (no atexit handler of the fuzzer runs) and is killed by
// SIGALRM after childSeconds.
//
// The memory runs out in two ways at once: every operator new from the Nth
// on throws std::bad_alloc, and the address space is limited to some bytes
// above what the child maps, which makes thread stacks and large allocations
// fail (under AddressSanitizer small ones come from memory it reserved at
// start). A child the sanitizer itself ended for want of a mapping is no
// fault of the program (sanitizerOutOfMappings).
//
// A harness that uses it writes FUZZ_FAILING_NEW once at namespace scope: its
// own operator new, on malloc (AddressSanitizer then checks no new/delete
// pairing in that harness), and the sanitizer options that let allocations
// fail by returning null.
#pragma once

#include <fcntl.h>
#include <sanitizer/common_interface_defs.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <string>

#include "StandardDescriptors.h"

namespace fuzzchild {

// Allocations operator new still grants before it throws std::bad_alloc; -1
// without limit (the fuzzer itself, and a child until its body runs).
extern std::atomic<long long> allocationsLeft;

// The longest a child may run [s].
constexpr unsigned childSeconds = 20;

struct Setup {
    std::string input;             // its standard input
    unsigned closed = 0;           // descriptors closed: bits 0, 1, 2
    std::size_t addressSpace = 0;  // bytes above its mappings, 0 for no limit
    long long allocations = -1;    // operator new calls granted, -1 for all
};

struct Child {
    bool exited = false;
    int status = -1;     // exit status, or the signal that ended it
    std::string err;     // its standard error (while descriptor 2 was open)
    std::string report;  // a sanitizer's report, if it wrote one
};

inline std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// What the process maps [bytes], from /proc/self/status; 0 if unknown.
inline unsigned long long mappedBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0)
            return std::strtoull(line.c_str() + 7, nullptr, 10) * 1024;
    }
    return 0;
}

// In a child: the stack of a fatal signal in the sanitizer's report file,
// then the signal's own end.
// The memory is given back first (the soft limit raised to the hard one,
// operator new unlimited): the sanitizer needs some to print the stack.
inline void printStackAndEnd(int signal) {
    struct rlimit r;
    if (getrlimit(RLIMIT_AS, &r) == 0) {
        r.rlim_cur = r.rlim_max;
        setrlimit(RLIMIT_AS, &r);
    }
    allocationsLeft.store(-1);
    __sanitizer_print_stack_trace();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Runs body() (its exit status) in a child set up as `setup` says; `base` is
// a path prefix for the files of its input, standard error and reports.
template <typename Body>
Child run(const std::string& base, const Setup& setup, Body body) {
    const std::string inPath = base + "-stdin";
    const std::string errPath = base + "-stderr";
    const std::string reportPath = base + "-report";
    {
        std::ofstream in(inPath, std::ios::binary);
        in << setup.input;
    }
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fuzz: fork");
        std::abort();
    }
    if (pid == 0) {
        for (int s : {SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE, SIGINT, SIGTERM, SIGALRM, SIGXFSZ,
                      SIGUSR1, SIGUSR2}) {
            std::signal(s, SIG_DFL);
        }
        std::signal(SIGABRT, printStackAndEnd);
        std::signal(SIGSEGV, printStackAndEnd);
        __sanitizer_set_death_callback(nullptr);
        __sanitizer_set_report_path(reportPath.c_str());
        alarm(childSeconds);
        const int in = open(inPath.c_str(), O_RDONLY);
        const int out = open("/dev/null", O_WRONLY);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
            _exit(120);
        close(in);
        close(out);
        close(err);
        for (int fd = 0; fd < 3; ++fd) {
            if (setup.closed & (1u << fd)) close(fd);
        }
        if (!quarvessin::process::guardStandardDescriptors()) _exit(1);
        if (setup.addressSpace > 0) {
            const unsigned long long mapped = mappedBytes();
            if (mapped == 0) _exit(121);
            const rlim_t limit = static_cast<rlim_t>(mapped + setup.addressSpace);
            const struct rlimit r = {limit, RLIM_INFINITY};
            if (setrlimit(RLIMIT_AS, &r) != 0) _exit(122);
        }
        allocationsLeft.store(setup.allocations);
        _exit(body());
    }
    int raw = 0;
    while (waitpid(pid, &raw, 0) < 0) {
        if (errno != EINTR) std::abort();
    }
    Child child;
    child.exited = WIFEXITED(raw);
    child.status = child.exited ? WEXITSTATUS(raw) : WTERMSIG(raw);
    child.err = readFile(errPath);
    const std::string report = reportPath + "." + std::to_string(pid);
    child.report = readFile(report);
    std::remove(inPath.c_str());
    std::remove(errPath.c_str());
    std::remove(report.c_str());
    return child;
}

// The sanitizer ended the child because one of its own mappings failed
// under the limit.
inline bool sanitizerOutOfMappings(const Child& child) {
    const std::string text = child.report + child.err;
    return child.exited && child.status == 1 &&
           (text.find("Failed to mmap") != std::string::npos ||
            text.find("failed to allocate") != std::string::npos ||
            text.find("ReserveShadowMemoryRange failed") != std::string::npos ||
            text.find("internal allocator is out of memory") != std::string::npos) &&
           text.find("ERROR: AddressSanitizer: ") == std::string::npos &&
           text.find("runtime error") == std::string::npos;
}

// Out of memory inside CLI11 (2.1, Debian libcli11-dev): some of its
// functions are noexcept but allocate (App::_find_subcommand,
// App::get_option_no_throw), so std::bad_alloc there ends in std::terminate.
// A fault of the parser, not of the program: not counted. Told by the frame
// that called std::terminate.
inline bool parserTerminatedOutOfMemory(const Child& child) {
    if (child.exited || child.status != SIGABRT ||
        child.err.find("terminate called after throwing an instance of 'std::bad_alloc'") ==
            std::string::npos)
        return false;
    const std::size_t at = child.report.find("__clang_call_terminate");
    if (at == std::string::npos) return false;
    const std::size_t next = child.report.find('\n', at);
    const std::size_t end = child.report.find('\n', next + 1);
    return next != std::string::npos &&
           child.report.substr(next, end - next).find(" in CLI::") != std::string::npos;
}

inline std::string describe(const Child& child) {
    return (child.exited ? "exit " : "signal ") + std::to_string(child.status) + "\nits stderr:\n" +
           child.err.substr(0, 2000) + "\nreport:\n" + child.report.substr(0, 4000);
}

// FNV-1a of an input: chooses the runs repeated in a child.
inline std::uint64_t hash(const std::uint8_t* data, std::size_t size) {
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

// From a hash: operator new calls granted, spread over the orders of
// magnitude from 0 to 16383 (a section needs some hundreds).
inline long long allocationsFrom(std::uint64_t h) {
    return static_cast<long long>((h >> 16) % (1ull << (1 + (h >> 40) % 14)));
}

// From a hash: 0 to 64 MiB above the child's mappings.
inline std::size_t addressSpaceFrom(std::uint64_t h) {
    return static_cast<std::size_t>((h >> 8) % 65) << 20;
}

}  // namespace fuzzchild

#define FUZZ_FAILING_NEW                                                                      \
    std::atomic<long long> fuzzchild::allocationsLeft{-1};                                    \
    void* operator new(std::size_t size) {                                                    \
        long long left = fuzzchild::allocationsLeft.load(std::memory_order_relaxed);          \
        while (left > 0 && !fuzzchild::allocationsLeft.compare_exchange_weak(left, left - 1)) \
            ;                                                                                 \
        if (left == 0) throw std::bad_alloc();                                                \
        void* p = std::malloc(size == 0 ? 1 : size);                                          \
        if (p == nullptr) throw std::bad_alloc();                                             \
        return p;                                                                             \
    }                                                                                         \
    void operator delete(void* p) noexcept { std::free(p); }                                  \
    void operator delete(void* p, std::size_t) noexcept { std::free(p); }                     \
    extern "C" const char* __asan_default_options() {                                         \
        return "allocator_may_return_null=1:alloc_dealloc_mismatch=0:"                        \
               "new_delete_type_mismatch=0";                                                  \
    }
