// Melting and sublimation pressures of ice, IAPWS (1993) release on the
// pressure along the melting and sublimation curves of ordinary water
// substance. Reduced by the triple points of the ice phases.
#include "water/ice.h"

#include <cmath>

namespace quarvessin {

namespace water_internal {
namespace {

// Triple point of ice Ih, liquid and vapour: temperature [K], pressure [MPa].
constexpr double TtripleIh = 273.16;
constexpr double PtripleIh = 0.000611657;

}  // namespace

double sublimationPressure(double T) {
    const double theta = T / TtripleIh;
    return PtripleIh * std::exp(-13.928169 * (1.0 - std::pow(theta, -1.5)) +
                                34.7078238 * (1.0 - std::pow(theta, -1.25)));
}

double meltingPressureIh(double T) {
    const double theta = T / TtripleIh;
    return PtripleIh * (1.0 - 626000.0 * (1.0 - std::pow(theta, -3.0)) +
                        197135.0 * (1.0 - std::pow(theta, 21.2)));
}

double meltingPressureHigh(double T) {
    if (T < 256.164) {  // ice III, from its triple point with ice Ih and liquid
        const double theta = T / 251.165;
        return 209.9 * (1.0 - 0.295252 * (1.0 - std::pow(theta, 60.0)));
    }
    if (T < 273.31) {  // ice V
        const double theta = T / 256.164;
        return 350.1 * (1.0 - 1.18721 * (1.0 - std::pow(theta, 8.0)));
    }
    if (T < 355.0) {  // ice VI
        const double theta = T / 273.31;
        return 632.4 * (1.0 - 1.07476 * (1.0 - std::pow(theta, 4.6)));
    }
    const double theta = T / 355.0;  // ice VII
    return 2216.0 *
           std::exp(1.73683 * (1.0 - 1.0 / theta) - 0.0544606 * (1.0 - std::pow(theta, 5.0)) +
                    8.06106e-08 * (1.0 - std::pow(theta, 22.0)));
}

}  // namespace water_internal

}  // namespace quarvessin
