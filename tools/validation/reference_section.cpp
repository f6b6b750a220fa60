#include "reference_section.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace qav::validation {

Polygon clip(const Polygon& poly, double a1, double a2, double a3, double t, int keep) {
    Polygon out;
    const std::size_t n = poly.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Pt& p = poly[i];
        const Pt& q = poly[(i + 1) % n];
        const double sp = keep * (a1 + a2 * p.x + a3 * p.y - t);
        const double sq = keep * (a1 + a2 * q.x + a3 * q.y - t);
        if (sp >= 0) out.push_back(p);
        if ((sp >= 0) != (sq >= 0)) {
            const double u = sp / (sp - sq);
            out.push_back({p.x + u * (q.x - p.x), p.y + u * (q.y - p.y)});
        }
    }
    return out;
}

namespace {

constexpr double LIMIT = 0.005;     // the limit strain at the control points
constexpr double STEEL_E = 200000;  // the steel law's modulus

// Integral of f(x, y) x (1, x, y) over a polygon: signed triangles of a fan, each with a
// six-point rule exact for polynomials of degree four (the integrands here are at most cubic).
template <class F>
Forces integrate(const Polygon& poly, F f) {
    static const double A = 0.445948490915965, WA = 0.223381589678011;
    static const double B = 0.091576213509771, WB = 0.109951743655322;
    static const double bary[6][3] = {{A, A, 1 - 2 * A}, {A, 1 - 2 * A, A}, {1 - 2 * A, A, A},
                                      {B, B, 1 - 2 * B}, {B, 1 - 2 * B, B}, {1 - 2 * B, B, B}};
    static const double w[6] = {WA, WA, WA, WB, WB, WB};
    Forces s;
    if (poly.size() < 3) return s;
    const Pt& o = poly[0];
    for (std::size_t i = 1; i + 1 < poly.size(); ++i) {
        const Pt& p = poly[i];
        const Pt& q = poly[i + 1];
        const double area = 0.5 * ((p.x - o.x) * (q.y - o.y) - (q.x - o.x) * (p.y - o.y));
        if (area == 0) continue;
        for (int k = 0; k < 6; ++k) {
            const double x = bary[k][0] * o.x + bary[k][1] * p.x + bary[k][2] * q.x;
            const double y = bary[k][0] * o.y + bary[k][1] * p.y + bary[k][2] * q.y;
            const double v = f(x, y) * w[k] * area;
            s.N += v;
            s.MX += v * x;
            s.MY += v * y;
        }
    }
    return s;
}

void add(Forces& s, const Forces& d, double sign) {
    s.N += sign * d.N;
    s.MX += sign * d.MX;
    s.MY += sign * d.MY;
}

// Forces of one law over one polygon, band by band of the law.
Forces zoneForces(const Zone& z, const Polygon& poly, double a1, double a2, double a3) {
    Forces s;
    if (z.concrete) {
        // Parabola between 0 and eps0, plateau above, nothing in tension.
        const Polygon rising = clip(clip(poly, a1, a2, a3, 0, +1), a1, a2, a3, z.eps0, -1);
        add(s,
            integrate(rising,
                      [&](double x, double y) {
                          const double c = (a1 + a2 * x + a3 * y) / z.eps0;
                          return z.fc * (2 * c - c * c);
                      }),
            1);
        add(s, integrate(clip(poly, a1, a2, a3, z.eps0, +1), [&](double, double) { return z.fc; }),
            1);
    } else {
        const double ey = z.fy / STEEL_E;
        const Polygon elastic = clip(clip(poly, a1, a2, a3, -ey, +1), a1, a2, a3, ey, -1);
        add(s,
            integrate(elastic,
                      [&](double x, double y) { return STEEL_E * (a1 + a2 * x + a3 * y); }),
            1);
        add(s, integrate(clip(poly, a1, a2, a3, ey, +1), [&](double, double) { return z.fy; }), 1);
        add(s, integrate(clip(poly, a1, a2, a3, -ey, -1), [&](double, double) { return -z.fy; }),
            1);
    }
    return s;
}

double steelStress(double fy, double e) {
    const double ey = fy / STEEL_E;
    return e >= -ey && e <= ey ? STEEL_E * e : (e > 0 ? fy : -fy);
}

const TMAT& grade(const std::vector<TMAT>& table, int index) {
    const std::size_t k = static_cast<std::size_t>(index + 1);
    if (k >= table.size()) throw std::runtime_error("a grade outside its table");
    return table[k];
}

double det3(const double m[3][3]) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

}  // namespace

