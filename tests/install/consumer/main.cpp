// Uses the installed model and water library the way another program would:
// one model class bound to the program's own t and p, and one direct call of
// the water library, which comes along with quarvessin::model.
#include <cmath>
#include <cstdio>

#include "HaliteLiquidus.h"
#include "water.h"

int main() {
    int failures = 0;

    // At 0 C the reduced temperature t / Thm is 0, so the liquidus
    // composition equals the constant term of its polynomial, which at 0 bar
    // is the stored coefficient 0.0989944 (about 26.3 wt% NaCl).
    double t = 0.0;
    double p = 0.0;
    HaliteLiquidus liquidus(&t, &p);
    liquidus.Refresh();
    const double xExpected = 0.0989944;
    std::printf("halite liquidus at 0 C, 0 bar: xL = %.9g (expected %.9g)\n",
                liquidus.xL, xExpected);
    if (!(std::fabs(liquidus.xL - xExpected) <= 1e-15)) {
        std::printf("FAIL: halite liquidus composition\n");
        ++failures;
    }

    // Liquid water at 300 K and 0.1 MPa: reference density 996.5563404 kg/m3
    // (IAPWS-95 reference table shipped with the project's documents); the
    // 1984 equation of state agrees to a relative 1e-4.
    WaterProps* rec = newProp('T', 'p', 0);
    if (rec == nullptr) {
        std::printf("FAIL: newProp returned no record\n");
        return 1;
    }
    propTp(300.0, 1.0e5, 1000.0, 1e-8, rec);
    const double dExpected = 996.5563404;
    std::printf("water at 300 K, 0.1 MPa: status %d, d = %.7g kg/m3 (expected %.7g)\n",
                rec->status, rec->d, dExpected);
    if (rec->status != 0 || !(std::fabs(rec->d - dExpected) <= 1e-4 * dExpected)) {
        std::printf("FAIL: water density\n");
        ++failures;
    }
    freeProp(rec);

    return failures == 0 ? 0 : 1;
}
