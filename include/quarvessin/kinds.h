// The kinds of section and their words, axes and ranges: the one table every
// front end reads (the command line, the Python package, the explorer page
// and the plot script), so a new kind of section is one new row.
//
// Units: temperature in degrees Celsius, pressure in bar, composition in
// weight percent NaCl.
#pragma once

#include <quarvessin/section.h>

#include <string>
#include <string_view>
#include <vector>

namespace quarvessin {

// The range of the phase-relation correlations: the temperatures and
// pressures they were fitted to.
constexpr double correlationMinTemperature = 0.0;     // [C]
constexpr double correlationMaxTemperature = 1000.0;  // [C]
constexpr double correlationMinPressure = 1.0;        // [bar]
constexpr double correlationMaxPressure = 5000.0;     // [bar]
// Isobaric sections run over temperature up to the top of the correlations.
constexpr double isobarTopTemperature = correlationMaxTemperature;
// "0 to 1000 C, 1 to 5000 bar": the range of the correlations for a reader.
std::string correlationRange();
// Absolute zero [C]: no front end accepts a temperature at or below it.
constexpr double absoluteZero = -273.15;

// A quantity of an axis or of a section's fixed value.
struct Quantity {
    const char* name;     // "temperature", "pressure", "NaCl"
    const char* unit;     // "C", "bar", "wt%"
    const char* display;  // the unit as labels show it: "°C", "bar", "wt%"
    const char* column;   // csv and json column: "temperature_C", "pressure_bar", "wt_percent"
};

// The plane a section lies in, and how its points map to temperature,
// pressure and composition.
enum class SectionPlane {
    CompositionTemperature,  // across NaCl [wt%], up temperature [C]; fixed pressure
    CompositionPressure,     // across NaCl [wt%], up pressure [bar]; fixed temperature
    TemperaturePressure,     // across temperature [C], up pressure [bar]; fixed NaCl
};

// One kind of section.
struct SectionKindInfo {
    SectionKind kind;
    const char* word;       // "isobar": the name of the kind in every front end
    const char* plural;     // "isobars"
    const char* adjective;  // "isobaric" (empty when the kind has none)
    bool takesValue;        // false for the projection, which is one section
    Quantity fixed;         // the quantity held fixed (its value is the section's)
    // Values the front ends accept: above (or from) min, below (or up to) max.
    double min;
    bool minIncluded;
    double max;
    bool maxIncluded;
    const char* fileUnit;   // unit in export file names: isobar_300bar.csv
    const char* datSuffix;  // suffix of the console program's file names: "bar.dat"
    SectionPlane plane;
    Quantity x;         // horizontal axis and first column
    Quantity y;         // vertical axis and second column
    double xMin, xMax;  // the extent across of the section's plot
    bool logY;          // the vertical axis reads best logarithmic
    bool hasFields;     // its phase fields are labelled (Section::fields)
};

// The temperature [C], pressure [bar] and composition [wt%] of the point
// (x, y) of a section of this kind at `value`.
struct StatePoint {
    double tC;
    double pBar;
    double wt;
};
StatePoint statePoint(const SectionKindInfo& kind, double value, double x, double y);

// Every kind, in the order front ends list them.
const std::vector<SectionKindInfo>& sectionKinds();
// The row of a kind.
const SectionKindInfo& kindInfo(SectionKind kind);
// The kind a word names (its word, plural or adjective, exactly), or null.
const SectionKindInfo* findKind(std::string_view word);
// "the kind of section must be isobar or isotherm (or their plurals and
// isobaric, isothermal), not 'WORD'": the one refusal of an unknown kind word
// (WORD quoted printable).
std::string unknownKindMessage(std::string_view word);

// True when front ends accept `value` for a section of this kind (a finite
// number in the kind's range; any value for a kind without one).
bool valueAccepted(const SectionKindInfo& kind, double value);
// "valid: 1 to 5000 bar", "valid: above -273.15 and below 800.7 C".
std::string validRange(const SectionKindInfo& kind);
// "isobar 300 bar is out of range (valid: 1 to 5000 bar)": the one refusal of
// a section value, the value in its shortest exact form.
std::string valueRefusal(const SectionKindInfo& kind, double value);
// "isobar 300 bar", "isotherm -20 C": a section named for a reader.
std::string sectionName(SectionKind kind, double value);

// The pressure at the top of the vapour-liquid loop at temperature t [C]:
// the vapour pressure of water up to its critical temperature (373.976 C),
// the critical pressure of the solution above it [bar]. Sets
// `closesAtPureWater` to which of the two it is.
double loopTopPressure(double tC, bool& closesAtPureWater);

}  // namespace quarvessin
