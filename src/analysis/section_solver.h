#pragma once
// The section equilibrium solver: for one load (axial force and two moments) it finds the plane
// strain state whose extreme control-point strain is the limit strain and whose internal forces
// point along the load, and returns their ratio, the load fraction. The load-fraction variant
// (STRAIN_LIMIT_MODE 1 or 2, limit 0.005) and the moment-curvature variant (a prescribed largest
// strain) share one iteration.
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/compiled_section.h"
#include "analysis/fibre_arrays.h"
#include "analysis/limit_rule.h"
#include "analysis/reference/reference_iteration.h"
#include "model/feedback.h"
#include "model/section_model.h"

namespace qav {

// Solves the n x n system M x = b (n <= 4) by elimination with partial pivoting; false when a
// pivot is negligible against the matrix (singular for our purpose) or not a number.
bool solveSmall(int n, double M[4][4], double b[4], double x[4]);

// The fast solver's relative force residual, and the fibre passes it may take before it hands
// the solve to the reference iteration.
constexpr double FAST_SOLVER_TOLERANCE = 1e-9;
constexpr int FAST_SOLVER_MAX_PASSES = 40;
// The largest relative change of the load fraction the fast solver may make when it finishes
// an unconverged reference iteration of a steel-only section.
constexpr double POLISH_FRACTION_CHANGE = 0.01;

// 1 when the section has a concrete outline, 2 otherwise (steel-only sections), 3 for bars
// without an outline or a steel section: no corners to limit, so the bars themselves are held
// within the limit strain either way (the larger of the two extreme magnitudes at the limit).
// The bars bound no compressed depth as an outline's corner does: under either other rule the
// states with a bar at the limit miss every axial force between the uniform tension and the
// state with its most compressed bars yielded, and the curves have a gap there.
int sectionStrainLimitMode(const SectionModel& m);

// The ends of the P-M curves under the code's limit (kN): PMAX the section in uniform
// compression at the rule's strain (the pivot's epsC2 under EN 1992-1-1, the ultimate strain
// otherwise), PMIN in uniform tension at EPS_LIMIT, both summed over every fibre with the
// code's laws (the fibres compiled with the ultimate laws). False, leaving both, where the code's
// limit does not apply.
bool codeAxialCapacity(const FibreArrays& f, double& pmax, double& pmin);

// The solver for a series of solves on one meshed section: it reads the section compiled once
// (compiled_section.h: the fibres in flat arrays, the stiffness and its inverse), its own or one
// it shares with other solvers, and keeps only its last state. The model is read at
// construction and written only by storeState. Two methods find the same state: the reference
// iteration (fixed elastic matrix, the original method, kept bit for bit) and the fast one
// (Newton's method on the tangent stiffness, see fast_solve.cpp), chosen by the model's SOLVER or
// explicitly. The deformation a solver last evaluated (control points and fibres), to be kept in
// the model's fibres by whoever keeps the results: the analyses themselves only read the model.
struct SolverState {
    bool evaluated = false;
    double pointAbc[3] = {0, 0, 0};
    double fibreAbc[3] = {0, 0, 0};
};
// Writes the state into the fibres' and control points' EPS and STRESS (nothing when none was
// evaluated).
void keepSolverState(SectionModel& m, const SolverState& s, FibreLaws laws = FibreLaws::Ultimate);

class SectionSolver {
public:
    SectionSolver(const SectionModel& m, Messages& msgs);
    SectionSolver(const SectionModel& m, Messages& msgs, SolverKind kind,
                  FibreLaws laws = FibreLaws::Ultimate);
    // A solver on a compiled section it shares with others (each keeps its own last state).
    SectionSolver(SharedSection section, Messages& msgs, SolverKind kind);
    const SharedSection& section() const { return section_; }
    SolverKind kind() const { return kind_; }
    // The section stiffness could not be inverted: every solve gives a number that is not finite.
    bool singular() const { return !section_->singularMessages().empty(); }
    // The section's fibres carry no tension (plain concrete): its states at the limit, each
    // direction's a family falling monotonically in axial force, meet one axial force once.
    bool carriesNoTension() const { return section_->carriesNoTension(); }

