#include "Inclusion.h"

#include <quarvessin/inclusion.h>

#include <CLI/CLI.hpp>
#include <cmath>
#include <fstream>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "Args.h"
#include "Messages.h"

namespace quarvessin::cli {

namespace {

const char* const command = "inclusion";
// The columns of a table of inclusions, in this order.
const char* const tableHeader = "id,tm_ice,tm_halite,wt_percent,th,to";
constexpr std::size_t tableColumns = 6;
// The columns of the answers.
const char* const answerHeader =
    "id,wt_percent,mole_fraction,molality,salinity_from,homogenization_pressure_bar,mode,"
    "wt_percent_at_5000_bar,warnings,refusal";

const char* const inclusionFooter =
    R"(The salinity of an H2O-NaCl inclusion (wt%, mole fraction, molality) from
the temperature at which its last ice melts (1993 fit of the freezing-point
depression, -21.2 to 0 C) or at which halite dissolves (the halite liquidus,
0.1 to 800.7 C), or as given; with Th and the way it homogenises, the
homogenisation pressure: on the bubble curve (liquid), the dew curve (vapor)
or at the critical point of the salinity, on the three-phase curve when
halite is still present at Th. Th and that pressure are minima of the
trapping conditions; the trapping pressure itself, and the pressure at which
halite dissolves after the bubble, need the fluid's isochore.

A table (--csv FILE, or - for standard input) has the header
  id,tm_ice,tm_halite,wt_percent,th,to
and one inclusion a row, an empty field for a value not measured; the answer
is one csv row per inclusion in the same order, starting with its id, with
the reason in the last column where a row cannot be answered.

Examples:
  quarvessin inclusion --tm-ice -5 --th 150 --to liquid
  quarvessin inclusion --tm-halite 300 --th 250 --to liquid --json
  quarvessin inclusion --wt 10 --th 464.5 --to critical
  quarvessin inclusion --csv inclusions.csv > answers.csv)";

// A field of the answers: quoted (quotes doubled) when it holds a comma, a
// quote or a line break.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string csvNumber(double value) { return std::isfinite(value) ? shortestNumber(value) : ""; }

std::string answerRow(const std::string& id, const InclusionResult& r) {
    std::string row = id + ",";
    if (r.accepted) {
        std::string warnings;
        for (const std::string& w : r.warnings) warnings += (warnings.empty() ? "" : " | ") + w;
        row +=
            csvNumber(r.wtPercent) + "," + csvNumber(r.moleFraction) + "," + csvNumber(r.molality) +
            "," + r.salinityFrom + "," + csvNumber(r.th ? r.homogenizationPressure : NAN) + "," +
            (r.th && r.mode ? homogenizationWord(*r.mode) : "") + "," +
            csvNumber(r.haliteLast ? r.wtPercentAt5000Bar : NAN) + "," + csvField(warnings) + ",";
    } else {
        row += ",,,,,,,," + csvField(r.refusal);
    }
    return row + "\n";
}

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos) return fields;
        start = comma + 1;
    }
}

// A measured value of a row: nothing when the field is empty; `error` set
// when it is not a strict decimal number.
std::optional<double> measured(const std::string& field, const char* column, std::string& error) {
    if (field.empty()) return std::nullopt;
    const std::optional<double> value = parseNumber(field);
    if (!value) error = std::string(column) + " is not a decimal number: '" + field + "'";
    return value;
}

// Reads one row of the table into `in`; returns the reason when it is
// malformed, else an empty text.
std::string readRow(const std::vector<std::string>& fields, InclusionInput& in) {
    if (fields.size() != tableColumns) {
        return "expected " + std::to_string(tableColumns) + " columns, found " +
               std::to_string(fields.size());
    }
    for (const std::string& f : fields) {
        if (f.find('"') != std::string::npos) return "a quote in a field (fields are not quoted)";
    }
    if (fields[0].empty()) return "the id is empty";
    std::string error;
    in.tmIce = measured(fields[1], "tm_ice", error);
    if (error.empty()) in.tmHalite = measured(fields[2], "tm_halite", error);
    if (error.empty()) in.wtPercent = measured(fields[3], "wt_percent", error);
    if (error.empty()) in.th = measured(fields[4], "th", error);
    if (!error.empty()) return error;
    if (!fields[5].empty()) {
        in.mode = homogenizationFromWord(fields[5]);
        if (!in.mode) return "to is not liquid, vapor or critical: '" + fields[5] + "'";
    }
    return {};
}

}  // namespace

