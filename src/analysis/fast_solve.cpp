// The fast equilibrium solver. The limit rule fixes the size of the deformation, so the state
// sought has two free parameters left (the direction of the strain gradient and the position
// of the neutral axis) and two equations (the fibre forces point along the load). Written with
// the load factor as a fourth unknown and the active control point's strain as a fourth
// equation, the system
//     SS(a) - lambda LL = 0,   p . a = e_limit
// is solved by Newton's method with the tangent section stiffness Kt = sum Et A g g^T, summed
// in the same fibre pass as the forces. Every trial deformation is brought back onto the limit
// rule exactly. A Newton step is kept when it lowers the relative force residual; otherwise
// (and wherever the tangent system is singular: a section all on a plateau, in yield or
// cracked) a secant step is taken, a' = Ks(a)^-1 LL with the secant stiffness Ks = sum
// (stress / strain) A g g^T of the same pass, which sees yielded steel and crushed concrete
// too and so leads out of the regions where the tangent says nothing. Close to the state the
// fibre laws are smooth (a quadratic or linear piece per fibre), so the convergence is
// quadratic and a solve takes a handful of passes. A solve that has not met the tolerance
// within FAST_SOLVER_MAX_PASSES passes goes to the reference iteration.
//
// The same Newton system, with a fixed part F0 of the load that the factor does not scale,
//     SS(a) - F0 - lambda LL = 0,   p . a = e_limit,
// finds in one solve the point of the interaction surface at a given axial force along a given
// moment direction (F0 the axial force, LL the moment): the state the outer searches of the
// Myy-Mxx curve and the PMM surface close in on solve after solve.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <utility>
#include <vector>

#include "analysis/roots.h"
#include "analysis/section_solver.h"

namespace qav {

namespace {

// The shortest part of a Newton step, cut where it leaves the limit point's piece of the rule,
// worth taking; below it the state sits on the kink.
constexpr double MIN_PIECE_STEP = 1e-3;

// Turns of the curvature (evenly about the section) tried for a solve whose residual has a
// hollow away from its state; fewer miss some states, more cost passes for little.
constexpr int TURNED_STARTS = 6;

struct State {
    double a[3] = {0, 0, 0};
    double ss[3] = {0, 0, 0};
    double kt[6] = {0, 0, 0, 0, 0, 0};
    double ks[6] = {0, 0, 0, 0, 0, 0};
    bool hasSecant = false;  // ks summed (only where a step needs it)
    double lamda = 0;
    double residual = 0;
    Limit limit;
};

}  // namespace

namespace {

// Gaussian elimination of M x = b in place, with partial pivoting; false at a pivot negligible
// against big, the largest entry.
bool eliminate(int n, double M[4][4], double b[4], double big) {
    for (int c = 0; c < n; ++c) {
        int p = c;
        for (int r = c + 1; r < n; ++r)
            if (std::fabs(M[r][c]) > std::fabs(M[p][c])) p = r;
        if (!(std::fabs(M[p][c]) > 1e-12 * big)) return false;
        if (p != c) {
            for (int j = 0; j < n; ++j) std::swap(M[p][j], M[c][j]);
            std::swap(b[p], b[c]);
        }
        for (int r = c + 1; r < n; ++r) {
            const double f = M[r][c] / M[c][c];
            for (int j = c; j < n; ++j) M[r][j] -= f * M[c][j];
            b[r] -= f * b[c];
        }
    }
    return true;
}

}  // namespace

bool solveSmall(int n, double M[4][4], double b[4], double x[4]) {
    double big = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) big = std::fmax(big, std::fabs(M[i][j]));
    if (!(big > 0) || !std::isfinite(big) || !eliminate(n, M, b, big)) return false;
    for (int c = n - 1; c >= 0; --c) {
        double s = b[c];
        for (int j = c + 1; j < n; ++j) s -= M[c][j] * x[j];
        x[c] = s / M[c][c];
        if (!std::isfinite(x[c])) return false;
    }
    return true;
}

