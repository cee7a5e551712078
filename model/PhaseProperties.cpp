#include <quarvessin/model/PhaseProperties.h>

namespace quarvessin {

void PhaseProperties::Zero() {
    t = 0.0;
    p = 0.0;
    x = 0.0;
    w = 0.0;
    fraction = 0.0;
    rho = 0.0;
    V = 0.0;
    M = 0.0;
    h = 0.0;
    cp = 0.0;
    alpha = 0.0;
    beta = 0.0;
    dVdT = 0.0;
    dVdP = 0.0;
    dXdT = 0.0;
    dXdP = 0.0;
    dHdT = 0.0;
    dHdP = 0.0;
    mu = 0.0;
    s = 0.0;
    state = 0;
}

}  // namespace quarvessin