Polygon polygonOf(const std::vector<TPOS>& pts, int n, double cx, double cy) {
    Polygon p;
    for (int i = 0; i < n && static_cast<std::size_t>(i) < pts.size(); ++i)
        p.push_back(
            {pts[static_cast<std::size_t>(i)].X - cx, pts[static_cast<std::size_t>(i)].Y - cy});
    // Counter-clockwise, so that its integrals come out positive whatever way it was drawn.
    double twiceArea = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const Pt& a = p[i];
        const Pt& b = p[(i + 1) % p.size()];
        twiceArea += a.x * b.y - b.x * a.y;
    }
    if (twiceArea < 0) std::reverse(p.begin(), p.end());
    return p;
}

bool insidePolygon(const Polygon& poly, Pt p) {
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Pt &a = poly[i], &b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

ReferenceSection::ReferenceSection(const SectionModel& m) {
    const double cx = m.document.NCONC_PT != 0
                          ? m.document.CONC_CX
                          : (m.document.NSTEEL_SEC > 0 ? m.document.STEEL_CX : 0);
    const double cy = m.document.NCONC_PT != 0
                          ? m.document.CONC_CY
                          : (m.document.NSTEEL_SEC > 0 ? m.document.STEEL_CY : 0);
    if (m.document.NOPEN_SEC > 0)
        throw std::runtime_error("openings are not integrated by the reference");
    std::vector<Polygon> steel;
    for (int i = 1; i <= m.document.NSTEEL_SEC; ++i) {
        const TPOLYSHAPE& s = m.document.STEEL_SEC[static_cast<std::size_t>(i)];
        steel.push_back(polygonOf(s.PT, s.NPOINT, cx, cy));
    }
    const double steelFy = grade(m.document.STEEL_MAT, m.document.USE_STEEL).FY *
                           grade(m.document.STEEL_MAT, m.document.USE_STEEL).RF;
    const double rebarFy = grade(m.document.STEEL_MAT, m.document.USE_REBAR).FY *
                           grade(m.document.STEEL_MAT, m.document.USE_REBAR).RF;
    // Stiffness for the first direction of the search: E x (1, x, y) x (1, x, y) over the zones.
    double K[3][3] = {};
    auto addStiffness = [&](const Polygon& p, double E, int sign) {
        const Forces a = integrate(p, [](double, double) { return 1.0; });
        const Forces ax = integrate(p, [](double x, double) { return x; });
        const Forces ay = integrate(p, [](double, double y) { return y; });
        const double row[3][3] = {{a.N, a.MX, a.MY}, {ax.N, ax.MX, ax.MY}, {ay.N, ay.MX, ay.MY}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) K[r][c] += sign * E * row[r][c];
    };
    if (m.document.NCONC_PT > 0) {
        const Polygon outline = polygonOf(m.document.CONC_PT, m.document.NCONC_PT, cx, cy);
        const bool cover = m.document.NCOVER_PT > 0;
        const Polygon coreLine =
            cover ? polygonOf(m.document.COVER_PT, m.document.NCOVER_PT, cx, cy) : outline;
        const TMAT& core = grade(m.document.CONC_MAT, m.document.USE_CONC);
        Zone z{true, core.FC, core.EPS_0, 0, {{coreLine, +1}}};
        addStiffness(coreLine, core.EC, +1);
        for (const Polygon& s : steel) {
            for (const Pt& p : s)
                if (!insidePolygon(coreLine, p))
                    throw std::runtime_error("steel outside the core line");
            z.parts.push_back({s, -1});
            addStiffness(s, core.EC, -1);
        }
        zones_.push_back(z);
        if (cover) {
            const TMAT& c = grade(m.document.COVER_MAT, m.document.USE_COVER);
            zones_.push_back(Zone{true, c.FC, c.EPS_0, 0, {{outline, +1}, {coreLine, -1}}});
            addStiffness(outline, c.EC, +1);
            addStiffness(coreLine, c.EC, -1);
        }
    }
    if (!steel.empty()) {
        Zone z{false, 0, 0, steelFy, {}};
        for (const Polygon& s : steel) {
            z.parts.push_back({s, +1});
            addStiffness(s, 205000, +1);
        }
        zones_.push_back(z);
    }
    for (int i = 1; i <= m.document.NBAR; ++i) {
        const TBAR& b = m.document.BAR[static_cast<std::size_t>(i)];
        const PointBar pb{b.X - cx, b.Y - cy, 3.14 * b.DB * b.DB / 4, rebarFy};
        bars_.push_back(pb);
        const double g[3] = {1, pb.x, pb.y};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) K[r][c] += 205000 * pb.area * g[r] * g[c];
    }
    double lo = 1e300, hi = -1e300;
    for (int j = 1; j <= m.mesh.NCFIB; ++j) {
        const TCFIB& c = m.mesh.CFIB[static_cast<std::size_t>(j)];
        control_.push_back({c.X, c.Y});
        lo = std::min({lo, c.X, c.Y});
        hi = std::max({hi, c.X, c.Y});
    }
    if (control_.empty()) throw std::runtime_error("no control points");
    size_ = std::max(hi - lo, 1.0);
    const double d = det3(K);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            double minor[3][3];
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) minor[i][j] = (j == r) ? (i == c ? 1.0 : 0.0) : K[i][j];
            kinv_[r][c] = det3(minor) / d;  // Cramer: column r of the inverse
        }
}