    // Load fraction of (P kN compression positive, MX, MY kNm) with the minimum magnitudes
    // K_P, K_MX, K_MY, normalised by mode (STRAIN_LIMIT_MODE): mode 1 puts the largest
    // compressive control-point strain at EPS_LIMIT, or the largest tensile one when no point
    // is in compression; mode 2 puts the smaller of those two magnitudes there, mode 3 the
    // larger.
    SolveResult loadFraction(double P, double MX, double MY, double K_P, double K_MX, double K_MY,
                             int mode);
    // The same (no minimum magnitudes) for a load next to one whose state near is known, as
    // the probes of a search along a ray are. Modes 1 and 3: Newton's method from near, and
    // loadFraction where it fails (the probes stay on one side of a seam of the limit states);
    // mode 2: loadFraction, and Newton's method from near where it fails. Where near is null or
    // the solver is the reference, exactly loadFraction.
    SolveResult loadFractionNear(double P, double MX, double MY, int mode, const double* near);
    // Whether any state carries a part of the load (as loadFraction reads it). A section whose
    // fibres carry no tension (concrete alone) carries only compression whose resultant lies
    // inside its fibres: a tension, a pure moment or a compression outside the section has no
    // state at any fraction, and its fraction is 0. Every other section answers true.
    bool carries(double P, double MX, double MY, double K_P, double K_MX, double K_MY) const;

    // The moment-curvature variant: no minimum magnitudes, the largest control-point strain
    // scaled to epsMax.
    SolveResult loadFractionAtStrain(double P, double MX, double MY, double epsMax);
    // The point of the interaction surface at the axial force P (kN) along the moment (MX, MY)
    // (kNm), in one solve of the fast solver: loadFraction is the factor s for which the load
    // (P, s MX, s MY) has the load fraction 1 (no minimum magnitudes). Only the fast solver in
    // mode 1 solves it so; otherwise, and where the solve does not converge, the result is not
    // converged and the caller searches for s solve by solve.
    SolveResult momentScaleAt(double P, double MX, double MY, int mode);
    // The same for the moment-curvature variant: the state at the axial force P whose largest
    // control-point strain is epsMax, with the moment along (MX, MY); emax and emin are that
    // state's extreme control-point strains.
    SolveResult momentScaleAtStrain(double P, double MX, double MY, double epsMax);

    // The last evaluated state, and the same written into the fibres' and control points' EPS
    // and STRESS.
    SolverState lastState() const;
    void storeState(SectionModel& m) const;

    // The section in uniform tension at the limit strain, the tension end of every P-M curve:
    // its axial force is PMIN. Where all steel yields by the limit it is the only state with
    // that force (every steel fibre yielded in tension, the concrete cracked), whatever the
    // direction. False when the section has no steel or fibres of other kinds. Becomes the
    // last evaluated state.
    bool tensionEndForces(double ss[3]);
    // Whether every steel fibre yields before the limit strain (false for a strand, say).
    bool steelYieldsByLimit() const;

    // The largest distance (mm) of a control point from the reference point along (sx, sy),
    // the direction of a moment (MX, MY) as the curves give it.
    double controlExtent(double sx, double sy) const;
    // The trial moment (kNm) the curve searches start from, far beyond any capacity. The fast
    // solver takes one in proportion to the section (the elastic axial force at the limit
    // strain times the radius of gyration, both about the reference point), so that a section
    // scaled by s searches exactly as the original does with moments scaled by s^3. The
    // reference iteration keeps its fixed 1e6 up to sections some 3 m across (of concrete), and
    // a hundredth of the fast solver's beyond.
    double trialMoment() const;

