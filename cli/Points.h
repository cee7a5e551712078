// quarvessin points: the phase state of a table of (T, P, wt%) points.
#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace quarvessin::cli {

struct PointsOptions {
    std::string file = "-";  // the table; "-" for standard input
};

// Registers `points [FILE]` on `app`.
CLI::App* addPointsCommand(CLI::App& app, PointsOptions& options);

// Reads the table "T_C,P_bar,wt_percent" (a header, then one point a line)
// from the file or `in`, and writes each row as typed followed by the phase
// state there: assemblage, compositions of the vapour and the liquid [wt%]
// and the mass fractions of vapour, liquid and halite (empty where absent or
// not known). A malformed table (exit 2, its line named) writes nothing.
int runPoints(const PointsOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace quarvessin::cli
