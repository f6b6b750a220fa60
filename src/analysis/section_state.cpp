#include "analysis/section_state.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "analysis/design_strength.h"
#include "analysis/fibre_arrays.h"
#include "analysis/interaction_curves.h"
#include "analysis/material_laws.h"
#include "model/errors.h"
#include "model/limits.h"
#include "model/number_text.h"

namespace qav {

namespace {

double sign(double x) {
    return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
}

// The load the solver works on: each component raised to its minimum magnitude, as the solver
// itself does, so that the state's forces can be compared with it.
double minimumAxial(double P, double K) {
    return sign(P) * std::max(std::fabs(P), K);
}
double minimumMoment(double M, double K) {
    return M == 0 ? K : sign(M) * std::max(std::fabs(M), K);
}

// The plane through the fibres' stored strains, by least squares about their centroid (exact,
// as the strains lie on a plane; the centroid keeps the normal equations well conditioned).
StrainPlane fitPlane(const SectionModel& m) {
    double n = 0, sx = 0, sy = 0;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        sx += m.mesh.FIB[static_cast<std::size_t>(j)].X;
        sy += m.mesh.FIB[static_cast<std::size_t>(j)].Y;
        n += 1;
    }
    if (n == 0) return {};
    const double cx = sx / n, cy = sy / n;
    double xx = 0, xy = 0, yy = 0, e = 0, ex = 0, ey = 0;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        const double x = f.X - cx, y = f.Y - cy;
        xx += x * x;
        xy += x * y;
        yy += y * y;
        e += f.EPS;
        ex += f.EPS * x;
        ey += f.EPS * y;
    }
    const double det = xx * yy - xy * xy;
    StrainPlane p;
    if (det > 0) {
        p.a2 = (ex * yy - ey * xy) / det;
        p.a3 = (ey * xx - ex * xy) / det;
    }
    const double mean = e / n;
    p.a1 = mean - p.a2 * cx - p.a3 * cy;
    return p;
}

}  // namespace

double fibreStress(const TFIB& f, double eps) {
    double s = f.STRESS;
    if (f.TY == FIB_CORE_CONCRETE || f.TY == FIB_COVER_CONCRETE)
        CONCRETE01(f.FC, f.EPS_0, eps, s);
    else if (f.TY == FIB_STEEL || f.TY == FIB_REBAR)
        STEEL01(STEEL_LAW_MODULUS, steelLawStrength(f.FY1), eps, s);
    return s;
}

namespace {

// The forces under the code's laws (the block over triangles, the concrete the bars displace):
// the solvers' own fibre forces, by the kind of the fibre they belong to. Fibres of other kinds
// hold their stored stress.
KindForces codeLawForces(const SectionModel& m, const StrainPlane& p, FibreLaws laws) {
    KindForces k;
    const FibreLawContext c = fibreLawContext(m, laws);
    const double abc[3] = {p.a1, p.a2, p.a3};
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& o = m.mesh.FIB[static_cast<std::size_t>(j)];
        if (o.TY < 1 || o.TY > 4) continue;
        const BlockForces b = modelFibreForce(c, o, abc);
        ForceSum& s = k.of(o.TY);
        s.N += b.N;
        s.MX += b.MX;
        s.MY += b.MY;
    }
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& o = m.mesh.FIB[static_cast<std::size_t>(j)];
        if (o.TY < 1 || o.TY > 4) k.other.add(o.STRESS * o.AREA, o.X, o.Y);
    }
    return k;
}

}  // namespace

KindForces planeForces(const SectionModel& m, const StrainPlane& p, FibreLaws laws) {
    if (codeHasOwnTables(m.document.CODE) || codeLimitApplies(m) || exactIntegration(m))
        return codeLawForces(m, p, laws);
    KindForces k;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        k.of(f.TY).add(fibreStress(f, p.at(f.X, f.Y)) * f.AREA, f.X, f.Y);
    }
    return k;
}