Forces ReferenceSection::forces(double a1, double a2, double a3) const {
    Forces s;
    for (const Zone& z : zones_)
        for (const auto& [poly, sign] : z.parts) add(s, zoneForces(z, poly, a1, a2, a3), sign);
    for (const PointBar& b : bars_) {
        const double f = steelStress(b.fy, a1 + a2 * b.x + a3 * b.y) * b.area;
        s.N += f;
        s.MX += f * b.x;
        s.MY += f * b.y;
    }
    return s;
}

bool ReferenceSection::normalise(std::array<double, 3>& a, const Normalisation& n) const {
    double emax = 0, emin = 0;
    for (const Pt& c : control_) {
        const double e = a[0] + a[1] * c.x + a[2] * c.y;
        emax = std::max(emax, e);
        emin = std::min(emin, e);
    }
    double s = 1;
    switch (n.kind) {
        case Normalisation::Kind::Largest:
            if (!(emax > 0)) return false;
            s = n.strain / emax;
            break;
        case Normalisation::Kind::Tensile:
            if (emax > 0 || !(emin < 0)) return false;
            s = n.strain / emin;
            break;
        case Normalisation::Kind::Smaller:
            if (!(emax > 0 && emin < 0)) return false;
            s = std::max(LIMIT / emax, LIMIT / -emin);
            break;
    }
    for (double& v : a) v *= s;
    return true;
}

