#include <quarvessin/composition.h>
#include <quarvessin/kinds.h>
#include <quarvessin/phase_state.h>

#include "engine/PointModel.h"

namespace quarvessin {

namespace {

// The points a point query accepts: temperature above absolute zero and up to
// 1000 C, pressure above 0 and up to 5000 bar, composition 0 to 100 wt%.
bool accepted(double tC, double pBar, double wt) {
    return tC > absoluteZero && tC <= correlationMaxTemperature && pBar > 0.0 &&
           pBar <= correlationMaxPressure && wt >= 0.0 && wt <= 100.0;
}

PhaseState stateWith(PointModel& model, double tC, double pBar, double wt) {
    if (!accepted(tC, pBar, wt)) return unknownPhaseState();
    const PointBoundaries& b = model.boundaries(tC, pBar);
    return phaseOf(b, classify(b, moleFraction(wt)), wt);
}

// The model objects of this thread, reused from call to call.
PointModel& threadModel() {
    thread_local PointModel model;
    return model;
}

}  // namespace

const char* assemblageName(Assemblage assemblage) {
    switch (assemblage) {
        case Assemblage::Unknown:
            return "";
        case Assemblage::Vapor:
            return "vapor";
        case Assemblage::Liquid:
            return "liquid";
        case Assemblage::LiquidVapor:
            return "liquid+vapor";
        case Assemblage::LiquidHalite:
            return "liquid+halite";
        case Assemblage::VaporHalite:
            return "vapor+halite";
        case Assemblage::VaporLiquidHalite:
            return "vapor+liquid+halite";
        case Assemblage::Halite:
            return "halite";
    }
    return "";
}

const std::vector<Assemblage>& assemblages() {
    static const std::vector<Assemblage> all = {
        Assemblage::Unknown,           Assemblage::Vapor,        Assemblage::Liquid,
        Assemblage::LiquidVapor,       Assemblage::LiquidHalite, Assemblage::VaporHalite,
        Assemblage::VaporLiquidHalite, Assemblage::Halite};
    return all;
}

PhaseState phaseState(double tC, double pBar, double wt) {
    return stateWith(threadModel(), tC, pBar, wt);
}

void phaseStates(const double* tC, const double* pBar, const double* wt, std::size_t n,
                 PhaseState* out) {
    PointModel& model = threadModel();
    for (std::size_t i = 0; i < n; ++i) out[i] = stateWith(model, tC[i], pBar[i], wt[i]);
}

}  // namespace quarvessin
