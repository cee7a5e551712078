#include "Messages.h"

#include <quarvessin/format.h>

#include <filesystem>
#include <system_error>

namespace quarvessin::cli {

int usageError(std::ostream& err, const std::string& command, const std::string& reason) {
    const std::string program = command.empty() ? "quarvessin" : "quarvessin " + command;
    err << program << ": " << printable(reason) << " (see '" << program << " --help')\n";
    err.flush();
    return exitUsage;
}

int refused(std::ostream& err, const std::string& command, const std::string& reason) {
    err << "quarvessin " << command << ": " << printable(reason) << "\n";
    err.flush();
    return exitUsage;
}

int outputFailure(std::ostream& err, const std::string& command) {
    err << "quarvessin " << command << ": cannot write standard output\n";
    err.flush();
    return exitFailure;
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir == ".") return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

bool createDirectory(const std::string& dir, std::ostream& err) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!ec && std::filesystem::is_directory(dir)) return true;
    err << "cannot create directory " << printable(dir) << ": "
        << (ec ? ec.message() : std::string("a file of that name is in the way")) << "\n";
    err.flush();
    return false;
}

}  // namespace quarvessin::cli
