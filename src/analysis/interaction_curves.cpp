#include "analysis/interaction_curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "analysis/material_laws.h"
#include "analysis/roots.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_state.h"

namespace qav {

namespace {
void resizeResult(std::vector<double>& v, int n) {
    v.resize(static_cast<std::size_t>(n));
}
}  // namespace

void requireFibres(const SectionModel& m) {
    requireCurrentMesh(m);
}

void requireFiniteResult(const char* analysis,
                         std::initializer_list<const std::vector<double>*> arrays, bool skipFirst) {
    for (const std::vector<double>* a : arrays)
        for (std::size_t i = skipFirst ? 1 : 0; i < a->size(); ++i)
            if (!std::isfinite((*a)[i]))
                throw ResultError(
                    Format("The %s analysis gave a number that is not finite (point %D); "
                           "no result is kept.",
                           {std::string(analysis), static_cast<long long>(i)}));
}

void requireRegularStiffness(const SectionSolver& solver, const char* analysis) {
    if (solver.singular())
        throw ResultError(
            Format("The section's stiffness is singular (its fibres lie on one line or have no "
                   "modulus): there is no %s.",
                   {std::string(analysis)}));
}

namespace {
// Each fibre at the limit strain: FC and FY1 wherever the laws reach them by then, and the stress
// the law gives at the limit where they do not (a strand, whose stress the solvers hold there at
// any strain, or a grade whose peak strain lies beyond it): the section in uniform compression
// and in uniform tension.
AxialCapacity controlAxialCapacity(const SectionModel& m) {
    double pmax = 0, steel = 0;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        double s = 0;
        if (f.TY == FIB_CORE_CONCRETE) {
            CONCRETE01(f.FC, f.EPS_0, EPS_LIMIT, s);
            pmax += f.AREA * s;
        }
        if (f.TY == FIB_STEEL || f.TY == FIB_REBAR) {
            STEEL01(STEEL_LAW_MODULUS, steelLawStrength(f.FY1), EPS_LIMIT, s);
            steel += f.AREA * s;
        }
    }
    return {(pmax + steel) / 1000.0, -steel / 1000.0};
}

}  // namespace

AxialCapacity axialCapacity(const SectionModel& m, const FibreArrays& ultimate) {
    double pmax = 0, steel = 0;
    if (codeAxialCapacity(ultimate, pmax, steel)) return {pmax, steel};
    return controlAxialCapacity(m);
}

AxialCapacity axialCapacity(const SectionModel& m) {
    // The code's capacity needs the fibres compiled with its laws; the control strain's reads the
    // model's fibres directly.
    return codeLimitApplies(m) ? axialCapacity(m, FibreArrays(m)) : controlAxialCapacity(m);
}

AxialEnds curveAxialEnds(const SectionModel& m, SharedSection section) {
    if (!section) section = compileSection(m);
    const AxialCapacity cap = section->axialCapacity();
    const int mode = sectionStrainLimitMode(m);
    NullMessages quiet;
    SectionSolver solver(std::move(section), quiet, m.settings.SOLVER);
    // A pure axial load scaled onto the surface, as the curve's top and its tension end are;
    // the estimate stands where a solve finds no finite state.
    auto end = [&](double P) {
        if (P == 0 || solver.singular()) return P;
        const SolveResult r = solver.loadFraction(P, 0, 0, 0, 0, 0, mode);
        return std::isfinite(r.loadFraction) && r.loadFraction > 0 ? P * r.loadFraction : P;
    };
    return {end(cap.PMAX), cap.PMIN < 0 ? end(cap.PMIN) : 0.0};
}

AxialEnds designAxialEnds(const SectionModel& m) {
    const DesignStrength d = designStrength(m);
    if (!d.applies) return curveAxialEnds(m);
    return {d.cap, (d.tension.empty() ? d.phiCompression : d.phiTension) * axialCapacity(m).PMIN};
}

std::optional<double> withinAxialRange(double P, double low, double high) {
    constexpr double PRINTED = 5e-4;  // half the last decimal of a listed force (kN)
    if (P >= low && P <= high) return P;
    if (P > high && P <= high + PRINTED) return high;
    if (P < low && P >= low - PRINTED) return low;
    return std::nullopt;
}

double requireCarriedAxialForce(const SectionModel& m, double P, const char* curve,
                                SharedSection section) {
    const AxialEnds e = curveAxialEnds(m, std::move(section));
    if (const std::optional<double> in = withinAxialRange(P, e.tension, e.compression)) return *in;
    throw InputError(
        Format("The axial force %s kN lies outside what the section carries, %s kN in tension to "
               "%s kN in compression (the ends of its P-M curve): there is no %s curve at it.",
               {Format("%g", {P}), Format("%0.3F", {e.tension}), Format("%0.3F", {e.compression}),
                std::string(curve)}));
}