    int fibreCount() const { return fibres_.fibreCount(); }
    const FibreArrays& fibres() const { return fibres_; }

private:
    SolveResult solve(const vec3& LL, const LimitRule& rule);
    SolveResult solveReference(const vec3& LL, const LimitRule& rule);
    // start: the deformation to begin from (default: the elastic one under the load).
    // fixed: a part of the load the factor does not scale (N, N mm, N mm; default none).
    SolveResult solveFast(const vec3& LL, const LimitRule& rule, const double* start = nullptr,
                          const double* fixed = nullptr);
    // The state of the limit rule whose forces lie along the load (or, with a fixed part, hold
    // its axial force), found by bracketing in the gradient direction and the position along
    // the rule's family (see bracket_solve.cpp), on the family's first piece that holds one or
    // on the piece only; false where no bracket holds one. passes counts the fibre passes.
    bool bracketState(const vec3& LL, const LimitRule& rule, const double* fixed, double out[3],
                      int& passes, const FamilyPiece* only = nullptr);
    // Where the load's line meets the limit states more than once (a tension across the jump of
    // the family at the seam), the first state the load reaches as it grows from zero: r, or
    // the state along the load on the other piece where that one has a smaller positive
    // fraction.
    SolveResult firstStateAlong(const vec3& LL, const LimitRule& rule, SolveResult r);
    // Newton's method from the bracketed state; the result of failed, given up with passes.
    SolveResult solveBracketed(const vec3& LL, const LimitRule& rule, const double* fixed,
                               const SolveResult& failed);
    SolveResult polishReference(const vec3& LL, const LimitRule& rule);
    // Where every way of the fast solver has failed (its closest state fast): the reference
    // iteration's state, or fast's where the reference iteration misses by more.
    SolveResult referenceAfter(const vec3& LL, const LimitRule& rule, const SolveResult& fast);
    SolveResult momentScale(double P, double MX, double MY, const LimitRule& rule);
    void remember(const double pointAbc[3], const double fibreAbc[3]);

