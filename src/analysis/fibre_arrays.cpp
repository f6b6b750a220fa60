#include "analysis/fibre_arrays.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <tuple>

#include "analysis/lanes.h"
#include "analysis/material_laws.h"
#include "analysis/triangle_integral.h"
#include "model/materials.h"
#include "model/tables.h"

namespace qav {

namespace {

struct Entry {
    int law;  // FibreLaw, in its order: the program's own two laws sort first, as they always did
    double p1, p2, p3;
    int displaced;
    int32_t fibre;
};

int lawKey(FibreLaw l) {
    return static_cast<int>(l);
}

// The entry of a concrete fibre (or of the concrete a bar displaces) of a grade's values.
Entry concreteEntry(double fc, double eps0, double epsCu, double n, double beta1, bool block,
                    bool exact, bool displaced, int32_t fibre) {
    const int d = displaced ? 1 : 0;
    if (block && beta1 > 0 && epsCu > 0)
        return {
            lawKey(displaced ? FibreLaw::BlockBar : FibreLaw::Block), fc, epsCu, beta1, d, fibre};
    if (exact) return {lawKey(FibreLaw::ParabolaExact), fc, eps0, n, d, fibre};
    if (n != 2) return {lawKey(FibreLaw::ParabolaN), fc, eps0, n, d, fibre};
    return {lawKey(FibreLaw::Parabola), fc, eps0, 0, d, fibre};
}

// The stress block over the part of a bar's own area (a square of that area across the strain
// gradient) that lies beyond the block's edge: a ramp in the bar's strain, so that the force
// stays continuous as the edge passes the bar. Returns the fraction in the block and, in
// slope, its derivative by the strain at the bar (0 off the ramp).
double blockFraction(double eps, double edge, double gradient, double side, double& slope) {
    slope = 0;
    const double w = gradient * side;
    if (!(w > 0)) return eps >= edge ? 1.0 : 0.0;
    const double r = (eps - edge) / w + 0.5;
    if (r <= 0) return 0;
    if (r >= 1) return 1;
    slope = 1 / w;
    return r;
}

// Forces (and with d, their derivative by the plane, left alone where the edge does not cross
// the triangle, for a derivative of zero) of the stress block over the triangle of corners c
// (x0, y0, x1, y1, x2, y2).
BlockForces blockOnCorners(const double* c, const FibreGroup& g, const double abc[3],
                           std::array<std::array<double, 3>, 3>* d) {
    // Most triangles lie wholly in the block or wholly out of it: no cut to make.
    const double edge = blockEdgeStrain(g.epsCu, g.beta1);
    int in = 0;
    for (int k = 0; k < 3; ++k) in += abc[0] + abc[1] * c[2 * k] + abc[2] * c[2 * k + 1] >= edge;
    if (in == 0 || in == 3) {
        // No derivative: the caller's stays as it was (zero).
        if (in == 0) return {};
        const double area =
            0.5 * std::fabs((c[2] - c[0]) * (c[5] - c[1]) - (c[4] - c[0]) * (c[3] - c[1]));
        const double N = g.fc * area;
        return {N, N * (c[0] + c[2] + c[4]) / 3, N * (c[1] + c[3] + c[5]) / 3};
    }
    const std::array<Point2, 3> tri{Point2{c[0], c[1]}, Point2{c[2], c[3]}, Point2{c[4], c[5]}};
    // The grade's FC is the block's stress, 0.85 f'c.
    return blockForceOnTriangle(tri, {abc[0], abc[1], abc[2]}, g.epsCu, g.beta1, g.fc / 0.85, d);
}

// Whether a group's fibres are triangles integrated over their corners.
bool onCorners(FibreLaw l) {
    return l == FibreLaw::Block || l == FibreLaw::ParabolaExact || l == FibreLaw::SteelExact;
}

// The law of an exact group as the triangles' integration takes it.
TriangleLaw triangleLaw(const FibreGroup& g) {
    if (g.law == FibreLaw::SteelExact)
        return {TriangleLaw::Kind::Steel, g.fy, g.fy / STEEL_LAW_MODULUS, 2, STEEL_LAW_MODULUS};
    return {TriangleLaw::Kind::Concrete, g.fc, g.eps0, g.n, 0};
}

// An exact group's forces (and tangent) over its triangles.
TriangleIntegral exactGroup(const FibreArrays& f, const FibreGroup& g, const double abc[3],
                            bool tangent) {
    return integrateTriangles(f.triangles, g.begin, g.end, abc, triangleLaw(g), tangent);
}

BlockForces triangleBlock(const FibreArrays& f, const FibreGroup& g, std::size_t j,
                          const double abc[3], std::array<std::array<double, 3>, 3>* d) {
    double c[6];
    f.triangles.cornersOf(j, c);
    return blockOnCorners(c, g, abc, d);
}

// The stress of a fibre of a group and of the given area (and, for a block triangle, corners)
// at its strain: for a block triangle its mean stress.
double stressOf(const FibreGroup& g, double area, const double* corners, const double abc[3],
                double eps) {
    double sig = 0;
    switch (g.law) {
        case FibreLaw::Parabola:
            CONCRETE01(g.fc, g.eps0, eps, sig);
            break;
        case FibreLaw::Steel:
        case FibreLaw::SteelExact:  // shown at the triangle's centre
            STEEL01(STEEL_LAW_MODULUS, g.fy, eps, sig);
            break;
        case FibreLaw::ParabolaN:
        case FibreLaw::ParabolaExact:
            sig = parabolaRectangle(g.fc, g.eps0, g.n, eps).stress;
            break;
        case FibreLaw::Block: {
            const double a = std::fabs(area);
            sig = a > 0 ? std::fabs(blockOnCorners(corners, g, abc, nullptr).N) / a : 0;
            break;
        }
        case FibreLaw::BlockBar: {
            double slope;
            sig =
                g.fc * blockFraction(eps, blockEdgeStrain(g.epsCu, g.beta1),
                                     std::hypot(abc[1], abc[2]), std::sqrt(std::fabs(area)), slope);
            break;
        }
    }
    return sig;
}

double fibreStressOf(const FibreArrays& f, const FibreGroup& g, std::size_t j, const double abc[3],
                     double eps) {
    double c[6];
    if (g.law == FibreLaw::Block) f.triangles.cornersOf(j, c);
    return stressOf(g, f.area[j], g.law == FibreLaw::Block ? c : nullptr, abc, eps);
}

// The group an entry starts.
FibreGroup groupOf(const Entry& e) {
    FibreGroup g;
    g.law = static_cast<FibreLaw>(e.law);
    g.concrete = g.law != FibreLaw::Steel && g.law != FibreLaw::SteelExact;
    g.displaced = e.displaced != 0;
    g.fc = e.p1;
    g.fy = e.p1;
    if (g.law == FibreLaw::Block || g.law == FibreLaw::BlockBar) {
        g.epsCu = e.p2;
        g.beta1 = e.p3;
    } else {
        g.eps0 = e.p2;
        if (g.law == FibreLaw::ParabolaN || g.law == FibreLaw::ParabolaExact) g.n = e.p3;
    }
    return g;
}

// Sums over the fibres [b, e) of one group; two sets of sums let consecutive fibres overlap in
// the pipeline.
template <class Law>
void sumGroup(const FibreArrays& f, std::size_t b, std::size_t e, const double abc[3], Law law,
              double s[6]) {
    const double a1 = abc[0], a2 = abc[1], a3 = abc[2];
    const double* X = f.x.data();
    const double* Y = f.y.data();
    const double* A = f.area.data();
    std::size_t j = b;
    for (; j + 1 < e; j += 2) {
        const double f0 = law(a1 + a2 * X[j] + a3 * Y[j]) * A[j];
        const double f1 = law(a1 + a2 * X[j + 1] + a3 * Y[j + 1]) * A[j + 1];
        s[0] += f0;
        s[1] += f0 * X[j];
        s[2] += f0 * Y[j];
        s[3] += f1;
        s[4] += f1 * X[j + 1];
        s[5] += f1 * Y[j + 1];
    }
    if (j < e) {
        const double f0 = law(a1 + a2 * X[j] + a3 * Y[j]) * A[j];
        s[0] += f0;
        s[1] += f0 * X[j];
        s[2] += f0 * Y[j];
    }
}

// The stiffness pass works on four fibres at a time (lanes.h).
using lanes::laneTotal;
using lanes::load4;
using lanes::loadTail;
using lanes::splat;
using lanes::V4;
using lanes::V4Mask;

struct StiffnessSums {
    V4 s[3] = {};
    V4 kt[6] = {};
    V4 ks[6] = {};
};

// The sums of w, w X, w Y, w X X, w X Y, w Y Y (a stiffness with the modulus times area w).
inline void addStiffness(V4 (&k)[6], V4 w, V4 x, V4 y) {
    k[0] += w;
    k[1] += w * x;
    k[2] += w * y;
    k[3] += w * x * x;
    k[4] += w * x * y;
    k[5] += w * y * y;
}

// Four fibres' forces and stiffness sums, with (sig, et, es) their stresses, tangent and
// secant moduli.
template <bool Secant>
inline void addFibres(StiffnessSums& acc, V4 x, V4 y, V4 area, V4 sig, V4 et, V4 es) {
    const V4 fo = sig * area;
    acc.s[0] += fo;
    acc.s[1] += fo * x;
    acc.s[2] += fo * y;
    addStiffness(acc.kt, et * area, x, y);
    if constexpr (Secant)
        addStiffness(acc.ks, es * area, x, y);
    else
        (void)es;
}

// Forces, tangent and secant sums over the fibres [b, e) of one group; law(eps, sig, et, es)
// gives stresses, slopes and secant moduli of four strains. A short last block is filled with
// fibres of no area.
template <bool Secant, class Law>
inline void sumGroupStiffness(const FibreArrays& f, std::size_t b, std::size_t e,
                              const double abc[3], Law law, StiffnessSums& acc) {
    const V4 a1 = splat(abc[0]), a2 = splat(abc[1]), a3 = splat(abc[2]);
    const double* X = f.x.data();
    const double* Y = f.y.data();
    const double* A = f.area.data();
    auto block = [&](V4 x, V4 y, V4 area) {
        V4 sig, et, es;
        law(a1 + a2 * x + a3 * y, sig, et, es);
        addFibres<Secant>(acc, x, y, area, sig, et, es);
    };
    std::size_t j = b;
    for (; j + 4 <= e; j += 4) block(load4(X + j), load4(Y + j), load4(A + j));
    if (j < e) block(loadTail(X + j, e - j), loadTail(Y + j, e - j), loadTail(A + j, e - j));
}

}  // namespace

FibreLawContext fibreLawContext(const SectionModel& m, FibreLaws laws) {
    const SectionDocument& d = m.document;
    FibreLawContext c;
    // The stress block is the ultimate state's law: only where every plane the solvers meet
    // has its most compressed concrete at the ultimate strain.
    c.block = laws == FibreLaws::Ultimate && codeLimitApplies(m) && !codeLimitPoints(m).empty();
    // Under the codes with their own tables, and under the program's own two at their code's
    // limit, a bar takes the place of the concrete it stands in; the program's rule (the
    // control strain) keeps the concrete under the bars.
    const bool deduct = codeHasOwnTables(d.CODE) || codeLimitApplies(m);
    c.core = deduct && d.NCONC_PT > 0 ? selectedGrade(d.CONC_MAT, d.NCONCMAT, d.USE_CONC) : nullptr;
    c.bsParabola = bsCodeLaw(m);
    c.exact = exactIntegration(m);
    return c;
}

bool bsCodeLaw(const SectionModel& m) {
    return designCode(sectionCode(m)).bsParabola && m.settings.STRAIN_LIMIT == StrainLimit::Code;
}

namespace {
// Whether a fibre is a triangle whose corners span its area, so that its law can be integrated
// over them (a fibre made without its corners is summed at its centre).
bool integrableTriangle(const TFIB& f) {
    if (f.SHAPE != 3) return false;
    const double area = 0.5 * std::fabs((f.POS[1].X - f.POS[0].X) * (f.POS[2].Y - f.POS[0].Y) -
                                        (f.POS[2].X - f.POS[0].X) * (f.POS[1].Y - f.POS[0].Y));
    return std::fabs(area - std::fabs(f.AREA)) <= 1e-9 * area;
}

// The entries of a concrete, steel or bar fibre j (a bar under the codes: its steel and the
// concrete it displaces).
template <class Add>
void lawEntries(const FibreLawContext& c, const TFIB& f, int32_t j, Add add) {
    // BS 8110 at its code's limit: its own parabola on the grade's peak stress.
    const auto eps0 = [&](double fc, double own) { return c.bsParabola ? bsPeakStrain(fc) : own; };
    if (f.TY == FIB_CORE_CONCRETE || f.TY == FIB_COVER_CONCRETE) {
        add(concreteEntry(f.FC, eps0(f.FC, f.EPS_0), f.EPS_CU, f.N_EXP, f.BETA1,
                          c.block && f.SHAPE == 3, c.exact && integrableTriangle(f), false, j));
    } else if (f.TY == FIB_STEEL || f.TY == FIB_REBAR) {
        const bool exact = c.exact && f.TY == FIB_STEEL && integrableTriangle(f);
        add(Entry{lawKey(exact ? FibreLaw::SteelExact : FibreLaw::Steel), steelLawStrength(f.FY1),
                  0, 0, 0, j});
        // The concrete a bar displaces stays at the bar's centre, as the bar does.
        if (c.core != nullptr && f.TY == FIB_REBAR && f.AREA > 0)
            add(concreteEntry(c.core->FC, eps0(c.core->FC, c.core->EPS_0), c.core->EPS_CU,
                              c.core->N_EXP, c.core->BETA1, c.block, false, true, j));
    }
}
}  // namespace

BlockForces modelFibreForce(const FibreLawContext& c, const TFIB& f, const double abc[3]) {
    BlockForces out;
    const double corners[6] = {f.POS[0].X, f.POS[0].Y, f.POS[1].X,
                               f.POS[1].Y, f.POS[2].X, f.POS[2].Y};
    lawEntries(c, f, 0, [&](const Entry& e) {
        const FibreGroup g = groupOf(e);
        if (g.law == FibreLaw::Block) {
            const BlockForces b = blockOnCorners(corners, g, abc, nullptr);
            out.N += b.N;
            out.MX += b.MX;
            out.MY += b.MY;
            return;
        }
        if (g.law == FibreLaw::ParabolaExact || g.law == FibreLaw::SteelExact) {
            const TriangleIntegral t = integrateTriangle(corners, abc, triangleLaw(g), false);
            out.N += t.N;
            out.MX += t.MX;
            out.MY += t.MY;
            return;
        }
        const double area = e.displaced ? -f.AREA : f.AREA;
        const double force =
            stressOf(g, area, corners, abc, abc[0] + abc[1] * f.X + abc[2] * f.Y) * area;
        out.N += force;
        out.MX += force * f.X;
        out.MY += force * f.Y;
    });
    return out;
}

StrainLimit strainLimitInForce(const SectionModel& m) {
    if (m.document.NCONC_PT <= 0) return StrainLimit::Control;
    if (codeHasOwnTables(sectionCode(m))) return StrainLimit::Code;
    return m.settings.STRAIN_LIMIT;
}

bool codeLimitApplies(const SectionModel& m) {
    return strainLimitInForce(m) == StrainLimit::Code;
}

bool exactIntegration(const SectionModel& m) {
    switch (m.settings.INTEGRATION) {
        case Integration::Exact:
            return true;
        case Integration::Centroid:
            return false;
        case Integration::Auto:
            break;
    }
    return codeHasOwnTables(sectionCode(m)) || codeLimitApplies(m);
}

FibreArrays::FibreArrays(const SectionModel& m, FibreLaws laws) {
    const FibreLawContext law = fibreLawContext(m, laws);
    exact = law.exact;
    if (law.block) {
        limitPoints = codeLimitPoints(m);
        codeRule = true;
    }
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(m.mesh.NFIB > 0 ? m.mesh.NFIB : 0));
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        if (f.TY >= FIB_CORE_CONCRETE && f.TY <= FIB_COVER_CONCRETE) {
            lawEntries(law, f, j, [&entries](const Entry& e) { entries.push_back(e); });
        } else {
            const double force = f.STRESS * f.AREA;
            fixedForce[0] += force;
            fixedForce[1] += force * f.X;
            fixedForce[2] += force * f.Y;
            ++otherCount;
        }
    }
    // Same law and values together; mesh order kept within a group.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.law, a.p1, a.p2, a.p3, a.displaced) <
               std::tie(b.law, b.p1, b.p2, b.p3, b.displaced);
    });
    const std::size_t n = entries.size();
    x.resize(n);
    y.resize(n);
    area.resize(n);
    fibre.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const Entry& e = entries[i];
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(e.fibre)];
        x[i] = f.X;
        y[i] = f.Y;
        area[i] = e.displaced ? -f.AREA : f.AREA;
        fibre[i] = e.fibre;
        if (onCorners(static_cast<FibreLaw>(e.law))) keepCorners(i, n, f);
        if (i == 0 || e.law != entries[i - 1].law || !(e.p1 == entries[i - 1].p1) ||
            !(e.p2 == entries[i - 1].p2) || !(e.p3 == entries[i - 1].p3) ||
            e.displaced != entries[i - 1].displaced) {
            FibreGroup g = groupOf(e);
            g.begin = i;
            groups.push_back(g);
        }
        groups.back().end = i + 1;
    }
    for (const ControlPoint& c : strainControlPoints(m)) {
        cpX.push_back(c.X);
        cpY.push_back(c.Y);
    }
}