NeutralAxis neutralAxis(const SectionModel& m, const StrainPlane& p) {
    NeutralAxis a;
    const double g = std::hypot(p.a2, p.a3);
    if (!(g > 0) || !std::isfinite(g) || m.mesh.NCFIB < 1) return a;
    double top = -std::numeric_limits<double>::infinity();
    for (int j = 1; j <= m.mesh.NCFIB; ++j) {
        const TCFIB& c = m.mesh.CFIB[static_cast<std::size_t>(j)];
        top = std::max(top, p.at(c.X, c.Y));
    }
    const double depth = top / g;
    if (!std::isfinite(depth) || std::fabs(depth) > MAX_LENGTH_MM) return a;
    // The zero line runs across the gradient.
    double angle = std::atan2(p.a3, p.a2) * 180.0 / std::numbers::pi + 90.0;
    while (angle > 90) angle -= 180;
    while (angle <= -90) angle += 180;
    a.exists = true;
    a.angle = angle;
    a.depth = depth;
    return a;
}

namespace {

// Strain energy of the fibre laws (the stress integrated over the strain).
double concreteEnergy(double fc, double e0, double e) {
    if (e <= 0) return 0;
    if (e <= e0) return fc * (e * e / e0 - e * e * e / (3 * e0 * e0));
    return fc * (2 * e0 / 3 + (e - e0));
}
double steelEnergy(double fy, double e) {
    const double ey = fy / STEEL_LAW_MODULUS, a = std::fabs(e);
    return a <= ey ? 0.5 * STEEL_LAW_MODULUS * e * e : fy * (a - 0.5 * ey);
}
// The parabola-rectangle of exponent n: fc [e - e0 / (n + 1) (1 - (1 - e / e0)^(n + 1))].
double parabolaNEnergy(double fc, double e0, double n, double e) {
    if (e <= 0) return 0;
    const double u = 1 - std::fmin(e, e0) / e0;
    return fc *
           (std::fmin(e, e0) - e0 / (n + 1) * (1 - std::pow(u, n + 1)) + std::fmax(e - e0, 0.0));
}
double groupEnergy(const FibreGroup& g, double e) {
    if (!g.concrete) return steelEnergy(g.fy, e);
    if (g.law == FibreLaw::ParabolaN) return parabolaNEnergy(g.fc, g.eps0, g.n, e);
    return concreteEnergy(g.fc, g.eps0, e);
}

// Energy, forces (N, N mm) and tangent stiffness (S, SX, SY, SXX, SXY, SYY) at a plane: the
// solvers' fibre pass, and the energy beside it.
struct LoadPass {
    double energy = 0;
    double ss[3] = {0, 0, 0};
    double k[6] = {0, 0, 0, 0, 0, 0};
};

LoadPass loadPass(const FibreArrays& f, const double a[3]) {
    LoadPass p;
    sumFibreForcesAndStiffness(f, a, p.ss, p.k, nullptr);
    for (const FibreGroup& g : f.groups) {
        for (std::size_t j = g.begin; j < g.end; ++j) {
            const double e = a[0] + a[1] * f.x[j] + a[2] * f.y[j];
            p.energy += f.area[j] * groupEnergy(g, e);
        }
    }
    // Fibres of other kinds hold their stress whatever the strain: constant forces.
    for (int i = 0; i < 3; ++i) p.energy += f.fixedForce[i] * a[i];
    return p;
}

// The symmetric 3 x 3 system (S, SX, SY, SXX, SXY, SYY) x = b.
bool solve3(const double k[6], const double b[3], double x[3]) {
    double M[4][4] = {
        {k[0], k[1], k[2], 0}, {k[1], k[3], k[4], 0}, {k[2], k[4], k[5], 0}, {0, 0, 0, 0}};
    double rhs[4] = {b[0], b[1], b[2], 0}, out[4] = {0, 0, 0, 0};
    if (!solveSmall(3, M, rhs, out)) return false;
    std::copy(out, out + 3, x);
    return true;
}

}  // namespace