void CALC_NMAX(SectionModel& m) {
    const AxialCapacity c = axialCapacity(m);
    m.results.PMAX = c.PMAX;
    m.results.PMIN = c.PMIN;
}

// In mode 2 the fast solver has no direct state: a point is the last solve of its search. The
// probes stand only at the reference iteration's tolerance, and a secant across their fractions
// may probe a load far off (a moment near zero) whose solve stalls; such a probe is given up for
// the next one, so only the point's own solve counts as converged or not.
namespace {
struct SearchSolves {
    bool searchOnly;
    SolveResult last;
    SearchSolves(const SectionSolver& solver, int mode)
        : searchOnly(solver.kind() == SolverKind::Fast && mode == 2) {}
    double add(const SolveResult& r, RunStats& stats, int fibres) {
        last = r;
        SolveResult counted = r;
        if (searchOnly) counted.converged = true;
        stats.add(counted, fibres);
        return r.loadFraction;
    }
    void finish(RunStats& stats) const {
        if (!searchOnly || last.converged) return;
        ++stats.notConverged;
        if (!(last.residual <= stats.worstResidual)) stats.worstResidual = last.residual;
    }
};
}  // namespace

// The trial moment whose load fraction is 1 at the axial force P. Under the fast solver the
// point itself is solved for first (one solve of the fast solver with the axial force held),
// and kept unless the load fraction of its load says otherwise: near pure tension a load can
// have more than one state, and where the load-fraction solve finds another one (a fraction
// other than 1), the search goes on from there as it would have. Where that solve does not
// converge, the direct state (which did) stands. Under the reference solver, its fixed-point
// iteration. mx and my become the moment; returns the load fraction of the last solve.
// other becomes the load fraction of another state along the direct state's own load where the
// search goes on from there (0 where it does not).
template <class Solve>
static double unitLoadFraction(SectionSolver& solver, int mode, double P, Solve&& solve, double& mx,
                               double& my, double tol, int maxSolves, RunStats& stats,
                               double* other = nullptr, SolverState* otherState = nullptr) {
    if (solver.kind() != SolverKind::Fast) return scaleTrialMoment(solve, mx, my, tol, maxSolves);
    const int fibres = solver.fibreCount();
    const SolveResult direct = solver.momentScaleAt(P, mx, my, mode);
    if (direct.converged && direct.loadFraction > 0) {
        const double s = direct.loadFraction;
        mx *= s;
        my *= s;
        // Without tension there is one state at P along the moment, and the load fraction of a
        // load at the edge of the compression zones says nothing: a load whose resultant
        // stands at the outer fibres' centroid is carried by a whole range of states, one for
        // every axial force short of some, and its fraction is any of theirs.
        if (solver.carriesNoTension()) {
            stats.add(direct, fibres);
            return 1.0;
        }
        const SolveResult check = solver.loadFraction(P, mx, my, 0, 0, 0, mode);
        if (!check.converged || std::fabs(check.loadFraction - 1) < FAST_SEARCH_TOLERANCE) {
            stats.add(direct, fibres);
            stats.addPasses(check.iterations, fibres);
            return check.converged ? check.loadFraction : 1.0;
        }
        if (std::fabs(check.loadFraction - 1) < DIRECT_STATE_AGREEMENT) {
            // Close to 1: the search refines the point, and where its solves fail (loads
            // beyond a steep edge of the surface) the direct state at P itself stands, its
            // solves' passes counted as given up.
            const RunStats before = stats;
            const double dmx = mx, dmy = my;
            const double lamda =
                findUnitLoadFraction(solve, mx, my, FAST_SEARCH_TOLERANCE, maxSolves);
            if (stats.notConverged == before.notConverged) {
                stats.addPasses(direct.iterations + check.iterations, fibres);
                return lamda;
            }
            const long long searched = stats.iterations - before.iterations;
            stats = before;
            stats.add(direct, fibres);
            stats.addPasses(check.iterations, fibres);
            stats.iterations += searched;
            stats.fibreEvaluations += searched * fibres;
            mx = dmx;
            my = dmy;
            return 1.0;
        }
        stats.addPasses(direct.iterations + check.iterations, fibres);
        if (other != nullptr && check.converged) *other = check.loadFraction;
        if (otherState != nullptr && check.converged) *otherState = solver.lastState();
    } else {
        stats.addPasses(direct.iterations, fibres);
    }
    return findUnitLoadFraction(solve, mx, my, FAST_SEARCH_TOLERANCE, maxSolves);
}

