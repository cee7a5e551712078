// The quarvessin command line in process: files of every format against the
// console program's frozen files and the engine's sections, parallel batches,
// usage errors, refusals and write failures.
#include <gtest/gtest.h>
#include <quarvessin/section.h>

#include <atomic>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "Args.h"
#include "CliScratch.h"
#include "GoldenSections.h"

using namespace clitest;
using quarvessin::SectionKind;

namespace {

const golden::Case* goldenCase(const std::string& name) {
    static const std::vector<golden::Case> all = golden::cases();
    for (const golden::Case& c : all) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

}  // namespace

// Each isobaric case (A: 1 bar, B: 300 bar, C2: 2000 bar, C1: 3000 bar) and
// the isotherms below and above the critical temperature of water, in one
// call: the same files, byte for byte, as the console program wrote before
// the engine existed.
TEST(SectionDat, FilesEqualTheConsoleProgramsFrozenFiles) {
    Scratch dir;
    const CliRun r = run({"section", "isobar", "1", "300", "2000", "3000", "isotherm", "25", "600",
                          "--dir", dir.path()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lineCount(r.out), 6u) << r.out;
    std::map<std::string, std::string> expected;
    for (const char* name :
         {"isobar_1", "isobar_300", "isobar_2000", "isobar_3000", "isotherm_25", "isotherm_600"}) {
        const golden::Case* c = goldenCase(name);
        ASSERT_NE(c, nullptr) << name;
        for (const auto& [file, bytes] : c->files) expected[file] = bytes;
    }
    const auto written = filesIn(dir.path());
    ASSERT_EQ(written.size(), expected.size());
    for (const auto& [file, bytes] : expected) {
        const auto it = written.find(file);
        ASSERT_NE(it, written.end()) << file;
        EXPECT_TRUE(it->second == bytes) << file << " differs from the console program's file";
    }
    // The line of a section names its files, in the directory.
    EXPECT_NE(r.out.find("isobar 300 bar: " + dir.path() + "/liquid+vapor_300.000000bar.dat " +
                         dir.path() + "/liquid+halite_300.000000bar.dat"),
              std::string::npos)
        << r.out;
}

TEST(SectionCsvJson, HoldTheSectionsPointsExactly) {
    Scratch dir;
    const CliRun csvRun = run({"section", "isotherm", "373.976", "isobar", "220.54915", "--format",
                               "csv", "--dir", dir.path(), "--quiet"});
    ASSERT_EQ(csvRun.status, 0) << csvRun.err;
    EXPECT_EQ(csvRun.out, "");
    const CliRun jsonRun = run({"section", "isotherm", "373.976", "isobar", "220.54915", "--format",
                                "json", "--dir", dir.path(), "-q"});
    ASSERT_EQ(jsonRun.status, 0) << jsonRun.err;
    EXPECT_EQ(filesIn(dir.path()).size(), 4u);

    struct Want {
        SectionKind kind;
        double value;
        const char* stem;
    };
    for (const Want& w : {Want{SectionKind::Isothermal, 373.976, "isotherm_373.976C"},
                          Want{SectionKind::Isobaric, 220.54915, "isobar_220.54915bar"}}) {
        const quarvessin::Section section = quarvessin::computeSection(w.kind, w.value);
        // csv: rows in boundary, piece and point order.
        std::istringstream csv(readFile(dir / (std::string(w.stem) + ".csv")));
        std::string line;
        ASSERT_TRUE(std::getline(csv, line));
        EXPECT_EQ(line, std::string("boundary,piece,branch,wt_percent,") +
                            (w.kind == SectionKind::Isobaric ? "temperature_C" : "pressure_bar"));
        // json: the same boundaries and pieces.
        const nlohmann::json j =
            nlohmann::json::parse(readFile(dir / (std::string(w.stem) + ".json")));
        EXPECT_EQ(j["kind"], w.kind == SectionKind::Isobaric ? "isobar" : "isotherm");
        EXPECT_EQ(j["value"].get<double>(), w.value);
        EXPECT_EQ(j["console"], section.console);
        ASSERT_EQ(j["boundaries"].size(), section.boundaries.size());
        std::size_t points = 0;
        for (std::size_t b = 0; b < section.boundaries.size(); ++b) {
            const quarvessin::Boundary& boundary = section.boundaries[b];
            const nlohmann::json& jb = j["boundaries"][b];
            EXPECT_EQ(jb["phases"], boundary.phases);
            EXPECT_EQ(jb["file"], boundary.fileName);
            ASSERT_EQ(jb["pieces"].size(), boundary.pieces.size());
            for (std::size_t k = 0; k < boundary.pieces.size(); ++k) {
                ASSERT_EQ(jb["pieces"][k].size(), boundary.pieces[k].size());
                for (std::size_t i = 0; i < boundary.pieces[k].size(); ++i) {
                    const quarvessin::Point& p = boundary.pieces[k][i];
                    const nlohmann::json& jp = jb["pieces"][k][i];
                    ASSERT_TRUE(std::getline(csv, line));
                    std::vector<std::string> f;
                    std::istringstream fields(line);
                    for (std::string x; std::getline(fields, x, ',');) f.push_back(x);
                    if (!line.empty() && line.back() == ',') f.push_back("");
                    ASSERT_EQ(f.size(), 5u) << line;
                    EXPECT_EQ(f[0], boundary.id);
                    EXPECT_EQ(f[1], std::to_string(k + 1));
                    if (std::isfinite(p.wtPercent)) {
                        EXPECT_EQ(quarvessin::cli::parseNumber(f[3]), p.wtPercent) << line;
                        EXPECT_EQ(jp[0].get<double>(), p.wtPercent);
                    } else {
                        EXPECT_EQ(f[3], "");
                        EXPECT_TRUE(jp[0].is_null());
                    }
                    EXPECT_EQ(quarvessin::cli::parseNumber(f[4]), p.value) << line;
                    EXPECT_EQ(jp[1].get<double>(), p.value);
                    ++points;
                }
            }
        }
        EXPECT_GT(points, 100u);
        EXPECT_FALSE(std::getline(csv, line)) << "extra row " << line;
    }
}

TEST(SectionJobs, OneAndFourThreadsWriteTheSameFiles) {
    const std::vector<std::string> sections = {"section",  "isobar",     "1:400:57", "2000",
                                               "isotherm", "-10:700:90", "--format"};
    for (const char* format : {"dat", "json"}) {
        Scratch one, four;
        std::vector<std::string> a = sections, b = sections;
        a.insert(a.end(), {format, "--jobs", "1", "--dir", one.path()});
        b.insert(b.end(), {format, "-j", "4", "--dir", four.path()});
        const CliRun r1 = run(a);
        const CliRun r4 = run(b);
        ASSERT_EQ(r1.status, 0) << r1.err;
        ASSERT_EQ(r4.status, 0) << r4.err;
        // Reports in the order asked, whatever order the sections finish in.
        EXPECT_EQ(lineCount(r1.out), 17u);
        std::string out4 = r4.out;
        for (std::size_t at; (at = out4.find(four.path())) != std::string::npos;) {
            out4.replace(at, four.path().size(), one.path());
        }
        EXPECT_EQ(r1.out, out4);
        EXPECT_EQ(r1.err, r4.err);
        const auto files1 = filesIn(one.path());
        EXPECT_GE(files1.size(), 17u);
        EXPECT_TRUE(files1 == filesIn(four.path())) << format;
    }
}

TEST(SectionFine, TheVapourHaliteCurveOf400CShowsItsShape) {
    // Sampled linearly in pressure, every point but the first lies within one
    // hundredth of the three-phase pressure, at a few wt% or less.
    const quarvessin::Section coarse = quarvessin::computeSection(SectionKind::Isothermal, 400.0);
    Scratch dir;
    const CliRun r =
        run({"section", "isotherm", "400", "--format", "csv", "--fine", "--dir", dir.path()});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream csv(readFile(dir / "isotherm_400C.csv"));
    std::size_t between = 0, vh = 0;
    for (std::string line; std::getline(csv, line);) {
        if (line.rfind("vapor+halite,", 0) != 0) continue;
        ++vh;
        const std::size_t from = line.find(',', 15) + 1;  // after "vapor+halite,1,"
        const std::string wt = line.substr(from, line.find(',', from) - from);
        const auto value = quarvessin::cli::parseNumber(wt);
        if (value && *value > 1.0 && *value < 99.0) ++between;
    }
    EXPECT_GE(between, 5u) << "of " << vh << " points";
    std::size_t coarseBetween = 0;
    for (const quarvessin::Boundary& b : coarse.boundaries) {
        if (b.phases != "vapor+halite") continue;
        for (const auto& piece : b.pieces) {
            for (const quarvessin::Point& p : piece)
                coarseBetween += p.wtPercent > 1.0 && p.wtPercent < 99.0;
        }
    }
    EXPECT_LT(coarseBetween, between);
}

TEST(SectionRefusals, ExitTwoWithOneLineAndNothingWritten) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"isobar", "6000"}, "isobar 6000 bar is out of range (valid: 1 to 5000 bar)"},
        {{"isobar", "300", "0.5"}, "isobar 0.5 bar is out of range"},
        {{"isotherm", "25", "800.7"},
         "isotherm 800.7 C is out of range (valid: above -273.15 and below 800.7 C)"},
        {{"isotherm", "700:900:50"}, "isotherm 850 C is out of range"},
        {{"isobar", "2,5"}, "not a finite decimal number: '2,5'"},
        {{"isobar", "300abc"}, "'300abc'"},
        {{"isobar", "nan"}, "'nan'"},
        {{"isobar", "1e999"}, "'1e999'"},
        {{"isobar", "0x10"}, "'0x10'"},
        {{"300"}, "before a kind word"},
        {{"isobar"}, "isobar is followed by no value"},
        {{"isobar", "1:2000000:1"}, "more than 10000 values"},
        {{"isobar", "1:5000:0.4999"}, "more than 10000 values"},
        {{"isobar", "300", "--fine"}, "--fine"},
        {{"isobar", "300", "--format", "xml"}, "unknown format 'xml'"},
        {{"isobar", "300", "--jobs", "0"}, "--jobs"},
        {{"isobar", "300", "--jobs", "two"}, "--jobs"},
        {{"isobar", "300", "--colour"}, "--colour"},
        {{"isobar", "300.0000001", "300.0000002"}, "give the same dat file names"},
    };
    for (const Case& c : cases) {
        Scratch scratch;
        const std::string dir = scratch / "out";
        std::vector<std::string> args = {"section"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"--dir", dir});
        const CliRun r = run(args);
        const std::string what = r.err;
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_EQ(r.out, "") << what;
        EXPECT_EQ(lineCount(r.err), 1u) << what;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << what;
        EXPECT_FALSE(exists(dir)) << what << ": the directory was created";
    }
    // Usage errors point to the help; refused values name the value and range.
    EXPECT_NE(run({"section", "isobar", "2,5"}).err.find("(see 'quarvessin section --help')"),
              std::string::npos);
    EXPECT_NE(run({"bogus"}).err.find("--help"), std::string::npos);
    EXPECT_EQ(run({"bogus"}).status, 2);
    EXPECT_EQ(run({}).status, 2);
}

