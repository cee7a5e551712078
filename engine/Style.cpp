// Stable identities, labels, legends and colours of boundaries and fields.
#include <quarvessin/style.h>

namespace quarvessin {

const std::vector<BoundaryStyle>& boundaryStyles() {
    static const std::vector<BoundaryStyle> styles = {
        {"vapor+liquid", "VL", "vapour + liquid", "#1f5fbf", false},
        {"liquidus", "LH", "halite liquidus", "#c0392b", false},
        {"three-phase", "VLH", "vapour + liquid + halite", "#1e8f3a", true},
        {"vapor+halite", "VH", "vapour + halite", "#8e44ad", false},
        // The curves of the pressure-temperature projection (its three-phase
        // curve is "three-phase").
        {"critical", "C", "critical curve of the solutions", "#000000", false},
        {"water-liquid+vapor", "W", "boiling curve of water", "#1f77b4", false},
        {"nacl-halite+liquid", "HL", "melting curve of halite", "#8c564b", false},
        {"nacl-liquid+vapor", "NLV", "boiling curve of NaCl", "#a0522d", false},
        {"nacl-halite+vapor", "HV", "sublimation curve of halite", "#d2691e", false},
    };
    return styles;
}

const BoundaryStyle* styleOfId(std::string_view id) {
    for (const BoundaryStyle& style : boundaryStyles()) {
        if (id == style.id) return &style;
    }
    return nullptr;
}

const BoundaryStyle* styleOfPhases(std::string_view phases) {
    // The file prefixes of the console program: one boundary may carry two.
    struct Alias {
        const char* phases;
        const char* id;
    };
    static const Alias aliases[] = {
        {"liquid+vapor", "vapor+liquid"}, {"vapor+liquid", "vapor+liquid"},
        {"liquid+halite", "liquidus"},    {"vapor+liquid+halite", "three-phase"},
        {"vapor+halite", "vapor+halite"},
    };
    for (const Alias& alias : aliases) {
        if (phases == alias.phases) return styleOfId(alias.id);
    }
    return nullptr;
}

const char* branchName(Branch branch) {
    switch (branch) {
        case Branch::Vapor:
            return "vapor";
        case Branch::Liquid:
            return "liquid";
        case Branch::Loop:
            return "loop";
        case Branch::None:
            break;
    }
    return "";
}

const char* assemblageLabel(std::string_view assemblage) {
    struct Label {
        const char* assemblage;
        const char* label;
    };
    static const Label labels[] = {
        {"vapor", "V"},           {"liquid", "L"},         {"liquid+vapor", "V+L"},
        {"liquid+halite", "L+H"}, {"vapor+halite", "V+H"}, {"vapor+liquid+halite", "V+L+H"},
        {"halite", "H"},
    };
    for (const Label& l : labels) {
        if (assemblage == l.assemblage) return l.label;
    }
    return "";
}

}  // namespace quarvessin
