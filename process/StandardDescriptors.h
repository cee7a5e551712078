#pragma once

namespace quarvessin {
namespace process {

// Opens the null device on each of the standard descriptors 0, 1 and 2 that
// is closed, so that no file the program opens afterwards is given the number
// of one of them (a message to standard error would otherwise land in a data
// file). Descriptors that are open are left as they are. Call it first in
// main, before anything opens a file. Returns false if a closed descriptor
// could not be given the null device; the program should then end without
// opening anything.
bool guardStandardDescriptors() noexcept;

}  // namespace process
}  // namespace quarvessin
