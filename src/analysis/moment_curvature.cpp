#include "analysis/moment_curvature.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "analysis/curvature_search.h"
#include "analysis/fibre_arrays.h"
#include "analysis/interaction_curves.h"
#include "analysis/material_laws.h"
#include "analysis/roots.h"
#include "model/errors.h"
#include "model/number_text.h"

namespace qav {

namespace {
void fibZone(const SectionModel& m, double& width, double& height) {
    width = height = 0;
    const std::vector<ControlPoint> cp = strainControlPoints(m);
    if (cp.empty()) return;
    double xmin = cp[0].X, xmax = xmin, ymin = cp[0].Y, ymax = ymin;
    for (const ControlPoint& c : cp) {
        if (c.X > xmax) xmax = c.X;
        if (c.X < xmin) xmin = c.X;
        if (c.Y > ymax) ymax = c.Y;
        if (c.Y < ymin) ymin = c.Y;
    }
    width = xmax - xmin;
    height = ymax - ymin;
}

// The uniform compressive strain under which the fibres carry the axial force N (N): the least
// extreme strain of any state of a section that carries no tension, found by halving (the force
// does not fall as a uniform strain grows, up to the limit).
double uniformStrainAt(const FibreArrays& f, double N, double limit) {
    double lo = 0, hi = limit;
    auto carriesLess = [&](double eps) {
        const double abc[3] = {eps, 0, 0};
        double ss[3];
        sumFibreForces(f, abc, ss);  // fibres of other kinds included
        return ss[0] < N;
    };
    halveTo(carriesLess, lo, hi, 200, 1e-15 * limit);
    return hi;
}
// The axial force (N) of the section bent along (dx, dy) without end, its compressed edge (the
// control points' extreme, top mm along the direction) at the strain eps: the fibres at that
// edge keep eps, every other one is strained far into tension. Bending more tensions every
// fibre more, so no state along the axis with that edge strain carries a force below it.
double forceAtEndlessCurvature(const FibreArrays& f, double dx, double dy, double top, double depth,
                               double eps) {
    // A strain difference of 1e3 over the depth takes every fibre more than a millionth of the
    // depth below the edge beyond any yield strain.
    const double k = 1e3 / depth;
    const double abc[3] = {eps - k * top, k * dx, k * dy};
    double ss[3];
    sumFibreForces(f, abc, ss);
    return ss[0];
}

// Under a tension the steel at the compressed edge caps the strain a state along the axis
// can have there: once that steel takes more compression than the rest can make up in
// tension, no state carries the force (a section of bars alone, its outer bars at its
// edge). The solves of such steps end at states off the axis or at none; the curve is refused
// with the largest strain it reaches. Returns that strain, or maxStrain where every step has
// a state.
double largestStrainUnderTension(const FibreArrays& f, double N, double dx, double dy, double top,
                                 double depth, double maxStrain) {
    if (!(N < 0) || !(depth > 0)) return maxStrain;
    if (forceAtEndlessCurvature(f, dx, dy, top, depth, maxStrain) <= N) return maxStrain;
    double lo = 0, hi = maxStrain;
    halveTo([&](double eps) { return forceAtEndlessCurvature(f, dx, dy, top, depth, eps) <= N; },
            lo, hi, 100, 1e-12 * maxStrain);
    return lo;
}

// The tilt (radians) of the strain gradient of abc from the direction (ux, uy); keep where the
// plane has no gradient along it.
double tiltOf(const double abc[3], double ux, double uy, double keep) {
    const double along = abc[1] * ux + abc[2] * uy, across = -abc[1] * uy + abc[2] * ux;
    if (!(along > 0)) return keep;
    return std::atan2(across, along);
}

// The largest and smallest strain of the control points under abc.
void controlExtremes(const FibreArrays& f, const double abc[3], double& emax, double& emin) {
    emax = -INFINITY;
    emin = INFINITY;
    for (std::size_t c = 0; c < f.cpX.size(); ++c) {
        const double e = abc[0] + abc[1] * f.cpX[c] + abc[2] * f.cpY[c];
        emax = std::max(emax, e);
        emin = std::min(emin, e);
    }
}

// How far the forces of the state abc miss those of a point of the curve: the axial force N (N)
// and a positive moment along (ux, uy) alone, relative to the forces in the reference
// iteration's own measure (forces in N, moments in N mm). A moment the other way misses by
// twice its size.
double stepMiss(const FibreArrays& f, const double abc[3], double N, double ux, double uy) {
    double ss[3];
    sumFibreForces(f, abc, ss);
    const double along = ux * ss[1] + uy * ss[2], across = -uy * ss[1] + ux * ss[2];
    const double size = std::sqrt(ss[0] * ss[0] + ss[1] * ss[1] + ss[2] * ss[2]);
    const double miss = std::hypot(std::hypot(ss[0] - N, across), 2 * std::fmin(along, 0.0));
    return size > 0 ? miss / size : INFINITY;
}

// The nested search for a step the solver left without a point: the state found when it is one
// (found false otherwise, passes counted either way). Under a tension a step with no state
// without a moment about the other axis, or whose only one bends the other way (the yielded
// tension steel's own moment outweighs what the compressed part can add), refuses the curve.
CurvatureState searchedStep(const FibreArrays& f, const MphiInput& in, double ux, double uy,
                            double eps, double tilt) {
    const double load = 1000 * in.axialForce;
    CurvatureState s = searchCurvatureState(f, load, ux, uy, eps, tilt);
    const double along = ux * s.ss[1] + uy * s.ss[2];
    if (load < 0 && (s.noState || (s.found && s.residual < SOLVER_TOLERANCE && !(along > 0))))
        throw InputError(Format(
            "Under %s kN no state of the section bent about its axis with an extreme compressive "
            "strain of %s carries a moment of the asked sign about that axis alone: the steel "
            "yielded in tension pulls off its centre more than the compressed part can balance, "
            "so there is no M-Phi curve at this force. Choose an axial force nearer to zero.",
            {Format("%g", {in.axialForce}), Format("%0.6F", {eps})}));
    s.found = s.found && stepMiss(f, s.abc, load, ux, uy) <= SOLVER_TOLERANCE;
    return s;
}

// Whether any concrete fibre has an ACI 318 stress block factor.
bool blockConcrete(const SectionModel& m) {
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        if ((f.TY == FIB_CORE_CONCRETE || f.TY == FIB_COVER_CONCRETE) && f.BETA1 > 0) return true;
    }
    return false;
}

// The curve starts from zero moment at zero curvature. Where the section carries the axial
// force only with a moment (near pure tension on a shape whose tension steel lies off the
// reference point) no state along the axis reaches down to zero moment, and the steps' solves
// end at states that are not on any curve: such a force is refused, as the Myy-Mxx curve does.
void requireZeroMomentAtStart(const SectionModel& m, SharedSection ultimate, double P,
                              Messages& msgs) {
    SectionSolver limit(std::move(ultimate), msgs, m.settings.SOLVER);
    const double carried = fractionWithoutMoment(limit, P, m.results.STRAIN_LIMIT_MODE);
    if (carried < 1)
        throw InputError(
            Format("The section carries the axial force %s kN only with a moment: without one it "
                   "carries %s of it, so there is no M-Phi curve from zero moment at this force. "
                   "Choose an axial force nearer to zero.",
                   {Format("%g", {P}), Format("%0.3F", {carried})}));
}

// The curvature about the bending axis (1/m): the strain plane's gradient along the direction
// (fx, fy) of the bend. Where the step left no state, the spread of the control points' strains
// over their depth.
double curvatureAbout(const SolverState& s, double fx, double fy, double spread, double depth) {
    if (s.evaluated) return std::fabs(s.fibreAbc[1] * fx + s.fibreAbc[2] * fy) * 1000.0;
    return std::fabs(spread) / (depth / 1000.0);
}

// What the run's notes say of the concrete's own limit: the law an ACI 318-19 grade takes along
// the run, and a Max Comp strain beyond the least ultimate strain of the section's grades,
// under either limit.
void noteUltimateStrain(const SectionModel& m, double maxStrain, Messages& msgs) {
    const double ultimate = codeUltimateStrain(m);
    if (blockConcrete(m))
        msgs.message(Format(
            "ACI 318-19 concrete: the M-Phi curve uses a parabola with a plateau at 0.85 f'c "
            "(reached at eps0 = 2 x 0.85 f'c / Ec, Ec = 4700 sqrt(f'c)), not the rectangular "
            "stress block of the design strength, up to the Max Comp strain %s.",
            {Format("%g", {maxStrain})}));
    if (ultimate > 0 && maxStrain > ultimate * (1 + 1e-9))
        msgs.message(Format(
            "Max Comp strain %s lies beyond the ultimate strain %s of the section's concrete: "
            "the steps beyond it are past the concrete's ultimate state%s.",
            {Format("%g", {maxStrain}), Format("%g", {ultimate}),
             std::string(codeLimitApplies(m) ? " under the code's limits"
                                             : ", which the control strain does not check")}));
}

}  // namespace

