// The section engine: the console program's sections as values.
#include <quarvessin/section.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "engine/BoundaryTrace.h"
#include "engine/IsobaricSection.h"
#include "engine/IsothermalSection.h"
#include "engine/RunState.h"

namespace quarvessin {

namespace {

// The console program's answer to a section value it does not compute.
const char* refusal(SectionKind kind) {
    return kind == SectionKind::Isobaric
               ? "The entered pressure is out of range, terminating ...\n\n"
               : "sorry, I havn't implemented isotherm for t >= 800.7 C ...\n";
}

// Builds a Section from the traced boundaries and console text.
class CollectingSink : public SectionSink {
  public:
    explicit CollectingSink(Section& section) : section_(section) {}

    bool openBoundary(std::size_t index, const std::string& phases,
                      const std::string& fileName) override {
        if (index != section_.boundaries.size()) return false;
        Boundary boundary;
        boundary.phases = phases;
        boundary.fileName = fileName;
        boundary.pieces.emplace_back();
        section_.boundaries.push_back(std::move(boundary));
        return true;
    }
    void useScientific(std::size_t index) override { at(index).scientific = true; }
    bool point(std::size_t index, Point p) override {
        at(index).pieces.back().push_back(p);
        return true;
    }
    bool separate(std::size_t index) override {
        at(index).pieces.emplace_back();
        return true;
    }
    bool closeBoundary(std::size_t) override { return true; }
    void console(const std::string& text) override { section_.console += text; }

  private:
    Boundary& at(std::size_t index) { return section_.boundaries.at(index); }
    Section& section_;
};

// "isobar 300 bar" or "isotherm -20 C": the section in a warning.
std::string label(SectionKind kind, double value) {
    char number[64];
    std::snprintf(number, sizeof number, "%g", value);
    return kind == SectionKind::Isobaric ? "isobar " + std::string(number) + " bar"
                                         : "isotherm " + std::string(number) + " C";
}

// Lower end of the temperature range of the correlations [C].
constexpr double lowestCorrelationTemperature = 0.0;

void addWarnings(Section& section) {
    const std::string name = label(section.kind, section.value);
    const bool belowRange =
        section.kind == SectionKind::Isothermal && section.value < lowestCorrelationTemperature;
    if (belowRange) {
        section.warnings.push_back(name +
                                   ": below 0 C, outside the range of the correlations "
                                   "(0 to 1000 C, 1 to 5000 bar)");
    }
    std::size_t total = 0;
    std::string where;
    for (const Boundary& boundary : section.boundaries) {
        std::size_t count = 0;
        for (const auto& piece : boundary.pieces) {
            for (const Point& p : piece) {
                if (!std::isfinite(p.wtPercent) || !std::isfinite(p.value)) ++count;
            }
        }
        if (count == 0) continue;
        where += (where.empty() ? "" : ", ") + boundary.phases + " " + std::to_string(count);
        total += count;
    }
    if (total == 0) return;
    section.warnings.push_back(
        name + ": " + std::to_string(total) + (total == 1 ? " point is" : " points are") +
        " not finite numbers (" + (belowRange ? "below the range of the correlations; " : "") +
        where + ")");
}

}  // namespace

bool sectionAccepted(SectionKind kind, double value) {
    if (kind == SectionKind::Isobaric) {
        return value >= minSectionPressure && value <= maxSectionPressure;
    }
    return std::isfinite(value) && value < maxSectionTemperature;
}

IsobaricCase isobaricCase(double p) {
    RunState state;
    state.p = p;
    return chooseIsobaricCase(state);
}

bool traceSection(SectionKind kind, double value, SectionSink& sink,
                  const SectionOptions& options) {
    if (!sectionAccepted(kind, value)) {
        sink.console(refusal(kind));
        return true;
    }
    RunState state;
    SectionTracer tracer(sink);
    state.directMessages(tracer.console());
    if (kind == SectionKind::Isobaric) {
        state.p = value;
        return runIsobaricSection(state, tracer);
    }
    state.t = value;
    return runIsothermalSection(state, tracer, options.fine);
}

Section computeSection(SectionKind kind, double value, const SectionOptions& options) {
    Section section;
    section.kind = kind;
    section.value = value;
    section.accepted = sectionAccepted(kind, value);
    CollectingSink sink(section);
    traceSection(kind, value, sink, options);
    if (section.accepted) addWarnings(section);
    return section;
}

std::string formatBoundary(const Boundary& boundary) {
    std::string text;
    for (std::size_t i = 0; i < boundary.pieces.size(); ++i) {
        if (i > 0) text += '\n';
        for (const Point& p : boundary.pieces[i]) {
            appendDataLine(text, p.wtPercent, p.value, boundary.scientific);
        }
    }
    return text;
}

}  // namespace quarvessin
