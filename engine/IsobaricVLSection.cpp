#include "engine/IsobaricVLSection.h"

#include <quarvessin/kinds.h>

#include <cmath>
#include <ostream>
#include <string>

#include "engine/BoundaryTrace.h"
#include "engine/IsobaricSection.h"

namespace quarvessin {

namespace {

// Case C2: the liquidus up to the melting point of halite, then the
// vapour-liquid surface as one piece through the critical point.
bool traceAboveThreePhaseMaximum(RunState& s, SectionTracer& tr) {
    std::ostream& out = tr.console();
    BoundaryTrace lh(tr);
    if (!writeHighPressureLiquidus(s, lh)) return false;

    BoundaryTrace vl(tr);
    if (!vl.open("vapor+liquid_", s.p, "bar.dat")) return false;
    vl.markBranch(Branch::Loop);

    s.boundaries.CopyInputs();
    const double tCrit = s.boundaries.Critical_TemperatureFromP(&s.boundaries.p);
    for (s.t = isobarTopTemperature; s.t > tCrit; s.t -= 1.0) {
        s.vaporBranch.Refresh();
        if (!vl.writePoint(s.vaporBranch.X, s.t)) return false;
    }
    s.t = tCrit;
    s.critical.Refresh();
    if (!vl.writePoint(s.critical.Xcrit, tCrit)) return false;
    for (s.t = std::trunc(tCrit + 1); s.t < isobarTopTemperature + 0.1; s.t += 1.0) {
        s.liquidBranch.Refresh();
        if (!vl.writePoint(s.liquidBranch.X, s.t)) return false;
    }

    if (!vl.close()) return false;
    if (!lh.close()) return false;
    out << "The stable phase boundaries are:\n"
        << "- the VL surfcase\n"
        << "- the halite liquidus\n"
        << "Liquidus data written to file " << lh.name() << "\n"
        << "V+L data written to file " << vl.name() << ", terminating ...\n\n";
    return true;
}

// The two three-phase tie lines where the three-phase curve meets p, and the
// compositions of their vapour and liquid corners: they serve every boundary
// of the section.
struct TieLines {
    double tLow, tHigh;     // lower and upper three-phase temperature [C]
    double xVLow, xLLow;    // vapour and liquid corners at tLow [mole fraction NaCl]
    double xVHigh, xLHigh;  // at tHigh [mole fraction NaCl]
};

bool traceTieLines(RunState& s, BoundaryTrace& vlh, TieLines& ties) {
    vlh.announce("Writing VLH data to file " + vlh.name() + "\n");
    s.t = 700.0;
    s.boundaries.CopyInputs();
    ties.tHigh = s.boundaries.VLH_TemperatureFromP(&s.boundaries.p, s.boundaries.t);
    s.t = 100.0;
    s.boundaries.CopyInputs();
    ties.tLow = s.boundaries.VLH_TemperatureFromP(&s.boundaries.p, s.boundaries.t);

    s.t = ties.tLow;
    s.haliteVapor.Refresh();
    ties.xVLow = s.haliteVapor.xVH;
    s.liquidus.Refresh();
    ties.xLLow = s.liquidus.xL;
    if (!vlh.writePoint(ties.xVLow, ties.tLow)) return false;
    if (!vlh.writePoint(ties.xLLow, ties.tLow)) return false;
    if (!vlh.writePoint(1.0, ties.tLow)) return false;
    if (!vlh.separate()) return false;

    s.t = ties.tHigh;
    s.haliteVapor.Refresh();
    ties.xVHigh = s.haliteVapor.xVH;
    s.liquidus.Refresh();
    ties.xLHigh = s.liquidus.xL;
    if (!vlh.writePoint(ties.xVHigh, ties.tHigh)) return false;
    if (!vlh.writePoint(ties.xLHigh, ties.tHigh)) return false;
    return vlh.writePoint(1.0, ties.tHigh);
}

// Halite liquidus below the lower and above the upper three-phase temperature.
bool traceLiquidus(RunState& s, BoundaryTrace& lh, const TieLines& ties) {
    lh.announce("Writing LH data to file " + lh.name() + "\n");
    for (s.t = 1.0; s.t < ties.tLow; s.t += 1.0) {
        s.liquidus.Refresh();
        if (!lh.writePoint(s.liquidus.xL, s.t)) return false;
    }
    if (!lh.writePoint(ties.xLLow, ties.tLow)) return false;
    if (!lh.separate()) return false;
    if (!lh.writePoint(ties.xLHigh, ties.tHigh)) return false;
    // The upper piece ends at the melting point of halite at p, where the
    // liquid is pure NaCl: beyond it the liquidus composition would exceed
    // pure NaCl.
    s.melting.Refresh();
    const double tMelt = s.melting.Thm;
    for (s.t = std::trunc(ties.tHigh + 1); s.t <= tMelt; s.t += 1.0) {
        s.liquidus.Refresh();
        if (!lh.writePoint(s.liquidus.xL, s.t)) return false;
    }
    return lh.writeRaw(100.0, tMelt);
}

// Vapour-liquid surface: the vapour branch above the upper tie line, the
// loop from the lower tie line to pure water (A) or the critical point (B)
// and back, and the liquid branch above the upper tie line.
bool traceVaporLiquid(RunState& s, IsobaricCase section, BoundaryTrace& vl, const TieLines& ties,
                      std::ostream& out) {
    vl.announce("Writing VL data to file " + vl.name() + "\n");
    vl.markBranch(Branch::Vapor);
    for (s.t = isobarTopTemperature; s.t > ties.tHigh; s.t -= 1.0) {
        s.vaporBranch.Refresh();
        if (!vl.writePoint(s.vaporBranch.X, s.t)) return false;
    }
    if (!vl.writePoint(ties.xVHigh, ties.tHigh)) return false;
    if (!vl.separate()) return false;
    vl.markBranch(Branch::Loop);
    if (!vl.writePoint(ties.xVLow, ties.tLow)) return false;

    if (section == IsobaricCase::A) {
        const double tBoil = s.water.BoilingTemperature();
        out << "found water saturation T at " << tBoil << "\n";
        out.flush();
        for (s.t = std::trunc(ties.tLow); s.t > tBoil + 1; s.t -= 1.0) {
            s.vaporBranch.Refresh();
            if (!vl.writePoint(s.vaporBranch.X, s.t)) return false;
        }
        for (s.t = tBoil + 1; s.t > tBoil; s.t -= 0.1) {
            s.vaporBranch.Refresh();
            if (!vl.writePoint(s.vaporBranch.X, s.t)) return false;
        }
        // End of the vapour branch and start of the liquid branch, both at
        // pure water boiling at p.
        if (!vl.writeRaw(pureWaterMarker, tBoil)) return false;
        if (!vl.writeRaw(pureWaterMarker, tBoil)) return false;
        for (s.t = std::trunc(tBoil + 1); s.t < ties.tLow; s.t += 1.0) {
            s.liquidBranch.Refresh();
            if (!vl.writePoint(s.liquidBranch.X, s.t)) return false;
        }
    } else {
        s.boundaries.CopyInputs();
        const double tCrit = s.boundaries.Critical_TemperatureFromP(&s.boundaries.p);
        for (s.t = std::trunc(ties.tLow); s.t > tCrit + 1; s.t -= 1.0) {
            s.vaporBranch.Refresh();
            if (!vl.writePoint(s.vaporBranch.X, s.t)) return false;
        }
        for (s.t = tCrit + 1; s.t > tCrit; s.t -= 0.1) {
            s.vaporBranch.Refresh();
            if (!vl.writePoint(s.vaporBranch.X, s.t)) return false;
        }
        s.t = tCrit;
        s.critical.Refresh();
        if (!vl.writePoint(s.critical.Xcrit, tCrit)) return false;
        const double b = std::trunc(tCrit + 1);
        for (s.t = tCrit + 0.1; s.t < b; s.t += 0.1) {
            s.liquidBranch.Refresh();
            if (!vl.writePoint(s.liquidBranch.X, s.t)) return false;
        }
        for (s.t = b; s.t < ties.tLow; s.t += 1.0) {
            s.liquidBranch.Refresh();
            if (!vl.writePoint(s.liquidBranch.X, s.t)) return false;
        }
    }
    if (!vl.writePoint(ties.xLLow, ties.tLow)) return false;
    if (!vl.separate()) return false;
    vl.markBranch(Branch::Liquid);
    if (!vl.writePoint(ties.xLHigh, ties.tHigh)) return false;
    for (s.t = std::trunc(ties.tHigh + 1); s.t < isobarTopTemperature + 0.1; s.t += 1.0) {
        s.liquidBranch.Refresh();
        if (!vl.writePoint(s.liquidBranch.X, s.t)) return false;
    }
    return true;
}

// Vapour saturated with halite between the two tie lines.
bool traceVaporHalite(RunState& s, BoundaryTrace& vh, const TieLines& ties) {
    vh.announce("Writing VH data to file " + vh.name() + "\n");
    if (!vh.writePoint(ties.xVLow, ties.tLow)) return false;
    for (s.t = std::trunc(ties.tLow + 1); s.t < ties.tHigh; s.t += 1.0) {
        s.haliteVapor.Refresh();
        if (!vh.writePoint(s.haliteVapor.xVH, s.t)) return false;
    }
    if (!vh.writePoint(ties.xVHigh, ties.tHigh)) return false;
    return true;
}

}  // namespace

bool traceIsobaricSection(RunState& s, IsobaricCase section, SectionTracer& tr) {
    if (section == IsobaricCase::C2) return traceAboveThreePhaseMaximum(s, tr);
    std::ostream& out = tr.console();

    out << "The stable phase boundaries are:\n"
        << "- the VL surface\n"
        << "- the halite liquidus\n"
        << "- the VLH surface\n"
        << "- the VH surface\n";

    BoundaryTrace vl(tr);
    BoundaryTrace lh(tr);
    BoundaryTrace vlh(tr);
    BoundaryTrace vh(tr);
    if (!vl.open("liquid+vapor_", s.p, "bar.dat")) return false;
    if (!lh.open("liquid+halite_", s.p, "bar.dat")) return false;
    if (!vlh.open("vapor+liquid+halite_", s.p, "bar.dat")) return false;
    if (!vh.open("vapor+halite_", s.p, "bar.dat")) return false;

    TieLines ties{};
    if (!traceTieLines(s, vlh, ties)) return false;
    if (!traceLiquidus(s, lh, ties)) return false;
    if (!traceVaporLiquid(s, section, vl, ties, out)) return false;
    if (!traceVaporHalite(s, vh, ties)) return false;

    out << "terminating ...\n";
    if (!vh.close()) return false;
    if (!vlh.close()) return false;
    if (!lh.close()) return false;
    return vl.close();
}

}  // namespace quarvessin