double codeUltimateStrain(const SectionModel& m) {
    double least = 0;
    for (const LimitPoint& p : codeLimitPoints(m))
        if (p.epsCu > 0 && (least == 0 || p.epsCu < least)) least = p.epsCu;
    return least;
}

double mphiDefaultMaxStrain(const SectionModel& m) {
    const double ultimate = codeLimitApplies(m) ? codeUltimateStrain(m) : 0.0;
    return ultimate > 0 ? ultimate : MPHI_MAX_STRAIN;
}

void GET_FIB_ZONE(SectionModel& m) {
    fibZone(m, m.mesh.FIB_ZONE_WIDTH, m.mesh.FIB_ZONE_HEIGHT);
}

namespace {

void requireMphiSteps(const MphiInput& in) {
    if (in.steps < 1)
        throw InputError(Format(
            "The M-Phi curve needs at least 1 strain step (Num of Steps is %D).", {in.steps}));
    if (in.steps > MAX_CURVE_STEPS)
        throw InputError(
            Format("The M-Phi curve takes at most %D strain steps (Num of Steps is %D).",
                   {MAX_CURVE_STEPS, in.steps}));
    if (!(in.maxStrain > 0))
        throw InputError(Format("The M-Phi curve needs a Max Comp strain above 0 (it is %s).",
                                {Format("%g", {in.maxStrain})}));
}

// A strain step's point.
struct MphiStep {
    double moment = 0, curvature = 0;
    RunStats stats;
};

// The strain steps of one M-Phi curve on its solver, about the axis (fx, fy) in the sense f;
// each step starts its nested search (where it needs one) from the last step's tilt.
class MphiSteps {
public:
    MphiSteps(SectionSolver& solver, const MphiInput& in, double depth)
        : solver_(solver),
          in_(in),
          f_(in.negative ? -1.0 : 1.0),
          fx_(in.aboutY ? 1.0 : 0.0),
          fy_(in.aboutY ? 0.0 : 1.0),
          depth_(depth),
          load_(1000 * in.axialForce),
          fast_(solver.kind() == SolverKind::Fast),
          // The reference keeps its fixed trial moment; the fast solver's is in proportion to
          // the section, so that a large section is not searched from a moment far inside its
          // capacity.
          trial_(fast_ ? solver.trialMoment() : 1e6) {}