namespace {

// One solve of Newton's method: the load, the weights that balance its components and the
// fibres, with the steps that lead from a trial deformation to the state. Indices are 0-based
// throughout (axial force, X moment, Y moment).
class NewtonSolve {
public:
    NewtonSolve(const FibreArrays& fibres, const matrx2& kinv, const matrx2& k0, const vec3& LL,
                const LimitRule& rule, const double* fixed)
        : f_(fibres), kinv_(kinv), rule_(rule) {
        // Forces are compared in a balanced norm: each component weighed by the inverse square
        // root of the elastic stiffness's diagonal, so that moments count as forces at the
        // section's radius of gyration. In the plain norm of the reference iteration the
        // moments (N mm) swamp the axial force (N), and the axial equation would hardly be
        // seen.
        balanceWeights(k0, D_);
        for (std::size_t i = 0; i < 3; ++i) L_[i] = LL[i + 1];
        for (int i = 0; i < 3; ++i) ll_ += D_[i] * D_[i] * L_[i] * L_[i];
        // The part of the load the factor does not scale.
        for (int i = 0; i < 3; ++i) F0_[i] = fixed ? fixed[i] : 0.0;
        // The same weights balance the unknowns of the tangent system.
        Ls_ = std::sqrt(L_[0] * L_[0] * D_[0] * D_[0] + L_[1] * L_[1] * D_[1] * D_[1] +
                        L_[2] * L_[2] * D_[2] * D_[2]);
    }
    // A load of no size in the balanced norm has no direction to solve along.
    bool loadHasSize() const { return std::isfinite(ll_) && ll_ > 0; }
    // Steps that follow the limit rule piece by piece (see pieceStep): slower where the state
    // lies across many kinks, so kept for the solves the plain steps leave short.
    void followPieces() { pieces_ = true; }
    int passes() const { return passes_; }

    // Start from the elastic deformation under the load, as the reference iteration does.
    // With a fixed part, the scaled part enters in the same balanced size (the trial moment of
    // a surface point is far beyond any capacity; near the crushing load the moment found is
    // small, and a start in nearly pure bending is far from it).
    void elasticStart(bool withFixed, double a0[3]) const {
        double l0 = 1;
        if (withFixed) {
            double f0 = 0;
            for (int i = 0; i < 3; ++i) f0 += D_[i] * D_[i] * F0_[i] * F0_[i];
            if (f0 > 0) l0 = std::sqrt(f0 / ll_);
        }
        for (int j = 0; j < 3; ++j) a0[j] = 0;
        for (int j = 0; j < 3; ++j)
            for (int p = 0; p < 3; ++p) a0[j] += kinv(j, p) * target(l0, p);
    }

    // Brings a trial deformation onto the limit rule and evaluates forces, stiffnesses, the
    // load factor (the projection of the forces on the load) and the relative residual; false
    // when the rule cannot place it (no control point strained).
    bool evaluate(const double trial[3], State& s) {
        s.limit = rule_.limit(trial);
        if (!s.limit.ok()) return false;
        for (int i = 0; i < 3; ++i) s.a[i] = trial[i] * s.limit.factor;
        sumFibreForcesAndStiffness(f_, s.a, s.ss, s.kt, nullptr);
        s.hasSecant = false;
        ++passes_;
        double sl = 0;
        for (int i = 0; i < 3; ++i) sl += D_[i] * D_[i] * (s.ss[i] - F0_[i]) * L_[i];
        s.lamda = sl / ll_;
        const double t[3] = {target(s.lamda, 0), target(s.lamda, 1), target(s.lamda, 2)};
        s.residual = balancedResidual(D_, t, s.ss);
        // Forces against the load (a negative factor) solve the equations too, but they are not
        // the state sought: such a state is no start for a step.
        return std::isfinite(s.residual) && s.lamda > 0;
    }

