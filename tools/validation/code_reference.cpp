#include "code_reference.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qav::validation {

namespace {

constexpr double STEEL_E = 200000;

double strainAt(const Plane& a, const Pt& p) {
    return a[0] + a[1] * p.x + a[2] * p.y;
}

// Area and first moments of a polygon (shoelace), signed by its sense.
Forces areaMoments(const Polygon& poly) {
    Forces f;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const Pt& p = poly[i];
        const Pt& q = poly[(i + 1) % poly.size()];
        const double cross = p.x * q.y - q.x * p.y;
        f.N += cross / 2;
        f.MX += (p.x + q.x) * cross / 6;
        f.MY += (p.y + q.y) * cross / 6;
    }
    return f;
}

// K_k = int_0^1 u(t)^n t^k dt, u(t) = u0 + t (u1 - u0), u in [0, 1]. In closed form through
// u^(n+j+1) / (n+j+1); where u barely varies that form cancels, and the integrand is so close to
// a polynomial there that 16-point Gauss-Legendre is exact to rounding.
double powerMoment(double u0, double u1, double n, int k) {
    const double d = u1 - u0;
    if (std::fabs(d) < 1e-2) {
        static const double X[8] = {0.0950125098376374, 0.2816035507792589, 0.4580167776572274,
                                    0.6178762444026438, 0.7554044083550030, 0.8656312023878318,
                                    0.9445750230732326, 0.9894009349916499};
        static const double W[8] = {0.1894506104550685, 0.1826034150449236, 0.1691565193950025,
                                    0.1495959888165767, 0.1246289712555339, 0.0951585116824928,
                                    0.0622535239386479, 0.0271524594117541};
        double s = 0;
        for (int i = 0; i < 8; ++i)
            for (const double sg : {-1.0, 1.0}) {
                const double t = 0.5 + 0.5 * sg * X[i];
                s += 0.5 * W[i] * std::pow(std::max(u0 + t * d, 0.0), n) * std::pow(t, k);
            }
        return s;
    }
    // (u - u0)^k expanded: sum_j C(k, j) u^j (-u0)^(k-j).
    static const double C[3][3] = {{1, 0, 0}, {1, 1, 0}, {1, 2, 1}};
    double s = 0;
    for (int j = 0; j <= k; ++j) {
        const double p = n + j + 1;
        const double integral =
            (std::pow(std::max(u1, 0.0), p) - std::pow(std::max(u0, 0.0), p)) / p;
        s += C[k][j] * std::pow(-u0, k - j) * integral;
    }
    return s / std::pow(d, k + 1);
}

// Forces of the parabola over a triangle with apex a and edge (p, q) of one strain, all its
// strains within [0, epsC2]; sign +1 or -1 for the sense of the triangle it came from. With
// x = a + t (m - a) + ..., dA = 2 |T| t dt dr, the integrals reduce to int f(t) t^k dt.
void levelTriangle(const Pt& a, const Pt& p, const Pt& q, double ea, double ee, double fcd,
                   double epsC2, double n, double sign, Forces& out) {
    const double area = 0.5 * std::fabs((p.x - a.x) * (q.y - a.y) - (q.x - a.x) * (p.y - a.y));
    if (area == 0) return;
    const double u0 = 1 - ea / epsC2, u1 = 1 - ee / epsC2;
    const double J1 = fcd * (0.5 - powerMoment(u0, u1, n, 1));
    const double J2 = fcd * (1.0 / 3 - powerMoment(u0, u1, n, 2));
    const Pt m{(p.x + q.x) / 2, (p.y + q.y) / 2};
    out.N += sign * 2 * area * J1;
    out.MX += sign * 2 * area * (a.x * J1 + (m.x - a.x) * J2);
    out.MY += sign * 2 * area * (a.y * J1 + (m.y - a.y) * J2);
}

// The parabola over one triangle of strains within [0, epsC2], cut at its middle strain into
// two triangles each with an edge of one strain.
void parabolaTriangle(Pt v[3], const Plane& plane, double fcd, double epsC2, double n,
                      Forces& out) {
    const double twice =
        (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[2].x - v[0].x) * (v[1].y - v[0].y);
    if (twice == 0) return;
    const double sign = twice > 0 ? 1 : -1;
    std::sort(v, v + 3,
              [&](const Pt& a, const Pt& b) { return strainAt(plane, a) < strainAt(plane, b); });
    const double e0 = strainAt(plane, v[0]), e1 = strainAt(plane, v[1]), e2 = strainAt(plane, v[2]);
    if (e2 == e0) {
        const double c = 1 - std::clamp(e0 / epsC2, 0.0, 1.0);
        const Forces am = areaMoments({v[0], v[1], v[2]});
        const double s = fcd * (1 - std::pow(c, n)) * (am.N < 0 ? -sign : sign);
        out.N += s * am.N;
        out.MX += s * am.MX;
        out.MY += s * am.MY;
        return;
    }
    const double u = (e1 - e0) / (e2 - e0);
    const Pt w{v[0].x + u * (v[2].x - v[0].x), v[0].y + u * (v[2].y - v[0].y)};
    levelTriangle(v[0], v[1], w, e0, e1, fcd, epsC2, n, sign, out);
    levelTriangle(v[2], v[1], w, e2, e1, fcd, epsC2, n, sign, out);
}