    MphiStep step(double eps) {
        MphiStep out;
        RunStats& step = out.stats;
        double mx = fx_ * trial_ * f_, my = f_ * (fy_ * trial_);
        SolveResult last;
        const double lamda = unitFraction(eps, mx, my, step, last);
        out.moment = std::fabs((mx + my) * lamda);
        double emax = last.emax, emin = last.emin;
        lastSearched_ = false;
        // Under a tension a solve may meet its tolerance at a state of other forces (a load
        // fraction far from 1, forces against the load): the step's point is the state that
        // carries the axial force with the moment about the asked axis alone, or the nested
        // search's.
        const SolverState found = solver_.lastState();
        const double miss =
            load_ < 0 ? stepMiss(solver_.fibres(), found.fibreAbc, load_, fx_ * f_, fy_ * f_) : 0;
        if (step.notConverged == 0 && miss <= SOLVER_TOLERANCE) {
            tilt_ = tiltOf(found.fibreAbc, fx_ * f_, fy_ * f_, tilt_);
        } else if (const CurvatureState s =
                       searchedStep(solver_.fibres(), in_, fx_ * f_, fy_ * f_, eps, tilt_);
                   s.found) {
            takeSearched(s, out);
            controlExtremes(solver_.fibres(), s.abc, emax, emin);
        } else {
            step.addPasses(s.passes, solver_.fibreCount());
            // A solve that met its tolerance at a state of other forces did not converge.
            if (step.notConverged == 0) {
                SolveResult r;
                r.residual = miss;
                step.add(r, solver_.fibreCount());
            }
        }
        out.curvature =
            curvatureAbout(lastSearched_ ? searched_ : found, fx_, fy_, emax - emin, depth_);
        return out;
    }
    // The state of the last step.
    SolverState lastState() const { return lastSearched_ ? searched_ : solver_.lastState(); }

private:
    // The strain step's moment: under the fast solver the state at the axial force and the
    // step's strain is solved for directly (or, where that fails, the moment whose load
    // fraction is 1 found by a root finder); under the reference solver its fixed-point search,
    // with the last trial moment solved once more. (mx, my) the moment, and the load fraction.
    double unitFraction(double eps, double& mx, double& my, RunStats& step, SolveResult& last) {
        const int fibres = solver_.fibreCount();
        auto solve = [&](double x, double y) {
            last = solver_.loadFractionAtStrain(in_.axialForce, x, y, eps);
            step.add(last, fibres);
            return last.loadFraction;
        };
        const SolveResult direct =
            fast_ ? solver_.momentScaleAtStrain(in_.axialForce, mx, my, eps) : SolveResult{};
        if (direct.converged && direct.loadFraction > 0) {
            step.add(direct, fibres);
            last = direct;
            mx *= direct.loadFraction;
            my *= direct.loadFraction;
            return 1;
        }
        if (fast_) {
            step.addPasses(direct.iterations, fibres);
            return findUnitLoadFraction(solve, mx, my, FAST_SEARCH_TOLERANCE, 1000);
        }
        scaleTrialMoment(solve, mx, my, 0.01, 1000);
        return solve(mx, my);
    }
    // The step's point is the searched state; the attempts before it only cost their passes.
    void takeSearched(const CurvatureState& s, MphiStep& out) {
        RunStats kept;
        kept.iterations = out.stats.iterations;
        kept.fibreEvaluations = out.stats.fibreEvaluations;
        SolveResult r;
        r.converged = true;
        r.residual = s.residual;
        r.iterations = s.passes;
        kept.add(r, solver_.fibreCount());
        out.stats = kept;
        out.moment = (fx_ * s.ss[1] + fy_ * s.ss[2]) * f_ / 1e6;
        tilt_ = s.tilt;
        lastSearched_ = true;
        searched_ =
            SolverState{true, {s.abc[0], s.abc[1], s.abc[2]}, {s.abc[0], s.abc[1], s.abc[2]}};
    }

