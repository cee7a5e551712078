#include "engine/ShortestNumber.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quarvessin {

namespace {
constexpr int maxSignificantDigits = 17;  // every double reads back from 17
}  // namespace

void appendShortestByPrintf(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "nan";
        return;
    }
    if (std::isinf(value)) {
        out += value > 0 ? "inf" : "-inf";
        return;
    }
    if (std::signbit(value)) out += '-';
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0) {
        out += '0';
        return;
    }
    // The fewest digits that read back, by bisection: a number that reads
    // back from n correctly rounded digits reads back from more. (printf is
    // slow where long double is emulated, as in WebAssembly: 4 or 5 calls
    // instead of up to 17.)
    char text[64];
    auto readsBack = [&](int digits) {
        std::snprintf(text, sizeof text, "%.*e", digits - 1, magnitude);
        return std::strtod(text, nullptr) == magnitude;
    };
    int fewest = 1, most = maxSignificantDigits;
    while (fewest < most) {
        const int digits = (fewest + most) / 2;
        if (readsBack(digits)) {
            most = digits;
        } else {
            fewest = digits + 1;
        }
    }
    readsBack(fewest);
    // text is d[.ddd]e±XX: the significant digits and the decimal exponent.
    std::string significand;
    const char* c = text;
    for (; *c != 'e'; ++c) {
        if (*c != '.') significand += *c;
    }
    const int exponent = std::atoi(c + 1);
    const int count = static_cast<int>(significand.size());

    std::string scientific(1, significand[0]);
    if (count > 1) scientific += "." + significand.substr(1);
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    scientific += exponentText;

    std::string fixed;
    if (exponent >= count - 1) {
        // A whole number: to_chars writes its exact digits (beyond 2^53 they
        // differ from the shortest significand padded with zeros).
        std::snprintf(text, sizeof text, "%.0f", magnitude);
        fixed = text;
    } else if (exponent >= 0) {
        const auto point = static_cast<std::size_t>(exponent + 1);
        fixed = significand.substr(0, point) + "." + significand.substr(point);
    } else {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + significand;
    }
    out += fixed.size() <= scientific.size() ? fixed : scientific;
}

void appendShortest(std::string& out, double value) {
#if defined(__EMSCRIPTEN__)
    appendShortestByPrintf(out, value);
#else
    if (std::isnan(value)) {
        out += "nan";
        return;
    }
    char text[64];
    const auto written = std::to_chars(text, text + sizeof text, value);
    out.append(text, written.ptr);
#endif
}

}  // namespace quarvessin
