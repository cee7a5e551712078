// The quarvessin command line, callable in process.
#pragma once

#include <atomic>
#include <iosfwd>
#include <string>
#include <vector>

namespace quarvessin::cli {

struct CliEnvironment {
    // Standard error is a terminal: a long batch of sections shows a progress bar there.
    bool progressBar = false;
    // The number of a signal asking the run to stop (SIGINT, SIGTERM), set by
    // the program's handler; 0 while none came. A stopped run removes its
    // temporary files and returns 128 + the signal's number.
    const std::atomic<int>* stopSignal = nullptr;
    // Standard input, for the commands that read a table from it (none: an
    // empty input).
    std::istream* input = nullptr;
};

// Runs `quarvessin ARGS...` (the arguments after the program name): data and
// reports on `out`, messages on `err`. Returns the exit status: 0 done, 1 a
// runtime failure (a file or directory that cannot be written), 2 a usage
// error or a refused value (nothing is then computed or written), 128 + N
// stopped by signal N.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment = {});

}  // namespace quarvessin::cli
