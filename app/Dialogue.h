#pragma once

#include <iosfwd>

namespace quarvessin {

// Runs the console dialogue of one program run: prints the banner, reads the
// kind of section from the menu and the section value, and computes the
// section into the current directory (or refuses the value). Messages go to `out`, the one-line
// report of a run that cannot complete goes to `err`.
//
// Returns the exit status of the run: 0 after a section or a refusal of the
// section value; 1 when the input ends before a section value was accepted,
// when a data file of the section could not be created or written (the section
// stops there), or when `out` could not be written.
int runDialogue(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace quarvessin
