#include "app/FileSink.h"

#include <ostream>
#include <utility>

namespace quarvessin {

FileSink::FileSink(std::ostream& out, std::ostream& err, std::string directory)
    : out_(out), err_(err), directory_(std::move(directory)) {}

BoundaryFile* FileSink::at(std::size_t index) {
    return index < files_.size() ? files_[index].get() : nullptr;
}

bool FileSink::openBoundary(std::size_t index, const std::string&, const std::string& fileName) {
    if (index != files_.size()) return false;
    files_.push_back(std::make_unique<BoundaryFile>(err_));
    const std::string path = directory_.empty() ? fileName : directory_ + "/" + fileName;
    return files_.back()->open(path);
}

void FileSink::useScientific(std::size_t index) {
    if (BoundaryFile* file = at(index)) file->useScientific();
}

bool FileSink::point(std::size_t index, Point p) {
    BoundaryFile* file = at(index);
    return file != nullptr && file->writeRaw(p.wtPercent, p.value);
}

bool FileSink::separate(std::size_t index) {
    BoundaryFile* file = at(index);
    return file != nullptr && file->separate();
}

bool FileSink::closeBoundary(std::size_t index) {
    BoundaryFile* file = at(index);
    if (file == nullptr || !file->close()) return false;
    written_.push_back(file->name());
    return true;
}

void FileSink::console(const std::string& text) {
    out_ << text;
    out_.flush();
}

}  // namespace quarvessin
