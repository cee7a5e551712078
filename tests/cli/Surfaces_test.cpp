// The surfaces command in process: the files of every format are the
// engine's bytes, written whole under their names; usage errors write
// nothing; a file that cannot be written leaves no temporary behind.
#include "Surfaces.h"

#include <gtest/gtest.h>
#include <quarvessin/surfaces.h>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CliScratch.h"

using namespace clitest;
using quarvessin::cli::runSurfaces;
using quarvessin::cli::SurfacesOptions;

namespace {

struct SurfacesRun {
    int status = -1;
    std::string out, err;
};

SurfacesRun runWith(const SurfacesOptions& options) {
    std::ostringstream out, err;
    SurfacesRun r;
    r.status = runSurfaces(options, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// The options as the command line reads them.
SurfacesOptions parsed(const std::vector<std::string>& args) {
    CLI::App app;
    SurfacesOptions options;
    CLI::App* command = quarvessin::cli::addSurfacesCommand(app, options);
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
    EXPECT_TRUE(command->parsed());
    return options;
}

}  // namespace

TEST(SurfacesCommand, FilesOfEveryFormatAreTheEnginesBytes) {
    Scratch dir;
    quarvessin::SurfaceOptions engineOptions;
    engineOptions.resolution = 12;
    const quarvessin::Surfaces surfaces = quarvessin::computeSurfaces(engineOptions);
    ASSERT_TRUE(surfaces.accepted);

    for (const char* format : {"glb", "json", "ply", "obj"}) {
        SCOPED_TRACE(format);
        const std::string sub = dir / format;
        const SurfacesOptions options =
            parsed({"surfaces", "--format", format, "--dir", sub, "--resolution", "12"});
        EXPECT_EQ(options.resolution, "12");
        const SurfacesRun r = runWith(options);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err;
        const auto files = filesIn(sub);  // temporaries would show up here too
        std::map<std::string, std::string> expected;
        const std::string f = format;
        if (f == "glb") expected["surfaces.glb"] = quarvessin::surfacesGlb(surfaces);
        if (f == "json") expected["surfaces.json"] = quarvessin::surfacesJson(surfaces);
        for (const auto& mesh : surfaces.surfaces) {
            if (f == "ply") expected[mesh.name + ".ply"] = quarvessin::surfacePly(mesh, true);
            if (f == "obj") expected[mesh.name + ".obj"] = quarvessin::surfaceObj(mesh);
        }
        ASSERT_EQ(files.size(), expected.size());
        for (const auto& [name, bytes] : expected) {
            ASSERT_TRUE(files.count(name)) << name;
            EXPECT_TRUE(files.at(name) == bytes) << name;
            EXPECT_NE(r.out.find(sub + "/" + name), std::string::npos) << r.out;
        }
    }
    EXPECT_EQ(nlohmann::json::parse(readFile(dir / "json/surfaces.json"))["surfaces"].size(), 6u);
}

TEST(SurfacesCommand, UsageErrorsWriteNothing) {
    Scratch dir;
    const std::string target = dir / "out";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"surfaces", "--format", "stl", "--dir", target},
          {"surfaces", "--resolution", "1", "--dir", target},
          {"surfaces", "--resolution", "twelve", "--dir", target},
          {"surfaces", "--resolution", "12.5", "--dir", target},
          {"surfaces", "--resolution", "10001", "--dir", target}}) {
        const SurfacesRun r = runWith(parsed(args));
        EXPECT_EQ(r.status, 2) << args[2];
        EXPECT_NE(r.err.find("quarvessin surfaces: "), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(exists(target));
    }
}

TEST(SurfacesCommand, FailedWritesExitOneAndLeaveNoTemporary) {
    Scratch dir;
    // The directory is a file.
    { std::ofstream(dir / "plain") << "x"; }
    SurfacesOptions options;
    options.resolution = "4";
    options.dir = dir / "plain";
    SurfacesRun r = runWith(options);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot create directory"), std::string::npos) << r.err;

    // The file's name is taken by a directory: the rename fails, the
    // temporary goes, the directory stays.
    const std::string out = dir / "out";
    ASSERT_EQ(mkdir(out.c_str(), 0755), 0);
    const std::string blocker = out + "/surfaces.json";
    ASSERT_EQ(mkdir(blocker.c_str(), 0755), 0);
    ASSERT_EQ(mkdir((blocker + "/keep").c_str(), 0755), 0);
    options.dir = out;
    options.format = "json";
    r = runWith(options);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write file " + blocker), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    const auto left = filesIn(out);
    EXPECT_EQ(left.size(), 1u);  // only the blocking directory
    EXPECT_TRUE(exists(blocker + "/keep"));
}
