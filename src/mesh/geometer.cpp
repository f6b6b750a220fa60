#include "mesh/geometer.h"

#include <algorithm>
#include <cmath>

namespace qav::Geometer {

namespace {
int sign(double v) {
    return (v > 0) - (v < 0);
}

// Only the sign of a product of two cross products matters. Against the far ray end the
// factors reach 1e200 times a coordinate, so the product itself could overflow or underflow;
// comparing signs gives the exact answer in every case.
bool productNotNegative(double a, double b) {
    return sign(a) * sign(b) >= 0;
}
}  // namespace

double CrossProduct(const TGPointF& a, const TGPointF& b, const TGPointF& o) {
    const double first = (a.x - o.x) * (b.y - o.y);
    const double second = (b.x - o.x) * (a.y - o.y);
    return first - second;
}

bool PointOnSegment(const TGSegment& s, const TGPointF& p) {
    if (CrossProduct(s.P2, p, s.P1) != 0) return false;
    if (!productNotNegative(-(p.x - s.P1.x), p.x - s.P2.x)) return false;
    return productNotNegative(-(p.y - s.P1.y), p.y - s.P2.y);
}

bool SegmentsIntersect(const TGSegment& a, const TGSegment& b) {
    if (!(std::max(a.P1.x, a.P2.x) >= std::min(b.P1.x, b.P2.x))) return false;
    if (!(std::max(b.P1.x, b.P2.x) >= std::min(a.P1.x, a.P2.x))) return false;
    if (!(std::max(a.P1.y, a.P2.y) >= std::min(b.P1.y, b.P2.y))) return false;
    if (!(std::max(b.P1.y, b.P2.y) >= std::min(a.P1.y, a.P2.y))) return false;
    if (!productNotNegative(CrossProduct(b.P1, a.P2, a.P1), CrossProduct(a.P2, b.P2, a.P1)))
        return false;
    return productNotNegative(CrossProduct(a.P1, b.P2, b.P1), CrossProduct(b.P2, a.P2, b.P1));
}

bool SegmentsCross(const TGSegment& a, const TGSegment& b) {
    return SegmentsIntersect(a, b) && !PointOnSegment(a, b.P1) && !PointOnSegment(a, b.P2) &&
           !PointOnSegment(b, a.P2) && !PointOnSegment(b, a.P1);
}

int RayEdgeCount(const TGSegment& ray, const TGSegment& edge, const TGPointF& p) {
    if (PointOnSegment(edge, p)) return -1;
    int count = SegmentsCross(ray, edge) ? 1 : 0;
    const bool firstOnRay = PointOnSegment(ray, edge.P1);
    const bool secondOnRay = PointOnSegment(ray, edge.P2);
    // A ray through a corner counts once where the outline passes through it, twice at a
    // local top and never at a local bottom.
    if (firstOnRay != secondOnRay) {
        const TGPointF& on = firstOnRay ? edge.P1 : edge.P2;
        const TGPointF& off = firstOnRay ? edge.P2 : edge.P1;
        if (on.y > off.y) ++count;
    }
    return count;
}

int PointInPolygon(const TGPointF* poly, int n, const TGPointF& p) {
    const TGSegment ray{p, {RAY_FAR_X, p.y}};
    int count = 0;
    for (int k = 0; k < n; ++k) {
        const int add = RayEdgeCount(ray, {poly[k], poly[(k + 1) % n]}, p);
        if (add < 0) return PIP_BOUNDARY;
        count += add;
    }
    return count % 2 == 1 ? PIP_INSIDE : PIP_OUTSIDE;
}

namespace {
// a + b exactly as hi + lo.
void twoSum(double a, double b, double& hi, double& lo) {
    hi = a + b;
    const double bv = hi - a, av = hi - bv;
    lo = (a - av) + (b - bv);
}
}  // namespace

int Orientation(const TGPointF& a, const TGPointF& b, const TGPointF& o) {
    // The rounded cross product decides when it is far from 0 against its rounding error
    // (the usual bound for this expression); only near-collinear points need the exact sum.
    const double left = (a.x - o.x) * (b.y - o.y), right = (b.x - o.x) * (a.y - o.y);
    const double det = left - right;
    const double bound = 4e-16 * (std::fabs(left) + std::fabs(right));
    if (det > bound || -det > bound) return sign(det);
    // Expanded, the cross product is a sum of six products of coordinates; each product is
    // exactly hi + lo (fma), and the twelve terms are summed into a non-overlapping expansion
    // whose largest term carries the sign.
    const double f[6][2] = {{a.x, b.y},  {-a.x, o.y}, {-o.x, b.y},
                            {-b.x, a.y}, {b.x, o.y},  {o.x, a.y}};
    double e[13];
    int n = 0;
    auto grow = [&](double v) {
        double q = v;
        int m = 0;
        for (int i = 0; i < n; ++i) {
            double hi, lo;
            twoSum(q, e[i], hi, lo);
            if (lo != 0) e[m++] = lo;
            q = hi;
        }
        if (q != 0) e[m++] = q;
        n = m;
    };
    for (const auto& t : f) {
        const double hi = t[0] * t[1];
        grow(std::fma(t[0], t[1], -hi));
        grow(hi);
    }
    return n == 0 ? 0 : sign(e[n - 1]);
}

}  // namespace qav::Geometer
