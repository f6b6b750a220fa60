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

// Where the edge v-w crosses the line, from the corners' distances to it (of opposite signs).
ClipPoint crossing(const ClipPoint& v, const ClipPoint& w, double dv, double dw) {
    const double f = dv / (dv - dw);
    return {v.x + (w.x - v.x) * f, v.y + (w.y - v.y) * f};
}

// Cuts the convex piece q (n corners) in two along the side's line, when the side itself (not
// only its line) runs through q's inside for more than eps. The first pass only measures, so a
// side that misses costs no allocation.
bool cut(const ClipPoint* q, std::size_t n, const Line& l, double eps, Piece& left, Piece& right) {
    bool above = false, below = false;
    double tmin = std::numeric_limits<double>::infinity(), tmax = -tmin;
    for (std::size_t i = 0; i < n; ++i) {
        const ClipPoint &v = q[i], &w = q[(i + 1) % n];
        const double dv = l.distance(v), dw = l.distance(w);
        const int sv = sideOf(dv, eps), sw = sideOf(dw, eps);
        above = above || sv > 0;
        below = below || sv < 0;
        double t = 0;
        if (sv == 0)
            t = l.along(v);
        else if (sv * sw < 0)
            t = l.along(crossing(v, w, dv, dw));
        else
            continue;
        tmin = std::min(tmin, t);
        tmax = std::max(tmax, t);
    }
    if (!above || !below || std::min(tmax, l.length) - std::max(tmin, 0.0) <= eps) return false;
    left.clear();
    right.clear();
    for (std::size_t i = 0; i < n; ++i) {
        const ClipPoint &v = q[i], &w = q[(i + 1) % n];
        const double dv = l.distance(v), dw = l.distance(w);
        const int sv = sideOf(dv, eps), sw = sideOf(dw, eps);
        if (sv >= 0) left.push_back(v);
        if (sv <= 0) right.push_back(v);
        if (sv * sw < 0) {
            const ClipPoint x = crossing(v, w, dv, dw);
            left.push_back(x);
            right.push_back(x);
        }
    }
    return left.size() >= 3 && right.size() >= 3;
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
            const double dx = q.x - p.x, dy = q.y - p.y, length = std::sqrt(dx * dx + dy * dy);
            if (!(length > 0)) continue;
            sides_.push_back({p, dx / length, dy / length, length, std::min(p.x, q.x),
                              std::max(p.x, q.x), std::min(p.y, q.y), std::max(p.y, q.y), 0, 0});
        }
    }
    if (sides_.empty()) return;
    double x1 = sides_[0].xmax, y1 = sides_[0].ymax;
    x0_ = sides_[0].xmin;
    y0_ = sides_[0].ymin;
    for (const Side& s : sides_) {
        x0_ = std::min(x0_, s.xmin);
        y0_ = std::min(y0_, s.ymin);
        x1 = std::max(x1, s.xmax);
        y1 = std::max(y1, s.ymax);
    }
    // A square grid about 2 sqrt(sides) cells across; coarser while long slanted sides would
    // be filed in too many cells.
    const double extent = std::max(x1 - x0_, y1 - y0_);
    auto filings = [&](int across) {
        cell_ = extent > 0 ? extent / across : 1;
        columns_ = std::min(across, cellOf(x1, x0_, across) + 1);
        rows_ = std::min(across, cellOf(y1, y0_, across) + 1);
        double total = 0;
        for (const Side& s : sides_)
            total +=
                (columnOf(s.xmax) - columnOf(s.xmin) + 1.0) * (rowOf(s.ymax) - rowOf(s.ymin) + 1.0);
        return total;
    };
    int n = std::clamp(static_cast<int>(2 * std::sqrt(static_cast<double>(sides_.size()))), 1, 256);
    const double room = 16.0 * static_cast<double>(sides_.size()) + 4096;
    for (double total = filings(n); n > 1 && total > room; total = filings(n)) n /= 2;
    std::vector<int> count(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_) + 1,
                           0);
    auto forEachCell = [&](const Side& s, auto&& f) {
        for (int r = s.row; r <= rowOf(s.ymax); ++r)
            for (int c = s.column; c <= columnOf(s.xmax); ++c)
                f(static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
                  static_cast<std::size_t>(c));
    };
    for (Side& s : sides_) {
        s.column = columnOf(s.xmin);
        s.row = rowOf(s.ymin);
        forEachCell(s, [&](std::size_t cell) { ++count[cell]; });
    }
    first_.assign(count.size(), 0);
    for (std::size_t c = 0; c + 1 < count.size(); ++c) first_[c + 1] = first_[c] + count[c];
    filed_.resize(static_cast<std::size_t>(first_.back()));
    std::vector<int> next(first_.begin(), first_.end() - 1);
    for (std::size_t k = 0; k < sides_.size(); ++k)
        forEachCell(sides_[k], [&](std::size_t cell) {
            filed_[static_cast<std::size_t>(next[cell]++)] = static_cast<int>(k);
        });
}

