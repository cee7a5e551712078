// Curves of the pressure-temperature plane sampled for display: adaptive
// refinement where a curve turns, the tracing of every root of a family
// p_k(t), and the writing of traced pieces as one boundary. Shared by the
// isopleth and projection tracers. Points are (temperature [C], pressure
// [bar]) carried in Point as (wtPercent, value).
#pragma once

#include <quarvessin/section.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/BoundaryTrace.h"

namespace quarvessin {

// One piece of a boundary as traced, with the branch it follows.
struct TracedPiece {
    std::vector<Point> points;
    Branch branch = Branch::None;
};

// How finely a curve is sampled: the midpoint of every segment lies within
// `tolerance` of its chord, measured in the plot's fractions both with a
// linear pressure axis (0 to pressureSpan) and a logarithmic one
// (logDecades decades), temperatures over temperatureSpan.
struct Resolution {
    double temperatureSpan = 1000.0;  // [C]
    double pressureSpan = 5000.0;     // [bar]
    double logDecades = 8.0;          // [-]
    double tolerance = 1e-3;          // [-]
    int maxDepth = 9;                 // halvings of an initial step, at most
};

// True when m, the point halfway in the parameter between a and b, lies
// farther than the tolerance from the chord a-b on either axis scale.
bool bends(const Point& a, const Point& m, const Point& b, const Resolution& r);

// The points of a curve given by `at` over the parameter [s0, s1] (s0 < s1):
// `initial` even steps, each halved while the curve bends across it, the
// midpoint that showed it straight enough kept as well. Points
// where `at` gives a coordinate that is not a number are left out; the curve
// is expected to be defined over the whole interval.
std::vector<Point> sampleCurve(const std::function<Point(double)>& at, double s0, double s1,
                               int initial, const Resolution& r);

// A family of curves p_k(t) given as the roots in p of residual(t, p) over
// bottom(t) < p < top(t) (both positive): a surface of the system at one
// composition, e.g. the vapour branch minus the composition.
struct RootFamily {
    std::function<double(double, double)> residual;
    std::function<double(double)> bottom;  // [bar]
    std::function<double(double)> top;     // [bar]
    int samples = 16;                      // log-p samples of a full root search at one temperature
    // The composition minus the asked one along the bottom and the top of the
    // range, where it is known without the residual (e.g. the critical
    // composition at the top of the vapour + liquid surface); the residual
    // at the ends when empty.
    std::function<double(double)> alongBottom;
    std::function<double(double)> alongTop;
};

// Every root of the family at t, ascending: sign changes between samples
// even in log p over the range, each closed by Brent's method.
std::vector<double> familyRoots(const RootFamily& family, double t);

// Traces every root p_k(t) of a family over the temperatures `grid`
// (ascending). At the grid temperatures all roots are found; between them a
// root keeps its rank and is refined where it bends, each new point solved
// in a bracket around its interpolation from the neighbours. Where the
// number of roots changes, a root has crossed the bottom or the top of the
// range there (found by Brent's method on the residual along that end, and
// the crossing point added to the piece that ends or starts in it) or two
// roots have met (narrowed by bisection in t); roots on both sides of the
// change that continue each other stay one piece.
std::vector<TracedPiece> traceRootFamily(const RootFamily& family, const std::vector<double>& grid,
                                         const Resolution& r);

// Writes the pieces as one boundary (prefix, value, suffix), each piece's
// branch told to the sink, after announcing "Writing <label> data to file
// <name>". Points as writeRaw(temperature, pressure). Pieces with fewer than
// two points are left out; a boundary without pieces is not opened. Returns
// false when the sink stopped the section.
bool writePieces(SectionTracer& tr, const std::string& prefix, double value,
                 const std::string& suffix, const std::string& label,
                 const std::vector<TracedPiece>& pieces);

// The same for a boundary whose file is named outright (a section without a
// value): `phases` as Boundary::phases, `fileName` its file.
bool writeNamedPieces(SectionTracer& tr, const std::string& phases, const std::string& fileName,
                      const std::string& label, const std::vector<TracedPiece>& pieces);

}  // namespace quarvessin
