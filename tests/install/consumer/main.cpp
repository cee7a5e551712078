// Uses the installed package the way another program would: a section from
// the engine, one model class bound to the program's own t and p, and one
// direct call of the water library, which comes along with it.
#include <quarvessin/format.h>
#include <quarvessin/kinds.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/phase_state.h>
#include <quarvessin/section.h>
#include <quarvessin/water.h>

#include <cmath>
#include <cstdio>
#include <string>

using namespace quarvessin;

int main() {
    int failures = 0;

    // The isobaric section at 300 bar has four boundaries; the last point of
    // the liquidus is pure halite (100 wt%) at its melting temperature.
    const Section section = computeSection(SectionKind::Isobaric, 300.0);
    std::printf("isobar 300 bar: accepted %d, %zu boundaries\n", section.accepted,
                section.boundaries.size());
    bool liquidusEnds = false;
    for (const Boundary& b : section.boundaries) {
        if (b.phases == "liquid+halite" && !b.pieces.empty() && !b.pieces.back().empty()) {
            const Point last = b.pieces.back().back();
            const std::string text = formatBoundary(b);
            liquidusEnds = last.wtPercent == 100.0 && last.value > 800.0 &&
                           text.compare(text.size() - 1, 1, "\n") == 0;
        }
    }
    if (!section.accepted || section.boundaries.size() != 4 || !liquidusEnds) {
        std::printf("FAIL: section through the engine\n");
        ++failures;
    }

    // The presentation layer and the phase state through the installed
    // headers alone: the csv header of the kind's columns, the kind words,
    // and two phases at 400 C, 250 bar, 10 wt% whose fractions sum to one.
    const std::string csv = sectionCsv(section);
    const PhaseState state = phaseState(400.0, 250.0, 10.0);
    const SectionKindInfo* isopleth = findKind("isoplethal");
    if (csv.rfind("boundary,piece,branch,wt_percent,temperature_C\n", 0) != 0 ||
        state.assemblage != Assemblage::LiquidVapor ||
        std::fabs(state.fractionVapor + state.fractionLiquid - 1.0) > 1e-12 ||
        isopleth == nullptr || isopleth->kind != SectionKind::Isoplethal) {
        std::printf("FAIL: presentation layer or phase state\n");
        ++failures;
    }

    // At 0 C the reduced temperature t / Thm is 0, so the liquidus
    // composition equals the constant term of its polynomial, which at 0 bar
    // is the stored coefficient 0.0989944 (about 26.3 wt% NaCl).
    double t = 0.0;
    double p = 0.0;
    HaliteLiquidus liquidus(&t, &p);
    liquidus.Refresh();
    const double xExpected = 0.0989944;
    std::printf("halite liquidus at 0 C, 0 bar: xL = %.9g (expected %.9g)\n", liquidus.xL,
                xExpected);
    if (!(std::fabs(liquidus.xL - xExpected) <= 1e-15)) {
        std::printf("FAIL: halite liquidus composition\n");
        ++failures;
    }

    // Liquid water at 300 K and 0.1 MPa: reference density 996.5563404 kg/m3
    // (IAPWS-95 reference table shipped with the project's documents); the
    // 1984 equation of state agrees to a relative 1e-4.
    WaterProps* rec = newProp('T', 'p', 0);
    if (rec == nullptr) {
        std::printf("FAIL: newProp returned no record\n");
        return 1;
    }
    propTp(300.0, 1.0e5, 1000.0, 1e-8, rec);
    const double dExpected = 996.5563404;
    std::printf("water at 300 K, 0.1 MPa: status %d, d = %.7g kg/m3 (expected %.7g)\n", rec->status,
                rec->d, dExpected);
    if (rec->status != 0 || !(std::fabs(rec->d - dExpected) <= 1e-4 * dExpected)) {
        std::printf("FAIL: water density\n");
        ++failures;
    }
    freeProp(rec);

    return failures == 0 ? 0 : 1;
}
