#include "analysis/section_solver.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "analysis/design_strength.h"
#include "analysis/material_laws.h"
#include "model/number_text.h"

namespace qav {

static_assert(EPS_LIMIT == STEEL_CONTROL_STRAIN, "the steel cap is the stress of the limit strain");

namespace {

double sign(double x) {
    return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
}
double larger(double a, double b) {
    return a > b ? a : b;
}

// A moment below its minimum magnitude is raised to it with its sign; a zero moment becomes
// the positive minimum.
double minimumMoment(double M, double K) {
    return M == 0 ? K : sign(M) * larger(std::fabs(M), K);
}

// Whether (px, py) lies inside the counterclockwise convex polygon, off its sides by more
// than rounding (a point on a side is reached only by fibres at zero strain).
bool strictlyInside(const std::vector<double>& hull, double px, double py) {
    const std::size_t n = hull.size() / 2;
    if (n < 3 || !std::isfinite(px) || !std::isfinite(py)) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const double ax = hull[2 * i], ay = hull[2 * i + 1];
        const double dx = hull[2 * j] - ax, dy = hull[2 * j + 1] - ay;
        const double cross = dx * (py - ay) - dy * (px - ax);
        if (!(cross > 1e-12 * (dx * dx + dy * dy))) return false;
    }
    return true;
}

}  // namespace

int sectionStrainLimitMode(const SectionModel& m) {
    return m.document.NCONC_PT != 0 ? 1 : m.mesh.NCFIB != 0 ? 2 : 3;
}

SectionSolver::SectionSolver(const SectionModel& m, Messages& msgs)
    : SectionSolver(m, msgs, m.settings.SOLVER) {}

bool codeAxialCapacity(const FibreArrays& f, double& pmax, double& pmin) {
    if (!f.codeRule) return false;
    const double unit[3] = {1, 0, 0};
    const Limit c = codeRuleLimit(f, unit);
    if (!c.ok()) return false;
    double ss[3];
    const double compression[3] = {c.factor, 0, 0}, tension[3] = {-EPS_LIMIT, 0, 0};
    sumFibreForces(f, compression, ss);
    pmax = ss[0] / 1000.0;
    sumFibreForces(f, tension, ss);
    pmin = ss[0] / 1000.0;
    return true;
}

SectionSolver::SectionSolver(const SectionModel& m, Messages& msgs, SolverKind kind, FibreLaws laws)
    : SectionSolver(compileSection(m, laws), msgs, kind) {}

SectionSolver::SectionSolver(SharedSection section, Messages& msgs, SolverKind kind)
    : section_(std::move(section)),
      fibres_(section_->fibres()),
      k0_(section_->stiffness()),
      kinv_(section_->inverseStiffness()),
      msgs_(msgs),
      kind_(kind) {
    for (const std::string& text : section_->sectionMessages()) msgs_.message(text);
}

std::vector<std::string> cappedSteelMessages(const SectionModel& m) {
    std::vector<std::pair<int, double>> grades;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        if ((f.TY != FIB_STEEL && f.TY != FIB_REBAR) || !(f.FY1 > STEEL_STRESS_CAP)) continue;
        const std::pair<int, double> g{f.MAT, f.FY1};
        if (std::find(grades.begin(), grades.end(), g) == grades.end()) grades.push_back(g);
    }
    std::sort(grades.begin(), grades.end());
    std::vector<std::string> texts;
    for (const auto& g : grades)
        texts.push_back(
            Format("Steel grade %D (FY1 %s N/mm2) yields beyond the control strain "
                   "%s; its stress is taken at most %s N/mm2.",
                   {g.first, Format("%g", {g.second}), Format("%g", {STEEL_CONTROL_STRAIN}),
                    Format("%g", {STEEL_STRESS_CAP})}));
    return texts;
}

namespace {
const char* const NOT_CARRIED =
    "the section has nothing to carry this load at any fraction (a tension or a moment without "
    "tension steel, or a compression outside the section)";
}  // namespace

std::string notCarriedText(int combination, const std::string& name) {
    return Format("Load combination %D (%s): %s; its load fraction is 0.",
                  {combination, name, std::string(NOT_CARRIED)});
}