namespace {

// The search for the plane under a load: down the energy of the fibres less the work of the
// load, with forces compared component by component weighed by the elastic stiffness's
// diagonal, so that moments count as forces at the section's radius of gyration.
class AtLoadSearch {
public:
    AtLoadSearch(const FibreArrays& f, const matrx2& K0, const double LL[3]) : f_(f) {
        const double k0[6] = {K0[1][1], K0[1][2], K0[1][3], K0[2][2], K0[2][3], K0[3][3]};
        std::copy(k0, k0 + 6, k0_);
        std::copy(LL, LL + 3, LL_);
        // Forces compared with each component weighed as every solver weighs them.
        balanceWeights(K0, D_);
        for (int i = 0; i < 3; ++i) size_ += D_[i] * D_[i] * LL[i] * LL[i];
        size_ = std::sqrt(size_);
    }
    // The elastic stiffness (S, SX, SY, SXX, SXY, SYY).
    const double* elastic() const { return k0_; }
    bool loadHasSize() const { return size_ > 0 && std::isfinite(size_); }
    double residualOf(const LoadPass& p) const {
        double s = 0;
        for (int i = 0; i < 3; ++i) s += D_[i] * D_[i] * (LL_[i] - p.ss[i]) * (LL_[i] - p.ss[i]);
        return std::sqrt(s) / size_;
    }
    double work(const LoadPass& p, const double at[3]) const {
        return p.energy - (LL_[0] * at[0] + LL_[1] * at[1] + LL_[2] * at[2]);
    }
    // One step from a (its pass cur, its residual res): Newton's step, or where the tangent is
    // singular or the step does not pay, one with a share of the elastic stiffness that makes
    // the matrix positive definite and the step one downhill. False where none moves.
    bool step(double a[3], LoadPass& cur, double& res, int& passes) const {
        const double g[3] = {LL_[0] - cur.ss[0], LL_[1] - cur.ss[1], LL_[2] - cur.ss[2]};
        const double pi0 = work(cur, a);
        for (double mix : {0.0, 1e-8, 1e-5, 1e-3, 1e-1, 1.0, 10.0}) {
            double k[6], da[3];
            for (int i = 0; i < 6; ++i) k[i] = cur.k[i] + mix * k0_[i];
            if (!solve3(k, g, da)) continue;
            const double slope = g[0] * da[0] + g[1] * da[1] + g[2] * da[2];
            if (!(slope > 0)) continue;
            for (double t = 1; t >= 1.0 / 1024; t *= 0.5) {
                const double at[3] = {a[0] + t * da[0], a[1] + t * da[1], a[2] + t * da[2]};
                const LoadPass next = loadPass(f_, at);
                ++passes;
                const double r = residualOf(next);
                // Down the energy, or (where its differences are lost in rounding, close to
                // the state) a smaller residual.
                if (work(next, at) <= pi0 - 1e-4 * t * slope || r < 0.5 * res) {
                    std::copy(at, at + 3, a);
                    cur = next;
                    res = r;
                    return true;
                }
            }
        }
        return false;
    }

private:
    const FibreArrays& f_;
    double k0_[6] = {0, 0, 0, 0, 0, 0};
    double LL_[3] = {0, 0, 0}, D_[3] = {0, 0, 0};
    double size_ = 0;
};

}  // namespace

SolveResult solveAtLoad(const SectionModel& m, const double LL[3], StrainPlane& plane,
                        const StrainPlane* start) {
    // A state at a load is no ultimate state: the stress block gives way to the parabola.
    const FibreArrays f(m, FibreLaws::MomentCurvature);
    SolveResult r;
    r.residual = INFINITY;
    matrx2 K0{};
    FORM_SECTION_STIFF_MATRIX(m, K0);
    const AtLoadSearch search(f, K0, LL);
    double a[3] = {0, 0, 0};
    if (!search.loadHasSize() || !solve3(search.elastic(), LL, a)) return r;
    if (start != nullptr) {
        a[0] = start->a1;
        a[1] = start->a2;
        a[2] = start->a3;
    }
    LoadPass cur = loadPass(f, a);
    int passes = 1;
    r.residual = search.residualOf(cur);
    while (!(r.residual <= AT_LOAD_TOLERANCE) && passes < 400) {
        // The strains run away when the fibres cannot carry the load at any strain.
        if (!search.step(a, cur, r.residual, passes) ||
            !(std::fabs(a[0]) + std::fabs(a[1]) + std::fabs(a[2]) < 1e6))
            break;
    }
    r.iterations = passes;
    r.converged = r.residual <= AT_LOAD_TOLERANCE;
    r.loadFraction = 1;
    plane = {a[0], a[1], a[2]};
    return r;
}

