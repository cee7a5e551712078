#include <quarvessin/format.h>
#include <quarvessin/kinds.h>
#include <quarvessin/point.h>
#include <quarvessin/section.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

#include "Args.h"
#include "Cli.h"
#include "Formats.h"
#include "Inclusion.h"
#include "Messages.h"
#include "OrderedRunner.h"
#include "Points.h"
#include "Surfaces.h"

#ifndef QUARVESSIN_VERSION
#define QUARVESSIN_VERSION "unknown"
#endif

namespace quarvessin::cli {

namespace {

constexpr int exitSignal = 128;  // plus the signal's number
// Most worker threads --jobs accepts.
constexpr long maxJobs = 1024;
// Batches of at least this many sections show a progress bar on a terminal.
constexpr std::size_t progressMinSections = 20;
constexpr int progressWidth = 40;  // characters of the bar

const char* const mainFooter = R"(Examples:
  quarvessin section isobar 300
  quarvessin section isobar 100:1000:100 --dir isobars
  quarvessin section isotherm -20:800:10 --format csv --fine --dir csv
  quarvessin section isopleth 10 projection --format json
  quarvessin point 300 500 --wt 30
  quarvessin points states.csv
  quarvessin inclusion --tm-halite 300 --th 250 --to liquid
  quarvessin surfaces --format glb

Exit status: 0 done, 1 a file or directory could not be written,
2 a usage error or a refused value (nothing written), 130 or 143 stopped by
SIGINT or SIGTERM (no file left half-written).
Run 'quarvessin COMMAND --help' for the options of a command.)";

// The kinds, their words and ranges, from the engine's table.
std::string kindsHelp() {
    std::string text = "Kinds (any of the words) and the values they take:\n";
    for (const SectionKindInfo& kind : sectionKinds()) {
        text += "  " + std::string(kind.word) + ", " + kind.plural;
        if (*kind.adjective != '\0') text += std::string(", ") + kind.adjective;
        text += kind.takesValue ? std::string(": ") + kind.fixed.name + " [" + kind.fixed.unit +
                                      "], " + validRange(kind).substr(std::string("valid: ").size())
                                : std::string(": no value");
        text += "\n";
    }
    return text;
}

std::string sectionFooter() {
    return R"(A kind word applies to the values after it until the next kind word. A value
is a decimal number or FROM:TO:STEP (TO included when the grid reaches it).
Negative values are values, not options: isotherm -20:800:10.

)" + kindsHelp() +
           R"(
Formats:
  dat   the files of quarvessin_plotdata, same names, same bytes (default)
  csv   one file per section, isobar_300bar.csv / isotherm_25C.csv, header
        boundary,piece,branch,wt_percent,temperature_C (or pressure_bar)
  json  one file per section, isobar_300bar.json: kind, value, unit, the
        boundaries with their pieces, the phase fields with their label
        places, the console text and the warnings
Every file is written under a temporary name and renamed into place when
complete.

Examples:
  quarvessin section isobar 300
  quarvessin section isobar 1 300 1000 isotherm 25:400:25 --dir out
  quarvessin section isotherm 400 --format csv --fine
  quarvessin section isotherm -20 --format json --quiet)";
}

const char* const pointFooter =
    R"(Prints the phase boundaries at T [C] that cross pressure P [bar], as wt% and
mole fraction NaCl; with a composition also the stable assemblage there
(vapor, liquid, liquid+vapor, liquid+halite, vapor+halite,
vapor+liquid+halite).

Examples:
  quarvessin point 300 500                  halite saturation at 300 C, 500 bar
  quarvessin point 400 250 --wt 10 --json
  quarvessin point 25 1 --x 0.05)";

// The options of `quarvessin section`, as typed.
struct SectionArgs {
    std::vector<std::string> words;
    std::string dir = ".";
    std::string format = "dat";
    std::string jobs;
    bool fine = false;
    bool quiet = false;
};

