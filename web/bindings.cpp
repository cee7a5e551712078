// JavaScript interface of the section engine (embind). The page formats,
// names and ranges nothing itself: every word, number text, file, range,
// colour and phase-field label comes from here, that is from the engine's
// presentation layer.
//
//   computeSection(kind, value[, { fine, fields }]) -> Section
//   computeSection(kind) -> the Section of a kind that takes no value (the
//       projection; any value given to such a kind is ignored)
//       a section held by the module: it keeps the engine's Section, so its
//       files and formats are written from the boundaries the caller holds,
//       never recomputed. Properties (plain values, computed once):
//         accepted, refusal ('' or the engine's refusal of the value),
//         console (what the console program prints), kind (its word), value,
//         fine, boundaries: [{ id, label, phases, fileName, scientific,
//           branches: ['vapor'|'liquid'|'loop'|''], pieces: [{ x, y }] }],
//         fields: [{ name, assemblage, x, y }] (with { fields: true }),
//         warnings: [String]
//       Methods: format('csv'|'json'), formatBoundary(i) (the bytes of the
//       console program's file of boundary i), fileName(extension),
//       delete() (frees it at once; one that is dropped is freed when
//       JavaScript collects it).
//   formatSection(kind, value, 'csv'|'json') -> the bytes of
//       `quarvessin section KIND VALUE --format csv|json`
//   sectionFileName(kind, value, extension), valueAccepted(kind, value),
//   valueRefusal(kind, value), validRange(kind), sectionAccepted(kind, value)
//   sectionKinds() -> the kind table; boundaryStyles() -> the boundary styles
//   queryPoint(T, P[, wt]) -> the point query, with the assemblage at wt% NaCl
//   phaseState(T, P, wt) -> { assemblage, code, wtVapor, wtLiquid,
//       fractionVapor, fractionLiquid, fractionHalite }; assemblages() the
//       names of the codes
//   statePoint(kind, value, x, y) -> { tC, pBar, wt } of a point of a plot
//   inclusion({ tmIce, tmHalite, wt, th, to }) -> the inclusion's json
//       (inclusionJson) parsed, with accepted, th, homogenization_curve,
//       critical_temperature_C and text
//   computeSurfaces([{ resolution, samples, tMin, tMax, pMin, pMax }]) ->
//       { accepted, refusal, temperatures, surfaces: [{ name, boundary,
//       vertices, triangles, lines, pieces }] } as flat typed arrays
//   shortestNumber(v), sixDigits(v)
//   constants: correlationMin/MaxTemperature, correlationMin/MaxPressure,
//   isobarTopTemperature, absoluteZero, minSectionPressure,
//   maxSectionPressure, maxSectionTemperature
//
// kind is any word of the kind table ("isobar", "isobars", "isobaric", ...);
// x holds wt% NaCl, y the kind's vertical quantity, as Float64Array. Values
// outside the kind's range are refused (accepted false, with the refusal);
// another kind word, an unknown format, a boundary index out of range and
// running out of memory throw a JavaScript Error.
//
// A JavaScript exception leaves a C++ frame without running its destructors,
// so every function below does its work in a scope of its own and throws
// only after that scope has closed (attempt()).
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <quarvessin/composition.h>
#include <quarvessin/format.h>
#include <quarvessin/inclusion.h>
#include <quarvessin/kinds.h>
#include <quarvessin/phase_state.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>
#include <quarvessin/style.h>
#include <quarvessin/surfaces.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using emscripten::val;
using quarvessin::Section;
using quarvessin::SectionKindInfo;

constexpr const char* outOfMemory = "out of memory";

// A refusal that becomes a JavaScript Error once the C++ work is undone.
struct Refusal {
    std::string message;
};

// Runs `work` (which returns a val) in a scope of its own; a Refusal,
// std::bad_alloc or another C++ exception from it is thrown as a JavaScript
// Error after the scope.
template <typename Work>
val attempt(Work&& work) {
    val error = val::undefined();
    val result = val::undefined();
    try {
        result = work();
    } catch (const Refusal& refusal) {
        error = val(refusal.message);
    } catch (const std::bad_alloc&) {
        error = val(outOfMemory);  // from the C string: nothing more to allocate here
    } catch (const std::exception& e) {
        error = val(e.what());
    }
    if (!error.isUndefined()) val::global("Error").new_(error).throw_();
    return result;
}