std::string notCarriedStateText() {
    return "The load is not carried: " + std::string(NOT_CARRIED) + "; there is no state.";
}

bool SectionSolver::carries(double P, double MX, double MY, double K_P, double K_MX,
                            double K_MY) const {
    if (!section_->carriesNoTension()) return true;
    const double Pu = sign(P) * larger(std::fabs(P), K_P);
    if (!(Pu > 0)) return false;
    // The resultant's position: the moments over the force (mm).
    const double ex = 1e3 * minimumMoment(MX, K_MX) / Pu, ey = 1e3 * minimumMoment(MY, K_MY) / Pu;
    return strictlyInside(section_->compressionHull(), ex, ey);
}

SolveResult SectionSolver::loadFraction(double P, double MX, double MY, double K_P, double K_MX,
                                        double K_MY, int mode) {
    // P = 0 stays 0 whatever K_P is.
    const double Pu = sign(P) * larger(std::fabs(P), K_P);
    const vec3 LL{0, 1000.0 * Pu, 1e6 * minimumMoment(MX, K_MX), 1e6 * minimumMoment(MY, K_MY)};
    return solve(LL, LimitRule::ofMode(fibres_, mode));
}

SolveResult SectionSolver::loadFractionAtStrain(double P, double MX, double MY, double epsMax) {
    const vec3 LL{0, 1000.0 * P, 1e6 * MX, 1e6 * MY};
    return solve(LL, LimitRule::atStrain(fibres_, epsMax));
}

SolveResult SectionSolver::loadFractionNear(double P, double MX, double MY, int mode,
                                            const double* near) {
    if (near == nullptr || kind_ != SolverKind::Fast || singular())
        return loadFraction(P, MX, MY, 0, 0, 0, mode);
    const vec3 LL{0, 1000.0 * P, 1e6 * MX, 1e6 * MY};
    // Mode 2 gives a load the reference iteration's state wherever that iteration finds one;
    // the neighbour's state serves only where it does not.
    if (mode == 2) {
        SolveResult r = loadFraction(P, MX, MY, 0, 0, 0, mode);
        if (r.converged) return r;
        const SolverState kept = lastState();
        SolveResult w = solveFast(LL, LimitRule::ofMode(fibres_, 2), near);
        w.iterations += r.iterations;
        if (w.converged) return w;
        remember(kept.pointAbc, kept.fibreAbc);
        r.iterations = w.iterations;
        return r;
    }
    // Near a seam of the limit states (the most compressed point at zero strain, near pure
    // tension) the way from the elastic start may end on the seam or cross to the other side;
    // the way from the neighbour's state stays on its side. Elsewhere both end at the one state.
    const LimitRule rule = LimitRule::ofMode(fibres_, mode == 3 ? 3 : 1);
    SolveResult w = solveFast(LL, rule, near);
    if (w.converged) return firstStateAlong(LL, rule, w);
    SolveResult r = loadFraction(P, MX, MY, 0, 0, 0, mode);
    r.iterations += w.iterations;
    return r;
}

SolveResult SectionSolver::momentScaleAt(double P, double MX, double MY, int mode) {
    if (mode == 2) return {};
    return momentScale(P, MX, MY, LimitRule::ofMode(fibres_, mode == 3 ? 3 : 1));
}

SolveResult SectionSolver::momentScaleAtStrain(double P, double MX, double MY, double epsMax) {
    return momentScale(P, MX, MY, LimitRule::atStrain(fibres_, epsMax));
}

SolveResult SectionSolver::momentScale(double P, double MX, double MY, const LimitRule& rule) {
    if (kind_ != SolverKind::Fast || singular()) return {};
    const vec3 LL{0, 0, 1e6 * MX, 1e6 * MY};
    const double fixed[3] = {1000.0 * P, 0, 0};
    SolveResult r = solveFast(LL, rule, nullptr, fixed);
    if (r.converged) return r;
    return solveBracketed(LL, rule, fixed, r);
}