void CALC_PMM_POINT(SectionSolver& solver, int mode, double SINA, double COSA, double& NN,
                    double& MX, double& MY, RunStats& stats, double trialMoment) {
    const double P0 = NN;
    double ss[3];
    const bool endState = solver.kind() == SolverKind::Fast || !solver.steelYieldsByLimit();
    if (endState && P0 < 0 && solver.tensionEndForces(ss) &&
        std::fabs(ss[0] / 1000.0 - P0) <= 1e-9 * std::fabs(P0)) {
        // The tension end: the search's target is the pointed end of the surface, which only
        // the state of all steel yielded in tension reaches, whatever the direction. The
        // reference iteration closes in on it slowly (its solves there lie on a plateau where
        // nothing moves); its forces give the point exactly. Steel that does not yield by the
        // limit strain gives no such point: the search finds none (the load fraction runs off
        // to infinity), and the section in uniform tension at the limit is the end.
        SolveResult r;
        r.loadFraction = 1;
        r.converged = true;
        r.iterations = 1;
        stats.add(r, solver.fibreCount());
        NN = ss[0] / 1000.0;
        MX = ss[1] / 1e6;
        MY = ss[2] / 1e6;
        return;
    }
    double mx = trialMoment * SINA, my = trialMoment * COSA;
    SearchSolves solves(solver, mode);
    const double lamda = unitLoadFraction(
        solver, mode, P0,
        [&](double x, double y) {
            return solves.add(solver.loadFraction(P0, x, y, 0, 0, 0, mode), stats,
                              solver.fibreCount());
        },
        mx, my, 0.001, 100, stats);
    solves.finish(stats);
    NN = P0 * lamda;
    MX = mx;
    MY = my;
}

void requirePmCurveInput(const SectionModel& m) {
    const int n = m.settings.NPM;
    if (n < 2)
        throw InputError(
            Format("The P-M curve needs at least 2 steps per branch (NPM is %D).", {n}));
    if (n > MAX_CURVE_STEPS)
        throw InputError(Format("The P-M curve takes at most %D steps per branch (NPM is %D).",
                                {MAX_CURVE_STEPS, n}));
    requireFibres(m);
}

namespace {

// One P-M curve's searches: the two tension ends and the 2 n branch points between them, each
// kept with its plane and flagged when a solve of its own search did not converge.
class PmCurveRun {
public:
    PmCurveRun(SectionSolver& solver, int mode, int n, double PMAX, double PMIN, double ANG,
               Progress* progress)
        : solver_(solver),
          mode_(mode),
          n_(n),
          PMAX_(PMAX),
          PMIN_(PMIN),
          // The two bending capacities, the two tension ends and the 2 n branch points.
          steps_(progress, 2LL * n + 4),
          // A section with nothing to carry tension (plain concrete) carries no moment without
          // an axial force: its tension end is the origin, and the trial loads of the branches
          // (rays whose moment grows as the axial force falls) would mostly miss its surface,
          // which meets the origin at the largest eccentricity the section has. Its branch
          // points are the surface points at axial forces evenly spaced from 0 to the crushing
          // load instead.
          noTension_(!(PMIN < 0)),
          trial_(solver.trialMoment()) {
        const double r = std::numbers::pi / 180.0;
        SA_ = std::sin(ANG * r);
        CA_ = std::cos(ANG * r);
        SB_ = std::sin((ANG + 180) * r);
        CB_ = std::cos((ANG + 180) * r);
        const std::size_t size = 2 * static_cast<std::size_t>(n) + 3;
        resizeResult(c_.P, 2 * n + 3);
        resizeResult(c_.MX, 2 * n + 3);
        resizeResult(c_.MY, 2 * n + 3);
        resizeResult(c_.M, 2 * n + 3);
        c_.converged.assign(size, 1);
        c_.planes.assign(size, {0, 0, 0});
    }

