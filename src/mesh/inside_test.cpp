#include "mesh/inside_test.h"

#include <algorithm>
#include <cmath>

namespace qav {

namespace {
// A band list may file each edge this many times on average; tall edges (a comb) make the
// bands coarser rather than the lists long.
constexpr long long FILINGS_PER_EDGE = 8;
}  // namespace

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
    fileEdges(std::max(1, n / 2));
}

// Bands holding about equal numbers of corners (not equal heights: one far corner must not
// crowd the rest into one band).
void InsideTest::fileEdges(int bands) {
    const int n = static_cast<int>(corners_.size());
    std::vector<double> ys;
    ys.reserve(corners_.size());
    for (const auto& c : corners_) ys.push_back(c.y);
    std::sort(ys.begin(), ys.end());
    auto range = [&](int k, int& lo, int& hi) {
        const auto& a = corners_[static_cast<std::size_t>(k)];
        const auto& b = corners_[static_cast<std::size_t>((k + 1) % n)];
        lo = bandOf(std::min(a.y, b.y));
        hi = bandOf(std::max(a.y, b.y));
    };
    for (;; bands = std::max(1, bands / 4)) {
        bandStart_.clear();
        for (int b = 0; b < bands && n > 0; ++b)
            bandStart_.push_back(ys[static_cast<std::size_t>(n) * static_cast<std::size_t>(b) /
                                    static_cast<std::size_t>(bands)]);
        bandStart_.erase(std::unique(bandStart_.begin(), bandStart_.end()), bandStart_.end());
        long long filings = 0;
        for (int k = 0; k < n; ++k) {
            int lo, hi;
            range(k, lo, hi);
            filings += hi - lo + 1;
        }
        if (bands == 1 || filings <= FILINGS_PER_EDGE * n) break;
    }
    // Counting pass, then the edges in place, each band in edge order.
    const int count = static_cast<int>(bandStart_.size());
    first_.assign(static_cast<std::size_t>(count) + 1, 0);
    for (int k = 0; k < n; ++k) {
        int lo, hi;
        range(k, lo, hi);
        for (int b = lo; b <= hi; ++b) ++first_[static_cast<std::size_t>(b) + 1];
    }
    for (int b = 0; b < count; ++b)
        first_[static_cast<std::size_t>(b) + 1] += first_[static_cast<std::size_t>(b)];
    edges_.assign(static_cast<std::size_t>(first_.back()), 0);
    std::vector<int> next(first_.begin(), first_.end() - 1);
    for (int k = 0; k < n; ++k) {
        int lo, hi;
        range(k, lo, hi);
        for (int b = lo; b <= hi; ++b)
            edges_[static_cast<std::size_t>(next[static_cast<std::size_t>(b)]++)] = k;
    }
}

// Monotone in y, so an edge filed from the band of its lower end to that of its upper end is
// in the band of every y between them.
int InsideTest::bandOf(double y) const {
    const auto it = std::upper_bound(bandStart_.begin(), bandStart_.end(), y);
    return it == bandStart_.begin() ? 0 : static_cast<int>(it - bandStart_.begin()) - 1;
}

int InsideTest::place(double x, double y) const {
    if (corners_.empty() || x > xmax_ || y > ymax_ || y < ymin_) return Geometer::PIP_OUTSIDE;
    const Geometer::TGPointF p{x, y};
    const Geometer::TGSegment ray{p, {Geometer::RAY_FAR_X, y}};
    const int n = static_cast<int>(corners_.size());
    const int band = bandOf(y);
    int count = 0;
    for (int i = first_[static_cast<std::size_t>(band)];
         i < first_[static_cast<std::size_t>(band) + 1]; ++i) {
        const int k = edges_[static_cast<std::size_t>(i)];
        const int add = Geometer::RayEdgeCount(ray,
                                               {corners_[static_cast<std::size_t>(k)],
                                                corners_[static_cast<std::size_t>((k + 1) % n)]},
                                               p);
        if (add < 0) return Geometer::PIP_BOUNDARY;
        count += add;
    }
    return count % 2 == 1 ? Geometer::PIP_INSIDE : Geometer::PIP_OUTSIDE;
}

bool InsideTest::nearBoundary(double x, double y, double d) const {
    if (corners_.empty() || !(y + d >= ymin_ && y - d <= ymax_ && x + d >= xmin_ && x - d <= xmax_))
        return false;
    const int n = static_cast<int>(corners_.size());
    for (int band = bandOf(y - d), last = bandOf(y + d); band <= last; ++band)
        for (int i = first_[static_cast<std::size_t>(band)];
             i < first_[static_cast<std::size_t>(band) + 1]; ++i) {
            const int k = edges_[static_cast<std::size_t>(i)];
            const auto& a = corners_[static_cast<std::size_t>(k)];
            const auto& b = corners_[static_cast<std::size_t>((k + 1) % n)];
            const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
            const double t =
                len2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
            if (std::hypot(a.x + t * dx - x, a.y + t * dy - y) <= d) return true;
        }
    return false;
}

}  // namespace qav
