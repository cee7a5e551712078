// Sections, point queries and the engine's presentation layer for Python,
// behind the module quarvessin._core: the kind table and its refusals, the
// boundary styles, the range constants, the classes Section and Boundary with
// the engine's csv and json, and the point query with the engine's json.
//
// A section is computed with the GIL released and kept as the engine's value;
// the pieces of its boundaries are read-only NumPy views of shape (n, 2)
// (the kind's two columns, e.g. wt% NaCl and temperature [C]) into that value, so what
// Python reads is what format() writes. The phase fields are placed when
// first asked for (Section.fields, format("json")).
#include "sections.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <quarvessin/format.h>
#include <quarvessin/kinds.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>
#include <quarvessin/style.h>

#include <cmath>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;
using namespace quarvessin;

namespace {

static_assert(sizeof(Point) == 2 * sizeof(double), "a Point is two adjacent doubles");

const SectionKindInfo& kindOf(const std::string& word) {
    const SectionKindInfo* info = findKind(word);
    if (!info) throw py::value_error(unknownKindMessage(word));
    return *info;
}

py::dict quantity(const Quantity& q) {
    py::dict d;
    d["name"] = q.name;
    d["unit"] = q.unit;
    d["column"] = q.column;
    d["display"] = q.display;
    return d;
}

py::dict kindDict(const SectionKindInfo& k) {
    py::dict d;
    d["word"] = k.word;
    d["plural"] = k.plural;
    d["adjective"] = k.adjective;
    d["takes_value"] = k.takesValue;
    d["fixed"] = quantity(k.fixed);
    d["min"] = k.min;
    d["min_included"] = k.minIncluded;
    d["max"] = k.max;
    d["max_included"] = k.maxIncluded;
    d["file_unit"] = k.fileUnit;
    d["dat_suffix"] = k.datSuffix;
    d["x"] = quantity(k.x);
    d["y"] = quantity(k.y);
    d["x_min"] = k.xMin;
    d["x_max"] = k.xMax;
    d["log_y"] = k.logY;
    d["has_fields"] = k.hasFields;
    return d;
}

py::dict styleDict(const BoundaryStyle& s) {
    py::dict d;
    d["id"] = s.id;
    d["label"] = s.label;
    d["legend"] = s.legend;
    d["colour"] = s.colour;
    d["dots"] = s.dots;
    return d;
}

// A section as the engine computed it. Shared by the Python objects read
// from it (Section, its Boundary objects and their arrays), which refer to it
// and not to each other.
struct SectionData {
    Section section;
    std::string refusal;  // the front ends' refusal of the value; empty when accepted
    bool fine = false;
    bool fieldsPlaced = false;
};
using DataPtr = std::shared_ptr<SectionData>;

struct PyBoundary {
    DataPtr data;
    std::size_t index = 0;
    py::tuple pieces;  // read-only views into the points of `data`

