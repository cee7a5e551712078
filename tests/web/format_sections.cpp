// Prints sections of the native engine for the comparison with its
// WebAssembly build: for every KIND VALUE pair of the arguments (KIND any
// word, VALUE read with strtod, as the console program reads it)
//
//   kind KIND BYTES          followed by the refusal of a word that names no kind
//   section KIND VALUE accepted|refused BOUNDARIES    (the console program's rule)
//   console BYTES            followed by the console text
//   file NAME BYTES          followed by the bytes of each boundary file
//   csv BYTES, json BYTES    followed by the section's csv and json, with its
//                            phase fields, when the kind's range accepts VALUE
//   refusal BYTES            followed by the refusal of VALUE otherwise
//
// A kind that takes no value (the projection) is given the VALUE "-" (or any
// number, which it ignores); its section is the command line's, at 0.
//
// Two more pairs give the engine's answers at points:
//   @phase T,P,WT   -> phase BYTES, the phase state at T [C], P [bar], WT
//                      [wt%]: "assemblage wtVapor wtLiquid fractionVapor
//                      fractionLiquid fractionHalite" (%.17g)
//   @inclusion TMICE,TMHALITE,WT,TH,TO -> inclusion BYTES, the inclusionJson
//                      (an empty field: not measured)
//
// Lengths make the framing exact for any bytes.
#include <quarvessin/format.h>
#include <quarvessin/inclusion.h>
#include <quarvessin/kinds.h>
#include <quarvessin/phase_state.h>
#include <quarvessin/section.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

void block(const char* tag, const std::string& name, const std::string& bytes) {
    std::printf("%s%s%s %zu\n", tag, name.empty() ? "" : " ", name.c_str(), bytes.size());
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// The comma-separated fields of a text, empty ones kept.
std::vector<std::string> fieldsOf(const std::string& text) {
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::optional<double> measured(const std::string& field) {
    if (field.empty()) return std::nullopt;
    return std::strtod(field.c_str(), nullptr);
}

std::string phaseLine(const std::vector<std::string>& f) {
    const double t = std::strtod(f.at(0).c_str(), nullptr);
    const double p = std::strtod(f.at(1).c_str(), nullptr);
    const double w = std::strtod(f.at(2).c_str(), nullptr);
    const quarvessin::PhaseState s = quarvessin::phaseState(t, p, w);
    char line[256];
    std::snprintf(line, sizeof line, "%s %.17g %.17g %.17g %.17g %.17g\n",
                  quarvessin::assemblageName(s.assemblage), s.wtVapor, s.wtLiquid, s.fractionVapor,
                  s.fractionLiquid, s.fractionHalite);
    return line;
}

std::string inclusionOf(const std::vector<std::string>& f) {
    quarvessin::InclusionInput in;
    in.tmIce = measured(f.at(0));
    in.tmHalite = measured(f.at(1));
    in.wtPercent = measured(f.at(2));
    in.th = measured(f.at(3));
    if (!f.at(4).empty()) in.mode = quarvessin::homogenizationFromWord(f.at(4));
    return quarvessin::inclusionJson(quarvessin::inclusionState(in));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (argc - 1) % 2 != 0) {
        std::fprintf(stderr, "usage: %s KIND VALUE [KIND VALUE ...]\n", argv[0]);
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string word = argv[i];
        if (word == "@phase" || word == "@inclusion") {
            const std::vector<std::string> f = fieldsOf(argv[i + 1]);
            if (f.size() != (word == "@phase" ? 3u : 5u)) {
                std::fprintf(stderr, "%s: wrong number of fields in %s\n", argv[0], argv[i + 1]);
                return 2;
            }
            block(word.c_str() + 1, "", word == "@phase" ? phaseLine(f) : inclusionOf(f));
            continue;
        }
        const quarvessin::SectionKindInfo* kind = quarvessin::findKind(argv[i]);
        if (kind == nullptr) {
            block("kind", quarvessin::printable(argv[i]), quarvessin::unknownKindMessage(argv[i]));
            continue;
        }
        const double value = kind->takesValue ? std::strtod(argv[i + 1], nullptr) : 0.0;
        quarvessin::SectionOptions options;
        options.fields = true;  // the files are the same with or without
        const quarvessin::Section section = quarvessin::computeSection(kind->kind, value, options);
        std::printf("section %s %s %s %zu\n", argv[i], argv[i + 1],
                    section.accepted ? "accepted" : "refused", section.boundaries.size());
        block("console", "", section.console);
        for (const quarvessin::Boundary& boundary : section.boundaries) {
            block("file", boundary.fileName, quarvessin::formatBoundary(boundary));
        }
        if (quarvessin::valueAccepted(*kind, value)) {
            block("csv", "", quarvessin::sectionCsv(section));
            block("json", "", quarvessin::sectionJson(section));
        } else {
            block("refusal", "", quarvessin::valueRefusal(*kind, value));
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