// The options of `quarvessin point`, as typed.
struct PointArgs {
    std::string t, p, wt, x;
    bool json = false;
};

// The file names the console program gives the section's boundaries hold the
// value with six decimals; two values written alike would overwrite each
// other's files. The first such pair, or an empty text.
std::string datNameClash(const std::vector<SectionRequest>& sections) {
    std::vector<std::pair<std::string, std::size_t>> names;
    names.reserve(sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%s %f", kindInfo(sections[i].kind).word,
                      sections[i].value);
        names.emplace_back(buffer, i);
    }
    std::sort(names.begin(), names.end());
    for (std::size_t i = 1; i < names.size(); ++i) {
        if (names[i].first == names[i - 1].first) {
            const SectionRequest& a = sections[std::min(names[i].second, names[i - 1].second)];
            const SectionRequest& b = sections[std::max(names[i].second, names[i - 1].second)];
            return std::string(kindInfo(a.kind).word) + " " + shortestNumber(a.value) + " and " +
                   shortestNumber(b.value) +
                   " give the same dat file names (six decimals); use --format csv or json";
        }
    }
    return {};
}

// One section of a batch, computed and written to temporary files.
struct SectionOutcome {
    StagedFiles files;                  // renamed into place when the section is reported
    std::vector<std::string> warnings;  // of the section
    std::string error;                  // a file that could not be written, or a refusal
    bool refused = false;               // the engine refused the value
    bool outOfMemory = false;           // set without allocating: reported as such
};

struct SectionJob {
    std::vector<SectionRequest> sections;
    Format format = Format::Dat;
    bool fine = false;
    std::string dir;
};

SectionOutcome computeAndStage(const SectionJob& job, const SectionRequest& request) {
    SectionOutcome outcome;
    try {
        SectionOptions options;
        options.fine = job.fine;
        options.fields = job.format == Format::Json;  // the json carries the labels
        const Section section = computeSection(request.kind, request.value, options);
        if (!section.accepted) {
            outcome.refused = true;
            outcome.error = valueRefusal(kindInfo(request.kind), request.value);
            return outcome;
        }
        outcome.warnings = section.warnings;
        auto stage = [&](const std::string& name, const std::string& bytes) {
            return outcome.files.stage(joinPath(job.dir, name), bytes, outcome.error);
        };
        if (job.format == Format::Dat) {
            for (const Boundary& boundary : section.boundaries) {
                if (!stage(boundary.fileName, formatBoundary(boundary))) break;
            }
        } else {
            const std::string name =
                sectionFileName(request.kind, request.value, extension(job.format));
            stage(name, job.format == Format::Csv ? sectionCsv(section) : sectionJson(section));
        }
    } catch (const std::exception&) {
        // Out of memory, in all likelihood: nothing is allocated for the report.
        outcome.files = StagedFiles();
        outcome.outOfMemory = true;
    }
    return outcome;
}

// A progress bar on standard error for long batches on a terminal.
class Progress {
  public:
    Progress(std::ostream& err, std::size_t total, bool shown)
        : err_(err), total_(total), shown_(shown && total >= progressMinSections) {}
    bool shown() const { return shown_; }
    void draw(std::size_t finished) {
        if (!shown_) return;
        const int filled = static_cast<int>(finished * progressWidth / total_);
        if (filled == drawn_ && finished != total_) return;
        drawn_ = filled;
        err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(progressWidth - filled), '.') << "] "
             << finished << "/" << total_;
        err_.flush();
    }
    // Clears the bar, so that a line of text does not land on it.
    void clear() {
        if (shown_ && drawn_ >= 0) {
            err_ << "\r\033[K";
            drawn_ = -1;
        }
    }

  private:
    std::ostream& err_;
    std::size_t total_;
    bool shown_;
    int drawn_ = -1;
};

int signalled(const CliEnvironment& environment) {
    return environment.stopSignal != nullptr ? environment.stopSignal->load() : 0;
}