    const Boundary& boundary() const { return data->section.boundaries[index]; }
};

struct PySection {
    DataPtr data;
    py::tuple boundaries;  // of PyBoundary
};

// The phase fields of the section, placed once (the engine recomputes the
// section to place them; its boundaries are the same points).
void placeFields(SectionData& s) {
    if (s.fieldsPlaced || !s.section.accepted) return;
    Section withFields;
    {
        py::gil_scoped_release release;
        SectionOptions options;
        options.fine = s.fine;
        options.fields = true;
        withFields = computeSection(s.section.kind, s.section.value, options);
    }
    if (!s.fieldsPlaced) {  // another thread may have placed them meanwhile
        s.section.fields = std::move(withFields.fields);
        s.fieldsPlaced = true;
    }
}

// A read-only (n, 2) view of a piece, keeping `data` alive.
py::array pieceView(const DataPtr& data, const std::vector<Point>& points) {
    auto* keep = new DataPtr(data);
    py::capsule base(keep, [](void* p) { delete static_cast<DataPtr*>(p); });
    const auto n = static_cast<py::ssize_t>(points.size());
    py::array_t<double> a(
        {n, py::ssize_t{2}},
        {static_cast<py::ssize_t>(sizeof(Point)), static_cast<py::ssize_t>(sizeof(double))},
        points.empty() ? nullptr : &points.front().wtPercent, base);
    a.attr("setflags")(py::arg("write") = false);
    return std::move(a);
}

std::shared_ptr<PySection> section(const std::string& word, double value, bool fine) {
    const SectionKindInfo& info = kindOf(word);
    if (!std::isfinite(value)) throw py::value_error(valueRefusal(info, value));
    auto data = std::make_shared<SectionData>();
    data->fine = fine;
    auto out = std::make_shared<PySection>();
    out->data = data;
    if (!valueAccepted(info, value)) {
        data->refusal = valueRefusal(info, value);
        // The console program's own refusal text where it refuses the value too.
        if (!sectionAccepted(info.kind, value)) {
            data->section = computeSection(info.kind, value);
        } else {
            data->section.kind = info.kind;
            data->section.value = value;
        }
        data->section.accepted = false;
        data->section.boundaries.clear();
        return out;
    }
    {
        py::gil_scoped_release release;
        SectionOptions options;
        options.fine = fine;
        data->section = computeSection(info.kind, value, options);
    }
    py::list boundaries;
    for (std::size_t i = 0; i < data->section.boundaries.size(); ++i) {
        auto b = std::make_shared<PyBoundary>();
        b->data = data;
        b->index = i;
        py::list pieces;
        for (const auto& points : data->section.boundaries[i].pieces) {
            pieces.append(pieceView(data, points));
        }
        b->pieces = py::tuple(pieces);
        boundaries.append(py::cast(b));
    }
    out->boundaries = py::tuple(boundaries);
    return out;
}

py::list fieldList(SectionData& s) {
    placeFields(s);
    const SectionKindInfo& info = kindInfo(s.section.kind);
    py::list fields;
    for (const Field& f : s.section.fields) {
        py::dict d;
        d["name"] = f.label;
        d["assemblage"] = f.assemblage;
        d[info.x.column] = f.wtPercent;
        d[info.y.column] = f.value;
        fields.append(d);
    }
    return fields;
}

std::string formatSection(SectionData& s, const std::string& format) {
    if (format == "csv") return sectionCsv(s.section);
    if (format == "json") {
        placeFields(s);
        return sectionJson(s.section);
    }
    throw py::value_error("the format of a section must be 'csv' or 'json', not '" +
                          printable(format) + "'");
}

// (accepted, refusal, json of the answer or "") of a point query; `unit` is
// "wt" or "x" when a composition is given.
py::tuple point(double tC, double pBar, std::optional<double> value, const std::string& unit) {
    PointResult r;
    std::string json;
    {
        py::gil_scoped_release release;
        if (value) {
            CompositionInput input;
            input.unit = unit == "x" ? CompositionInput::Unit::MoleFraction
                                     : CompositionInput::Unit::WtPercent;
            input.value = *value;
            r = queryPoint(tC, pBar, input);
        } else {
            r = queryPoint(tC, pBar);
        }
        if (r.accepted) json = pointJson(r);
    }
    return py::make_tuple(r.accepted, r.refusal, json);
}

}  // namespace

