#include "Formats.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <nlohmann/json.hpp>

#include "Args.h"

namespace quarvessin::cli {

namespace {

// A number as a csv field: shortest round-trip form, empty when not finite.
void appendCsvNumber(std::string& out, double value) {
    if (std::isfinite(value)) out += shortestNumber(value);
}

nlohmann::ordered_json jsonNumber(double value) {
    if (!std::isfinite(value)) return nullptr;
    return value;
}

}  // namespace

std::string sectionFileName(SectionKind kind, double value, Format format) {
    const char* extension = format == Format::Json  ? ".json"
                            : format == Format::Csv ? ".csv"
                                                    : ".dat";
    return std::string(kindWord(kind)) + "_" + shortestNumber(value) + kindUnit(kind) + extension;
}

const char* valueColumn(SectionKind kind) {
    return kind == SectionKind::Isobaric ? "temperature_C" : "pressure_bar";
}

std::string formatCsv(const Section& section) {
    std::string out = "boundary,piece,wt_percent,";
    out += valueColumn(section.kind);
    out += '\n';
    for (const Boundary& boundary : section.boundaries) {
        std::size_t number = 0;
        for (const auto& piece : boundary.pieces) {
            ++number;
            const std::string prefix = boundary.phases + "," + std::to_string(number) + ",";
            for (const Point& point : piece) {
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

std::string formatJson(const Section& section) {
    nlohmann::ordered_json boundaries = nlohmann::ordered_json::array();
    for (const Boundary& boundary : section.boundaries) {
        nlohmann::ordered_json pieces = nlohmann::ordered_json::array();
        for (const auto& piece : boundary.pieces) {
            nlohmann::ordered_json points = nlohmann::ordered_json::array();
            for (const Point& point : piece) {
                points.push_back({jsonNumber(point.wtPercent), jsonNumber(point.value)});
            }
            pieces.push_back(std::move(points));
        }
        boundaries.push_back({{"phases", boundary.phases},
                              {"file", boundary.fileName},
                              {"pieces", std::move(pieces)}});
    }
    const nlohmann::ordered_json object = {
        {"kind", kindWord(section.kind)},
        {"value", jsonNumber(section.value)},
        {"unit", kindUnit(section.kind)},
        {"columns", {"wt_percent", valueColumn(section.kind)}},
        {"boundaries", std::move(boundaries)},
        {"console", section.console},
        {"warnings", section.warnings},
    };
    // Invalid UTF-8 in a text (none is expected) is replaced, never thrown.
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

namespace {

std::string sixDigits(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

}  // namespace

std::string formatPointText(const PointResult& point) {
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

std::string formatPointJson(const PointResult& point) {
    nlohmann::ordered_json boundaries = nlohmann::ordered_json::array();
    for (const PointBoundary& b : point.boundaries) {
        boundaries.push_back({{"boundary", b.boundary},
                              {"phase", b.phase},
                              {"description", b.description},
                              {"wt_percent", jsonNumber(b.wtPercent)},
                              {"mole_fraction", jsonNumber(b.moleFraction)}});
    }
    nlohmann::ordered_json object = {
        {"T_C", jsonNumber(point.tC)},
        {"P_bar", jsonNumber(point.pBar)},
        {"sublimation_pressure_bar", jsonNumber(point.sublimationPressure)},
        {"three_phase_pressure_bar", jsonNumber(point.threePhasePressure)},
        {"loop_top_bar", jsonNumber(point.loopTopPressure)},
        {"loop_closes_at", point.loopClosesAtPureWater ? "pure water" : "critical point"},
        {"boundaries", std::move(boundaries)},
        {"warnings", point.warnings},
    };
    if (point.moleFraction) {
        object["mole_fraction"] = jsonNumber(*point.moleFraction);
        object["wt_percent"] = jsonNumber(point.wtPercent.value_or(NAN));
        object["assemblage"] = point.assemblage.empty() ? nlohmann::ordered_json(nullptr)
                                                        : nlohmann::ordered_json(point.assemblage);
    }
    return object.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

bool writeFile(const std::string& path, const std::string& bytes, std::string& error) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "w");
    bool failed = file == nullptr;
    int failure = failed ? errno : 0;
    if (file != nullptr) {
        errno = 0;
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            failed = true;
            failure = errno;
        }
        errno = 0;
        if (std::fclose(file) != 0 && !failed) {
            failed = true;
            failure = errno;
        }
    }
    if (!failed) return true;
    // strerror shares one buffer between threads; files are written on several.
    static std::mutex strerrorMutex;
    const std::lock_guard<std::mutex> lock(strerrorMutex);
    error = "cannot write file " + path + ": " +
            (failure != 0 ? std::strerror(failure) : "unknown error");
    return false;
}

}  // namespace quarvessin::cli
