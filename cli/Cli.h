// The quarvessin command line, callable in process.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quarvessin::cli {

struct CliEnvironment {
    // Standard error is a terminal: a long batch of sections shows a progress bar there.
    bool progressBar = false;
};

// Runs `quarvessin ARGS...` (the arguments after the program name): data and
// reports on `out`, messages on `err`. Returns the exit status: 0 done, 1 a
// runtime failure (a file or directory that cannot be written), 2 a usage
// error or a refused value (nothing is then computed or written).
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment = {});

}  // namespace quarvessin::cli
