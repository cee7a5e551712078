#include "engine/IceMeltingSalinity.h"

namespace quarvessin {

namespace {

// Coefficients of the 1993 fit, wt% = c1 theta + c2 theta^2 + c3 theta^3 with
// theta the freezing-point depression [C] (c1 [wt%/C], c2 [wt%/C2], c3 [wt%/C3]).
constexpr double c[] = {1.78, -0.0442, 0.000557};

}  // namespace

double iceMeltingSalinity(double tmIce) {
    // 0 - tmIce rather than -tmIce: no salt at 0 C is +0, not -0.
    const double theta = 0.0 - tmIce;  // freezing-point depression [C]
    return theta * (c[0] + theta * (c[1] + theta * c[2]));
}

}  // namespace quarvessin
