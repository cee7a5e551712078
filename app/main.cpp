#include <iostream>
#include <new>

#include "StandardDescriptors.h"
#include "app/Dialogue.h"

// quarvessin_plotdata: phase-diagram sections through H2O-NaCl as two-column
// data files. Reads its answers from standard input; takes no arguments.
int main() {
    // No message may reach a data file through a closed standard descriptor.
    if (!quarvessin::process::guardStandardDescriptors()) return 1;
    try {
        return quarvessin::runDialogue(std::cin, std::cout, std::cerr);
    } catch (const std::bad_alloc&) {
        // A failure of this run, not a crash; the files keep what was written.
        std::cerr << "quarvessin_plotdata: out of memory\n";
        return 1;
    }
}
