#include <quarvessin/model/Caching.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/NaClTriplePoint.h>

#include "model/Polynomial.h"

namespace quarvessin {

namespace {
// Three-phase pressure P(tau) = c[0] + c[1] tau + ... + c[10] tau^10, tau = t / 800.7
// [bar].
constexpr double c[] = {0.00464,  5e-07,     16.9078,  -269.148,  7632.04,      -49563.6,
                        233119.0, -513556.0, 549708.0, -284628.0, 57540.7960595};  // c[10]

// First derivative dP/dtau = dP[0] + dP[1] tau + ... + dP[9] tau^9 with
// dP[k] = (k+1) c[k+1], except dP[2]: a stored value that differs in the last bit
// from 3 c[3] [bar].
constexpr double dP[] = {c[1],       2.0 * c[2], -807.444,   4.0 * c[4], 5.0 * c[5],
                         6.0 * c[6], 7.0 * c[7], 8.0 * c[8], 9.0 * c[9], 10.0 * c[10]};

// Second derivative d2P/dtau2 = d2P[0] + ... + d2P[8] tau^8 with
// d2P[k] = (k+2) (k+1) c[k+2], except d2P[1]: a stored value that differs in the
// last bit from 6 c[3] [bar].
constexpr double d2P[] = {2.0 * c[2],  -1614.888,   12.0 * c[4], 20.0 * c[5], 30.0 * c[6],
                          42.0 * c[7], 56.0 * c[8], 72.0 * c[9], 90.0 * c[10]};
}  // namespace

HaliteLiquidVaporCurve::HaliteLiquidVaporCurve(double* tPtr) : t(*tPtr - 1.0), tPtr(tPtr) {}

void HaliteLiquidVaporCurve::Refresh() {
    if (!caching::BeginRefresh(stale, t, tPtr)) return;
    t = *tPtr;
    tau = t / NaClTriplePoint::Ttriple;

    P = horner(c, tau);
    dPdT = horner(dP, tau) / NaClTriplePoint::Ttriple;
    d2PdT2 = horner(d2P, tau) / (NaClTriplePoint::Ttriple * NaClTriplePoint::Ttriple);
}

}  // namespace quarvessin
