// The files and texts the quarvessin program writes: sections as csv and json,
// file names, and writing a file with the console program's failure message.
#pragma once

#include <quarvessin/point.h>
#include <quarvessin/section.h>

#include <string>

namespace quarvessin::cli {

enum class Format { Dat, Csv, Json };

// "isobar_300bar.csv", "isotherm_-20C.json": kind, the value in shortest
// round-trip form, the unit, the extension of the format (csv or json).
std::string sectionFileName(SectionKind kind, double value, Format format);

// Name of the second column: "temperature_C" (isobars) or "pressure_bar".
const char* valueColumn(SectionKind kind);

// A section as csv: the header "boundary,piece,wt_percent,temperature_C" (or
// pressure_bar), then one row per point: the boundary's phases, the piece
// number (1, 2, ... in file order), the two numbers in shortest round-trip form
// with an empty field for a value that is not a finite number. Lines end in
// "\n".
std::string formatCsv(const Section& section);

// A section as one json object (schema in the README, "Command line"):
// {"kind", "value", "unit", "columns", "boundaries": [{"phases", "file",
// "pieces": [[[wt, value], ...], ...]}], "console", "warnings"}; numbers that
// are not finite are null. Ends in "\n".
std::string formatJson(const Section& section);

// An accepted point query as text for a reader: the temperature and pressure,
// one line per boundary present (wt% and mole fraction, six significant
// digits), the three-phase pressure and the top of the vapour-liquid loop,
// and with a mixture its assemblage.
std::string formatPointText(const PointResult& point);

// An accepted point query as one json object: "T_C", "P_bar",
// "sublimation_pressure_bar", "three_phase_pressure_bar", "loop_top_bar",
// "loop_closes_at" ("pure water" or "critical point"), "boundaries": [{"boundary",
// "phase", "description", "wt_percent", "mole_fraction"}], "warnings", and with a
// mixture "wt_percent", "mole_fraction" and "assemblage" (null when it cannot
// be told). Numbers in full precision, null when not finite. Ends in "\n".
std::string formatPointJson(const PointResult& point);

// Writes `bytes` to `path`, replacing a file of that name. On failure returns
// false and sets `error` to the console program's line (without newline)
// "cannot write file PATH: REASON".
bool writeFile(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace quarvessin::cli