// A value typed with a line feed, a terminal escape or another control
// character is quoted with the character as \xNN: the message stays one
// printable line (found by fuzz_values).
TEST(SectionRefusals, ControlCharactersInArgumentsAreQuotedVisibly) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"section", "isobar", "3\n00"}, "'3\\x0a00'"},
        {{"section", "isobar", "3\r00"}, "'3\\x0d00'"},
        {{"section", "isotherm", "1:\x1b[2J:1"}, "'\\x1b[2J' in range '1:\\x1b[2J:1'"},
        {{"section", "isobar", "300", "--format", "x\ny"}, "unknown format 'x"},
        {{"section", "isobar", "300", "--jobs", "1\t"}, "'1\\x09'"},
        {{"point", "30\n0", "500"}, "'30\\x0a0'"},
        {{"point", "300", "500", "--wt", "\x7f"}, "'\\x7f'"},
        // Values that are not finite numbers are refused as such, not taken for options.
        {{"point", "-inf", "1"}, "temperature is not a finite decimal number: '-inf'"},
        {{"point", "25", "1", "--wt", "-NaN"}, "--wt is not a finite decimal number: '-NaN'"},
        {{"section", "isobar", "-inf"}, "not a finite decimal number: '-inf'"},
        // A typed argument that looks like the parser's hidden values stays itself.
        {{"point", "\x1dvalue0", "-inf"}, "'\\x1dvalue0'"},
    };
    for (const Case& c : cases) {
        Scratch scratch;
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--dir", scratch / "out"});
        if (args[0] == "point") args.resize(args.size() - 2);
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(lineCount(r.err), 1u) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        for (char ch : r.err.substr(0, r.err.size() - 1)) {
            EXPECT_FALSE(static_cast<unsigned char>(ch) < 32 || ch == 127) << r.err;
        }
    }
    EXPECT_EQ(quarvessin::cli::printable(std::string("a\0b\x1f\\", 5)), "a\\x00b\\x1f\\");
}

