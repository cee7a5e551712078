// The surfaces of the phase diagram as meshes, isotherm by isotherm from the
// model's correlations.
#include <quarvessin/composition.h>
#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteMelting.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClBoilingCurve.h>
#include <quarvessin/model/NaClSublimationCurve.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/model/WaterCriticalPoint.h>
#include <quarvessin/surfaces.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

namespace quarvessin {

namespace {

// The ranges the options may ask for: the temperatures of the correlations
// and the highest pressure of the sections.
constexpr double lowestTemperature = 0.0;      // [C]
constexpr double highestTemperature = 1000.0;  // [C]
constexpr double highestPressure = 5000.0;     // [bar]
constexpr int mostIsotherms = 10000;           // resolution and samples, each
constexpr long mostPoints = 1000000;           // resolution times samples: points a sheet
// Dense points per sample when placing the samples of a curve along its length.
constexpr int densePerSample = 2;
// Bisection steps when solving for a pressure: far more than the 52 bits of a
// double need, so the bracket stops at neighbouring doubles.
constexpr int bisectionSteps = 200;

// Relative rounding of the melting pressure of halite at its own melting
// temperature [-].
constexpr double meltingRounding = 1e-12;

constexpr double tWater = WaterCriticalPoint::Tc;
constexpr double tTriple = NaClTriplePoint::Ttriple;

// Distances below the triple point of NaCl [C] of the extra isotherms: the
// vapour corner of the three-phase tie line swings from almost pure water to
// pure NaCl within the last hundredth of a degree, as the three-phase pressure
// falls to the triple-point pressure.
constexpr double belowTriple[] = {10.0, 3.0,  1.0,  0.3,  0.1,  0.03, 0.01, 3e-3, 1e-3,
                                  3e-4, 1e-4, 3e-5, 1e-5, 3e-6, 1e-6, 3e-7, 1e-7};
// ... and above it, where the NaCl-rich sheets start at the boiling and
// melting curves of NaCl.
constexpr double aboveTriple[] = {0.01, 0.1, 1.0, 3.0};
// Around the critical point of water, where the top of the vapour-liquid loop
// passes from pure water to the critical curve of the solution [C].
constexpr double aroundWaterCritical[] = {0.01, 0.1, 1.0};
// Around the pressure maximum of the three-phase curve [C].
constexpr double aroundThreePhaseMaximum[] = {2.5};
// Just above the triple point of water (0.01 C), the lowest temperature at
// which the water library gives a vapour pressure, so the vapour-liquid
// surface starts there [C].
constexpr double aboveWaterTriple = 0.011;

// The model objects of one isotherm, bound to (t, p).
struct ModelState {
    ModelState() = default;
    ModelState(const ModelState&) = delete;
    ModelState& operator=(const ModelState&) = delete;

