#include <quarvessin/model/Caching.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClSublimationCurve.h>
#include <quarvessin/model/NaClTriplePoint.h>

#include <cmath>

namespace quarvessin {

namespace {
constexpr double sublimationSlope = 11806.1;  // slope of log10(P) against -1/T [K]
}  // namespace

NaClSublimationCurve::NaClSublimationCurve(double* tPtr, double* pPtr)
    : t(*tPtr - 1.0), tPtr(tPtr), pPtr(pPtr) {}

void NaClSublimationCurve::Refresh() {
    if (!caching::BeginRefresh(stale, t, tPtr)) return;
    t = *tPtr;
    Psub = PfromT(&t);
    dPsubdT = dPdT(&t);
}

double NaClSublimationCurve::PfromT(const double* t) {
    const double L3 = std::log10(NaClTriplePoint::Ptriple);
    const double y = (1.0 / (NaClTriplePoint::Ttriple + model_units::kelvinOffset) -
                      1.0 / (*t + model_units::kelvinOffset)) *
                         sublimationSlope +
                     L3;
    return std::pow(10.0, y);
}

double NaClSublimationCurve::dPdT(const double* t) {
    const double P = PfromT(t);
    const double T = *t + model_units::kelvinOffset;
    return P * (std::log(10.0) * sublimationSlope) / T / T;
}

}  // namespace quarvessin
