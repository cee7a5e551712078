#include "engine/PointModel.h"

#include <quarvessin/composition.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <algorithm>
#include <cmath>

#include "engine/LoopTop.h"

namespace quarvessin {

namespace {

constexpr double none = PointBoundaries::none;
constexpr double tTriple = NaClTriplePoint::Ttriple;  // triple point of NaCl [C]

// A composition of the correlations, kept where it lies in 0 to 1 mole
// fraction; outside that range it is no composition and becomes not a number,
// with its bit set in `outOfRange`.
double composition(double x, unsigned bit, unsigned& outOfRange) {
    if (std::isnan(x) || (x >= 0.0 && x <= 1.0)) return x;
    outOfRange |= bit;
    return none;
}

bool finite(double v) { return std::isfinite(v); }

}  // namespace

PointModel::PointModel() = default;

void PointModel::setTemperature(double t) {
    if (tKnown_ && t == tOf_) return;
    tKnown_ = true;
    tOf_ = t;
    t_ = t;
    pTopKnown_ = false;
    if (t <= tTriple) {
        sublimation_.Refresh();
        pSub_ = sublimation_.Psub;
        hlv_.Refresh();
        p3_ = hlv_.P;
        pBoil_ = none;
    } else {
        // Above the triple point of NaCl halite no longer coexists with
        // vapour; the vapour-liquid surface reaches down to liquid NaCl boiling.
        pSub_ = none;
        p3_ = none;
        pBoil_ = boiling_.PfromT(&t_);
    }
}

double PointModel::loopTopPressure(bool& closesAtPureWater) {
    if (!pTopKnown_) {
        pTop_ = loopTop(t_, water_, critical_, closesAtPureWater_);
        pTopKnown_ = true;
    }
    closesAtPureWater = closesAtPureWater_;
    return pTop_;
}

bool PointModel::belowLoopTop(double p) {
    // Above every vapour pressure of water a point is above the loop without
    // evaluating the water library.
    if (t_ <= WaterCriticalPoint::Tc && p >= aboveWaterVaporPressure) return false;
    bool closesAtPureWater;
    return p < loopTopPressure(closesAtPureWater);
}

const PointBoundaries& PointModel::boundaries(double t, double p) {
    if (pointKnown_ && tKnown_ && t == tOf_ && p == pOf_) return last_;
    setTemperature(t);
    pointKnown_ = true;
    pOf_ = p;
    p_ = p;
    PointBoundaries b;
    if (t <= tTriple) {
        if (!finite(pSub_) || !finite(p3_)) {
            b.band = PressureBand::Unknown;
        } else if (p < pSub_) {
            b.band = PressureBand::Vapor;
        } else if (p < p3_) {
            b.band = PressureBand::VaporHalite;
            haliteVapor_.Refresh();
            b.xV = haliteVapor_.xVH;
        } else if (p == p3_) {
            b.band = PressureBand::ThreePhase;
            haliteVapor_.Refresh();
            b.xV = haliteVapor_.xVH;
            liquidus_.Refresh();
            b.xLH = liquidus_.xL;
        } else {
            b.band = PressureBand::Fluid;
        }
    } else {
        b.band = !finite(pBoil_) ? PressureBand::Unknown
                 : p < pBoil_    ? PressureBand::Vapor
                                 : PressureBand::Fluid;
    }
    if (b.band == PressureBand::Fluid) {
        b.loop = belowLoopTop(p);
        b.halite = t < melting_.MeltingTemperature(&p_);
        if (b.loop) {
            // The vapour branch holds the liquid branch and the halite
            // liquidus at the same (t, p): their numbers are the ones separate
            // objects give.
            vaporBranch_.Refresh();
            b.xV = vaporBranch_.X;
            b.xL = vaporBranch_.liquid.X;
            if (b.halite) b.xLH = vaporBranch_.liquidus.xL;
        } else if (b.halite) {
            liquidus_.Refresh();
            b.xLH = liquidus_.xL;
        }
    }
    b.xV = composition(b.xV, vaporOutOfRange, b.outOfRange);
    b.xL = composition(b.xL, liquidOutOfRange, b.outOfRange);
    b.xLH = composition(b.xLH, haliteLiquidOutOfRange, b.outOfRange);
    last_ = b;
    return last_;
}

Assemblage classify(const PointBoundaries& b, double x) {
    const bool pureNaCl = x == 1.0;
    switch (b.band) {
        case PressureBand::Unknown:
            return Assemblage::Unknown;
        case PressureBand::Vapor:
            return Assemblage::Vapor;
        case PressureBand::VaporHalite:
            if (pureNaCl) return Assemblage::Halite;
            if (!finite(b.xV)) return Assemblage::Unknown;
            return x <= b.xV ? Assemblage::Vapor : Assemblage::VaporHalite;
        case PressureBand::ThreePhase:
            if (pureNaCl) return Assemblage::Halite;
            if (!finite(b.xV)) return Assemblage::Unknown;
            if (x <= b.xV) return Assemblage::Vapor;
            return finite(b.xLH) ? Assemblage::VaporLiquidHalite : Assemblage::Unknown;
        case PressureBand::Fluid:
            break;
    }
    if (b.halite && pureNaCl) return Assemblage::Halite;
    if (b.loop && !(finite(b.xV) && finite(b.xL))) return Assemblage::Unknown;
    if (b.halite && !finite(b.xLH)) return Assemblage::Unknown;
    if (b.loop) {
        if (x <= b.xV) return Assemblage::Vapor;
        if (x < b.xL) return Assemblage::LiquidVapor;
    }
    if (b.halite && x > b.xLH) return Assemblage::LiquidHalite;
    return Assemblage::Liquid;
}

PhaseState unknownPhaseState() { return {Assemblage::Unknown, none, none, none, none, none}; }

namespace {

// Mass fraction of the first of two phases of compositions w1 and w2 in a
// mixture of composition w, by the lever rule, kept in 0 to 1 against the
// rounding of a mixture on a boundary [-].
double lever(double w, double w1, double w2) { return std::clamp((w2 - w) / (w2 - w1), 0.0, 1.0); }

}  // namespace

PhaseState phaseOf(const PointBoundaries& b, Assemblage a, double wt) {
    constexpr double halite = 100.0;  // composition of halite [wt% NaCl]
    PhaseState s{a, none, none, 0.0, 0.0, 0.0};
    switch (a) {
        case Assemblage::Unknown:
            return unknownPhaseState();
        case Assemblage::Vapor:
            s.wtVapor = wt;
            s.fractionVapor = 1.0;
            break;
        case Assemblage::Liquid:
            s.wtLiquid = wt;
            s.fractionLiquid = 1.0;
            break;
        case Assemblage::Halite:
            s.fractionHalite = 1.0;
            break;
        case Assemblage::LiquidVapor:
            s.wtVapor = wtPercent(b.xV);
            s.wtLiquid = wtPercent(b.xL);
            s.fractionVapor = lever(wt, s.wtVapor, s.wtLiquid);
            s.fractionLiquid = 1.0 - s.fractionVapor;
            break;
        case Assemblage::LiquidHalite:
            s.wtLiquid = wtPercent(b.xLH);
            s.fractionLiquid = lever(wt, s.wtLiquid, halite);
            s.fractionHalite = 1.0 - s.fractionLiquid;
            break;
        case Assemblage::VaporHalite:
            s.wtVapor = wtPercent(b.xV);
            s.fractionVapor = lever(wt, s.wtVapor, halite);
            s.fractionHalite = 1.0 - s.fractionVapor;
            break;
        case Assemblage::VaporLiquidHalite:
            // The amounts just above the three-phase pressure: vapour and
            // liquid up to the liquid corner, liquid and halite beyond.
            s.wtVapor = wtPercent(b.xV);
            s.wtLiquid = wtPercent(b.xLH);
            if (wt <= s.wtLiquid) {
                s.fractionVapor = lever(wt, s.wtVapor, s.wtLiquid);
                s.fractionLiquid = 1.0 - s.fractionVapor;
            } else {
                s.fractionLiquid = lever(wt, s.wtLiquid, halite);
                s.fractionHalite = 1.0 - s.fractionLiquid;
            }
            break;
    }
    return s;
}

}  // namespace quarvessin
