#include <quarvessin/model/TPXHolder.h>

namespace quarvessin {

// The own state is set before the members are built, so each member primes
// itself from a value that is already there.
TPXHolder::TPXHolder(double* tPtr_, double* pPtr_, double* xPtr_)
    : tPtr(tPtr_),
      pPtr(pPtr_),
      xPtr(xPtr_),
      t(*tPtr_ - 1.0),
      p(*pPtr_ - 1.0),
      x(*xPtr_ - 1.0),
      water(&t, &p),
      hlv(&t) {}

}  // namespace quarvessin
