// Command-line values of the quarvessin program: strict decimal numbers,
// FROM:TO:STEP ranges, and the section list "isobar 300 1000 isotherm 25:400:25".
#pragma once

#include <quarvessin/format.h>
#include <quarvessin/section.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quarvessin::cli {

// Most sections one call may ask for, over all its values and ranges. An
// isotherm's dat files hold up to about 75 kB (the liquidus in 1-bar steps),
// so 10000 sections are at most about 750 MB and a minute of computing; every
// isotherm in 0.1-degree steps from -20 C up (8207 sections) still fits. A
// mistyped step beyond it is refused before anything is allocated or computed.
constexpr std::size_t maxSections = 10000;

// The number a whole token denotes, or nothing. Accepted: an optional sign,
// decimal digits with at most one decimal point (and at least one digit), an
// optional exponent e/E with optional sign and digits; the value must be a
// finite double. Refused: empty tokens, blanks, a decimal comma, trailing
// characters, nan, inf, hexadecimal, and values beyond the range of a double.
// The decimal point is '.' whatever the locale.
std::optional<double> parseNumber(const std::string& token);

// A whole number as typed, all of the token, or nothing ("8", not "8 " or "8.0").
std::optional<long> parseCount(const std::string& token);

// One section asked for on the command line.
struct SectionRequest {
    SectionKind kind = SectionKind::Isobaric;
    double value = 0.0;  // pressure [bar] or temperature [C]
};

// The result of reading a list of kind words and values.
struct SectionList {
    std::vector<SectionRequest> sections;  // in the order asked, each (kind, value) once
    std::string error;                     // one-line reason when the list is refused
    bool usage = true;                     // the refusal is a usage error (else a refused value)
    bool ok() const { return error.empty(); }
};

// The values a token stands for: a number, or FROM:TO:STEP, the grid FROM,
// FROM + STEP, ... up to TO (TO included when the grid reaches it within
// rounding; STEP non-zero, pointing from FROM towards TO; FROM == TO gives one
// value). Grid values are rounded to the decimals of FROM and STEP as typed,
// so 0:1:0.1 gives 0.3 rather than 0.30000000000000004. At most `limit`
// values; otherwise `error` says why and nothing is returned.
std::vector<double> expandValues(const std::string& token, std::size_t limit, std::string& error);

// Reads the positional words of `quarvessin section`: a kind word (any word
// of the engine's kind table: isobar, isobars, isobaric, ...) applies to the
// values after it until the next kind word; a kind without a value (the
// projection) is its word alone. Every value is checked before
// anything is computed: a value outside its kind's range refuses the whole
// list, naming the value and the valid range. A value asked twice is computed
// once.
SectionList readSectionList(const std::vector<std::string>& words, std::size_t limit = maxSections);

// The engine's spelling of numbers and typed text in messages.
using quarvessin::printable;
using quarvessin::shortestNumber;

}  // namespace quarvessin::cli