SolveResult SectionSolver::firstStateAlong(const vec3& LL, const LimitRule& rule, SolveResult r) {
    // Only a tension meets the family on both sides of its jump at the seam, and only the fast
    // solver's ways can end on either side.
    if (kind_ != SolverKind::Fast || singular() || !r.converged || !(r.loadFraction > 0) ||
        !(LL[1] < 0))
        return r;
    if (rule.mode() != LimitMode::Compressed && rule.mode() != LimitMode::Code) return r;
    const SolverState kept = lastState();
    auto stretched = [&](const double a[3]) {
        const Limit lim = rule.limit(a);
        return lim.ok() && lim.kind == LimitKind::Tension;
    };
    // A state held at a compressed point may have one before it on the stretched piece; one
    // held at a stretched point is taken as it is (no state of the compressed piece came
    // before one over the examples' curves and 1,800 random tensions). The stretched piece's
    // states carry at least the seam's tension, so only a state carrying more than that can
    // have one before it: load fraction x P below the seam's axial force.
    if (stretched(kept.fibreAbc) || !(r.loadFraction * LL[1] < section_->seamAxialForce()))
        return r;
    double a[3];
    int passes = 0;
    const FamilyPiece piece = rule.pieces()[1];
    if (bracketState(LL, rule, nullptr, a, passes, &piece)) {
        SolveResult q = solveFast(LL, rule, a);
        q.iterations += passes + r.iterations;
        if (q.converged && q.loadFraction > 0 && q.loadFraction < r.loadFraction &&
            stretched(fibreAbc_)) {
            q.fellBack = r.fellBack;
            return q;
        }
        passes = q.iterations - r.iterations;
    }
    r.iterations += passes;
    remember(kept.pointAbc, kept.fibreAbc);
    return r;
}

SolveResult SectionSolver::solveBracketed(const vec3& LL, const LimitRule& rule,
                                          const double* fixed, const SolveResult& failed) {
    double a[3];
    int passes = 0;
    const SolverState kept = lastState();
    if (bracketState(LL, rule, fixed, a, passes)) {
        SolveResult r = solveFast(LL, rule, a, fixed);
        r.iterations += passes + failed.iterations;
        if (r.converged) return r;
    }
    SolveResult r = failed;
    r.iterations += passes;
    remember(kept.pointAbc, kept.fibreAbc);
    return r;
}

SolveResult SectionSolver::solve(const vec3& LL, const LimitRule& rule) {
    for (const auto& text : section_->singularMessages()) msgs_.message(text);
    SolveResult r;
    // Mode 2 (steel-only sections: the smaller extreme magnitude at the limit) and the
    // prescribed strain of the moment-curvature variant admit more than one state whose
    // forces lie along a load, with different fractions; the reference iteration's is the one
    // the program gives for a load, so those stay with it; in mode 2 the fast solver finishes a
    // reference iteration that stops short of its tolerance. (The moment-curvature steps do
    // not ask for a load's fraction: at a held axial force and strain their state is found
    // directly, see momentScaleAtStrain.)
    const bool newton = kind_ == SolverKind::Fast && !singular();
    if (newton && rule.mode() != LimitMode::Smaller && rule.mode() != LimitMode::Prescribed) {
        r = solveFast(LL, rule);
        if (!r.converged) r = solveBracketed(LL, rule, nullptr, r);
        if (!r.converged) r = referenceAfter(LL, rule, r);
        r = firstStateAlong(LL, rule, r);
    } else if (newton && rule.mode() == LimitMode::Smaller) {
        r = polishReference(LL, rule);
    } else {
        r = solveReference(LL, rule);
    }
    r.singular = singular();
    return r;
}

SolveResult SectionSolver::referenceAfter(const vec3& LL, const LimitRule& rule,
                                          const SolveResult& fast) {
    const SolverState kept = lastState();
    SolveResult r = solveReference(LL, rule);
    r.iterations += fast.iterations;
    r.fellBack = true;
    if (r.converged || !(fast.residual < r.residual)) return r;
    // Neither met its tolerance: keep the closer state. One within the reference iteration's
    // own tolerance is as converged as any state that iteration gives.
    const int passes = r.iterations;
    r = fast;
    r.iterations = passes;
    r.fellBack = true;
    r.converged = fast.residual < SOLVER_TOLERANCE;
    remember(kept.pointAbc, kept.fibreAbc);
    return r;
}

