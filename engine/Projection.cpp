#include "engine/Projection.h"

#include <quarvessin/composition.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/WaterCriticalPoint.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "engine/IsoplethSolver.h"
#include "engine/IsoplethTrace.h"

namespace quarvessin {

namespace {

constexpr double lowestTemperature = 0.0;      // of the correlations [C]
constexpr double highestTemperature = 1000.0;  // of the correlations [C]
constexpr double lowestPressure = 1.0;         // of the correlations [bar]
constexpr double highestPressure = 5000.0;     // of the correlations [bar]
constexpr double tTriple = NaClTriplePoint::Ttriple;
// Triple point of water, 273.16 K [C] (see IsoplethSection.cpp).
constexpr double waterTriplePoint = 273.16 - model_units::kelvinOffset;

// A curve over [a, b] sampled for display, as one piece.
std::vector<TracedPiece> onePiece(const std::function<Point(double)>& at, double a, double b,
                                  int initial, const Resolution& r) {
    return {TracedPiece{sampleCurve(at, a, b, initial, r), Branch::None}};
}

// Joins curves sampled over neighbouring intervals into one piece, the
// shared point once.
std::vector<TracedPiece> joined(std::vector<Point> a, const std::vector<Point>& b) {
    if (!a.empty() && !b.empty() && a.back().wtPercent == b.front().wtPercent) a.pop_back();
    a.insert(a.end(), b.begin(), b.end());
    return {TracedPiece{std::move(a), Branch::None}};
}

std::string fileOf(const std::string& phases) { return phases + "_" + projectionSuffix; }

}  // namespace

bool traceProjection(SectionTracer& tr) {
    IsoplethModel m;
    const Resolution r;
    auto threePhase = [&](double t) {
        m.setTemperature(t);
        return Point{t, m.threePhasePressure()};
    };
    const double tMax = HaliteLiquidVaporCurve::TatPmax();
    const std::vector<TracedPiece> vlh =
        joined(sampleCurve(threePhase, lowestTemperature, tMax, 32, r),
               sampleCurve(threePhase, tMax, tTriple, 16, r));
    const std::vector<TracedPiece> critical = onePiece(
        [&](double t) {
            m.setTemperature(t);
            return Point{t, m.criticalPressure()};
        },
        WaterCriticalPoint::Tc, highestTemperature, 32, r);
    const std::vector<TracedPiece> water = onePiece(
        [&](double t) {
            m.setTemperature(t);
            return Point{
                t, t >= WaterCriticalPoint::Tc ? WaterCriticalPoint::Pc : m.waterVaporPressure()};
        },
        waterTriplePoint, WaterCriticalPoint::Tc, 32, r);
    const double l0 = std::log(lowestPressure);
    const double l1 = std::log(highestPressure);
    const std::vector<TracedPiece> melting = onePiece(
        [&](double s) {
            const double p = s <= l0 ? lowestPressure : s >= l1 ? highestPressure : std::exp(s);
            return Point{m.meltingTemperature(p), p};
        },
        l0, l1, 16, r);
    const std::vector<TracedPiece> boiling = onePiece(
        [&](double t) {
            m.setTemperature(t);
            return Point{t, m.boilingPressure()};
        },
        tTriple, highestTemperature, 16, r);
    const std::vector<TracedPiece> sublimation = onePiece(
        [&](double t) {
            m.setTemperature(t);
            return Point{t, m.sublimationPressure()};
        },
        lowestTemperature, tTriple, 32, r);

    std::ostream& out = tr.console();
    out << "The stable phase diagram boundaries are : \n"
        << "- the VLH curve\n"
        << "- the critical curve\n"
        << "- the boiling curve of water\n"
        << "- the melting curve of halite\n"
        << "- the boiling curve of NaCl\n"
        << "- the sublimation curve of halite\n";
    return writeNamedPieces(tr, "vapor+liquid+halite", fileOf("vapor+liquid+halite"), "VLH", vlh) &&
           writeNamedPieces(tr, "critical", fileOf("critical"), "critical", critical) &&
           writeNamedPieces(tr, "water-liquid+vapor", fileOf("water-liquid+vapor"), "water LV",
                            water) &&
           writeNamedPieces(tr, "nacl-halite+liquid", fileOf("nacl-halite+liquid"), "NaCl HL",
                            melting) &&
           writeNamedPieces(tr, "nacl-liquid+vapor", fileOf("nacl-liquid+vapor"), "NaCl LV",
                            boiling) &&
           writeNamedPieces(tr, "nacl-halite+vapor", fileOf("nacl-halite+vapor"), "NaCl HV",
                            sublimation);
}

bool traceProjectionCompositions(SectionTracer& tr) {
    IsoplethModel m;
    Resolution r;
    r.pressureSpan = 100.0;  // the composition axis [wt%]
    r.logDecades = 25.0;     // the three-phase vapour spans about 23 decades
    auto liquid = [&](double t) {
        m.setTemperature(t);
        return Point{t, wtPercent(m.liquidus(m.threePhasePressure()))};
    };
    auto vapor = [&](double t) {
        m.setTemperature(t);
        return Point{t, wtPercent(m.haliteVapor(m.threePhasePressure()))};
    };
    auto critical = [&](double t) {
        m.setTemperature(t);
        return Point{t, wtPercent(m.criticalComposition())};
    };
    return writeNamedPieces(tr, "vapor+liquid+halite-liquid", fileOf("vapor+liquid+halite-liquid"),
                            "VLH liquid", onePiece(liquid, lowestTemperature, tTriple, 32, r)) &&
           writeNamedPieces(tr, "vapor+liquid+halite-vapor", fileOf("vapor+liquid+halite-vapor"),
                            "VLH vapor", onePiece(vapor, lowestTemperature, tTriple, 32, r)) &&
           writeNamedPieces(tr, "critical-composition", fileOf("critical-composition"),
                            "critical composition",
                            onePiece(critical, WaterCriticalPoint::Tc, highestTemperature, 32, r));
}

}  // namespace quarvessin
