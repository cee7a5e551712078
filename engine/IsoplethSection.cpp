#include "engine/IsoplethSection.h"

#include <quarvessin/composition.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <vector>

#include "engine/IsoplethSolver.h"
#include "engine/IsoplethTrace.h"

namespace quarvessin {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double lowestTemperature = 0.0;      // of the correlations [C]
constexpr double highestTemperature = 1000.0;  // of the correlations [C]
constexpr double highestPressure = 5000.0;     // of the correlations [bar]
constexpr double tTriple = NaClTriplePoint::Ttriple;
// Below the critical temperature of water the vapour of the vapour + liquid
// surface holds less than this [wt%] (its largest, near 372 C, is about
// 0.05 wt%), so a saltier fluid has no dew point there.
constexpr double vaporBelowWaterCritical = 0.1;
// Triple point of water, 273.16 K, the lowest temperature of its vapour
// pressure and so of the liquid branch below 373.976 C; computed from the
// kelvin, so that adding the offset back gives no less than 273.16 K [C].
constexpr double waterTriplePoint = 273.16 - model_units::kelvinOffset;
// Up to here the vapour branch is nowhere saltier than the critical
// composition at its temperature or 0.1 wt% (above, it has an interior
// minimum and rises again towards the three-phase and NaCl boiling curves),
// so a fluid of 0.1 wt% or more has a dew point below it only above its
// critical temperature [C].
constexpr double vaporMonotoneTop = 780.0;
// Last temperature of the vapour + halite surface sampled below the NaCl
// triple point, where sublimation and three-phase pressures meet [C].
constexpr double haliteVaporTop = tTriple - 1e-4;

// Temperatures from a to b in n even steps, then the extra temperatures
// inside [a, b], ascending and without repeats.
std::vector<double> grid(double a, double b, int n, std::vector<double> extra = {}) {
    std::vector<double> g;
    for (int i = 0; i <= n; ++i) g.push_back(i == n ? b : a + (b - a) * i / n);
    for (double t : extra) {
        if (t > a && t < b) g.push_back(t);
    }
    std::sort(g.begin(), g.end());
    g.erase(std::unique(g.begin(), g.end()), g.end());
    return g;
}

// Temperatures crowding towards the NaCl triple point, where the three-phase
// curve and the vapours along it change fastest [C].
const std::vector<double> nearTriplePoint = {780.0, 790.0, 795.0, 798.0,  799.0,  800.0,
                                             800.3, 800.5, 800.6, 800.65, 800.68, 800.69};

class IsoplethTracer {
  public:
    explicit IsoplethTracer(double wt) : w(wt), x(moleFraction(wt)) {
        tCritical = isopleth::criticalTemperature(m, x);
        if (std::isfinite(tCritical)) {
            m.setTemperature(tCritical);
            pCritical = m.criticalPressure();
        }
        tThreePhase = isopleth::threePhaseLiquidTemperature(m, x);
    }