void bindSections(py::module_& m) {
    // Ranges as the engine holds them.
    m.attr("CORRELATION_MIN_TEMPERATURE") = correlationMinTemperature;
    m.attr("CORRELATION_MAX_TEMPERATURE") = correlationMaxTemperature;
    m.attr("CORRELATION_MIN_PRESSURE") = correlationMinPressure;
    m.attr("CORRELATION_MAX_PRESSURE") = correlationMaxPressure;
    m.attr("ISOBAR_TOP_TEMPERATURE") = isobarTopTemperature;
    m.attr("ABSOLUTE_ZERO") = absoluteZero;
    m.attr("MIN_SECTION_PRESSURE") = minSectionPressure;
    m.attr("MAX_SECTION_PRESSURE") = maxSectionPressure;
    m.attr("MAX_SECTION_TEMPERATURE") = maxSectionTemperature;
    m.def("correlation_range", &correlationRange,
          "The range of the correlations for a reader: '0 to 1000 C, 1 to 5000 bar'.");

    m.def(
        "section_kinds",
        [] {
            py::list kinds;
            for (const SectionKindInfo& k : sectionKinds()) kinds.append(kindDict(k));
            return kinds;
        },
        "Every kind of section, as dicts: words, fixed quantity and its range, axes.");
    m.def(
        "find_kind",
        [](const std::string& word) -> py::object {
            const SectionKindInfo* k = findKind(word);
            return k ? py::object(kindDict(*k)) : py::object(py::none());
        },
        py::arg("word"), "The kind a word names (word, plural or adjective), or None.");
    m.def(
        "unknown_kind_message", [](const std::string& word) { return unknownKindMessage(word); },
        py::arg("word"), "The refusal of a word that names no kind of section.");
    m.def(
        "value_accepted",
        [](const std::string& word, double value) { return valueAccepted(kindOf(word), value); },
        py::arg("kind"), py::arg("value"), "True when a section of this kind takes the value.");
    m.def(
        "valid_range", [](const std::string& word) { return validRange(kindOf(word)); },
        py::arg("kind"), "'valid: 1 to 5000 bar' and the like.");
    m.def(
        "value_refusal",
        [](const std::string& word, double value) { return valueRefusal(kindOf(word), value); },
        py::arg("kind"), py::arg("value"), "The refusal of a section value.");
    m.def(
        "section_name",
        [](const std::string& word, double value) { return sectionName(kindOf(word).kind, value); },
        py::arg("kind"), py::arg("value"), "'isobar 300 bar', 'isotherm -20 C'.");
    m.def("shortest_number", &shortestNumber, py::arg("value"),
          "The shortest decimal text that reads back as exactly the value.");

    m.def(
        "boundary_styles",
        [] {
            py::list styles;
            for (const BoundaryStyle& s : boundaryStyles()) styles.append(styleDict(s));
            return styles;
        },
        "Every boundary identity in legend order: id, label, legend, colour, dots.");
    m.def(
        "assemblage_label", [](const std::string& a) { return std::string(assemblageLabel(a)); },
        py::arg("assemblage"), "'L+H' for 'liquid+halite' and the like; '' when unknown.");

    py::class_<PyBoundary, std::shared_ptr<PyBoundary>>(
        m, "Boundary",
        "One phase boundary of a section, as the console program writes it to a file.")
        .def_property_readonly(
            "phases", [](const PyBoundary& b) { return b.boundary().phases; },
            "The phases, as the file name starts (e.g. 'liquid+vapor').")
        .def_property_readonly(
            "id", [](const PyBoundary& b) { return b.boundary().id; },
            "The stable identity, the same on every section: 'vapor+liquid', 'liquidus', "
            "'three-phase', 'vapor+halite'.")
        .def_property_readonly(
            "branches",
            [](const PyBoundary& b) {
                py::list names;
                for (Branch branch : b.boundary().branches) names.append(branchName(branch));
                return py::tuple(names);
            },
            "The branch of each piece: 'vapor', 'liquid', 'loop' or '' (not told).")
        .def_property_readonly(
            "file_name", [](const PyBoundary& b) { return b.boundary().fileName; },
            "The name the console program gives the file.")
        .def_property_readonly(
            "scientific", [](const PyBoundary& b) { return b.boundary().scientific; },
            "True when the file writes its numbers as %e.")
        .def_property_readonly(
            "pieces", [](const PyBoundary& b) { return b.pieces; },
            "Separately traced pieces in file order: read-only arrays of shape (n, 2) holding "
            "NaCl [wt%] and temperature [C] (isobar) or pressure [bar] (isotherm), or "
            "temperature [C] and pressure [bar] (isopleth, projection).")
        .def(
            "format", [](const PyBoundary& b) { return formatBoundary(b.boundary()); },
            "The text of the boundary's file, exactly as the console program writes it.")
        .def("__repr__", [](const PyBoundary& b) {
            std::size_t n = 0;
            for (const auto& p : b.boundary().pieces) n += p.size();
            return "<Boundary " + b.boundary().id + ": " +
                   std::to_string(b.boundary().pieces.size()) + " piece(s), " + std::to_string(n) +
                   " points>";
        });

    py::class_<PySection, std::shared_ptr<PySection>>(m, "Section",
                                                      "A phase-diagram section through H2O-NaCl.")
        .def_property_readonly(
            "kind",
            [](const PySection& s) { return std::string(kindInfo(s.data->section.kind).word); },
            "The kind's word: 'isobar', 'isotherm', 'isopleth' or 'projection'.")
        .def_property_readonly(
            "value",
            [](const PySection& s) -> py::object {
                if (!kindInfo(s.data->section.kind).takesValue) return py::none();
                return py::float_(s.data->section.value);
            },
            "Pressure [bar] of an isobar, temperature [C] of an isotherm, NaCl [wt%] of an "
            "isopleth; None for the projection.")
        .def_property_readonly(
            "unit",
            [](const PySection& s) {
                const SectionKindInfo& info = kindInfo(s.data->section.kind);
                return std::string(info.takesValue ? info.fixed.unit : "");
            },
            "Unit of the value: 'bar', 'C' or 'wt%' ('' for the projection).")
        .def_property_readonly(
            "columns",
            [](const PySection& s) {
                const SectionKindInfo& info = kindInfo(s.data->section.kind);
                return py::make_tuple(info.x.column, info.y.column);
            },
            "The two columns of the points: ('wt_percent', 'temperature_C' or 'pressure_bar') "
            "or ('temperature_C', 'pressure_bar').")
        .def_property_readonly(
            "accepted", [](const PySection& s) { return s.data->section.accepted; },
            "False when the value is out of range (see refusal).")
        .def_property_readonly(
            "refusal", [](const PySection& s) { return s.data->refusal; },
            "Why the value is refused, as the command line says it; '' when accepted.")
        .def_property_readonly(
            "console", [](const PySection& s) { return s.data->section.console; },
            "What the console program prints after reading the value.")
        .def_property_readonly(
            "warnings", [](const PySection& s) { return s.data->section.warnings; },
            "Remarks about points that are not finite numbers or ranges, one sentence each.")
        .def_readonly("boundaries", &PySection::boundaries, "The stable boundaries of the section.")
        .def_property_readonly(
            "fields", [](PySection& s) { return fieldList(*s.data); },
            "The phase fields with the place of each label, as the engine places them: dicts "
            "with 'name' (e.g. 'L+H'), 'assemblage' (e.g. 'liquid+halite') and the two "
            "columns. Placed on first use (about two thousand point classifications).")
        .def(
            "format",
            [](PySection& s, const std::string& format) { return formatSection(*s.data, format); },
            py::arg("format"), "The section as 'csv' or 'json', the bytes the command line writes.")
        .def(
            "file_name",
            [](const PySection& s, const std::string& extension) {
                return sectionFileName(s.data->section.kind, s.data->section.value, extension);
            },
            py::arg("extension"), "The command line's file name: 'isobar_300bar.csv'.")
        .def("__repr__", [](const PySection& s) {
            return "<Section " + sectionName(s.data->section.kind, s.data->section.value) +
                   (s.data->section.accepted
                        ? ": " + std::to_string(s.data->section.boundaries.size()) + " boundaries>"
                        : ": refused>");
        });

    m.def("section", &section, py::arg("kind"), py::arg("value"), py::arg("fine") = false,
          "Computes a section of the kind a word names at a finite value.");
    m.def("point", &point, py::arg("T"), py::arg("P"), py::arg("composition") = py::none(),
          py::arg("unit") = "wt",
          "(accepted, refusal, json) of the point query at T [C], P [bar] with a composition "
          "in 'wt' [wt% NaCl] or 'x' [mole fraction NaCl].");
}
