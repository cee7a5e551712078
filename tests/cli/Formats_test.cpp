// Writing a file with the console program's failure message.
#include "Formats.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

using namespace quarvessin::cli;

TEST(WriteFile, WritesTheBytesOrReportsTheConsoleProgramsMessage) {
    char pattern[] = "/tmp/quarvessin_formats_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    std::string error;
    const std::string bytes = std::string("a\tb\n\0z", 6);
    ASSERT_TRUE(writeFile(dir + "/f.dat", bytes, error)) << error;
    std::ifstream in(dir + "/f.dat", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);

    EXPECT_FALSE(writeFile(dir + "/missing/f.dat", bytes, error));
    EXPECT_EQ(error, "cannot write file " + dir + "/missing/f.dat: No such file or directory");
    EXPECT_FALSE(writeFile("/dev/full", bytes, error));
    EXPECT_EQ(error, "cannot write file /dev/full: No space left on device");
    std::remove((dir + "/f.dat").c_str());
    rmdir(dir.c_str());
}
