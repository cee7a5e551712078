#include <quarvessin/model/Caching.h>
#include <quarvessin/model/HaliteMelting.h>
#include <quarvessin/model/NaClTriplePoint.h>

#include <cmath>

#include "model/LiquidNaClVolume.h"

namespace quarvessin {

namespace {
constexpr double s = 0.024726;  // slope dThm/dp of the melting curve [C/bar]
// Enthalpy of melting dHm(p) = HM[0] + HM[1] p + HM[2] p^2 [J/kg].
constexpr double HM[] = {490000.0, -12.4036, 0.000825106};
// The liquid NaCl volume law, for the pressure slope of the liquid volume at
// the melt: V0(t) = V0a + V0b t + V0c t^2 and b(t) with slope bT.
using namespace liquid_nacl_volume;
constexpr double bT = b1;             // [1/(bar C)]
constexpr double twoV0c = 2.0 * V0c;  // [cm3/(mol C2)]
constexpr double ten = pressureFactor;
constexpr double one = 1.0;
}  // namespace

HaliteMelting::HaliteMelting(double* tPtr, double* pPtr)
    : tState(*tPtr - 1.0),
      pState(*pPtr - 1.0),
      tPtr(tPtr),
      pPtr(pPtr),
      halite(&tState, &pState),
      liquid(&tState, &pState) {}

void HaliteMelting::Refresh() {
    if (!caching::BeginRefresh(stale, tState, tPtr, pState, pPtr)) return;
    tState = *tPtr;
    pState = *pPtr;
    Thm = MeltingTemperature(&pState);
    tState = Thm;  // the members now see (Thm, p)
    dVm = MeltingVolume();
    dHm = MeltingEnthalpy(&pState);
    hLiqMelt = LiquidEnthalpy();
    VmLiqMelt = LiquidVolume();
    dVmLiqMeltdP = LiquidVolumeSlope(&pState);
    tState = *tPtr;
    pMelt = MeltingPressure(&tState);
    pState = pMelt;  // the liquid member now sees (t, pMelt)
    VmLiqAtT = LiquidVolume();
    pState = *pPtr;
}

double HaliteMelting::MeltingTemperature(const double* pArg) const {
    return NaClTriplePoint::Ttriple + s * *pArg;
}

double HaliteMelting::MeltingPressure(const double* tArg) const {
    return (*tArg - NaClTriplePoint::Ttriple) / s;
}

double HaliteMelting::MeltingSlope() const { return s; }

double HaliteMelting::MeltingEnthalpy(const double* pArg) const {
    const double pv = *pArg;
    return HM[0] + HM[1] * pv + HM[2] * (pv * pv);
}

double HaliteMelting::MeltingVolume() {
    liquid.Refresh();
    halite.Refresh();
    return liquid.Vm - halite.Vm;
}

double HaliteMelting::LiquidVolume() {
    liquid.Refresh();
    return liquid.Vm;
}

double HaliteMelting::LiquidEnthalpy() {
    liquid.Refresh();
    return liquid.h;
}

// Derivative with respect to p of V0(Thm(p)) (1 - 0.1 ln(1 + 10 p b(Thm(p)))),
// with b taken from the liquid member at Thm.
double HaliteMelting::LiquidVolumeSlope(const double* pArg) {
    const double pv = *pArg;
    const double b = liquid.CompressionCoefficient(&Thm);
    const double L = std::log(one + ten * pv * b);
    const double V0 = V0a + V0b * Thm + V0c * (Thm * Thm);
    return (one - lawFactor * L) * s * (V0b + twoV0c * Thm) -
           lawFactor * V0 * (ten * b + ten * pv * s * bT) / (one + ten * pv * b);
}

}  // namespace quarvessin
