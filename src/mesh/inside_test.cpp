#include "mesh/inside_test.h"

#include <algorithm>

namespace qav {

int polygonCorners(const std::vector<TPOS>& pt, int n) {
    return std::clamp(n, 0, static_cast<int>(pt.size()));
}

InsideTest::InsideTest(const std::vector<TPOS>& pt, int n) {
    n = polygonCorners(pt, n);
    corners_.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        const TPOS& p = pt[static_cast<std::size_t>(k)];
        corners_.push_back({p.X, p.Y});
        if (k == 0) {
            xmin_ = xmax_ = p.X;
            ymin_ = ymax_ = p.Y;
        }
        xmin_ = std::min(xmin_, p.X);
        xmax_ = std::max(xmax_, p.X);
        ymin_ = std::min(ymin_, p.Y);
        ymax_ = std::max(ymax_, p.Y);
    }
}

int InsideTest::place(double x, double y) const {
    if (corners_.empty() || x > xmax_ || y > ymax_ || y < ymin_) return Geometer::PIP_OUTSIDE;
    return Geometer::PointInPolygon(corners_.data(), static_cast<int>(corners_.size()), {x, y});
}

}  // namespace qav