    PmCurve run() {
        double MXa = 0, MYa = 0, MXb = 0, MYb = 0;
        if (!noTension_) {
            // Bending capacity of each branch at a small axial force.
            const double la = solve(0.01 * PMAX_, trial_ * SA_, trial_ * CA_);
            MXa = trial_ * SA_ * la;
            MYa = trial_ * CA_ * la;
            const double lb = solve(0.01 * PMAX_, trial_ * SB_, trial_ * CB_);
            MXb = trial_ * SB_ * lb;
            MYb = trial_ * CB_ * lb;
        }
        steps_.step();
        steps_.step();
        // The axial force of the pure compression point, the top of a sweep of axial forces.
        crushing_ = noTension_ ? PMAX_ * solve(PMAX_, 0, 0) : 0.0;
        const int n = n_;
        tensionEnd(1);
        for (int i = 1; i <= n; ++i) branchPoint(i, i + 1, MXa, MYa, +1);
        for (int i = n; i >= 1; --i) branchPoint(i, 2 * n + 2 - i, MXb, MYb, -1);
        tensionEnd(2 * n + 2);
        requireFiniteResult("P-M curve", {&c_.P, &c_.MX, &c_.MY, &c_.M}, true);
        return std::move(c_);
    }

private:
    double solve(double P, double mx, double my) {
        const SolveResult s = solver_.loadFraction(P, mx, my, 0, 0, 0, mode_);
        c_.stats.add(s, solver_.fibreCount());
        return s.loadFraction;
    }
    void keepPlane(std::size_t k) {
        const SolverState s = solver_.lastState();
        if (s.evaluated) c_.planes[k] = {s.fibreAbc[0], s.fibreAbc[1], s.fibreAbc[2]};
    }
    // A point is flagged when a solve of its own search did not converge. The solves that only
    // aim the trial loads (the bending capacities, the crushing load) flag none: a point whose
    // solves converged lies on the surface whatever aimed it.
    void flagPoint(int k, long long unconvergedBefore) {
        c_.converged[static_cast<std::size_t>(k)] =
            c_.stats.notConverged == unconvergedBefore ? 1 : 0;
    }
    void tensionEnd(int k) {
        const long long before = c_.stats.notConverged;
        double NN = noTension_ ? 0.0 : PMIN_, MX = 0, MY = 0;
        if (!noTension_) CALC_PMM_POINT(solver_, mode_, SA_, CA_, NN, MX, MY, c_.stats, trial_);
        const auto i = static_cast<std::size_t>(k);
        c_.P[i] = NN;
        c_.MX[i] = MX;
        c_.MY[i] = MY;
        c_.M[i] = std::sqrt(MX * MX + MY * MY);
        if (!noTension_) keepPlane(i);
        flagPoint(k, before);
        steps_.step();
    }
    // Trial loads on the straight line from (PMIN, MX0, MY0) to (PMAX, 0, 0), each scaled onto
    // the surface by its own load fraction.
    void branchPoint(int i, int k, double MX0, double MY0, double side) {
        const auto kk = static_cast<std::size_t>(k);
        const long long before = c_.stats.notConverged;
        if (noTension_ && i < n_) {
            plainBranchPoint(i, kk, side);
        } else {
            const double P = PMIN_ + (PMAX_ - PMIN_) / (n_ - 1) * (i - 1);
            const double mx = MX0 + (0 - MX0) / (n_ - 1) * (i - 1);
            const double my = MY0 + (0 - MY0) / (n_ - 1) * (i - 1);
            const double l = solve(P, mx, my);
            c_.P[kk] = P * l;
            c_.MY[kk] = my * l;
            c_.MX[kk] = mx * l;
        }
        c_.M[kk] = side * std::sqrt(c_.MX[kk] * c_.MX[kk] + c_.MY[kk] * c_.MY[kk]);
        keepPlane(kk);
        flagPoint(k, before);
        steps_.step();
    }
    // A branch point of a section without tension, at its share of the crushing load.
    void plainBranchPoint(int i, std::size_t kk, double side) {
        double NN = crushing_ * (i - 1) / (n_ - 1), MX = 0, MY = 0;
        // The trial moment puts the axial force halfway to the section's edge: every such load
        // has a state (the surface spans all eccentricities short of the edge), where a moment
        // far beyond, the usual trial, is a load this section does not carry at all, and the
        // searches lose their way from there.
        const double sa = side > 0 ? SA_ : SB_, ca = side > 0 ? CA_ : CB_;
        const double edge = solver_.controlExtent(sa, ca) / 1000.0;
        if (i > 1) CALC_PMM_POINT(solver_, mode_, sa, ca, NN, MX, MY, c_.stats, 0.5 * NN * edge);
        c_.P[kk] = NN;
        c_.MX[kk] = MX;
        c_.MY[kk] = MY;
    }

    SectionSolver& solver_;
    int mode_, n_;
    double PMAX_, PMIN_;
    StepProgress steps_;
    bool noTension_;
    double trial_;
    double SA_ = 0, CA_ = 0, SB_ = 0, CB_ = 0;
    double crushing_ = 0;
    PmCurve c_;
};

}  // namespace

PmCurve computePmCurve(SectionSolver& solver, int mode, int n, double PMAX, double PMIN, double ANG,
                       Progress* progress) {
    return PmCurveRun(solver, mode, n, PMAX, PMIN, ANG, progress).run();
}

void designPmCurve(const DesignStrength& d, PmCurve& c) {
    if (!d.applies) return;
    c.nomP = c.P;
    c.nomMX = c.MX;
    c.nomMY = c.MY;
    c.nomM = c.M;
    c.phi.assign(c.P.size(), 0.0);
    // Element 0 is no point.
    for (std::size_t k = 1; k < c.P.size(); ++k) {
        const DesignPoint p =
            designPointOfState(d, k < c.planes.size() ? c.planes[k].data() : nullptr, c.nomP[k],
                               c.nomMX[k], c.nomMY[k]);
        const double phi = p.phi;
        c.phi[k] = phi;
        c.P[k] = p.P;
        c.MX[k] = p.MX;
        c.MY[k] = p.MY;
        c.M[k] = phi * c.nomM[k];
    }
}

