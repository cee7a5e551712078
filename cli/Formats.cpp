#include "Formats.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace quarvessin::cli {

const char* extension(Format format) {
    return format == Format::Json ? "json" : format == Format::Csv ? "csv" : "dat";
}

bool writeFile(const std::string& path, const std::string& bytes, std::string& error) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "w");
    bool failed = file == nullptr;
    int failure = failed ? errno : 0;
    if (file != nullptr) {
        errno = 0;
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            failed = true;
            failure = errno;
        }
        errno = 0;
        if (std::fclose(file) != 0 && !failed) {
            failed = true;
            failure = errno;
        }
    }
    if (!failed) return true;
    // strerror shares one buffer between threads; files are written on several.
    static std::mutex strerrorMutex;
    const std::lock_guard<std::mutex> lock(strerrorMutex);
    error = "cannot write file " + path + ": " +
            (failure != 0 ? std::strerror(failure) : "unknown error");
    return false;
}

}  // namespace quarvessin::cli