void FibreArrays::keepCorners(std::size_t i, std::size_t n, const TFIB& f) {
    const double c[6] = {f.POS[0].X, f.POS[0].Y, f.POS[1].X, f.POS[1].Y, f.POS[2].X, f.POS[2].Y};
    if (triangles.corner[0].empty()) triangles.resize(n);
    triangles.set(i, c);
}

std::vector<LimitPoint> codeLimitPoints(const SectionModel& m) {
    const SectionDocument& d = m.document;
    std::vector<LimitPoint> out;
    const TMAT* core = selectedGrade(d.CONC_MAT, d.NCONCMAT, d.USE_CONC);
    if (d.NCONC_PT <= 0 || core == nullptr) return out;
    // With a cover, the outline bounds the cover concrete and the cover polygon the core.
    const TMAT* cover =
        d.NCOVER_PT > 0 ? selectedGrade(d.COVER_MAT, d.NCOVERMAT, d.USE_COVER) : nullptr;
    const TPOS c = sectionCentre(m);
    auto onOutline = [&](double px, double py) {
        for (const TPOS& p : corners(d.CONC_PT, d.NCONC_PT))
            if (std::fabs(p.X - c.X - px) <= 1e-6 && std::fabs(p.Y - c.Y - py) <= 1e-6) return true;
        return false;
    };
    // Only EN 1992-1-1 adds the pivot of a wholly compressed section; a grade with a stress
    // block has none. BS 8110 takes its one ultimate strain at every grade.
    const bool bs = bsCodeLaw(m);
    auto pointOf = [&](double px, double py) {
        const TMAT& g = cover != nullptr && onOutline(px, py) ? *cover : *core;
        const double epsC2 = designCode(d.CODE).pivot && g.BETA1 == 0 ? g.EPS_0 : 0.0;
        return LimitPoint{px, py, bs ? BS_EPS_CU : g.EPS_CU, epsC2};
    };
    for (const ControlPoint& p : strainControlPoints(m)) out.push_back(pointOf(p.X, p.Y));
    return out;
}

