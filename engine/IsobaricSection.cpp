#include "engine/IsobaricSection.h"

#include <quarvessin/kinds.h>

#include <ostream>

#include "engine/IsobaricVLSection.h"

namespace quarvessin {

bool writeHighPressureLiquidus(RunState& state, BoundaryTrace& liquidus) {
    if (!liquidus.open("liquid+halite_", state.p, "bar.dat")) return false;
    state.melting.Refresh();
    const double tMelt = state.melting.Thm;
    for (state.t = 1.0; state.t <= tMelt; state.t += 1.0) {
        state.liquidus.Refresh();
        if (!liquidus.writePoint(state.liquidus.xL, state.t)) return false;
    }
    return liquidus.writeRaw(100.0, tMelt);  // pure halite at its melting point
}

IsobaricCase chooseIsobaricCase(RunState& state) {
    if (state.p < WaterCriticalPoint::Pc) return IsobaricCase::A;
    if (state.p < state.hlv.Pmax()) return IsobaricCase::B;
    state.t = isobarTopTemperature;
    state.critical.Refresh();
    const double pCrit1000 = state.critical.Pcrit;
    return state.p > pCrit1000 ? IsobaricCase::C1 : IsobaricCase::C2;
}

bool runIsobaricSection(RunState& state, SectionTracer& tr) {
    const IsobaricCase section = chooseIsobaricCase(state);
    if (section != IsobaricCase::C1) return traceIsobaricSection(state, section, tr);

    // Above the critical pressure at 1000 C only the halite liquidus remains.
    BoundaryTrace liquidus(tr);
    if (!writeHighPressureLiquidus(state, liquidus)) return false;
    if (!liquidus.close()) return false;
    tr.console() << "The only stable phase boundary is:\n"
                 << "- the halite liquidus.\n"
                 << "Data written to file " << liquidus.name() << ", terminating ...\n\n";
    return true;
}

}  // namespace quarvessin