namespace {
// A new result array keeps the element 0 of the one it replaces, which no run writes.
void replaceResult(std::vector<double>& old, std::vector<double>&& fresh) {
    if (!old.empty() && !fresh.empty()) fresh[0] = old[0];
    old = std::move(fresh);
}
}  // namespace

PmResult pmCurveAnalysis(const SectionModel& m, double ANG, Messages& msgs, Progress* progress,
                         int mode) {
    if (mode == 0) mode = m.results.STRAIN_LIMIT_MODE;
    requirePmCurveInput(m);
    const SharedSection section = compileSection(m);
    const AxialCapacity cap = section->axialCapacity();
    SectionSolver solver(section, msgs, m.settings.SOLVER);
    requireRegularStiffness(solver, "P-M curve");
    PmResult r;
    r.curve = computePmCurve(solver, mode, m.settings.NPM, cap.PMAX, cap.PMIN, ANG, progress);
    designPmCurve(designStrength(m), r.curve);
    r.PMAX = cap.PMAX;
    r.PMIN = cap.PMIN;
    r.state = solver.lastState();
    r.stamp = m.mesh.MESH_STAMP;
    return r;
}

void keepPmResult(SectionResults& r, PmResult&& pm) {
    r.PMAX = pm.PMAX;
    r.PMIN = pm.PMIN;
    replaceResult(r.PM_P, std::move(pm.curve.P));
    replaceResult(r.PM_MX, std::move(pm.curve.MX));
    replaceResult(r.PM_MY, std::move(pm.curve.MY));
    replaceResult(r.PM_M, std::move(pm.curve.M));
    r.PM_CONVERGED = std::move(pm.curve.converged);
    r.PM_NOM_P = std::move(pm.curve.nomP);
    r.PM_NOM_MX = std::move(pm.curve.nomMX);
    r.PM_NOM_MY = std::move(pm.curve.nomMY);
    r.PM_NOM_M = std::move(pm.curve.nomM);
    r.PM_PHI = std::move(pm.curve.phi);
    r.RESULTS_STAMP = pm.stamp;
}

namespace {
// How far from 1 the load fraction of a Myy-Mxx point found by the fast solver may stand: its
// axial force is the one asked for to this part.
constexpr double MM_POINT_TOLERANCE = 1e-6;
}  // namespace

MmPoint mmCurvePoint(SectionSolver& solver, int mode, double AXIAL_FORCE, double theta,
                     RunStats& stats, bool noTension) {
    const double s = std::sin(theta * std::numbers::pi / 180.0);
    const double c = std::cos(theta * std::numbers::pi / 180.0);
    // A section with nothing to carry tension has no state under a moment far beyond: its trial
    // puts the axial force halfway to its edge, as its P-M curve does.
    const double trial =
        noTension ? 0.5 * AXIAL_FORCE * solver.controlExtent(s, c) / 1000.0 : solver.trialMoment();
    double mx = trial * s, my = trial * c;
    SearchSolves solves(solver, mode);
    // The state of the last probe that converged: the next probe, a load beside it, starts
    // from there. Where the point's direct state has another state along its load, the search
    // starts from that one's side of the seam.
    SolverState near;
    auto solve = [&](double x, double y) {
        const SolveResult r = solver.loadFractionNear(AXIAL_FORCE, x, y, mode,
                                                      near.evaluated ? near.fibreAbc : nullptr);
        if (r.converged) near = solver.lastState();
        return solves.add(r, stats, solver.fibreCount());
    };
    double other = 0;
    double lamda = unitLoadFraction(solver, mode, AXIAL_FORCE, solve, mx, my, 0.01, 1000, stats,
                                    &other, &near);
    solves.finish(stats);
    // The reference solves the last trial moment once more; the fast search already has its
    // load fraction (the same solve gives the same number).
    if (solver.kind() != SolverKind::Fast) lamda = solve(mx, my);
    // Where the fractions along the ray jump across 1 between two limit states (the search
    // ends at a state solved to the fast solver's tolerance, its fraction exact and off 1), or
    // the direct state's load has another state and the search from there finds none, the ray
    // crosses a fold: no point of the curve lies on it. A last state settled only to the
    // reference iteration's tolerance has a fraction good to that alone, and stands as that
    // iteration gives it; a search lost otherwise is counted as not converged by its solves.
    double fold = 0;
    const SolveResult& last = solves.last;
    if (solver.kind() == SolverKind::Fast) {
        if (last.converged && last.residual <= FAST_SOLVER_TOLERANCE &&
            std::fabs(lamda - 1) > MM_POINT_TOLERANCE)
            fold = lamda;
        else if (!last.converged)
            fold = other;
    }
    return {AXIAL_FORCE * lamda, mx * lamda, my * lamda, fold};
}

