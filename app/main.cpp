#include <iostream>

#include "app/Dialogue.h"

// quarvessin_plotdata: phase-diagram sections through H2O-NaCl as two-column
// data files. Reads its answers from standard input; takes no arguments.
int main() { return quarvessin::runDialogue(std::cin, std::cout, std::cerr); }