    // Steps from cur until the tolerance is met or the passes are spent; the state with the
    // lowest residual met.
    State iterate(State cur) {
        State best = cur;
        while (cur.residual > FAST_SOLVER_TOLERANCE && passes_ < FAST_SOLVER_MAX_PASSES) {
            // The lowest residual met in this round, kept if no step lowers the present one.
            State round;
            round.residual = INFINITY;
            bool improved = tryNewton(cur, round);
            if (!improved && passes_ < FAST_SOLVER_MAX_PASSES)
                improved = trySecant(cur, round) || improved;
            if (!std::isfinite(round.residual)) break;
            // Without a lower residual, move on from the best state of the round anyway.
            cur = round;
            if (cur.residual < best.residual) best = cur;
        }
        return best;
    }

    // The extreme control-point strains of the deformation a, as the rule reads them.
    void extremes(const double a[3], double& emax, double& emin) const {
        emax = 0;
        emin = 0;
        for (std::size_t c = 0; c < f_.cpX.size(); ++c) {
            const double e = a[0] + a[1] * f_.cpX[c] + a[2] * f_.cpY[c];
            if (c == 0 && rule_.mode() == LimitMode::Prescribed) emax = emin = e;
            if (e > emax) emax = e;
            if (e < emin) emin = e;
        }
    }

private:
    double kinv(int j, int p) const {
        return kinv_[static_cast<std::size_t>(j + 1)][static_cast<std::size_t>(p + 1)];
    }
    // The load at the factor l.
    double target(double l, int i) const { return F0_[i] + l * L_[i]; }

    // The secant sums of a state, in a pass of their own the first time a step needs them.
    void needSecant(State& s) {
        if (s.hasSecant) return;
        double ss[3], kt[6];
        sumFibreForcesAndStiffness(f_, s.a, ss, kt, s.ks);
        ++passes_;
        s.hasSecant = true;
    }

    // One step of the fixed elastic matrix, the reference iteration's correction.
    void elasticStep(const State& s, double da[3]) const {
        for (int j = 0; j < 3; ++j) {
            da[j] = 0;
            for (int p = 0; p < 3; ++p) da[j] += kinv(p, j) * (target(s.lamda, p) - s.ss[p]);
        }
    }

    // Newton's step with the limit held at the point p (its (1, X, Y)).
    bool newtonWith(State& s, const double p[3], double limitTarget, double da[3]) {
        const double ps = std::sqrt(p[0] * p[0] * D_[0] * D_[0] + p[1] * p[1] * D_[1] * D_[1] +
                                    p[2] * p[2] * D_[2] * D_[2]);
        // Where the tangent has lost rank (few fibres off a plateau or out of yield), a little
        // of the secant stiffness fills the directions it no longer sees.
        for (const double mix : {0.0, 1e-2}) {
            if (mix != 0) needSecant(s);
            static const int SUM[3][3] = {
                {0, 1, 2}, {1, 3, 4}, {2, 4, 5}};  // (S, SX, SY, SXX, SXY, SYY)
            double K[3][3];
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) K[i][j] = s.kt[SUM[i][j]] + mix * s.ks[SUM[i][j]];
            double M[4][4], b[4], x[4];
            for (int i = 0; i < 3; ++i) {
                for (int j = 0; j < 3; ++j) M[i][j] = D_[i] * K[i][j] * D_[j];
                M[i][3] = -L_[i] * D_[i] / Ls_;
                M[3][i] = p[i] * D_[i] / ps;
                b[i] = D_[i] * (target(s.lamda, i) - s.ss[i]);
            }
            M[3][3] = 0;
            b[3] = (limitTarget - (p[0] * s.a[0] + p[1] * s.a[1] + p[2] * s.a[2])) / ps;
            if (!solveSmall(4, M, b, x)) continue;
            for (int i = 0; i < 3; ++i) da[i] = D_[i] * x[i];
            return true;
        }
        return false;
    }

    // The control points within 5 % of the limit point's strain (at most four, the limit point
    // first).
    void nearLimit(const State& s) {
        const double e0 = s.limit.target, window = 0.05 * std::fabs(e0);
        near_.clear();
        near_.push_back(s.limit.point);
        for (std::size_t c = 0; c < f_.cpX.size() && near_.size() < 4; ++c) {
            const double e = s.a[0] + s.a[1] * f_.cpX[c] + s.a[2] * f_.cpY[c];
            if (c != s.limit.point && std::fabs(e - e0) <= window) near_.push_back(c);
        }
    }

