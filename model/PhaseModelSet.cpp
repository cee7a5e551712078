#include <quarvessin/model/PhaseModelSet.h>

namespace quarvessin {

// The own state is primed before the members are built, so each member primes
// itself from a value that is already there.
PhaseModelSet::PhaseModelSet(double* tPtr_, double* pPtr_, double* xPtr_)
    : tPtr(tPtr_),
      pPtr(pPtr_),
      xPtr(xPtr_),
      t(*tPtr_ - 1.0),
      p(*pPtr_ - 1.0),
      x(*xPtr_ * 0.99),
      liquidus(&t, &p),
      vaporBranch(&t, &p),
      liquidBranch(&t, &p),
      haliteVapor(&t, &p),
      vlhCurve(&t),
      waterCritical(),
      water(&t, &p),
      critical(&t) {}

}  // namespace quarvessin