    double t = 0.0;  // temperature [C]
    double p = 1.0;  // pressure [bar]
    CriticalCurve critical{&t};
    NaClSublimationCurve sublimation{&t, &p};
    NaClBoilingCurve boiling{&t, &p};
    HaliteMelting melting{&t, &p};
    HaliteLiquidus liquidus{&t, &p};
    PureWater water{&t, &p};
    HaliteLiquidVaporCurve hlv{&t};
    HaliteSaturatedVapor haliteVapor{&t, &p};
    VLLiquidBranch liquidBranch{&t, &p};
    VLVaporBranch vaporBranch{&t, &p};
};

// A composition of a sheet as a function of pressure on an isotherm.
enum class Sheet { Liquid, Vapor, Liquidus, HaliteVapor };

// The sheet's composition at the state's temperature and pressure p
// [mole fraction NaCl].
double composition(ModelState& s, Sheet sheet, double p) {
    s.p = p;
    switch (sheet) {
        case Sheet::Liquid:
            s.liquidBranch.Refresh();
            return s.liquidBranch.X;
        case Sheet::Vapor:
            s.vaporBranch.Refresh();
            return s.vaporBranch.X;
        case Sheet::Liquidus:
            s.liquidus.Refresh();
            return s.liquidus.xL;
        case Sheet::HaliteVapor:
            s.haliteVapor.Refresh();
            return s.haliteVapor.xVH;
    }
    return NAN;
}

// Rounding of a composition that ends at pure water or pure NaCl: the
// branches give -1e-17 at the vapour pressure of water, the liquidus
// 1 + 2e-16 at the melting curve [mole fraction NaCl].
constexpr double compositionRounding = 1e-12;

// A composition the mesh keeps: a number from pure water to pure NaCl, to
// rounding. The vertex keeps the model's number as it is.
bool physical(double x) { return x >= -compositionRounding && x <= 1.0 + compositionRounding; }

// What the isotherm needs of the univariant curves.
struct Isotherm {
    double t = 0.0;
    double pThree = NAN;     // three-phase pressure, up to the triple point [bar]
    double pSub = NAN;       // sublimation pressure of halite [bar]
    double pTop = NAN;       // top of the vapour-liquid loop [bar]
    bool pureWater = false;  // the loop closes at pure water (not at the critical point)
    double pBoil = NAN;      // boiling pressure of liquid NaCl, above the triple point [bar]
    double pMelt = NAN;      // melting pressure of halite, above the triple point [bar]
};

Isotherm isothermAt(ModelState& s, double t) {
    Isotherm iso;
    iso.t = t;
    s.t = t;
    if (t <= tTriple) {
        s.hlv.Refresh();
        iso.pThree = s.hlv.P;
        s.sublimation.Refresh();
        iso.pSub = s.sublimation.Psub;
    } else {
        s.boiling.Refresh();
        iso.pBoil = s.boiling.Pboil;
        iso.pMelt = s.melting.MeltingPressure(&s.t);
    }
    iso.pureWater = t <= tWater;
    if (iso.pureWater) {
        iso.pTop = s.water.VaporPressure() * model_units::paToBar;
    } else {
        s.critical.Refresh();
        iso.pTop = s.critical.Pcrit;
    }
    return iso;
}

// The pressure between `low` and `high` where the vapour branch reaches pure
// NaCl, by bisection in log p; the end of the final bracket on the side of
// physical compositions. Above the triple point the branch starts above pure
// NaCl at the boiling pressure of NaCl (a formal continuation) and falls
// below it within a fraction of a decade.
double vaporAtPureNaCl(ModelState& s, double low, double high) {
    auto below = [&](double p) { return composition(s, Sheet::Vapor, p) <= 1.0; };
    if (below(low)) return low;
    if (!below(high)) return NAN;
    for (int i = 0; i < bisectionSteps; ++i) {
        const double mid = std::sqrt(low * high);
        if (!(mid > low && mid < high)) break;
        if (below(mid)) {
            high = mid;
        } else {
            low = mid;
        }
    }
    return high;
}

// A vertex of an isotherm's column, when the model gives one.
using Slot = std::optional<std::array<double, 3>>;

// The pressures of a column from `low` to `high`: evenly spaced in log p,
// or (clusterTop) in log p by u(2 - u), dense where the sheet ends in the
// square-root shape of a critical point.
double pressureAt(double low, double high, double u, bool clusterTop) {
    if (u <= 0.0 || low == high) return low;
    if (u >= 1.0) return high;
    const double g = clusterTop ? u * (2.0 - u) : u;
    // exp of log may round past either end of a narrow range.
    return std::clamp(std::exp(std::log(low) + (std::log(high) - std::log(low)) * g), low, high);
}

// The sheet on the isotherm between the pressures low and high, as `count`
// model points spread evenly along the curve as drawn (log p over `decades`,
// wt% over 100). The curve is first followed densely; each sample's pressure
// is placed along that length, and the sample is the model's composition at
// that pressure.
std::vector<Slot> sampleColumn(ModelState& s, Sheet sheet, double low, double high, bool clusterTop,
                               int count, double decades) {
    const int dense = densePerSample * (count - 1) + 1;
    std::vector<double> u(static_cast<std::size_t>(dense));
    std::vector<double> length(u.size(), 0.0);
    double lastY = 0.0, lastZ = 0.0;
    bool haveLast = false;
    for (int k = 0; k < dense; ++k) {
        const auto i = static_cast<std::size_t>(k);
        u[i] = static_cast<double>(k) / (dense - 1);
        const double p = pressureAt(low, high, u[i], clusterTop);
        const double x = composition(s, sheet, p);
        double step = 0.0;
        if (physical(x)) {
            const double y = std::log10(p) / decades;
            const double z = wtPercent(x) / 100.0;
            if (haveLast) step = std::hypot(y - lastY, z - lastZ);
            lastY = y;
            lastZ = z;
            haveLast = true;
        }
        length[i] = (k == 0 ? 0.0 : length[i - 1]) + step;
    }
    const double total = length.back();
    std::vector<Slot> column;
    column.reserve(static_cast<std::size_t>(count));
    std::size_t k = 0;
    for (int j = 0; j < count; ++j) {
        double uj = static_cast<double>(j) / (count - 1);
        if (total > 0.0 && j > 0 && j < count - 1) {
            const double target = total * uj;
            while (k + 1 < length.size() && length[k + 1] < target) ++k;
            const double span = length[k + 1] - length[k];
            uj = span > 0.0 ? u[k] + (u[k + 1] - u[k]) * (target - length[k]) / span : u[k];
        }
        const double p = pressureAt(low, high, uj, clusterTop);
        const double x = composition(s, sheet, p);
        if (physical(x)) {
            column.push_back(std::array<double, 3>{s.t, p, wtPercent(x)});
        } else {
            column.emplace_back();
        }
    }
    return column;
}

// Builds a mesh from its columns, one per isotherm (empty where the surface
// is absent), stitching neighbouring columns sample by sample.
class MeshBuilder {
  public:
    MeshBuilder(SurfaceMesh& mesh, double decades) : mesh_(mesh), decades_(decades) {}