// The text of a JavaScript value as String() gives it.
std::string text(const val& value) {
    return value.isString() ? value.as<std::string>()
                            : val::global("String")(value).as<std::string>();
}

// The row of a kind word, or a Refusal with the engine's message.
const SectionKindInfo& kindOf(const val& word) {
    const std::string name = text(word);
    const SectionKindInfo* info = quarvessin::findKind(name);
    if (info == nullptr) throw Refusal{quarvessin::unknownKindMessage(name)};
    return *info;
}

val quantity(const quarvessin::Quantity& q) {
    val out = val::object();
    out.set("name", std::string(q.name));
    out.set("unit", std::string(q.unit));
    out.set("column", std::string(q.column));
    out.set("display", std::string(q.display));
    return out;
}

// A copy of the numbers in a new Float64Array.
val floatArray(const std::vector<double>& values) {
    val array = val::global("Float64Array").new_(values.size());
    array.call<void>("set", val(emscripten::typed_memory_view(values.size(), values.data())));
    return array;
}

val stringArray(const std::vector<std::string>& strings) {
    val array = val::array();
    for (const std::string& s : strings) array.call<void>("push", s);
    return array;
}

val boundariesOf(const Section& section) {
    val boundaries = val::array();
    std::vector<double> xs;
    std::vector<double> ys;
    for (const quarvessin::Boundary& boundary : section.boundaries) {
        const quarvessin::BoundaryStyle* style = quarvessin::styleOfId(boundary.id);
        val b = val::object();
        b.set("id", boundary.id);
        b.set("label", std::string(style ? style->label : ""));
        b.set("phases", boundary.phases);
        b.set("fileName", boundary.fileName);
        b.set("scientific", boundary.scientific);
        val branches = val::array();
        val pieces = val::array();
        for (std::size_t i = 0; i < boundary.pieces.size(); ++i) {
            const quarvessin::Branch branch =
                i < boundary.branches.size() ? boundary.branches[i] : quarvessin::Branch::None;
            branches.call<void>("push", std::string(quarvessin::branchName(branch)));
            xs.clear();
            ys.clear();
            for (const quarvessin::Point& point : boundary.pieces[i]) {
                xs.push_back(point.wtPercent);
                ys.push_back(point.value);
            }
            val p = val::object();
            p.set("x", floatArray(xs));
            p.set("y", floatArray(ys));
            pieces.call<void>("push", p);
        }
        b.set("branches", branches);
        b.set("pieces", pieces);
        boundaries.call<void>("push", b);
    }
    return boundaries;
}

val fieldsOf(const Section& section) {
    val fields = val::array();
    for (const quarvessin::Field& field : section.fields) {
        val f = val::object();
        f.set("name", field.label);
        f.set("assemblage", field.assemblage);
        f.set("x", field.wtPercent);
        f.set("y", field.value);
        fields.call<void>("push", f);
    }
    return fields;
}

// The formats of a section.
enum class Format { Csv, Json };

Format formatOf(const std::string& name) {
    if (name == "csv") return Format::Csv;
    if (name == "json") return Format::Json;
    throw Refusal{"the format of a section must be csv or json, not '" +
                  quarvessin::printable(name) + "'"};
}

std::string formatted(const Section& section, Format format) {
    return format == Format::Csv ? quarvessin::sectionCsv(section)
                                 : quarvessin::sectionJson(section);
}

// A section held for JavaScript: the engine's Section and its JavaScript
// view, built once.
class SectionHandle {
  public:
    SectionHandle(Section section, std::string refusal, bool fine)
        : section_(std::move(section)),
          refusal_(std::move(refusal)),
          fine_(fine),
          boundaries_(boundariesOf(section_)),
          fields_(fieldsOf(section_)),
          warnings_(stringArray(section_.warnings)) {}

    bool accepted() const { return refusal_.empty(); }
    std::string refusal() const { return refusal_; }
    std::string console() const { return section_.console; }
    std::string kind() const { return quarvessin::kindInfo(section_.kind).word; }
    double value() const { return section_.value; }
    bool fine() const { return fine_; }
    val boundaries() const { return boundaries_; }
    val fields() const { return fields_; }
    val warnings() const { return warnings_; }

    val format(val format) const {
        return attempt([&] {
            const Format f = formatOf(text(format));
            if (!accepted()) throw Refusal{refusal_};
            return val(formatted(section_, f));
        });
    }