CLI::App* addInclusionCommand(CLI::App& app, InclusionOptions& options) {
    CLI::App* inclusion = app.add_subcommand(
        "inclusion",
        "Salinity and homogenisation pressure of fluid inclusions from Tm ice, Tm halite and Th.");
    inclusion
        ->add_option("--tm-ice", options.tmIce,
                     "temperature at which the last ice melts [C], -21.2 to 0")
        ->type_name("T");
    inclusion
        ->add_option("--tm-halite", options.tmHalite,
                     "temperature at which halite dissolves [C], 0.1 to 800.7")
        ->type_name("T");
    inclusion->add_option("--wt", options.wt, "salinity [wt% NaCl], 0 to 100, instead of a Tm")
        ->type_name("W");
    inclusion->add_option("--th", options.th, "homogenisation temperature [C], 0 to 1000")
        ->type_name("T");
    inclusion->add_option("--to", options.to, "how it homogenises: liquid, vapor or critical")
        ->type_name("MODE");
    inclusion
        ->add_option("--csv", options.csv,
                     "a table of inclusions, id,tm_ice,tm_halite,wt_percent,th,to (- for "
                     "standard input)")
        ->type_name("FILE");
    inclusion->add_flag("--json", options.json, "one json object instead of text");
    inclusion->footer(inclusionFooter);
    return inclusion;
}

int runInclusionCsv(std::istream& table, std::ostream& out, std::ostream& err) {
    std::string answers = std::string(answerHeader) + "\n";
    std::string line;
    std::size_t number = 0;
    auto malformed = [&](const std::string& reason) {
        err << "quarvessin " << command << ": line " << number << ": " << printable(reason) << "\n";
        err.flush();
        return exitUsage;
    };
    while (std::getline(table, line)) {
        ++number;
        // Lines may end in CR LF, as spreadsheets write them.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (number == 1) {
            if (line != tableHeader) {
                return malformed("the header must be " + std::string(tableHeader) + ", not '" +
                                 line + "'");
            }
            continue;
        }
        const std::vector<std::string> fields = splitFields(line);
        InclusionInput in;
        const std::string error = readRow(fields, in);
        if (!error.empty()) return malformed(error);
        answers += answerRow(fields[0], inclusionState(in));
    }
    if (table.bad()) {
        err << "quarvessin " << command << ": cannot read the table after line " << number << "\n";
        err.flush();
        return exitFailure;
    }
    if (number == 0) {
        ++number;
        return malformed("no header: the table must start with " + std::string(tableHeader));
    }
    out << answers;
    out.flush();
    return out ? exitOk : outputFailure(err, command);
}

int runInclusion(const InclusionOptions& options, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    if (options.csv) {
        if (options.tmIce || options.tmHalite || options.wt || options.th || options.to) {
            return usageError(err, command,
                              "--csv reads the measurements from the table: give no "
                              "--tm-ice, --tm-halite, --wt, --th or --to with it");
        }
        if (options.json)
            return usageError(err, command, "--csv answers in csv: --json does not go with it");
        if (*options.csv == "-") return runInclusionCsv(in, out, err);
        std::ifstream file(*options.csv, std::ios::binary);
        if (!file) {
            err << "quarvessin " << command << ": cannot read file " << printable(*options.csv)
                << "\n";
            err.flush();
            return exitFailure;
        }
        return runInclusionCsv(file, out, err);
    }

    InclusionInput input;
    const std::pair<const std::optional<std::string>*, std::optional<double>*> numbers[] = {
        {&options.tmIce, &input.tmIce},
        {&options.tmHalite, &input.tmHalite},
        {&options.wt, &input.wtPercent},
        {&options.th, &input.th}};
    const char* const names[] = {"--tm-ice", "--tm-halite", "--wt", "--th"};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::optional<std::string>& text = *numbers[i].first;
        if (!text) continue;
        *numbers[i].second = parseNumber(*text);
        if (!*numbers[i].second) {
            return usageError(
                err, command,
                std::string(names[i]) + " is not a finite decimal number: '" + *text + "'");
        }
    }
    if (options.to) {
        input.mode = homogenizationFromWord(*options.to);
        if (!input.mode) {
            return usageError(err, command,
                              "--to is liquid, vapor or critical, not '" + *options.to + "'");
        }
    }
    const InclusionResult result = inclusionState(input);
    if (!result.accepted) return refused(err, command, result.refusal);
    out << (options.json ? inclusionJson(result) : inclusionText(result));
    for (const std::string& warning : result.warnings) {
        err << "quarvessin: warning: " << warning << "\n";
    }
    err.flush();
    out.flush();
    return out ? exitOk : outputFailure(err, command);
}

}  // namespace quarvessin::cli
