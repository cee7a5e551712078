#include "engine/Fields.h"

#include <quarvessin/kinds.h>
#include <quarvessin/phase_state.h>
#include <quarvessin/style.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <queue>
#include <string>
#include <utility>

namespace quarvessin {

namespace {

// Cells of the classification grid across (composition) and up.
constexpr int columns = 60;
constexpr int rows = 80;
// A region gets a label when some place in it lies this far from its edges,
// as a fraction of the plot's width and height: the label has room there.
constexpr double minDepth = 0.025;

}  // namespace

std::vector<Field> placeFields(const Section& section) {
    std::vector<Field> fields;
    const SectionKindInfo& info = kindInfo(section.kind);
    if (!section.accepted || section.boundaries.empty() || !info.hasFields) return fields;
    const bool logY = info.logY;

    // The vertical extent: the boundaries' finite values (positive ones on a
    // logarithmic axis).
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (const Boundary& boundary : section.boundaries) {
        for (const auto& piece : boundary.pieces) {
            for (const Point& p : piece) {
                if (!std::isfinite(p.value) || (logY && !(p.value > 0.0))) continue;
                lo = std::min(lo, p.value);
                hi = std::max(hi, p.value);
            }
        }
    }
    if (!(lo < hi)) return fields;
    const double y0 = logY ? std::log10(lo) : lo;
    const double y1 = logY ? std::log10(hi) : hi;

    // Classification of every cell centre.
    std::vector<std::string> cell(static_cast<std::size_t>(columns * rows));
    std::vector<double> xs(columns), ys(rows);
    for (int i = 0; i < columns; ++i)
        xs[i] = info.xMin + (info.xMax - info.xMin) * (i + 0.5) / columns;
    for (int j = 0; j < rows; ++j) {
        const double y = y0 + (y1 - y0) * (j + 0.5) / rows;
        ys[j] = logY ? std::pow(10.0, y) : y;
    }
    // Row by row, so the work of one temperature and pressure is shared
    // across the row.
    const std::size_t n = cell.size();
    std::vector<double> t(n), p(n), wt(n);
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            const auto k = static_cast<std::size_t>(j * columns + i);
            const StatePoint state = statePoint(info, section.value, xs[i], ys[j]);
            t[k] = state.tC;
            p[k] = state.pBar;
            wt[k] = state.wt;
        }
    }
    std::vector<PhaseState> states(n);
    phaseStates(t.data(), p.data(), wt.data(), n, states.data());
    for (std::size_t k = 0; k < n; ++k) cell[k] = assemblageName(states[k].assemblage);

    // Depth of every cell in its region: the distance from its centre to the
    // nearest cell of another assemblage or beyond the plot's edge, as a
    // fraction of the plot's width and height (Dijkstra over the grid).
    const auto index = [&](int i, int j) { return static_cast<std::size_t>(j * columns + i); };
    const auto at = [&](int i, int j) -> const std::string& { return cell[index(i, j)]; };
    const double step[] = {1.0 / columns, 1.0 / columns, 1.0 / rows, 1.0 / rows};
    const int di[] = {1, -1, 0, 0};
    const int dj[] = {0, 0, 1, -1};
    std::vector<double> depth(cell.size(), std::numeric_limits<double>::infinity());
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            double d = std::numeric_limits<double>::infinity();
            for (int k = 0; k < 4; ++k) {
                const int ni = i + di[k], nj = j + dj[k];
                const bool outside = ni < 0 || nj < 0 || ni >= columns || nj >= rows;
                if (outside || at(ni, nj) != at(i, j)) d = std::min(d, 0.5 * step[k]);
            }
            if (d < depth[index(i, j)]) {
                depth[index(i, j)] = d;
                queue.emplace(d, j * columns + i);
            }
        }
    }
    while (!queue.empty()) {
        const auto [d, c] = queue.top();
        queue.pop();
        if (d > depth[static_cast<std::size_t>(c)]) continue;
        for (int k = 0; k < 4; ++k) {
            const int i = c % columns + di[k], j = c / columns + dj[k];
            if (i < 0 || j < 0 || i >= columns || j >= rows ||
                at(i, j) != cell[static_cast<std::size_t>(c)])
                continue;
            if (d + step[k] < depth[index(i, j)]) {
                depth[index(i, j)] = d + step[k];
                queue.emplace(d + step[k], j * columns + i);
            }
        }
    }

    // One label per connected region: at its deepest cell (the first in
    // row order among equals).
    std::vector<int> region(cell.size(), -1);
    int regions = 0;
    for (int start = 0; start < columns * rows; ++start) {
        const auto s = static_cast<std::size_t>(start);
        if (region[s] >= 0 || cell[s].empty()) continue;
        int best = start;
        region[s] = regions;
        std::deque<int> members{start};
        while (!members.empty()) {
            const int c = members.front();
            members.pop_front();
            if (depth[static_cast<std::size_t>(c)] > depth[static_cast<std::size_t>(best)] ||
                (depth[static_cast<std::size_t>(c)] == depth[static_cast<std::size_t>(best)] &&
                 c < best)) {
                best = c;
            }
            for (int k = 0; k < 4; ++k) {
                const int i = c % columns + di[k], j = c / columns + dj[k];
                if (i < 0 || j < 0 || i >= columns || j >= rows) continue;
                const auto n = static_cast<std::size_t>(j * columns + i);
                if (region[n] < 0 && cell[n] == cell[s]) {
                    region[n] = regions;
                    members.push_back(static_cast<int>(n));
                }
            }
        }
        ++regions;
        if (depth[static_cast<std::size_t>(best)] < minDepth) continue;
        const std::string& assemblage = cell[static_cast<std::size_t>(best)];
        fields.push_back(
            {assemblage, assemblageLabel(assemblage), xs[best % columns], ys[best / columns]});
    }
    return fields;
}

}  // namespace quarvessin