namespace {

// The state at the load itself, from the capacity state the solver found: s's plane and
// atLoad, and the fibres' strains and stresses in m.
void placeAtLoad(SectionModel& m, SectionSolver& solver, SectionState& s) {
    // Within the solver's accuracy a load on the surface is at capacity, not above it.
    const double lam = s.solve.loadFraction;
    if (!(lam >= 1 - 1e-6))
        throw InputError(
            std::isfinite(lam)
                ? Format("The load exceeds the section's capacity (load fraction %0.4F): "
                         "there is no state at the load.",
                         {lam})
                : std::string("The load fraction is not a number: there is no state at "
                              "the load."));
    // On the surface the solve starts from the capacity state: where yielded steel or
    // crushed concrete leave the forces the same over a range of strains, the state found
    // is then the one the load fraction describes, not another of that range.
    std::optional<StrainPlane> start;
    if (lam <= 1 + 1e-6) {
        solver.storeState(m);
        start = fitPlane(m);
    }
    const double LL[3] = {1e3 * s.P, 1e6 * s.MX, 1e6 * s.MY};
    s.atLoad = solveAtLoad(m, LL, s.plane, start ? &*start : nullptr);
    if (!s.atLoad.converged)
        throw InputError("The equilibrium at the load was not found (residual " +
                         residualText(s.atLoad.residual) + "): there is no state at the load.");
    const FibreArrays f(m, FibreLaws::MomentCurvature);
    const double abc[3] = {s.plane.a1, s.plane.a2, s.plane.a3};
    storeFibreState(f, abc, m);
}

// One row per fibre, with the largest strains of either sign.
void listFibres(const SectionModel& m, SectionState& s) {
    s.fibres.reserve(static_cast<std::size_t>(m.mesh.NFIB));
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        FibreStateRow r;
        r.number = j;
        r.X = f.X;
        r.Y = f.Y;
        r.AREA = f.AREA;
        r.TY = f.TY;
        r.MAT = f.MAT;
        r.strain = f.EPS;
        r.stress = f.STRESS;
        r.force = f.STRESS * f.AREA / 1000.0;
        s.fibres.push_back(r);
        s.largestCompression = std::max(s.largestCompression, f.EPS);
        s.largestTension = std::min(s.largestTension, f.EPS);
    }
}

// The control points' strains, and those the solver held at the limit (at capacity only).
void listControlPoints(const SectionModel& m, StateAt at, SectionState& s) {
    // Under the code's limit each corner's own ultimate strain (or the tension limit) holds.
    const std::vector<LimitPoint> codeLimits =
        codeLimitApplies(m) ? codeLimitPoints(m) : std::vector<LimitPoint>{};
    auto near = [](double e, double limit) {
        return std::fabs(e - limit) <= 1e-6 * std::fabs(limit);
    };
    for (int j = 1; j <= m.mesh.NCFIB; ++j) {
        const TCFIB& c = m.mesh.CFIB[static_cast<std::size_t>(j)];
        ControlPointState cp{c.X, c.Y, s.plane.at(c.X, c.Y), false};
        // The corners the solver scaled to the limit (tension beyond it is allowed); at the
        // load no corner is held there.
        const std::size_t k = static_cast<std::size_t>(j - 1);
        if (k < codeLimits.size())
            cp.atLimit = at == StateAt::Capacity &&
                         (near(cp.strain, codeLimits[k].epsCu) || near(cp.strain, -EPS_LIMIT));
        else
            cp.atLimit = at == StateAt::Capacity &&
                         std::fabs(std::fabs(cp.strain) - EPS_LIMIT) <= 1e-6 * EPS_LIMIT;
        s.controlPoints.push_back(cp);
        s.largestCompression = std::max(s.largestCompression, cp.strain);
        s.largestTension = std::min(s.largestTension, cp.strain);
    }
}

}  // namespace