    // Bubble curve then dew curve pieces.
    std::vector<TracedPiece> vaporLiquid() {
        std::vector<TracedPiece> pieces;
        const double t0 =
            std::isfinite(tThreePhase) ? std::max(tThreePhase, waterTriplePoint) : waterTriplePoint;
        const double t1 = std::isfinite(tCritical) ? tCritical : highestTemperature;
        TracedPiece bubble;
        bubble.branch = Branch::Liquid;
        bubble.points = sampleCurve(
            [&](double t) {
                return Point{t, isopleth::bubblePressure(m, t, x)};
            },
            t0, t1, 16, resolution);
        if (std::isfinite(tCritical)) {
            // The bubble curve ends in the critical point of w: exactly there.
            if (!bubble.points.empty() && bubble.points.back().wtPercent == tCritical) {
                bubble.points.back().value = pCritical;
            } else {
                bubble.points.push_back(Point{tCritical, pCritical});
            }
        }
        pieces.push_back(std::move(bubble));

        double dewLow = WaterCriticalPoint::Tc;
        if (w < vaporBelowWaterCritical) {
            dewLow = waterTriplePoint;
        } else if (std::isfinite(tCritical)) {
            dewLow = std::max(dewLow, std::min(tCritical - 5.0, vaporMonotoneTop));
        } else {
            dewLow = vaporMonotoneTop;
        }
        RootFamily family;
        family.residual = [&](double t, double p) {
            m.setTemperature(t);
            return m.vaporBranch(p) - x;
        };
        family.bottom = [&](double t) {
            m.setTemperature(t);
            return m.loopBottom();
        };
        family.top = [&](double t) {
            m.setTemperature(t);
            return m.loopTop();
        };
        // At the top of the surface (from 373.976 C) the vapour is the
        // critical composition, exactly.
        family.alongTop = [&](double t) {
            m.setTemperature(t);
            return t < WaterCriticalPoint::Tc ? m.vaporBranch(m.loopTop()) - x
                                              : m.criticalComposition() - x;
        };
        std::vector<TracedPiece> dew = traceRootFamily(
            family, grid(dewLow, highestTemperature, 12, {tTriple, tCritical}), resolution);
        // The curve from the critical point first, then those at low pressure.
        std::stable_sort(dew.begin(), dew.end(), [](const TracedPiece& a, const TracedPiece& b) {
            return a.points.front().wtPercent < b.points.front().wtPercent;
        });
        for (TracedPiece& piece : dew) {
            piece.branch = Branch::Vapor;
            keepResolved(piece, family);
            if (piece.points.empty()) continue;  // no point resolved (w vanishingly small)
            // The piece leaving the critical point starts in it exactly.
            for (Point* end : {&piece.points.front(), &piece.points.back()}) {
                if (std::fabs(end->wtPercent - tCritical) < 1e-6) *end = {tCritical, pCritical};
            }
            pieces.push_back(std::move(piece));
        }
        return pieces;
    }

    // From the three-phase curve up to 5000 bar, or to where the liquidus of
    // w reaches 0 C (the liquidus at 0 C grows saltier with pressure).
    std::vector<TracedPiece> liquidus() {
        if (!std::isfinite(tThreePhase)) return {};
        m.setTemperature(tThreePhase);
        const double p0 = m.threePhasePressure();
        double p1 = highestPressure;
        double t1 = isopleth::liquidusTemperature(m, p1, x);
        if (!std::isfinite(t1)) {
            auto f = [&](double p) {
                m.setTemperature(lowestTemperature);
                return m.liquidus(p) - x;
            };
            p1 = brentRoot(f, p0, highestPressure, f(p0), f(highestPressure));
            t1 = lowestTemperature;
            if (!std::isfinite(p1)) return {};
        }
        const double l0 = std::log(p0);
        const double l1 = std::log(p1);
        TracedPiece piece;
        piece.points = sampleCurve(
            [&](double s) {
                if (s <= l0) return Point{tThreePhase, p0};
                if (s >= l1) return Point{t1, p1};
                const double p = std::exp(s);
                return Point{isopleth::liquidusTemperature(m, p, x), p};
            },
            l0, l1, 12, resolution);
        return {piece};
    }

