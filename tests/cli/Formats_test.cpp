// Files staged under temporary names and renamed into place: the console
// program's failure message, and no file half-written or lost on failure.
#include "Formats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CliScratch.h"

using namespace quarvessin::cli;
namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t entries(const fs::path& dir) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
}

}  // namespace

TEST(StagedFiles, LandTogetherOrNotAtAll) {
    clitest::Scratch dir;
    const fs::path a = dir / "a.dat";
    const fs::path b = dir / "b.dat";
    std::ofstream(a) << "the earlier run\n";
    const std::string bytes = std::string("a\tb\n\0z", 6);
    std::string error;
    {
        // Staged, then abandoned with a failure: the earlier file stays as it
        // was and no temporary is left.
        StagedFiles files;
        ASSERT_TRUE(files.stage(a.string(), bytes, error)) << error;
        EXPECT_EQ(contents(a), "the earlier run\n");
        EXPECT_EQ(entries(dir.path()), 2u);  // a.dat and its temporary
        EXPECT_FALSE(files.stage((dir / "missing/b.dat"), bytes, error));
        EXPECT_EQ(error,
                  "cannot write file " + (dir / "missing/b.dat") + ": No such file or directory");
    }
    EXPECT_EQ(contents(a), "the earlier run\n");
    EXPECT_EQ(entries(dir.path()), 1u);
    // Committed: both files, complete, under their final names only.
    StagedFiles files;
    ASSERT_TRUE(files.stage(a.string(), bytes, error)) << error;
    ASSERT_TRUE(files.stage(b.string(), "b\n", error)) << error;
    EXPECT_EQ(files.paths(), (std::vector<std::string>{a.string(), b.string()}));
    ASSERT_TRUE(files.commit(error)) << error;
    EXPECT_EQ(contents(a), bytes);
    EXPECT_EQ(contents(b), "b\n");
    EXPECT_EQ(entries(dir.path()), 2u);
}
