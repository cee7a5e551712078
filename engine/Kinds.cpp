// The kinds of section: their words, axes and ranges.
#include <quarvessin/format.h>
#include <quarvessin/kinds.h>
#include <quarvessin/section.h>

#include <cmath>
#include <string>

namespace quarvessin {

namespace {

constexpr Quantity nacl{"NaCl", "wt%", "wt_percent"};
constexpr Quantity temperature{"temperature", "C", "temperature_C"};
constexpr Quantity pressure{"pressure", "bar", "pressure_bar"};

}  // namespace

std::string correlationRange() {
    return shortestNumber(correlationMinTemperature) + " to " +
           shortestNumber(correlationMaxTemperature) + " C, " +
           shortestNumber(correlationMinPressure) + " to " +
           shortestNumber(correlationMaxPressure) + " bar";
}

const std::vector<SectionKindInfo>& sectionKinds() {
    static const std::vector<SectionKindInfo> kinds = {
        // At a fixed pressure over temperature, up to the top of the correlations.
        {SectionKind::Isobaric, "isobar", "isobars", "isobaric", pressure, minSectionPressure, true,
         maxSectionPressure, true, "bar", "bar.dat", nacl, temperature, false},
        // At a fixed temperature over pressure, below the triple point of NaCl.
        {SectionKind::Isothermal, "isotherm", "isotherms", "isothermal", temperature, absoluteZero,
         false, maxSectionTemperature, false, "C", "c.dat", nacl, pressure, true},
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
        if (word == info.word || word == info.plural || word == info.adjective) return &info;
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
        forms += (i == 0 ? "" : ", ") + std::string(kinds[i].plural) + ", " + kinds[i].adjective;
    }
    return "the kind of section must be " + words + " (also " + forms + "), not '" +
           printable(std::string(word)) + "'";
}

bool valueAccepted(const SectionKindInfo& kind, double value) {
    if (!std::isfinite(value)) return false;
    const bool aboveMin = kind.minIncluded ? value >= kind.min : value > kind.min;
    const bool belowMax = kind.maxIncluded ? value <= kind.max : value < kind.max;
    return aboveMin && belowMax;
}

std::string validRange(const SectionKindInfo& kind) {
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
