// The phase state of H2O-NaCl over arrays, fluid inclusions and the
// surfaces of the phase diagram for Python, behind quarvessin._core.
//
// phase_state walks its (broadcast) arguments in chunks: each chunk's
// temperatures, pressures and compositions are gathered into buffers of the
// chunk's size (never the broadcast shape) and given to the engine's
// phaseStates, whose answers go straight into the result arrays. Large
// arrays are shared among threads chunk by chunk; the GIL is released
// throughout. inclusion walks its arguments the same way on one thread. The
// surfaces are the engine's value, their arrays read-only views into it.
#include "states.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <quarvessin/format.h>
#include <quarvessin/inclusion.h>
#include <quarvessin/phase_state.h>
#include <quarvessin/surfaces.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "elements.h"

namespace py = pybind11;
using namespace quarvessin;

namespace {

// Points per call of phaseStates: large enough that the call costs nothing,
// small enough that the buffers stay in cache.
constexpr std::size_t chunkPoints = 4096;
// Below this many points a single thread is used (the cost of starting one
// is some tens of microseconds, a point about a microsecond).
constexpr std::size_t pointsPerThread = 100000;
// More threads than this are not started, whatever is asked.
constexpr std::size_t maxThreads = 256;

// The threads to use for n points: `requested` when positive, otherwise one
// per core for large arrays.
std::size_t threadCount(std::size_t n, int requested) {
    if (requested > 0)
        return std::min<std::size_t>(static_cast<std::size_t>(requested), maxThreads);
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    return std::max<std::size_t>(1, std::min(cores, n / pointsPerThread));
}

// (assemblage, wt_vapor, wt_liquid, fraction_vapor, fraction_liquid,
// fraction_halite) of the broadcast arguments.
py::tuple phaseStateArrays(const InArray& T, const InArray& P, const InArray& W, int threads) {
    const Elements<3> e({&T, &P, &W});
    const std::vector<py::ssize_t>& shape = e.shape();
    py::array_t<std::uint8_t> assemblage(shape);
    py::array_t<double> wtV(shape), wtL(shape), fV(shape), fL(shape), fH(shape);
    std::uint8_t* a = assemblage.mutable_data();
    double* out[5] = {wtV.mutable_data(), wtL.mutable_data(), fV.mutable_data(), fL.mutable_data(),
                      fH.mutable_data()};
    const std::size_t n = e.size();
    const std::size_t chunks = (n + chunkPoints - 1) / chunkPoints;
    const std::size_t workers = std::max<std::size_t>(1, std::min(threadCount(n, threads), chunks));
    {
        py::gil_scoped_release release;
        std::atomic<std::size_t> next{0};
        std::vector<std::exception_ptr> errors(workers);
        auto work = [&](std::size_t w) {
            try {
                std::vector<double> t(chunkPoints), p(chunkPoints), wt(chunkPoints);
                std::vector<PhaseState> states(chunkPoints);
                for (std::size_t c; (c = next.fetch_add(1)) < chunks;) {
                    const std::size_t begin = c * chunkPoints;
                    const std::size_t end = std::min(n, begin + chunkPoints);
                    e.each(begin, end, [&](std::size_t i, const std::array<double, 3>& v) {
                        t[i - begin] = v[0];
                        p[i - begin] = v[1];
                        wt[i - begin] = v[2];
                    });
                    phaseStates(t.data(), p.data(), wt.data(), end - begin, states.data());
                    for (std::size_t i = begin; i < end; ++i) {
                        const PhaseState& s = states[i - begin];
                        a[i] = static_cast<std::uint8_t>(s.assemblage);
                        out[0][i] = s.wtVapor;
                        out[1][i] = s.wtLiquid;
                        out[2][i] = s.fractionVapor;
                        out[3][i] = s.fractionLiquid;
                        out[4][i] = s.fractionHalite;
                    }
                }
            } catch (...) {
                errors[w] = std::current_exception();
                next.store(chunks);  // the others stop too
            }
        };
        std::vector<std::thread> pool;
        try {
            for (std::size_t w = 1; w < workers; ++w) pool.emplace_back(work, w);
        } catch (...) {
            // No more threads to be had: the ones started and this one do it all.
        }
        work(0);
        for (std::thread& th : pool) th.join();
        for (const std::exception_ptr& error : errors) {
            if (error) std::rethrow_exception(error);
        }
    }
    return py::make_tuple(std::move(assemblage), std::move(wtV), std::move(wtL), std::move(fV),
                          std::move(fL), std::move(fH));
}

std::optional<double> measured(double v) {
    if (std::isnan(v)) return std::nullopt;
    return v;
}

// The input of one inclusion: NaN is "not measured"; the mode as a code
// (0 liquid, 1 vapor, 2 critical, NaN none).
InclusionInput inclusionInput(double tmIce, double tmHalite, double wt, double th, double mode) {
    InclusionInput in;
    in.tmIce = measured(tmIce);
    in.tmHalite = measured(tmHalite);
    in.wtPercent = measured(wt);
    in.th = measured(th);
    if (mode == 0.0) in.mode = Homogenization::Liquid;
    if (mode == 1.0) in.mode = Homogenization::Vapor;
    if (mode == 2.0) in.mode = Homogenization::Critical;
    return in;
}

std::string inclusionScalar(double tmIce, double tmHalite, double wt, double th, double mode) {
    py::gil_scoped_release release;
    return inclusionJson(inclusionState(inclusionInput(tmIce, tmHalite, wt, th, mode)));
}

py::object textOrNone(const std::string& s) {
    return s.empty() ? py::object(py::none()) : py::object(py::str(s));
}

// The answers of the broadcast arguments as a dict of arrays.
py::dict inclusionArrays(const InArray& tmIce, const InArray& tmHalite, const InArray& wt,
                         const InArray& th, const InArray& mode) {
    const Elements<5> e({&tmIce, &tmHalite, &wt, &th, &mode});
    std::vector<InclusionResult> results(e.size());
    {
        py::gil_scoped_release release;
        e.each([&](std::size_t i, const std::array<double, 5>& v) {
            results[i] = inclusionState(inclusionInput(v[0], v[1], v[2], v[3], v[4]));
        });
    }
    const std::vector<py::ssize_t>& shape = e.shape();
    py::array_t<double> w(shape), x(shape), m(shape), ph(shape), w5000(shape);
    py::array accepted = py::array_t<bool>(shape);
    py::object empty = py::module_::import("numpy").attr("empty");
    auto objects = [&] {
        return py::array(empty(py::tuple(py::cast(shape)), py::arg("dtype") = "O"));
    };
    py::array from = objects(), modes = objects(), refusal = objects(), trapping = objects(),
              warnings = objects();
    auto* acc = static_cast<bool*>(accepted.mutable_data());
    auto** fromP = static_cast<PyObject**>(from.mutable_data());
    auto** modeP = static_cast<PyObject**>(modes.mutable_data());
    auto** refusalP = static_cast<PyObject**>(refusal.mutable_data());
    auto** trappingP = static_cast<PyObject**>(trapping.mutable_data());
    auto** warningsP = static_cast<PyObject**>(warnings.mutable_data());
    // Stores o into an object array's slot, which holds None (or a null).
    auto put = [](PyObject** slot, py::object o) {
        Py_XDECREF(*slot);
        *slot = o.release().ptr();
    };
    for (std::size_t i = 0; i < results.size(); ++i) {
        const InclusionResult& r = results[i];
        acc[i] = r.accepted;
        w.mutable_data()[i] = r.wtPercent;
        x.mutable_data()[i] = r.moleFraction;
        m.mutable_data()[i] = r.molality;
        ph.mutable_data()[i] = r.homogenizationPressure;
        w5000.mutable_data()[i] = r.wtPercentAt5000Bar;
        put(fromP + i, textOrNone(r.salinityFrom));
        put(modeP + i,
            r.mode ? py::object(py::str(homogenizationWord(*r.mode))) : py::object(py::none()));
        put(refusalP + i, r.accepted ? py::object(py::none()) : py::object(py::str(r.refusal)));
        put(trappingP + i, textOrNone(r.trapping));
        put(warningsP + i, py::cast(r.warnings));
    }
    py::dict d;
    d["accepted"] = accepted;
    d["wt_percent"] = w;
    d["mole_fraction"] = x;
    d["molality"] = m;
    d["salinity_from"] = from;
    d["homogenization_pressure_bar"] = ph;
    d["mode"] = modes;
    d["wt_percent_at_5000_bar"] = w5000;
    d["trapping"] = trapping;
    d["warnings"] = warnings;
    d["refusal"] = refusal;
    return d;
}

SurfaceOptions surfaceOptions(std::optional<int> resolution, std::optional<int> samples,
                              std::optional<double> tMin, std::optional<double> tMax,
                              std::optional<double> pMin, std::optional<double> pMax) {
    SurfaceOptions o;
    if (resolution) o.resolution = *resolution;
    if (samples) o.samples = *samples;
    if (tMin) o.tMin = *tMin;
    if (tMax) o.tMax = *tMax;
    if (pMin) o.pMin = *pMin;
    if (pMax) o.pMax = *pMax;
    return o;
}

using SurfacesPtr = std::shared_ptr<const Surfaces>;

Surfaces surfacesOf(const SurfaceOptions& options) {
    Surfaces s;
    {
        py::gil_scoped_release release;
        s = computeSurfaces(options);
    }
    if (!s.accepted) throw py::value_error(s.refusal);
    return s;
}

// A read-only array of `rows` rows of `columns` Ts at `data`, keeping `keep` alive.
template <class T>
py::array view(const SurfacesPtr& keep, const T* data, std::size_t rows, std::size_t columns) {
    auto* owner = new SurfacesPtr(keep);
    py::capsule base(owner, [](void* p) { delete static_cast<SurfacesPtr*>(p); });
    std::vector<py::ssize_t> shape{static_cast<py::ssize_t>(rows)};
    std::vector<py::ssize_t> strides{static_cast<py::ssize_t>(columns * sizeof(T))};
    if (columns > 1) {
        shape.push_back(static_cast<py::ssize_t>(columns));
        strides.push_back(static_cast<py::ssize_t>(sizeof(T)));
    }
    static const T none{};
    py::array_t<T> a(shape, strides, rows == 0 ? &none : data, base);
    a.attr("setflags")(py::arg("write") = false);
    return std::move(a);
}

py::list surfaceList(const SurfaceOptions& options) {
    auto s = std::make_shared<const Surfaces>(surfacesOf(options));
    py::list out;
    for (const SurfaceMesh& mesh : s->surfaces) {
        py::dict d;
        d["name"] = mesh.name;
        d["boundary"] = mesh.boundary;
        d["vertices"] = view(s, mesh.vertices.empty() ? nullptr : mesh.vertices.front().data(),
                             mesh.vertices.size(), 3);
        d["triangles"] = view(s, mesh.triangles.empty() ? nullptr : mesh.triangles.front().data(),
                              mesh.triangles.size(), 3);
        d["lines"] =
            view(s, mesh.lines.empty() ? nullptr : mesh.lines.front().data(), mesh.lines.size(), 2);
        d["pieces"] = view(s, mesh.pieces.data(), mesh.pieces.size(), 1);
        out.append(d);
    }
    return out;
}

py::bytes surfacesFile(const std::string& format, const SurfaceOptions& options) {
    if (format != "glb" && format != "json") {
        throw py::value_error("the format of the surfaces must be 'glb' or 'json', not '" +
                              printable(format) + "'");
    }
    const Surfaces s = surfacesOf(options);
    std::string bytes;
    {
        py::gil_scoped_release release;
        bytes = format == "glb" ? surfacesGlb(s) : surfacesJson(s);
    }
    return py::bytes(bytes);
}

}  // namespace