double parabolaStress(double fcd, double epsC2, double n, double e) {
    if (e <= 0) return 0;
    if (e >= epsC2) return fcd;
    return fcd * (1 - std::pow(1 - e / epsC2, n));
}

}  // namespace

Forces uniformForces(const Polygon& poly, const Plane& a, double t, double stress) {
    Forces f = areaMoments(clip(poly, a[0], a[1], a[2], t, +1));
    f.N *= stress;
    f.MX *= stress;
    f.MY *= stress;
    return f;
}

Forces parabolaRectangleForces(const Polygon& poly, const Plane& a, double fcd, double epsC2,
                               double n) {
    Forces f = uniformForces(poly, a, epsC2, fcd);
    const Polygon band = clip(clip(poly, a[0], a[1], a[2], 0, +1), a[0], a[1], a[2], epsC2, -1);
    for (std::size_t i = 1; i + 1 < band.size(); ++i) {
        Pt v[3] = {band[0], band[i], band[i + 1]};
        parabolaTriangle(v, a, fcd, epsC2, n, f);
    }
    return f;
}

CodePoint codePoint(const CodeSection& s, const CodeConcreteLaw& law, double dx, double dy,
                    double c) {
    // Heights along the direction: top the most compressed corner, h the section's depth.
    double top = -1e300, bottom = 1e300;
    for (const Polygon& p : s.concrete)
        for (const Pt& v : p) {
            top = std::max(top, dx * v.x + dy * v.y);
            bottom = std::min(bottom, dx * v.x + dy * v.y);
        }
    const double h = top - bottom;
    CodePoint r;
    r.topStrain = law.epsCu2;
    if (!law.block && c > h) {
        // The pivot: epsC2 at the depth (1 - epsC2/epsCu2) h, the strain at depth z being
        // top (c - z) / c.
        // At C90/105 the code's formulas put epsC2 a hair above epsCu2: the top then governs.
        const double z = (1 - law.epsC2 / law.epsCu2) * h;
        r.topStrain = std::min(law.epsCu2, law.epsC2 * c / (c - z));
    }
    // eps = top (1 - (top - d.p) / c)
    const double g = r.topStrain / c;
    r.plane = {r.topStrain - g * top, g * dx, g * dy};
    const double blockLevel = top - law.beta1 * c;  // the block's edge, as a height d.p
    const Plane height{0, dx, dy};
    auto concreteStress = [&](const Pt& p) {
        if (law.block) return dx * p.x + dy * p.y >= blockLevel ? law.fcd : 0.0;
        return parabolaStress(law.fcd, law.epsC2, law.n, strainAt(r.plane, p));
    };
    for (const Polygon& p : s.concrete) {
        const Forces f = law.block ? uniformForces(p, height, blockLevel, law.fcd)
                                   : parabolaRectangleForces(p, r.plane, law.fcd, law.epsC2, law.n);
        r.forces.N += f.N;
        r.forces.MX += f.MX;
        r.forces.MY += f.MY;
    }
    for (const CodeBar& b : s.bars) {
        const Pt p{b.x, b.y};
        const double e = strainAt(r.plane, p);
        const double steel = std::clamp(STEEL_E * e, -s.fy, s.fy);
        const double force = (steel - concreteStress(p)) * b.area;
        r.forces.N += force;
        r.forces.MX += force * b.x;
        r.forces.MY += force * b.y;
    }
    return r;
}

DesignPoint aciDesignPoint(const CodeSection& s, const CodePoint& nominal, double fc, bool spiral) {
    double epsT = -1e300, grossArea = 0, steelArea = 0;
    for (const CodeBar& b : s.bars) {
        epsT = std::max(epsT, -strainAt(nominal.plane, {b.x, b.y}));
        steelArea += b.area;
    }
    for (const Polygon& p : s.concrete) grossArea += areaMoments(p).N;
    const double epsTy = s.fy / STEEL_E;
    const double low = spiral ? 0.75 : 0.65;
    DesignPoint d;
    // Where between the two ends the strain lies, 0 to 1.
    const double along = std::clamp((epsT - epsTy) / 0.003, 0.0, 1.0);
    d.phi = low + (0.90 - low) * along;
    const double P0 = 0.85 * fc * (grossArea - steelArea) + s.fy * steelArea;
    d.forces.N = std::min(d.phi * nominal.forces.N, d.phi * (spiral ? 0.85 : 0.80) * P0);
    d.forces.MX = d.phi * nominal.forces.MX;
    d.forces.MY = d.phi * nominal.forces.MY;
    return d;
}

}  // namespace qav::validation
