// Numbers in their shortest exact decimal form, the same bytes on every
// platform.
#include "engine/ShortestNumber.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace quarvessin {

namespace {

// The decimal digits and exponent of a finite, non-zero |value| with
// `precision` significant digits, correctly rounded: value ~ 0.D * 10^(E+1).
struct Decimal {
    std::string digits;  // without leading or trailing point
    int exponent = 0;    // of the first digit
};

Decimal decimalOf(double magnitude, int precision) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*e", precision - 1, magnitude);
    Decimal d;
    const char* c = text;
    for (; *c != 'e'; ++c) {
        if (*c != '.') d.digits += *c;
    }
    d.exponent = std::atoi(c + 1);
    return d;
}

double valueOf(const Decimal& d) {
    const std::string text = d.digits + "e" + std::to_string(d.exponent - int(d.digits.size()) + 1);
    return std::strtod(text.c_str(), nullptr);
}

// `d` with its last digit moved by +1 or -1 (carrying or borrowing), keeping
// the number of digits where it can.
Decimal neighbour(Decimal d, int step) {
    int i = static_cast<int>(d.digits.size()) - 1;
    if (step > 0) {
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i--)] = '0';
        }
        if (i < 0) {
            d.digits.insert(0, "1");
            d.digits.pop_back();
            ++d.exponent;
        } else {
            ++d.digits[static_cast<std::size_t>(i)];
        }
    } else {
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '0') {
            d.digits[static_cast<std::size_t>(i--)] = '9';
        }
        if (i >= 0) --d.digits[static_cast<std::size_t>(i)];
        if (d.digits[0] == '0') {  // 1000 - 1 = 0999: one digit fewer in front
            d.digits.erase(0, 1);
            d.digits += '9';
            --d.exponent;
        }
    }
    return d;
}

// The shortest digits that read back as `magnitude`: among the correctly
// rounded decimal of each precision and its two neighbours (the rounding
// interval of a power of two is lopsided), the first that reads back.
Decimal shortestDecimal(double magnitude) {
    for (int precision = 1; precision < 17; ++precision) {
        const Decimal rounded = decimalOf(magnitude, precision);
        if (valueOf(rounded) == magnitude) return rounded;
        for (int step : {1, -1}) {
            const Decimal other = neighbour(rounded, step);
            if (other.digits.size() == rounded.digits.size() && valueOf(other) == magnitude) {
                return other;
            }
        }
    }
    return decimalOf(magnitude, 17);
}

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
    const std::string sign = std::signbit(value) ? "-" : "";
    if (value == 0.0) {
        out += sign + "0";
        return;
    }
    Decimal d = shortestDecimal(std::fabs(value));
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    const int n = static_cast<int>(d.digits.size());
    const int e = d.exponent;
    // Fixed notation, as %f with just the digits needed.
    std::string fixed;
    if (e >= n - 1) {
        // A whole number: all its digits exact, as %.0f writes them (beyond
        // 2^53 they differ from the shortest digits padded with zeros).
        char whole[400];
        std::snprintf(whole, sizeof whole, "%.0f", std::fabs(value));
        fixed = whole;
    } else if (e >= 0) {
        fixed = d.digits.substr(0, static_cast<std::size_t>(e + 1)) + "." +
                d.digits.substr(static_cast<std::size_t>(e + 1));
    } else {
        fixed = "0." + std::string(static_cast<std::size_t>(-e - 1), '0') + d.digits;
    }
    // Scientific notation, as %e: at least two exponent digits.
    std::string scientific = d.digits.substr(0, 1);
    if (n > 1) scientific += "." + d.digits.substr(1);
    const int magnitude = e < 0 ? -e : e;
    scientific +=
        std::string(e < 0 ? "e-" : "e+") + (magnitude < 10 ? "0" : "") + std::to_string(magnitude);
    out += sign + (scientific.size() < fixed.size() ? scientific : fixed);
}

void appendShortest(std::string& out, double value) {
#if defined(__EMSCRIPTEN__)
    appendShortestByPrintf(out, value);
#else
    // The C++ library's shortest form: the same bytes, some ten times faster.
    if (!std::isfinite(value)) {
        appendShortestByPrintf(out, value);
        return;
    }
    char text[64];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
#endif
}

}  // namespace quarvessin
