#include <quarvessin/composition.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <mutex>
#include <new>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "Args.h"
#include "Cli.h"
#include "Formats.h"

#ifndef QUARVESSIN_VERSION
#define QUARVESSIN_VERSION "unknown"
#endif

namespace quarvessin::cli {

namespace {

constexpr int exitOk = 0;
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;
// Most worker threads --jobs accepts.
constexpr long maxJobs = 1024;
// Batches of at least this many sections show a progress bar on a terminal.
constexpr std::size_t progressMinSections = 20;
constexpr int progressWidth = 40;  // characters of the bar

const char* const mainFooter = R"(Examples:
  quarvessin section isobar 300
  quarvessin section isobar 100:1000:100 --dir isobars
  quarvessin section isotherm -20:800:10 --format csv --fine --dir csv
  quarvessin point 300 500 --wt 30

Exit status: 0 done, 1 a file or directory could not be written,
2 a usage error or a refused value (nothing written).
Run 'quarvessin COMMAND --help' for the options of a command.)";

const char* const sectionFooter =
    R"(A kind word applies to the values after it until the next kind word. A value
is a decimal number or FROM:TO:STEP (TO included when the grid reaches it).
Pressures 1 to 5000 bar; temperatures below 800.7 C. Negative values are
values, not options: isotherm -20:800:10.

Formats:
  dat   the files of quarvessin_plotdata, same names, same bytes (default)
  csv   one file per section, isobar_300bar.csv / isotherm_25C.csv, header
        boundary,piece,wt_percent,temperature_C (or pressure_bar)
  json  one file per section, isobar_300bar.json: kind, value, unit, the
        boundaries with their pieces, the console text and the warnings

Examples:
  quarvessin section isobar 300
  quarvessin section isobar 1 300 1000 isotherm 25:400:25 --dir out
  quarvessin section isotherm 400 --format csv --fine
  quarvessin section isotherm -20 --format json --quiet)";

const char* const pointFooter =
    R"(Prints the phase boundaries of the isothermal section at T [C] that cross
pressure P [bar], as wt% and mole fraction NaCl; with a composition also the
stable assemblage there (vapor, liquid, liquid+vapor, liquid+halite,
vapor+halite, vapor+liquid+halite).

Examples:
  quarvessin point 300 500                  halite saturation at 300 C, 500 bar
  quarvessin point 400 250 --wt 10 --json
  quarvessin point 25 1 --x 0.05)";

// A one-line usage error with a pointer to the help.
int usageError(std::ostream& err, const std::string& command, const std::string& reason) {
    const std::string program = command.empty() ? "quarvessin" : "quarvessin " + command;
    err << program << ": " << printable(reason) << " (see '" << program << " --help')\n";
    err.flush();
    return exitUsage;
}

int refused(std::ostream& err, const std::string& command, const std::string& reason) {
    err << "quarvessin " << command << ": " << printable(reason) << "\n";
    err.flush();
    return exitUsage;
}

// The file names the console program gives the section's boundaries hold the
// value with six decimals; two values written alike would overwrite each
// other's files (on several threads, interleaved). The first such pair, or
// an empty text.
std::string datNameClash(const std::vector<SectionRequest>& sections) {
    std::vector<std::pair<std::string, std::size_t>> names;
    names.reserve(sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%s %f", kindWord(sections[i].kind),
                      sections[i].value);
        names.emplace_back(buffer, i);
    }
    std::sort(names.begin(), names.end());
    for (std::size_t i = 1; i < names.size(); ++i) {
        if (names[i].first == names[i - 1].first) {
            const SectionRequest& a = sections[std::min(names[i].second, names[i - 1].second)];
            const SectionRequest& b = sections[std::max(names[i].second, names[i - 1].second)];
            return std::string(kindWord(a.kind)) + " " + shortestNumber(a.value) + " and " +
                   shortestNumber(b.value) +
                   " give the same dat file names (six decimals); use --format csv or json";
        }
    }
    return {};
}

std::string joinPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir == ".") return name;
    return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// What became of one section of a batch.
struct SectionOutcome {
    std::vector<std::string> paths;     // files written, in order
    std::vector<std::string> warnings;  // of the section
    std::string error;                  // a file that could not be written, or a refusal
    bool refused = false;               // the engine refused the value
    bool skipped = false;               // not computed: an earlier failure stopped the batch
    bool outOfMemory = false;           // memory ran out (set without allocating)

    bool failed() const { return outOfMemory || !error.empty(); }
};

