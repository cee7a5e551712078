// Registers the classes Section and Boundary and the function section.
#pragma once

#include <pybind11/pybind11.h>

void bindSections(pybind11::module_& m);
