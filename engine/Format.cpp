// The texts and files of sections and point queries.
#include <quarvessin/format.h>
#include <quarvessin/kinds.h>
#include <quarvessin/style.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/Json.h"
#include "engine/ShortestNumber.h"

namespace quarvessin {

std::string shortestNumber(double value) {
    std::string text;
    appendShortest(text, value);
    return text;
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
    if (!info.takesValue) return std::string(info.word) + "." + extension;
    return std::string(info.word) + "_" + shortestNumber(value) + info.fileUnit + "." + extension;
}

namespace {

void appendCsvNumber(std::string& out, double value) {
    if (std::isfinite(value)) out += shortestNumber(value);
}

// An axis of a section's plot: its quantity, unit (as displayed) and
// column, whether it is logarithmic, and its fixed extent where it has one.
json::Value axis(const Quantity& q, bool log, double min, double max) {
    return json::Value::object()
        .set("name", q.name)
        .set("unit", q.display)
        .set("column", q.column)
        .set("log", log)
        .set("min", min)
        .set("max", max);
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
                            .set("legend", style ? style->legend : boundary.phases.c_str())
                            .set("colour", style ? style->colour : "#000000")
                            .set("dots", style != nullptr && style->dots)
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
            .set("value", info.takesValue ? json::Value(section.value) : json::Value())
            .set("unit", info.fixed.unit)
            .set("accepted", section.accepted)
            .set("columns", json::Value::array().push(info.x.column).push(info.y.column))
            .set("axes", json::Value::array()
                             .push(axis(info.x, false, info.xMin, info.xMax))
                             .push(axis(info.y, info.logY, NAN, NAN)))
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