void addFibrePoints(bool exact, const TFIB& f, std::vector<ControlPoint>& out) {
    if (exact && integrableTriangle(f)) {
        for (std::size_t k = 0; k < 3; ++k) out.push_back({f.POS[k].X, f.POS[k].Y});
        return;
    }
    out.push_back({f.X, f.Y});
}

std::vector<ControlPoint> strainControlPoints(const SectionModel& m) {
    std::vector<ControlPoint> out;
    for (int j = 1; j <= m.mesh.NCFIB; ++j)
        out.push_back({m.mesh.CFIB[static_cast<std::size_t>(j)].X,
                       m.mesh.CFIB[static_cast<std::size_t>(j)].Y});
    if (!out.empty()) return out;
    const bool exact = exactIntegration(m);
    for (int j = 1; j <= m.mesh.NFIB; ++j)
        addFibrePoints(exact, m.mesh.FIB[static_cast<std::size_t>(j)], out);
    if (exact) {
        // Triangles share their corners.
        std::sort(out.begin(), out.end(), [](const ControlPoint& a, const ControlPoint& b) {
            return std::tie(a.X, a.Y) < std::tie(b.X, b.Y);
        });
        out.erase(std::unique(out.begin(), out.end(),
                              [](const ControlPoint& a, const ControlPoint& b) {
                                  return a.X == b.X && a.Y == b.Y;
                              }),
                  out.end());
    }
    return out;
}