SolveResult SectionSolver::polishReference(const vec3& LL, const LimitRule& rule) {
    SolveResult r = solveReference(LL, rule);
    // Under exact integration the reference iteration's tolerance (1e-4) is coarser than the
    // answers, so its state is finished as a stalled one's is.
    if (r.converged && !fibres_.exact) return r;
    // The reference iteration stalled near its state (it creeps along a flat stretch of the
    // residual): Newton's method from its last deformation finishes the way to that state.
    const SolverState kept = lastState();
    const SolveResult polished = solveFast(LL, rule, kept.fibreAbc);
    // Accepted only at a state with nearly the same load fraction: a state elsewhere along
    // the load is another answer, not the one the reference approaches.
    if (polished.converged && std::fabs(polished.loadFraction - r.loadFraction) <=
                                  POLISH_FRACTION_CHANGE * std::fabs(r.loadFraction)) {
        SolveResult p = polished;
        p.iterations += r.iterations;
        return p;
    }
    if (r.converged) {
        // A converged state the polish missed stands as the reference iteration gave it.
        remember(kept.pointAbc, kept.fibreAbc);
        return r;
    }
    // Where the load's ray misses the compressed piece of the rule's family (mode 2 jumps when
    // a point goes into tension), the reference iteration stalls at that piece's edge: the
    // state along the load lies on the next piece, found by bracketing. A stalled iteration's
    // fraction is only as good as its residual; a state the load reaches before it (a smaller
    // fraction) is the first along the load and is taken too.
    double a[3];
    int passes = 0;
    if (bracketState(LL, rule, nullptr, a, passes)) {
        SolveResult b = solveFast(LL, rule, a);
        if (b.converged && b.loadFraction > 0 &&
            b.loadFraction - r.loadFraction <= POLISH_FRACTION_CHANGE * std::fabs(r.loadFraction)) {
            b.iterations += r.iterations + polished.iterations + passes;
            return b;
        }
    }
    remember(kept.pointAbc, kept.fibreAbc);
    return r;
}

void SectionSolver::remember(const double pointAbc[3], const double fibreAbc[3]) {
    for (int i = 0; i < 3; ++i) {
        pointAbc_[i] = pointAbc[i];
        fibreAbc_[i] = fibreAbc[i];
    }
    evaluated_ = true;
}

SolveResult SectionSolver::solveReference(const vec3& LL, const LimitRule& rule) {
    const ReferenceSolve s = referenceIteration(fibres_, kinv_, LL, rule);
    if (s.evaluated) {
        for (int i = 0; i < 3; ++i) {
            pointAbc_[i] = s.pointAbc[i];
            fibreAbc_[i] = s.fibreAbc[i];
        }
        evaluated_ = true;
    }
    SolveResult r = s.result;
    checkReferenceBalance(r, k0_, LL, s.forces);
    return r;
}

bool SectionSolver::steelYieldsByLimit() const {
    for (const FibreGroup& g : fibres_.groups)
        if (!g.concrete && !(g.fy / STEEL_LAW_MODULUS < EPS_LIMIT)) return false;
    return true;
}

bool SectionSolver::tensionEndForces(double ss[3]) {
    bool steel = false;
    for (const FibreGroup& g : fibres_.groups)
        if (!g.concrete) steel = steel || g.end > g.begin;
    if (!steel || fibres_.otherCount != 0) return false;
    const double abc[3] = {-EPS_LIMIT, 0, 0};
    sumFibreForces(fibres_, abc, ss);
    remember(abc, abc);
    return true;
}

double SectionSolver::controlExtent(double sx, double sy) const {
    double e = 0;
    for (std::size_t c = 0; c < fibres_.cpX.size(); ++c)
        e = std::fmax(e, sx * fibres_.cpX[c] + sy * fibres_.cpY[c]);
    return e;
}

