#include <quarvessin/model/IsobaricPhaseBoundaries.h>
#include <quarvessin/model/NaClTriplePoint.h>

#include <cmath>
#include <ostream>

namespace quarvessin {

namespace {
// Newton stops once the three-phase pressure at the iterate is this close to
// the target [bar].
constexpr double pressureTolerance = 1e-8;
// Bound of the Newton loop on the residual (the loop ends through the
// tolerance above long before) [bar].
constexpr double residualFloor = 1e-15;

void PrintNotConverged(std::ostream& out) {
    out << "IsobaricPhaseBoundaries::VLH_TemperatureFromP : Not converged after "
        << IsobaricPhaseBoundaries::cycleLimit << " cycles\n";
    out.flush();
}
}  // namespace

// Scalars are set before the members are built, so each member primes itself
// from a value that is already there; tWork has no meaning before a solver ran.
IsobaricPhaseBoundaries::IsobaricPhaseBoundaries(double* tPtr_, double* pPtr_, double* xPtr_)
    : tWork(0.0),
      residual(0.0),
      pCalc(0.0),
      dPdT(0.0),
      t(*tPtr_ - 1.0),
      p(*pPtr_ - 1.0),
      x(*xPtr_ + 0.5),
      tPtr(tPtr_),
      pPtr(pPtr_),
      xPtr(xPtr_),
      waterCritical(),
      stateless(),
      critical(&tWork),
      melting(&t, &p),
      liquidus(&tWork, &p),
      water(&t, &p),
      hlv(&tWork),
      haliteVapor(&tWork, &p),
      liquidBranch(&tWork, &p),
      vaporBranch(&tWork, &p) {}

void IsobaricPhaseBoundaries::CopyInputs() {
    t = *tPtr;
    p = *pPtr;
    x = *xPtr;
}

// The three-phase pressure rises from 0 C to its maximum and falls towards the
// NaCl triple point; each table starts Newton on its own side of the maximum,
// near the root.
double IsobaricPhaseBoundaries::VLH_StartTemperature(double p, double tGuess) {
    if (HaliteLiquidVaporCurve::TatPmax() < tGuess) {
        if (p > 390) return 596;
        if (p > 300) return 650;
        if (p > 100) return 700;
        return 795;
    }
    if (p <= 1) return 50;
    if (p <= 10) return 100;
    if (p <= 100) return 300;
    if (p <= 200) return 400;
    if (p <= 300) return 430;
    if (p <= 350) return 480;
    if (p <= 380) return 530;
    if (p <= 390) return 570;
    return 590;
}

double IsobaricPhaseBoundaries::VLH_TemperatureFromP(const double* p, double tGuess) {
    const double pMax = hlv.Pmax();
    const double tAtPmax = hlv.TatPmax();

    if (pMax < *p) {
        *messages
            << "IsobaricPhaseBoundaries::VLH_TemperatureFromP: too high an input pressure !!!\n"
            << "Input pressure must not be higher than hlv.Pmax() = " << pMax << "\n";
        messages->flush();
        return refused;
    }
    // Below the low-temperature end of the curve at 0 C, or below the NaCl
    // triple point at its high-temperature end, the pressure is not met.
    if ((tGuess < tAtPmax && *p < pLowestLowSide) ||
        (tGuess >= tAtPmax && *p < NaClTriplePoint::Ptriple)) {
        *messages
            << "IsobaricPhaseBoundaries::VLH_TemperatureFromP: too low an input pressure !!!\n"
            << "Input pressure must not be lower than " << pLowestLowSide << " bar for T < "
            << tAtPmax << "C\n"
            << "and not lower than " << NaClTriplePoint::Ptriple << "bar for T >= " << tAtPmax
            << "C\n";
        messages->flush();
        return refused;
    }
    if (*p == pMax) return tAtPmax;

    tWork = VLH_StartTemperature(*p, tGuess);

    residual = 1.0;
    int cycles = 0;
    while (std::fabs(residual) >= residualFloor) {
        hlv.Refresh();
        pCalc = hlv.P;
        residual = pCalc - *p;
        if (std::fabs(residual) < pressureTolerance) break;
        hlv.Refresh();
        dPdT = hlv.dPdT;
        // A zero slope (the iterate sits on the maximum) or one that is not
        // finite would send the next iterate to infinity or not-a-number.
        if (dPdT == 0.0 || !std::isfinite(dPdT)) {
            PrintNotConverged(*messages);
            break;
        }
        tWork = tWork - residual / dPdT;
        ++cycles;
        if (cycles > cycleLimit) {
            PrintNotConverged(*messages);
            break;
        }
    }
    return tWork;
}

void IsobaricPhaseBoundaries::SetMessages(std::ostream& out) {
    messages = &out;
    critical.messages = &out;
}

double IsobaricPhaseBoundaries::Critical_TemperatureFromP(const double* p) {
    tWork = critical.TfromP(p);
    return tWork;
}

}  // namespace quarvessin
