// Water-property records and their derivative records.
#include "water/record.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace quarvessin {

namespace water_internal {

PropDerivs* newDerivs() {
    // Value-initialisation zeroes the six entries and the six child pointers.
    return new (std::nothrow) PropDerivs();
}

PropDerivs* freeDerivs(PropDerivs* derivs) {
    if (derivs == nullptr) return nullptr;
    for (PropDerivs*& child : derivs->second) {
        if (child != nullptr) child = freeDerivs(child);
    }
    delete derivs;
    return nullptr;
}

}  // namespace water_internal

namespace {

using water_internal::newDerivs;

// Allocates *slot, counting a failure; a child of a missing parent counts as
// a failure too.
void allocate(PropDerivs** slot, int& failures) {
    *slot = newDerivs();
    if (*slot == nullptr) ++failures;
}
void allocateChild(PropDerivs* parent, int index, int& failures) {
    if (parent == nullptr) {
        ++failures;
        return;
    }
    allocate(&parent->second[index], failures);
}

}  // namespace

WaterProps* newProp(char var1, char var2, int deriv) {
    WaterProps* prop = new (std::nothrow) WaterProps();  // values zero, pointers null
    if (prop == nullptr) return nullptr;
    prop->var1 = var1;
    prop->var2 = var2;
    prop->deriv = deriv;
    if (deriv < 0 || deriv > 2) {
        std::fputs("newProp(): deriv out of range\n", stderr);
        std::exit(1);
    }
    // No evaluation yet: report failure until the first evaluator succeeds.
    prop->status = 1;

    int failures = 0;
    if (deriv >= 1) {
        allocate(&prop->dx, failures);
        allocate(&prop->dp, failures);
    }
    if (deriv == 2) {
        allocate(&prop->dcv, failures);
        allocateChild(prop->dp, 0, failures);
        allocateChild(prop->dp, 1, failures);
        allocateChild(prop->dx, 0, failures);
        allocateChild(prop->dx, 1, failures);
    }
    if (var1 == 'p' && var2 == 'h') {
        if (deriv >= 1) {
            allocate(&prop->dT, failures);
            allocate(&prop->dd, failures);
            allocate(&prop->ds, failures);
            allocate(&prop->du, failures);
        }
        if (deriv == 2) {
            allocate(&prop->dcp, failures);
            PropDerivs* const parents[5] = {prop->dx, prop->dT, prop->dd, prop->ds, prop->du};
            for (PropDerivs* parent : parents) allocateChild(parent, 3, failures);
            for (PropDerivs* parent : parents) allocateChild(parent, 2, failures);
        }
    } else if (var1 == 'p' && var2 == 's') {
        if (deriv >= 1) {
            allocate(&prop->dT, failures);
            allocate(&prop->dd, failures);
            allocate(&prop->dh, failures);
            allocate(&prop->du, failures);
        }
        if (deriv == 2) allocate(&prop->dcp, failures);
    }

    if (failures != 0) return freeProp(prop);
    return prop;
}

WaterProps* freeProp(WaterProps* prop) {
    if (prop == nullptr) return nullptr;
    PropDerivs** const slots[11] = {&prop->dx, &prop->dT,  &prop->dd, &prop->dp,
                                    &prop->df, &prop->dg,  &prop->ds, &prop->du,
                                    &prop->dh, &prop->dcv, &prop->dcp};
    for (PropDerivs** slot : slots) {
        if (*slot != nullptr) *slot = water_internal::freeDerivs(*slot);
    }
    delete prop;
    return nullptr;
}

}  // namespace quarvessin
