// A SectionSink that keeps what a tracer delivers, for the tests of the
// isopleth and projection tracers.
#pragma once

#include <quarvessin/section.h>

#include <cstddef>
#include <string>
#include <vector>

struct CollectedBoundary {
    std::string phases;
    std::string fileName;
    std::vector<std::vector<quarvessin::Point>> pieces;
    std::vector<quarvessin::Branch> branches;  // parallel to pieces
};

class SectionCollector : public quarvessin::SectionSink {
  public:
    // Refuses to open the boundary of this index (none by default).
    explicit SectionCollector(std::size_t refuseAt = static_cast<std::size_t>(-1))
        : refuseAt_(refuseAt) {}

    bool openBoundary(std::size_t index, const std::string& phases,
                      const std::string& fileName) override {
        if (index == refuseAt_ || index != boundaries.size()) return false;
        boundaries.push_back({phases, fileName, {{}}, {quarvessin::Branch::None}});
        return true;
    }
    void useScientific(std::size_t) override {}
    bool point(std::size_t index, quarvessin::Point p) override {
        boundaries.at(index).pieces.back().push_back(p);
        return true;
    }
    bool separate(std::size_t index) override {
        boundaries.at(index).pieces.emplace_back();
        boundaries.at(index).branches.push_back(quarvessin::Branch::None);
        return true;
    }
    bool closeBoundary(std::size_t index) override {
        closed.push_back(index);
        return true;
    }
    void branch(std::size_t index, quarvessin::Branch b) override {
        boundaries.at(index).branches.back() = b;
    }
    void console(const std::string& text) override { consoleText += text; }

    const CollectedBoundary* find(const std::string& phases) const {
        for (const CollectedBoundary& b : boundaries) {
            if (b.phases == phases) return &b;
        }
        return nullptr;
    }

    std::vector<CollectedBoundary> boundaries;
    std::vector<std::size_t> closed;
    std::string consoleText;

  private:
    std::size_t refuseAt_;
};
