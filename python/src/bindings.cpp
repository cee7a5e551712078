// The compiled part of the Python package quarvessin: the correlations of the
// H2O-NaCl model evaluated element by element over arrays of doubles.
//
// The Python layer (quarvessin/__init__.py) refuses what is not an array of
// real numbers and broadcasts the arguments to one shape with views (a
// broadcast scalar keeps stride 0 and is never copied out); here each
// function walks the elements in C order through their strides, with the GIL
// released, into a new C-contiguous array of that shape. Every element is
// evaluated by the model class the console program uses, bound to a
// temperature [C] and a pressure [bar] of the function's own: one object per
// call, moved to each element's (t, p) and refreshed, exactly as the section
// drivers do.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <quarvessin/composition.h>
#include <quarvessin/model/CriticalCurve.h>
#include <quarvessin/model/HaliteLiquidVaporCurve.h>
#include <quarvessin/model/HaliteLiquidus.h>
#include <quarvessin/model/HaliteMelting.h>
#include <quarvessin/model/HaliteSaturatedVapor.h>
#include <quarvessin/model/ModelUnits.h>
#include <quarvessin/model/NaClTriplePoint.h>
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "elements.h"
#include "sections.h"
#include "states.h"

namespace py = pybind11;
using namespace quarvessin;

namespace {

using OutArray = py::array_t<double>;

// A composition [mole fraction NaCl] outside 0 to 1 is not a composition:
// the correlations give such values outside their fitted range (a liquidus
// at 20 kbar or above the melting point of halite), and they are not numbers
// here. A value beyond an end by rounding alone (the liquidus meeting pure
// NaCl at its melting point: 1 + 2e-16) is that end.
constexpr double compositionRounding = 1e-12;
double composition(double x) {
    if (x >= 0.0 && x <= 1.0) return x;
    if (x < 0.0 && x >= -compositionRounding) return 0.0;
    if (x > 1.0 && x <= 1.0 + compositionRounding) return 1.0;
    return NAN;
}

OutArray outputOf(const std::vector<py::ssize_t>& shape) { return OutArray(shape); }

// f(v) for each element of A, with the GIL released.
template <class F>
OutArray map1(const InArray& A, F f) {
    const Elements<1> e({&A});
    OutArray out = outputOf(e.shape());
    double* o = out.mutable_data();
    {
        py::gil_scoped_release release;
        e.each([&](std::size_t i, const std::array<double, 1>& v) { o[i] = f(v[0]); });
    }
    return out;
}

// eval(model) for each element of T, the model bound to the function's own t.
template <class Model, class Eval>
OutArray mapT(const InArray& T, Eval eval) {
    const Elements<1> e({&T});
    OutArray out = outputOf(e.shape());
    double* o = out.mutable_data();
    {
        py::gil_scoped_release release;
        double t = 0.0;
        Model model(&t);
        e.each([&](std::size_t i, const std::array<double, 1>& v) {
            t = v[0];
            o[i] = eval(model);
        });
    }
    return out;
}

// eval(model) for each pair (T, P), the model bound to the function's own t and p.
template <class Model, class Eval>
OutArray mapTP(const InArray& T, const InArray& P, Eval eval) {
    const Elements<2> e({&T, &P});
    OutArray out = outputOf(e.shape());
    double* o = out.mutable_data();
    {
        py::gil_scoped_release release;
        double t = 0.0;
        double p = 0.0;
        Model model(&t, &p);
        e.each([&](std::size_t i, const std::array<double, 2>& v) {
            t = v[0];
            p = v[1];
            o[i] = eval(model);
        });
    }
    return out;
}

std::pair<OutArray, OutArray> criticalCurve(const InArray& T) {
    const Elements<1> e({&T});
    OutArray pOut = outputOf(e.shape());
    OutArray xOut = outputOf(e.shape());
    double* po = pOut.mutable_data();
    double* xo = xOut.mutable_data();
    {
        py::gil_scoped_release release;
        double t = 0.0;
        CriticalCurve curve(&t);
        e.each([&](std::size_t i, const std::array<double, 1>& v) {
            t = v[0];
            curve.Refresh();
            po[i] = curve.Pcrit;
            // The class gives composition 0 to every temperature below that of
            // water's critical point, a temperature that is not a number included.
            xo[i] = std::isnan(t) ? t : composition(curve.Xcrit);
        });
    }
    return {std::move(pOut), std::move(xOut)};
}

// eval(water) for each element of A, which is the temperature [C] (or, with
// `temperature` false, the pressure [bar]) of a PureWater bound to the
// function's own t and p.
template <class Eval>
OutArray mapWater(const InArray& A, bool temperature, Eval eval) {
    const Elements<1> e({&A});
    OutArray out = outputOf(e.shape());
    double* o = out.mutable_data();
    {
        py::gil_scoped_release release;
        double t = 25.0;
        double p = 1.0;
        PureWater water(&t, &p);
        double& varied = temperature ? t : p;
        e.each([&](std::size_t i, const std::array<double, 1>& v) {
            varied = v[0];
            o[i] = eval(water);
        });
    }
    return out;
}

// Binds name(T, P): the composition `field` of a Model refreshed at each pair
// (T, P), not a number outside 0 to 1.
template <class Model>
void defTP(py::module_& m, const char* name, double Model::*field, const char* doc) {
    m.def(
        name,
        [field](const InArray& T, const InArray& P) {
            return mapTP<Model>(T, P, [field](Model& c) {
                c.Refresh();
                return composition(c.*field);
            });
        },
        py::arg("T"), py::arg("P"), doc);
}

}  // namespace

