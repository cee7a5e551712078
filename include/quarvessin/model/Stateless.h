#pragma once

namespace quarvessin {

// An empty marker member of several model classes and of the run state: no
// fields, no operations.
class Stateless {};

}  // namespace quarvessin
