// Vapour pressure of water just below its critical temperature (internal
// header of the model): the quadratic PureWater uses there and whose slope the
// vapour-liquid liquid branch needs.
#pragma once

#include <quarvessin/model/WaterCriticalPoint.h>

namespace quarvessin {
namespace water_quadratic {

// Between tLow and the critical temperature of water the vapour pressure is the
// quadratic q(t) through (tLow, P1) with slope s there and through the critical
// point (Tc, P2). It is stored expanded in powers of t and multiplied by
// g = (Tc - tLow)^2; the products are the values it was computed with.
constexpr double tLow = 373.0;                   // lower end of the quadratic [C]
constexpr double Tc = WaterCriticalPoint::Tc;    // upper end [C]
constexpr double P1 = 217.988790346;             // water library's vapour pressure at tLow [bar]
constexpr double P2 = WaterCriticalPoint::Pc;    // critical pressure [bar]
constexpr double sTc = 977.8507278640897;        // s Tc, s = 2.6147419296 bar/C
constexpr double sTcTc = 365692.7038037008;      // s Tc^2
constexpr double sTlTcTc = 136403378.5187804;    // s tLow Tc^2
constexpr double P1TcTc = 30487486.829234347;    // P1 Tc^2
constexpr double P1TlTc2 = 60815841.59039304;    // 2 P1 tLow Tc
constexpr double sTlTlTc = 136047393.91700295;   // s tLow^2 Tc
constexpr double P2Tl2 = 164529.6659;            // 2 tLow P2
constexpr double P1Tl2 = 162619.637598116;       // 2 tLow P1
constexpr double P2TlTl = 30684782.69035;        // P2 tLow^2
constexpr double sTl = 975.2987397408;           // s tLow
constexpr double sTlTl = 363786.4299233184;      // s tLow^2
constexpr double g = (Tc - tLow) * (Tc - tLow);  // [C^2]

}  // namespace water_quadratic
}  // namespace quarvessin