void sumFibreForces(const FibreArrays& f, const double abc[3], double ss[3]) {
    double s[6] = {0, 0, 0, 0, 0, 0};
    for (const FibreGroup& g : f.groups) {
        switch (g.law) {
            case FibreLaw::Parabola: {
                const double fc = g.fc, e0 = g.eps0;
                sumGroup(
                    f, g.begin, g.end, abc,
                    [fc, e0](double eps) {
                        double sig;
                        CONCRETE01(fc, e0, eps, sig);
                        return sig;
                    },
                    s);
                break;
            }
            case FibreLaw::Steel: {
                const double fy = g.fy;
                sumGroup(
                    f, g.begin, g.end, abc,
                    [fy](double eps) {
                        double sig;
                        STEEL01(STEEL_LAW_MODULUS, fy, eps, sig);
                        return sig;
                    },
                    s);
                break;
            }
            case FibreLaw::ParabolaN: {
                const double fc = g.fc, e0 = g.eps0, n = g.n;
                sumGroup(
                    f, g.begin, g.end, abc,
                    [fc, e0, n](double eps) { return parabolaRectangle(fc, e0, n, eps).stress; },
                    s);
                break;
            }
            case FibreLaw::Block:
                for (std::size_t j = g.begin; j < g.end; ++j) {
                    const BlockForces b = triangleBlock(f, g, j, abc, nullptr);
                    s[0] += b.N;
                    s[1] += b.MX;
                    s[2] += b.MY;
                }
                break;
            case FibreLaw::ParabolaExact:
            case FibreLaw::SteelExact: {
                const TriangleIntegral t = exactGroup(f, g, abc, false);
                s[0] += t.N;
                s[1] += t.MX;
                s[2] += t.MY;
                break;
            }
            case FibreLaw::BlockBar:
                // The ramp's width depends on each bar's area.
                for (std::size_t j = g.begin; j < g.end; ++j) {
                    const double eps = abc[0] + abc[1] * f.x[j] + abc[2] * f.y[j];
                    const double force = fibreStressOf(f, g, j, abc, eps) * f.area[j];
                    s[0] += force;
                    s[1] += force * f.x[j];
                    s[2] += force * f.y[j];
                }
                break;
        }
    }
    ss[0] = s[0] + s[3] + f.fixedForce[0];
    ss[1] = s[1] + s[4] + f.fixedForce[1];
    ss[2] = s[2] + s[5] + f.fixedForce[2];
}