    void addColumn(const std::vector<Slot>& slots) {
        std::vector<std::optional<std::uint32_t>> indices;
        bool any = false;
        for (const Slot& slot : slots) {
            if (slot) {
                if (!any && previous_.empty()) ++piece_;
                any = true;
                indices.emplace_back(static_cast<std::uint32_t>(mesh_.vertices.size()));
                mesh_.vertices.push_back(*slot);
                mesh_.pieces.push_back(piece_);
            } else {
                indices.emplace_back();
            }
        }
        if (!any) {
            previous_.clear();
            return;
        }
        if (!previous_.empty()) stitch(previous_, indices);
        previous_ = std::move(indices);
    }

    // No column on this isotherm: the next column starts a new piece.
    void gap() { previous_.clear(); }

  private:
    using Column = std::vector<std::optional<std::uint32_t>>;

    // Position as drawn: T over 1000 C, log p over the decades, wt% over 100.
    std::array<double, 3> drawn(std::uint32_t i) const {
        const auto& v = mesh_.vertices[i];
        return {v[0] / 1000.0, std::log10(v[1]) / decades_, v[2] / 100.0};
    }
    double distance(std::uint32_t a, std::uint32_t b) const {
        const auto pa = drawn(a), pb = drawn(b);
        return std::hypot(pa[0] - pb[0], pa[1] - pb[1], pa[2] - pb[2]);
    }

    void triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
        const auto& va = mesh_.vertices[a];
        const auto& vb = mesh_.vertices[b];
        const auto& vc = mesh_.vertices[c];
        if (va == vb || vb == vc || va == vc) return;  // no area
        mesh_.triangles.push_back({a, b, c});
    }

    void stitch(const Column& left, const Column& right) {
        const std::size_t n = std::min(left.size(), right.size());
        for (std::size_t j = 0; j + 1 < n; ++j) {
            // The quad a (left, j), b (left, j+1), c (right, j+1), d (right, j),
            // cut along its shorter diagonal; with one corner missing, the
            // triangle of the other three.
            const auto& a = left[j];
            const auto& b = left[j + 1];
            const auto& c = right[j + 1];
            const auto& d = right[j];
            const int present = int(bool(a)) + int(bool(b)) + int(bool(c)) + int(bool(d));
            if (present == 4) {
                if (distance(*a, *c) <= distance(*b, *d)) {
                    triangle(*a, *d, *c);
                    triangle(*a, *c, *b);
                } else {
                    triangle(*a, *d, *b);
                    triangle(*d, *c, *b);
                }
            } else if (present == 3) {
                std::uint32_t corner[3];
                int m = 0;
                for (const auto* q : {&a, &d, &c, &b}) {
                    if (*q) corner[m++] = **q;
                }
                triangle(corner[0], corner[1], corner[2]);
            }
        }
    }

