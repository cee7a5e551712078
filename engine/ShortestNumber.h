#pragma once

#include <string>

namespace quarvessin {

// Appends the shortest decimal text that reads back as exactly `value`, fixed
// or scientific, whichever is shorter (fixed on a tie), as std::to_chars
// writes it ("300", "0.0005", "1e-05", "1.25e+30"); "nan", "inf", "-inf" when
// not a finite number. Where the C++ library has no floating-point to_chars
// (Emscripten), appendShortestByPrintf writes the same bytes.
void appendShortest(std::string& out, double value);

// The same text from printf's correctly rounded %e and strtod: the fewest
// significant digits that read back exactly, laid out as to_chars does.
void appendShortestByPrintf(std::string& out, double value);

}  // namespace quarvessin