namespace {

// Adds a symmetric 3 x 3 matrix to the lane-0 sums of a stiffness (S, SX, SY, SXX, SXY, SYY).
inline void addToLane0(V4 (&k)[6], const std::array<std::array<double, 3>, 3>& d) {
    k[0][0] += d[0][0];
    k[1][0] += d[0][1];
    k[2][0] += d[0][2];
    k[3][0] += d[1][1];
    k[4][0] += d[1][2];
    k[5][0] += d[2][2];
}

// The outer product w (1, x, y)(1, x, y)^T.
std::array<std::array<double, 3>, 3> weighted(double w, double x, double y) {
    const double h[3] = {1, x, y};
    std::array<std::array<double, 3>, 3> d{};
    for (std::size_t r = 0; r < 3; ++r)
        for (std::size_t c = 0; c < 3; ++c) d[r][c] = w * h[r] * h[c];
    return d;
}

// The stress block's forces and stiffnesses, fibre by fibre: the exact derivative of the
// clipped triangle (or of a bar's ramp) as the tangent, the mean stress over the strain at the
// fibre's centre as the secant.
template <bool Secant>
void addBlockStiffness(const FibreArrays& f, const FibreGroup& g, const double abc[3],
                       StiffnessSums& acc) {
    const double gradient = std::hypot(abc[1], abc[2]);
    const double edge = blockEdgeStrain(g.epsCu, g.beta1);
    const std::array<std::array<double, 3>, 3> zero{};
    std::array<std::array<double, 3>, 3> d{};
    for (std::size_t j = g.begin; j < g.end; ++j) {
        const double eps = abc[0] + abc[1] * f.x[j] + abc[2] * f.y[j];
        double N, MX, MY;
        d = zero;
        if (g.law == FibreLaw::Block) {
            const BlockForces b = triangleBlock(f, g, j, abc, &d);
            N = b.N;
            MX = b.MX;
            MY = b.MY;
        } else {
            double slope;
            const double r =
                blockFraction(eps, edge, gradient, std::sqrt(std::fabs(f.area[j])), slope);
            N = g.fc * r * f.area[j];
            MX = N * f.x[j];
            MY = N * f.y[j];
            d = weighted(g.fc * slope * f.area[j], f.x[j], f.y[j]);
        }
        acc.s[0][0] += N;
        acc.s[1][0] += MX;
        acc.s[2][0] += MY;
        if (d != zero) addToLane0(acc.kt, d);
        if constexpr (Secant)
            if (eps > 0) addToLane0(acc.ks, weighted(N / eps, f.x[j], f.y[j]));
    }
}

// The exact laws' forces and tangent, triangle by triangle; the secant is the law's at the
// triangle's centre, as for a fibre.
template <bool Secant>
void addExactStiffness(const FibreArrays& f, const FibreGroup& g, const double abc[3],
                       StiffnessSums& acc) {
    const TriangleIntegral t = exactGroup(f, g, abc, true);
    acc.s[0][0] += t.N;
    acc.s[1][0] += t.MX;
    acc.s[2][0] += t.MY;
    for (std::size_t i = 0; i < 6; ++i) acc.kt[i][0] += t.k[i];
    if constexpr (Secant) {
        for (std::size_t j = g.begin; j < g.end; ++j) {
            const double eps = abc[0] + abc[1] * f.x[j] + abc[2] * f.y[j];
            if (eps != 0 && (!g.concrete || eps > 0))
                addToLane0(acc.ks, weighted(fibreStressOf(f, g, j, abc, eps) / eps * f.area[j],
                                            f.x[j], f.y[j]));
        }
    }
}

// The laws of the pass, each on one group's fibres; inlined into each copy of the pass below.
#define QAVSEC_INLINE inline __attribute__((always_inline))

// The parabola on the strain clamped to [0, EPS_0]: 0 in tension, FC on the plateau.
template <bool Secant>
QAVSEC_INLINE void addParabola(const FibreArrays& f, const FibreGroup& g, const double abc[3],
                               StiffnessSums& acc) {
    const V4 zero = splat(0), one = splat(1);
    const V4 fc = splat(g.fc), e0 = splat(g.eps0), slope = splat(2 * g.fc / g.eps0);
    sumGroupStiffness<Secant>(
        f, g.begin, g.end, abc,
        [&](V4 eps, V4& sig, V4& et, V4& es) {
            const V4 c = eps / e0;
            V4 cc = c < zero ? zero : c;
            cc = cc > one ? one : cc;
            sig = fc * (2 * cc - cc * cc);
            et = c > zero ? slope * (one - cc) : zero;
            if constexpr (Secant)
                es = eps > zero ? sig / eps : zero;
            else
                es = zero;
        },
        acc);
}

template <bool Secant>
QAVSEC_INLINE void addParabolaN(const FibreArrays& f, const FibreGroup& g, const double abc[3],
                                StiffnessSums& acc) {
    const double fc = g.fc, e0 = g.eps0, n = g.n;
    sumGroupStiffness<Secant>(
        f, g.begin, g.end, abc,
        [&](V4 eps, V4& sig, V4& et, V4& es) {
            for (int l = 0; l < 4; ++l) {
                const LawPoint p = parabolaRectangle(fc, e0, n, eps[l]);
                sig[l] = p.stress;
                et[l] = p.tangent;
                es[l] = Secant && eps[l] > 0 ? p.stress / eps[l] : 0.0;
            }
        },
        acc);
}

template <bool Secant>
QAVSEC_INLINE void addSteel(const FibreArrays& f, const FibreGroup& g, const double abc[3],
                            StiffnessSums& acc) {
    const double ey = g.fy / STEEL_LAW_MODULUS;
    const V4 zero = splat(0);
    const V4 fy = splat(g.fy), E = splat(STEEL_LAW_MODULUS), hi = splat(ey), lo = splat(-ey);
    sumGroupStiffness<Secant>(
        f, g.begin, g.end, abc,
        [&](V4 eps, V4& sig, V4& et, V4& es) {
            const V4Mask elastic = eps >= lo && eps <= hi;
            const V4 yielded = eps > zero ? fy : -fy;
            sig = elastic ? E * eps : yielded;
            et = elastic ? E : zero;
            if constexpr (Secant)
                es = elastic ? E : yielded / eps;
            else
                es = zero;
        },
        acc);
}

// The pass is nearly all of an analysis's time: cloned for AVX2 (lanes.h).
template <bool Secant>
QAVSEC_LANES_CLONES void sumStiffness(const FibreArrays& f, const double abc[3], double ss[3],
                                      double kt[6], double ks[6]) {
    StiffnessSums acc;
    for (const FibreGroup& g : f.groups) {
        if (g.law == FibreLaw::Parabola)
            addParabola<Secant>(f, g, abc, acc);
        else if (g.law == FibreLaw::ParabolaN)
            addParabolaN<Secant>(f, g, abc, acc);
        else if (g.law == FibreLaw::Block || g.law == FibreLaw::BlockBar)
            addBlockStiffness<Secant>(f, g, abc, acc);
        else if (g.law == FibreLaw::ParabolaExact || g.law == FibreLaw::SteelExact)
            addExactStiffness<Secant>(f, g, abc, acc);
        else
            addSteel<Secant>(f, g, abc, acc);
    }
    for (int i = 0; i < 3; ++i) ss[i] = laneTotal(acc.s[i]) + f.fixedForce[i];
    for (int i = 0; i < 6; ++i) {
        kt[i] = laneTotal(acc.kt[i]);
        if constexpr (Secant) ks[i] = laneTotal(acc.ks[i]);
    }
}
#undef QAVSEC_INLINE
}  // namespace

