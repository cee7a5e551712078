// Strict numbers, FROM:TO:STEP ranges and the section list of the quarvessin
// command line.
#include "Args.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using quarvessin::SectionKind;
using namespace quarvessin::cli;

namespace {

std::vector<double> expand(const std::string& token, std::size_t limit = maxSections) {
    std::string error;
    std::vector<double> values = expandValues(token, limit, error);
    EXPECT_EQ(error, "") << token;
    return values;
}

std::string expandError(const std::string& token, std::size_t limit = maxSections) {
    std::string error;
    const std::vector<double> values = expandValues(token, limit, error);
    EXPECT_TRUE(values.empty()) << token;
    return error;
}

SectionList read(const std::string& line, std::size_t limit = maxSections) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t end = line.find(' ', start);
        if (end == std::string::npos) end = line.size();
        if (end > start) words.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return readSectionList(words, limit);
}

}  // namespace

TEST(ParseNumber, AcceptsDecimalNumbersAsTyped) {
    EXPECT_EQ(parseNumber("300"), 300.0);
    EXPECT_EQ(parseNumber("-20"), -20.0);
    EXPECT_EQ(parseNumber("+5"), 5.0);
    EXPECT_EQ(parseNumber("2.5"), 2.5);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber("5."), 5.0);
    EXPECT_EQ(parseNumber("1e3"), 1000.0);
    EXPECT_EQ(parseNumber("1E-2"), 0.01);
    EXPECT_EQ(parseNumber("390.1474443379598"), 390.1474443379598);
    EXPECT_EQ(parseNumber("800.69"), 800.69);
    const auto minusZero = parseNumber("-0");
    ASSERT_TRUE(minusZero);
    EXPECT_TRUE(std::signbit(*minusZero));
}

TEST(ParseNumber, RefusesEverythingElse) {
    for (const char* token :
         {"",         " 300",  "300 ",   "2,5",  "300abc", "abc", "nan",   "NaN", "inf", "-inf",
          "infinity", "1e999", "-1e999", "0x10", "0x1p3",  "1e",  "e5",    ".",   "-",   "+",
          "1..2",     "1.2.3", "1e+",    "--5",  "+-5",    "5-",  "1e5.5", "3\n", "\t3"}) {
        EXPECT_FALSE(parseNumber(token)) << "'" << token << "'";
    }
}

TEST(ExpandValues, GridsIncludeTheirEndWhenReached) {
    const std::vector<double> isotherms = expand("25:400:25");
    ASSERT_EQ(isotherms.size(), 16u);
    EXPECT_EQ(isotherms.front(), 25.0);
    EXPECT_EQ(isotherms.back(), 400.0);

    const std::vector<double> negative = expand("-20:800:10");
    ASSERT_EQ(negative.size(), 83u);
    EXPECT_EQ(negative[2], 0.0);
    EXPECT_EQ(negative.back(), 800.0);

    // Decimal steps: the grid values are the numbers a user would type.
    const std::vector<double> tenths = expand("0:1:0.1");
    ASSERT_EQ(tenths.size(), 11u);
    EXPECT_EQ(tenths[3], 0.3);
    EXPECT_EQ(tenths[7], 0.7);
    EXPECT_EQ(tenths.back(), 1.0);

    // An end the grid does not reach is not included.
    EXPECT_EQ(expand("0:1:0.3"), (std::vector<double>{0.0, 0.3, 0.6, 0.9}));
    EXPECT_EQ(expand("50:5000:50").size(), 100u);
    // Downwards, and a range of one value.
    const std::vector<double> down = expand("400:25:-25");
    ASSERT_EQ(down.size(), 16u);
    EXPECT_EQ(down.back(), 25.0);
    EXPECT_EQ(expand("5:5:1"), std::vector<double>{5.0});
    // A range whose end lies within rounding of its start is its start
    // (found by fuzz_values: the one value became TO).
    EXPECT_EQ(expand("300:300.0000000001:1"), std::vector<double>{300.0});
    EXPECT_EQ(expand("0:11e-320:0.3"), std::vector<double>{0.0});
    EXPECT_EQ(expand("-300"), std::vector<double>{-300.0});
}

TEST(ExpandValues, RefusesMalformedAndHugeRanges) {
    EXPECT_NE(expandError("1:2").find("FROM:TO:STEP"), std::string::npos);
    EXPECT_NE(expandError("1:2:3:4").find("FROM:TO:STEP"), std::string::npos);
    EXPECT_NE(expandError("1:x:1").find("'x'"), std::string::npos);
    EXPECT_NE(expandError("1:10:nan").find("'nan'"), std::string::npos);
    EXPECT_NE(expandError("1:10:0").find("zero"), std::string::npos);
    EXPECT_NE(expandError("10:1:1").find("away"), std::string::npos);
    EXPECT_NE(expandError("2,5").find("'2,5'"), std::string::npos);
    // The number of values is known before anything is allocated.
    EXPECT_NE(expandError("0:1e9:1").find("more than 10000 values"), std::string::npos);
    EXPECT_NE(expandError("-1e308:1e308:1e-300").find("more than"), std::string::npos);
    EXPECT_EQ(expand("1:10000:1").size(), 10000u);
    EXPECT_NE(expandError("0:10000:1").find("more than"), std::string::npos);
    EXPECT_EQ(read("isotherm -20:800.6:0.1").sections.size(), 8207u);
    EXPECT_NE(expandError("1:11:1", 10).find("more than 10 "), std::string::npos);
}

