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
// Lengths make the framing exact for any bytes.
#include <quarvessin/format.h>
#include <quarvessin/kinds.h>
#include <quarvessin/section.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void block(const char* tag, const std::string& name, const std::string& bytes) {
    std::printf("%s%s%s %zu\n", tag, name.empty() ? "" : " ", name.c_str(), bytes.size());
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (argc - 1) % 2 != 0) {
        std::fprintf(stderr, "usage: %s KIND VALUE [KIND VALUE ...]\n", argv[0]);
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const quarvessin::SectionKindInfo* kind = quarvessin::findKind(argv[i]);
        if (kind == nullptr) {
            block("kind", quarvessin::printable(argv[i]), quarvessin::unknownKindMessage(argv[i]));
            continue;
        }
        const double value = std::strtod(argv[i + 1], nullptr);
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
