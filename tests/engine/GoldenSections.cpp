#include "GoldenSections.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace golden {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<Case> cases() {
    std::vector<Case> all;
    for (const auto& entry : fs::directory_iterator(QUARVESSIN_GOLDEN_DIR)) {
        if (!entry.is_directory()) continue;
        Case c;
        c.name = entry.path().filename().string();
        c.input = readFile((entry.path() / "input.txt").string());
        c.printed = readFile((entry.path() / "stdout.txt").string());
        for (const auto& file : fs::directory_iterator(entry.path())) {
            const std::string name = file.path().filename().string();
            if (name != "input.txt" && name != "stdout.txt") c.files[name] = readFile(file.path());
        }
        std::istringstream answers(c.input);
        int choice = 0;
        answers >> choice >> c.value;
        c.kind =
            choice == 1 ? quarvessin::SectionKind::Isobaric : quarvessin::SectionKind::Isothermal;
        all.push_back(std::move(c));
    }
    std::sort(all.begin(), all.end(), [](const Case& a, const Case& b) { return a.name < b.name; });
    return all;
}

std::string dialoguePrefix(quarvessin::SectionKind kind) {
    // The isobar at 1 bar and the isotherm at 25 C are part of the frozen set;
    // their output up to the first line of the section is the common prefix.
    const std::string sample =
        readFile(std::string(QUARVESSIN_GOLDEN_DIR) + (kind == quarvessin::SectionKind::Isobaric
                                                           ? "/isobar_1/stdout.txt"
                                                           : "/isotherm_25/stdout.txt"));
    const std::string prompt = kind == quarvessin::SectionKind::Isobaric
                                   ? "(valid range: 1.0 to 5000) : "
                                   : "Please enter temperature : ";
    return sample.substr(0, sample.find(prompt) + prompt.size());
}

}  // namespace golden
