#include "Surfaces.h"

#include <quarvessin/format.h>
#include <quarvessin/surfaces.h>

#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Args.h"
#include "Formats.h"
#include "Messages.h"

namespace quarvessin::cli {

namespace {

const char* const surfacesFooter =
    R"(Every vertex is a point of the model's own surface: the vapour + liquid
surface (its liquid and vapour sheets, meeting along the critical curve), the
halite liquidus, the three-phase surface of vapour + liquid + halite tie
lines, the vapour + halite surface, and the critical curve as a polyline.
Axes x = temperature [C], y = pressure [bar] (linear; draw it logarithmic),
z = NaCl [wt%], stated in every file.

Formats:
  glb   surfaces.glb: glTF 2.0 binary, one named mesh per surface (default)
  json  surfaces.json: {"surfaces": [{"name", "vertices": [[T, P, wt], ...],
        "triangles": [[i, j, k], ...], "lines": [[i, j], ...]}, ...]}
  ply   one binary PLY file per surface: liquidus.ply, three-phase.ply, ...
  obj   one OBJ file per surface: liquidus.obj, three-phase.obj, ...

Examples:
  quarvessin surfaces
  quarvessin surfaces --format ply --dir meshes
  quarvessin surfaces --format json --resolution 100)";

}  // namespace

CLI::App* addSurfacesCommand(CLI::App& app, SurfacesOptions& options) {
    CLI::App* command = app.add_subcommand(
        "surfaces", "Write the surfaces of the phase diagram (T, P, wt%) as meshes.");
    command->add_option("--format,-f", options.format, "glb (default), ply, obj or json")
        ->type_name("FORMAT");
    command
        ->add_option("--dir,-d", options.dir,
                     "directory for the files, created if missing "
                     "(default: .)")
        ->type_name("DIR");
    command
        ->add_option("--resolution,-r", options.resolution,
                     "evenly spaced isotherms, 2 to 10000 (default: 200)")
        ->type_name("N");
    command->add_flag("--quiet,-q", options.quiet, "no line naming the files on standard output");
    command->footer(surfacesFooter);
    return command;
}

int runSurfaces(const SurfacesOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& format = options.format;
    if (format != "glb" && format != "ply" && format != "obj" && format != "json") {
        return usageError(err, "surfaces",
                          "unknown format '" + format + "' (glb, ply, obj or json)");
    }
    SurfaceOptions surfaceOptions;
    if (!options.resolution.empty()) {
        const auto n = parseCount(options.resolution);
        if (!n || *n < 2 || *n > 10000) {
            return usageError(
                err, "surfaces",
                "--resolution needs a whole number from 2 to 10000: '" + options.resolution + "'");
        }
        surfaceOptions.resolution = *n;
    }
    if (options.dir.empty()) return usageError(err, "surfaces", "--dir needs a directory name");

    const Surfaces surfaces = computeSurfaces(surfaceOptions);
    if (!surfaces.accepted) {
        return refused(err, "surfaces", surfaces.refusal);
    }

    if (!createDirectory(options.dir, err)) return exitFailure;

    std::vector<std::pair<std::string, std::string>> files;  // name, bytes
    if (format == "glb") {
        files.emplace_back("surfaces.glb", surfacesGlb(surfaces));
    } else if (format == "json") {
        files.emplace_back("surfaces.json", surfacesJson(surfaces));
    } else {
        for (const SurfaceMesh& mesh : surfaces.surfaces) {
            files.emplace_back(surfaceFileName(mesh, format),
                               format == "ply" ? surfacePly(mesh, true) : surfaceObj(mesh));
        }
    }
    // Every file under a temporary name first, renamed into place together.
    StagedFiles staged;
    std::string error;
    for (const auto& [name, bytes] : files) {
        if (!staged.stage(joinPath(options.dir, name), bytes, error)) break;
    }
    const std::vector<std::string> paths = staged.paths();
    if (!error.empty() || !staged.commit(error)) {
        err << printable(error) << "\n";
        err.flush();
        return exitFailure;
    }
    if (!options.quiet) {
        out << "surfaces:";
        for (const std::string& path : paths) out << " " << printable(path);
        out << "\n";
    }
    out.flush();
    return out ? exitOk : outputFailure(err, "surfaces");
}

}  // namespace quarvessin::cli
