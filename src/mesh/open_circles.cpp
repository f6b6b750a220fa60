#include "mesh/open_circles.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace qav {

namespace {
// An index for v in 0..count-1 (NaN and far values land on the ends).
int bounded(double v, int count) {
    if (!(v >= 0)) return 0;
    if (v >= count - 1) return count - 1;
    return Floor(v);
}
}  // namespace

OpenCircles::OpenCircles(const std::vector<double>& xs, double ymin, double ymax)
    : xmin_(xs.empty() ? 0 : xs.front()), ymin_(ymin), ymax_(ymax) {
    const double xmax = xs.empty() ? 0 : xs.back();
    // About as many slabs as points per slab, and as many rows as slabs.
    const int side = std::max(1, Round(std::sqrt(std::max<double>(static_cast<double>(xs.size()), 1))));
    const double width = xmax - xmin_, height = ymax - ymin;
    if (width > 0 && std::isfinite(width)) {
        slabs_ = side;
        slabWidth_ = width / side;
    }
    if (height > 0 && std::isfinite(height)) {
        rowCount_ = side;
        rowHeight_ = height / side;
    }
    // Far above the rounding of any of the sums below, far below any spacing of real points.
    const double scale = std::max({1.0, std::fabs(xmin_), std::fabs(xmax), std::fabs(ymin), std::fabs(ymax),
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
    return slabWidth_ > 0 ? bounded((x - xmin_) / slabWidth_, slabs_) : 0;
}

int OpenCircles::rowOf(double y) const {
    return rowHeight_ > 0 ? bounded((y - ymin_) / rowHeight_, rowCount_) : 0;
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
    if (top < ymin_ - margin_ || bottom > ymax_ + margin_) return;  // misses every point of the slab
    const int first = std::max(0, rowOf(bottom) - 1), last = std::min(rowCount_ - 1, rowOf(top) + 1);
    for (int k = first; k <= last; ++k) rows_[static_cast<std::size_t>(k)].push_back({c.xc, c.yc, reach, id, generation});
}

void OpenCircles::advanceTo(double x, const std::vector<SweepTriangle>& pool) {
    const int s = slabOf(x);
    if (s == slab_) return;
    slab_ = s;
    lo_ = firstX_[static_cast<std::size_t>(s)] - margin_;
    hi_ = lastX_[static_cast<std::size_t>(s)] + margin_;
    for (auto& row : rows_) row.clear();
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
