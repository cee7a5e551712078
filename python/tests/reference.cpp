// Reference values for the tests of the Python package: reads lines
// "NAME T P" from standard input and prints, one line each, the value of the
// named correlation with %.17g, computed by a freshly constructed model object
// bound to (T [C], P [bar]) as the console program's drivers bind theirs.
// Unused arguments are read and ignored.
#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteMelting.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

using namespace quarvessin;

namespace {

template <class M>
M& refreshed(M& m) {
    m.Refresh();
    return m;
}

bool evaluate(const std::string& name, double t, double p, double& v) {
    // Copies: the models bind to these.
    if (name == "halite_liquidus") {
        HaliteLiquidus m(&t, &p);
        v = refreshed(m).xL;
    } else if (name == "critical_pressure") {
        CriticalCurve m(&t);
        v = refreshed(m).Pcrit;
    } else if (name == "critical_composition") {
        CriticalCurve m(&t);
        v = refreshed(m).Xcrit;
    } else if (name == "vlh_pressure") {
        HaliteLiquidVaporCurve m(&t);
        v = refreshed(m).P;
    } else if (name == "halite_melting_temperature") {
        HaliteMelting m(&t, &p);
        v = refreshed(m).Thm;
    } else if (name == "halite_saturated_vapor") {
        HaliteSaturatedVapor m(&t, &p);
        v = refreshed(m).xVH;
    } else if (name == "vl_liquid") {
        VLLiquidBranch m(&t, &p);
        v = refreshed(m).X;
    } else if (name == "vl_vapor") {
        VLVaporBranch m(&t, &p);
        v = refreshed(m).X;
    } else if (name == "water_vapor_pressure") {
        PureWater m(&t, &p);
        v = m.VaporPressure() * model_units::paToBar;
    } else if (name == "water_boiling_temperature") {
        PureWater m(&t, &p);
        v = m.BoilingTemperature();
    } else {
        return false;
    }
    return true;
}

}  // namespace

int main() {
    // strtod, unlike the stream extraction, reads "nan".
    std::string name, tText, pText;
    while (std::cin >> name >> tText >> pText) {
        const double t = std::strtod(tText.c_str(), nullptr);
        const double p = std::strtod(pText.c_str(), nullptr);
        double v = 0.0;
        if (!evaluate(name, t, p, v)) {
            std::fprintf(stderr, "unknown correlation %s\n", name.c_str());
            return 2;
        }
        std::printf("%.17g\n", v);
    }
    return std::cin.eof() ? 0 : 1;
}
