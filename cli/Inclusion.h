// `quarvessin inclusion`: the salinity and homogenisation pressure of fluid
// inclusions, one from options or a table of them from a csv file.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace quarvessin::cli {

// The options of `quarvessin inclusion` as typed; a value not given stays empty.
struct InclusionOptions {
    std::optional<std::string> tmIce;     // --tm-ice T [C]
    std::optional<std::string> tmHalite;  // --tm-halite T [C]
    std::optional<std::string> wt;        // --wt W [wt% NaCl]
    std::optional<std::string> th;        // --th T [C]
    std::optional<std::string> to;        // --to liquid|vapor|critical
    std::optional<std::string> csv;       // --csv FILE, "-" for standard input
    bool json = false;                    // --json
};

// Adds the subcommand `inclusion` with its options, bound to `options`, and
// its help; returns it (its parsed() tells whether it was asked for).
CLI::App* addInclusionCommand(CLI::App& app, InclusionOptions& options);

// Runs `quarvessin inclusion` with the parsed options: one inclusion as text
// (or json) on `out`, its warnings on `err`; or with --csv a table of
// inclusions read from the file (or `in` for "-") and answered as csv on
// `out` (the warnings of a row in one field, separated by " | "). Returns the exit status: 0 done
// (rows that cannot be answered keep their place with the reason), 1 a file that cannot be read or
// an output that cannot be written, 2 a usage error, a refused inclusion or a malformed table
// (nothing is then written to `out`).
int runInclusion(const InclusionOptions& options, std::istream& in, std::ostream& out,
                 std::ostream& err);

// The csv batch on its own: reads the table from `table`, writes the answers
// to `out`; exit status as above.
int runInclusionCsv(std::istream& table, std::ostream& out, std::ostream& err);

}  // namespace quarvessin::cli
