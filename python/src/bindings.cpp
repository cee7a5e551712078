// The compiled part of the Python package quarvessin: the correlations of the
// H2O-NaCl model evaluated element by element over flat arrays of doubles.
//
// The Python layer (quarvessin/__init__.py) broadcasts the arguments, makes
// them contiguous and flat, and reshapes the result; here each function loops
// over the elements with the GIL released. Every element is evaluated by the
// model class the console program uses, bound to a temperature [C] and a
// pressure [bar] of the function's own: one object per call, moved to each
// element's (t, p) and refreshed, exactly as the section drivers do.
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
#include <quarvessin/model/PureWater.h>
#include <quarvessin/model/VLLiquidBranch.h>
#include <quarvessin/model/VLVaporBranch.h>

#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <utility>

#include "sections.h"

namespace py = pybind11;
using namespace quarvessin;

namespace {

using InArray = py::array_t<double, py::array::c_style | py::array::forcecast>;
using OutArray = py::array_t<double>;

// Any temperature serves the melting curve, whose temperature does not depend
// on it; the triple point of NaCl keeps the bound state physical [C].
constexpr double meltingCurveTemperature = 800.7;

const double* input(const InArray& a, const char* name) {
    if (a.ndim() != 1) throw std::invalid_argument(std::string(name) + " must be one-dimensional");
    return a.data();
}

// f(t, out) for each element of T, with the GIL released.
template <class Model, class Eval>
OutArray mapT(const InArray& T, Eval eval) {
    const double* tIn = input(T, "T");
    const auto n = static_cast<std::size_t>(T.size());
    OutArray out(static_cast<py::ssize_t>(n));
    double* o = out.mutable_data();
    {
        py::gil_scoped_release release;
        double t = 0.0;
        Model model(&t);
        for (std::size_t i = 0; i < n; ++i) {
            t = tIn[i];
            o[i] = eval(model);
        }
    }
    return out;
}

// f(model) for each pair (T[i], P[i]), with the GIL released.
template <class Model, class Eval>
OutArray mapTP(const InArray& T, const InArray& P, Eval eval) {
    const double* tIn = input(T, "T");
    const double* pIn = input(P, "P");
    if (T.size() != P.size()) throw std::invalid_argument("T and P must have the same length");
    const auto n = static_cast<std::size_t>(T.size());
    OutArray out(static_cast<py::ssize_t>(n));
    double* o = out.mutable_data();
    {
        py::gil_scoped_release release;
        double t = 0.0;
        double p = 0.0;
        Model model(&t, &p);
        for (std::size_t i = 0; i < n; ++i) {
            t = tIn[i];
            p = pIn[i];
            o[i] = eval(model);
        }
    }
    return out;
}

std::pair<OutArray, OutArray> criticalCurve(const InArray& T) {
    const double* tIn = input(T, "T");
    const auto n = static_cast<std::size_t>(T.size());
    OutArray pOut(static_cast<py::ssize_t>(n));
    OutArray xOut(static_cast<py::ssize_t>(n));
    double* po = pOut.mutable_data();
    double* xo = xOut.mutable_data();
    {
        py::gil_scoped_release release;
        double t = 0.0;
        CriticalCurve curve(&t);
        for (std::size_t i = 0; i < n; ++i) {
            t = tIn[i];
            curve.Refresh();
            po[i] = curve.Pcrit;
            // The class gives composition 0 to every temperature below that of
            // water's critical point, a temperature that is not a number included.
            xo[i] = std::isnan(t) ? t : curve.Xcrit;
        }
    }
    return {std::move(pOut), std::move(xOut)};
}

// f(v) for each element, with the GIL released.
template <class F>
OutArray mapPlain(const InArray& a, F f) {
    const double* in = input(a, "argument");
    const auto n = static_cast<std::size_t>(a.size());
    OutArray out(static_cast<py::ssize_t>(n));
    double* o = out.mutable_data();
    {
        py::gil_scoped_release release;
        for (std::size_t i = 0; i < n; ++i) o[i] = f(in[i]);
    }
    return out;
}

// eval(water) for each element of A, which is the temperature [C] (or, with
// `temperature` false, the pressure [bar]) of a PureWater bound to the
// function's own t and p, with the GIL released.
template <class Eval>
OutArray mapWater(const InArray& A, const char* name, bool temperature, Eval eval) {
    const double* in = input(A, name);
    const auto n = static_cast<std::size_t>(A.size());
    OutArray out(static_cast<py::ssize_t>(n));
    double* o = out.mutable_data();
    {
        py::gil_scoped_release release;
        double t = 25.0;
        double p = 1.0;
        PureWater water(&t, &p);
        double& varied = temperature ? t : p;
        for (std::size_t i = 0; i < n; ++i) {
            varied = in[i];
            o[i] = eval(water);
        }
    }
    return out;
}

// Binds name(T, P): `field` of a Model refreshed at each pair (T[i], P[i]).
template <class Model>
void defTP(py::module_& m, const char* name, double Model::*field, const char* doc) {
    m.def(
        name,
        [field](const InArray& T, const InArray& P) {
            return mapTP<Model>(T, P, [field](Model& c) {
                c.Refresh();
                return c.*field;
            });
        },
        py::arg("T"), py::arg("P"), doc);
}

}  // namespace

PYBIND11_MODULE(_core, m) {
    m.doc() =
        "Compiled correlations of the H2O-NaCl model (flat float64 arrays; "
        "use the broadcasting functions of the quarvessin package).";

    m.def(
        "wt_percent", [](const InArray& x) { return mapPlain(x, quarvessin::wtPercent); },
        py::arg("x"), "NaCl content [wt%] of a mixture of mole fraction x of NaCl.");
    m.def(
        "mole_fraction", [](const InArray& wt) { return mapPlain(wt, quarvessin::moleFraction); },
        py::arg("wt"), "Mole fraction of NaCl of a mixture holding wt percent NaCl.");
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
            const double* pIn = input(P, "P");
            const auto n = static_cast<std::size_t>(P.size());
            OutArray out(static_cast<py::ssize_t>(n));
            double* o = out.mutable_data();
            {
                py::gil_scoped_release release;
                double t = meltingCurveTemperature;
                double p = 0.0;
                HaliteMelting melting(&t, &p);
                for (std::size_t i = 0; i < n; ++i) {
                    p = pIn[i];
                    melting.Refresh();
                    o[i] = melting.Thm;
                }
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
            return mapWater(T, "T", true,
                            [](PureWater& w) { return w.VaporPressure() * model_units::paToBar; });
        },
        py::arg("T"), "Vapour pressure of water [bar] at T [C].");
    m.def(
        "water_boiling_temperature",
        [](const InArray& P) {
            return mapWater(P, "P", false, [](PureWater& w) { return w.BoilingTemperature(); });
        },
        py::arg("P"), "Boiling temperature of water [C] at P [bar].");

    bindSections(m);
}
