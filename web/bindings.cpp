// JavaScript interface of the section engine (embind): sections as plain
// objects with typed arrays, and the console program's file bytes.
//
//   computeSection(kind, value[, { fine }]) -> { accepted, console, kind, value,
//       boundaries: [{ phases, fileName, scientific, pieces: [{ x, y }] }], warnings }
//   formatBoundary(kind, value, index) -> the text of boundary `index`'s file
//   sectionAccepted(kind, value) -> bool
//
// kind is "isobar" or "isotherm" (also "isobaric", "isothermal"); x holds wt%
// NaCl and y the temperature [C] (isobars) or pressure [bar] (isotherms) of
// each point, as Float64Array. Another kind, or an index out of range, throws a
// JavaScript Error.
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <quarvessin/section.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

using emscripten::val;
using quarvessin::SectionKind;

[[noreturn]] void throwError(const std::string& message) {
    val::global("Error").new_(message).throw_();
}

SectionKind kindFromName(const std::string& name) {
    if (name == "isobar" || name == "isobaric") return SectionKind::Isobaric;
    if (name == "isotherm" || name == "isothermal") return SectionKind::Isothermal;
    throwError("quarvessin: the kind of section must be \"isobar\" or \"isotherm\", not \"" + name +
               "\"");
}

const char* kindName(SectionKind kind) {
    return kind == SectionKind::Isobaric ? "isobar" : "isotherm";
}

// A copy of the numbers in a new Float64Array.
val floatArray(const std::vector<double>& values) {
    val array = val::global("Float64Array").new_(values.size());
    array.call<void>("set", val(emscripten::typed_memory_view(values.size(), values.data())));
    return array;
}

val toJs(const quarvessin::Section& section) {
    val result = val::object();
    result.set("accepted", section.accepted);
    result.set("console", section.console);
    result.set("kind", std::string(kindName(section.kind)));
    result.set("value", section.value);
    val boundaries = val::array();
    std::vector<double> xs;
    std::vector<double> ys;
    for (const quarvessin::Boundary& boundary : section.boundaries) {
        val b = val::object();
        b.set("phases", boundary.phases);
        b.set("fileName", boundary.fileName);
        b.set("scientific", boundary.scientific);
        val pieces = val::array();
        for (const std::vector<quarvessin::Point>& piece : boundary.pieces) {
            xs.clear();
            ys.clear();
            for (const quarvessin::Point& point : piece) {
                xs.push_back(point.wtPercent);
                ys.push_back(point.value);
            }
            val p = val::object();
            p.set("x", floatArray(xs));
            p.set("y", floatArray(ys));
            pieces.call<void>("push", p);
        }
        b.set("pieces", pieces);
        boundaries.call<void>("push", b);
    }
    result.set("boundaries", boundaries);
    val warnings = val::array();
    for (const std::string& warning : section.warnings) warnings.call<void>("push", warning);
    result.set("warnings", warnings);
    return result;
}

val computeSection(const std::string& kind, double value, val options) {
    quarvessin::SectionOptions sectionOptions;
    if (!options.isUndefined() && !options.isNull()) {
        sectionOptions.fine = options["fine"].isTrue();
    }
    return toJs(quarvessin::computeSection(kindFromName(kind), value, sectionOptions));
}

val computeSectionDefault(const std::string& kind, double value) {
    return computeSection(kind, value, val::undefined());
}

// The section at the console program's resolution last asked for by
// formatBoundary: the exports of one section ask for every boundary in turn.
struct LastSection {
    bool valid = false;
    SectionKind kind = SectionKind::Isobaric;
    double value = 0.0;
    quarvessin::Section section;
};

LastSection& lastSection() {
    static LastSection last;
    return last;
}

std::string formatBoundary(const std::string& kind, double value, int index) {
    const SectionKind k = kindFromName(kind);
    LastSection& last = lastSection();
    // Exact comparison: the same double asked again is the same section.
    if (!last.valid || last.kind != k || !(last.value == value)) {
        last.section = quarvessin::computeSection(k, value);
        last.kind = k;
        last.value = value;
        last.valid = true;
    }
    const std::vector<quarvessin::Boundary>& boundaries = last.section.boundaries;
    if (index < 0 || static_cast<std::size_t>(index) >= boundaries.size()) {
        throwError("quarvessin: the " + std::string(kindName(k)) + " section has " +
                   std::to_string(boundaries.size()) + " boundaries, there is no boundary " +
                   std::to_string(index));
    }
    return quarvessin::formatBoundary(boundaries[static_cast<std::size_t>(index)]);
}

bool sectionAccepted(const std::string& kind, double value) {
    return quarvessin::sectionAccepted(kindFromName(kind), value);
}

}  // namespace

EMSCRIPTEN_BINDINGS(quarvessin) {
    emscripten::function("computeSection", &computeSection);
    emscripten::function("computeSection", &computeSectionDefault);
    emscripten::function("formatBoundary", &formatBoundary);
    emscripten::function("sectionAccepted", &sectionAccepted);
    emscripten::constant("minSectionPressure", quarvessin::minSectionPressure);
    emscripten::constant("maxSectionPressure", quarvessin::maxSectionPressure);
    emscripten::constant("maxSectionTemperature", quarvessin::maxSectionTemperature);
}
