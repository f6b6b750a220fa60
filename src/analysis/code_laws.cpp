#include "analysis/code_laws.h"

#include <algorithm>
#include <cmath>

namespace qav {

LawPoint parabolaRectangle(double fcd, double epsC2, double n, double eps) {
    LawPoint p;
    if (eps <= 0) return p;
    if (eps > epsC2) {
        p.stress = fcd;
        return p;
    }
    const double c = eps / epsC2;
    if (n == 2) {
        // The very expression of the program's own parabola, so the two agree bit for bit.
        p.stress = fcd * (2 * c - c * c);
        p.tangent = 2 * fcd * (1 - c) / epsC2;
    } else {
        const double u = 1 - c, un1 = std::pow(u, n - 1);  // one pow for both
        p.stress = fcd * (1 - u * un1);
        p.tangent = fcd * n * un1 / epsC2;
    }
    return p;
}

double bsPeakStrain(double fc) {
    return fc > 0 && std::isfinite(fc) ? 2.4e-4 * std::sqrt(fc / 0.67) : 0.0;
}

namespace {

double strainAt(const std::array<double, 3>& plane, const Point2& p) {
    return plane[0] + plane[1] * p.x + plane[2] * p.y;
}

Point2 between(const Point2& p, const Point2& q, double u) {
    return {p.x + u * (q.x - p.x), p.y + u * (q.y - p.y)};
}

// The derivative of the block's forces by the plane: the stress on the strip the edge sweeps,
// integrated along the edge's cut through the triangle (none where the edge misses it).
void blockEdgeDerivative(const Point2 cut[2], int nc, const std::array<double, 3>& plane,
                         double stress, std::array<std::array<double, 3>, 3>& d) {
    for (auto& row : d) row.fill(0);
    const double g = std::hypot(plane[1], plane[2]);
    if (nc != 2 || !(g > 0)) return;
    // Simpson's rule is exact for the quadratic integrands along the straight edge.
    const double len = std::hypot(cut[1].x - cut[0].x, cut[1].y - cut[0].y);
    const Point2 pts[3] = {cut[0], between(cut[0], cut[1], 0.5), cut[1]};
    const double w[3] = {1, 4, 1};
    for (int k = 0; k < 3; ++k) {
        const double h[3] = {1, pts[k].x, pts[k].y};
        const double scale = stress * len * w[k] / 6 / g;
        for (std::size_t r = 0; r < 3; ++r)
            for (std::size_t c = 0; c < 3; ++c) d[r][c] += scale * h[r] * h[c];
    }
}

}  // namespace

BlockForces blockForceOnTriangle(const std::array<Point2, 3>& corners,
                                 const std::array<double, 3>& plane, double epsCu, double beta1,
                                 double fc, std::array<std::array<double, 3>, 3>* derivative) {
    const double edge = blockEdgeStrain(epsCu, beta1);
    const double stress = 0.85 * fc;
    // The part at or above the edge strain (one cut of a convex polygon: at most four corners),
    // and the two points where the edge crosses the triangle.
    Point2 part[4];
    Point2 cut[2];
    int np = 0, nc = 0;
    for (int i = 0; i < 3; ++i) {
        const Point2& p = corners[static_cast<std::size_t>(i)];
        const Point2& q = corners[static_cast<std::size_t>((i + 1) % 3)];
        const double sp = strainAt(plane, p) - edge, sq = strainAt(plane, q) - edge;
        if (sp >= 0) part[np++] = p;
        if ((sp >= 0) != (sq >= 0)) {
            const Point2 c = between(p, q, sp / (sp - sq));
            part[np++] = c;
            if (nc < 2) cut[nc++] = c;
        }
    }
    // Area and first moments of the part (shoelace), positive whichever way the triangle runs.
    double A = 0, Sx = 0, Sy = 0;
    for (int i = 0; i < np; ++i) {
        const Point2& p = part[i];
        const Point2& q = part[(i + 1) % np];
        const double cross = p.x * q.y - q.x * p.y;
        A += cross;
        Sx += (p.x + q.x) * cross;
        Sy += (p.y + q.y) * cross;
    }
    const double orient =
        (corners[1].x - corners[0].x) * (corners[2].y - corners[0].y) -
                    (corners[2].x - corners[0].x) * (corners[1].y - corners[0].y) <
                0
            ? -1.0
            : 1.0;
    BlockForces f;
    f.N = orient * stress * A / 2;
    f.MX = orient * stress * Sx / 6;
    f.MY = orient * stress * Sy / 6;

    if (derivative) blockEdgeDerivative(cut, nc, plane, stress, *derivative);
    return f;
}

double aciPhi(double epsT, double epsTy, Ties ties) {
    const double low = ties == Ties::Tied ? 0.65 : 0.75;
    if (!(epsT > epsTy)) return low;  // compression-controlled (and a strain that is no number)
    if (epsT >= epsTy + 0.003) return 0.90;
    return low + (0.90 - low) * (epsT - epsTy) / 0.003;
}

double aciP0(double fc, double grossArea, double steelArea, double fy) {
    return 0.85 * fc * (grossArea - steelArea) + fy * steelArea;
}

double aciPnMax(double P0, Ties ties) {
    return (ties == Ties::Tied ? 0.80 : 0.85) * P0;
}

namespace {

std::array<double, 3> rowOf(const LimitPoint& p) {
    return {1, p.x, p.y};
}

// The candidate c where it has a positive factor below lim's (the smallest factor governs).
void keepSmaller(Limit& lim, const Limit& c) {
    if (!std::isfinite(c.factor) || !(c.factor > 0)) return;
    if (lim.ok() && !(c.factor < lim.factor)) return;
    lim = c;
}

// The pivot: epsC2 at the depth (1 - epsC2/epsCu2) h from the most compressed face (top, at the
// strain emax; the opposite face bottom at emin).
void keepPivot(Limit& lim, const LimitPoint& top, const LimitPoint& bottom, std::size_t itop,
               double emax, double emin) {
    if (!(top.epsC2 > 0 && top.epsCu > top.epsC2)) return;
    const double k = 1 - top.epsC2 / top.epsCu;
    const double eC = emax - k * (emax - emin);
    if (!(eC > 0)) return;
    std::array<double, 3> row{};
    for (std::size_t j = 0; j < 3; ++j) row[j] = (1 - k) * rowOf(top)[j] + k * rowOf(bottom)[j];
    keepSmaller(lim, Limit{LimitKind::Pivot, top.epsC2 / eC, row, top.epsC2, itop});
}

}  // namespace

Limit codeLimitScale(const std::vector<LimitPoint>& points, const std::array<double, 3>& plane,
                     double tensionStrain) {
    Limit lim;
    if (points.empty()) return lim;
    auto strain = [&](std::size_t i) {
        return plane[0] + plane[1] * points[i].x + plane[2] * points[i].y;
    };
    std::size_t imax = 0, imin = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (strain(i) > strain(imax)) imax = i;
        if (strain(i) < strain(imin)) imin = i;
    }
    const double emax = strain(imax), emin = strain(imin);
    if (emax > 0) {
        // Each compressed point at its own grade's ultimate strain: the smallest factor governs.
        for (std::size_t i = 0; i < points.size(); ++i) {
            const double e = strain(i);
            if (e > 0 && points[i].epsCu > 0)
                keepSmaller(lim, Limit{LimitKind::Crushing, points[i].epsCu / e, rowOf(points[i]),
                                       points[i].epsCu, i});
        }
        keepPivot(lim, points[imax], points[imin], imax, emax, emin);
    } else if (emin < 0) {
        keepSmaller(lim, Limit{LimitKind::Tension, tensionStrain / -emin, rowOf(points[imin]),
                               -tensionStrain, imin});
    }
    return lim;
}

}  // namespace qav
