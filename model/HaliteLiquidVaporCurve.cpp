#include <quarvessin/model/HaliteLiquidVaporCurve.h>

#include <quarvessin/model/NaClTriplePoint.h>

namespace quarvessin {

namespace {
// Pressure polynomial P(tau) = c0 + c1 tau + ... + c10 tau^10 [bar].
constexpr double c10 = 57540.7960595;
constexpr double c9 = -284628.0;
constexpr double c8 = 549708.0;
constexpr double c7 = -513556.0;
constexpr double c6 = 233119.0;
constexpr double c5 = -49563.6;
constexpr double c4 = 7632.04;
constexpr double c3 = -269.148;
constexpr double c2 = 16.9078;
constexpr double c1 = 5e-07;
constexpr double c0 = 0.00464;

// First derivative dP/dtau: coefficients k ck, the leading one formed from c10.
constexpr double d9 = 10.0 * c10;
constexpr double d8 = -2561652.0;
constexpr double d7 = 4397664.0;
constexpr double d6 = -3594892.0;
constexpr double d5 = 1398714.0;
constexpr double d4 = -247818.0;
constexpr double d3 = 30528.16;
constexpr double d2 = -807.444;
constexpr double d1 = 33.8156;
constexpr double d0 = 5e-07;

// Second derivative d2P/dtau2: coefficients k (k-1) ck, the leading one formed
// from c10.
constexpr double s8 = 90.0 * c10;
constexpr double s7 = -20493216.0;
constexpr double s6 = 30783648.0;
constexpr double s5 = -21569352.0;
constexpr double s4 = 6993570.0;
constexpr double s3 = -991272.0;
constexpr double s2 = 91584.48;
constexpr double s1 = -1614.888;
constexpr double s0 = 33.8156;
}  // namespace

HaliteLiquidVaporCurve::HaliteLiquidVaporCurve(double* tPtr)
    : tau(0.0), P(0.0), dPdT(0.0), d2PdT2(0.0), t(*tPtr - 1.0), tPtr(tPtr), stale(true), marker() {}

void HaliteLiquidVaporCurve::Refresh() {
    if (!stale && t == *tPtr) return;
    stale = false;
    t = *tPtr;
    tau = t / NaClTriplePoint::Ttriple;

    double a = c10 * tau;
    a = (a + c9) * tau;
    a = (a + c8) * tau;
    a = (a + c7) * tau;
    a = (a + c6) * tau;
    a = (a + c5) * tau;
    a = (a + c4) * tau;
    a = (a + c3) * tau;
    a = (a + c2) * tau;
    a = (a + c1) * tau;
    P = a + c0;

    a = d9 * tau;
    a = (a + d8) * tau;
    a = (a + d7) * tau;
    a = (a + d6) * tau;
    a = (a + d5) * tau;
    a = (a + d4) * tau;
    a = (a + d3) * tau;
    a = (a + d2) * tau;
    a = (a + d1) * tau;
    dPdT = (a + d0) / NaClTriplePoint::Ttriple;

    a = s8 * tau;
    a = (a + s7) * tau;
    a = (a + s6) * tau;
    a = (a + s5) * tau;
    a = (a + s4) * tau;
    a = (a + s3) * tau;
    a = (a + s2) * tau;
    a = (a + s1) * tau;
    d2PdT2 = (a + s0) / (NaClTriplePoint::Ttriple * NaClTriplePoint::Ttriple);
}

}  // namespace quarvessin