    // The limit rule is the largest (or smallest) of several linear strains: where control
    // points are close to the limit together, as the corners of a symmetric section bent about
    // its axis are, the step is taken with the one that is still the extreme after it; where
    // none is (the state sits on the kink), with their mean.
    bool newtonStep(State& s, double da[3]) {
        if (pieces_) return pieceStep(s, da);
        if (rule_.mode() == LimitMode::Code) return newtonStepCode(s, da);
        nearLimit(s);
        const double side = s.limit.target > 0 ? 1.0 : -1.0;
        for (std::size_t c : near_) {
            const double p[3] = {1, f_.cpX[c], f_.cpY[c]};
            if (!newtonWith(s, p, s.limit.target, da)) continue;
            if (near_.size() == 1) return true;
            const double b[3] = {s.a[0] + da[0], s.a[1] + da[1], s.a[2] + da[2]};
            const double ec = side * (b[0] + b[1] * p[1] + b[2] * p[2]);
            bool extreme = true;
            for (std::size_t o : near_)
                if (side * (b[0] + b[1] * f_.cpX[o] + b[2] * f_.cpY[o]) > ec * (1 + 1e-12))
                    extreme = false;
            if (extreme) return true;
        }
        double p[3] = {1, 0, 0};
        for (std::size_t c : near_) {
            p[1] += f_.cpX[c] / static_cast<double>(near_.size());
            p[2] += f_.cpY[c] / static_cast<double>(near_.size());
        }
        return newtonWith(s, p, s.limit.target, da);
    }

    // The same under the code's rule, where each point has its own ultimate strain: the points
    // within 5 % of their limit (at most four, the limit point first) compared by strain over
    // limit. The pivot holds a fixed combination of two points and is taken as it stands.
    bool newtonStepCode(State& s, double da[3]) {
        if (s.limit.kind == LimitKind::Pivot)
            return newtonWith(s, s.limit.row.data(), s.limit.target, da);
        const bool crushing = s.limit.kind == LimitKind::Crushing;
        near_.clear();
        near_.push_back(s.limit.point);
        for (std::size_t c = 0; c < f_.cpX.size() && near_.size() < 4; ++c) {
            if (c == s.limit.point || (crushing && !(codeTarget(s, c) > 0))) continue;
            if (std::fabs(codeRatio(s, s.a, c) - 1) <= 0.05) near_.push_back(c);
        }
        for (std::size_t c : near_) {
            const double p[3] = {1, f_.cpX[c], f_.cpY[c]};
            if (!newtonWith(s, p, codeTarget(s, c), da)) continue;
            if (near_.size() == 1 || staysExtreme(s, da, c)) return true;
        }
        double p[3] = {1, 0, 0}, t = 0;
        const double k = static_cast<double>(near_.size());
        for (std::size_t c : near_) {
            p[1] += f_.cpX[c] / k;
            p[2] += f_.cpY[c] / k;
            t += codeTarget(s, c) / k;
        }
        return newtonWith(s, p, t, da);
    }
    // The strain the code's rule would put the control point c at, in the state s.
    double codeTarget(const State& s, std::size_t c) const {
        return s.limit.kind == LimitKind::Crushing ? f_.limitPoints[c].epsCu : s.limit.target;
    }
    // The point c's strain under the plane a over that strain (0 where it has none).
    double codeRatio(const State& s, const double a[3], std::size_t c) const {
        const double t = codeTarget(s, c);
        return t != 0 ? (a[0] + a[1] * f_.cpX[c] + a[2] * f_.cpY[c]) / t : 0.0;
    }
    // Whether the point c is still the extreme of the near points after the step da.
    bool staysExtreme(const State& s, const double da[3], std::size_t c) const {
        const double b[3] = {s.a[0] + da[0], s.a[1] + da[1], s.a[2] + da[2]};
        const double rc = codeRatio(s, b, c);
        for (std::size_t o : near_)
            if (codeRatio(s, b, o) > rc * (1 + 1e-12)) return false;
        return true;
    }

