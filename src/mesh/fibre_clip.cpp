#include "mesh/fibre_clip.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qav {

namespace {
// Corners closer to a side's line than this part of the triangle's extent count as on it, so
// that rounding never cuts off a sliver along a side the mesh already follows.
constexpr double ON_LINE = 1e-9;
// Fan triangles smaller than this part of the triangle carry nothing but rounding.
constexpr double NO_AREA = 1e-14;

using Piece = std::vector<ClipPoint>;  // convex, turning as the triangle does

struct Line {
    ClipPoint p;
    double ux, uy, length;  // unit direction from p, and the side's length
    double distance(const ClipPoint& v) const { return ux * (v.y - p.y) - uy * (v.x - p.x); }
    double along(const ClipPoint& v) const { return ux * (v.x - p.x) + uy * (v.y - p.y); }
};

int sideOf(double d, double eps) {
    return d > eps ? 1 : (d < -eps ? -1 : 0);
}

// Cuts the convex piece q in two along the side's line, when the side itself (not only its
// line) runs through q's inside for more than eps.
bool cut(const Piece& q, const Line& l, double eps, Piece& left, Piece& right) {
    const std::size_t n = q.size();
    bool above = false, below = false;
    for (const ClipPoint& v : q) {
        const int s = sideOf(l.distance(v), eps);
        above = above || s > 0;
        below = below || s < 0;
    }
    if (!above || !below) return false;
    left.clear();
    right.clear();
    double tmin = std::numeric_limits<double>::infinity(), tmax = -tmin;
    auto chord = [&](const ClipPoint& x) {
        tmin = std::min(tmin, l.along(x));
        tmax = std::max(tmax, l.along(x));
    };
    for (std::size_t i = 0; i < n; ++i) {
        const ClipPoint &v = q[i], &w = q[(i + 1) % n];
        const double dv = l.distance(v), dw = l.distance(w);
        const int sv = sideOf(dv, eps), sw = sideOf(dw, eps);
        if (sv >= 0) left.push_back(v);
        if (sv <= 0) right.push_back(v);
        if (sv == 0) chord(v);
        if (sv * sw < 0) {
            const double f = dv / (dv - dw);
            const ClipPoint x{v.x + (w.x - v.x) * f, v.y + (w.y - v.y) * f};
            left.push_back(x);
            right.push_back(x);
            chord(x);
        }
    }
    return left.size() >= 3 && right.size() >= 3 &&
           std::min(tmax, l.length) - std::max(tmin, 0.0) > eps;
}
}  // namespace

double triangleArea(const ClipTriangle& t) {
    return ((t.b.x - t.a.x) * (t.c.y - t.a.y) - (t.c.x - t.a.x) * (t.b.y - t.a.y)) / 2;
}

SectionSides::SectionSides(const std::vector<ClipPolygon>& polygons) {
    for (const ClipPolygon& poly : polygons) {
        const std::size_t n = poly.size();
        if (n < 3) continue;
        for (std::size_t k = 0; k < n; ++k) {
            const ClipPoint &p = poly[k], &q = poly[(k + 1) % n];
            if (p.x == q.x && p.y == q.y) continue;
            sides_.push_back({p, q, std::min(p.x, q.x), std::max(p.x, q.x), std::min(p.y, q.y),
                              std::max(p.y, q.y)});
        }
    }
    if (sides_.empty()) return;
    double y1 = sides_[0].ymax;
    y0_ = sides_[0].ymin;
    for (const Side& s : sides_) {
        y0_ = std::min(y0_, s.ymin);
        y1 = std::max(y1, s.ymax);
    }
    // About four sides a band for a polygon of many short sides; few bands for a few long ones,
    // which would otherwise be filed in every band.
    bands_ =
        std::clamp(static_cast<int>(4 * std::sqrt(static_cast<double>(sides_.size()))), 1, 1024);
    bandHeight_ = y1 > y0_ ? (y1 - y0_) / bands_ : 1;
    std::vector<int> count(static_cast<std::size_t>(bands_) + 1, 0);
    for (const Side& s : sides_)
        for (int b = bandOf(s.ymin); b <= bandOf(s.ymax); ++b) ++count[static_cast<std::size_t>(b)];
    first_.assign(count.size(), 0);
    for (int b = 0; b < bands_; ++b)
        first_[static_cast<std::size_t>(b) + 1] =
            first_[static_cast<std::size_t>(b)] + count[static_cast<std::size_t>(b)];
    filed_.resize(static_cast<std::size_t>(first_.back()));
    std::vector<int> next(first_.begin(), first_.end() - 1);
    for (std::size_t k = 0; k < sides_.size(); ++k)
        for (int b = bandOf(sides_[k].ymin); b <= bandOf(sides_[k].ymax); ++b)
            filed_[static_cast<std::size_t>(next[static_cast<std::size_t>(b)]++)] =
                static_cast<int>(k);
}

int SectionSides::bandOf(double y) const {
    const double b = std::floor((y - y0_) / bandHeight_);
    if (!(b > 0)) return 0;  // also a NaN, which no finite section gives
    return b >= bands_ - 1 ? bands_ - 1 : static_cast<int>(b);
}

bool SectionSides::split(const ClipTriangle& t, std::vector<ClipTriangle>& out) const {
    if (bands_ == 0) return false;
    const double xmin = std::min({t.a.x, t.b.x, t.c.x}), xmax = std::max({t.a.x, t.b.x, t.c.x});
    const double ymin = std::min({t.a.y, t.b.y, t.c.y}), ymax = std::max({t.a.y, t.b.y, t.c.y});
    const double eps = ON_LINE * std::max(xmax - xmin, ymax - ymin);
    if (!(eps > 0)) return false;
    std::vector<Piece> pieces;  // empty until the first cut
    Piece left, right;
    const int b0 = bandOf(ymin), b1 = bandOf(ymax);
    for (int b = b0; b <= b1; ++b) {
        for (int k = first_[static_cast<std::size_t>(b)];
             k < first_[static_cast<std::size_t>(b) + 1]; ++k) {
            const Side& s = sides_[static_cast<std::size_t>(filed_[static_cast<std::size_t>(k)])];
            if (std::max(bandOf(s.ymin), b0) != b) continue;  // met in an earlier band
            if (s.xmax < xmin || s.xmin > xmax || s.ymax < ymin || s.ymin > ymax) continue;
            const double dx = s.q.x - s.p.x, dy = s.q.y - s.p.y, len = std::hypot(dx, dy);
            const Line l{s.p, dx / len, dy / len, len};
            if (pieces.empty()) {
                if (!cut({t.a, t.b, t.c}, l, eps, left, right)) continue;
                pieces = {left, right};
                continue;
            }
            const std::size_t n = pieces.size();  // the halves made by this side stay whole
            for (std::size_t i = 0; i < n; ++i) {
                if (!cut(pieces[i], l, eps, left, right)) continue;
                pieces[i] = left;
                pieces.push_back(right);
            }
        }
    }
    if (pieces.empty()) return false;
    const double whole = std::fabs(triangleArea(t));
    for (const Piece& p : pieces)
        for (std::size_t i = 1; i + 1 < p.size(); ++i) {
            const ClipTriangle f{p[0], p[i], p[i + 1]};
            if (std::fabs(triangleArea(f)) > NO_AREA * whole) out.push_back(f);
        }
    return true;
}

}  // namespace qav
