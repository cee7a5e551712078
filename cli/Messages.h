// The command line's exit statuses, its one-line messages, and the paths and
// directories its commands write to.
#pragma once

#include <ostream>
#include <string>

namespace quarvessin::cli {

constexpr int exitOk = 0;
constexpr int exitFailure = 1;  // a file, a directory or standard output could not be written
constexpr int exitUsage = 2;    // a usage error or a refused value: nothing written

// "quarvessin COMMAND: REASON (see 'quarvessin COMMAND --help')", REASON
// printable; returns exitUsage.
int usageError(std::ostream& err, const std::string& command, const std::string& reason);
// "quarvessin COMMAND: REASON" for a refused value; returns exitUsage.
int refused(std::ostream& err, const std::string& command, const std::string& reason);
// "quarvessin COMMAND: cannot write standard output"; returns exitFailure.
int outputFailure(std::ostream& err, const std::string& command);

// `name` in directory `dir` ("." or empty: the current directory).
std::string joinPath(const std::string& dir, const std::string& name);
// Creates `dir` with its parents; on failure says why on `err` and returns
// false.
bool createDirectory(const std::string& dir, std::ostream& err);

}  // namespace quarvessin::cli
