// Invariant checks of the fuzz harnesses: a broken invariant prints what was
// expected and aborts, which libFuzzer reports as a crash with its input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace fuzzcheck {

[[noreturn]] inline void fail(const char* file, int line, const char* condition,
                              const std::string& detail) {
    std::fprintf(stderr, "\n%s:%d: invariant broken: %s\n%s\n", file, line, condition,
                 detail.c_str());
    std::fflush(stderr);
    std::abort();
}

// Bit-for-bit equality of two doubles (NaN payloads and the sign of zero included).
inline bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The value with every digit it needs to be read back, for messages.
inline std::string show(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

}  // namespace fuzzcheck

#define FUZZ_REQUIRE(condition, detail)                                                \
    do {                                                                               \
        if (!(condition)) ::fuzzcheck::fail(__FILE__, __LINE__, #condition, (detail)); \
    } while (false)