// Computes every section of `job` on `jobs` threads; renames each section's
// files into place and reports it on `out` in the order asked, its warnings
// on `err`, and stops at the first failure or signal: nothing after it lands.
int runSections(const SectionJob& job, unsigned jobs, bool quiet, const CliEnvironment& environment,
                std::ostream& out, std::ostream& err) {
    Progress progress(err, job.sections.size(), environment.progressBar);
    int status = exitOk;
    auto compute = [&](std::size_t i) { return computeAndStage(job, job.sections[i]); };
    auto report = [&](std::size_t i, SectionOutcome outcome) {
        if (signalled(environment) != 0) return false;  // the files are removed with the outcome
        if (outcome.outOfMemory) {
            progress.clear();
            err << "quarvessin: out of memory\n";
            status = exitFailure;
            return false;
        }
        if (!outcome.warnings.empty()) progress.clear();
        for (const std::string& warning : outcome.warnings) {
            err << "quarvessin: warning: " << warning << "\n";
        }
        const std::vector<std::string> paths = outcome.files.paths();
        if (outcome.error.empty() && !outcome.files.commit(outcome.error)) {
            outcome.refused = false;
        }
        if (!outcome.error.empty()) {
            progress.clear();
            err << (outcome.refused ? "quarvessin section: " : "") << printable(outcome.error)
                << "\n";
            status = outcome.refused ? exitUsage : exitFailure;
            return false;
        }
        if (!quiet) {
            progress.clear();
            out << sectionName(job.sections[i].kind, job.sections[i].value) << ":";
            for (const std::string& path : paths) out << " " << printable(path);
            out << "\n";
            if (progress.shown()) out.flush();
        }
        progress.draw(i + 1);
        return true;
    };
    auto stop = [&] { return signalled(environment) != 0; };
    runOrdered<SectionOutcome>(job.sections.size(), jobs, compute, report, stop);
    progress.clear();
    err.flush();
    if (const int signal = signalled(environment)) return exitSignal + signal;
    return status;
}

// Arguments that are values although they start with '-', hidden from the
// option parser and given back after it: "-.5" (CLI11 would read the short
// option "-."), and "-inf", "-nan" and the like (values that are not finite
// numbers, to be refused as such, not taken for options).
class ProtectedValues {
  public:
    std::vector<std::string> protect(std::vector<std::string> args) {
        for (std::string& a : args) {
            if (a.size() > 2 && a[0] == '-' && a[1] == '.' && a[2] >= '0' && a[2] <= '9') {
                a.insert(1, "0");
            } else if (notFinite(a) || a.rfind(marker, 0) == 0) {
                // (A typed argument that begins like a marker is hidden too,
                // so that restoring gives every argument back as typed.)
                hidden_.push_back(a);
                a = marker + std::to_string(hidden_.size() - 1);
            }
        }
        return args;
    }
    void restore(std::string& value) const {
        const std::size_t n = std::string(marker).size();
        // Not a marker unless digits follow it (a typed argument may begin like one).
        if (value.rfind(marker, 0) != 0 || value.size() == n ||
            value.find_first_not_of("0123456789", n) != std::string::npos)
            return;
        const std::size_t i = std::strtoul(value.c_str() + n, nullptr, 10);
        if (i < hidden_.size()) value = hidden_[i];
    }

    // Every marker within `text` (a parser's message) given back as typed.
    void restoreWithin(std::string& text) const {
        const std::string m = marker;
        for (std::size_t at = text.find(m); at != std::string::npos; at = text.find(m, at)) {
            std::size_t end = at + m.size();
            while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
            std::string token = text.substr(at, end - at);
            restore(token);
            text.replace(at, end - at, token);
            at += token.size();
        }
    }

  private:
    static bool notFinite(const std::string& a) {
        std::string word;
        for (std::size_t i = 1; i < a.size() && a[i] != '('; ++i) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(a[i])));
        }
        return a.size() > 1 && a[0] == '-' &&
               (word == "inf" || word == "infinity" || word == "nan");
    }
    static constexpr const char* marker = "\x1dvalue";
    std::vector<std::string> hidden_;
};

