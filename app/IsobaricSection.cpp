#include "IsobaricSection.h"

#include <ostream>

#include "IsobaricVLSection.h"

bool writeHighPressureLiquidus(RunState& state, BoundaryFile& liquidus) {
    if (!liquidus.open("liquid+halite_", state.p, "bar.dat")) return false;
    state.melting.Refresh();
    const double tMelt = state.melting.Thm;
    for (state.t = 1.0; state.t <= tMelt; state.t += 1.0) {
        state.liquidus.Refresh();
        if (!liquidus.writePoint(state.liquidus.xL, state.t)) return false;
    }
    return liquidus.writeRaw(100.0, tMelt);  // pure halite at its melting point
}

bool runIsobaricSection(RunState& state, std::ostream& out, std::ostream& err) {
    if (state.p < WaterCriticalPoint::Pc) {
        return traceIsobaricSection(state, IsobaricCase::A, out, err);
    }
    if (state.p < state.hlv.Pmax()) {
        return traceIsobaricSection(state, IsobaricCase::B, out, err);
    }
    state.t = 1000.0;
    state.critical.Refresh();
    const double pCrit1000 = state.critical.Pcrit;
    if (!(state.p > pCrit1000)) {
        return traceIsobaricSection(state, IsobaricCase::C2, out, err);
    }

    // Above the critical pressure at 1000 C only the halite liquidus remains.
    BoundaryFile liquidus(err);
    if (!writeHighPressureLiquidus(state, liquidus)) return false;
    if (!liquidus.close()) return false;
    out << "The only stable phase boundary is:\n"
        << "- the halite liquidus.\n"
        << "Data written to file " << liquidus.name() << ", terminating ...\n\n";
    return true;
}