    SectionSolver& solver_;
    const MphiInput& in_;
    double f_, fx_, fy_, depth_, load_;
    bool fast_;
    double trial_;
    // The tilt of the last step's strain gradient from the asked direction: where a step needs
    // the nested search, it starts there.
    double tilt_ = 0;
    bool lastSearched_ = false;
    SolverState searched_;
};

// Refuses an axial force under which the section bent about the asked axis never reaches the
// asked extreme strain.
void requireReach(const SectionSolver& solver, const MphiInput& in, double depth) {
    const double f = in.negative ? -1.0 : 1.0;
    const double fx = in.aboutY ? 1.0 : 0.0, fy = in.aboutY ? 0.0 : 1.0;
    const double reach =
        largestStrainUnderTension(solver.fibres(), 1000 * in.axialForce, fx * f, fy * f,
                                  solver.controlExtent(fx * f, fy * f), depth, in.maxStrain);
    if (reach < in.maxStrain)
        throw InputError(Format(
            "Under %s kN the section bent about its axis reaches an extreme compressive strain "
            "of at most %s: beyond it the steel at the compressed edge takes more than the rest "
            "makes up in tension, so there is no M-Phi curve up to %s. Choose a smaller Max Comp "
            "strain or an axial force nearer to zero.",
            {Format("%g", {in.axialForce}), Format("%0.6F", {reach}),
             Format("%0.6F", {in.maxStrain})}));
}

// The first steps, which ask for less than the uniform strain under the axial force, are that
// state: the user hears so.
void sayUniformSteps(double axialForce, double uniform, int steps, Messages& msgs) {
    msgs.message(Format(
        "Under %s kN the least extreme strain of any state of the section is the uniform %s: "
        "the first %D strain steps ask for less, so they are that state (no curvature, no "
        "moment).",
        {Format("%0.3F", {axialForce}), Format("%0.6F", {uniform}), steps}));
}

}  // namespace

