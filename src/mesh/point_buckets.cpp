#include "mesh/point_buckets.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace qav {

long long PointBuckets::cellOf(double v) const {
    // Cells far out are folded onto the last ones: still correct (the callers test exactly),
    // only slower for coordinates no section has.
    constexpr double LIMIT = 1e9;
    double c = v / cell_;
    if (std::isnan(c)) c = 0;
    return Floor(std::clamp(c, -LIMIT, LIMIT));
}

void PointBuckets::insert(double x, double y, int index) {
    const uint64_t k = key(cellOf(x), cellOf(y));
    const auto [it, added] = heads_.try_emplace(k, -1);
    entries_.push_back({index, it->second});
    it->second = static_cast<int>(entries_.size()) - 1;
    (void)added;
}

}  // namespace qav
