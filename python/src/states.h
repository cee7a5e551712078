// Registers the phase state over arrays, the fluid-inclusion answers and the
// P-T-X surfaces as meshes.
#pragma once

#include <pybind11/pybind11.h>

void bindStates(pybind11::module_& m);
