// The kinds of section: their words, axes and ranges.
#include <quarvessin/format.h>
#include <quarvessin/kinds.h>
#include <quarvessin/section.h>

#include <cmath>
#include <string>

namespace quarvessin {

namespace {

constexpr Quantity nacl{"NaCl", "wt%", "wt%", "wt_percent"};
constexpr Quantity temperature{"temperature", "C",
                               "\xc2\xb0"
                               "C",
                               "temperature_C"};
constexpr Quantity pressure{"pressure", "bar", "bar", "pressure_bar"};
constexpr Quantity none{"", "", "", ""};  // the fixed quantity of a kind without a value

}  // namespace

std::string correlationRange() {
    return shortestNumber(correlationMinTemperature) + " to " +
           shortestNumber(correlationMaxTemperature) + " C, " +
           shortestNumber(correlationMinPressure) + " to " +
           shortestNumber(correlationMaxPressure) + " bar";
}

const std::vector<SectionKindInfo>& sectionKinds() {
    using P = SectionPlane;
    static const std::vector<SectionKindInfo> kinds = {
        // At a fixed pressure over temperature, up to the top of the correlations.
        {SectionKind::Isobaric, "isobar", "isobars", "isobaric", true, pressure, minSectionPressure,
         true, maxSectionPressure, true, "bar", "bar.dat", P::CompositionTemperature, nacl,
         temperature, 0.0, 100.0, false, true},
        // At a fixed temperature over pressure, below the triple point of NaCl.
        {SectionKind::Isothermal, "isotherm", "isotherms", "isothermal", true, temperature,
         absoluteZero, false, maxSectionTemperature, false, "C", "c.dat", P::CompositionPressure,
         nacl, pressure, 0.0, 100.0, true, true},
        // At a fixed composition of a mixture over the range of the correlations.
        {SectionKind::Isoplethal, "isopleth", "isopleths", "isoplethal", true, nacl, 0.0, false,
         100.0, false, "wt", "wt.dat", P::TemperaturePressure, temperature, pressure,
         correlationMinTemperature, correlationMaxTemperature, true, true},
        // The univariant and critical curves: one section, no value.
        {SectionKind::Projection, "projection", "projections", "", false, none, 0.0, true, 0.0,
         true, "", "projection.dat", P::TemperaturePressure, temperature, pressure,
         correlationMinTemperature, correlationMaxTemperature, true, false},
    };
    return kinds;
}

const SectionKindInfo& kindInfo(SectionKind kind) {
    for (const SectionKindInfo& info : sectionKinds()) {
        if (info.kind == kind) return info;
    }
    return sectionKinds().front();  // every kind has its row
}

const SectionKindInfo* findKind(std::string_view word) {
    for (const SectionKindInfo& info : sectionKinds()) {
        if (word == info.word || word == info.plural ||
            (*info.adjective != '\0' && word == info.adjective)) {
            return &info;
        }
    }
    return nullptr;
}

std::string unknownKindMessage(std::string_view word) {
    std::string words;
    std::string forms;
    const auto& kinds = sectionKinds();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const char* separator = i == 0 ? "" : i + 1 == kinds.size() ? " or " : ", ";
        words += separator + std::string(kinds[i].word);
        forms += (i == 0 ? "" : ", ") + std::string(kinds[i].plural);
        if (*kinds[i].adjective != '\0') forms += std::string(", ") + kinds[i].adjective;
    }
    return "the kind of section must be " + words + " (also " + forms + "), not '" +
           printable(std::string(word)) + "'";
}

StatePoint statePoint(const SectionKindInfo& kind, double value, double x, double y) {
    switch (kind.plane) {
        case SectionPlane::CompositionTemperature:
            return {y, value, x};
        case SectionPlane::CompositionPressure:
            return {value, y, x};
        case SectionPlane::TemperaturePressure:
            break;
    }
    return {x, y, value};
}

bool valueAccepted(const SectionKindInfo& kind, double value) {
    if (!kind.takesValue) return true;
    if (!std::isfinite(value)) return false;
    const bool aboveMin = kind.minIncluded ? value >= kind.min : value > kind.min;
    const bool belowMax = kind.maxIncluded ? value <= kind.max : value < kind.max;
    return aboveMin && belowMax;
}

std::string validRange(const SectionKindInfo& kind) {
    if (!kind.takesValue) return "valid: no value";
    const std::string unit = std::string(" ") + kind.fixed.unit;
    if (kind.minIncluded && kind.maxIncluded) {
        return "valid: " + shortestNumber(kind.min) + " to " + shortestNumber(kind.max) + unit;
    }
    return std::string("valid: ") + (kind.minIncluded ? "from " : "above ") +
           shortestNumber(kind.min) + (kind.maxIncluded ? " up to " : " and below ") +
           shortestNumber(kind.max) + unit;
}

std::string sectionName(SectionKind kind, double value) {
    const SectionKindInfo& info = kindInfo(kind);
    if (!info.takesValue) return info.word;
    return std::string(info.word) + " " + shortestNumber(value) + " " + info.fixed.unit;
}

std::string valueRefusal(const SectionKindInfo& kind, double value) {
    if (!std::isfinite(value)) {
        return std::string(kind.word) + " " + shortestNumber(value) + " is not a finite number (" +
               validRange(kind) + ")";
    }
    return sectionName(kind.kind, value) + " is out of range (" + validRange(kind) + ")";
}

}  // namespace quarvessin