    val formatBoundary(val index) const {
        return attempt([&] {
            const std::size_t n = section_.boundaries.size();
            const double i = index.isNumber() ? index.as<double>() : -1.0;
            if (!(i >= 0.0 && i < static_cast<double>(n) && std::floor(i) == i)) {
                throw Refusal{"the " + quarvessin::sectionName(section_.kind, section_.value) +
                              " section has " + std::to_string(n) +
                              " boundaries, there is no boundary " +
                              quarvessin::printable(text(index))};
            }
            return val(
                quarvessin::formatBoundary(section_.boundaries[static_cast<std::size_t>(i)]));
        });
    }

    val fileName(val extension) const {
        return attempt([&] {
            return val(quarvessin::sectionFileName(section_.kind, section_.value, text(extension)));
        });
    }

  private:
    Section section_;
    std::string refusal_;
    bool fine_;
    val boundaries_;
    val fields_;
    val warnings_;
};

// The section, or for a value outside the kind's range a refused one that
// carries the engine's refusal (and, where the console program refuses it
// too, the console program's words).
std::shared_ptr<SectionHandle> sectionOf(const SectionKindInfo& info, double value,
                                         const quarvessin::SectionOptions& options) {
    if (!info.takesValue) value = 0.0;  // one section, whatever the caller passes
    if (!quarvessin::valueAccepted(info, value)) {
        Section refused;
        if (!quarvessin::sectionAccepted(info.kind, value)) {
            refused = quarvessin::computeSection(info.kind, value);
        }
        refused.kind = info.kind;
        refused.value = value;
        refused.accepted = false;
        return std::make_shared<SectionHandle>(std::move(refused),
                                               quarvessin::valueRefusal(info, value), false);
    }
    return std::make_shared<SectionHandle>(quarvessin::computeSection(info.kind, value, options),
                                           std::string(), options.fine);
}

val computeSection(val kind, double value, val options) {
    return attempt([&] {
        quarvessin::SectionOptions sectionOptions;
        if (!options.isUndefined() && !options.isNull()) {
            sectionOptions.fine = options["fine"].as<bool>();
            sectionOptions.fields = options["fields"].as<bool>();
        }
        return val(sectionOf(kindOf(kind), value, sectionOptions));
    });
}

val computeSectionDefault(val kind, double value) {
    return computeSection(std::move(kind), value, val::undefined());
}

// A kind that takes no value (the projection): computeSection(kind).
val computeSectionOfKind(val kind) {
    return computeSection(std::move(kind), 0.0, val::undefined());
}

// The bytes of `quarvessin section KIND VALUE --format csv|json`: the
// section at the console program's points, with its phase fields.
val formatSection(val kind, double value, val format) {
    return attempt([&] {
        const SectionKindInfo& info = kindOf(kind);
        const Format f = formatOf(text(format));
        if (!quarvessin::valueAccepted(info, value)) {
            throw Refusal{quarvessin::valueRefusal(info, value)};
        }
        quarvessin::SectionOptions options;
        options.fields = true;
        return val(formatted(quarvessin::computeSection(info.kind, value, options), f));
    });
}

val sectionFileName(val kind, double value, val extension) {
    return attempt([&] {
        return val(quarvessin::sectionFileName(kindOf(kind).kind, value, text(extension)));
    });
}

val valueAccepted(val kind, double value) {
    return attempt([&] { return val(quarvessin::valueAccepted(kindOf(kind), value)); });
}

val valueRefusal(val kind, double value) {
    return attempt([&] { return val(quarvessin::valueRefusal(kindOf(kind), value)); });
}

val validRange(val kind) {
    return attempt([&] { return val(quarvessin::validRange(kindOf(kind))); });
}

// The console program's own rule, which the command line and the page
// narrow with the kind's range.
val sectionAccepted(val kind, double value) {
    return attempt([&] { return val(quarvessin::sectionAccepted(kindOf(kind).kind, value)); });
}

// "composition-temperature", "composition-pressure", "temperature-pressure".
const char* planeName(quarvessin::SectionPlane plane) {
    switch (plane) {
        case quarvessin::SectionPlane::CompositionTemperature:
            return "composition-temperature";
        case quarvessin::SectionPlane::CompositionPressure:
            return "composition-pressure";
        case quarvessin::SectionPlane::TemperaturePressure:
            break;
    }
    return "temperature-pressure";
}

