#include "app/BoundaryFile.h"

#include <quarvessin/format.h>

#include <cerrno>
#include <cstring>
#include <ostream>

namespace quarvessin {

BoundaryFile::BoundaryFile(std::ostream& err) : err_(err) {}

BoundaryFile::~BoundaryFile() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool BoundaryFile::open(const std::string& name) {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
    name_ = name;
    scientific_ = false;
    failed_ = false;
    errno = 0;
    file_ = std::fopen(name_.c_str(), "w");
    if (file_ == nullptr) {
        return fail(errno);
    }
    return true;
}

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

bool BoundaryFile::writeRaw(double w, double y) {
    if (file_ == nullptr || failed_) {
        return false;
    }
    line_.clear();
    appendDataLine(line_, w, y, scientific_);
    errno = 0;
    if (std::fwrite(line_.data(), 1, line_.size(), file_) != line_.size()) {
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
    return true;
}

bool BoundaryFile::fail(int error) {
    failed_ = true;
    err_ << "cannot write file " << name_ << ": "
         << (error != 0 ? std::strerror(error) : "unknown error") << '\n';
    err_.flush();
    return false;
}

}  // namespace quarvessin
