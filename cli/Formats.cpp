#include "Formats.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

namespace quarvessin::cli {

const char* extension(Format format) {
    return format == Format::Json ? "json" : format == Format::Csv ? "csv" : "dat";
}

namespace {

std::string failure(const std::string& path, int error) {
    // strerror shares one buffer between threads; files are written on several.
    static std::mutex strerrorMutex;
    const std::lock_guard<std::mutex> lock(strerrorMutex);
    return "cannot write file " + path + ": " +
           (error != 0 ? std::strerror(error) : "unknown error");
}

// ".NAME.PID-N.tmp" beside `path`: hidden, and unique among the program's
// threads and runs.
std::string temporaryName(const std::string& path, unsigned attempt) {
    static std::atomic<unsigned long> counter{0};
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return dir + "." + name + "." + std::to_string(static_cast<long>(getpid())) + "-" +
           std::to_string(counter.fetch_add(1)) + "-" + std::to_string(attempt) + ".tmp";
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

StagedFiles::StagedFiles(StagedFiles&& other) noexcept : files_(std::move(other.files_)) {
    other.files_.clear();
}

StagedFiles& StagedFiles::operator=(StagedFiles&& other) noexcept {
    if (this != &other) {
        discard();
        files_ = std::move(other.files_);
        other.files_.clear();
    }
    return *this;
}

StagedFiles::~StagedFiles() { discard(); }

void StagedFiles::discard() noexcept {
    for (const File& f : files_) {
        if (!f.temporary.empty()) ::unlink(f.temporary.c_str());
    }
    files_.clear();
}

bool StagedFiles::stage(const std::string& path, const std::string& bytes, std::string& error) {
    int fd = -1;
    std::string temporary;
    for (unsigned attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = temporaryName(path, attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        // A name too long for a temporary may still be too long for the file.
        error = failure(path, errno);
        return false;
    }
    const bool written = writeAll(fd, bytes);
    int code = written ? 0 : errno;
    if (::close(fd) != 0 && written) code = errno;
    if (!written || code != 0) {
        ::unlink(temporary.c_str());
        error = failure(path, code);
        return false;
    }
    files_.push_back({temporary, path});
    return true;
}

bool StagedFiles::commit(std::string& error) {
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (std::rename(files_[i].temporary.c_str(), files_[i].path.c_str()) != 0) {
            error = failure(files_[i].path, errno);
            discard();
            return false;
        }
        files_[i].temporary.clear();
    }
    files_.clear();
    return true;
}

std::vector<std::string> StagedFiles::paths() const {
    std::vector<std::string> paths;
    for (const File& f : files_) paths.push_back(f.path);
    return paths;
}

}  // namespace quarvessin::cli
