#include "Surfaces.h"

#include <quarvessin/format.h>
#include <quarvessin/surfaces.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace quarvessin::cli {

namespace {

constexpr int exitOk = 0;
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

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

int usageError(std::ostream& err, const std::string& reason) {
    err << "quarvessin surfaces: " << printable(reason) << " (see 'quarvessin surfaces --help')\n";
    err.flush();
    return exitUsage;
}

std::optional<int> parseCount(const std::string& text) {
    int value = 0;
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value);
    if (text.empty() || ec != std::errc() || end != last) return std::nullopt;
    return value;
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir == ".") return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// Writes `bytes` to a temporary file beside `path` and renames it to `path`
// when complete. On failure removes the temporary and sets `error`.
bool writeInPlace(const std::string& dir, const std::string& name, const std::string& bytes,
                  std::string& error) {
    const std::string path = joinPath(dir, name);
    std::random_device random;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    const std::string temporary = joinPath(dir, "." + name + suffix);
    errno = 0;
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    int failure = file == nullptr ? errno : 0;
    if (file != nullptr) {
        errno = 0;
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            failure = errno != 0 ? errno : EIO;
        }
        errno = 0;
        if (std::fclose(file) != 0 && failure == 0) failure = errno != 0 ? errno : EIO;
        if (failure == 0) {
            std::error_code ec;
            std::filesystem::rename(temporary, path, ec);
            if (!ec) return true;
            failure = ec.value();
        }
        std::remove(temporary.c_str());
    }
    error = "cannot write file " + path + ": " +
            (failure != 0 ? std::generic_category().message(failure) : "unknown error");
    return false;
}

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
        return usageError(err, "unknown format '" + format + "' (glb, ply, obj or json)");
    }
    SurfaceOptions surfaceOptions;
    if (!options.resolution.empty()) {
        const auto n = parseCount(options.resolution);
        if (!n || *n < 2 || *n > 10000) {
            return usageError(err, "--resolution needs a whole number from 2 to 10000: '" +
                                       options.resolution + "'");
        }
        surfaceOptions.resolution = *n;
    }
    if (options.dir.empty()) return usageError(err, "--dir needs a directory name");

    const Surfaces surfaces = computeSurfaces(surfaceOptions);
    if (!surfaces.accepted) {
        err << "quarvessin surfaces: " << surfaces.refusal << "\n";
        return exitUsage;
    }

    std::error_code ec;
    std::filesystem::create_directories(options.dir, ec);
    if (ec || !std::filesystem::is_directory(options.dir)) {
        err << "cannot create directory " << options.dir << ": "
            << (ec ? ec.message() : std::string("a file of that name is in the way")) << "\n";
        err.flush();
        return exitFailure;
    }

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
    std::string written;
    for (const auto& [name, bytes] : files) {
        std::string error;
        if (!writeInPlace(options.dir, name, bytes, error)) {
            err << error << "\n";
            err.flush();
            return exitFailure;
        }
        written += " " + joinPath(options.dir, name);
    }
    if (!options.quiet) out << "surfaces:" << written << "\n";
    out.flush();
    if (!out) {
        err << "quarvessin surfaces: cannot write standard output\n";
        return exitFailure;
    }
    return exitOk;
}

}  // namespace quarvessin::cli
