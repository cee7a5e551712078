// The phase diagram of H2O-NaCl in temperature, pressure and composition as
// meshes: the two sheets of the vapour + liquid surface meeting along the
// critical curve, the halite liquidus, the three-phase surface of
// vapour + liquid + halite tie lines and the vapour + halite surface, and
// their files (json, glTF binary, PLY, OBJ), the same bytes in every front end.
//
// Units: temperature in degrees Celsius, pressure in bar (linear in the data;
// a logarithmic view is the viewer's choice), composition in weight percent
// NaCl.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quarvessin {

// One surface (or curve) of the phase diagram as a mesh. Every vertex is a
// point of the model's own correlation for the surface, evaluated at the
// vertex's temperature and pressure: nothing is interpolated. The mesh is
// stitched isotherm by isotherm: a triangle joins vertices of two
// neighbouring isotherms of one piece.
struct SurfaceMesh {
    // "vapor+liquid-liquid", "vapor+liquid-vapor", "liquidus", "three-phase",
    // "vapor+halite", "critical-curve"
    std::string name;
    // The boundary it is, as the sections name it (style.h): "vapor+liquid",
    // "liquidus", "three-phase", "vapor+halite"; "critical" for the curve.
    std::string boundary;
    // Each vertex: temperature [C], pressure [bar], NaCl [wt%].
    std::vector<std::array<double, 3>> vertices;
    // Triangles as indices into `vertices`, oriented alike within a surface.
    std::vector<std::array<std::uint32_t, 3>> triangles;
    // Line segments (the critical curve), as indices into `vertices`.
    std::vector<std::array<std::uint32_t, 2>> lines;
    // The piece of each vertex (parallel to `vertices`): a run of neighbouring
    // isotherms on which the surface exists. Triangles and segments never join
    // two pieces.
    std::vector<std::uint32_t> pieces;
};

struct SurfaceOptions {
    // Evenly spaced isotherms over the temperature range; the grid adds the
    // temperatures where the surfaces turn (the critical point of water, the
    // three-phase pressure maximum, the melting point of halite at the top
    // pressure) and a geometric run of isotherms towards the triple point of
    // NaCl (800.7 C) from both sides (about 35 more in the full range).
    int resolution = 200;
    // Points along each isotherm of a sheet, placed evenly along the curve as
    // drawn (log pressure, wt%); the three-phase tie line has its three corners.
    // Resolution and samples each from 2 to 10000, their product (the points
    // of a sheet) up to 1000000.
    int samples = 64;
    double tMin = 0.0;     // [C], from 0
    double tMax = 1000.0;  // [C], up to 1000
    // Pressure range [bar]: the sheets are cut at these pressures. The
    // default bottom lies below the whole three-phase surface (its lowest
    // point is the triple point of NaCl, 0.0005 bar) and cuts the vapour +
    // halite surface, which reaches down to the sublimation pressure of
    // halite (1e-36 bar at 0 C).
    double pMin = 1e-4;
    double pMax = 5000.0;  // up to 5000
};

struct Surfaces {
    bool accepted = false;             // false when the options are refused; `refusal` says why
    std::string refusal;               // one sentence naming the option and its valid range
    std::vector<double> temperatures;  // the isotherms of the grid, rising [C]
    // In the order: vapor+liquid-liquid, vapor+liquid-vapor, liquidus,
    // three-phase, vapor+halite, critical-curve (a surface may be empty in a
    // narrow range).
    std::vector<SurfaceMesh> surfaces;
};

// Builds every surface. Re-entrant (its own model objects, no shared state).
Surfaces computeSurfaces(const SurfaceOptions& options = {});

// The axes of every file, one line: "x = temperature [C], y = pressure [bar],
// z = NaCl [wt%]".
extern const char* const surfaceAxes;

// {"axes": ..., "columns": ["temperature_C", "pressure_bar", "wt_percent"],
// "surfaces": [{"name", "boundary", "vertices": [[T, P, wt], ...],
// "triangles": [[i, j, k], ...], "lines": [[i, j], ...]}, ...]}: numbers in
// the shortest form that reads back as the same double. Ends in "\n".
std::string surfacesJson(const Surfaces& surfaces);

// glTF 2.0 binary: one named mesh (and node) per non-empty surface, triangles
// (mode 4) or lines (mode 1), float positions (x = T, y = P, z = wt%) with
// their min and max, 32-bit indices; the axes and units in asset.extras and
// each mesh's extras.
std::string surfacesGlb(const Surfaces& surfaces);

// One surface as PLY (ascii, or binary_little_endian with double
// coordinates), the axes in comment lines; faces, and edges for a curve.
std::string surfacePly(const SurfaceMesh& surface, bool binary);

// One surface as Wavefront OBJ: `#` comments with the axes, `v`, `f` and `l`.
std::string surfaceObj(const SurfaceMesh& surface);

// "three-phase.ply": the surface's name and the extension.
std::string surfaceFileName(const SurfaceMesh& surface, const std::string& extension);

}  // namespace quarvessin