MphiResult mphiAnalysis(const SectionModel& m, const MphiInput& given, Messages& msgs,
                        Progress* progress) {
    MphiInput in = given;
    requireMphiSteps(in);
    requireFibres(m);
    // A force at an end of the P-M curve as listed (3 decimals) is the end itself.
    const SharedSection ultimate = compileSection(m);
    in.axialForce = requireCarriedAxialForce(m, in.axialForce, "M-Phi", ultimate);
    if (!(ultimate->axialCapacity().PMIN < 0) && !(in.axialForce > 0))
        throw InputError(
            "The section has no bars or steel to take tension: without a compressive axial force "
            "it carries no moment, so there is no M-Phi curve at 0 kN.");
    MphiResult r;
    fibZone(m, r.width, r.height);
    const int n = in.steps;
    r.M.assign(static_cast<std::size_t>(n) + 1, 0.0);
    r.PHI = r.M;
    r.converged.assign(static_cast<std::size_t>(n) + 1, 1);
    const double depth = in.aboutY ? r.width : r.height;
    // The direction of the moment, measured as the P-M curve's angle: 0 is Mx (about X), 90 My.
    r.run.angle = (in.aboutY ? 90.0 : 0.0) + (in.negative ? 180.0 : 0.0);
    // Along the run the stress block, an ultimate-state device, gives way to the grade's
    // parabola with a plateau.
    SectionSolver solver(m, msgs, m.settings.SOLVER, FibreLaws::MomentCurvature);
    requireRegularStiffness(solver, "M-Phi curve");
    requireZeroMomentAtStart(m, ultimate, in.axialForce, msgs);
    noteUltimateStrain(m, in.maxStrain, msgs);
    // No state under a compressive axial force has its extreme strain below the uniform strain
    // that carries the force (no fibre is strained more than the extreme, and the laws do not
    // fall up to it): the steps that ask for less are the uniform state itself, no curvature and
    // no moment.
    const double uniform = in.axialForce > 0
                               ? uniformStrainAt(solver.fibres(), 1000 * in.axialForce,
                                                 std::max(in.maxStrain, EPS_LIMIT))
                               : 0.0;
    requireReach(solver, in, depth);
    int belowUniform = 0;
    StepProgress steps(progress, n);
    MphiSteps run(solver, in, depth);
    for (int i = 1; i <= n; ++i) {
        const double eps = i * in.maxStrain / n;
        if (eps <= uniform) {
            ++belowUniform;
        } else {
            const MphiStep p = run.step(eps);
            r.run.stats.add(p.stats);
            const auto ui = static_cast<std::size_t>(i);
            r.M[ui] = p.moment;
            r.PHI[ui] = p.curvature;
            r.converged[ui] = p.stats.notConverged == 0 ? 1 : 0;
        }
        steps.step();
    }
    requireFiniteResult("M-Phi curve", {&r.M, &r.PHI}, false);
    r.state = run.lastState();
    r.stamp = m.mesh.MESH_STAMP;
    if (belowUniform > 0) sayUniformSteps(in.axialForce, uniform, belowUniform, msgs);
    return r;
}

void keepMphiResult(SectionModel& m, MphiResult&& r) {
    m.mesh.FIB_ZONE_WIDTH = r.width;
    m.mesh.FIB_ZONE_HEIGHT = r.height;
    m.results.MPHI_M = std::move(r.M);
    m.results.MPHI_PHI = std::move(r.PHI);
    m.results.MPHI_CONVERGED = std::move(r.converged);
    m.results.RESULTS_STAMP = r.stamp;
    keepSolverState(m, r.state, FibreLaws::MomentCurvature);
}

MphiRun RUN_MPHI_ANALYSIS(SectionModel& m, const MphiInput& in, Messages& msgs,
                          Progress* progress) {
    MphiResult r = mphiAnalysis(m, in, msgs, progress);
    const MphiRun run = r.run;
    keepMphiResult(m, std::move(r));
    reportUnconverged(run.stats, msgs);
    return run;
}

}  // namespace qav
