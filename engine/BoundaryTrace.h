#pragma once

#include <quarvessin/format.h>
#include <quarvessin/section.h>

#include <cstddef>
#include <ostream>
#include <streambuf>
#include <string>

namespace quarvessin {

// Weight percent written for a point of pure water on a general-format line:
// the conversion of the mole fraction 1e-10 [wt%].
constexpr double pureWaterMarker = 3.244129891028844e-08;

// Console text of a section as a stream: every write reaches the sink's
// console at once, in order, so text printed by the tracing drivers and by the
// model's solvers interleaves exactly as on a terminal.
class ConsoleStream : public std::ostream {
  public:
    explicit ConsoleStream(SectionSink& sink);

  private:
    class Buffer : public std::streambuf {
      public:
        explicit Buffer(SectionSink& sink) : sink_(sink) {}

      protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* s, std::streamsize n) override;

      private:
        SectionSink& sink_;
    };
    Buffer buffer_;
};

// The boundaries of one section as they are traced: numbers them in order of
// opening and carries the console text.
class SectionTracer {
  public:
    explicit SectionTracer(SectionSink& sink) : sink_(sink), console_(sink) {}
    SectionSink& sink() { return sink_; }
    std::ostream& console() { return console_; }
    std::size_t nextIndex() { return next_++; }

  private:
    SectionSink& sink_;
    ConsoleStream console_;
    std::size_t next_ = 0;
};

// One boundary of a section being traced, in the terms of the data file it
// becomes: points given as mole fraction (converted to weight percent) or
// directly in weight percent, empty-line separators between pieces.
//
// An announcement ("Writing ... data to file ...") is held back until the
// boundary has shown that it can be written: it reaches the console right
// after the boundary's first line has been accepted by the sink, or when the
// boundary closes without error if it holds no line. A boundary the sink
// refuses never announces itself. Once the sink has refused a call, every
// later operation does nothing and returns false, so the driver stops.
class BoundaryTrace {
  public:
    explicit BoundaryTrace(SectionTracer& tracer) : tracer_(tracer) {}
    BoundaryTrace(const BoundaryTrace&) = delete;
    BoundaryTrace& operator=(const BoundaryTrace&) = delete;

    // Opens the boundary of the file named (prefix, section value, suffix),
    // e.g. ("liquid+vapor_", 250, "bar.dat").
    bool open(const std::string& prefix, double value, const std::string& suffix);
    // The point (wtPercent(x), y) for a composition x [mole fraction NaCl].
    bool writePoint(double x, double y);
    // The point (w, y), w already in weight percent.
    bool writeRaw(double w, double y);
    bool separate();
    // The piece being written (the one after the last separate) follows
    // `branch` of the vapour + liquid surface: told to the sink.
    void markBranch(Branch branch);
    void useScientific();
    bool close();
    void announce(std::string text);

    // The file name of the boundary.
    const std::string& name() const { return name_; }

  private:
    bool accepted(bool ok);
    void releaseAnnouncement();

    SectionTracer& tracer_;
    std::size_t index_ = 0;
    std::string name_;
    bool open_ = false;
    bool failed_ = false;
    bool written_ = false;  // a line has been accepted
    bool pending_ = false;  // an announcement waits
    std::string announcement_;
};

}  // namespace quarvessin
