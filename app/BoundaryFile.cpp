#include "BoundaryFile.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <utility>

#include "ModelUnits.h"

BoundaryFile::BoundaryFile(std::ostream& err) : err_(err) {}

BoundaryFile::~BoundaryFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

std::string BoundaryFile::fileName(const std::string& prefix, double value,
                                   const std::string& suffix) {
    const char* format = "%s%f%s";
    const int length = std::snprintf(nullptr, 0, format, prefix.c_str(), value, suffix.c_str());
    if (length < 0) {
        return std::string();  // cannot happen for these arguments; fopen then fails
    }
    std::string name(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(&name[0], name.size(), format, prefix.c_str(), value, suffix.c_str());
    name.resize(static_cast<std::size_t>(length));
    return name;
}

double BoundaryFile::weightPercent(double x) {
    using model_units::molarMassH2O;
    using model_units::molarMassNaCl;
    return 100.0 * (molarMassNaCl * x) / ((1.0 - x) * molarMassH2O + molarMassNaCl * x);
}

bool BoundaryFile::open(const std::string& prefix, double value, const std::string& suffix) {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    name_ = fileName(prefix, value, suffix);
    scientific_ = false;
    failed_ = false;
    written_ = false;
    announceTo_ = nullptr;
    announcement_.clear();
    errno = 0;
    file_ = std::fopen(name_.c_str(), "w");
    if (file_ == nullptr) {
        return fail(errno);
    }
    return true;
}

bool BoundaryFile::writePoint(double x, double y) { return writeData(weightPercent(x), y); }

bool BoundaryFile::writeRaw(double w, double y) { return writeData(w, y); }

bool BoundaryFile::separate() {
    if (file_ == nullptr || failed_) {
        return false;
    }
    errno = 0;
    if (std::fputc('\n', file_) == EOF) {
        return fail(errno);
    }
    return flushLine();
}

void BoundaryFile::useScientific() { scientific_ = true; }

bool BoundaryFile::writeData(double column1, double column2) {
    if (file_ == nullptr || failed_) {
        return false;
    }
    errno = 0;
    if (std::fprintf(file_, scientific_ ? "%e\t%e\n" : "%g\t%g\n", column1, column2) < 0) {
        return fail(errno);
    }
    return flushLine();
}

// Flushes the line just written to the file.
bool BoundaryFile::flushLine() {
    errno = 0;
    if (std::fflush(file_) != 0) {
        return fail(errno);
    }
    written_ = true;
    releaseAnnouncement();
    return true;
}

bool BoundaryFile::close() {
    if (file_ == nullptr) {
        return !failed_;
    }
    std::FILE* file = file_;
    file_ = nullptr;
    if (failed_) {
        std::fclose(file);
        return false;
    }
    errno = 0;
    const bool flushed = std::fflush(file) == 0;
    const int flushError = errno;
    errno = 0;
    const bool closed = std::fclose(file) == 0;
    if (!flushed) {
        return fail(flushError);
    }
    if (!closed) {
        return fail(errno);
    }
    releaseAnnouncement();
    return true;
}

void BoundaryFile::announce(std::ostream& out, std::string text) {
    if (failed_) {
        return;
    }
    announceTo_ = &out;
    announcement_ = std::move(text);
    if (written_) {
        releaseAnnouncement();
    }
}

void BoundaryFile::releaseAnnouncement() {
    if (announceTo_ == nullptr) {
        return;
    }
    *announceTo_ << announcement_;
    announceTo_->flush();
    announceTo_ = nullptr;
    announcement_.clear();
}

bool BoundaryFile::fail(int error) {
    failed_ = true;
    announceTo_ = nullptr;
    announcement_.clear();
    err_ << "cannot write file " << name_ << ": "
         << (error != 0 ? std::strerror(error) : "unknown error") << '\n';
    err_.flush();
    return false;
}