CLI::App* addSectionCommand(CLI::App& app, SectionArgs& a) {
    CLI::App* section = app.add_subcommand(
        "section", "Compute sections of the phase diagram and write them to files.");
    section
        ->add_option("sections", a.words,
                     "kind words and values: isobar 300 1000 isotherm 25:400:25")
        ->required()
        ->type_name("KIND VALUE...");
    section
        ->add_option("--dir,-d", a.dir, "directory for the files, created if missing (default: .)")
        ->type_name("DIR");
    section->add_option("--format,-f", a.format, "dat (default), csv or json")->type_name("FORMAT");
    section->add_flag("--fine", a.fine, "display resolution (csv and json only)");
    section->add_option("--jobs,-j", a.jobs, "sections computed in parallel (default: the cores)")
        ->type_name("N");
    section->add_flag("--quiet,-q", a.quiet, "no line per section on standard output");
    section->footer(sectionFooter());
    return section;
}

CLI::App* addPointCommand(CLI::App& app, PointArgs& a) {
    CLI::App* point = app.add_subcommand(
        "point", "The phase boundaries at temperature T [C] and pressure P [bar].");
    const std::string tRange = "temperature [C], above " + shortestNumber(absoluteZero) +
                               ", up to " + shortestNumber(isobarTopTemperature);
    const std::string pRange =
        "pressure [bar], above 0, up to " + shortestNumber(correlationMaxPressure);
    point->add_option("T", a.t, tRange)->required()->type_name("NUMBER");
    point->add_option("P", a.p, pRange)->required()->type_name("NUMBER");
    CLI::Option* wt =
        point->add_option("--wt", a.wt, "composition [wt% NaCl], 0 to 100")->type_name("W");
    CLI::Option* x =
        point->add_option("--x", a.x, "composition [mole fraction NaCl], 0 to 1")->type_name("X");
    wt->excludes(x);
    point->add_flag("--json", a.json, "one json object instead of text");
    point->footer(pointFooter);
    return point;
}

int runSectionCommand(const SectionArgs& a, bool jobsGiven, const CliEnvironment& environment,
                      std::ostream& out, std::ostream& err) {
    const SectionList list = readSectionList(a.words);
    if (!list.ok()) {
        return list.usage ? usageError(err, "section", list.error)
                          : refused(err, "section", list.error);
    }
    SectionJob job;
    job.sections = list.sections;
    job.fine = a.fine;
    job.dir = a.dir;
    if (a.format == "dat") {
        job.format = Format::Dat;
    } else if (a.format == "csv") {
        job.format = Format::Csv;
    } else if (a.format == "json") {
        job.format = Format::Json;
    } else {
        return usageError(err, "section", "unknown format '" + a.format + "' (dat, csv or json)");
    }
    if (a.fine && job.format == Format::Dat) {
        return usageError(err, "section",
                          "--fine changes the points, so it needs --format csv or json "
                          "(dat files stay those of quarvessin_plotdata)");
    }
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    if (jobsGiven) {
        const auto count = parseCount(a.jobs);
        if (!count || *count < 1 || *count > maxJobs) {
            return usageError(err, "section",
                              "--jobs needs a whole number from 1 to " + std::to_string(maxJobs) +
                                  ": '" + a.jobs + "'");
        }
        jobs = static_cast<unsigned>(*count);
    }
    if (a.dir.empty()) return usageError(err, "section", "--dir needs a directory name");
    if (job.format == Format::Dat) {
        const std::string clash = datNameClash(job.sections);
        if (!clash.empty()) return usageError(err, "section", clash);
    }
    if (!createDirectory(a.dir, err)) return exitFailure;
    const int status = runSections(job, jobs, a.quiet, environment, out, err);
    out.flush();
    if (!out && status == exitOk) return outputFailure(err, "section");
    return status;
}

