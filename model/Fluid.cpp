#include <quarvessin/model/Fluid.h>

namespace quarvessin {

// The own state is primed before the members are built, so each member primes
// itself from a value that is already there; the property records are zeroed
// once every member exists.
Fluid::Fluid(double* tPtr_, double* pPtr_, double* xPtr_)
    : tPtr(tPtr_),
      pPtr(pPtr_),
      xPtr(xPtr_),
      t(*tPtr_ - 1.0),
      p(*pPtr_ - 1.0),
      x(*xPtr_ - 1.0),
      triplePoint(),
      marker(),
      waterCritical(),
      critical(&t),
      melting(&t, &p),
      boiling(&t, &p),
      sublimation(&t, &p),
      halite(&t, &p),
      liquidNaCl(&t, &p),
      naclVapor(&t, &p),
      liquidus(&t, &p),
      hlv(&t),
      haliteVapor(&t, &p),
      vlLiquid(&t, &p),
      vlVapor(&t, &p),
      tpx(&t, &p, &x),
      water(&t, &p) {
    bulk.Zero();
    liq.Zero();
    vap.Zero();
    salt.Zero();
}

}  // namespace quarvessin
