#include <quarvessin/model/VLVaporBranch.h>

namespace quarvessin {

VLVaporBranch::VLVaporBranch(double* tPtr_, double* pPtr_)
    : tPtr(tPtr_),
      pPtr(pPtr_),
      t(*tPtr_ - 1.0),
      p(*pPtr_ - 1.0),
      X(0.0),
      dXdT(0.0),
      liquidus(&t, &p),
      liquid(&t, &p),
      haliteVapor(&t, &p) {}

void VLVaporBranch::Refresh() {
    if (!stale && t == *tPtr && p == *pPtr) return;
    stale = false;
    t = *tPtr;
    p = *pPtr;
    X = XfromTP();
    dXdT = dXdTAt();
}

double VLVaporBranch::XfromTP() {
    liquid.Refresh();
    const double xl = liquid.X;
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
