#include "Points.h"

#include <quarvessin/format.h>
#include <quarvessin/phase_state.h>

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

const char* const header = "T_C,P_bar,wt_percent";
const char* const outputHeader =
    "T_C,P_bar,wt_percent,assemblage,wt_vapor,wt_liquid,fraction_vapor,fraction_liquid,"
    "fraction_halite";

int malformed(std::ostream& err, std::size_t line, const std::string& reason) {
    err << "quarvessin points: line " << line << ": " << printable(reason) << "\n";
    return exitUsage;
}

void appendField(std::string& out, double value) {
    out += ',';
    if (std::isfinite(value)) out += shortestNumber(value);
}

}  // namespace

CLI::App* addPointsCommand(CLI::App& app, PointsOptions& options) {
    CLI::App* points = app.add_subcommand(
        "points", "The phase state at each (T [C], P [bar], wt% NaCl) of a csv table.");
    points->add_option("FILE", options.file, "the table (default: standard input)")
        ->type_name("FILE");
    points->footer(
        std::string("The table: the header ") + header +
        ", then one point a line.\nEach row comes back as typed with " + "the columns\n  " +
        outputHeader +
        "\n(empty where a phase is absent or the point is outside the model's range).\n"
        "\nExample:\n  printf 'T_C,P_bar,wt_percent\\n400,250,10\\n' | quarvessin points");
    return points;
}

int runPoints(const PointsOptions& options, std::istream& in, std::ostream& out,
              std::ostream& err) {
    std::ifstream file;
    std::istream* table = &in;
    if (options.file != "-") {
        file.open(options.file, std::ios::binary);
        if (!file) {
            err << "quarvessin points: cannot read file " << printable(options.file) << "\n";
            return exitFailure;
        }
        table = &file;
    }
    std::vector<std::string> typed;
    std::vector<double> t, p, wt;
    std::string line;
    std::size_t number = 0;
    while (std::getline(*table, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (number == 1) {
            if (line != header)
                return malformed(err, 1, "the header must be " + std::string(header));
            continue;
        }
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = line.find(',', start);
            fields.push_back(line.substr(start, comma - start));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        if (fields.size() != 3) {
            return malformed(
                err, number,
                "3 fields expected, " + std::to_string(fields.size()) + " found: '" + line + "'");
        }
        double values[3];
        for (int k = 0; k < 3; ++k) {
            const auto v = parseNumber(fields[static_cast<std::size_t>(k)]);
            if (!v) {
                return malformed(
                    err, number,
                    "not a finite decimal number: '" + fields[static_cast<std::size_t>(k)] + "'");
            }
            values[k] = *v;
        }
        typed.push_back(line);
        t.push_back(values[0]);
        p.push_back(values[1]);
        wt.push_back(values[2]);
    }
    if (table->bad()) {
        err << "quarvessin points: cannot read the table\n";
        return exitFailure;
    }
    if (number == 0) return malformed(err, 1, "the header must be " + std::string(header));

    std::vector<PhaseState> states(t.size());
    phaseStates(t.data(), p.data(), wt.data(), t.size(), states.data());
    std::string text = std::string(outputHeader) + "\n";
    for (std::size_t i = 0; i < states.size(); ++i) {
        const PhaseState& s = states[i];
        text += typed[i];
        text += ',';
        text += assemblageName(s.assemblage);
        for (double v :
             {s.wtVapor, s.wtLiquid, s.fractionVapor, s.fractionLiquid, s.fractionHalite}) {
            appendField(text, v);
        }
        text += '\n';
    }
    out << text;
    out.flush();
    return out ? exitOk : outputFailure(err, "points");
}

}  // namespace quarvessin::cli