struct SectionJob {
    std::vector<SectionRequest> sections;
    Format format = Format::Dat;
    bool fine = false;
    std::string dir;
};

SectionOutcome computeAndWrite(const SectionJob& job, const SectionRequest& request) {
    SectionOutcome outcome;
    SectionOptions options;
    options.fine = job.fine;
    const Section section = computeSection(request.kind, request.value, options);
    if (!section.accepted) {
        outcome.refused = true;
        outcome.error = std::string(kindWord(request.kind)) + " " + shortestNumber(request.value) +
                        " " + kindUnit(request.kind) + " is out of range";
        return outcome;
    }
    outcome.warnings = section.warnings;
    auto write = [&](const std::string& name, const std::string& bytes) {
        const std::string path = joinPath(job.dir, name);
        if (!writeFile(path, bytes, outcome.error)) return false;
        outcome.paths.push_back(path);
        return true;
    };
    switch (job.format) {
        case Format::Dat:
            for (const Boundary& boundary : section.boundaries) {
                if (!write(boundary.fileName, formatBoundary(boundary))) break;
            }
            break;
        case Format::Csv:
            write(sectionFileName(request.kind, request.value, Format::Csv), formatCsv(section));
            break;
        case Format::Json:
            write(sectionFileName(request.kind, request.value, Format::Json), formatJson(section));
            break;
    }
    return outcome;
}

// Computes and writes every section of `job` on `jobs` threads; reports each
// section on `out` in the order asked (whatever order they finish in), its
// warnings on `err`, and stops at the first failure.
int runSections(const SectionJob& job, unsigned jobs, bool quiet, bool progressBar,
                std::ostream& out, std::ostream& err) {
    const std::size_t n = job.sections.size();
    std::vector<std::optional<SectionOutcome>> outcomes(n);
    std::mutex mutex;
    std::condition_variable done;
    std::atomic<std::size_t> next{0};
    // Index of the first section that failed so far: later ones are skipped,
    // earlier ones still computed and reported.
    std::atomic<std::size_t> firstFailure{n};
    auto failedAt = [&](std::size_t i) {
        std::size_t current = firstFailure.load();
        while (i < current && !firstFailure.compare_exchange_weak(current, i)) {
        }
    };

    // Every claimed index gets an outcome, skipped ones too, so the reporting
    // loop below never waits for a section nobody computes.
    auto worker = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= n) return;
            SectionOutcome outcome;
            if (i > firstFailure.load()) {
                outcome.skipped = true;
            } else {
                try {
                    outcome = computeAndWrite(job, job.sections[i]);
                } catch (const std::bad_alloc&) {
                    outcome = SectionOutcome();
                    outcome.outOfMemory = true;
                } catch (const std::exception& e) {
                    // Any other failure: of the batch, not a crash of a thread.
                    outcome = SectionOutcome();
                    outcome.error = std::string("quarvessin section: ") + e.what();
                }
                if (outcome.failed()) failedAt(i);
            }
            {
                const std::lock_guard<std::mutex> lock(mutex);
                outcomes[i] = std::move(outcome);
            }
            done.notify_one();
        }
    };
    const unsigned threads = static_cast<unsigned>(std::min<std::size_t>(jobs, n));
    std::vector<std::thread> pool;
    pool.reserve(threads);
    for (unsigned t = 0; t < threads; ++t) {
        try {
            pool.emplace_back(worker);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running share the work
        }
    }
    // Not even one thread: the sections are computed here, before the reports.
    if (pool.empty()) worker();

    const bool showProgress = progressBar && n >= progressMinSections;
    int lastDrawn = -1;
    auto drawProgress = [&](std::size_t finished) {
        const int filled = static_cast<int>(finished * progressWidth / n);
        if (filled == lastDrawn && finished != n) return;
        lastDrawn = filled;
        err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
            << std::string(static_cast<std::size_t>(progressWidth - filled), '.') << "] "
            << finished << "/" << n;
        err.flush();
    };
    auto clearProgress = [&] {
        if (showProgress && lastDrawn >= 0) {
            err << "\r\033[K";
            lastDrawn = -1;
        }
    };

    auto report = [&](const SectionOutcome& outcome) {
        clearProgress();
        if (outcome.outOfMemory) {
            err << "quarvessin: out of memory\n";
            return exitFailure;
        }
        err << (outcome.refused ? "quarvessin section: " : "") << outcome.error << "\n";
        return outcome.refused ? exitUsage : exitFailure;
    };
    int status = exitOk;
    bool stopped = false;
    for (std::size_t i = 0; i < n && !stopped; ++i) {
        SectionOutcome outcome;
        {
            std::unique_lock<std::mutex> lock(mutex);
            done.wait(lock, [&] { return outcomes[i].has_value(); });
            outcome = std::move(*outcomes[i]);
            outcomes[i].reset();
        }
        if (outcome.skipped) {
            // Only sections after a failure are skipped, and that failure is
            // reported when its turn comes; kept as a guard all the same.
            stopped = true;
            break;
        }
        const SectionRequest& request = job.sections[i];
        const std::string label = std::string(kindWord(request.kind)) + " " +
                                  shortestNumber(request.value) + " " + kindUnit(request.kind);
        if (!outcome.warnings.empty()) clearProgress();
        for (const std::string& warning : outcome.warnings) {
            err << "quarvessin: warning: " << warning << "\n";
        }
        if (outcome.failed()) {
            status = report(outcome);
            stopped = true;
            break;
        }
        if (!quiet) {
            // On a shared terminal the line must not land on the bar.
            clearProgress();
            out << label << ":";
            for (const std::string& path : outcome.paths) out << " " << path;
            out << "\n";
            if (showProgress) out.flush();
        }
        if (showProgress) drawProgress(i + 1);
    }
    failedAt(0);  // the rest is skipped: nothing reads it any more
    for (std::thread& t : pool) t.join();
    if (stopped && status == exitOk) {
        // The guard above: report the first failure there is.
        for (const auto& outcome : outcomes) {
            if (outcome && outcome->failed()) {
                status = report(*outcome);
                break;
            }
        }
    }
    clearProgress();
    err.flush();
    return status;
}

