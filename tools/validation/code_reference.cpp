#include "code_reference.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace qav::validation {

namespace {

constexpr double STEEL_E = 200000;
// The most stretched corner of a state with no concrete compressed: the program's own rule,
// which the codes (setting no steel limit) leave open.
constexpr double TENSION_STRAIN = -0.005;

// The share of the concrete a bar displaces that lies in the ACI 318 block: the bar's area taken
// as a square with two sides along the neutral axis, its centre at `beyond` mm past the block's
// edge (negative short of it), so that the bar leaves the block gradually as the edge passes.
double displacedBlockShare(double beyond, double area) {
    const double side = std::sqrt(std::fabs(area));
    if (!(side > 0)) return beyond >= 0 ? 1.0 : 0.0;
    return std::clamp(beyond / side + 0.5, 0.0, 1.0);
}

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

Forces scaled(Forces f, double stress) {
    f.N *= stress;
    f.MX *= stress;
    f.MY *= stress;
    return f;
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
    // A plane without gradient at the band's edge would lie in both bands.
    if (a[1] == 0 && a[2] == 0)
        return scaled(areaMoments(poly), parabolaStress(fcd, epsC2, n, a[0]));
    Forces f = uniformForces(poly, a, epsC2, fcd);
    // A polygon wholly at or beyond epsC2 (its strains equal there to the last bit, say) lies on
    // the plateau alone: the band's clip, which keeps its edge, would count it twice.
    double least = 1e300;
    for (const Pt& p : poly) least = std::min(least, strainAt(a, p));
    if (least >= epsC2) return f;
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
    auto concreteStress = [&](const Pt& p, double area) {
        if (law.block) return law.fcd * displacedBlockShare(dx * p.x + dy * p.y - blockLevel, area);
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
        const double force = (steel - concreteStress(p, b.area)) * b.area;
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

CodeConcreteLaw ec2LawOf(double fck, double alphaCC) {
    CodeConcreteLaw l;
    l.fcd = alphaCC * fck / 1.5;
    l.epsC2 = 0.002;
    l.epsCu2 = 0.0035;
    l.n = 2;
    if (fck > 50) {
        const double r = std::pow((90 - fck) / 100, 4);
        l.epsC2 = (2.0 + 0.085 * std::pow(fck - 50, 0.53)) / 1000;
        l.epsCu2 = (2.6 + 35 * r) / 1000;
        l.n = 1.4 + 23.4 * r;
    }
    l.beta1 = 0;
    return l;
}

CodeConcreteLaw aciLawOf(double fc) {
    CodeConcreteLaw l;
    l.block = true;
    l.fcd = 0.85 * fc;
    l.epsCu2 = 0.003;
    // 0.85 up to 28 MPa, 0.05 less for each 7 MPa above, 0.65 at least.
    l.beta1 = fc <= 28 ? 0.85 : std::max(0.65, 0.85 - 0.05 * (fc - 28) / 7);
    return l;
}

Forces linearForces(const Polygon& poly, const Plane& a, double E) {
    // Area, first and second moments by the shoelace sums.
    double A = 0, Sx = 0, Sy = 0, Ixx = 0, Ixy = 0, Iyy = 0;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const Pt& p = poly[i];
        const Pt& q = poly[(i + 1) % poly.size()];
        const double cr = p.x * q.y - q.x * p.y;
        A += cr / 2;
        Sx += (p.x + q.x) * cr / 6;
        Sy += (p.y + q.y) * cr / 6;
        Ixx += (p.x * p.x + p.x * q.x + q.x * q.x) * cr / 12;
        Iyy += (p.y * p.y + p.y * q.y + q.y * q.y) * cr / 12;
        Ixy += (p.x * q.y + 2 * p.x * p.y + 2 * q.x * q.y + q.x * p.y) * cr / 24;
    }
    return {E * (a[0] * A + a[1] * Sx + a[2] * Sy), E * (a[0] * Sx + a[1] * Ixx + a[2] * Ixy),
            E * (a[0] * Sy + a[1] * Ixy + a[2] * Iyy)};
}

namespace {

void addTo(Forces& s, const Forces& d, double sign = 1) {
    s.N += sign * d.N;
    s.MX += sign * d.MX;
    s.MY += sign * d.MY;
}

// Elastic-perfectly plastic steel over a polygon: the elastic band, and the two yielded parts.
Forces steelForces(const Polygon& poly, const Plane& a, double fy) {
    const double ey = fy / STEEL_E;
    if (a[1] == 0 && a[2] == 0)
        return scaled(areaMoments(poly), std::clamp(STEEL_E * a[0], -fy, fy));
    Forces f = linearForces(clip(clip(poly, a[0], a[1], a[2], -ey, +1), a[0], a[1], a[2], ey, -1),
                            a, STEEL_E);
    addTo(f, uniformForces(poly, a, ey, fy));
    addTo(f, uniformForces(poly, {-a[0], -a[1], -a[2]}, ey, -fy));
    return f;
}

const TMAT& gradeOf(const std::vector<TMAT>& table, int index) {
    const std::size_t k = static_cast<std::size_t>(index + 1);
    if (index < 0 || k >= table.size()) throw std::runtime_error("a grade outside its table");
    return table[k];
}

}  // namespace

CodeReference::CodeReference(const SectionModel& m)
    : code_(sectionCode(m)), ties_(m.document.TIES) {
    const SectionDocument& d = m.document;
    if (d.NCONC_PT == 0) throw std::runtime_error("the code reference needs a concrete outline");
    if (d.NOPEN_SEC > 0) throw std::runtime_error("openings are not integrated by the reference");
    const double cx = d.CONC_CX, cy = d.CONC_CY;
    auto lawOf = [&](const TMAT& g) {
        switch (code_) {
            case CodeId::Ec2:
                return ec2LawOf(g.FCU, d.ALPHA_CC);
            case CodeId::Aci318:
                return aciLawOf(g.FCU);
            case CodeId::Bs8110: {
                // BS 8110-1 Figure 2.1 from fcu / gamma_m = FC / 0.67.
                CodeConcreteLaw l;
                l.fcd = g.FC;
                l.epsC2 = 2.4e-4 * std::sqrt(g.FC / 0.67);
                l.epsCu2 = 0.0035;
                return l;
            }
            default: {
                CodeConcreteLaw l;
                l.fcd = g.FC;
                l.epsC2 = g.EPS_0;
                l.epsCu2 = g.EPS_CU;
                return l;
            }
        }
    };
    // Design yield stresses: EN 1992-1-1 by its partial factors, ACI 318 nominal, the program's
    // own tables by their reduction factor.
    const TMAT& rebar = gradeOf(d.STEEL_MAT, d.USE_REBAR);
    const TMAT& section = gradeOf(d.STEEL_MAT, d.USE_STEEL);
    const double rebarFy = code_ == CodeId::Ec2      ? rebar.FY / 1.15
                           : code_ == CodeId::Aci318 ? rebar.FY
                                                     : rebar.FY * rebar.RF;
    const double steelFy =
        code_ == CodeId::Ec2 || code_ == CodeId::Aci318 ? section.FY : section.FY * section.RF;
    std::vector<Polygon> steel;
    for (int i = 1; i <= d.NSTEEL_SEC; ++i) {
        const TPOLYSHAPE& p = d.STEEL_SEC[static_cast<std::size_t>(i)];
        steel.push_back(polygonOf(p.PT, p.NPOINT, cx, cy));
        steel_.push_back({steel.back(), steelFy});
    }
    const Polygon outline = polygonOf(d.CONC_PT, d.NCONC_PT, cx, cy);
    const bool cover = d.NCOVER_PT > 0;
    const Polygon coreLine = cover ? polygonOf(d.COVER_PT, d.NCOVER_PT, cx, cy) : outline;
    ConcreteZone core{{{coreLine, +1}}, lawOf(gradeOf(d.CONC_MAT, d.USE_CONC))};
    for (const Polygon& p : steel) core.parts.push_back({p, -1});
    zones_.push_back(core);
    if (cover)
        zones_.push_back(
            {{{outline, +1}, {coreLine, -1}}, lawOf(gradeOf(d.COVER_MAT, d.USE_COVER))});
    const bool pivot = code_ == CodeId::Ec2;
    for (const ConcreteZone& z : zones_)
        for (const Pt& p : z.parts.front().first)
            corners_.push_back({p.x, p.y, z.law.epsCu2, pivot ? z.law.epsC2 : 0});
    for (int i = 1; i <= d.NBAR; ++i) {
        const TBAR& b = d.BAR[static_cast<std::size_t>(i)];
        Bar bar{b.X - cx, b.Y - cy, 3.14 * b.DB * b.DB / 4, rebarFy, -1};
        bool inSteel = false;
        for (const Polygon& p : steel) inSteel = inSteel || insidePolygon(p, {bar.x, bar.y});
        if (!inSteel)  // at the code's limit every code takes the displaced concrete out
            bar.zone = insidePolygon(coreLine, {bar.x, bar.y}) ? 0
                       : insidePolygon(outline, {bar.x, bar.y})
                           ? static_cast<int>(zones_.size()) - 1
                           : -1;
        bars_.push_back(bar);
    }
    double lo = 1e300, hi = -1e300;
    for (const Pt& p : outline) {
        lo = std::min({lo, p.x, p.y});
        hi = std::max({hi, p.x, p.y});
    }
    size_ = std::max(hi - lo, 1.0) / 1000;
}

double CodeReference::concreteStress(const CodeConcreteLaw& law, double eps) const {
    if (law.block) return eps > 0 && eps >= (1 - law.beta1) * law.epsCu2 ? law.fcd : 0.0;
    return parabolaStress(law.fcd, law.epsC2, law.n, eps);
}

Forces CodeReference::forces(const Plane& a) const {
    Forces s;
    for (const ConcreteZone& z : zones_)
        for (const auto& [poly, sign] : z.parts)
            addTo(s,
                  z.law.block ? uniformForces(poly, a, (1 - z.law.beta1) * z.law.epsCu2, z.law.fcd)
                              : parabolaRectangleForces(poly, a, z.law.fcd, z.law.epsC2, z.law.n),
                  sign);
    for (const auto& [poly, fy] : steel_) addTo(s, steelForces(poly, a, fy));
    for (const Bar& b : bars_) {
        const double e = strainAt(a, {b.x, b.y});
        double stress = std::clamp(STEEL_E * e, -b.fy, b.fy);
        if (b.zone >= 0) {
            const CodeConcreteLaw& law = zones_[static_cast<std::size_t>(b.zone)].law;
            const double g = std::hypot(a[1], a[2]);
            // The block's share: by the bar's distance beyond the block's edge.
            stress -=
                law.block && g > 0
                    ? law.fcd * displacedBlockShare((e - (1 - law.beta1) * law.epsCu2) / g, b.area)
                    : concreteStress(law, e);
        }
        s.N += stress * b.area;
        s.MX += stress * b.area * b.x;
        s.MY += stress * b.area * b.y;
    }
    return s;
}

Plane CodeReference::limitPlane(double alpha, double c) const {
    const double dx = std::cos(alpha), dy = std::sin(alpha);
    double top = -1e300, bottom = 1e300;
    const Corner* first = nullptr;
    for (const Corner& k : corners_) {
        const double h = dx * k.x + dy * k.y;
        if (h > top) top = h, first = &k;
        bottom = std::min(bottom, h);
    }
    const double zero = top - c;  // the neutral axis as a height along (dx, dy)
    double g = 1e300;             // strain per mm of height
    for (const Corner& k : corners_) {
        const double h = dx * k.x + dy * k.y - zero;
        if (h > 0 && k.epsCu > 0) g = std::min(g, k.epsCu / h);
    }
    const double depth = top - bottom;
    if (first && first->epsC2 > 0 && c > depth) {
        // The pivot: epsC2 at (1 - epsC2 / epsCu2) h below the most compressed face.
        const double z = (1 - first->epsC2 / first->epsCu) * depth;
        g = std::min(g, first->epsC2 / (c - z));
    }
    return {-g * zero, g * dx, g * dy};
}

Plane CodeReference::tensionPlane(double alpha, double c) const {
    const double dx = std::cos(alpha), dy = std::sin(alpha);
    double top = -1e300, bottom = 1e300;
    for (const Corner& k : corners_) {
        top = std::max(top, dx * k.x + dy * k.y);
        bottom = std::min(bottom, dx * k.x + dy * k.y);
    }
    const double zero = top + c;
    const double g = -TENSION_STRAIN / (zero - bottom);  // the bottom at TENSION_STRAIN
    return {-g * zero, g * dx, g * dy};
}

Forces CodeReference::rayForces(double alpha, double u, bool tension, Plane& plane) const {
    double depth = 0;
    {
        double top = -1e300, bottom = 1e300;
        for (const Corner& k : corners_) {
            const double h = std::cos(alpha) * k.x + std::sin(alpha) * k.y;
            top = std::max(top, h);
            bottom = std::min(bottom, h);
        }
        depth = top - bottom;
    }
    const double c = depth * u / (1 - u);
    plane = tension ? tensionPlane(alpha, c) : limitPlane(alpha, c);
    return forces(plane);
}

CodeReference::OnRay CodeReference::along(double P, double MX, double MY, bool tension) const {
    const double D = size_;
    const double L[3] = {P, MX / D, MY / D};
    auto scaled = [&](const Forces& f) {
        return std::array<double, 3>{f.N / 1e3, f.MX / 1e6 / D, f.MY / 1e6 / D};
    };
    OnRay r;
    auto finish = [&](const Forces& f) {
        const auto F = scaled(f);
        const double ll = L[0] * L[0] + L[1] * L[1] + L[2] * L[2];
        const double fl = F[0] * L[0] + F[1] * L[1] + F[2] * L[2];
        r.factor = fl / ll;
        const double c0 = F[1] * L[2] - F[2] * L[1], c1 = F[2] * L[0] - F[0] * L[2],
                     c2 = F[0] * L[1] - F[1] * L[0];
        r.angleError = std::atan2(std::sqrt(c0 * c0 + c1 * c1 + c2 * c2), fl);
        return r;
    };
    if (MX == 0 && MY == 0) {
        if (P < 0) {
            r.plane = {-1, 0, 0};  // every steel fibre yielded, no concrete
            return finish(forces(r.plane));
        }
        // Uniform compression at the smallest strain a limit allows.
        double e = 1e300;
        for (const Corner& k : corners_) e = std::min(e, k.epsC2 > 0 ? k.epsC2 : k.epsCu);
        r.plane = {e, 0, 0};
        return finish(forces(r.plane));
    }
    const double beta = std::atan2(MY, MX), cb = std::cos(beta), sb = std::sin(beta);
    const double mL = std::hypot(MX, MY) / D;
    // For a direction of the axis: the depth whose force lies in the load's half-plane of the
    // (moment along the load, axial force) plane at the load's angle; bisection on the side of
    // the load the force falls.
    auto atDirection = [&](double alpha, Forces& f, Plane& plane) {
        // Which side of the load's ray the force falls on, across the family of depths.
        auto side = [&](double u) {
            const auto F = scaled(rayForces(alpha, u, tension, plane));
            return mL * F[0] - P * (F[1] * cb + F[2] * sb) < 0;
        };
        double lo = 1e-9, hi = 1 - 1e-12;
        const bool loSide = side(lo);
        for (int it = 0; it < 200 && hi - lo > 1e-15; ++it) {
            const double u = (lo + hi) / 2;
            (side(u) == loSide ? lo : hi) = u;
        }
        f = rayForces(alpha, (lo + hi) / 2, tension, plane);
        const auto F = scaled(f);
        return -F[1] * sb + F[2] * cb;  // the moment across the load's
    };
    Forces f;
    Plane plane{};
    const double at0 = atDirection(beta, f, plane);
    double lo = beta, hi = beta, flo = at0, fhi = at0;
    // The moment turns with the axis: find the bracket about the load's direction.
    const double step = 2.0 * std::acos(-1.0) / 180;
    for (int k = 1; k <= 40 && flo * fhi > 0 && at0 != 0; ++k) {
        Forces g;
        Plane q{};
        lo = beta - k * step;
        hi = beta + k * step;
        flo = atDirection(lo, g, q);
        fhi = atDirection(hi, g, q);
    }
    if (at0 != 0 && flo * fhi < 0) {
        for (int it = 0; it < 100 && hi - lo > 1e-13; ++it) {
            const double mid = (lo + hi) / 2;
            const double fm = atDirection(mid, f, plane);
            if ((fm < 0) == (flo < 0)) {
                lo = mid;
                flo = fm;
            } else {
                hi = mid;
            }
        }
        atDirection((lo + hi) / 2, f, plane);
    }
    r.plane = plane;
    return finish(f);
}

double CodeReference::phi(const Plane& plane) const {
    // With no concrete compressed the steel strain is bounded by nothing: the state is
    // tension-controlled whatever strain the rule above scales it to.
    bool compressed = false;
    for (const Corner& k : corners_) compressed = compressed || strainAt(plane, {k.x, k.y}) > 0;
    if (!compressed) return 0.90;
    double epsT = -1e300, fy = 0;
    for (const Bar& b : bars_) {
        const double t = -strainAt(plane, {b.x, b.y});
        if (t > epsT) epsT = t, fy = b.fy;
    }
    const double low = ties_ == Ties::Spiral ? 0.75 : 0.65;
    return low + (0.90 - low) * std::clamp((epsT - fy / STEEL_E) / 0.003, 0.0, 1.0);
}

double CodeReference::P0() const {
    double p = 0;
    for (const ConcreteZone& z : zones_)
        for (const auto& [poly, sign] : z.parts) p += sign * z.law.fcd * areaMoments(poly).N;
    for (const auto& [poly, fy] : steel_) p += fy * areaMoments(poly).N;
    for (const Bar& b : bars_)
        p += (b.fy - (b.zone >= 0 ? zones_[static_cast<std::size_t>(b.zone)].law.fcd : 0)) * b.area;
    return p;
}

Forces CodeReference::design(const Plane& plane) const {
    Forces f = forces(plane);
    if (code_ != CodeId::Aci318) return f;
    const double phi = this->phi(plane);
    const double cap = ties_ == Ties::Spiral ? 0.85 : 0.80;
    f.N = std::min(phi * f.N, phi * cap * P0());
    f.MX *= phi;
    f.MY *= phi;
    return f;
}

double CodeReference::designLoadFraction(double P, double MX, double MY, double& angleError,
                                         bool tension) const {
    const OnRay r = along(P, MX, MY, tension);
    angleError = r.angleError;
    if (code_ != CodeId::Aci318) return r.factor;
    const double phi = this->phi(r.plane);
    double lf = phi * r.factor;
    if (P > 0) lf = std::min(lf, phi * (ties_ == Ties::Spiral ? 0.85 : 0.80) * P0() / 1e3 / P);
    return lf;
}

}  // namespace qav::validation
