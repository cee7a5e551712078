#pragma once

#include "engine/BoundaryTrace.h"

namespace quarvessin {

// File name suffix of the projection's boundaries: critical_projection.dat.
constexpr const char* projectionSuffix = "projection.dat";

// Traces the pressure-temperature projection of H2O-NaCl: its univariant and
// critical curves, each a boundary of one piece of (temperature [C],
// pressure [bar]) points (Point::wtPercent carries the temperature,
// Point::value the pressure), in the order
// - "vapor+liquid+halite": the three-phase curve, 0 C to the NaCl triple
//   point (800.7 C, 0.0005 bar), through its maximum (390.147 bar near
//   594.6 C) exactly;
// - "critical": the critical curve of the solutions from the critical point
//   of water (373.976 C, 220.54915 bar) to 1000 C (not its formal extension
//   below);
// - "water-liquid+vapor": the boiling curve of pure water from its triple
//   point (0.01 C) to its critical point;
// - "nacl-halite+liquid": the melting curve of halite, 1 to 5000 bar;
// - "nacl-liquid+vapor": the boiling curve of NaCl, 800.7 to 1000 C;
// - "nacl-halite+vapor": the sublimation curve of halite, 0 to 800.7 C.
// Files "<phases>_projection.dat". The console gets the list of the curves
// and each file's announcement. Returns false when the sink stopped it.
bool traceProjection(SectionTracer& tr);

// The compositions along the projection's curves, each a boundary of
// (temperature [C], NaCl [wt%]) points (Point::wtPercent carries the
// temperature, Point::value the composition): "vapor+liquid+halite-liquid"
// and "vapor+liquid+halite-vapor" (the liquid and vapour of the three-phase
// curve, 0 to 800.7 C) and "critical-composition" (373.976 to 1000 C).
// Files "<name>_projection.dat". Returns false when the sink stopped it.
bool traceProjectionCompositions(SectionTracer& tr);

}  // namespace quarvessin