    // A constraint a step may hold: row . a = 1, a control point's (1, X, Y) over the strain
    // the rule would put it at.
    struct Held {
        double row[3] = {1, 0, 0};
    };

    // Whether the rule, applied to the deformation b, puts h's point at its limit: scaling b by
    // the rule's factor brings h's ratio to 1 (ties included).
    bool rulePicks(const Held& h, const double b[3]) const {
        const Limit lim = rule_.limit(b);
        const double hb = h.row[0] * b[0] + h.row[1] * b[1] + h.row[2] * b[2];
        return lim.ok() && std::fabs(lim.factor * hb - 1) <= 1e-9;
    }

    // The strain the rule would put the point c at, of the sign its strain e has where the rule
    // holds either extreme (0: the point sets no limit).
    double limitStrainOf(const State& s, std::size_t c, double e) const {
        double t = s.limit.target;
        if (s.limit.kind == LimitKind::Crushing) {
            t = f_.limitPoints[c].epsCu;
            if (!(t > 0)) return 0;
        }
        if (rule_.eitherExtreme() && e * t < 0) t = -t;
        return t;
    }

    // The constraints a step may hold: the limit's own first, then the points whose strain is
    // within 5 % of the one the rule would put them at, closest first (at most five more).
    // Under the program's modes 2 and 3 a point of the other sign counts too (the compressed
    // and the stretched extremes swap there). The pivot is a fixed combination, held alone.
    void candidates(const State& s) {
        held_.clear();
        Held own;
        for (std::size_t i = 0; i < 3; ++i) own.row[i] = s.limit.row[i] / s.limit.target;
        held_.push_back(own);
        if (s.limit.kind == LimitKind::Pivot) return;
        std::vector<std::pair<double, std::size_t>> near;
        for (std::size_t c = 0; c < f_.cpX.size(); ++c) {
            const double e = s.a[0] + s.a[1] * f_.cpX[c] + s.a[2] * f_.cpY[c];
            const double t = limitStrainOf(s, c, e);
            if (c != s.limit.point && t != 0 && std::fabs(e / t - 1) <= 0.05)
                near.emplace_back(std::fabs(e / t - 1), c);
        }
        std::sort(near.begin(), near.end());
        for (std::size_t k = 0; k < near.size() && k < 5; ++k) {
            const std::size_t c = near[k].second;
            const double t = limitStrainOf(s, c, s.a[0] + s.a[1] * f_.cpX[c] + s.a[2] * f_.cpY[c]);
            held_.push_back({{1 / t, f_.cpX[c] / t, f_.cpY[c] / t}});
        }
    }

    // The limit rule is the largest (or smallest) of several linear ratios, so the forces along
    // it are smooth only piece by piece. Newton's step is taken with each point near the limit
    // held in turn and kept when the rule, over all its points, still picks that point after
    // it. Where none is, the step with the rule's own point is cut where it leaves its piece:
    // the next step starts on the edge with the other piece's stiffness, instead of jumping
    // across with a model that no longer holds. Where even that has no length (the state sits
    // on the kink and each side's step leads into the other), the points are held together,
    // in the mean of their constraints.
    bool pieceStep(State& s, double da[3]) {
        candidates(s);
        if (held_.size() == 1 && s.limit.kind == LimitKind::Pivot)
            return newtonWith(s, held_[0].row, 1, da);
        double own[3] = {0, 0, 0};
        bool haveOwn = false;
        for (std::size_t k = 0; k < held_.size(); ++k) {
            double d[3];
            if (!newtonWith(s, held_[k].row, 1, d)) continue;
            const double b[3] = {s.a[0] + d[0], s.a[1] + d[1], s.a[2] + d[2]};
            if (rulePicks(held_[k], b)) {
                for (int i = 0; i < 3; ++i) da[i] = d[i];
                return true;
            }
            if (k == 0) {
                for (int i = 0; i < 3; ++i) own[i] = d[i];
                haveOwn = true;
            }
        }
        if (haveOwn && cutAtPieceEdge(s, own, da)) return true;
        if (held_.size() == 1) return haveOwn && newtonWith(s, held_[0].row, 1, da);
        Held mean;
        mean.row[0] = 0;
        const double k = static_cast<double>(held_.size());
        for (const Held& h : held_)
            for (int i = 0; i < 3; ++i) mean.row[i] += h.row[i] / k;
        return newtonWith(s, mean.row, 1, da);
    }

