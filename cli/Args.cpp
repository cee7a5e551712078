#include "Args.h"

#include <quarvessin/kinds.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <system_error>
#include <utility>

namespace quarvessin::cli {

namespace {

// Tolerance, relative to the number of steps, within which a range's grid is
// taken to reach its end: a few hundred units of rounding of the division
// (TO - FROM) / STEP, far below any step a user would mean.
constexpr double gridReach = 1e-9;
// Decimals beyond which rounding a grid value to the typed decimals would no
// longer change a double.
constexpr int maxRoundingDecimals = 17;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the decimal-number syntax at the start of `s`, counting the
// decimals as typed (digits after the point minus the exponent); 0 when `s`
// is not wholly such a number.
std::size_t scanNumber(const std::string& s, int* decimals) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) ++i, ++digits;
    int fraction = 0;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) ++i, ++digits, ++fraction;
    }
    if (digits == 0) return 0;
    long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
        std::size_t expDigits = 0;
        while (i < s.size() && isDigit(s[i])) {
            if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
            ++i, ++expDigits;
        }
        if (expDigits == 0) return 0;
        if (negative) exponent = -exponent;
    }
    if (i != s.size()) return 0;
    if (decimals != nullptr) {
        *decimals = static_cast<int>(std::clamp<long>(fraction - exponent, -100000, 100000));
    }
    return i;
}

std::optional<double> parseDecimal(const std::string& token, int* decimals) {
    if (scanNumber(token, decimals) == 0) return std::nullopt;
    // from_chars reads no leading '+'.
    const char* first = token.data();
    const char* last = token.data() + token.size();
    if (*first == '+') ++first;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

// `value` rounded to `decimals` decimal places, read back as a double.
double roundToDecimals(double value, int decimals) {
    if (decimals >= maxRoundingDecimals) return value;
    if (decimals <= 0) return std::round(value);
    char buffer[400];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (written.ec != std::errc()) return value;
    double rounded = value;
    std::from_chars(buffer, written.ptr, rounded);
    return rounded;
}

std::string quoted(const std::string& token) { return "'" + printable(token) + "'"; }

}  // namespace

std::optional<long> parseCount(const std::string& token) {
    long value = 0;
    const char* first = token.data();
    const char* last = token.data() + token.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (token.empty() || ec != std::errc() || end != last) return std::nullopt;
    return value;
}

std::optional<double> parseNumber(const std::string& token) { return parseDecimal(token, nullptr); }

std::vector<double> expandValues(const std::string& token, std::size_t limit, std::string& error) {
    error.clear();
    const std::size_t colon = token.find(':');
    if (colon == std::string::npos) {
        const auto value = parseNumber(token);
        if (!value) {
            error = "not a finite decimal number: " + quoted(token);
            return {};
        }
        return {*value};
    }
    const std::size_t colon2 = token.find(':', colon + 1);
    if (colon2 == std::string::npos || token.find(':', colon2 + 1) != std::string::npos) {
        error = "a range is FROM:TO:STEP: " + quoted(token);
        return {};
    }
    const std::string parts[3] = {token.substr(0, colon),
                                  token.substr(colon + 1, colon2 - colon - 1),
                                  token.substr(colon2 + 1)};
    int fromDecimals = 0, toDecimals = 0, stepDecimals = 0;
    const auto from = parseDecimal(parts[0], &fromDecimals);
    const auto to = parseDecimal(parts[1], &toDecimals);
    const auto step = parseDecimal(parts[2], &stepDecimals);
    for (int i = 0; i < 3; ++i) {
        if (!(i == 0 ? from : i == 1 ? to : step)) {
            error =
                "not a finite decimal number: " + quoted(parts[i]) + " in range " + quoted(token);
            return {};
        }
    }
    if (*from == *to) return {*from};
    if (*step == 0.0) {
        error = "the step of range " + quoted(token) + " is zero";
        return {};
    }
    if ((*to - *from) * *step < 0.0) {
        error = "the step of range " + quoted(token) + " points away from its end";
        return {};
    }
    const double steps = (*to - *from) / *step;  // may be infinite for extreme ends
    if (!(steps < static_cast<double>(limit))) {
        error = "range " + quoted(token) + " gives more than " + std::to_string(limit) + " values";
        return {};
    }
    double whole = std::floor(steps);
    const bool reachesEnd = steps - whole >= 1.0 - gridReach * std::max(1.0, steps) ||
                            steps - whole <= gridReach * std::max(1.0, steps);
    if (steps - whole >= 1.0 - gridReach * std::max(1.0, steps)) whole += 1.0;
    const auto count = static_cast<std::size_t>(whole) + 1;
    if (count > limit) {
        error = "range " + quoted(token) + " gives more than " + std::to_string(limit) + " values";
        return {};
    }
    const int decimals = std::max(fromDecimals, stepDecimals);
    std::vector<double> values;
    values.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        values.push_back(roundToDecimals(*from + static_cast<double>(i) * *step, decimals));
    }
    // The last grid value is TO when the grid reaches it within rounding; a
    // grid of one value is FROM itself, however close TO lies.
    if (reachesEnd && count > 1) values.back() = *to;
    return values;
}

