#include <quarvessin/model/Caching.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClBoilingCurve.h>
#include <quarvessin/model/NaClTriplePoint.h>

#include <cmath>

namespace quarvessin {

namespace {
constexpr double B =
    9418.12;  // enthalpy of vaporization over R ln 10 of the Clausius-Clapeyron form [K]
}  // namespace

NaClBoilingCurve::NaClBoilingCurve(double* tPtr, double* pPtr)
    : t(*tPtr - 1.0),
      pState(*pPtr - 1.0),
      tPtr(tPtr),
      pPtr(pPtr),
      liquid(&t, &pState),
      vapor(&t, &pState) {}

void NaClBoilingCurve::Refresh() {
    if (!caching::BeginRefresh(stale, t, tPtr, pState, pPtr)) return;
    t = *tPtr;
    T = t + model_units::kelvinOffset;
    Pboil = PfromT(&t);
    dPboildT = dPdT(&t);
    pState = Pboil;  // the members now see (t, Pboil)
    liquid.Refresh();
    VmLiq = liquid.Vm;
    liquid.Refresh();
    rhoLiq = liquid.rho;
    vapor.Refresh();
    VmVap = vapor.Vm;
    vapor.Refresh();
    rhoVap = vapor.rho;
    liquid.Refresh();
    hLiq = liquid.h;
    vapor.Refresh();
    hVap = vapor.h;
    liquid.Refresh();
    cpLiq = liquid.cp;
    vapor.Refresh();
    cpVap = vapor.cp;
    dVvap = VmVap - VmLiq;
    dHvap = hVap - hLiq;
}

double NaClBoilingCurve::PfromT(const double* tArg) const {
    const double Ttr = NaClTriplePoint::Ttriple + model_units::kelvinOffset;
    const double Tv = *tArg + model_units::kelvinOffset;
    return std::pow(10.0, std::log10(NaClTriplePoint::Ptriple) + B * (1.0 / Ttr - 1.0 / Tv));
}

double NaClBoilingCurve::dPdT(const double* tArg) const {
    const double Tv = *tArg + model_units::kelvinOffset;
    return PfromT(tArg) * std::log(10.0) * B / Tv / Tv;
}

}  // namespace quarvessin