double requireDesignAxialForce(const SectionModel& m, const DesignStrength& d, double P) {
    const double low =
        (d.tension.empty() ? d.phiCompression : d.phiTension) * axialCapacity(m).PMIN;
    if (const std::optional<double> in = withinAxialRange(P, low, d.cap)) return *in;
    throw InputError(
        Format("The design axial force %s kN lies outside the section's design range, "
               "%s kN (tension) to phi Pn,max %s kN: there is no Myy-Mxx curve at it.",
               {Format("%g", {P}), Format("%0.3F", {low}), Format("%0.3F", {d.cap})}));
}

namespace {

// The trials of a design point's search in phi: the nominal point at the axial force P / phi and
// the phi of its state. The point returned counts in full in the run's stats; a trial given up
// counts its solves and passes only.
class PhiTrials {
public:
    PhiTrials(SectionSolver& solver, int mode, const DesignStrength& d, const AxialCapacity& cap,
              double P, double theta, RunStats& stats, bool noTension)
        : solver_(solver),
          mode_(mode),
          d_(d),
          cap_(cap),
          P_(P),
          theta_(theta),
          stats_(stats),
          noTension_(noTension) {}
    DesignMmPoint at(double phi) {
        const double Pn = std::clamp(P_ / phi, cap_.PMIN, cap_.PMAX);
        DesignMmPoint p;
        p.nominal = mmCurvePoint(solver_, mode_, Pn, theta_, p.stats, noTension_);
        const SolverState s = solver_.lastState();
        p.phi = phiOfState(d_, s.evaluated ? s.fibreAbc : nullptr);
        return p;
    }
    DesignMmPoint keep(const DesignMmPoint& p) {
        stats_.add(p.stats);
        return p;
    }
    void giveUp(const DesignMmPoint& p) {
        stats_.solves += p.stats.solves;
        stats_.iterations += p.stats.iterations;
        stats_.fibreEvaluations += p.stats.fibreEvaluations;
    }
    // Between the trials lo and hi, whose mismatches g = phi(state) - phi lie on either side of
    // zero: the point whose state's phi comes nearest its trial phi (the design point is
    // phi(state) x state), by regula falsi.
    DesignMmPoint between(double lo, const DesignMmPoint& pLo, double hi,
                          const DesignMmPoint& pHi) {
        const double gLo = pLo.phi - lo, gHi = pHi.phi - hi;
        const bool loBetter = std::fabs(gLo) < std::fabs(gHi);
        giveUp(loBetter ? pHi : pLo);
        DesignMmPoint best = loBetter ? pLo : pHi;
        double gBest = loBetter ? gLo : gHi;
        auto mismatch = [&](double phi) {
            DesignMmPoint p = at(phi);
            const double g = p.phi - phi;
            if (std::fabs(g) < std::fabs(gBest)) {
                giveUp(best);
                best = p;
                gBest = g;
            } else {
                giveUp(p);
            }
            return g;
        };
        rootIn(mismatch, lo, gLo, hi, gHi, {MAX_PHI_STEPS, 0, 0, PHI_TOLERANCE});
        return keep(best);
    }

private:
    SectionSolver& solver_;
    int mode_;
    const DesignStrength& d_;
    const AxialCapacity& cap_;
    double P_, theta_;
    RunStats& stats_;
    bool noTension_;
};

}  // namespace

DesignMmPoint designMmPoint(SectionSolver& solver, int mode, const DesignStrength& d,
                            const AxialCapacity& cap, double P, double theta, RunStats& stats,
                            bool noTension) {
    PhiTrials trials(solver, mode, d, cap, P, theta, stats, noTension);
    // g(phi) = phi(state at P / phi) - phi is positive at the compression-controlled phi and
    // negative at the tension-controlled one unless an end is the answer; between them the
    // root is bracketed. The nominal force P / phi stays within PMIN..PMAX: a smaller phi would
    // ask for a state beyond the section's ends.
    double lo = d.phiCompression, hi = d.phiTension;
    const double within = 1 + PHI_TOLERANCE;
    if (P < 0 && cap.PMIN < 0) lo = std::max(lo, std::min(hi, P / cap.PMIN * within));
    if (P > 0 && cap.PMAX > 0) lo = std::max(lo, std::min(hi, P / cap.PMAX * within));
    // At zero axial force phi changes nothing of the nominal state: one solve, its own phi.
    if (P == 0 || d.tension.empty()) return trials.keep(trials.at(lo));
    // In tension a larger phi asks for less tension, so the state's phi falls as the trial phi
    // rises: g falls and its root is unique. The tension-controlled end, the usual answer, is
    // tried first; the other end lies at PMIN itself, the costliest state to solve.
    DesignMmPoint pHi;
    const bool tensionFirst = P < 0;
    if (tensionFirst) {
        pHi = trials.at(hi);
        if (!(pHi.phi - hi < -PHI_TOLERANCE)) return trials.keep(pHi);
    }
    const DesignMmPoint pLo = trials.at(lo);
    if (!(pLo.phi - lo > PHI_TOLERANCE)) {
        if (tensionFirst) trials.giveUp(pHi);
        return trials.keep(pLo);
    }
    if (!tensionFirst) {
        pHi = trials.at(hi);
        if (!(pHi.phi - hi < -PHI_TOLERANCE)) {
            trials.giveUp(pLo);
            return trials.keep(pHi);
        }
    }
    return trials.between(lo, pLo, hi, pHi);
}

