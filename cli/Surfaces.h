// The surfaces command of the quarvessin program: the phase diagram's
// surfaces as mesh files (glTF binary, PLY, OBJ or json).
#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace quarvessin::cli {

// The options of `quarvessin surfaces`, as typed.
struct SurfacesOptions {
    std::string format = "glb";  // glb, ply, obj or json
    std::string dir = ".";       // directory for the files, created if missing
    std::string resolution;      // isotherms of the even grid; empty: the engine's default
    bool quiet = false;          // no line naming the files on standard output
};

// Adds the subcommand `surfaces` with its options, bound to `options`, to
// `app`; returns it (parsed() tells whether it was given).
CLI::App* addSurfacesCommand(CLI::App& app, SurfacesOptions& options);

// Computes the surfaces and writes them into options.dir: surfaces.glb or
// surfaces.json, or one .ply or .obj file per surface named after it. Each
// file is written under a temporary name in the same directory and renamed
// into place when complete. Names the files on `out` (one line), messages on
// `err`. Returns 0 done, 1 a file or directory that could not be written (its
// temporary removed), 2 a usage error (nothing written).
int runSurfaces(const SurfacesOptions& options, std::ostream& out, std::ostream& err);

}  // namespace quarvessin::cli
