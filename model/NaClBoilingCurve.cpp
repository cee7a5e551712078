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
    : T(0.0),
      t(*tPtr - 1.0),
      pState(*pPtr - 1.0),
      Pboil(0.0),
      dPboildT(0.0),
      VmLiq(0.0),
      rhoLiq(0.0),
      VmVap(0.0),
      rhoVap(0.0),
      hLiq(0.0),
      hVap(0.0),
      cpLiq(0.0),
      cpVap(0.0),
      dVvap(0.0),
      dHvap(0.0),
      tPtr(tPtr),
      pPtr(pPtr),
      marker(),
      liquid(&t, &pState),
      vapor(&t, &pState) {}

void NaClBoilingCurve::Refresh() {
    if (!stale && t == *tPtr && pState == *pPtr) return;
    stale = false;
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