// A Myy-Mxx curve is traced along rays from zero moment. Where the section cannot carry the
// axial force without a moment (near pure tension on an L or T shape, whose tension steel lies
// off the centre), zero moment lies outside the curve: most rays meet no state at all and their
// solves end at states that are not on the curve. Such a force is refused.
namespace {
// A load fraction this close below 1 is the boundary itself, not a force carried only in part.
constexpr double ZERO_MOMENT_TOLERANCE = 1e-6;
// The probes off a pure axial load whose own solve fails: how many, and their moment as a part
// of the force's at the section's edge in their direction.
constexpr int ZERO_MOMENT_PROBES = 8;
constexpr double ZERO_MOMENT_PROBE = 1e-6;

// The nominal axial force a design force in tension asks of the section: there every state
// is tension-controlled (the points' phi is the tension one), so the curve runs through the
// nominal states at P / phi, and zero moment must lie inside their curve, not the one at P.
double nominalNearTension(const DesignStrength& d, const AxialCapacity& cap, double P) {
    if (!d.applies || !(P < 0) || d.tension.empty() || !(d.phiTension > 0)) return P;
    return std::max(P / d.phiTension, cap.PMIN);
}

// shown: the force as the message gives it.
void requireZeroMomentInside(SectionSolver& solver, double P, int mode, const std::string& shown) {
    const double carried = fractionWithoutMoment(solver, P, mode);
    if (carried < 1)
        throw InputError(Format(
            "The section carries the axial force %s kN only with a moment: without one it carries "
            "%s of it, so the Myy-Mxx curve at this force does not surround zero moment. Choose "
            "an axial force nearer to zero.",
            {shown, Format("%0.3F", {carried})}));
}

void requireNoFold(const MmPoint& p, double P, double theta) {
    if (p.fold == 0) return;
    throw InputError(Format(
        "At the axial force %s kN the section's limit states fold: along the moment direction %s "
        "degrees the load fractions jump across 1 between two limit states (one at %s), so no "
        "load there has a load fraction of 1. There is no Myy-Mxx curve at this force; choose an "
        "axial force nearer to zero.",
        {Format("%g", {P}), Format("%g", {theta}), Format("%0.6F", {p.fold})}));
}
}  // namespace

double fractionWithoutMoment(SectionSolver& solver, double P, int mode) {
    if (P == 0) return 1;
    SolveResult r = solver.loadFraction(P, 0, 0, 0, 0, 0, mode);
    // Where the pure axial load's state sits on the seam between the family's pieces (the most
    // compressed point just at zero strain), the solves cannot settle on either side of it. A
    // load a hair off it, its moment a small part of the force's at the section's edge, has a
    // state on one side or the other: the smallest fraction of a round of them answers.
    const bool seam = !r.converged;
    for (int k = 0; seam && k < ZERO_MOMENT_PROBES; ++k) {
        const double theta = 2 * std::numbers::pi * k / ZERO_MOMENT_PROBES;
        const double s = std::sin(theta), c = std::cos(theta);
        const double probe = ZERO_MOMENT_PROBE * std::fabs(P) * solver.controlExtent(s, c) / 1000;
        const SolveResult q = solver.loadFraction(P, probe * s, probe * c, 0, 0, 0, mode);
        if (q.converged && (!r.converged || q.loadFraction < r.loadFraction)) r = q;
    }
    return r.converged && r.loadFraction < 1 - ZERO_MOMENT_TOLERANCE ? r.loadFraction : 1;
}

namespace {
void requireMmSteps(int n) {
    if (n < 1)
        throw InputError(Format("The Myy-Mxx curve needs at least 1 angle step (NMM is %D).", {n}));
    if (n > MAX_CURVE_STEPS)
        throw InputError(Format("The Myy-Mxx curve takes at most %D angle steps (NMM is %D).",
                                {MAX_CURVE_STEPS, n}));
}
}  // namespace

