#pragma once

#include <quarvessin/section.h>

#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "app/BoundaryFile.h"

namespace quarvessin {

// Writes a section as the console program does: each boundary to its data
// file (every line flushed as it is written), the console text to `out`
// (flushed at once). Files go to `directory` (empty: the current directory).
// A file that cannot be created or written is reported on `err` as
// "cannot write file PATH: REASON" and stops the section.
class FileSink : public SectionSink {
  public:
    FileSink(std::ostream& out, std::ostream& err, std::string directory = std::string());

    bool openBoundary(std::size_t index, const std::string& phases,
                      const std::string& fileName) override;
    void useScientific(std::size_t index) override;
    bool point(std::size_t index, Point point) override;
    bool separate(std::size_t index) override;
    bool closeBoundary(std::size_t index) override;
    void console(const std::string& text) override;

    // The paths of the files written and closed without error, in order of
    // closing.
    const std::vector<std::string>& written() const { return written_; }

  private:
    BoundaryFile* at(std::size_t index);

    std::ostream& out_;
    std::ostream& err_;
    std::string directory_;
    std::vector<std::unique_ptr<BoundaryFile>> files_;
    std::vector<std::string> written_;
};

}  // namespace quarvessin