double ReferenceSection::capacity(double P, double MX, double MY, const Normalisation& norm,
                                  const std::array<double, 3>& start, double& angleError) const {
    const double D = size_;
    // Forces and moments on one footing: moments divided by the section's size.
    double L[3] = {1e3 * P, 1e6 * MX / D, 1e6 * MY / D};
    const double ln = std::sqrt(L[0] * L[0] + L[1] * L[1] + L[2] * L[2]);
    for (double& v : L) v /= ln;

    auto misfit = [&](const double w[3], double& mu) {
        std::array<double, 3> a{w[0], w[1] / D, w[2] / D};
        if (!normalise(a, norm)) return 2.0;
        const Forces f = forces(a[0], a[1], a[2]);
        const double F[3] = {f.N, f.MX / D, f.MY / D};
        const double fn = std::sqrt(F[0] * F[0] + F[1] * F[1] + F[2] * F[2]);
        if (!(fn > 0)) return 2.0;
        const double dot = (F[0] * L[0] + F[1] * L[1] + F[2] * L[2]);
        mu = dot / ln;
        return 1 - dot / fn;
    };

    // First direction: the plane given, or the elastic deformation under the load without one.
    double c[3] = {start[0], start[1] * D, start[2] * D};
    if (c[0] == 0 && c[1] == 0 && c[2] == 0) {
        const double LL[3] = {1e3 * P, 1e6 * MX, 1e6 * MY};
        for (int r = 0; r < 3; ++r)
            c[r] = kinv_[r][0] * LL[0] + kinv_[r][1] * LL[1] + kinv_[r][2] * LL[2];
        c[1] *= D;
        c[2] *= D;
    }

    double best = 3, mu = 0;
    for (const double start : {0.5, 0.1, 0.02, 0.004}) {
        // A chart of the sphere about c: c + s e1 + t e2.
        double cn = std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
        for (double& v : c) v /= cn;
        double e1[3] = {-c[1], c[0], 0};
        if (std::fabs(c[2]) > 0.9) e1[0] = 1, e1[1] = 0, e1[2] = 0;
        double d1 = e1[0] * c[0] + e1[1] * c[1] + e1[2] * c[2];
        for (int i = 0; i < 3; ++i) e1[i] -= d1 * c[i];
        const double n1 = std::sqrt(e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2]);
        for (double& v : e1) v /= n1;
        const double e2[3] = {c[1] * e1[2] - c[2] * e1[1], c[2] * e1[0] - c[0] * e1[2],
                              c[0] * e1[1] - c[1] * e1[0]};
        auto at = [&](double s, double t, double w[3]) {
            for (int i = 0; i < 3; ++i) w[i] = c[i] + s * e1[i] + t * e2[i];
        };
        // Nelder-Mead on (s, t).
        double S[3][2] = {{0, 0}, {start, 0}, {0, start}};
        double fS[3], muS[3];
        for (int k = 0; k < 3; ++k) {
            double w[3];
            at(S[k][0], S[k][1], w);
            fS[k] = misfit(w, muS[k]);
        }
        for (int it = 0; it < 3000; ++it) {
            int order[3] = {0, 1, 2};
            std::sort(order, order + 3, [&](int a, int b) { return fS[a] < fS[b]; });
            const int b = order[0], g = order[1], wst = order[2];
            const double span = std::fabs(S[g][0] - S[b][0]) + std::fabs(S[g][1] - S[b][1]) +
                                std::fabs(S[wst][0] - S[b][0]) + std::fabs(S[wst][1] - S[b][1]);
            if (span < 1e-15 || fS[b] < 1e-20) break;
            const double m0 = (S[b][0] + S[g][0]) / 2, m1 = (S[b][1] + S[g][1]) / 2;
            auto trial = [&](double k, double& f, double& mu2, double p[2]) {
                p[0] = m0 + k * (S[wst][0] - m0);
                p[1] = m1 + k * (S[wst][1] - m1);
                double w[3];
                at(p[0], p[1], w);
                f = misfit(w, mu2);
            };
            double pr[2], fr = 0, mr = 0;
            trial(-1, fr, mr, pr);
            if (fr < fS[b]) {
                double pe[2], fe = 0, me = 0;
                trial(-2, fe, me, pe);
                const bool e = fe < fr;
                S[wst][0] = e ? pe[0] : pr[0];
                S[wst][1] = e ? pe[1] : pr[1];
                fS[wst] = e ? fe : fr;
                muS[wst] = e ? me : mr;
            } else if (fr < fS[g]) {
                S[wst][0] = pr[0];
                S[wst][1] = pr[1];
                fS[wst] = fr;
                muS[wst] = mr;
            } else {
                double pc[2], fc = 0, mc = 0;
                trial(fr < fS[wst] ? -0.5 : 0.5, fc, mc, pc);
                if (fc < std::min(fr, fS[wst])) {
                    S[wst][0] = pc[0];
                    S[wst][1] = pc[1];
                    fS[wst] = fc;
                    muS[wst] = mc;
                } else {
                    for (const int k : {g, wst}) {
                        S[k][0] = (S[k][0] + S[b][0]) / 2;
                        S[k][1] = (S[k][1] + S[b][1]) / 2;
                        double w[3];
                        at(S[k][0], S[k][1], w);
                        fS[k] = misfit(w, muS[k]);
                    }
                }
            }
        }
        int b = 0;
        for (int k = 1; k < 3; ++k)
            if (fS[k] < fS[b]) b = k;
        if (fS[b] < best) {
            best = fS[b];
            mu = muS[b];
        }
        double w[3];
        at(S[b][0], S[b][1], w);
        for (int i = 0; i < 3; ++i) c[i] = w[i];
    }
    angleError = std::sqrt(2 * std::max(best, 0.0));
    return mu;
}

}  // namespace qav::validation
