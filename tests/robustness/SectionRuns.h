#pragma once

// Shared ground of the robustness tests: the program's fixed console texts,
// the names of the files each kind of section writes, and the checks of a run
// that completed a section. Every text and threshold here is taken from the
// program's documented dialogue and file conventions, assembled independently
// of the program's own tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "DialogueText.h"
#include "RunProgram.h"

namespace robust {

using dialogue_text::askP;
using dialogue_text::askT;
using dialogue_text::banner;
using dialogue_text::invalid;
using dialogue_text::menu;
using dialogue_text::refuseP;
using dialogue_text::refuseT;

// Critical pressure of pure water [bar]: below it an isobar closes its
// vapour-liquid loop at the boiling point of water.
constexpr double waterCriticalPressure = 220.54915;
// Critical temperature of pure water [C]: up to it an isotherm closes its
// vapour-liquid loop at the vapour pressure of water.
constexpr double waterCriticalTemperature = 373.976;
// Highest pressure of the vapour + liquid + halite curve [bar]: below it an
// isobar has four boundaries.
constexpr double threePhaseMaxPressure = 390.1474443379598;
// The critical pressure of the solution at 1000 C lies in this band [bar]:
// isobars at or below it keep the vapour-liquid surface, isobars above it
// have the liquidus alone.
constexpr double criticalAt1000Low = 2000.0;
constexpr double criticalAt1000High = 2500.0;
// Longest file name the Linux file systems accept [bytes] (NAME_MAX).
constexpr std::size_t longestFileName = 255;

// The data-file name "%s%f%s" of (prefix, section value, suffix).
inline std::string fileName(const std::string& prefix, double value, const std::string& suffix) {
    const int length = std::snprintf(nullptr, 0, "%s%f%s", prefix.c_str(), value, suffix.c_str());
    std::vector<char> name(static_cast<std::size_t>(length) + 1);
    std::snprintf(name.data(), name.size(), "%s%f%s", prefix.c_str(), value, suffix.c_str());
    return std::string(name.data());
}

// The files of an isothermal section at t [C], sorted.
inline std::vector<std::string> isothermFiles(double t) {
    std::vector<std::string> names;
    for (const char* prefix :
         {"liquid+vapor_", "liquid+halite_", "vapor+liquid+halite_", "vapor+halite_"}) {
        names.push_back(fileName(prefix, t, "c.dat"));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The files of an isobaric section at p [bar], sorted. Pressures within the
// band of the critical pressure at 1000 C have no known set: none is given.
inline std::vector<std::string> isobarFiles(double p) {
    std::vector<const char*> prefixes;
    if (p < threePhaseMaxPressure) {
        prefixes = {"liquid+vapor_", "liquid+halite_", "vapor+liquid+halite_", "vapor+halite_"};
    } else if (p < criticalAt1000Low) {
        prefixes = {"vapor+liquid_", "liquid+halite_"};
    } else if (p > criticalAt1000High) {
        prefixes = {"liquid+halite_"};
    } else {
        ADD_FAILURE() << "no known set of files for an isobar at " << p << " bar";
    }
    std::vector<std::string> names;
    for (const char* prefix : prefixes) {
        names.push_back(fileName(prefix, p, "bar.dat"));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// True if `field` is a whole number as the C library reads one (finite or not).
inline bool isNumber(const std::string& field) {
    if (field.empty() || field.find_first_of(" \t") != std::string::npos) {
        return false;
    }
    char* end = nullptr;
    std::strtod(field.c_str(), &end);
    return end == field.c_str() + field.size();
}

// Empty if `contents` is a well-formed data file: data lines "number<TAB>number",
// single empty lines between pieces, no empty first or last line, a final line
// feed; otherwise what is wrong with it.
inline std::string dataFileFault(const std::string& contents) {
    if (contents.empty()) {
        return "empty file";
    }
    if (contents.back() != '\n') {
        return "no line feed at the end";
    }
    std::size_t start = 0;
    std::size_t line = 1;
    bool previousEmpty = true;  // an empty first line is a fault as well
    while (start < contents.size()) {
        const std::size_t end = contents.find('\n', start);
        const std::string text = contents.substr(start, end - start);
        if (text.empty()) {
            if (previousEmpty) {
                return "misplaced empty line " + std::to_string(line);
            }
            previousEmpty = true;
        } else {
            const std::size_t tab = text.find('\t');
            if (tab == std::string::npos || !isNumber(text.substr(0, tab)) ||
                !isNumber(text.substr(tab + 1))) {
                return "line " + std::to_string(line) + " is not two numbers: " + text;
            }
            previousEmpty = false;
        }
        start = end + 1;
        ++line;
    }
    return previousEmpty ? "empty last line" : "";
}

// A run that completed its section: status 0, nothing on standard error,
// exactly the files `expected` (sorted) created, each announced on standard
// output by its name and well-formed.
inline void expectCompleteSection(const RunResult& run, const std::vector<std::string>& expected) {
    EXPECT_FALSE(run.timedOut);
    EXPECT_TRUE(run.exited && run.exitStatus == 0)
        << "status " << run.exitStatus << ", signal " << run.signal << ", stderr: " << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.created, expected);
    for (const std::string& name : run.created) {
        EXPECT_NE(run.out.find(name), std::string::npos) << name << " is not announced";
        EXPECT_EQ(dataFileFault(run.readFile(name)), "") << name;
    }
}

// The section value `value` as typed by a user, with every digit of the double.
inline std::string typed(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// `bytes` printable in a test message: control and non-ASCII bytes escaped,
// long texts cut after `keep` bytes with their length given.
inline std::string escaped(const std::string& bytes, std::size_t keep = 60) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && i < keep; ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n') {
            text += "\\n";
        } else if (c == '\\') {
            text += "\\\\";
        } else if (c >= 0x20 && c < 0x7f) {
            text += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            text += hex;
        }
    }
    if (bytes.size() > keep) {
        text += "... (" + std::to_string(bytes.size()) + " bytes)";
    }
    return "\"" + text + "\"";
}

// Runs `options` and measures its wall-clock time [s].
inline RunResult timedRun(const RunOptions& options, double& seconds) {
    const auto start = std::chrono::steady_clock::now();
    RunResult run = runProgram(options);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

}  // namespace robust