std::optional<long> parseCount(const std::string& text) {
    long value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (text.empty() || ec != std::errc() || end != last) return std::nullopt;
    return value;
}

// "-.5" is a value; CLI11 would read it as the short option "-.".
std::vector<std::string> protectNegativeFractions(std::vector<std::string> args) {
    const std::vector<std::string> takesValue = {"--dir",  "-d", "--format", "-f",
                                                 "--jobs", "-j", "--wt",     "--x"};
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string& a = args[i];
        const bool optionValue = i > 0 && std::find(takesValue.begin(), takesValue.end(),
                                                    args[i - 1]) != takesValue.end();
        if (!optionValue && a.size() > 2 && a[0] == '-' && a[1] == '.' && a[2] >= '0' &&
            a[2] <= '9') {
            a.insert(1, "0");
        }
    }
    return args;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment) {
    CLI::App app{"Phase-diagram sections and point queries through H2O-NaCl.", "quarvessin"};
    app.footer(mainFooter);
    app.set_version_flag("--version", std::string("quarvessin ") + QUARVESSIN_VERSION);
    app.require_subcommand(1);

    CLI::App* section = app.add_subcommand(
        "section", "Compute isobaric and isothermal sections and write them to files.");
    std::vector<std::string> words;
    std::string dir = ".";
    std::string formatName = "dat";
    std::string jobsText;
    bool fine = false;
    bool quiet = false;
    section
        ->add_option("sections", words, "kind words and values: isobar 300 1000 isotherm 25:400:25")
        ->required()
        ->type_name("KIND VALUE...");
    section->add_option("--dir,-d", dir, "directory for the files, created if missing (default: .)")
        ->type_name("DIR");
    section->add_option("--format,-f", formatName, "dat (default), csv or json")
        ->type_name("FORMAT");
    section->add_flag("--fine", fine, "display resolution (csv and json only)");
    section->add_option("--jobs,-j", jobsText, "sections computed in parallel (default: the cores)")
        ->type_name("N");
    section->add_flag("--quiet,-q", quiet, "no line per section on standard output");
    section->footer(sectionFooter);

    CLI::App* point = app.add_subcommand(
        "point", "The phase boundaries at temperature T [C] and pressure P [bar].");
    std::string tText, pText, wtText, xText;
    bool json = false;
    point->add_option("T", tText, "temperature [C], below 800.7")->required()->type_name("NUMBER");
    point->add_option("P", pText, "pressure [bar], above 0")->required()->type_name("NUMBER");
    CLI::Option* wtOption =
        point->add_option("--wt", wtText, "composition [wt% NaCl], 0 to 100")->type_name("W");
    CLI::Option* xOption =
        point->add_option("--x", xText, "composition [mole fraction NaCl], 0 to 1")->type_name("X");
    wtOption->excludes(xOption);
    point->add_flag("--json", json, "one json object instead of text");
    point->footer(pointFooter);

    std::vector<std::string> reversed = protectNegativeFractions(args);
    std::reverse(reversed.begin(), reversed.end());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp& e) {
        app.exit(e, out, err);
        out.flush();
        return out ? exitOk : exitFailure;
    } catch (const CLI::CallForVersion& e) {
        app.exit(e, out, err);
        out.flush();
        return out ? exitOk : exitFailure;
    } catch (const CLI::ParseError& e) {
        std::string command;
        if (section->parsed()) command = "section";
        if (point->parsed()) command = "point";
        std::string reason = e.what();
        std::replace(reason.begin(), reason.end(), '\n', ' ');  // CLI11 breaks long messages
        return usageError(err, command, reason);
    }

    if (section->parsed()) {
        const SectionList list = readSectionList(words);
        if (!list.ok()) {
            return list.usage ? usageError(err, "section", list.error)
                              : refused(err, "section", list.error);
        }
        SectionJob job;
        job.sections = list.sections;
        job.fine = fine;
        job.dir = dir;
        if (formatName == "dat") {
            job.format = Format::Dat;
        } else if (formatName == "csv") {
            job.format = Format::Csv;
        } else if (formatName == "json") {
            job.format = Format::Json;
        } else {
            return usageError(err, "section",
                              "unknown format '" + formatName + "' (dat, csv or json)");
        }
        if (fine && job.format == Format::Dat) {
            return usageError(err, "section",
                              "--fine changes the points, so it needs --format csv or json "
                              "(dat files stay those of quarvessin_plotdata)");
        }
        unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
        if (section->count("--jobs") > 0) {
            const auto count = parseCount(jobsText);
            if (!count || *count < 1 || *count > maxJobs) {
                return usageError(err, "section",
                                  "--jobs needs a whole number from 1 to " +
                                      std::to_string(maxJobs) + ": '" + jobsText + "'");
            }
            jobs = static_cast<unsigned>(*count);
        }
        if (dir.empty()) return usageError(err, "section", "--dir needs a directory name");
        if (job.format == Format::Dat) {
            const std::string clash = datNameClash(job.sections);
            if (!clash.empty()) return usageError(err, "section", clash);
        }
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (ec || !std::filesystem::is_directory(dir)) {
            err << "cannot create directory " << dir << ": "
                << (ec ? ec.message() : std::string("a file of that name is in the way")) << "\n";
            err.flush();
            return exitFailure;
        }
        const int status = runSections(job, jobs, quiet, environment.progressBar, out, err);
        out.flush();
        if (!out && status == exitOk) {
            err << "quarvessin section: cannot write standard output\n";
            return exitFailure;
        }
        return status;
    }

    // point
    const auto t = parseNumber(tText);
    if (!t)
        return usageError(err, "point",
                          "temperature is not a finite decimal number: '" + tText + "'");
    const auto p = parseNumber(pText);
    if (!p)
        return usageError(err, "point", "pressure is not a finite decimal number: '" + pText + "'");
    std::optional<double> x;
    if (point->count("--wt") > 0) {
        const auto wt = parseNumber(wtText);
        if (!wt)
            return usageError(err, "point",
                              "--wt is not a finite decimal number: '" + wtText + "'");
        if (!(*wt >= 0.0 && *wt <= 100.0)) {
            return refused(err, "point",
                           "composition " + shortestNumber(*wt) +
                               " wt% NaCl is out of range (valid: 0 to 100 wt%)");
        }
        x = moleFraction(*wt);
    } else if (point->count("--x") > 0) {
        x = parseNumber(xText);
        if (!x)
            return usageError(err, "point", "--x is not a finite decimal number: '" + xText + "'");
    }
    PointResult result = queryPoint(*t, *p, x);
    if (!result.accepted) return refused(err, "point", result.refusal);
    if (point->count("--wt") > 0)
        result.wtPercent = parseNumber(wtText);  // as typed, not converted back
    out << (json ? formatPointJson(result) : formatPointText(result));
    for (const std::string& warning : result.warnings) {
        err << "quarvessin: warning: " << warning << "\n";
    }
    out.flush();
    if (!out) {
        err << "quarvessin point: cannot write standard output\n";
        return exitFailure;
    }
    return exitOk;
}

}  // namespace quarvessin::cli