int runPointCommand(const PointArgs& a, bool wtGiven, bool xGiven, std::ostream& out,
                    std::ostream& err) {
    const auto t = parseNumber(a.t);
    if (!t) {
        return usageError(err, "point",
                          "temperature is not a finite decimal number: '" + a.t + "'");
    }
    const auto p = parseNumber(a.p);
    if (!p)
        return usageError(err, "point", "pressure is not a finite decimal number: '" + a.p + "'");
    std::optional<CompositionInput> composition;
    for (const auto& [given, option, text, unit] :
         {std::tuple{wtGiven, "--wt", &a.wt, CompositionInput::Unit::WtPercent},
          std::tuple{xGiven, "--x", &a.x, CompositionInput::Unit::MoleFraction}}) {
        if (!given) continue;
        const auto value = parseNumber(*text);
        if (!value) {
            return usageError(
                err, "point",
                std::string(option) + " is not a finite decimal number: '" + *text + "'");
        }
        composition = CompositionInput{unit, *value};
    }
    const PointResult result = composition ? queryPoint(*t, *p, *composition) : queryPoint(*t, *p);
    if (!result.accepted) return refused(err, "point", result.refusal);
    out << (a.json ? pointJson(result) : pointText(result));
    for (const std::string& warning : result.warnings) {
        err << "quarvessin: warning: " << warning << "\n";
    }
    out.flush();
    return out ? exitOk : outputFailure(err, "point");
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliEnvironment& environment) {
    CLI::App app{"Phase-diagram sections and point queries through H2O-NaCl.", "quarvessin"};
    app.footer(mainFooter);
    app.set_version_flag("--version", std::string("quarvessin ") + QUARVESSIN_VERSION);
    app.require_subcommand(1);
    SectionArgs sectionArgs;
    CLI::App* section = addSectionCommand(app, sectionArgs);
    PointArgs pointArgs;
    CLI::App* point = addPointCommand(app, pointArgs);
    PointsOptions pointsOptions;
    CLI::App* points = addPointsCommand(app, pointsOptions);
    InclusionOptions inclusionOptions;
    CLI::App* inclusion = addInclusionCommand(app, inclusionOptions);
    SurfacesOptions surfacesOptions;
    CLI::App* surfaces = addSurfacesCommand(app, surfacesOptions);

    ProtectedValues values;
    std::vector<std::string> reversed = values.protect(args);
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
        if (points->parsed()) command = "points";
        if (inclusion->parsed()) command = "inclusion";
        if (surfaces->parsed()) command = "surfaces";
        std::string reason = e.what();
        std::replace(reason.begin(), reason.end(), '\n', ' ');  // CLI11 breaks long messages
        values.restoreWithin(reason);
        return usageError(err, command, reason);
    }
    for (std::string* text : {&sectionArgs.dir, &sectionArgs.format, &sectionArgs.jobs,
                              &pointArgs.t, &pointArgs.p, &pointArgs.wt, &pointArgs.x}) {
        values.restore(*text);
    }
    for (std::string& word : sectionArgs.words) values.restore(word);
    for (std::optional<std::string>* text :
         {&inclusionOptions.tmIce, &inclusionOptions.tmHalite, &inclusionOptions.wt,
          &inclusionOptions.th, &inclusionOptions.to, &inclusionOptions.csv}) {
        if (*text) values.restore(**text);
    }
    std::istringstream noInput;
    std::istream& in = environment.input != nullptr ? *environment.input : noInput;
    if (points->parsed()) return runPoints(pointsOptions, in, out, err);
    if (inclusion->parsed()) return runInclusion(inclusionOptions, in, out, err);
    if (surfaces->parsed()) return runSurfaces(surfacesOptions, out, err);

    if (section->parsed()) {
        return runSectionCommand(sectionArgs, section->count("--jobs") > 0, environment, out, err);
    }
    return runPointCommand(pointArgs, point->count("--wt") > 0, point->count("--x") > 0, out, err);
}

}  // namespace quarvessin::cli
