// The section engine: the console program's sections as values.
#include <quarvessin/kinds.h>
#include <quarvessin/section.h>
#include <quarvessin/style.h>

#include <cmath>
#include <string>
#include <utility>

#include "engine/BoundaryTrace.h"
#include "engine/Fields.h"
#include "engine/IsobaricSection.h"
#include "engine/IsoplethSection.h"
#include "engine/IsothermalSection.h"
#include "engine/Projection.h"
#include "engine/RunState.h"

namespace quarvessin {

namespace {

// The console program's answer to a section value it does not compute (and
// the same kind of answer for the kinds it does not have).
std::string refusal(SectionKind kind, double value) {
    switch (kind) {
        case SectionKind::Isobaric:
            return "The entered pressure is out of range, terminating ...\n\n";
        case SectionKind::Isothermal:
            return "sorry, I havn't implemented isotherm for t >= 800.7 C ...\n";
        case SectionKind::Isoplethal:
        case SectionKind::Projection:
            break;
    }
    return valueRefusal(kindInfo(kind), value) + "\n";
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
        const BoundaryStyle* style = styleOfPhases(phases);
        boundary.id = style ? style->id : phases;
        boundary.pieces.emplace_back();
        boundary.branches.push_back(Branch::None);
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
        at(index).branches.push_back(Branch::None);
        return true;
    }
    void branch(std::size_t index, Branch branch) override { at(index).branches.back() = branch; }
    bool closeBoundary(std::size_t) override { return true; }
    void console(const std::string& text) override { section_.console += text; }

  private:
    Boundary& at(std::size_t index) { return section_.boundaries.at(index); }
    Section& section_;
};

void addWarnings(Section& section) {
    const std::string name = sectionName(section.kind, section.value);
    const bool belowRange =
        section.kind == SectionKind::Isothermal && section.value < correlationMinTemperature;
    if (belowRange) {
        section.warnings.push_back(name + ": below 0 C, outside the range of the correlations (" +
                                   correlationRange() + ")");
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
    switch (kind) {
        case SectionKind::Isobaric:
            return value >= minSectionPressure && value <= maxSectionPressure;
        case SectionKind::Isothermal:
            return std::isfinite(value) && value < maxSectionTemperature;
        case SectionKind::Isoplethal:
        case SectionKind::Projection:
            break;
    }
    return valueAccepted(kindInfo(kind), value);
}

IsobaricCase isobaricCase(double p) {
    RunState state;
    state.p = p;
    return chooseIsobaricCase(state);
}

bool traceSection(SectionKind kind, double value, SectionSink& sink,
                  const SectionOptions& options) {
    if (!sectionAccepted(kind, value)) {
        sink.console(refusal(kind, value));
        return true;
    }
    SectionTracer tracer(sink);
    switch (kind) {
        case SectionKind::Isoplethal:
            return traceIsoplethSection(value, tracer);
        case SectionKind::Projection:
            return traceProjection(tracer);
        case SectionKind::Isobaric:
        case SectionKind::Isothermal:
            break;
    }
    RunState state;
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
    if (options.fields) section.fields = placeFields(section);
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