    // The three-phase curve over the temperatures where its vapour is poorer
    // than w, with the meeting point of liquidus and bubble curve included.
    std::vector<TracedPiece> threePhase() {
        auto g = [&](double t) {
            m.setTemperature(t);
            return m.haliteVapor(m.threePhasePressure()) - x;
        };
        const std::vector<double> ts = grid(lowestTemperature, tTriple, 40, nearTriplePoint);
        // Intervals of t where g < 0, their ends closed by Brent's method.
        std::vector<std::pair<double, double>> intervals;
        double start = g(ts[0]) < 0.0 ? ts[0] : nan;
        double tPrev = ts[0], gPrev = g(ts[0]);
        for (std::size_t i = 1; i < ts.size(); ++i) {
            const double gi = g(ts[i]);
            if ((gPrev < 0.0) != (gi < 0.0)) {
                const double root = brentRoot(g, tPrev, ts[i], gPrev, gi);
                if (gi < 0.0) {
                    start = root;
                } else {
                    intervals.emplace_back(start, root);
                    start = nan;
                }
            }
            tPrev = ts[i];
            gPrev = gi;
        }
        if (std::isfinite(start)) intervals.emplace_back(start, tTriple);
        std::vector<TracedPiece> pieces;
        auto at = [&](double t) {
            m.setTemperature(t);
            return Point{t, m.threePhasePressure()};
        };
        for (const auto& [a, b] : intervals) {
            TracedPiece piece;
            if (std::isfinite(tThreePhase) && tThreePhase > a && tThreePhase < b) {
                piece.points = sampleCurve(at, a, tThreePhase, 8, resolution);
                std::vector<Point> upper = sampleCurve(at, tThreePhase, b, 8, resolution);
                piece.points.insert(piece.points.end(), upper.begin() + 1, upper.end());
            } else {
                piece.points = sampleCurve(at, a, b, 8, resolution);
            }
            pieces.push_back(std::move(piece));
        }
        return pieces;
    }

    std::vector<TracedPiece> vaporHalite() {
        RootFamily family;
        family.residual = [&](double t, double p) {
            m.setTemperature(t);
            return m.haliteVapor(p) - x;
        };
        family.bottom = [&](double t) {
            m.setTemperature(t);
            return m.sublimationPressure();
        };
        family.top = [&](double t) {
            m.setTemperature(t);
            return m.threePhasePressure();
        };
        return traceRootFamily(family, grid(lowestTemperature, haliteVaporTop, 12, {}), resolution);
    }

  private:
    // Drops the points whose composition is w only to more than 1e-10
    // relative: just above the critical temperature of w the vapour
    // composition changes by a part in a thousand between neighbouring
    // pressures next to the critical pressure, and no pressure in double
    // precision has the composition w. The critical point itself stays.
    void keepResolved(TracedPiece& piece, const RootFamily& family) const {
        auto& points = piece.points;
        points.erase(std::remove_if(points.begin(), points.end(),
                                    [&](const Point& q) {
                                        if (q.wtPercent == tCritical) return false;
                                        return !(std::fabs(family.residual(q.wtPercent, q.value)) <=
                                                 1e-10 * x);
                                    }),
                     points.end());
    }

    double w;  // [wt%]
    double x;  // [mole fraction]
    IsoplethModel m;
    Resolution resolution;
    double tCritical = nan;    // critical point of w [C]
    double pCritical = nan;    // [bar]
    double tThreePhase = nan;  // where the three-phase liquid is w [C]
};

}  // namespace

bool traceIsoplethSection(double wt, SectionTracer& tr) {
    if (!(wt > 0.0 && wt < 100.0)) return true;  // no mixture: no boundaries
    IsoplethTracer t(wt);
    const std::vector<TracedPiece> vl = t.vaporLiquid();
    const std::vector<TracedPiece> lh = t.liquidus();
    const std::vector<TracedPiece> vlh = t.threePhase();
    const std::vector<TracedPiece> vh = t.vaporHalite();
    auto present = [](const std::vector<TracedPiece>& pieces) {
        for (const TracedPiece& p : pieces) {
            if (p.points.size() >= 2) return true;
        }
        return false;
    };
    std::ostream& out = tr.console();
    out << "The stable phase diagram boundaries are : \n";
    if (present(vl)) out << "- the VL surface\n";
    if (present(lh)) out << "- the halite liquidus\n";
    if (present(vlh)) out << "- the VLH surface\n";
    if (present(vh)) out << "- the VH surface\n";
    return writePieces(tr, "liquid+vapor_", wt, "wt.dat", "VL", vl) &&
           writePieces(tr, "liquid+halite_", wt, "wt.dat", "LH", lh) &&
           writePieces(tr, "vapor+liquid+halite_", wt, "wt.dat", "VLH", vlh) &&
           writePieces(tr, "vapor+halite_", wt, "wt.dat", "VH", vh);
}

}  // namespace quarvessin
