#include "mesh/point_buckets.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace qav {

namespace {
// Cells along one side: well inside the 32 bits of a key half and of an int.
constexpr double MAX_CELLS = 1 << 30;
}  // namespace

void BucketBox::add(double x, double y) {
    xmin = std::min(xmin, x);
    xmax = std::max(xmax, x);
    ymin = std::min(ymin, y);
    ymax = std::max(ymax, y);
}

PointBuckets::PointBuckets(double cell, const BucketBox& box) : cell_(cell) {
    if (box.xmin <= box.xmax && box.ymin <= box.ymax) {
        x0_ = box.xmin;
        y0_ = box.ymin;
        const double extent = std::max(box.xmax - box.xmin, box.ymax - box.ymin);
        if (std::isfinite(extent)) cell_ = std::max(cell_, extent / MAX_CELLS);
    }
}

long long PointBuckets::cellOf(double v, double origin) const {
    const double c = (v - origin) / cell_;
    if (!(c >= 0)) return 0;  // below the box, or not a number
    return Floor(std::min(c, MAX_CELLS));
}

void PointBuckets::insert(double x, double y, int index) {
    const uint64_t k = key(cellOf(x, x0_), cellOf(y, y0_));
    const auto [it, added] = heads_.try_emplace(k, -1);
    entries_.push_back({index, it->second});
    it->second = static_cast<int>(entries_.size()) - 1;
    (void)added;
}

}  // namespace qav
