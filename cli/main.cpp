#include <unistd.h>

#include <atomic>
#include <csignal>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "Cli.h"
#include "StandardDescriptors.h"

namespace {

// The signal asking the run to stop; the run removes its temporary files.
std::atomic<int> stopSignal{0};

extern "C" void requestStop(int signal) { stopSignal.store(signal); }

}  // namespace

// quarvessin: phase-diagram sections and point queries through H2O-NaCl from
// the command line (see quarvessin --help).
int main(int argc, char** argv) {
    // No message may reach a data file through a closed standard descriptor.
    if (!quarvessin::process::guardStandardDescriptors()) return 1;
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    quarvessin::cli::CliEnvironment environment;
    environment.progressBar = isatty(STDERR_FILENO) == 1;
    environment.stopSignal = &stopSignal;
    environment.input = &std::cin;
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    try {
        return quarvessin::cli::runCli(args, std::cout, std::cerr, environment);
    } catch (const std::bad_alloc&) {
        std::cerr << "quarvessin: out of memory\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "quarvessin: " << e.what() << "\n";
        return 1;
    }
}