val sectionKinds() {
    return attempt([&] {
        val kinds = val::array();
        for (const SectionKindInfo& info : quarvessin::sectionKinds()) {
            val k = val::object();
            k.set("word", std::string(info.word));
            k.set("plural", std::string(info.plural));
            k.set("adjective", std::string(info.adjective));
            k.set("takesValue", info.takesValue);
            k.set("fixed", quantity(info.fixed));
            k.set("min", info.min);
            k.set("minIncluded", info.minIncluded);
            k.set("max", info.max);
            k.set("maxIncluded", info.maxIncluded);
            k.set("fileUnit", std::string(info.fileUnit));
            k.set("datSuffix", std::string(info.datSuffix));
            k.set("x", quantity(info.x));
            k.set("y", quantity(info.y));
            k.set("plane", std::string(planeName(info.plane)));
            k.set("xMin", info.xMin);
            k.set("xMax", info.xMax);
            k.set("logY", info.logY);
            k.set("hasFields", info.hasFields);
            kinds.call<void>("push", k);
        }
        return kinds;
    });
}

val boundaryStyles() {
    return attempt([&] {
        val styles = val::array();
        for (const quarvessin::BoundaryStyle& style : quarvessin::boundaryStyles()) {
            val s = val::object();
            s.set("id", std::string(style.id));
            s.set("label", std::string(style.label));
            s.set("legend", std::string(style.legend));
            s.set("colour", std::string(style.colour));
            s.set("dots", style.dots);
            styles.call<void>("push", s);
        }
        return styles;
    });
}

val pointOf(const quarvessin::PointResult& r) {
    val out = val::object();
    out.set("accepted", r.accepted);
    out.set("refusal", r.refusal);
    out.set("tC", r.tC);
    out.set("pBar", r.pBar);
    if (!r.accepted) return out;
    out.set("sublimationPressure", r.sublimationPressure);
    out.set("threePhasePressure", r.threePhasePressure);
    out.set("loopTopPressure", r.loopTopPressure);
    out.set("loopClosesAtPureWater", r.loopClosesAtPureWater);
    val boundaries = val::array();
    for (const quarvessin::PointBoundary& b : r.boundaries) {
        val o = val::object();
        o.set("boundary", b.boundary);
        o.set("phase", b.phase);
        o.set("description", b.description);
        o.set("wtPercent", b.wtPercent);
        o.set("moleFraction", b.moleFraction);
        boundaries.call<void>("push", o);
    }
    out.set("boundaries", boundaries);
    if (r.wtPercent) out.set("wtPercent", *r.wtPercent);
    if (r.moleFraction) out.set("moleFraction", *r.moleFraction);
    out.set("assemblage", r.assemblage);
    out.set("warnings", stringArray(r.warnings));
    return out;
}

// The point query at T [C] and P [bar], with the assemblage of a mixture of
// wt% NaCl when `wt` is a number (refused outside 0 to 100 wt%, as its mole
// fraction outside 0 to 1).
val queryPoint(double tC, double pBar, val wt) {
    return attempt([&] {
        if (!wt.isNumber()) return pointOf(quarvessin::queryPoint(tC, pBar));
        return pointOf(quarvessin::queryPoint(tC, pBar, quarvessin::moleFraction(wt.as<double>())));
    });
}

val queryPointAt(double tC, double pBar) { return queryPoint(tC, pBar, val::undefined()); }

val shortestNumber(double value) {
    return attempt([&] { return val(quarvessin::shortestNumber(value)); });
}

val sixDigits(double value) {
    return attempt([&] { return val(quarvessin::sixDigits(value)); });
}

// The phase state at T [C], P [bar] and wt% NaCl (the engine's phaseState):
// { assemblage ('' when unknown), code (its index in assemblages()),
// wtVapor, wtLiquid, fractionVapor, fractionLiquid, fractionHalite } with
// NaN for a phase that is absent.
val phaseStateOf(const quarvessin::PhaseState& state) {
    val out = val::object();
    out.set("assemblage", std::string(quarvessin::assemblageName(state.assemblage)));
    out.set("code", static_cast<int>(state.assemblage));
    out.set("wtVapor", state.wtVapor);
    out.set("wtLiquid", state.wtLiquid);
    out.set("fractionVapor", state.fractionVapor);
    out.set("fractionLiquid", state.fractionLiquid);
    out.set("fractionHalite", state.fractionHalite);
    return out;
}