SectionState SECTION_STATE(const SectionModel& model, double P, double MX, double MY, double K_P,
                           double K_MX, double K_MY, Messages& msgs, StateAt at) {
    // The solver writes its last state into the fibres: work on a copy so the caller's model
    // keeps whatever state it held.
    SectionModel m = model;
    requireFibres(m);
    // The minimum magnitudes are the check's rule for a design load; the stresses under a load
    // are those of the load as it is.
    if (at == StateAt::Load) K_P = K_MX = K_MY = 0;
    SectionState s;
    s.limit = strainLimitInForce(m);
    s.P = minimumAxial(P, K_P);
    s.MX = minimumMoment(MX, K_MX);
    s.MY = minimumMoment(MY, K_MY);
    if (!std::isfinite(s.P) || !std::isfinite(s.MX) || !std::isfinite(s.MY))
        throw InputError("The load must be finite numbers.");
    if (s.P == 0 && s.MX == 0 && s.MY == 0)
        throw InputError("The load is zero: a state needs an axial force or a moment.");

    SectionSolver solver(m, msgs);
    // A load no state carries (a tension on plain concrete) is said so, as the check says it,
    // rather than left to a solve that cannot converge.
    if (!solver.carries(P, MX, MY, K_P, K_MX, K_MY)) throw InputError(notCarriedStateText());
    // Solved as the check solves a combination (the minimums already applied), so that a state
    // the check found is found here too.
    s.solve = solver.loadFraction(s.P, s.MX, s.MY, 0, 0, 0, m.results.STRAIN_LIMIT_MODE);
    s.at = at;
    // phi as the member check takes it, from the solve's own state: the load fraction listed
    // at capacity and at the load alike is the design one.
    const DesignStrength d = designStrength(m);
    if (d.applies && std::isfinite(s.solve.loadFraction)) {
        const SolverState st = solver.lastState();
        const DesignFraction f = designFractionOfState(d, st.evaluated ? st.fibreAbc : nullptr,
                                                       s.solve.loadFraction, s.P);
        s.phi = f.phi;
        s.designFraction = f.fraction;
    }
    if (at == StateAt::Capacity) {
        solver.storeState(m);
        s.plane = fitPlane(m);
    } else {
        placeAtLoad(m, solver, s);
    }
    s.axis = neutralAxis(m, s.plane);

    listFibres(m, s);
    listControlPoints(m, at, s);
    // The forces as the solver sums them: integrated over the triangles where it integrates
    // them, else as the fibres hold them.
    if (exactIntegration(m))
        s.forces = planeForces(
            m, s.plane, at == StateAt::Capacity ? FibreLaws::Ultimate : FibreLaws::MomentCurvature);
    else
        for (const FibreStateRow& r : s.fibres) s.forces.of(r.TY).add(r.stress * r.AREA, r.X, r.Y);
    return s;
}

std::string fibreKindName(int TY) {
    switch (TY) {
        case FIB_CORE_CONCRETE:
            return "core concrete";
        case FIB_COVER_CONCRETE:
            return "cover concrete";
        case FIB_STEEL:
            return "steel";
        case FIB_REBAR:
            return "rebar";
        default:
            return "other";
    }
}

namespace {
std::string materialName(const SectionModel& m, int TY, int MAT) {
    const std::vector<TMAT>* table = TY == FIB_CORE_CONCRETE                ? &m.document.CONC_MAT
                                     : TY == FIB_COVER_CONCRETE             ? &m.document.COVER_MAT
                                     : (TY == FIB_STEEL || TY == FIB_REBAR) ? &m.document.STEEL_MAT
                                                                            : nullptr;
    if (table && MAT >= 1 && static_cast<std::size_t>(MAT) < table->size()) {
        std::string name = (*table)[static_cast<std::size_t>(MAT)].NAME;
        // A name is one CSV field: no separators inside.
        std::replace(name.begin(), name.end(), ',', ' ');
        if (!name.empty()) return name;
    }
    return Format("%D", {MAT});
}
}  // namespace

