// The texts and files of sections and point queries.
#include <quarvessin/format.h>
#include <quarvessin/kinds.h>
#include <quarvessin/style.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Json.h"

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

std::string shortestNumber(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    const std::string sign = std::signbit(value) ? "-" : "";
    if (value == 0.0) return sign + "0";
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
    return sign + (scientific.size() < fixed.size() ? scientific : fixed);
}

std::string sixDigits(double value) {
    if (std::isnan(value)) return "nan";  // whatever its sign bit, on every platform
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

std::string printable(const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127) {
            result += "\\x";
            result += hex[byte >> 4];
            result += hex[byte & 15];
        } else {
            result += c;
        }
    }
    return result;
}

std::string sectionFileName(SectionKind kind, double value, const std::string& extension) {
    const SectionKindInfo& info = kindInfo(kind);
    return std::string(info.word) + "_" + shortestNumber(value) + info.fileUnit + "." + extension;
}

namespace {

void appendCsvNumber(std::string& out, double value) {
    if (std::isfinite(value)) out += shortestNumber(value);
}

const char* branchOf(const Boundary& boundary, std::size_t piece) {
    return piece < boundary.branches.size() ? branchName(boundary.branches[piece]) : "";
}

}  // namespace

std::string sectionCsv(const Section& section) {
    const SectionKindInfo& info = kindInfo(section.kind);
    std::string out =
        std::string("boundary,piece,branch,") + info.x.column + "," + info.y.column + "\n";
    for (const Boundary& boundary : section.boundaries) {
        for (std::size_t i = 0; i < boundary.pieces.size(); ++i) {
            const std::string prefix =
                boundary.id + "," + std::to_string(i + 1) + "," + branchOf(boundary, i) + ",";
            for (const Point& point : boundary.pieces[i]) {
                out += prefix;
                appendCsvNumber(out, point.wtPercent);
                out += ',';
                appendCsvNumber(out, point.value);
                out += '\n';
            }
        }
    }
    return out;
}

std::string sectionJson(const Section& section) {
    const SectionKindInfo& info = kindInfo(section.kind);
    json::Value boundaries = json::Value::array();
    for (const Boundary& boundary : section.boundaries) {
        const BoundaryStyle* style = styleOfId(boundary.id);
        json::Value branches = json::Value::array();
        json::Value pieces = json::Value::array();
        for (std::size_t i = 0; i < boundary.pieces.size(); ++i) {
            branches.push(branchOf(boundary, i));
            json::Value points = json::Value::array();
            for (const Point& point : boundary.pieces[i]) {
                points.push(json::Value::array().push(point.wtPercent).push(point.value));
            }
            pieces.push(std::move(points));
        }
        boundaries.push(json::Value::object()
                            .set("id", boundary.id)
                            .set("label", style ? style->label : "")
                            .set("phases", boundary.phases)
                            .set("file", boundary.fileName)
                            .set("branches", std::move(branches))
                            .set("pieces", std::move(pieces)));
    }
    json::Value fields = json::Value::array();
    for (const Field& field : section.fields) {
        fields.push(json::Value::object()
                        .set("name", field.label)
                        .set("assemblage", field.assemblage)
                        .set(info.x.column, field.wtPercent)
                        .set(info.y.column, field.value));
    }
    json::Value warnings = json::Value::array();
    for (const std::string& warning : section.warnings) warnings.push(warning);
    const json::Value object =
        json::Value::object()
            .set("kind", info.word)
            .set("value", section.value)
            .set("unit", info.fixed.unit)
            .set("accepted", section.accepted)
            .set("columns", json::Value::array().push(info.x.column).push(info.y.column))
            .set("boundaries", std::move(boundaries))
            .set("fields", std::move(fields))
            .set("console", section.console)
            .set("warnings", std::move(warnings));
    return object.dump() + "\n";
}

std::string pointText(const PointResult& point) {
    std::string out = sixDigits(point.tC) + " C, " + sixDigits(point.pBar) + " bar\n";
    if (point.boundaries.empty()) out += "  no phase boundary at this pressure\n";
    for (const PointBoundary& b : point.boundaries) {
        out += "  " + b.description + " (" + b.boundary + "): " + sixDigits(b.wtPercent) +
               " wt% NaCl, mole fraction " + sixDigits(b.moleFraction) + "\n";
    }
    out += "three-phase pressure " + sixDigits(point.threePhasePressure) +
           " bar; vapour-liquid loop up to " + sixDigits(point.loopTopPressure) + " bar (" +
           (point.loopClosesAtPureWater ? "vapour pressure of water"
                                        : "critical point of the solution") +
           "); halite sublimation pressure " + sixDigits(point.sublimationPressure) + " bar\n";
    if (point.wtPercent) {
        out += "assemblage at " + sixDigits(*point.wtPercent) + " wt% NaCl: " +
               (point.assemblage.empty() ? std::string("cannot be told") : point.assemblage) + "\n";
    }
    return out;
}

std::string pointJson(const PointResult& point) {
    json::Value boundaries = json::Value::array();
    for (const PointBoundary& b : point.boundaries) {
        boundaries.push(json::Value::object()
                            .set("boundary", b.boundary)
                            .set("phase", b.phase)
                            .set("description", b.description)
                            .set("wt_percent", b.wtPercent)
                            .set("mole_fraction", b.moleFraction));
    }
    json::Value warnings = json::Value::array();
    for (const std::string& warning : point.warnings) warnings.push(warning);
    json::Value object =
        json::Value::object()
            .set("T_C", point.tC)
            .set("P_bar", point.pBar)
            .set("sublimation_pressure_bar", point.sublimationPressure)
            .set("three_phase_pressure_bar", point.threePhasePressure)
            .set("loop_top_bar", point.loopTopPressure)
            .set("loop_closes_at", point.loopClosesAtPureWater ? "pure water" : "critical point")
            .set("boundaries", std::move(boundaries))
            .set("warnings", std::move(warnings));
    if (point.moleFraction) {
        object.set("mole_fraction", *point.moleFraction);
        object.set("wt_percent", point.wtPercent.value_or(NAN));
        object.set("assemblage",
                   point.assemblage.empty() ? json::Value() : json::Value(point.assemblage));
    }
    return object.dump(2) + "\n";
}

}  // namespace quarvessin