PYBIND11_MODULE(_core, m) {
    m.doc() =
        "Compiled correlations of the H2O-NaCl model (float64 arrays of one shape; "
        "use the broadcasting functions of the quarvessin package).";

    m.def(
        "wt_percent",
        [](const InArray& x) {
            return map1(x, [](double v) { return wtPercent(composition(v)); });
        },
        py::arg("x"), "NaCl content [wt%] of a mixture of mole fraction x of NaCl (0 to 1).");
    m.def(
        "mole_fraction",
        [](const InArray& wt) {
            return map1(wt, [](double v) { return composition(moleFraction(v)); });
        },
        py::arg("wt"), "Mole fraction of NaCl of a mixture holding wt percent NaCl (0 to 100).");
    m.def("critical_curve", &criticalCurve, py::arg("T"),
          "Critical pressure [bar] and composition [mole fraction NaCl] at T [C].");
    m.def(
        "vlh_pressure",
        [](const InArray& T) {
            return mapT<HaliteLiquidVaporCurve>(T, [](HaliteLiquidVaporCurve& c) {
                c.Refresh();
                return c.P;
            });
        },
        py::arg("T"), "Pressure of the vapour + liquid + halite curve [bar] at T [C].");
    m.def(
        "halite_melting_temperature",
        [](const InArray& P) {
            const Elements<1> e({&P});
            OutArray out = outputOf(e.shape());
            double* o = out.mutable_data();
            {
                py::gil_scoped_release release;
                // Any temperature serves the melting curve, which does not
                // depend on it; the triple point of NaCl keeps the state physical.
                double t = NaClTriplePoint::Ttriple;
                double p = 0.0;
                HaliteMelting melting(&t, &p);
                e.each([&](std::size_t i, const std::array<double, 1>& v) {
                    p = v[0];
                    melting.Refresh();
                    o[i] = melting.Thm;
                });
            }
            return out;
        },
        py::arg("P"), "Melting temperature of halite [C] at P [bar].");
    defTP<HaliteLiquidus>(
        m, "halite_liquidus", &HaliteLiquidus::xL,
        "Composition of halite-saturated liquid [mole fraction NaCl] at T [C], P [bar].");
    defTP<HaliteSaturatedVapor>(
        m, "halite_saturated_vapor", &HaliteSaturatedVapor::xVH,
        "Composition of halite-saturated vapour [mole fraction NaCl] at T [C], P [bar].");
    defTP<VLLiquidBranch>(
        m, "vl_liquid", &VLLiquidBranch::X,
        "Liquid of the vapour + liquid surface [mole fraction NaCl] at T [C], P [bar].");
    defTP<VLVaporBranch>(
        m, "vl_vapor", &VLVaporBranch::X,
        "Vapour of the vapour + liquid surface [mole fraction NaCl] at T [C], P [bar].");
    m.def(
        "water_vapor_pressure",
        [](const InArray& T) {
            return mapWater(T, true,
                            [](PureWater& w) { return w.VaporPressure() * model_units::paToBar; });
        },
        py::arg("T"), "Vapour pressure of water [bar] at T [C].");
    m.def(
        "water_boiling_temperature",
        [](const InArray& P) {
            return mapWater(P, false, [](PureWater& w) { return w.BoilingTemperature(); });
        },
        py::arg("P"), "Boiling temperature of water [C] at P [bar].");

    bindSections(m);
    bindStates(m);
}
