#include "mesh/open_circles.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace qav {

namespace {
// A circle crossing more rows than this goes to the wide list: filing it in every row at every
// slab made far-out corners quadratic.
constexpr int WIDE_ROWS = 8;

// The cell of v among cells starting at starts (ascending; values below the first land in it).
int cellAmong(const std::vector<double>& starts, double v) {
    const auto it = std::upper_bound(starts.begin(), starts.end(), v);
    return it == starts.begin() ? 0 : static_cast<int>(it - starts.begin()) - 1;
}

// Starts of `cells` cells holding about equal counts of the sorted values.
std::vector<double> quantileStarts(const std::vector<double>& sorted, int cells) {
    std::vector<double> starts;
    if (sorted.empty()) return {0.0};
    const std::size_t n = sorted.size();
    for (int k = 0; k < cells; ++k)
        starts.push_back(sorted[n * static_cast<std::size_t>(k) / static_cast<std::size_t>(cells)]);
    return starts;
}
}  // namespace

OpenCircles::OpenCircles(const std::vector<double>& xs, std::vector<double> ys) {
    ys.erase(std::remove_if(ys.begin(), ys.end(), [](double y) { return std::isnan(y); }),
             ys.end());
    std::sort(ys.begin(), ys.end());
    const double xmin = xs.empty() ? 0 : xs.front(), xmax = xs.empty() ? 0 : xs.back();
    ymin_ = ys.empty() ? 0 : ys.front();
    ymax_ = ys.empty() ? 0 : ys.back();
    // About as many slabs as points per slab, and as many rows as slabs.
    const int side =
        std::max(1, Round(std::sqrt(std::max<double>(static_cast<double>(xs.size()), 1))));
    slabStart_ = quantileStarts(xs, side);
    rowStart_ = quantileStarts(ys, side);
    slabs_ = static_cast<int>(slabStart_.size());
    rowCount_ = static_cast<int>(rowStart_.size());
    const double width = xmax - xmin, height = ymax_ - ymin_;
    // Far above the rounding of any of the sums below, far below any spacing of real points.
    const double scale =
        std::max({1.0, std::fabs(xmin), std::fabs(xmax), std::fabs(ymin_), std::fabs(ymax_),
                  std::isfinite(width) ? width : 0.0, std::isfinite(height) ? height : 0.0});
    margin_ = 1e-9 * scale;
    rows_.resize(static_cast<std::size_t>(rowCount_));
    firstX_.assign(static_cast<std::size_t>(slabs_), 0);
    lastX_.assign(static_cast<std::size_t>(slabs_), 0);
    int previous = -1;
    for (double x : xs) {
        const auto s = static_cast<std::size_t>(slabOf(x));
        if (static_cast<int>(s) != previous) firstX_[s] = x;
        lastX_[s] = x;
        previous = static_cast<int>(s);
    }
}

int OpenCircles::slabOf(double x) const {
    return cellAmong(slabStart_, x);
}

int OpenCircles::rowOf(double y) const {
    return cellAmong(rowStart_, y);
}

void OpenCircles::file(int id, unsigned generation, const SweepTriangle& t) {
    if (!t.alive || t.flat || t.generation != generation) return;
    const Circle& c = t.circle;
    const double reach = c.r * (1 + 1e-9) + margin_;
    if (c.xc + reach < lo_) return;  // ends before this slab: no later point can fall in it
    if (c.xc - reach > hi_) {
        waiting_.push({c.xc - reach, {id, generation}});
        return;
    }
    current_.push_back({id, generation});
    const double dx = std::max({0.0, lo_ - c.xc, c.xc - hi_});
    const double half = std::sqrt(std::max(0.0, reach * reach - dx * dx)) + margin_;
    const double top = c.yc + half, bottom = c.yc - half;
    if (top < ymin_ - margin_ || bottom > ymax_ + margin_)
        return;  // misses every point of the slab
    const int first = std::max(0, rowOf(bottom) - 1),
              last = std::min(rowCount_ - 1, rowOf(top) + 1);
    const Entry entry{c.xc, c.yc, reach, id, generation};
    if (last - first >= WIDE_ROWS) {
        wide_.push_back(entry);
        return;
    }
    for (int k = first; k <= last; ++k) rows_[static_cast<std::size_t>(k)].push_back(entry);
}

void OpenCircles::advanceTo(double x, const std::vector<SweepTriangle>& pool) {
    const int s = slabOf(x);
    if (s == slab_) return;
    slab_ = s;
    lo_ = firstX_[static_cast<std::size_t>(s)] - margin_;
    hi_ = lastX_[static_cast<std::size_t>(s)] + margin_;
    for (auto& row : rows_) row.clear();
    wide_.clear();
    std::vector<Filed> carried;
    carried.swap(current_);
    for (const Filed& f : carried) file(f.id, f.generation, pool[static_cast<std::size_t>(f.id)]);
    while (!waiting_.empty() && waiting_.top().left <= hi_) {
        const Filed f = waiting_.top().what;
        waiting_.pop();
        file(f.id, f.generation, pool[static_cast<std::size_t>(f.id)]);
    }
}

void OpenCircles::add(int id, const std::vector<SweepTriangle>& pool) {
    const SweepTriangle& t = pool[static_cast<std::size_t>(id)];
    file(id, t.generation, t);
}

}  // namespace qav