    // The longest part of the own step along which the rule keeps its point, in da; false
    // where it is too short to take.
    bool cutAtPieceEdge(const State& s, const double own[3], double da[3]) const {
        double lo = 0, hi = 1;
        halveTo(
            [&](double t) {
                const double b[3] = {s.a[0] + t * own[0], s.a[1] + t * own[1], s.a[2] + t * own[2]};
                return rulePicks(held_[0], b);
            },
            lo, hi, 30, 0);
        if (lo < MIN_PIECE_STEP) return false;
        for (int i = 0; i < 3; ++i) da[i] = lo * own[i];
        return true;
    }

    // The secant step: the deformation whose forces under the present secant stiffness would
    // be the load (its size is the limit rule's business).
    bool secantStep(State& s, double trial[3]) {
        needSecant(s);
        const double K[3][3] = {
            {s.ks[0], s.ks[1], s.ks[2]}, {s.ks[1], s.ks[3], s.ks[4]}, {s.ks[2], s.ks[4], s.ks[5]}};
        double M[4][4], b[4], x[4];
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) M[i][j] = D_[i] * K[i][j] * D_[j];
            b[i] = D_[i] * target(s.lamda, i);
        }
        if (!solveSmall(3, M, b, x)) return false;
        for (int i = 0; i < 3; ++i) trial[i] = D_[i] * x[i];
        return true;
    }

    // Evaluates the trial deformation at; round keeps the lowest residual of the round. True
    // when it lowers cur's.
    bool tryState(const State& cur, State& round, const double at[3]) {
        State next;
        if (!evaluate(at, next)) return false;
        if (next.residual < round.residual) round = next;
        return next.residual < cur.residual;
    }

    // Newton's step, halved up to three times; true when one lowers the residual.
    bool tryNewton(State& cur, State& round) {
        double da[3];
        if (!newtonStep(cur, da)) return false;
        bool improved = false;
        for (double t = 1; t >= 0.125 && !improved && passes_ < FAST_SOLVER_MAX_PASSES; t *= 0.5) {
            const double at[3] = {cur.a[0] + t * da[0], cur.a[1] + t * da[1], cur.a[2] + t * da[2]};
            improved = tryState(cur, round, at);
        }
        return improved;
    }

    // The secant step, or the elastic one where the secant stiffness is singular, along the
    // limit and doubled while the residual does not rise: across a flat stretch (every fibre on
    // a plateau or in yield, the forces do not change) and further along a direction that keeps
    // paying. True when it lowers the residual.
    bool trySecant(State& cur, State& round) {
        double trial[3], dir[3];
        if (secantStep(cur, trial)) {
            for (int i = 0; i < 3; ++i) dir[i] = trial[i] - cur.a[i];
        } else {
            elasticStep(cur, dir);
        }
        // Along the limit: the limit point's strain stays, so the doubled steps are not scaled
        // back to where they started.
        // (Every limit row has 1 as its first weight: a point's, or the pivot's combination.)
        const double px = cur.limit.row[1], py = cur.limit.row[2];
        const double pa = cur.a[0] + cur.a[1] * px + cur.a[2] * py;
        const double pd = dir[0] + dir[1] * px + dir[2] * py;
        if (pa != 0)
            for (int i = 0; i < 3; ++i) dir[i] -= pd / pa * cur.a[i];
        bool improved = false;
        for (double t = 1; t <= 1024 && passes_ < FAST_SOLVER_MAX_PASSES; t *= 2) {
            const double at[3] = {cur.a[0] + t * dir[0], cur.a[1] + t * dir[1],
                                  cur.a[2] + t * dir[2]};
            State next;
            if (!evaluate(at, next)) break;
            if (next.residual > round.residual) break;
            round = next;
            improved = improved || next.residual < cur.residual;
            if (improved && next.residual > 0.5 * cur.residual) continue;
            if (improved) break;
        }
        return improved;
    }

    const FibreArrays& f_;
    const matrx2& kinv_;
    const LimitRule& rule_;
    double D_[3] = {0, 0, 0};   // balancing weights
    double L_[3] = {0, 0, 0};   // the scaled part of the load
    double F0_[3] = {0, 0, 0};  // the fixed part
    double ll_ = 0, Ls_ = 0;    // the scaled part's balanced size, squared and not
    int passes_ = 0;
    std::vector<std::size_t> near_;  // control points near the limit, see nearLimit
    bool pieces_ = false;            // steps by pieces of the rule, see pieceStep
    std::vector<Held> held_;         // constraints a piece step may hold, see candidates
};

