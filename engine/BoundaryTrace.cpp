#include "engine/BoundaryTrace.h"

#include <quarvessin/composition.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <locale>
#include <utility>

namespace quarvessin {

ConsoleStream::ConsoleStream(SectionSink& sink) : std::ostream(nullptr), buffer_(sink) {
    rdbuf(&buffer_);
    imbue(std::locale::classic());
}

ConsoleStream::Buffer::int_type ConsoleStream::Buffer::overflow(int_type c) {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        sink_.console(std::string(1, traits_type::to_char_type(c)));
    }
    return traits_type::not_eof(c);
}

std::streamsize ConsoleStream::Buffer::xsputn(const char* s, std::streamsize n) {
    sink_.console(std::string(s, static_cast<std::size_t>(n)));
    return n;
}

bool BoundaryTrace::open(const std::string& prefix, double value, const std::string& suffix) {
    index_ = tracer_.nextIndex();
    name_ = boundaryFileName(prefix, value, suffix);
    open_ = true;
    const std::string phases = prefix.substr(0, prefix.size() - (prefix.empty() ? 0 : 1));
    return accepted(tracer_.sink().openBoundary(index_, phases, name_));
}

bool BoundaryTrace::writePoint(double x, double y) { return writeRaw(wtPercent(x), y); }

bool BoundaryTrace::writeRaw(double w, double y) {
    if (failed_) return false;
    if (!accepted(tracer_.sink().point(index_, Point{w, y}))) return false;
    written_ = true;
    releaseAnnouncement();
    return true;
}

bool BoundaryTrace::separate() {
    if (failed_) return false;
    if (!accepted(tracer_.sink().separate(index_))) return false;
    written_ = true;
    releaseAnnouncement();
    return true;
}

void BoundaryTrace::markBranch(Branch branch) {
    if (!failed_) tracer_.sink().branch(index_, branch);
}

void BoundaryTrace::useScientific() {
    if (!failed_) tracer_.sink().useScientific(index_);
}

bool BoundaryTrace::close() {
    if (failed_) return false;
    if (!open_) return true;
    open_ = false;
    if (!accepted(tracer_.sink().closeBoundary(index_))) return false;
    releaseAnnouncement();
    return true;
}

void BoundaryTrace::announce(std::string text) {
    if (failed_) return;
    announcement_ = std::move(text);
    pending_ = true;
    if (written_) releaseAnnouncement();
}

bool BoundaryTrace::accepted(bool ok) {
    if (!ok) {
        failed_ = true;
        pending_ = false;
        announcement_.clear();
    }
    return ok;
}

void BoundaryTrace::releaseAnnouncement() {
    if (!pending_) return;
    pending_ = false;
    tracer_.console() << announcement_;
    announcement_.clear();
}

std::string boundaryFileName(const std::string& prefix, double value, const std::string& suffix) {
    const char* format = "%s%f%s";
    const int length = std::snprintf(nullptr, 0, format, prefix.c_str(), value, suffix.c_str());
    if (length < 0) {
        return std::string();  // cannot happen for these arguments; opening the file then fails
    }
    std::string name(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(&name[0], name.size(), format, prefix.c_str(), value, suffix.c_str());
    name.resize(static_cast<std::size_t>(length));
    return name;
}

namespace {
// Appends v as printf's %g (general) or %e (scientific), precision 6. The
// conversions of std::to_chars with a precision are defined as printf's in the
// C locale, including "nan", "-nan", "inf" and "-inf".
void appendNumber(std::string& line, double v, bool scientific) {
    char text[64];
#if defined(__EMSCRIPTEN__)
    // Emscripten's C++ library has no floating-point to_chars; its printf
    // formats in the C locale whatever the environment. Its mathematical
    // functions return not-a-number with the sign bit set where the native
    // C library's leave it clear: written "nan" as natively.
    const int length = std::isnan(v)
                           ? std::snprintf(text, sizeof text, "nan")
                           : std::snprintf(text, sizeof text, scientific ? "%e" : "%g", v);
    line.append(text, static_cast<std::size_t>(length));
#else
    const auto result =
        std::to_chars(text, text + sizeof text, v,
                      scientific ? std::chars_format::scientific : std::chars_format::general, 6);
    line.append(text, result.ptr);
#endif
}
}  // namespace

void appendDataLine(std::string& line, double a, double b, bool scientific) {
    appendNumber(line, a, scientific);
    line += '\t';
    appendNumber(line, b, scientific);
    line += '\n';
}

}  // namespace quarvessin