void sumFibreForcesAndStiffness(const FibreArrays& f, const double abc[3], double ss[3],
                                double kt[6], double ks[6]) {
    // The secant sums cost a third of the pass; most passes need only the tangent.
    if (ks != nullptr)
        sumStiffness<true>(f, abc, ss, kt, ks);
    else
        sumStiffness<false>(f, abc, ss, kt, nullptr);
}

void storeFibreState(const FibreArrays& f, const double abc[3], SectionModel& m) {
    // The concrete a bar displaces comes off the bar's own stress, written first.
    for (const bool displaced : {false, true}) {
        for (const FibreGroup& g : f.groups) {
            if (g.displaced != displaced) continue;
            for (std::size_t j = g.begin; j < g.end; ++j) {
                TFIB& fib = m.mesh.FIB[static_cast<std::size_t>(f.fibre[j])];
                const double eps = abc[0] + abc[1] * f.x[j] + abc[2] * f.y[j];
                if (displaced) {
                    fib.STRESS -= fibreStressOf(f, g, j, abc, eps);
                    continue;
                }
                fib.EPS = eps;
                if (g.law == FibreLaw::Parabola) {
                    CONCRETE01(g.fc, g.eps0, fib.EPS, fib.STRESS);
                } else if (g.law == FibreLaw::Steel) {
                    STEEL01(STEEL_LAW_MODULUS, g.fy, fib.EPS, fib.STRESS);
                } else {
                    fib.STRESS = fibreStressOf(f, g, j, abc, eps);
                }
            }
        }
    }
    // Fibres of other kinds: the strain is stored, the stress stays.
    if (f.otherCount == 0) return;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        TFIB& fib = m.mesh.FIB[static_cast<std::size_t>(j)];
        if (fib.TY < 1 || fib.TY > 4) fib.EPS = abc[0] + abc[1] * fib.X + abc[2] * fib.Y;
    }
}

}  // namespace qav