// The plane a with its curvature turned by angle about the section.
void turnCurvature(const double a[3], double angle, double out[3]) {
    const double c = std::cos(angle), s = std::sin(angle);
    out[0] = a[0];
    out[1] = c * a[1] - s * a[2];
    out[2] = s * a[1] + c * a[2];
}

}  // namespace

SolveResult SectionSolver::solveFast(const vec3& LL, const LimitRule& rule, const double* start,
                                     const double* fixed) {
    SolveResult r;
    r.residual = INFINITY;
    NewtonSolve newton(fibres_, kinv_, k0_, LL, rule, fixed);
    if (!newton.loadHasSize()) return r;
    double a0[3];
    newton.elasticStart(fixed != nullptr, a0);
    if (start != nullptr)
        for (int j = 0; j < 3; ++j) a0[j] = start[j];
    State cur;
    if (!newton.evaluate(a0, cur)) {
        r.iterations = newton.passes();
        return r;
    }
    cur = newton.iterate(cur);
    int passes = newton.passes();
    // A solve from the deformation from with steps that follow the rule piece by piece; its
    // state replaces cur only where it meets the tolerance. Returns its passes.
    auto byPieces = [&](const double from[3]) {
        NewtonSolve piecewise(fibres_, kinv_, k0_, LL, rule, fixed);
        piecewise.followPieces();
        State s;
        if (piecewise.evaluate(from, s)) {
            s = piecewise.iterate(s);
            if (s.residual <= FAST_SOLVER_TOLERANCE) cur = s;
        }
        return piecewise.passes();
    };
    // Where the plain steps stall at a kink of the limit rule (the most compressed corner
    // changes, or the compressed and the stretched extremes swap), the solve is taken again
    // piece by piece, from where it began and from the best state met. Under mode 1 a state
    // held at a stretched point is left to the bracketing (where the rule jumps, a load meets
    // more than one state: see firstStateAlong).
    const bool retry = rule.eitherExtreme() || cur.limit.target > 0;
    for (int again = 0; retry && again < 2 && cur.residual > FAST_SOLVER_TOLERANCE; ++again)
        passes += byPieces(again == 0 ? a0 : cur.a);
    // Under modes 2 and 3 (steel and bars alone) most fibres sit on their plateaus over much of
    // the family, the residual has shallow hollows away from the state, and the steps settle in
    // one: the state is sought once more from the best state met with its curvature turned
    // about the section, step by step.
    for (int turn = 1;
         rule.eitherExtreme() && turn < TURNED_STARTS && cur.residual > FAST_SOLVER_TOLERANCE;
         ++turn) {
        double turned[3];
        turnCurvature(cur.a, 2 * std::numbers::pi * turn / TURNED_STARTS, turned);
        passes += byPieces(turned);
    }
    remember(cur.a, cur.a);
    newton.extremes(cur.a, r.emax, r.emin);
    r.loadFraction = cur.lamda;
    r.residual = cur.residual;
    r.iterations = passes;
    r.converged = cur.residual <= FAST_SOLVER_TOLERANCE;
    return r;
}

}  // namespace qav