void bindStates(py::module_& m) {
    py::list names;
    for (Assemblage a : assemblages()) names.append(assemblageName(a));
    m.attr("ASSEMBLAGES") = py::tuple(names);
    m.def("phase_state", &phaseStateArrays, py::arg("T"), py::arg("P"), py::arg("wt"),
          py::arg("threads") = 0,
          "(assemblage codes, wt_vapor, wt_liquid, fraction_vapor, fraction_liquid, "
          "fraction_halite) at T [C], P [bar], wt [wt% NaCl] (float64 arrays of one shape); "
          "threads 0: one per core for large arrays.");
    m.def("inclusion", &inclusionScalar, py::arg("tm_ice"), py::arg("tm_halite"), py::arg("wt"),
          py::arg("th"), py::arg("mode"),
          "The engine's json of one inclusion (NaN: not measured; mode 0 liquid, 1 vapor, "
          "2 critical, NaN none).");
    m.def("inclusion_arrays", &inclusionArrays, py::arg("tm_ice"), py::arg("tm_halite"),
          py::arg("wt"), py::arg("th"), py::arg("mode"),
          "The answers of inclusions over float64 arrays of one shape, as a dict of arrays.");
    m.def(
        "surfaces",
        [](std::optional<int> resolution, std::optional<int> samples, std::optional<double> tMin,
           std::optional<double> tMax, std::optional<double> pMin, std::optional<double> pMax) {
            return surfaceList(surfaceOptions(resolution, samples, tMin, tMax, pMin, pMax));
        },
        py::arg("resolution"), py::arg("samples"), py::arg("t_min"), py::arg("t_max"),
        py::arg("p_min"), py::arg("p_max"),
        "The surfaces of the phase diagram as dicts of arrays.");
    m.def(
        "surfaces_file",
        [](const std::string& format, std::optional<int> resolution, std::optional<int> samples,
           std::optional<double> tMin, std::optional<double> tMax, std::optional<double> pMin,
           std::optional<double> pMax) {
            return surfacesFile(format,
                                surfaceOptions(resolution, samples, tMin, tMax, pMin, pMax));
        },
        py::arg("format"), py::arg("resolution"), py::arg("samples"), py::arg("t_min"),
        py::arg("t_max"), py::arg("p_min"), py::arg("p_max"),
        "The bytes of the surfaces' glb or json file.");
}