TEST(ReadSectionList, KindWordsApplyUntilTheNext) {
    const SectionList list = read("isobar 300 1000 isotherm 25:400:25 -20");
    ASSERT_TRUE(list.ok()) << list.error;
    ASSERT_EQ(list.sections.size(), 19u);
    EXPECT_EQ(list.sections[0].kind, SectionKind::Isobaric);
    EXPECT_EQ(list.sections[1].value, 1000.0);
    EXPECT_EQ(list.sections[2].kind, SectionKind::Isothermal);
    EXPECT_EQ(list.sections[2].value, 25.0);
    EXPECT_EQ(list.sections[18].kind, SectionKind::Isothermal);
    EXPECT_EQ(list.sections[18].value, -20.0);
    // Plural kind words, ends of the valid ranges, a value asked twice.
    const SectionList ends = read("isobars 1 5000 5000 isotherms 800.69 -273.1 isobar 1");
    ASSERT_TRUE(ends.ok()) << ends.error;
    EXPECT_EQ(ends.sections.size(), 4u);
}

TEST(ReadSectionList, TheSweepHas188Sections) {
    const SectionList sweep =
        read("isobar 1 50:5000:50 220.54915 390.1474443379598 isotherm -20:800:10 373.976 800.69");
    ASSERT_TRUE(sweep.ok()) << sweep.error;
    EXPECT_EQ(sweep.sections.size(), 188u);
}

TEST(ReadSectionList, UsageErrors) {
    for (const char* line : {"", "300", "300 isobar", "isobar", "isobar isotherm 25",
                             "isotherm 25 isobar", "isochore 5", "isobar 2,5", "isobar 300abc",
                             "isobar nan", "isobar 1e999", "isobar 0x10", "isobar 1:5000:0"}) {
        const SectionList list = read(line);
        EXPECT_FALSE(list.ok()) << line;
        EXPECT_TRUE(list.usage) << line;
        EXPECT_TRUE(list.sections.empty()) << line;
        EXPECT_EQ(list.error.find('\n'), std::string::npos) << line;
    }
    EXPECT_NE(read("300").error.find("before a kind word"), std::string::npos);
    EXPECT_NE(read("isobar isotherm 25").error.find("isobar is followed by no value"),
              std::string::npos);
    // The total over all values is limited, too.
    EXPECT_NE(read("isobar 1:10:1 isotherm 5", 10).error.find("more than 10 sections"),
              std::string::npos);
}

TEST(ReadSectionList, OutOfRangeValuesAreRefusedByName) {
    struct Case {
        const char* line;
        const char* named;
        const char* range;
    };
    for (const Case& c :
         {Case{"isobar 0.5", "isobar 0.5 bar", "valid: 1 to 5000 bar"},
          Case{"isobar 300 5000.0001", "isobar 5000.0001 bar", "valid: 1 to 5000 bar"},
          Case{"isobar -1", "isobar -1 bar", "1 to 5000 bar"},
          Case{"isotherm 25 800.7", "isotherm 800.7 C", "valid: above -273.15 and below 800.7 C"},
          Case{"isotherm 900", "isotherm 900 C", "below 800.7 C"},
          Case{"isobar 0:100:50", "isobar 0 bar", "(in '0:100:50')"},
          Case{"isotherm 700:900:50", "isotherm 850 C", "below 800.7 C"},
          Case{"isotherm -1e300", "isotherm -1e+300 C", "above -273.15"},
          Case{"isotherm -273.15", "isotherm -273.15 C", "above -273.15"}}) {
        const SectionList list = read(c.line);
        EXPECT_FALSE(list.ok()) << c.line;
        EXPECT_FALSE(list.usage) << c.line;
        EXPECT_TRUE(list.sections.empty()) << c.line;
        EXPECT_NE(list.error.find(c.named), std::string::npos) << list.error;
        EXPECT_NE(list.error.find(c.range), std::string::npos) << list.error;
    }
}

TEST(ShortestNumber, RoundTripsExactly) {
    EXPECT_EQ(shortestNumber(300.0), "300");
    EXPECT_EQ(shortestNumber(-20.0), "-20");
    EXPECT_EQ(shortestNumber(220.54915), "220.54915");
    EXPECT_EQ(shortestNumber(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(shortestNumber(NAN), "nan");
    EXPECT_EQ(shortestNumber(-INFINITY), "-inf");
    for (double v : {390.1474443379598, 1e-300, 3.244129891028844e-08, 4999.999999999999}) {
        EXPECT_EQ(parseNumber(shortestNumber(v)), v);
    }
}