    SurfaceMesh& mesh_;
    double decades_;
    Column previous_;
    std::uint32_t piece_ = 0;  // pieces counted from 1 as they start
};

std::vector<double> temperatureGrid(const SurfaceOptions& o, ModelState& s) {
    std::vector<double> t;
    const int n = o.resolution;
    for (int i = 0; i < n; ++i) t.push_back(o.tMin + (o.tMax - o.tMin) * i / (n - 1));
    t.back() = o.tMax;
    std::vector<double> extra = {aboveWaterTriple, tWater, tTriple,
                                 HaliteLiquidVaporCurve::TatPmax()};
    s.p = o.pMax;
    extra.push_back(s.melting.MeltingTemperature(&s.p));  // the liquidus ends at pMax
    for (double d : belowTriple) extra.push_back(tTriple - d);
    for (double d : aboveTriple) extra.push_back(tTriple + d);
    for (double d : aroundWaterCritical) {
        extra.push_back(tWater - d);
        extra.push_back(tWater + d);
    }
    for (double d : aroundThreePhaseMaximum) {
        extra.push_back(HaliteLiquidVaporCurve::TatPmax() - d);
        extra.push_back(HaliteLiquidVaporCurve::TatPmax() + d);
    }
    for (double x : extra) {
        if (x > o.tMin && x < o.tMax) t.push_back(x);
    }
    std::sort(t.begin(), t.end());
    t.erase(std::unique(t.begin(), t.end()), t.end());
    return t;
}

std::string refusal(const SurfaceOptions& o) {
    auto finite = [](double v) { return std::isfinite(v); };
    if (o.resolution < 2 || o.resolution > mostIsotherms) {
        return "resolution " + std::to_string(o.resolution) +
               " is out of range (valid: 2 to 10000 isotherms)";
    }
    if (o.samples < 2 || o.samples > mostIsotherms) {
        return "samples " + std::to_string(o.samples) +
               " is out of range (valid: 2 to 10000 points an isotherm)";
    }
    if (static_cast<long>(o.resolution) * o.samples > mostPoints) {
        return "resolution " + std::to_string(o.resolution) + " times samples " +
               std::to_string(o.samples) + " is out of range (valid: up to 1000000 points a sheet)";
    }
    if (!finite(o.tMin) || !finite(o.tMax) || !(o.tMin >= lowestTemperature) ||
        !(o.tMax <= highestTemperature) || !(o.tMin < o.tMax)) {
        return "the temperature range is out of range (valid: from 0 to 1000 C, lowest below "
               "highest)";
    }
    if (!finite(o.pMin) || !finite(o.pMax) || !(o.pMin > 0.0) || !(o.pMax <= highestPressure) ||
        !(o.pMin < o.pMax)) {
        return "the pressure range is out of range (valid: above 0 up to 5000 bar, lowest below "
               "highest)";
    }
    return {};
}

}  // namespace

