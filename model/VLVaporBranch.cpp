#include <quarvessin/model/Caching.h>
#include <quarvessin/model/VLVaporBranch.h>
#include <quarvessin/model/WaterCriticalPoint.h>

namespace quarvessin {

VLVaporBranch::VLVaporBranch(double* tPtr_, double* pPtr_)
    : tPtr(tPtr_),
      pPtr(pPtr_),
      t(*tPtr_ - 1.0),
      p(*pPtr_ - 1.0),
      pPartition(*pPtr_ - 1.0),
      liquidus(&t, &pPartition),
      liquid(&t, &p),
      haliteVapor(&t, &pPartition) {}

void VLVaporBranch::Refresh() {
    if (!caching::BeginRefresh(stale, t, tPtr, p, pPtr)) return;
    t = *tPtr;
    p = *pPtr;
    X = XfromTP();
    dXdT = dXdTAt();
}

double VLVaporBranch::PartitionPressure() const {
    // Below the critical temperature of water the surface ends at the vapour
    // pressure of water Pw, which lies below the critical-curve extension Pc
    // (see VLLiquidBranch). A pressure above the computed Pc but not above the
    // computed Pw is above Pc by their rounding only; the halite-saturated
    // phases, which become one at Pc, are taken there.
    if (t < WaterCriticalPoint::Tc && p > liquid.Pc && p <= liquid.Pw) return liquid.Pc;
    return p;
}

double VLVaporBranch::XfromTP() {
    liquid.Refresh();
    const double xl = liquid.X;
    pPartition = PartitionPressure();
    haliteVapor.Refresh();
    const double k = haliteVapor.xVH;
    liquidus.Refresh();
    const double xL = liquidus.xL;
    return (xl * k) / xL;
}

double VLVaporBranch::dXdTAt() {
    liquid.Refresh();
    const double xl = liquid.X;
    const double dxl = liquid.dXdT;
    pPartition = PartitionPressure();
    haliteVapor.Refresh();
    const double k = haliteVapor.xVH;
    const double dk = haliteVapor.dxVHdT;
    liquidus.Refresh();
    const double xL = liquidus.xL;
    const double dxL = liquidus.dxLdT;
    // Derivative of (xl k) / xL at constant p.
    return (xl * dk) / xL + (dxl * k) / xL - ((xl * k) * dxL) / xL / xL;
}

}  // namespace quarvessin