TEST(SectionFailures, AnUnwritableFileOrDirectoryExitsOne) {
    Scratch dir;
    // A directory in the way of a data file: the console program's message.
    ASSERT_EQ(mkdir((dir / "liquid+halite_300.000000bar.dat").c_str(), 0755), 0);
    const CliRun r = run({"section", "isobar", "300", "--dir", dir.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write file " + dir.path() +
                         "/liquid+halite_300.000000bar.dat: Is a directory"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.out, "") << "a section whose files failed is not reported as written";
    // A file in the way of the directory.
    std::ofstream(dir / "plain") << "x";
    const CliRun blocked = run({"section", "isobar", "300", "--dir", dir / "plain"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("cannot create directory " + (dir / "plain")), std::string::npos)
        << blocked.err;
    // A failure in the middle of a parallel batch stops it with exit 1, and
    // the sections before it are reported.
    Scratch batch;
    ASSERT_EQ(mkdir((batch / "isotherm_300C.csv").c_str(), 0755), 0);
    const CliRun mid = run({"section", "isotherm", "0:600:50", "--format", "csv", "--jobs", "3",
                            "--dir", batch.path()});
    EXPECT_EQ(mid.status, 1);
    EXPECT_NE(mid.err.find("cannot write file " + batch.path() + "/isotherm_300C.csv"),
              std::string::npos)
        << mid.err;
    EXPECT_NE(mid.out.find("isotherm 250 C: "), std::string::npos) << mid.out;
    EXPECT_EQ(mid.out.find("isotherm 300 C: "), std::string::npos) << mid.out;
}

// A stopped run (SIGINT, SIGTERM) exits 128 + the signal and leaves no file,
// temporary or final; a directory named with control characters is listed
// printably.
TEST(SectionFailures, AStoppedRunLeavesNothingAndNamesPrintably) {
    Scratch dir;
    std::ofstream(dir / "isobar_300bar.csv") << "the earlier run\n";
    const std::atomic<int> terminated{15};
    quarvessin::cli::CliEnvironment environment;
    environment.stopSignal = &terminated;
    std::ostringstream out, err;
    const int status = quarvessin::cli::runCli(
        {"section", "isobar", "1:3000:100", "--format", "csv", "--dir", dir.path()}, out, err,
        environment);
    EXPECT_EQ(status, 128 + 15);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(filesIn(dir.path()),
              (std::map<std::string, std::string>{{"isobar_300bar.csv", "the earlier run\n"}}));
    const CliRun listed = run({"section", "isobar", "300", "--dir", dir / "a\nb"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(lineCount(listed.out), 1u) << listed.out;
    EXPECT_NE(listed.out.find("a\\x0ab/liquid+vapor_300.000000bar.dat"), std::string::npos);
}

TEST(SectionDirectory, IsCreatedWithItsParents) {
    Scratch dir;
    const std::string nested = dir / "a/b";
    const CliRun r = run({"section", "isotherm", "-20", "--format", "json", "--dir", nested});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(exists(nested + "/isotherm_-20C.json"));
    // Warnings on stderr and in the json: below 0 C, and the points that are
    // not finite numbers.
    EXPECT_NE(r.err.find("isotherm -20 C: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("not finite numbers"), std::string::npos) << r.err;
    const nlohmann::json j = nlohmann::json::parse(readFile(nested + "/isotherm_-20C.json"));
    EXPECT_GE(j["warnings"].size(), 2u);
    Scratch::removeTree(dir / "a/b");
    Scratch::removeTree(dir / "a");
}

TEST(HelpAndVersion, GoToStandardOutputWithExitZero) {
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("quarvessin section isobar 300"), std::string::npos);
    EXPECT_NE(help.out.find("point"), std::string::npos);
    const CliRun sectionHelp = run({"section", "--help"});
    EXPECT_EQ(sectionHelp.status, 0);
    EXPECT_NE(sectionHelp.out.find("--fine"), std::string::npos);
    EXPECT_NE(sectionHelp.out.find("FROM:TO:STEP"), std::string::npos);
    const CliRun pointHelp = run({"point", "-h"});
    EXPECT_EQ(pointHelp.status, 0);
    EXPECT_NE(pointHelp.out.find("--wt"), std::string::npos);
    const CliRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("quarvessin ", 0), 0u) << version.out;
}

TEST(SectionProgress, ABarOnATerminalForLongBatchesOnly) {
    auto runWith = [](const std::vector<std::string>& args, bool terminal) {
        std::ostringstream out, err;
        quarvessin::cli::CliEnvironment environment;
        environment.progressBar = terminal;
        const int status = quarvessin::cli::runCli(args, out, err, environment);
        EXPECT_EQ(status, 0) << err.str();
        return std::make_pair(out.str(), err.str());
    };
    Scratch dir;
    const std::vector<std::string> twenty = {"section", "isobar", "1:20:1", "--dir", dir.path()};
    const auto [out, err] = runWith(twenty, true);
    EXPECT_NE(err.find("] 20/20"), std::string::npos) << err;
    // The bar is wiped at the end and never reaches standard output.
    EXPECT_EQ(err.substr(err.size() - 4), "\r\033[K");
    EXPECT_EQ(out.find('\r'), std::string::npos);
    EXPECT_EQ(lineCount(out), 20u);
    EXPECT_EQ(runWith(twenty, false).second, "");
    EXPECT_EQ(runWith({"section", "isobar", "1:19:1", "--dir", dir.path()}, true).second, "");
}