namespace {

// "isobar or isotherm": the kind words of the table.
std::string kindWords() {
    std::string words;
    const auto& kinds = sectionKinds();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        words += (i == 0 ? "" : i + 1 == kinds.size() ? " or " : ", ") + std::string(kinds[i].word);
    }
    return words;
}

}  // namespace

SectionList readSectionList(const std::vector<std::string>& words, std::size_t limit) {
    SectionList list;
    std::optional<SectionKind> kind;
    bool kindHasValues = true;
    std::string kindToken;
    for (const std::string& word : words) {
        if (const SectionKindInfo* k = findKind(word)) {
            if (!kindHasValues) {
                list.error = kindToken + " is followed by no value";
                return {{}, list.error, true};
            }
            kind = k->kind;
            kindToken = word;
            kindHasValues = !k->takesValue;
            // A kind without a value is one section, asked by its word alone.
            if (!k->takesValue) list.sections.push_back({k->kind, 0.0});
            continue;
        }
        if (!kind) {
            if (parseNumber(word) || word.find(':') != std::string::npos) {
                list.error =
                    "value " + quoted(word) + " comes before a kind word (" + kindWords() + ")";
            } else {
                list.error = unknownKindMessage(word);
            }
            return {{}, list.error, true};
        }
        if (!kindInfo(*kind).takesValue) {
            return {{}, kindToken + " takes no value: " + quoted(word), true};
        }
        std::string error;
        const std::vector<double> values = expandValues(word, limit, error);
        if (!error.empty()) return {{}, error, true};
        if (values.size() > limit - list.sections.size()) {
            return {{}, "more than " + std::to_string(limit) + " sections asked in one call", true};
        }
        kindHasValues = true;
        for (double value : values) {
            const SectionKindInfo& info = kindInfo(*kind);
            if (!valueAccepted(info, value)) {
                std::string reason = valueRefusal(info, value);
                if (word.find(':') != std::string::npos) {
                    reason += " (in " + quoted(word) + ")";
                }
                return {{}, reason, false};
            }
            list.sections.push_back({*kind, value});
        }
    }
    if (!kind) return {{}, "no section asked (e.g. isobar 300)", true};
    if (!kindHasValues) return {{}, kindToken + " is followed by no value", true};
    // Each (kind, value) once, in the order first asked.
    std::set<std::pair<int, double>> seen;
    std::vector<SectionRequest> unique;
    unique.reserve(list.sections.size());
    for (const SectionRequest& s : list.sections) {
        if (seen.emplace(static_cast<int>(s.kind), s.value).second) unique.push_back(s);
    }
    list.sections = std::move(unique);
    return list;
}

}  // namespace quarvessin::cli
