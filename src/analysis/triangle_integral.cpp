#include "analysis/triangle_integral.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "analysis/lanes.h"

namespace qav {

namespace {

// Five Gauss-Legendre points on [0, 1], for a power of a nearly constant base.
constexpr double GL5_X[5] = {0.046910077030668004, 0.23076534494715845, 0.5, 0.76923465505284155,
                             0.95308992296933200};
constexpr double GL5_W[5] = {0.11846344252809454, 0.23931433524968324, 0.28444444444444444,
                             0.23931433524968324, 0.11846344252809454};

// The integrals along a piece of triangle that the forces and the tangent need: with s the
// distance from the apex (0) to the base (1) and f the law along it,
// J[k] = int f s^(k+1) ds (k = 0, 1) and T[k] = int f' s^(k+1) ds (k = 0, 1, 2).
struct Moments {
    double J[2] = {0, 0};
    double T[3] = {0, 0, 0};
};

// int_{s1}^{s2} s^m ds, for m = 1 or 2.
double monomial(double s1, double s2, int m) {
    return m == 1 ? (s2 * s2 - s1 * s1) / 2 : (s2 * s2 * s2 - s1 * s1 * s1) / 3;
}

// The integrals of s^(k+1) u^n (k = 0, 1) into J and of s^(k+1) u^(n-1) (k = 0, 1, 2) into T
// over [s1, s2], with u running linearly from u1 (at s1) to u2 (at s2), both >= 0. Where u
// changes by much, in closed form: with s = a + b u each integrand is a polynomial in u times a
// power of u, whose powers u^(n+q) follow from one pow per end. Where it changes little, u^n is
// smooth and five Gauss points are exact to far below rounding; so is a piece of no length.
void powerMoments(double s1, double s2, double u1, double u2, double n, bool tangent, double J[2],
                  double T[3]) {
    const double du = u2 - u1, h = s2 - s1;
    if (!(std::fabs(du) > 0.05 * std::max(u1, u2))) {
        for (int i = 0; i < 5; ++i) {
            const double s = s1 + GL5_X[i] * h, u = u1 + GL5_X[i] * du;
            const double un1 = std::pow(u, n - 1), w = GL5_W[i] * h * s;
            J[0] += w * un1 * u;
            J[1] += w * s * un1 * u;
            if (tangent) {
                T[0] += w * un1;
                T[1] += w * s * un1;
                T[2] += w * s * s * un1;
            }
        }
        return;
    }
    const double b = h / du, a = s1 - b * u1;
    // d[q] = (u2^(n+q) - u1^(n+q)) / (n + q), q = 0 .. 3.
    double d[4];
    double w1 = std::pow(u1, n), w2 = std::pow(u2, n);
    for (int q = 0; q < 4; ++q) {
        d[q] = (w2 - w1) / (n + q);
        w1 *= u1;
        w2 *= u2;
    }
    // int s^m u^(n+e) ds = b sum_j C(m, j) a^(m-j) b^j d[j + e + 1], e = 0 or -1.
    auto moment = [&](int m, int e) {
        const double ap[4] = {1, a, a * a, a * a * a};
        double sum = 0, binom = 1, bp = 1;
        for (int j = 0; j <= m; ++j) {
            sum += binom * ap[m - j] * bp * d[j + e + 1];
            binom = binom * (m - j) / (j + 1);
            bp *= b;
        }
        return b * sum;
    };
    J[0] += moment(1, 0);
    J[1] += moment(2, 0);
    if (tangent) {
        T[0] += moment(1, -1);
        T[1] += moment(2, -1);
        T[2] += moment(3, -1);
    }
}

// Adds to mo the piece [s1, s2] of strain e(s) = ea + s de, where the parabola of exponent n
// is one smooth piece: nothing in tension, the plateau, or fc (1 - u^n) with u = 1 - eps / eps0
// and slope fc n u^(n-1) / eps0.
void addPiece(const TriangleLaw& law, double ea, double de, double s1, double s2, bool tangent,
              Moments& mo) {
    const double em = ea + 0.5 * (s1 + s2) * de;
    if (em <= 0) return;
    if (em >= law.eps0) {
        for (int k = 0; k < 2; ++k) mo.J[k] += law.fc * monomial(s1, s2, k + 1);
        return;
    }
    const double u1 = std::max(0.0, 1 - (ea + s1 * de) / law.eps0);
    const double u2 = std::max(0.0, 1 - (ea + s2 * de) / law.eps0);
    double J[2] = {0, 0}, T[3] = {0, 0, 0};
    powerMoments(s1, s2, u1, u2, law.n, tangent, J, T);
    for (int k = 0; k < 2; ++k) mo.J[k] += law.fc * (monomial(s1, s2, k + 1) - J[k]);
    if (tangent)
        for (int k = 0; k < 3; ++k) mo.T[k] += law.fc * law.n / law.eps0 * T[k];
}

// The parabola of non-integer exponent over the triangle of apex a (strain ea) and base b-c
// (strain eb): s runs from the apex to the base, r along the lines of equal strain,
// x = a + s (b - a) + s r (c - b).
void addSubTriangle(const double a[2], const double b[2], const double c[2], double ea, double eb,
                    const TriangleLaw& law, bool tangent, TriangleIntegral& out) {
    const double d[2] = {b[0] - a[0], b[1] - a[1]};
    const double w[2] = {c[0] - b[0], c[1] - b[1]};
    const double twiceArea = std::fabs(d[0] * w[1] - d[1] * w[0]);
    if (!(twiceArea > 0)) return;
    const double de = eb - ea;
    // The parabola's breakpoints (zero strain, eps0) where they fall inside, in order of s.
    double cuts[4] = {0, 0, 0, 0};
    int nc = 0;
    cuts[nc++] = 0;
    const double bps[2] = {0.0, law.eps0};
    if (de != 0) {
        double inside[2];
        int ni = 0;
        for (const double bp : bps) {
            const double s = (bp - ea) / de;
            if (s > 0 && s < 1) inside[ni++] = s;
        }
        if (ni == 2 && inside[1] < inside[0]) std::swap(inside[0], inside[1]);
        for (int i = 0; i < ni; ++i) cuts[nc++] = inside[i];
    }
    cuts[nc++] = 1;
    Moments mo;
    for (int i = 0; i + 1 < nc; ++i) addPiece(law, ea, de, cuts[i], cuts[i + 1], tangent, mo);

    // The mean of x over a line of equal strain is a + s (m - a), m the base's middle.
    const double mid[2] = {d[0] + 0.5 * w[0], d[1] + 0.5 * w[1]};
    out.N += twiceArea * mo.J[0];
    out.MX += twiceArea * (a[0] * mo.J[0] + mid[0] * mo.J[1]);
    out.MY += twiceArea * (a[1] * mo.J[0] + mid[1] * mo.J[1]);
    if (!tangent) return;
    // The means of x x, x y, y y over a line: p q + s (p dq + q dp + (p wq + q wp) / 2) +
    // s^2 (dp dq + (dp wq + dq wp) / 2 + wp wq / 3) for coordinates p, q.
    auto second = [&](int p, int q) {
        return twiceArea *
               (a[p] * a[q] * mo.T[0] +
                (a[p] * d[q] + a[q] * d[p] + 0.5 * (a[p] * w[q] + a[q] * w[p])) * mo.T[1] +
                (d[p] * d[q] + 0.5 * (d[p] * w[q] + d[q] * w[p]) + w[p] * w[q] / 3) * mo.T[2]);
    };
    out.k[0] += twiceArea * mo.T[0];
    out.k[1] += twiceArea * (a[0] * mo.T[0] + mid[0] * mo.T[1]);
    out.k[2] += twiceArea * (a[1] * mo.T[0] + mid[1] * mo.T[1]);
    out.k[3] += second(0, 0);
    out.k[4] += second(0, 1);
    out.k[5] += second(1, 1);
}

// Which piece of the law a triangle of corner strains lo..hi lies on wholly, if any.
enum class Piece { Zero, Plus, Minus, Polynomial, Cut };

Piece pieceOf(const TriangleLaw& law, double lo, double hi) {
    if (law.kind == TriangleLaw::Kind::Concrete) {
        if (hi <= 0) return Piece::Zero;
        if (lo >= law.eps0) return Piece::Plus;
        if (law.n == 2 && lo >= 0 && hi <= law.eps0) return Piece::Polynomial;
        return Piece::Cut;
    }
    if (lo >= law.eps0) return Piece::Plus;
    if (hi <= -law.eps0) return Piece::Minus;
    if (lo >= -law.eps0 && hi <= law.eps0) return Piece::Polynomial;
    return Piece::Cut;
}

// The forces and tangent of the law's polynomial piece (the parabola fc (2 r - r^2) with
// r = eps / eps0, or steel's line) over a region of the given moments, eps = a + b x + c y.
void addPolynomial(const TriangleMoments& m, const double plane[3], const TriangleLaw& law,
                   bool tangent, TriangleIntegral& out) {
    const double a = plane[0], b = plane[1], c = plane[2];
    // int eps h and int eps^2 h for h = 1, x, y; int h h^T and int eps h h^T.
    const double e1[3] = {a * m[0] + b * m[1] + c * m[2], a * m[1] + b * m[3] + c * m[4],
                          a * m[2] + b * m[4] + c * m[5]};
    const double hh[6] = {m[0], m[1], m[2], m[3], m[4], m[5]};
    const bool concrete = law.kind == TriangleLaw::Kind::Concrete;
    double f[3], k[6];
    if (concrete) {
        const double aa = a * a, ab = 2 * a * b, ac = 2 * a * c, bb = b * b, bc = 2 * b * c,
                     cc = c * c;
        const double e2[3] = {
            aa * m[0] + ab * m[1] + ac * m[2] + bb * m[3] + bc * m[4] + cc * m[5],
            aa * m[1] + ab * m[3] + ac * m[4] + bb * m[6] + bc * m[7] + cc * m[8],
            aa * m[2] + ab * m[4] + ac * m[5] + bb * m[7] + bc * m[8] + cc * m[9]};
        const double s1 = 2 * law.fc / law.eps0, s2 = law.fc / (law.eps0 * law.eps0);
        for (int i = 0; i < 3; ++i) f[i] = s1 * e1[i] - s2 * e2[i];
        if (tangent) {
            const double ehh[6] = {e1[0],
                                   e1[1],
                                   e1[2],
                                   a * m[3] + b * m[6] + c * m[7],
                                   a * m[4] + b * m[7] + c * m[8],
                                   a * m[5] + b * m[8] + c * m[9]};
            for (int i = 0; i < 6; ++i) k[i] = s1 * (hh[i] - ehh[i] / law.eps0);
        }
    } else {
        for (int i = 0; i < 3; ++i) f[i] = law.modulus * e1[i];
        if (tangent)
            for (int i = 0; i < 6; ++i) k[i] = law.modulus * hh[i];
    }
    out.N += f[0];
    out.MX += f[1];
    out.MY += f[2];
    if (tangent)
        for (std::size_t i = 0; i < 6; ++i) out.k[i] += k[static_cast<std::size_t>(i)];
}

// A constant stress over a region of the given area and first moments.
void addConstant(const TriangleMoments& m, double stress, TriangleIntegral& out) {
    out.N += stress * m[0];
    out.MX += stress * m[1];
    out.MY += stress * m[2];
}

// The parabola of non-integer exponent over a triangle (corner strains e) not wholly in tension
// or on the plateau: corners by strain; q on the edge from the least to the most strained at the
// middle one's strain splits the triangle into two whose strain varies from an apex to a base.
void addCutTriangle(const double c[6], const double e[3], const TriangleLaw& law, bool tangent,
                    TriangleIntegral& out) {
    int order[3] = {0, 1, 2};
    if (e[order[1]] < e[order[0]]) std::swap(order[0], order[1]);
    if (e[order[2]] < e[order[1]]) std::swap(order[1], order[2]);
    if (e[order[1]] < e[order[0]]) std::swap(order[0], order[1]);
    const double* p0 = c + 2 * order[0];
    const double* p1 = c + 2 * order[1];
    const double* p2 = c + 2 * order[2];
    const double e0 = e[order[0]], e1 = e[order[1]], e2 = e[order[2]];
    const double t = e2 > e0 ? (e1 - e0) / (e2 - e0) : 0.0;
    const double q[2] = {p0[0] + t * (p2[0] - p0[0]), p0[1] + t * (p2[1] - p0[1])};
    addSubTriangle(p0, p1, q, e0, e1, law, tangent, out);
    addSubTriangle(p2, p1, q, e2, e1, law, tangent, out);
}

// The part of a triangle where side (eps - t) >= 0, as whole x the triangle's moments +
// corner x the moments of the triangle about the corner alone on one side of the line (a line
// cuts a triangle into that and the rest): none (0, 0), all (1, 0), that triangle (0, 1) or the
// rest (1, -1).
struct Part {
    double whole = 0, corner = 0;
    TriangleMoments moments;  // the corner's triangle, set only where corner != 0
};

Part partBeyond(const double c[6], const double e[3], double t, double side) {
    const double d[3] = {side * (e[0] - t), side * (e[1] - t), side * (e[2] - t)};
    // Which corners lie beyond, as bits; the corner alone on its side for each mix.
    const int bits = (d[0] >= 0 ? 1 : 0) | (d[1] >= 0 ? 2 : 0) | (d[2] >= 0 ? 4 : 0);
    Part p;
    if (bits == 0 || bits == 7) {
        p.whole = bits == 7 ? 1 : 0;
        return p;
    }
    static constexpr int ALONE[8] = {0, 0, 1, 2, 2, 1, 0, 0};
    static constexpr double WHOLE[8] = {0, 0, 0, 1, 0, 1, 1, 0};  // two corners beyond: the rest
    static constexpr int NEXT[3] = {1, 2, 0};
    const int k = ALONE[bits], i = NEXT[k], j = NEXT[i];
    const double ui = d[k] / (d[k] - d[i]), uj = d[k] / (d[k] - d[j]);
    const double tri[6] = {c[2 * k],
                           c[2 * k + 1],
                           c[2 * k] + ui * (c[2 * i] - c[2 * k]),
                           c[2 * k + 1] + ui * (c[2 * i + 1] - c[2 * k + 1]),
                           c[2 * k] + uj * (c[2 * j] - c[2 * k]),
                           c[2 * k + 1] + uj * (c[2 * j + 1] - c[2 * k + 1])};
    p.whole = WHOLE[bits];
    p.corner = 1 - 2 * p.whole;
    p.moments = triangleMoments(tri);
    return p;
}

// Adds sign x the first count moments of a part (of a triangle of moments whole) to sum.
void addPart(const Part& p, const TriangleMoments& whole, double sign, std::size_t count,
             TriangleMoments& sum) {
    const double w = sign * p.whole, c = sign * p.corner;
    if (c == 0) {
        if (w != 0)
            for (std::size_t q = 0; q < count; ++q) sum[q] += w * whole[q];
        return;
    }
    for (std::size_t q = 0; q < count; ++q) sum[q] += w * whole[q] + c * p.moments[q];
}

// A triangle (corner strains e) that a polynomial law's breakpoints cut: its parts on each
// piece add their moments to that piece's sums. Concrete: the plateau beyond eps0, the parabola
// between zero and eps0; steel: yielded beyond +-ey, the line between.
void addCutMoments(const double c[6], const double e[3], const TriangleMoments& whole,
                   const TriangleLaw& law, TriangleMoments& poly, TriangleMoments& plus,
                   TriangleMoments& minus) {
    const Part top = partBeyond(c, e, law.eps0, 1);
    addPart(top, whole, 1, 3, plus);
    addPart(top, whole, -1, 10, poly);
    if (law.kind == TriangleLaw::Kind::Concrete) {
        addPart(partBeyond(c, e, 0, 1), whole, 1, 10, poly);
        return;
    }
    const Part bottom = partBeyond(c, e, -law.eps0, -1);
    addPart(bottom, whole, 1, 3, minus);
    addPart(bottom, whole, -1, 10, poly);
    for (std::size_t q = 0; q < 10; ++q) poly[q] += whole[q];
}

}  // namespace

TriangleMoments triangleMoments(const double c[6]) {
    const double A = 0.5 * std::fabs((c[2] - c[0]) * (c[5] - c[1]) - (c[4] - c[0]) * (c[3] - c[1]));
    double X = 0, Y = 0, xx = 0, xy = 0, yy = 0, xxx = 0, xxy = 0, xyy = 0, yyy = 0;
    for (int k = 0; k < 3; ++k) {
        const double x = c[2 * k], y = c[2 * k + 1];
        X += x;
        Y += y;
        xx += x * x;
        xy += x * y;
        yy += y * y;
        xxx += x * x * x;
        xxy += x * x * y;
        xyy += x * y * y;
        yyy += y * y * y;
    }
    // With corner sums U, V of linear functions u, v: int u v = A (U V + sum u v) / 12 and
    // int u^2 v = A (U^2 V + V sum u^2 + 2 U sum u v + 2 sum u^2 v) / 60.
    const double a12 = A / 12, a60 = A / 60;
    return {A,
            A * X / 3,
            A * Y / 3,
            a12 * (X * X + xx),
            a12 * (X * Y + xy),
            a12 * (Y * Y + yy),
            a60 * (X * X * X + 3 * X * xx + 2 * xxx),
            a60 * (X * X * Y + Y * xx + 2 * X * xy + 2 * xxy),
            a60 * (Y * Y * X + X * yy + 2 * Y * xy + 2 * xyy),
            a60 * (Y * Y * Y + 3 * Y * yy + 2 * yyy)};
}

namespace {

// What the triangles wholly on one piece of the law add up before the law is applied: the
// moments of those on the polynomial piece and the areas and first moments of those on either
// constant one.
struct PieceSums {
    TriangleMoments poly{}, plus{}, minus{};
};

// A triangle (corner strains e) a breakpoint of the law cuts: its parts into the sums where the
// law is a polynomial on each piece, else integrated into out.
void addCut(const double c[6], const double e[3], const TriangleMoments& m, const TriangleLaw& law,
            bool tangent, PieceSums& sums, TriangleIntegral& out) {
    if (law.kind == TriangleLaw::Kind::Steel || law.n == 2)
        addCutMoments(c, e, m, law, sums.poly, sums.plus, sums.minus);
    else
        addCutTriangle(c, e, law, tangent, out);
}

// One triangle (corners c, moments m) into the sums, or, cut by a breakpoint of a law that is
// no polynomial there, integrated into out.
void addTriangle(const double c[6], const TriangleMoments& m, const double plane[3],
                 const TriangleLaw& law, bool tangent, PieceSums& sums, TriangleIntegral& out) {
    double e[3];
    for (int k = 0; k < 3; ++k) e[k] = plane[0] + plane[1] * c[2 * k] + plane[2] * c[2 * k + 1];
    const double lo = std::min({e[0], e[1], e[2]}), hi = std::max({e[0], e[1], e[2]});
    switch (pieceOf(law, lo, hi)) {
        case Piece::Zero:
            break;
        case Piece::Plus:
            for (std::size_t i = 0; i < 3; ++i) sums.plus[i] += m[i];
            break;
        case Piece::Minus:
            for (std::size_t i = 0; i < 3; ++i) sums.minus[i] += m[i];
            break;
        case Piece::Polynomial:
            for (std::size_t i = 0; i < 10; ++i) sums.poly[i] += m[i];
            break;
        case Piece::Cut:
            addCut(c, e, m, law, tangent, sums, out);
            break;
    }
}

TriangleIntegral applyLaw(const PieceSums& sums, const double plane[3], const TriangleLaw& law,
                          bool tangent, TriangleIntegral out) {
    addConstant(sums.plus, law.fc, out);
    addConstant(sums.minus, -law.fc, out);
    if (sums.poly[0] != 0) addPolynomial(sums.poly, plane, law, tangent, out);
    return out;
}

using lanes::load4;
using lanes::splat;
using lanes::V4;
using lanes::V4Mask;

// The pieces of a law as four lanes test them: concrete [0, eps0] (a polynomial only for
// n = 2) with nothing below, steel [-ey, ey] with the yield stress on either side.
struct LaneLaw {
    bool concrete;
    V4 low, high;
    V4Mask polyLaw;
    explicit LaneLaw(const TriangleLaw& law)
        : concrete(law.kind == TriangleLaw::Kind::Concrete),
          low(splat(concrete ? 0.0 : -law.eps0)),
          high(splat(law.eps0)),
          polyLaw(concrete && law.n != 2 ? V4Mask{0, 0, 0, 0} : V4Mask{-1, -1, -1, -1}) {}
};

// Each lane's piece from its corner strains e, as pieceOf says it (a triangle at one strain on
// a bound is on the constant piece): Minus is concrete's tension (nothing) or steel's yield.
struct LanePieces {
    V4Mask plus, minus, poly, cut;
};

LanePieces lanePieces(const V4 e[3], const LaneLaw& law) {
    const V4 lo01 = e[0] < e[1] ? e[0] : e[1], hi01 = e[0] < e[1] ? e[1] : e[0];
    const V4 lo = lo01 < e[2] ? lo01 : e[2], hi = hi01 < e[2] ? e[2] : hi01;
    LanePieces p;
    p.plus = lo >= law.high;
    p.minus = law.concrete ? hi <= law.low : hi <= -law.high;
    p.poly = law.polyLaw & (lo >= law.low) & (hi <= law.high) & ~p.plus & ~p.minus;
    p.cut = ~(p.plus | p.minus | p.poly);
    return p;
}

// The lanes' own sums of each piece's moments, added up in a fixed order at the end.
struct LaneSums {
    V4 plus[3] = {}, minus[3] = {}, poly[10] = {};
    void addTo(PieceSums& sums) const {
        for (std::size_t q = 0; q < 3; ++q) {
            sums.plus[q] += lanes::laneTotal(plus[q]);
            sums.minus[q] += lanes::laneTotal(minus[q]);
        }
        for (std::size_t q = 0; q < 10; ++q) sums.poly[q] += lanes::laneTotal(poly[q]);
    }
};

void addLanes(const TriangleArrays& t, std::size_t j, const LanePieces& p, bool steel,
              LaneSums& s) {
    const V4 zero = splat(0);
    for (std::size_t q = 0; q < 3; ++q) {
        const V4 m = load4(t.moment[q].data() + j);
        s.plus[q] += p.plus ? m : zero;
        if (steel) s.minus[q] += p.minus ? m : zero;
    }
    for (std::size_t q = 0; q < 10; ++q) s.poly[q] += p.poly ? load4(t.moment[q].data() + j) : zero;
}

// The triangles [begin, end) four at a time: each lane's corner strains put it on a piece of
// the law, and the lanes add their moments to that piece's sums without a branch; a triangle
// a breakpoint cuts goes its own way. Returns where the blocks of four ended.
QAVSEC_LANES_CLONES std::size_t addBlocks(const TriangleArrays& t, std::size_t begin,
                                          std::size_t end, const double plane[3],
                                          const TriangleLaw& law, bool tangent, PieceSums& sums,
                                          TriangleIntegral& out) {
    const V4 a = splat(plane[0]), b = splat(plane[1]), c = splat(plane[2]);
    const LaneLaw lanesLaw(law);
    LaneSums lane;
    std::size_t j = begin;
    for (; j + 4 <= end; j += 4) {
        V4 e[3];
        for (std::size_t k = 0; k < 3; ++k)
            e[k] = a + b * load4(t.corner[2 * k].data() + j) +
                   c * load4(t.corner[2 * k + 1].data() + j);
        const LanePieces p = lanePieces(e, lanesLaw);
        addLanes(t, j, p, !lanesLaw.concrete, lane);
        for (std::size_t l = 0; l < 4; ++l) {
            if (p.cut[l] == 0) continue;
            double corners[6];
            t.cornersOf(j + l, corners);
            const double strains[3] = {e[0][l], e[1][l], e[2][l]};
            addCut(corners, strains, t.momentsOf(j + l), law, tangent, sums, out);
        }
    }
    lane.addTo(sums);
    return j;
}

}  // namespace

void TriangleArrays::resize(std::size_t n) {
    for (auto& v : corner) v.assign(n, 0.0);
    for (auto& v : moment) v.assign(n, 0.0);
}

void TriangleArrays::set(std::size_t i, const double c[6]) {
    for (std::size_t k = 0; k < 6; ++k) corner[k][i] = c[k];
    const TriangleMoments m = triangleMoments(c);
    for (std::size_t q = 0; q < 10; ++q) moment[q][i] = m[q];
}

void TriangleArrays::cornersOf(std::size_t i, double c[6]) const {
    for (std::size_t k = 0; k < 6; ++k) c[k] = corner[k][i];
}

TriangleMoments TriangleArrays::momentsOf(std::size_t i) const {
    TriangleMoments m;
    for (std::size_t q = 0; q < 10; ++q) m[q] = moment[q][i];
    return m;
}

TriangleIntegral integrateTriangle(const double c[6], const double plane[3], const TriangleLaw& law,
                                   bool withTangent) {
    PieceSums sums;
    TriangleIntegral out;
    addTriangle(c, triangleMoments(c), plane, law, withTangent, sums, out);
    return applyLaw(sums, plane, law, withTangent, out);
}

TriangleIntegral integrateTriangles(const TriangleArrays& t, std::size_t begin, std::size_t end,
                                    const double plane[3], const TriangleLaw& law,
                                    bool withTangent) {
    // The triangles wholly on one piece of the law only add up their moments; the law is
    // applied to the sums once.
    PieceSums sums;
    TriangleIntegral out;
    for (std::size_t j = addBlocks(t, begin, end, plane, law, withTangent, sums, out); j < end;
         ++j) {
        double corners[6];
        t.cornersOf(j, corners);
        addTriangle(corners, t.momentsOf(j), plane, law, withTangent, sums, out);
    }
    return applyLaw(sums, plane, law, withTangent, out);
}

}  // namespace qav
