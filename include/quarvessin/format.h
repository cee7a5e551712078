// The texts and files of sections and point queries, the same bytes in every
// front end: numbers, csv and json of a section, export file names, and the
// text and json of a point query.
#pragma once

#include <quarvessin/point.h>
#include <quarvessin/section.h>

#include <string>

namespace quarvessin {

// The shortest decimal text that reads back as exactly `value` ("300",
// "220.54915", "-20", "1e-05"), fixed or scientific, whichever is shorter
// (fixed on a tie); "nan", "inf" or "-inf" when not finite. The same bytes on
// every platform.
std::string shortestNumber(double value);
// printf's %g: six significant digits ("0.0228959", "1.13861e-39").
std::string sixDigits(double value);
// `text` with every control character (bytes below 32, and 127) written as
// \xNN, so that a message quoting what was typed stays one printable line.
std::string printable(const std::string& text);

// The dat files of the console program, one boundary each.
// The file name "%s%f%s" of (prefix, section value, suffix), in full whatever
// its length, e.g. liquid+vapor_250.000000bar.dat.
std::string boundaryFileName(const std::string& prefix, double value, const std::string& suffix);

// Appends one data line "A<TAB>B<LF>" of a boundary file to `line`: both
// numbers as printf's %g (six significant digits) or, for a scientific
// boundary, as %e (six decimals), independent of the locale.
void appendDataLine(std::string& line, double a, double b, bool scientific);

// "isobar_300bar.csv", "isotherm_-20C.json": kind word, the value in shortest
// form, the kind's file unit, and the extension ("csv" or "json").
std::string sectionFileName(SectionKind kind, double value, const std::string& extension);

// A section as csv: the header "boundary,piece,branch,wt_percent,temperature_C"
// (the kind's columns), then one row per point: the boundary's stable
// identity, the piece number (1, 2, ... in file order), the piece's branch
// ("vapor", "liquid", "loop" or empty), the two numbers in shortest form with
// an empty field for a value that is not a finite number. Lines end in "\n".
std::string sectionCsv(const Section& section);

// A section as one json object, ending in "\n":
// {"kind", "value", "unit", "accepted", "columns", "axes": [{"name", "unit",
// "column", "log", "min", "max"}, ...], "boundaries": [{"id", "label",
// "legend", "colour", "dots", "phases", "file", "branches",
// "pieces": [[[x, y], ...], ...]}],
// "fields": [{"name", "assemblage", "<x column>", "<y column>"}], "console",
// "warnings"}; numbers in shortest form, null when not finite.
std::string sectionJson(const Section& section);

// An accepted point query as text for a reader: the temperature and pressure,
// one line per boundary present (wt% and mole fraction, six significant
// digits), the three-phase pressure and the top of the vapour-liquid loop,
// and with a mixture its assemblage.
std::string pointText(const PointResult& point);

// An accepted point query as one json object (indented by two), ending in
// "\n": "T_C", "P_bar", "sublimation_pressure_bar",
// "three_phase_pressure_bar", "loop_top_bar", "loop_closes_at" ("pure water"
// or "critical point"), "boundaries": [{"boundary", "phase", "description",
// "wt_percent", "mole_fraction"}], "warnings", and with a mixture
// "mole_fraction", "wt_percent" and "assemblage" (null when it cannot be
// told). Numbers in shortest form, null when not finite.
std::string pointJson(const PointResult& point);

}  // namespace quarvessin
