#include <unistd.h>

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "Cli.h"
#include "StandardDescriptors.h"

// quarvessin: phase-diagram sections and point queries through H2O-NaCl from
// the command line (see quarvessin --help).
int main(int argc, char** argv) {
    // No message may reach a data file through a closed standard descriptor.
    if (!quarvessin::process::guardStandardDescriptors()) return 1;
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    quarvessin::cli::CliEnvironment environment;
    environment.progressBar = isatty(STDERR_FILENO) == 1;
    try {
        return quarvessin::cli::runCli(args, std::cout, std::cerr, environment);
    } catch (const std::bad_alloc&) {
        // A failure of this run, not a crash.
        std::cerr << "quarvessin: out of memory\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "quarvessin: " << e.what() << "\n";
        return 1;
    }
}
