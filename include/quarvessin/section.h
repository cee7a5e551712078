// Phase-diagram sections through H2O-NaCl as values: the boundaries the
// console program quarvessin_plotdata writes as files, computed in process.
//
// Units: temperature in degrees Celsius, pressure in bar, composition of the
// points in weight percent NaCl.
#pragma once

#include <quarvessin/model/NaClTriplePoint.h>

#include <cstddef>
#include <string>
#include <vector>

namespace quarvessin {

enum class SectionKind {
    Isobaric,    // at a fixed pressure [bar], over temperature
    Isothermal,  // at a fixed temperature [C], over pressure
    Isoplethal,  // at a fixed composition [wt% NaCl], over temperature and pressure
    Projection,  // the univariant and critical curves in the pressure-temperature plane
};

// The stable boundaries of an isobaric section, chosen from its pressure.
enum class IsobaricCase {
    A,   // below the critical pressure of water: the loop closes at pure water
    B,   // below the three-phase maximum: the loop closes at the critical point
    C1,  // above the critical pressure at 1000 C: the halite liquidus alone
    C2,  // from the three-phase maximum up to the critical pressure at 1000 C
};

// One point of a boundary, in the section's plane (its kind's columns, see
// <quarvessin/kinds.h>).
struct Point {
    // NaCl content [wt%] on isobars and isotherms; temperature [C] on
    // isopleths and the projection.
    double wtPercent;
    // Temperature [C] on isobars; pressure [bar] on isotherms, isopleths and
    // the projection.
    double value;
};

// Which branch of the vapour + liquid surface a piece of a boundary follows.
enum class Branch {
    None,    // not a piece of the vapour + liquid surface, or not told
    Vapor,   // the vapour branch (dew side)
    Liquid,  // the liquid branch (bubble side)
    Loop,    // up the vapour branch and back down the liquid branch, through
             // pure water or the critical point
};

// One phase boundary of a section, as the console program writes it to a file.
struct Boundary {
    std::string phases;    // the file prefix without its underscore, e.g. "liquid+vapor"
    std::string fileName;  // the name the console program gives the file
    // The boundary's stable identity, the same on every section and whatever
    // the file prefix: "vapor+liquid", "liquidus", "three-phase",
    // "vapor+halite" (see <quarvessin/style.h> for its label and colour).
    std::string id;
    bool scientific = false;  // numbers written as %e (the vapour + halite file of an isotherm)
    // Separately traced pieces, in file order; the file separates them by an empty line.
    std::vector<std::vector<Point>> pieces;
    // The branch of each piece, parallel to `pieces`.
    std::vector<Branch> branches;
};

// A phase field of a section: a connected region of one stable assemblage,
// with a place for its label inside it, away from its boundaries. The label
// point is classified by queryPoint as `assemblage`.
struct Field {
    std::string assemblage;  // as queryPoint spells it, e.g. "liquid+halite"
    std::string label;       // its short name, e.g. "L+H"
    double wtPercent;        // the label's place, as a Point: across
    double value;            // and up
};

struct Section {
    SectionKind kind = SectionKind::Isobaric;
    double value = 0.0;     // pressure [bar], temperature [C] or NaCl [wt%] as asked
    bool accepted = false;  // false when the value is refused (out of range)
    // Every byte the console program prints after reading the value: the list of
    // stable boundaries, file announcements, solver and refusal messages.
    std::string console;
    std::vector<Boundary> boundaries;  // in the order the console program opens its files
    // The phase fields the boundaries divide the section into (empty when
    // SectionOptions::fields is off or the section is refused).
    std::vector<Field> fields;
    // Remarks for a reader of the numbers (points that are not finite numbers,
    // a section outside the range of the correlations), one sentence each.
    std::vector<std::string> warnings;
};

struct SectionOptions {
    // Display resolution: boundaries whose console spacing hides their shape
    // (the vapour + halite curve of an isotherm, sampled linearly in pressure
    // over many decades) are sampled evenly in log p instead. The files of the
    // console program never use it.
    bool fine = false;
    // Place the labels of the phase fields (Section::fields): some thousand
    // point classifications (about 1 ms), so off unless a front end draws them.
    bool fields = false;
};

// Lowest and highest pressure of an isobaric section [bar].
constexpr double minSectionPressure = 1.0;
constexpr double maxSectionPressure = 5000.0;
// Isothermal sections are computed below the triple point of NaCl [C].
constexpr double maxSectionTemperature = NaClTriplePoint::Ttriple;

// True when the console program computes a section for this value (otherwise
// it prints its refusal).
bool sectionAccepted(SectionKind kind, double value);

// The isobaric case at pressure p [bar], 1 to 5000 bar.
IsobaricCase isobaricCase(double p);

// Computes one section. Re-entrant: each call builds its own model objects and
// touches no file, no standard stream and no shared state, so sections may be
// computed on several threads at once.
Section computeSection(SectionKind kind, double value, const SectionOptions& options = {});

// The phase fields of an accepted section, placed as SectionOptions::fields
// places them (for a section computed without).
std::vector<Field> placeFields(const Section& section);

// The bytes of the boundary's file, exactly as the console program writes it.
std::string formatBoundary(const Boundary& boundary);

// Receives a section as it is traced, boundary by boundary, in the order the
// console program writes its files and console text. A call that returns false
// stops the section (the receiver has reported why).
class SectionSink {
  public:
    virtual ~SectionSink() = default;
    // A new boundary `index` (0, 1, ... in order of opening) with its phases
    // and file name; its points follow later, possibly interleaved with those of
    // other boundaries.
    virtual bool openBoundary(std::size_t index, const std::string& phases,
                              const std::string& fileName) = 0;
    // Every later number of the boundary is written in %e.
    virtual void useScientific(std::size_t index) = 0;
    virtual bool point(std::size_t index, Point point) = 0;
    // The end of a piece and the start of the next.
    virtual bool separate(std::size_t index) = 0;
    // No more points for the boundary.
    virtual bool closeBoundary(std::size_t index) = 0;
    // The piece being traced follows `branch` of the vapour + liquid surface.
    virtual void branch(std::size_t /*index*/, Branch /*branch*/) {}
    // Console text, in order.
    virtual void console(const std::string& text) = 0;
};

// Traces the section into `sink`, with the console program's points (the
// value must be accepted: see sectionAccepted). Returns false when the sink
// stopped it.
bool traceSection(SectionKind kind, double value, SectionSink& sink,
                  const SectionOptions& options = {});

}  // namespace quarvessin