val phaseState(double tC, double pBar, double wt) {
    return attempt([&] { return phaseStateOf(quarvessin::phaseState(tC, pBar, wt)); });
}

// The names of the assemblage codes, Unknown ('') first.
val assemblages() {
    return attempt([&] {
        val names = val::array();
        for (quarvessin::Assemblage a : quarvessin::assemblages()) {
            names.call<void>("push", std::string(quarvessin::assemblageName(a)));
        }
        return names;
    });
}

// The temperature [C], pressure [bar] and composition [wt%] of the point
// (x, y) of a section of the kind at value: { tC, pBar, wt }.
val statePoint(val kind, double value, double x, double y) {
    return attempt([&] {
        const quarvessin::StatePoint p = quarvessin::statePoint(kindOf(kind), value, x, y);
        val out = val::object();
        out.set("tC", p.tC);
        out.set("pBar", p.pBar);
        out.set("wt", p.wt);
        return out;
    });
}

// True for a JavaScript object (not null, not a primitive).
bool isObject(const val& v) { return v.typeOf().as<std::string>() == "object" && !v.isNull(); }

// A measured value of the inclusion form: a number, or nothing when the
// property is undefined, null or an empty string; anything else is refused.
std::optional<double> measurement(const val& input, const char* name) {
    const val v = input[name];
    if (v.isUndefined() || v.isNull() || (v.isString() && v.as<std::string>().empty())) {
        return std::nullopt;
    }
    if (!v.isNumber()) {
        throw Refusal{std::string(name) + " must be a number, not '" +
                      quarvessin::printable(text(v)) + "'"};
    }
    return v.as<double>();
}

// inclusion({ tmIce, tmHalite, wt, th, to }): the engine's inclusionState,
// as its inclusionJson parsed (wt_percent, mole_fraction, molality,
// salinity_from, homogenization_pressure_bar, mode, wt_percent_at_5000_bar,
// trapping, warnings, refusal) with accepted, th, homogenization_curve,
// critical_temperature_C and the text the command line prints.
val inclusion(val input) {
    return attempt([&] {
        if (!isObject(input)) throw Refusal{"the inclusion must be an object of its measurements"};
        quarvessin::InclusionInput in;
        in.tmIce = measurement(input, "tmIce");
        in.tmHalite = measurement(input, "tmHalite");
        in.wtPercent = measurement(input, "wt");
        in.th = measurement(input, "th");
        const val to = input["to"];
        if (!to.isUndefined() && !to.isNull() && !(to.isString() && to.as<std::string>().empty())) {
            in.mode = quarvessin::homogenizationFromWord(text(to));
            if (!in.mode) {
                throw Refusal{"to is liquid, vapor or critical, not '" +
                              quarvessin::printable(text(to)) + "'"};
            }
        }
        const quarvessin::InclusionResult r = quarvessin::inclusionState(in);
        val out = val::global("JSON").call<val>("parse", quarvessin::inclusionJson(r));
        out.set("accepted", r.accepted);
        out.set("th", r.th ? val(*r.th) : val::null());
        out.set("homogenization_curve", r.homogenizationCurve);
        out.set("critical_temperature_C", r.criticalTemperature);
        out.set("text", quarvessin::inclusionText(r));
        return out;
    });
}

// A copy of 32-bit indices in a new Uint32Array.
template <std::size_t N>
val indexArray(const std::vector<std::array<std::uint32_t, N>>& rows) {
    const std::size_t n = rows.size() * N;
    val array = val::global("Uint32Array").new_(n);
    if (n > 0) {
        array.call<void>("set", val(emscripten::typed_memory_view(n, rows.front().data())));
    }
    return array;
}

