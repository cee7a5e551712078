// Prints sections of the native engine for the comparison with its
// WebAssembly build: for every KIND VALUE pair of the arguments (isobar or
// isotherm; VALUE read with strtod, as the console program reads it)
//
//   section KIND VALUE accepted|refused BOUNDARIES
//   console BYTES            followed by the console text
//   file NAME BYTES          followed by the bytes of each boundary file
//
// Lengths make the framing exact for any bytes.
#include <quarvessin/section.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void block(const char* tag, const std::string& name, const std::string& bytes) {
    std::printf("%s%s%s %zu\n", tag, name.empty() ? "" : " ", name.c_str(), bytes.size());
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (argc - 1) % 2 != 0) {
        std::fprintf(stderr, "usage: %s isobar|isotherm VALUE [isobar|isotherm VALUE ...]\n",
                     argv[0]);
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        quarvessin::SectionKind kind;
        if (std::strcmp(argv[i], "isobar") == 0) {
            kind = quarvessin::SectionKind::Isobaric;
        } else if (std::strcmp(argv[i], "isotherm") == 0) {
            kind = quarvessin::SectionKind::Isothermal;
        } else {
            std::fprintf(stderr, "%s: unknown kind %s\n", argv[0], argv[i]);
            return 2;
        }
        const double value = std::strtod(argv[i + 1], nullptr);
        const quarvessin::Section section = quarvessin::computeSection(kind, value);
        std::printf("section %s %s %s %zu\n", argv[i], argv[i + 1],
                    section.accepted ? "accepted" : "refused", section.boundaries.size());
        block("console", "", section.console);
        for (const quarvessin::Boundary& boundary : section.boundaries) {
            block("file", boundary.fileName, quarvessin::formatBoundary(boundary));
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
