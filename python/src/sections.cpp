// Sections for Python: quarvessin::computeSection behind the classes Section
// and Boundary of the module quarvessin._core. A section is computed with the
// GIL released; its points are then copied into NumPy arrays of shape (n, 2)
// (wt% NaCl, temperature [C] or pressure [bar]), once per boundary.
#include "sections.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace {

const char* kindName(quarvessin::SectionKind kind) {
    return kind == quarvessin::SectionKind::Isobaric ? "isobar" : "isotherm";
}

// One boundary with its pieces already converted to arrays.
struct PyBoundary {
    quarvessin::Boundary boundary;
    py::list pieces;
};

struct PySection {
    quarvessin::SectionKind kind;
    double value;
    bool accepted;
    std::string console;
    std::vector<std::string> warnings;
    py::list boundaries;  // of std::shared_ptr<PyBoundary>
};

py::array_t<double> piece(const std::vector<quarvessin::Point>& points) {
    py::array_t<double> a({static_cast<py::ssize_t>(points.size()), py::ssize_t{2}});
    double* out = a.mutable_data();
    for (std::size_t i = 0; i < points.size(); ++i) {
        out[2 * i] = points[i].wtPercent;
        out[2 * i + 1] = points[i].value;
    }
    return a;
}

std::shared_ptr<PySection> section(bool isobaric, double value, bool fine) {
    if (!std::isfinite(value)) throw py::value_error("the section value must be a finite number");
    const auto kind =
        isobaric ? quarvessin::SectionKind::Isobaric : quarvessin::SectionKind::Isothermal;
    quarvessin::Section s;
    {
        py::gil_scoped_release release;
        quarvessin::SectionOptions options;
        options.fine = fine;
        s = quarvessin::computeSection(kind, value, options);
    }
    auto out = std::make_shared<PySection>();
    out->kind = s.kind;
    out->value = s.value;
    out->accepted = s.accepted;
    out->console = std::move(s.console);
    out->warnings = std::move(s.warnings);
    for (auto& b : s.boundaries) {
        auto pb = std::make_shared<PyBoundary>();
        for (const auto& points : b.pieces) pb->pieces.append(piece(points));
        pb->boundary = std::move(b);
        out->boundaries.append(py::cast(pb));
    }
    return out;
}

}  // namespace

void bindSections(py::module_& m) {
    py::class_<PyBoundary, std::shared_ptr<PyBoundary>>(
        m, "Boundary",
        "One phase boundary of a section, as the console program writes it to a file.")
        .def_property_readonly(
            "phases", [](const PyBoundary& b) { return b.boundary.phases; },
            "The phases, as the file name starts (e.g. 'liquid+vapor').")
        .def_property_readonly(
            "file_name", [](const PyBoundary& b) { return b.boundary.fileName; },
            "The name the console program gives the file.")
        .def_property_readonly(
            "scientific", [](const PyBoundary& b) { return b.boundary.scientific; },
            "True when the file writes its numbers as %e.")
        .def_property_readonly(
            "pieces", [](const PyBoundary& b) { return b.pieces; },
            "Separately traced pieces in file order: arrays of shape (n, 2) holding "
            "NaCl [wt%] and temperature [C] (isobar) or pressure [bar] (isotherm).")
        .def(
            "format", [](const PyBoundary& b) { return quarvessin::formatBoundary(b.boundary); },
            "The text of the boundary's file, exactly as the console program writes it.")
        .def("__repr__", [](const PyBoundary& b) {
            std::size_t n = 0;
            for (const auto& p : b.boundary.pieces) n += p.size();
            return "<Boundary " + b.boundary.phases + ": " +
                   std::to_string(b.boundary.pieces.size()) + " piece(s), " + std::to_string(n) +
                   " points>";
        });

    py::class_<PySection, std::shared_ptr<PySection>>(m, "Section",
                                                      "A phase-diagram section through H2O-NaCl.")
        .def_property_readonly(
            "kind", [](const PySection& s) { return std::string(kindName(s.kind)); },
            "'isobar' or 'isotherm'.")
        .def_readonly("value", &PySection::value,
                      "Pressure [bar] of an isobar, temperature [C] of an isotherm.")
        .def_readonly("accepted", &PySection::accepted,
                      "False when the console program refuses the value (out of range).")
        .def_readonly("console", &PySection::console,
                      "What the console program prints after reading the value.")
        .def_readonly(
            "warnings", &PySection::warnings,
            "Remarks about points that are not finite numbers or ranges, one sentence each.")
        .def_readonly("boundaries", &PySection::boundaries, "The stable boundaries of the section.")
        .def("__repr__", [](const PySection& s) {
            char value[64];
            std::snprintf(value, sizeof value, "%g", s.value);
            return std::string("<Section ") + kindName(s.kind) + " " + value +
                   (s.accepted ? ": " + std::to_string(py::len(s.boundaries)) + " boundaries>"
                               : ": refused>");
        });

    m.def("section", &section, py::arg("isobaric"), py::arg("value"), py::arg("fine") = false,
          "Computes a section (isobaric: pressure [bar]; otherwise temperature [C]).");

    m.def(
        "point",
        [](double tC, double pBar, std::optional<double> x) {
            quarvessin::PointResult r;
            {
                py::gil_scoped_release release;
                r = quarvessin::queryPoint(tC, pBar, x);
            }
            py::dict answer;
            answer["T_C"] = r.tC;
            answer["P_bar"] = r.pBar;
            answer["accepted"] = r.accepted;
            answer["refusal"] = r.refusal;
            answer["sublimation_pressure_bar"] = r.sublimationPressure;
            answer["three_phase_pressure_bar"] = r.threePhasePressure;
            answer["loop_top_bar"] = r.loopTopPressure;
            answer["loop_closes_at"] = r.loopClosesAtPureWater ? "pure water" : "critical point";
            py::list boundaries;
            for (const quarvessin::PointBoundary& b : r.boundaries) {
                py::dict boundary;
                boundary["boundary"] = b.boundary;
                boundary["phase"] = b.phase;
                boundary["description"] = b.description;
                boundary["wt_percent"] = b.wtPercent;
                boundary["mole_fraction"] = b.moleFraction;
                boundaries.append(boundary);
            }
            answer["boundaries"] = boundaries;
            answer["warnings"] = r.warnings;
            if (r.moleFraction) {
                answer["mole_fraction"] = *r.moleFraction;
                answer["wt_percent"] = r.wtPercent.value_or(std::nan(""));
                answer["assemblage"] = r.assemblage.empty() ? py::object(py::none())
                                                            : py::object(py::str(r.assemblage));
            }
            return answer;
        },
        py::arg("T"), py::arg("P"), py::arg("x") = py::none(),
        "The phase boundaries at T [C] and P [bar], and with x [mole fraction NaCl] the "
        "stable assemblage (as the command quarvessin point).");
}
