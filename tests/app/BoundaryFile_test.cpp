// Boundary data files: names, weight-percent conversion, line format, pieces,
// and the report of files that cannot be created or written.
#include "app/BoundaryFile.h"

#include <gtest/gtest.h>
#include <quarvessin/composition.h>
#include <quarvessin/format.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

using namespace quarvessin;

namespace fs = std::filesystem;

namespace {

// Runs each test in a fresh empty working directory, as the program runs in
// the user's current directory.
class BoundaryFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quarvessin_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    static std::string contents(const std::string& name) {
        std::ifstream file(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    std::ostringstream out;  // console
    std::ostringstream err;  // diagnostics
    BoundaryFile file{err};

  private:
    fs::path dir_;
    fs::path previous_;
};

}  // namespace

TEST(BoundaryFileName, SectionValueWithSixDecimals) {
    // Expected names: the section value written out by hand with six decimals.
    EXPECT_EQ(boundaryFileName("liquid+halite_", 1.0, "bar.dat"), "liquid+halite_1.000000bar.dat");
    EXPECT_EQ(boundaryFileName("vapor+liquid_", 5000, "bar.dat"),
              "vapor+liquid_5000.000000bar.dat");
    EXPECT_EQ(boundaryFileName("vapor+halite_", -10, "c.dat"), "vapor+halite_-10.000000c.dat");
    EXPECT_EQ(boundaryFileName("liquid+vapor_", 250, "bar.dat"), "liquid+vapor_250.000000bar.dat");
}

TEST(BoundaryFileName, ExtremelyLongValueBuiltInFull) {
    // 1e300 has 301 integer digits; the name holds all of them, then six
    // decimals. Digits compared with the fixed-point output of a string stream.
    const std::string name = boundaryFileName("liquid+halite_", 1e300, "bar.dat");
    std::ostringstream digits;
    digits.setf(std::ios::fixed);
    digits.precision(6);
    digits << 1e300;
    EXPECT_EQ(name.size(), 14u + 301u + 7u + 7u);
    EXPECT_EQ(name, "liquid+halite_" + digits.str() + "bar.dat");
    EXPECT_EQ(name.substr(name.size() - 14), ".000000bar.dat");
}

TEST(BoundaryFileWeightPercent, PureEndMembersAndMixture) {
    EXPECT_EQ(wtPercent(1.0), 100.0);  // pure halite: exactly 100
    EXPECT_EQ(wtPercent(0.0), 0.0);    // pure water
    // The pure-water marker value of the drivers is this conversion at 1e-10.
    EXPECT_EQ(wtPercent(1e-10), 3.244129891028844e-08);
    // Equimolar mixture, by hand: 100 / (1 + 18.015 / 58.443).
    EXPECT_NEAR(wtPercent(0.5), 100.0 / (1.0 + 18.015 / 58.443), 1e-12);
}

TEST_F(BoundaryFileTest, GeneralFormatPiecesAndFlushedLines) {
    ASSERT_TRUE(file.open(boundaryFileName("liquid+halite_", 300, "bar.dat")));
    EXPECT_EQ(file.name(), "liquid+halite_300.000000bar.dat");
    ASSERT_TRUE(file.writeRaw(3.244129891028844e-08, 1.0));
    // Flushed at once: the line is in the file while it is still open.
    EXPECT_EQ(contents(file.name()), "3.24413e-08\t1\n");
    ASSERT_TRUE(file.writeRaw(wtPercent(1.0), 800.5));  // pure halite: 100, no decimal point
    ASSERT_TRUE(file.separate());
    ASSERT_TRUE(file.writeRaw(1e6, 1e-4));  // %g: exponent from 1e6 on, not at 1e-4
    ASSERT_TRUE(file.writeRaw(123456.7, 1e-5));
    ASSERT_TRUE(file.close());
    // Two pieces, exactly one empty line between them, none at the end.
    EXPECT_EQ(contents("liquid+halite_300.000000bar.dat"),
              "3.24413e-08\t1\n100\t800.5\n\n1e+06\t0.0001\n123457\t1e-05\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(BoundaryFileTest, ScientificFormatInBothColumnsFromTheSwitchOn) {
    ASSERT_TRUE(file.open(boundaryFileName("vapor+halite_", 400, "c.dat")));
    ASSERT_TRUE(file.writeRaw(100, 100));
    file.useScientific();
    ASSERT_TRUE(file.writeRaw(100, 100));
    ASSERT_TRUE(file.writeRaw(wtPercent(1e-10), 0.0005));
    ASSERT_TRUE(file.close());
    EXPECT_EQ(contents("vapor+halite_400.000000c.dat"),
              "100\t100\n1.000000e+02\t1.000000e+02\n3.244130e-08\t5.000000e-04\n");
}

TEST_F(BoundaryFileTest, ReplacesAFileOfTheSameName) {
    std::ofstream("vapor+liquid_2000.000000bar.dat") << "old contents, longer than the new\n";
    ASSERT_TRUE(file.open(boundaryFileName("vapor+liquid_", 2000, "bar.dat")));
    ASSERT_TRUE(file.writeRaw(0, 1));
    ASSERT_TRUE(file.close());
    EXPECT_EQ(contents("vapor+liquid_2000.000000bar.dat"), "0\t1\n");
}

TEST_F(BoundaryFileTest, DirectoryUnderTheNameIsReportedOnce) {
    fs::create_directory("liquid+halite_1000.000000bar.dat");
    EXPECT_FALSE(file.open(boundaryFileName("liquid+halite_", 1000, "bar.dat")));
    EXPECT_TRUE(file.failed());
    EXPECT_FALSE(file.writeRaw(wtPercent(0.1), 10));
    EXPECT_FALSE(file.separate());
    EXPECT_FALSE(file.close());
    // One line naming the file and the system's reason; never announced.
    EXPECT_EQ(err.str(), "cannot write file liquid+halite_1000.000000bar.dat: " +
                             std::string(std::strerror(EISDIR)) + "\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(fs::is_directory("liquid+halite_1000.000000bar.dat"));
}

TEST_F(BoundaryFileTest, WritesToAFullDeviceAreReportedOnce) {
    fs::create_symlink("/dev/full", "vapor+halite_400.000000c.dat");
    ASSERT_TRUE(
        file.open(boundaryFileName("vapor+halite_", 400, "c.dat")));  // opening a full device works
    file.useScientific();
    EXPECT_FALSE(file.writeRaw(100, 0.0005));
    EXPECT_FALSE(file.writeRaw(wtPercent(0.5), 0.001));
    EXPECT_FALSE(file.close());
    EXPECT_TRUE(file.failed());
    EXPECT_EQ(err.str(), "cannot write file vapor+halite_400.000000c.dat: " +
                             std::string(std::strerror(ENOSPC)) + "\n");
    EXPECT_EQ(out.str(), "");
}

TEST_F(BoundaryFileTest, NameTooLongForTheFileSystemIsReportedInFull) {
    const std::string name = boundaryFileName("liquid+halite_", 1e300, "bar.dat");
    EXPECT_FALSE(file.open(boundaryFileName("liquid+halite_", 1e300, "bar.dat")));
    EXPECT_EQ(file.name(), name);
    EXPECT_EQ(err.str(),
              "cannot write file " + name + ": " + std::string(std::strerror(ENAMETOOLONG)) + "\n");
}
