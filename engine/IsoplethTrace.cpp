#include "engine/IsoplethTrace.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "engine/IsoplethSolver.h"

namespace quarvessin {

namespace {

bool finite(const Point& p) { return std::isfinite(p.wtPercent) && std::isfinite(p.value); }

// Distance of m from the line through a and b, in the plot's fractions
// (x, y): zero when a and b coincide.
double chordDistance(double ax, double ay, double mx, double my, double bx, double by) {
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length = std::hypot(dx, dy);
    if (!(length > 0.0)) return std::hypot(mx - ax, my - ay);
    return std::fabs((mx - ax) * dy - (my - ay) * dx) / length;
}

// Appends the points strictly between (s0, a) and (s1, b), halving while the
// curve bends (the last midpoint tested kept), then b.
void refine(const std::function<Point(double)>& at, double s0, const Point& a, double s1,
            const Point& b, int depth, const Resolution& r, std::vector<Point>& out) {
    if (depth < r.maxDepth) {
        const double sm = 0.5 * (s0 + s1);
        const Point m = at(sm);
        if (finite(m) && bends(a, m, b, r)) {
            refine(at, s0, a, sm, m, depth + 1, r, out);
            refine(at, sm, m, s1, b, depth + 1, r, out);
            return;
        }
        // The midpoint, paid for, halves the chord's distance from the curve.
        if (finite(m)) out.push_back(m);
    }
    out.push_back(b);
}

}  // namespace

bool bends(const Point& a, const Point& m, const Point& b, const Resolution& r) {
    const double xs = 1.0 / r.temperatureSpan;
    const double ys = 1.0 / r.pressureSpan;
    if (chordDistance(a.wtPercent * xs, a.value * ys, m.wtPercent * xs, m.value * ys,
                      b.wtPercent * xs, b.value * ys) > r.tolerance) {
        return true;
    }
    if (!(a.value > 0.0 && m.value > 0.0 && b.value > 0.0)) return false;
    const double ls = 1.0 / r.logDecades;
    return chordDistance(a.wtPercent * xs, std::log10(a.value) * ls, m.wtPercent * xs,
                         std::log10(m.value) * ls, b.wtPercent * xs,
                         std::log10(b.value) * ls) > r.tolerance;
}

std::vector<Point> sampleCurve(const std::function<Point(double)>& at, double s0, double s1,
                               int initial, const Resolution& r) {
    std::vector<Point> out;
    if (!(s1 >= s0) || initial < 1) return out;
    double sPrev = s0;
    Point prev = at(s0);
    if (finite(prev)) out.push_back(prev);
    for (int i = 1; i <= initial; ++i) {
        const double s = i == initial ? s1 : s0 + (s1 - s0) * i / initial;
        const Point next = at(s);
        if (!finite(next)) continue;
        if (finite(prev) && !out.empty()) {
            refine(at, sPrev, prev, s, next, 0, r, out);
        } else {
            out.push_back(next);
        }
        sPrev = s;
        prev = next;
    }
    return out;
}

namespace {

// The roots of a family at one temperature.
struct RootSet {
    double t;
    std::vector<double> p;
};

// Geometric interpolation of two positive pressures at fraction u.
double between(double pa, double pb, double u) {
    return std::exp(std::log(pa) + u * (std::log(pb) - std::log(pa)));
}

// Root of rank k at t, between sets a and b of as many roots (a.t < t < b.t):
// a bracket grown geometrically around the interpolation of the two
// neighbours' roots, kept inside the interpolated neighbouring roots and the
// range at t, and closed by Brent's method. NaN when no sign change is found
// there.
double localRoot(const RootFamily& family, double t, const RootSet& a, const RootSet& b,
                 std::size_t k) {
    const double u = (t - a.t) / (b.t - a.t);
    const double guess = between(a.p[k], b.p[k], u);
    double lowest = family.bottom(t);
    double highest = family.top(t);
    if (k > 0) lowest = std::max(lowest, std::sqrt(guess * between(a.p[k - 1], b.p[k - 1], u)));
    if (k + 1 < a.p.size()) {
        highest = std::min(highest, std::sqrt(guess * between(a.p[k + 1], b.p[k + 1], u)));
    }
    if (!(lowest > 0.0 && highest > lowest && guess > lowest && guess < highest)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    auto f = [&](double p) { return family.residual(t, p); };
    const double spread = std::fabs(std::log(a.p[k] / b.p[k]));
    double step = std::max(0.25 * spread, 1e-9);
    double lo = guess, hi = guess;
    double flo = f(guess), fhi = flo;
    if (flo == 0.0) return guess;
    for (int i = 0; i < 40; ++i) {
        const double nextLo = std::max(lowest, guess * std::exp(-step));
        const double nextHi = std::min(highest, guess * std::exp(step));
        const double fl = f(nextLo);
        if (fl * flo <= 0.0) return brentRoot(f, nextLo, lo, fl, flo);
        const double fh = f(nextHi);
        if (fh * fhi <= 0.0) return brentRoot(f, hi, nextHi, fhi, fh);
        lo = nextLo;
        flo = fl;
        hi = nextHi;
        fhi = fh;
        if (lo <= lowest && hi >= highest) break;
        step *= 2.0;
    }
    return std::numeric_limits<double>::quiet_NaN();
}

// Refines piece `rank` between two root sets with as many roots, appending
// the points after `a` up to `b`.
void refineRank(const RootFamily& family, const RootSet& a, const RootSet& b, std::size_t rank,
                int depth, const Resolution& r, std::vector<Point>& out) {
    const Point pa{a.t, a.p[rank]};
    const Point pb{b.t, b.p[rank]};
    if (depth < r.maxDepth) {
        const double tm = 0.5 * (a.t + b.t);
        const double pm = localRoot(family, tm, a, b, rank);
        if (std::isfinite(pm) && bends(pa, Point{tm, pm}, pb, r)) {
            // The midpoint set holds the neighbours' interpolations for the
            // other ranks: only `rank` is read from it below this level.
            RootSet m{tm, a.p};
            for (std::size_t k = 0; k < m.p.size(); ++k) m.p[k] = between(a.p[k], b.p[k], 0.5);
            m.p[rank] = pm;
            refineRank(family, a, m, rank, depth + 1, r, out);
            refineRank(family, m, b, rank, depth + 1, r, out);
            return;
        }
        if (std::isfinite(pm)) out.push_back(Point{tm, pm});
    }
    out.push_back(pb);
}

// |log(p/q)| below which two roots on either side of a change of the number
// of roots continue each other [-].
constexpr double sameRoot = 0.05;

}  // namespace

std::vector<double> familyRoots(const RootFamily& family, double t) {
    const double a = family.bottom(t);
    const double b = family.top(t);
    if (!(a > 0.0 && b > a)) return {};
    return sampledRoots([&](double p) { return family.residual(t, p); }, LogMap{a, b},
                        family.samples);
}

std::vector<TracedPiece> traceRootFamily(const RootFamily& family, const std::vector<double>& grid,
                                         const Resolution& r) {
    std::vector<TracedPiece> done;
    std::vector<TracedPiece> open;  // one per root of `last`
    if (grid.empty()) return done;
    auto rootsAt = [&](double t) { return RootSet{t, familyRoots(family, t)}; };
    auto extend = [&](const RootSet& a, const RootSet& b) {
        for (std::size_t k = 0; k < open.size(); ++k) {
            refineRank(family, a, b, k, 0, r, open[k].points);
        }
    };
    // Along one end of the range: the residual there, whose sign change in t
    // is a root crossing that end.
    auto atBottom = [&](double t) {
        return family.alongBottom ? family.alongBottom(t) : family.residual(t, family.bottom(t));
    };
    auto atTop = [&](double t) {
        return family.alongTop ? family.alongTop(t) : family.residual(t, family.top(t));
    };
    // The point where a root crosses an end at tc: the root at tc within a
    // relative 1e-7 of the end where there is one (the end's own value is as
    // accurate as tc, which near the NaCl triple point is not enough for the
    // composition), the end itself otherwise.
    auto crossingPoint = [&](double tc, double end) {
        auto f = [&](double p) { return family.residual(tc, p); };
        const double a = end * (1.0 - 1e-7), b = end * (1.0 + 1e-7);
        const double fa = f(a), fb = f(b);
        const double p = fa * fb < 0.0 ? brentRoot(f, a, b, fa, fb) : end;
        return Point{tc, p};
    };
    RootSet last = rootsAt(grid[0]);
    for (double p : last.p) open.push_back(TracedPiece{{Point{last.t, p}}, Branch::None});
    for (std::size_t i = 1; i < grid.size(); ++i) {
        RootSet next = rootsAt(grid[i]);
        if (next.p.size() == last.p.size()) {
            extend(last, next);
            last = std::move(next);
            continue;
        }
        // The change lies in (last.t, next.t): narrow it to [lo, hi].
        RootSet lo = last;
        RootSet hi = next;
        std::vector<Point> crossing;
        const double b0 = atBottom(lo.t), b1 = atBottom(hi.t);
        const double t0 = atTop(lo.t), t1 = atTop(hi.t);
        double tc = std::numeric_limits<double>::quiet_NaN();
        if (b0 * b1 < 0.0) {
            tc = brentRoot(atBottom, lo.t, hi.t, b0, b1);
            crossing.push_back(crossingPoint(tc, family.bottom(tc)));
        } else if (t0 * t1 < 0.0) {
            tc = brentRoot(atTop, lo.t, hi.t, t0, t1);
            crossing.push_back(crossingPoint(tc, family.top(tc)));
        }
        if (std::isfinite(tc)) {
            // The roots on either side are taken this far from the crossing:
            // closer to a critical point the composition of a root would be
            // lost between neighbouring pressures [C].
            const double d = 1e-3;
            if (tc - d > lo.t) lo = rootsAt(tc - d);
            if (tc + d < hi.t) hi = rootsAt(tc + d);
        } else {
            for (int k = 0; k < 16 && lo.p.size() != hi.p.size(); ++k) {
                RootSet m = rootsAt(0.5 * (lo.t + hi.t));
                if (m.p.size() == lo.p.size()) {
                    lo = std::move(m);
                } else {
                    hi = std::move(m);
                }
            }
        }
        if (lo.p.size() == last.p.size()) {
            extend(last, lo);
        } else {
            // A change between last and lo too: end the pieces at last.
            lo = last;
        }
        // Continue each open piece into the nearest unused root of hi.
        std::vector<TracedPiece> continued(hi.p.size());
        std::vector<bool> used(hi.p.size(), false);
        for (std::size_t k = 0; k < open.size(); ++k) {
            std::size_t best = hi.p.size();
            double bestDistance = sameRoot;
            for (std::size_t j = 0; j < hi.p.size(); ++j) {
                const double distance = std::fabs(std::log(hi.p[j] / lo.p[k]));
                if (!used[j] && distance < bestDistance) {
                    best = j;
                    bestDistance = distance;
                }
            }
            if (best < hi.p.size()) {
                used[best] = true;
                continued[best] = std::move(open[k]);
                continued[best].points.push_back(Point{hi.t, hi.p[best]});
            } else {
                if (!crossing.empty()) open[k].points.push_back(crossing[0]);
                done.push_back(std::move(open[k]));
            }
        }
        for (std::size_t j = 0; j < hi.p.size(); ++j) {
            if (used[j]) continue;
            continued[j].points = crossing;
            continued[j].points.push_back(Point{hi.t, hi.p[j]});
        }
        open = std::move(continued);
        last = std::move(hi);
        if (last.t < next.t) --i;  // go on from hi to the same grid temperature
    }
    for (TracedPiece& piece : open) done.push_back(std::move(piece));
    return done;
}

bool writePieces(SectionTracer& tr, const std::string& prefix, double value,
                 const std::string& suffix, const std::string& label,
                 const std::vector<TracedPiece>& pieces) {
    bool any = false;
    for (const TracedPiece& piece : pieces) any = any || piece.points.size() >= 2;
    if (!any) return true;
    BoundaryTrace b(tr);
    if (!b.open(prefix, value, suffix)) return false;
    b.announce("Writing " + label + " data to file " + b.name() + "\n");
    bool first = true;
    for (const TracedPiece& piece : pieces) {
        if (piece.points.size() < 2) continue;
        if (!first && !b.separate()) return false;
        first = false;
        if (piece.branch != Branch::None) b.markBranch(piece.branch);
        for (const Point& p : piece.points) {
            if (!b.writeRaw(p.wtPercent, p.value)) return false;
        }
    }
    return b.close();
}

// Mirrors BoundaryTrace for a file name given whole: the announcement
// reaches the console after the first accepted line, a refusal of the sink
// stops everything.
bool writeNamedPieces(SectionTracer& tr, const std::string& phases, const std::string& fileName,
                      const std::string& label, const std::vector<TracedPiece>& pieces) {
    bool any = false;
    for (const TracedPiece& piece : pieces) any = any || piece.points.size() >= 2;
    if (!any) return true;
    SectionSink& sink = tr.sink();
    const std::size_t index = tr.nextIndex();
    if (!sink.openBoundary(index, phases, fileName)) return false;
    bool announced = false;
    bool first = true;
    for (const TracedPiece& piece : pieces) {
        if (piece.points.size() < 2) continue;
        if (!first && !sink.separate(index)) return false;
        first = false;
        if (piece.branch != Branch::None) sink.branch(index, piece.branch);
        for (const Point& p : piece.points) {
            if (!sink.point(index, p)) return false;
            if (!announced) {
                tr.console() << "Writing " << label << " data to file " << fileName << "\n";
                announced = true;
            }
        }
    }
    return sink.closeBoundary(index);
}

}  // namespace quarvessin