int SectionSides::cellOf(double v, double v0, int count) const {
    const double c = (v - v0) / cell_;
    if (!(c > 0)) return 0;  // also a NaN, which no finite section gives
    return c >= count - 1 ? count - 1 : static_cast<int>(c);  // truncation: c > 0
}

template <class F>
void SectionSides::forEachNear(double xmin, double xmax, double ymin, double ymax, F&& f) const {
    const int c0 = columnOf(xmin), c1 = columnOf(xmax), r0 = rowOf(ymin), r1 = rowOf(ymax);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const std::size_t cell =
                static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
                static_cast<std::size_t>(c);
            for (int k = first_[cell]; k < first_[cell + 1]; ++k) {
                const Side& s =
                    sides_[static_cast<std::size_t>(filed_[static_cast<std::size_t>(k)])];
                if (s.xmax < xmin || s.xmin > xmax || s.ymax < ymin || s.ymin > ymax) continue;
                // A side filed in several of these cells is taken in the lowest of them.
                if (std::max(s.row, r0) != r || std::max(s.column, c0) != c) continue;
                f(s);
            }
        }
}

bool SectionSides::split(const ClipTriangle& t, std::vector<ClipTriangle>& out) const {
    if (sides_.empty()) return false;
    const double xmin = std::min({t.a.x, t.b.x, t.c.x}), xmax = std::max({t.a.x, t.b.x, t.c.x});
    const double ymin = std::min({t.a.y, t.b.y, t.c.y}), ymax = std::max({t.a.y, t.b.y, t.c.y});
    const double eps = ON_LINE * std::max(xmax - xmin, ymax - ymin);
    if (!(eps > 0)) return false;
    const ClipPoint corners[] = {t.a, t.b, t.c};
    std::vector<Piece> pieces;  // empty until the first cut
    Piece left, right;
    forEachNear(xmin, xmax, ymin, ymax, [&](const Side& s) {
        const Line l{s.p, s.ux, s.uy, s.length};
        if (pieces.empty()) {
            // Most sides near a triangle run along its edges or reach it only with their
            // lines: seen at once from its corners' sides.
            const int sa = sideOf(l.distance(t.a), eps), sb = sideOf(l.distance(t.b), eps),
                      sc = sideOf(l.distance(t.c), eps);
            if (std::max({sa, sb, sc}) < 1 || std::min({sa, sb, sc}) > -1) return;
            if (cut(corners, 3, l, eps, left, right)) pieces = {left, right};
            return;
        }
        const std::size_t n = pieces.size();  // the halves made by this side stay whole
        for (std::size_t i = 0; i < n; ++i) {
            if (!cut(pieces[i].data(), pieces[i].size(), l, eps, left, right)) continue;
            pieces[i] = left;
            pieces.push_back(right);
        }
    });
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