Surfaces computeSurfaces(const SurfaceOptions& o) {
    Surfaces result;
    result.refusal = refusal(o);
    if (!result.refusal.empty()) return result;
    result.accepted = true;

    ModelState s;
    result.temperatures = temperatureGrid(o, s);
    const double decades = std::log10(o.pMax / o.pMin);
    const char* names[][2] = {{"vapor+liquid-liquid", "vapor+liquid"},
                              {"vapor+liquid-vapor", "vapor+liquid"},
                              {"liquidus", "liquidus"},
                              {"three-phase", "three-phase"},
                              {"vapor+halite", "vapor+halite"},
                              {"critical-curve", "critical"}};
    for (const auto& name : names) {
        SurfaceMesh mesh;
        mesh.name = name[0];
        mesh.boundary = name[1];
        result.surfaces.push_back(std::move(mesh));
    }
    SurfaceMesh& liquid = result.surfaces[0];
    SurfaceMesh& vapor = result.surfaces[1];
    SurfaceMesh& liquidus = result.surfaces[2];
    SurfaceMesh& three = result.surfaces[3];
    SurfaceMesh& haliteVapor = result.surfaces[4];
    SurfaceMesh& critical = result.surfaces[5];
    MeshBuilder liquidMesh(liquid, decades), vaporMesh(vapor, decades),
        liquidusMesh(liquidus, decades), threeMesh(three, decades),
        haliteVaporMesh(haliteVapor, decades);
    bool criticalRuns = false;  // the previous isotherm had a point of the curve
    std::uint32_t lastCritical = 0;
    std::uint32_t criticalPiece = 0;

    const int n = o.samples;
    auto inRange = [&](double p) { return p >= o.pMin && p <= o.pMax; };
    // A column of `sheet` between the pressures low and high, cut to the range.
    auto column = [&](MeshBuilder& mesh, Sheet sheet, double low, double high, bool clusterTop) {
        low = std::max(low, o.pMin);
        high = std::min(high, o.pMax);
        if (!(low <= high)) {
            mesh.gap();
            return;
        }
        mesh.addColumn(sampleColumn(s, sheet, low, high, clusterTop, n, decades));
    };

    for (double t : result.temperatures) {
        const Isotherm iso = isothermAt(s, t);
        const bool belowTriple = t <= tTriple;

        // The vapour-liquid surface: from the three-phase pressure (or, above
        // the triple point, the boiling curve of NaCl) up to the loop top.
        const double liquidBottom = belowTriple ? iso.pThree : iso.pBoil;
        column(liquidMesh, Sheet::Liquid, liquidBottom, iso.pTop, !iso.pureWater);
        double vaporBottom = iso.pThree;
        if (!belowTriple && iso.pBoil < iso.pTop) {
            vaporBottom = vaporAtPureNaCl(s, std::max(iso.pBoil, o.pMin), iso.pTop);
        }
        column(vaporMesh, Sheet::Vapor, vaporBottom, iso.pTop, !iso.pureWater);

        // The halite liquidus up to the top pressure, from the three-phase
        // pressure or, above the triple point, from the melting curve.
        double liquidusBottom = belowTriple ? iso.pThree : iso.pMelt;
        // At the melting point of halite at the top pressure the liquidus
        // closes in pure NaCl: its melting pressure is the top pressure to
        // rounding.
        if (liquidusBottom > o.pMax && liquidusBottom <= o.pMax * (1.0 + meltingRounding)) {
            liquidusBottom = o.pMax;
        }
        column(liquidusMesh, Sheet::Liquidus, liquidusBottom, o.pMax, false);

        // The vapour + halite surface, from the sublimation pressure of halite
        // up to the three-phase pressure.
        if (belowTriple) {
            column(haliteVaporMesh, Sheet::HaliteVapor, iso.pSub, iso.pThree, false);
        } else {
            haliteVaporMesh.gap();
        }

        // The three-phase tie line: vapour, liquid and halite at one pressure.
        if (belowTriple && inRange(iso.pThree)) {
            std::vector<Slot> corners;
            for (double x : {composition(s, Sheet::HaliteVapor, iso.pThree),
                             composition(s, Sheet::Liquidus, iso.pThree), 1.0}) {
                if (physical(x)) {
                    corners.push_back(std::array<double, 3>{t, iso.pThree, wtPercent(x)});
                } else {
                    corners.emplace_back();
                }
            }
            threeMesh.addColumn(corners);
        } else {
            threeMesh.gap();
        }

        // The critical curve of the solution, from the critical point of water.
        s.critical.Refresh();
        const double pc = s.critical.Pcrit;
        const double xc = s.critical.Xcrit;
        if (t >= tWater && inRange(pc) && physical(xc)) {
            if (!criticalRuns) ++criticalPiece;
            const auto index = static_cast<std::uint32_t>(critical.vertices.size());
            critical.vertices.push_back({t, pc, wtPercent(xc)});
            critical.pieces.push_back(criticalPiece);
            if (criticalRuns) critical.lines.push_back({lastCritical, index});
            lastCritical = index;
            criticalRuns = true;
        } else {
            criticalRuns = false;
        }
    }
    return result;
}

}  // namespace quarvessin