std::vector<std::string> sectionStateCsv(const SectionModel& m, const SectionState& s,
                                         bool markState) {
    const std::string mark = !markState ? "" : (s.at == StateAt::Load ? ",load" : ",capacity");
    std::vector<std::string> out{
        std::string("No,X[mm],Y[mm],Area[mm2],Kind,Material,Strain,Stress[N/mm2],Force[kN]") +
        (markState ? ",State" : "")};
    out.reserve(s.fibres.size() + 1);
    for (const FibreStateRow& r : s.fibres) {
        out.push_back(Format("%D,%0.3F,%0.3F,%0.3F,", {r.number, r.X, r.Y, r.AREA}) +
                      fibreKindName(r.TY) + "," + materialName(m, r.TY, r.MAT) + "," +
                      Format("%0.8F,%0.4F,%0.6F", {r.strain, r.stress, r.force}) + mark);
    }
    return out;
}

std::string stateHeading(const SectionState& s) {
    return s.at == StateAt::Load
               ? "State at the load (load fraction " + LoadFractionText(s.solve.loadFraction) + ")"
               : Format("State at capacity: %0.3F \u00D7 the load", {s.solve.loadFraction});
}

void reportStateUnconverged(const SectionState& s, Messages& msgs) {
    RunStats stats;
    stats.add(s.solve, static_cast<int>(s.fibres.size()));
    reportUnconverged(stats, msgs);
}

std::vector<std::string> sectionStateSummary(const SectionState& s) {
    std::vector<std::string> out;
    out.push_back(
        Format("Load (P comp. +, Mxx, Myy) %0.3F kN, %0.3F kNm, %0.3F kNm", {s.P, s.MY, s.MX}));
    // The load fraction is the one the check lists: the design one where phi applies, the
    // section's own (nominal) one beside it; cut at its decimals, never rounded up.
    const std::string unconverged =
        s.solve.converged ? "" : Format("  (not converged, %D iterations)", {s.solve.iterations});
    if (s.phi > 0) {
        out.push_back("Load Fraction              " + LoadFractionText(s.designFraction, 4) +
                      Format(" (phi %0.3F)", {s.phi}) + unconverged);
        out.push_back("Nominal Load Fraction      " + LoadFractionText(s.solve.loadFraction, 4));
    } else {
        out.push_back("Load Fraction              " + LoadFractionText(s.solve.loadFraction, 4) +
                      unconverged);
    }
    out.push_back(std::string("Strain Limit               ") + strainLimitCaption(s.limit));
    if (s.axis.exists) {
        out.push_back(Format("Neutral Axis Angle         %0.2F deg", {s.axis.angle}));
        out.push_back(Format("Neutral Axis Depth         %0.1F mm", {s.axis.depth}));
    } else {
        out.push_back("Neutral Axis               none (uniform strain)");
    }
    out.push_back(Format("Largest Compressive Strain %0.6F", {s.largestCompression}));
    out.push_back(Format("Largest Tensile Strain     %0.6F", {s.largestTension}));
    auto line = [&](const char* name, const ForceSum& f) {
        out.push_back(Format("%s P %0.3F kN, Mxx %0.3F kNm, Myy %0.3F kNm",
                             {std::string(name), f.N / 1e3, f.MY / 1e6, f.MX / 1e6}));
    };
    line("Concrete                  ", s.forces.concrete);
    line("Bars                      ", s.forces.bars);
    line("Steel Section             ", s.forces.steel);
    if (s.forces.other.N != 0 || s.forces.other.MX != 0 || s.forces.other.MY != 0)
        line("Other Fibres              ", s.forces.other);
    line("Total                     ", s.forces.total());
    return out;
}

}  // namespace qav
