#pragma once

#include <cstdio>
#include <iosfwd>
#include <string>

namespace quarvessin {

// One boundary data file of a section. Each data line holds the NaCl content
// [wt%], a single tab, and the temperature [C] (isobaric sections) or the
// pressure [bar] (isothermal sections); an empty line separates two separately
// traced pieces of a boundary. Numbers are written as %g with six significant
// digits, or as %e with six decimals after useScientific(). Every line is
// flushed to the file as soon as it is written.
//
// A file that cannot be created or written is reported once, as one line
// "cannot write file NAME: REASON" on the diagnostics stream given at
// construction; from then on every operation of the file writes nothing and
// returns false, so the caller can stop its section.
class BoundaryFile {
  public:
    explicit BoundaryFile(std::ostream& err);
    // Closes a file that is still open, without any check or report.
    ~BoundaryFile();
    BoundaryFile(const BoundaryFile&) = delete;
    BoundaryFile& operator=(const BoundaryFile&) = delete;
    BoundaryFile(BoundaryFile&&) = delete;
    BoundaryFile& operator=(BoundaryFile&&) = delete;

    // Creates (or truncates) the file `name` in the current directory for
    // writing in general number format.
    bool open(const std::string& name);
    // Writes the data line (w, y), w in weight percent.
    bool writeRaw(double w, double y);
    // Writes an empty line: the end of one piece and the start of the next.
    bool separate();
    // Writes every later number, in both columns, in scientific notation.
    void useScientific();
    // Flushes and closes the file; false if it failed at any time.
    bool close();

    // The name of the file last opened.
    const std::string& name() const { return name_; }
    // True once creating or writing the file has failed.
    bool failed() const { return failed_; }

  private:
    bool flushLine();
    bool fail(int error);

    std::ostream& err_;
    std::string name_;
    std::FILE* file_ = nullptr;
    bool scientific_ = false;
    bool failed_ = false;
    std::string line_;  // the line being written
};

}  // namespace quarvessin
