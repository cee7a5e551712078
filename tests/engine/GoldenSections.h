#pragma once

// The frozen sections under tests/golden: for each, the console program's
// answers, its standard output and the files it wrote, recorded before the
// section engine existed.
#include <quarvessin/section.h>

#include <map>
#include <string>
#include <vector>

namespace golden {

struct Case {
    std::string name;                          // directory name, e.g. isobar_300
    std::string input;                         // the answers given on standard input
    std::string printed;                       // everything the program printed on standard output
    std::map<std::string, std::string> files;  // data files by name
    quarvessin::SectionKind kind;
    double value;
};

// Every frozen section.
std::vector<Case> cases();

// Everything the console program prints before the section itself: banner,
// menu and the prompt for the value.
std::string dialoguePrefix(quarvessin::SectionKind kind);

// Contents of the file at `path`.
std::string readFile(const std::string& path);

}  // namespace golden