// computeSurfaces({ resolution, samples, tMin, tMax, pMin, pMax }) ->
// { accepted, refusal, temperatures: Float64Array, surfaces: [{ name,
// boundary, vertices: Float64Array [T, P, wt, ...], triangles: Uint32Array
// [i, j, k, ...], lines: Uint32Array [i, j, ...], pieces: Uint32Array }] }:
// flat typed arrays, not json text.
val computeSurfaces(val options) {
    return attempt([&] {
        quarvessin::SurfaceOptions o;
        if (isObject(options)) {
            const auto number = [&](const char* name, double& into) {
                const val v = options[name];
                if (v.isUndefined() || v.isNull()) return;
                if (!v.isNumber()) throw Refusal{std::string(name) + " must be a number"};
                into = v.as<double>();
            };
            double resolution = o.resolution;
            double samples = o.samples;
            number("resolution", resolution);
            number("samples", samples);
            for (double v : {resolution, samples}) {
                if (!(v >= 2.0 && v <= 10000.0 && std::floor(v) == v)) {
                    throw Refusal{"resolution and samples must be whole numbers from 2 to 10000"};
                }
            }
            o.resolution = static_cast<int>(resolution);
            o.samples = static_cast<int>(samples);
            number("tMin", o.tMin);
            number("tMax", o.tMax);
            number("pMin", o.pMin);
            number("pMax", o.pMax);
        }
        const quarvessin::Surfaces result = quarvessin::computeSurfaces(o);
        val out = val::object();
        out.set("accepted", result.accepted);
        out.set("refusal", result.refusal);
        out.set("temperatures", floatArray(result.temperatures));
        val surfaces = val::array();
        std::vector<double> flat;
        for (const quarvessin::SurfaceMesh& mesh : result.surfaces) {
            flat.clear();
            for (const auto& v : mesh.vertices) flat.insert(flat.end(), v.begin(), v.end());
            val s = val::object();
            s.set("name", mesh.name);
            s.set("boundary", mesh.boundary);
            s.set("vertices", floatArray(flat));
            s.set("triangles", indexArray(mesh.triangles));
            s.set("lines", indexArray(mesh.lines));
            val pieces = val::global("Uint32Array").new_(mesh.pieces.size());
            if (!mesh.pieces.empty()) {
                pieces.call<void>("set", val(emscripten::typed_memory_view(mesh.pieces.size(),
                                                                           mesh.pieces.data())));
            }
            s.set("pieces", pieces);
            surfaces.call<void>("push", s);
        }
        out.set("surfaces", surfaces);
        return out;
    });
}

val computeSurfacesDefault() { return computeSurfaces(val::undefined()); }

}  // namespace

EMSCRIPTEN_BINDINGS(quarvessin) {
    using emscripten::class_;
    using emscripten::constant;
    using emscripten::function;
    class_<SectionHandle>("Section")
        .smart_ptr<std::shared_ptr<SectionHandle>>("SectionPointer")
        .property("accepted", &SectionHandle::accepted)
        .property("refusal", &SectionHandle::refusal)
        .property("console", &SectionHandle::console)
        .property("kind", &SectionHandle::kind)
        .property("value", &SectionHandle::value)
        .property("fine", &SectionHandle::fine)
        .property("boundaries", &SectionHandle::boundaries)
        .property("fields", &SectionHandle::fields)
        .property("warnings", &SectionHandle::warnings)
        .function("format", &SectionHandle::format)
        .function("formatBoundary", &SectionHandle::formatBoundary)
        .function("fileName", &SectionHandle::fileName);
    function("computeSection", &computeSection);
    function("computeSection", &computeSectionDefault);
    function("computeSection", &computeSectionOfKind);
    function("formatSection", &formatSection);
    function("sectionFileName", &sectionFileName);
    function("valueAccepted", &valueAccepted);
    function("valueRefusal", &valueRefusal);
    function("validRange", &validRange);
    function("sectionAccepted", &sectionAccepted);
    function("sectionKinds", &sectionKinds);
    function("boundaryStyles", &boundaryStyles);
    function("queryPoint", &queryPoint);
    function("queryPoint", &queryPointAt);
    function("shortestNumber", &shortestNumber);
    function("phaseState", &phaseState);
    function("assemblages", &assemblages);
    function("statePoint", &statePoint);
    function("inclusion", &inclusion);
    function("computeSurfaces", &computeSurfaces);
    function("computeSurfaces", &computeSurfacesDefault);
    function("sixDigits", &sixDigits);
    constant("correlationMinTemperature", quarvessin::correlationMinTemperature);
    constant("correlationMaxTemperature", quarvessin::correlationMaxTemperature);
    constant("correlationMinPressure", quarvessin::correlationMinPressure);
    constant("correlationMaxPressure", quarvessin::correlationMaxPressure);
    constant("isobarTopTemperature", quarvessin::isobarTopTemperature);
    constant("absoluteZero", quarvessin::absoluteZero);
    constant("minSectionPressure", quarvessin::minSectionPressure);
    constant("maxSectionPressure", quarvessin::maxSectionPressure);
    constant("maxSectionTemperature", quarvessin::maxSectionTemperature);
}