MmResult mmCurveAnalysis(const SectionModel& m, double AXIAL_FORCE, Messages& msgs,
                         Progress* progress, int mode) {
    if (mode == 0) mode = m.results.STRAIN_LIMIT_MODE;
    const int n = m.settings.NMM;
    requireMmSteps(n);
    requireFibres(m);
    const DesignStrength design = designStrength(m);
    // A force at an end as listed (3 decimals) is the end itself.
    const SharedSection section = compileSection(m);
    AXIAL_FORCE = design.applies ? requireDesignAxialForce(m, design, AXIAL_FORCE)
                                 : requireCarriedAxialForce(m, AXIAL_FORCE, "Myy-Mxx", section);
    MmResult r;
    const auto points = static_cast<std::size_t>(n) + 1;
    if (design.applies) {
        r.nomMX.assign(points, 0.0);
        r.nomMY = r.nomMX;
        r.phi.assign(points, design.phiCompression);
    }
    r.MX.assign(points, 0.0);
    r.MY.assign(points, 0.0);
    r.converged.assign(points, 1);
    RunStats& stats = r.stats;
    SectionSolver solver(section, msgs, m.settings.SOLVER);
    requireRegularStiffness(solver, "Myy-Mxx curve");
    const double nominal = nominalNearTension(design, section->axialCapacity(), AXIAL_FORCE);
    requireZeroMomentInside(
        solver, nominal, mode,
        nominal == AXIAL_FORCE ? Format("%g", {AXIAL_FORCE}) : Format("%0.3F", {nominal}));
    StepProgress steps(progress, n + 1LL);
    // A section with nothing to carry tension carries no moment at zero axial force: the curve
    // is the origin (a solve would look for a state that does not exist).
    const AxialCapacity cap = section->axialCapacity();
    const bool noTension = !(cap.PMIN < 0), origin = noTension && AXIAL_FORCE == 0;
    for (int i = 0; i <= n && !origin; ++i) {
        const double theta = static_cast<double>(static_cast<long long>(i) * 360) / n;
        const long long before = stats.notConverged;
        const auto ui = static_cast<std::size_t>(i);
        if (design.applies) {
            const DesignMmPoint p =
                designMmPoint(solver, mode, design, cap, AXIAL_FORCE, theta, stats, noTension);
            r.nomMX[ui] = p.nominal.MX;
            r.nomMY[ui] = p.nominal.MY;
            r.phi[ui] = p.phi;
            r.MX[ui] = p.phi * p.nominal.MX;
            r.MY[ui] = p.phi * p.nominal.MY;
            requireNoFold(p.nominal, AXIAL_FORCE, theta);
        } else {
            const MmPoint p = mmCurvePoint(solver, mode, AXIAL_FORCE, theta, stats, noTension);
            r.MX[ui] = p.MX;
            r.MY[ui] = p.MY;
            requireNoFold(p, AXIAL_FORCE, theta);
        }
        r.converged[ui] = stats.notConverged == before ? 1 : 0;
        steps.step();
    }
    requireFiniteResult("Myy-Mxx curve", {&r.MX, &r.MY, &r.nomMX, &r.nomMY, &r.phi}, false);
    r.state = solver.lastState();
    r.stamp = m.mesh.MESH_STAMP;
    return r;
}

void keepMmResult(SectionResults& r, MmResult&& mm) {
    r.MM_MX = std::move(mm.MX);
    r.MM_MY = std::move(mm.MY);
    r.MM_CONVERGED = std::move(mm.converged);
    r.MM_NOM_MX = std::move(mm.nomMX);
    r.MM_NOM_MY = std::move(mm.nomMY);
    r.MM_PHI = std::move(mm.phi);
    r.RESULTS_STAMP = mm.stamp;
}

RunStats RUN_PM_CURVE_ANALYSIS(SectionModel& m, double ANG, Messages& msgs, Progress* progress) {
    PmResult r = pmCurveAnalysis(m, ANG, msgs, progress);
    const RunStats stats = r.curve.stats;
    const SolverState state = r.state;
    keepPmResult(m.results, std::move(r));
    keepSolverState(m, state);
    reportUnconverged(stats, msgs);
    return stats;
}

RunStats RUN_MM_CURVE_ANALYSIS(SectionModel& m, double AXIAL_FORCE, Messages& msgs,
                               Progress* progress) {
    MmResult r = mmCurveAnalysis(m, AXIAL_FORCE, msgs, progress);
    const RunStats stats = r.stats;
    const SolverState state = r.state;
    keepMmResult(m.results, std::move(r));
    keepSolverState(m, state);
    reportUnconverged(stats, msgs);
    return stats;
}

}  // namespace qav