    SharedSection section_;
    const FibreArrays& fibres_;
    const matrx2& k0_;    // elastic stiffness
    const matrx2& kinv_;  // its inverse
    Messages& msgs_;
    SolverKind kind_ = SolverKind::Fast;
    double fibreAbc_[3] = {0, 0, 0};  // deformation of the last fibre evaluation
    double pointAbc_[3] = {0, 0, 0};  // deformation of the last control-point evaluation
    bool evaluated_ = false;
};

// Load fraction of one load on the model's fibres, with the minimum magnitudes, in the model's
// STRAIN_LIMIT_MODE; the fibres and control points keep the last evaluated state.
SolveResult CALC_LOAD_FRACTION_TYPE1(SectionModel& m, double P, double MX, double MY,
                                     double& LOAD_FRACTION, double K_P, double K_MX, double K_MY,
                                     Messages& msgs);
// The moment-curvature variant: KMIN_EPS receives the largest and KMAX_EPS the smallest
// control-point strain of the last iteration.
SolveResult CALC_LOAD_FRACTION_type2(SectionModel& m, double P, double MX, double MY,
                                     double eps_max, double& LOAD_FRACTION, double& KMIN_EPS,
                                     double& KMAX_EPS, Messages& msgs);

// What a check says of a combination the section does not carry at any fraction.
std::string notCarriedText(int combination, const std::string& name);
// Why such a load has no state: the same reason, for a state of one load.
std::string notCarriedStateText();

// One message per steel grade of the fibres whose FY1 lies above the stress the solvers use
// (steelLawStrength): such steel yields only beyond the limit strain. Every solver says them.
std::vector<std::string> cappedSteelMessages(const SectionModel& m);

// Counts of a run of many solves, for callers that report non-convergence.
struct RunStats {
    long long solves = 0;
    long long notConverged = 0;
    long long iterations = 0;
    long long fibreEvaluations = 0;
    long long singular = 0;
    long long fellBack = 0;
    double worstResidual = 0;  // largest residual of a solve that did not converge
    // Reference solves flagged off balance (SolveResult::offBalance), and the largest balanced
    // residual among them.
    long long offBalance = 0;
    double worstBalance = 0;
    bool cancelled = false;  // the run stopped at the user's request
    void add(const SolveResult& r, int fibres) {
        ++solves;
        if (!r.converged) {
            ++notConverged;
            // A residual that is not a number is the worst of all.
            if (!(r.residual <= worstResidual)) worstResidual = r.residual;
        }
        if (r.singular) ++singular;
        if (r.fellBack) ++fellBack;
        if (r.offBalance) {
            ++offBalance;
            if (!(r.balanced <= worstBalance)) worstBalance = r.balanced;
        }
        addPasses(r.iterations, fibres);
    }
    // Passes of an attempt that was given up for another way to the same result.
    void addPasses(int passes, int fibres) {
        iterations += passes;
        fibreEvaluations += static_cast<long long>(passes) * fibres;
    }
    void add(const RunStats& o) {
        solves += o.solves;
        notConverged += o.notConverged;
        iterations += o.iterations;
        fibreEvaluations += o.fibreEvaluations;
        singular += o.singular;
        fellBack += o.fellBack;
        if (!(o.worstResidual <= worstResidual)) worstResidual = o.worstResidual;
        offBalance += o.offBalance;
        if (!(o.worstBalance <= worstBalance)) worstBalance = o.worstBalance;
        cancelled = cancelled || o.cancelled;
    }
};

// A residual as the unconverged messages print it; one that is not a finite number is said so.
std::string residualText(double residual);

// "N of M solves did not converge (worst residual R)." for a run with unconverged solves, and a
// sentence on the reference solves flagged off balance, else empty. Every analysis run gives it to
// its message sink, so the user hears of it everywhere.
std::string unconvergedText(const RunStats& s);
void reportUnconverged(const RunStats& s, Messages& msgs);

// The fast solver's search for the same target: the scale of the trial moment at which the
// load fraction is 1, found by the secant method on ln(load fraction) against ln(scale),
// starting with the fixed-point step above and kept inside a bracket once one is known. Stops
// when |fraction - 1| < tol or after maxSolves solves (at most 60), or when the moment stops
// moving, or when the fraction is not a positive
// number or the moment has shrunk below 1e-18 of its start (no point of the surface has that
// axial force). mx and my hold the trial moment of the last solve; returns its load fraction.
template <class Solve>
double findUnitLoadFraction(Solve&& solve, double& mx, double& my, double tol, int maxSolves) {
    const double mx0 = mx, my0 = my;
    double x = 0, lamda = solve(mx, my);
    int solves = 1;
    double xPrev = 0, fPrev = 0;
    bool havePrev = false;
    double lo = -INFINITY, hi = INFINITY;  // ln(scale) known below / above the target
    // The secant method takes a handful of solves where the fractions are smooth; where they
    // are not, more solves would not help.
    const int cap = maxSolves < 60 ? maxSolves : 60;
    while (solves < cap) {
        if (lamda - 1 < tol && 1 - lamda < tol) break;
        if (!(lamda > 0) || !std::isfinite(lamda)) break;
        const double f = std::log(lamda);
        if (f > 0)
            lo = std::fmax(lo, x);
        else
            hi = std::fmin(hi, x);
        double next = x + f;  // the fixed-point step: the moment times the load fraction
        if (havePrev && f != fPrev) {
            const double secant = x - f * (x - xPrev) / (f - fPrev);
            if (std::isfinite(secant)) next = secant;
        }
        // Outside the bracket, or where the fractions stand still (a plateau: near the
        // crushing load every small moment has the same fraction, and the fixed-point step
        // creeps), the bracket is halved.
        const bool flat = havePrev && f == fPrev;
        if (std::isfinite(lo) && std::isfinite(hi)) {
            if (flat || !(next > lo && next < hi)) next = 0.5 * (lo + hi);
        } else if (!(next > lo && next < hi)) {
            // A secant across nearly equal fractions leaps beyond the one known end: the
            // fixed-point step from that end instead.
            next = (f > 0 ? lo : hi) + f;
        }
        if (next < -41.4) break;  // e^-41.4 ~ 1e-18
        // The fractions of solves handed to the reference iteration are only good to its
        // tolerance: once the moment stops moving the search has found all there is to find.
        if (std::fabs(next - x) < 1e-12) break;
        xPrev = x;
        fPrev = f;
        havePrev = true;
        x = next;
        mx = mx0 * std::exp(x);
        my = my0 * std::exp(x);
        lamda = solve(mx, my);
        ++solves;
    }
    return lamda;
}

// The fast solver's tolerance on the load fraction of those searches.
constexpr double FAST_SEARCH_TOLERANCE = 1e-8;
// How far the load fraction of a state found directly at its axial force may stand from 1 and
// the state still serve as the point where the search from it fails: where the surface is
// steep along the load (plain concrete loaded near its edge, a fraction of 1.7 a hundredth of
// the moment inside the point) the direct state's own tolerance shows as some 1e-6 in its
// fraction, and the search probes loads beyond that edge that have no state. Another state
// along the load, the case the check is there for, stands at a fraction far from 1.
constexpr double DIRECT_STATE_AGREEMENT = 1e-4;

}  // namespace qav