double SectionSolver::trialMoment() const {
    constexpr double FIXED = 1e6;  // kNm
    // About 1e6 kNm for a 600 mm concrete square: some thousand times its capacity.
    constexpr double RATIO = 100;
    const double area = k0_[1][1], inertia = k0_[2][2] + k0_[3][3];
    double t = RATIO * EPS_LIMIT * std::sqrt(area * inertia) / 1e6;
    if (!std::isfinite(t) || !(t > 0)) return FIXED;
    // The reference keeps its fixed trial wherever that is still some ten times the capacity
    // (members up to some 3 m across), and grows with the section beyond, where the fixed
    // trial would fall short of the surface.
    if (kind_ != SolverKind::Fast) t = std::fmax(FIXED, t / 100);
    return t;
}

SolverState SectionSolver::lastState() const {
    SolverState s;
    s.evaluated = evaluated_;
    for (int i = 0; i < 3; ++i) {
        s.pointAbc[i] = pointAbc_[i];
        s.fibreAbc[i] = fibreAbc_[i];
    }
    return s;
}

namespace {
void writeState(const FibreArrays& f, const SolverState& s, SectionModel& m) {
    if (!s.evaluated) return;
    // Only the section's own control points have a place to keep their strain (a section limited
    // at its bars has none).
    const std::size_t points =
        m.mesh.NCFIB > 0 && m.mesh.CFIB.size() > static_cast<std::size_t>(m.mesh.NCFIB)
            ? static_cast<std::size_t>(m.mesh.NCFIB)
            : 0;
    for (std::size_t c = 0; c < f.cpX.size() && c < points; ++c)
        m.mesh.CFIB[c + 1].EPS =
            s.pointAbc[0] + s.pointAbc[1] * f.cpX[c] + s.pointAbc[2] * f.cpY[c];
    storeFibreState(f, s.fibreAbc, m);
}
}  // namespace

void SectionSolver::storeState(SectionModel& m) const {
    writeState(fibres_, lastState(), m);
}

void keepSolverState(SectionModel& m, const SolverState& s, FibreLaws laws) {
    if (s.evaluated) writeState(FibreArrays(m, laws), s, m);
}

SolveResult CALC_LOAD_FRACTION_TYPE1(SectionModel& m, double P, double MX, double MY,
                                     double& LOAD_FRACTION, double K_P, double K_MX, double K_MY,
                                     Messages& msgs) {
    SectionSolver solver(m, msgs);
    const SolveResult r =
        solver.loadFraction(P, MX, MY, K_P, K_MX, K_MY, m.results.STRAIN_LIMIT_MODE);
    solver.storeState(m);
    LOAD_FRACTION = r.loadFraction;
    return r;
}

SolveResult CALC_LOAD_FRACTION_type2(SectionModel& m, double P, double MX, double MY,
                                     double eps_max, double& LOAD_FRACTION, double& KMIN_EPS,
                                     double& KMAX_EPS, Messages& msgs) {
    SectionSolver solver(m, msgs);
    const SolveResult r = solver.loadFractionAtStrain(P, MX, MY, eps_max);
    solver.storeState(m);
    LOAD_FRACTION = r.loadFraction;
    KMIN_EPS = r.emax;
    KMAX_EPS = r.emin;
    return r;
}

std::string residualText(double residual) {
    return std::isfinite(residual) ? Format("%0.3E", {residual}) : "not a finite number";
}

std::string unconvergedText(const RunStats& s) {
    std::string text;
    if (s.notConverged != 0)
        text = Format("%D of %D solves did not converge (worst residual %s).",
                      {s.notConverged, s.solves, residualText(s.worstResidual)});
    if (s.offBalance != 0)
        text += std::string(text.empty() ? "" : " ") +
                Format(
                    "%D of %D solves of the reference iteration met its tolerance with forces "
                    "that still miss the load (worst balanced residual %s).",
                    {s.offBalance, s.solves, residualText(s.worstBalance)});
    return text;
}

void reportUnconverged(const RunStats& s, Messages& msgs) {
    if (s.notConverged != 0) msgs.message(unconvergedText(s));
}

}  // namespace qav
