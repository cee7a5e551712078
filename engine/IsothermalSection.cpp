#include "engine/IsothermalSection.h"

#include <cmath>
#include <ostream>

#include "engine/BoundaryTrace.h"
#include "engine/LoopTop.h"

namespace quarvessin {

namespace {
// Fraction of the vapour pressure at which the loop's two pure-water points
// lie, just below the vapour pressure on either branch [-].
constexpr double belowVaporPressure = 0.99999999;
// Steps of the vapour-halite surface at display resolution [-].
constexpr int fineSteps = 400;
}  // namespace

bool runIsothermalSection(RunState& s, SectionTracer& tr, bool fine) {
    std::ostream& out = tr.console();
    out << "The stable phase diagram boundaries are : \n"
        << "- the VL surface\n"
        << "- the VH surface\n"
        << "- the VLH surface\n"
        << "- the halite liquidus\n";

    BoundaryTrace vl(tr);
    BoundaryTrace lh(tr);
    BoundaryTrace vlh(tr);
    BoundaryTrace vh(tr);
    if (!vl.open("liquid+vapor_", s.t, "c.dat")) return false;
    if (!lh.open("liquid+halite_", s.t, "c.dat")) return false;
    if (!vlh.open("vapor+liquid+halite_", s.t, "c.dat")) return false;
    if (!vh.open("vapor+halite_", s.t, "c.dat")) return false;

    s.hlv.Refresh();
    const double p3 = s.hlv.P;
    s.sublimation.Refresh();
    const double pSub = s.sublimation.Psub;
    const double dVH = (p3 - pSub) * 0.01;

    // Vapour saturated with halite, from pure NaCl vapour at the sublimation
    // pressure up to the three-phase pressure.
    vh.announce("Writing VH data to file " + vh.name() + "\n");
    vh.useScientific();
    if (!vh.writeRaw(100.0, pSub)) return false;
    if (fine) {
        // Display resolution: even steps in log p, as the composition falls
        // from pure NaCl to almost pure water within a decade or two above
        // the sublimation pressure.
        const double logSub = std::log(pSub);
        const double logStep = (std::log(p3) - logSub) / fineSteps;
        for (int i = 1; i < fineSteps; ++i) {
            s.p = std::exp(logSub + i * logStep);
            s.haliteVapor.Refresh();
            if (!vh.writePoint(s.haliteVapor.xVH, s.p)) return false;
        }
    } else {
        for (s.p = pSub + dVH; s.p < p3; s.p += dVH) {
            s.haliteVapor.Refresh();
            if (!vh.writePoint(s.haliteVapor.xVH, s.p)) return false;
        }
    }
    s.p = p3;
    s.haliteVapor.Refresh();
    if (!vh.writePoint(s.haliteVapor.xVH, p3)) return false;

    // Three-phase tie line: vapour, liquid and halite corners at p3.
    vlh.announce("Writing VLH data to file " + vlh.name() + "\n");
    s.haliteVapor.Refresh();
    if (!vlh.writePoint(s.haliteVapor.xVH, p3)) return false;
    s.liquidus.Refresh();
    if (!vlh.writePoint(s.liquidus.xL, p3)) return false;
    if (!vlh.writeRaw(100.0, p3)) return false;

    // Halite liquidus from the three-phase pressure up to 5000 bar.
    lh.announce("Writing LH data to file " + lh.name() + "\n");
    s.liquidus.Refresh();
    if (!lh.writePoint(s.liquidus.xL, p3)) return false;
    for (s.p = std::trunc(p3 + 1); s.p < 5000.1; s.p += 1.0) {
        s.liquidus.Refresh();
        if (!lh.writePoint(s.liquidus.xL, s.p)) return false;
    }

    // Vapour-liquid loop from the vapour corner of the tie line up the vapour
    // branch and down the liquid branch to the liquid corner.
    vl.announce("Writing VL data to file " + vl.name() + "\n");
    vl.markBranch(Branch::Loop);
    // At or below the critical temperature of water the loop closes at pure
    // water boiling at t, above it at the critical point of the solution.
    bool closesAtPureWater;
    const double pTop = loopTop(s.t, s.water, s.critical, closesAtPureWater);
    const double dVL = (pTop - p3) * 0.01;
    s.p = p3;
    s.haliteVapor.Refresh();
    if (!vl.writePoint(s.haliteVapor.xVH, p3)) return false;
    for (s.p = p3 + dVL; s.p < pTop; s.p += dVL) {
        s.vaporBranch.Refresh();
        if (!vl.writePoint(s.vaporBranch.X, s.p)) return false;
    }
    if (closesAtPureWater) {
        if (!vl.writeRaw(pureWaterMarker, pTop * belowVaporPressure)) return false;
        if (!vl.writeRaw(0.0, pTop)) return false;
        if (!vl.writeRaw(pureWaterMarker, pTop * belowVaporPressure)) return false;
    } else {
        s.p = pTop;
        s.critical.Refresh();
        if (!vl.writePoint(s.critical.Xcrit, pTop)) return false;
    }
    for (s.p = pTop - dVL; s.p > p3; s.p -= dVL) {
        s.liquidBranch.Refresh();
        if (!vl.writePoint(s.liquidBranch.X, s.p)) return false;
    }
    s.p = p3;
    s.liquidus.Refresh();
    if (!vl.writePoint(s.liquidus.xL, p3)) return false;

    if (!vh.close()) return false;
    if (!vlh.close()) return false;
    if (!lh.close()) return false;
    return vl.close();
}

}  // namespace quarvessin
