// The bracketing solver: the way to a state where Newton's method finds none. Near the ends of
// the surface most fibres sit on a plateau (steel yielded, concrete cracked or crushed), the
// tangent stiffness has lost rank and the forces change piecewise linearly with the
// deformation; Newton's steps and the secant steps then stall, and the reference iteration
// creeps. Here the states of the limit rule are written with two parameters instead: the
// direction phi of the strain gradient and the position t of the strain plane along the rule's
// family for that direction (from uniform compression at t = 0 to uniform tension at the end).
// Along t the axial force falls monotonically for monotonic fibre laws, so one equation is
// solved in t by a bracketing root finder, and the other in phi the same way: a bracket holds
// a root whatever the tangent says. The state found is then handed to Newton's method, which
// confirms it (its first pass) or finishes the last digits.
#include <cmath>
#include <cstddef>
#include <vector>

#include "analysis/roots.h"
#include "analysis/section_solver.h"

namespace qav {

namespace {

constexpr double PI = 3.14159265358979323846;

// A direction phi of the strain gradient and the out-of-plane equation's value there.
struct Direction {
    double phi = 0, across = NAN;
};

// The two equations on the rule's family for one load: in t (the in-plane equation) and in phi
// (the cross moment), with the fibre passes they cost.
class FamilyEquations {
public:
    FamilyEquations(const FibreArrays& f, const matrx2& k0, const vec3& LL, const LimitRule& rule,
                    const double* fixed, const FamilyPiece* only, int& passes)
        : f_(f),
          rule_(rule),
          fixed_(fixed),
          passes_(passes),
          pieces_(only != nullptr ? std::vector<FamilyPiece>{*only} : rule.pieces()),
          samples_(only != nullptr ? 0 : SAMPLES) {
        balanceWeights(k0, D_);
        F0_ = fixed ? fixed[0] : 0.0;
        // The load's moment direction, in balanced units.
        const double lm1 = D_[1] * LL[2], lm2 = D_[2] * LL[3];
        lmn_ = std::hypot(lm1, lm2);
        u1_ = lm1 / lmn_;
        u2_ = lm2 / lmn_;
        l0_ = D_[0] * LL[1];
    }
    bool loadHasMoment() const { return lmn_ > 0 && std::isfinite(lmn_); }

    // For the direction phi: a root in t of the in-plane equation whose moment lies along the
    // load's, with the balanced forces and the plane there; false where none is found. A piece
    // whose ends hold no such root is searched again in SAMPLES steps: a load next to an end
    // of the surface meets its piece twice (once along the load and once against it, the stray
    // cross moment of the tension end turning the forces past the load's line), with both ends
    // of the piece on one side.
    bool solveT(double phi, double f[3], double a[3]) {
        for (const FamilyPiece& piece : pieces_) {
            double t1 = piece.t1, f1[3], f0[3];
            forces(phi, t1, f1, a);
            if (f1[0] == 0 && f1[1] == 0 && f1[2] == 0) t1 = lastLoaded(phi, piece.t0, t1, f1, a);
            const double g1 = inPlane(f1);
            forces(phi, piece.t0, f0, a);
            double ta = piece.t0, ga = inPlane(f0);
            if (rootBetween(phi, ta, ga, t1, g1, f, a)) return true;
            for (int k = 1; k <= samples_; ++k) {
                const double tb = k == samples_ ? t1 : piece.t0 + (t1 - piece.t0) * k / samples_;
                double fb[3];
                forces(phi, tb, fb, a);
                const double gb = inPlane(fb);
                if (rootBetween(phi, ta, ga, tb, gb, f, a)) return true;
                ta = tb;
                ga = gb;
            }
        }
        return false;
    }
    // The out-of-plane equation: the moment's component across the load's moment direction;
    // NaN where the direction has no state along the load.
    double across(double phi) {
        double f[3], a[3];
        if (!solveT(phi, f, a)) return NAN;
        return -u2_ * f[1] + u1_ * f[2];
    }
    Direction at(double phi) { return {phi, across(phi)}; }

private:
    static constexpr int SAMPLES = 8;
    // The root of the in-plane equation between ta and tb where it changes sign there, taken
    // only where the moment lies along the load's (a root against it is no state of the load).
    bool rootBetween(double phi, double ta, double ga, double tb, double gb, double f[3],
                     double a[3]) {
        if (!std::isfinite(ga) || !std::isfinite(gb) || (ga > 0) == (gb > 0)) return false;
        const double t = rootIn(
            [&](double x) {
                double ff[3];
                forces(phi, x, ff, a);
                return inPlane(ff);
            },
            ta, ga, tb, gb, {80, 1e-15, 0, 0});
        forces(phi, t, f, a);
        return u1_ * f[1] + u2_ * f[2] > 0;
    }
    // A section whose fibres carry no tension has no forces at all once its compressed depth
    // holds no fibre, well before the piece's end: the piece's end is moved back to the last
    // position that still loads a fibre, else the end's zero would pass for a root.
    double lastLoaded(double phi, double t0, double t1, double f[3], double a[3]) {
        auto loaded = [&](double t) {
            forces(phi, t, f, a);
            return f[0] != 0 || f[1] != 0 || f[2] != 0;
        };
        halveTo(loaded, t0, t1, 60, 0);
        forces(phi, t0, f, a);
        return t0;
    }
    // Balanced forces at (phi, t).
    void forces(double phi, double t, double f[3], double a[3]) {
        rule_.plane(phi, t, a);
        double ss[3];
        sumFibreForces(f_, a, ss);
        ++passes_;
        f[0] = D_[0] * (ss[0] - F0_);
        f[1] = D_[1] * ss[1];
        f[2] = D_[2] * ss[2];
    }
    // The in-plane equation: the axial force held (fixed) or the forces on the load's ray.
    double inPlane(const double f[3]) const {
        if (fixed_ != nullptr) return f[0];
        return lmn_ * f[0] - l0_ * (u1_ * f[1] + u2_ * f[2]);
    }

    const FibreArrays& f_;
    const LimitRule& rule_;
    const double* fixed_;
    int& passes_;
    std::vector<FamilyPiece> pieces_;
    int samples_;
    double D_[3] = {0, 0, 0};
    double F0_ = 0, lmn_ = 0, u1_ = 0, u2_ = 0, l0_ = 0;
};

// Two directions whose cross moments lie on either side of zero, found from a start outwards.
class DirectionBracket {
public:
    DirectionBracket(FamilyEquations& eq, const int& passes) : eq_(eq), passes_(passes) {}

    // Where the start has no state along the load (a section far stiffer about one axis than
    // the other turns the elastic gradient away from the moment), the nearest of a round of
    // directions that has one; false where none has.
    bool start(double phi0) {
        a_ = eq_.at(phi0);
        for (int k = 1; k <= 16 && !std::isfinite(a_.across); ++k)
            for (const double sgn : {1.0, -1.0}) {
                const Direction d = eq_.at(phi0 + sgn * k * PI / 16);
                if (std::isfinite(d.across)) {
                    a_ = d;
                    break;
                }
            }
        b_ = a_;
        last_[0] = last_[1] = a_;
        phi0_ = a_.phi;
        found_ = a_.across == 0;
        return std::isfinite(a_.across);
    }
    // Steps doubling in size on either side, then a round of directions: the doubling steps can
    // leap over a narrow stretch of directions whose states lie along the load.
    bool find(int budget) {
        double step = 0.01;
        for (; !found_ && step < PI && passes_ < budget; step *= 2)
            for (int side = 0; side < 2 && !found_; ++side) doublingStep(side, step);
        if (!found_) round();
        return found_;
    }
    const Direction& lower() const { return a_; }
    const Direction& upper() const { return b_; }

private:
    void take(const Direction& inside, const Direction& other) {
        a_ = inside;
        b_ = other;
        found_ = true;
    }
    void doublingStep(int side, double step) {
        const Direction d = eq_.at(phi0_ + (side == 0 ? step : -step));
        if (!std::isfinite(d.across)) {
            if (!edgeSought_[side]) towardsEdge(last_[side], d.phi);
            edgeSought_[side] = true;
            return;
        }
        last_[side] = d;
        if ((d.across > 0) != (a_.across > 0)) {
            b_ = d;
            found_ = true;
            return;
        }
        // Keep the nearer side's value as the other end's start.
        if (std::fabs(d.across) < std::fabs(a_.across)) a_ = d;
    }
    // The directions whose states lie along the load can end within a doubling step (the
    // in-plane equation has no root on the piece beyond): halving from the last direction with
    // a state towards the first without one closes in on that edge, where the cross moment may
    // change sign first.
    void towardsEdge(Direction inside, double outside) {
        for (int k = 0; k < 40 && !found_; ++k) {
            const Direction d = eq_.at(0.5 * (inside.phi + outside));
            if (!std::isfinite(d.across))
                outside = d.phi;
            else if ((d.across > 0) != (inside.across > 0))
                take(inside, d);
            else
                inside = d;
        }
    }
    void round() {
        const int n = 48;
        Direction prev{phi0_, a_.across};
        for (int k = 1; k <= n && !found_; ++k) {
            const Direction d = eq_.at(phi0_ + 2 * PI * k / n);
            if (!std::isfinite(d.across)) continue;
            if ((d.across > 0) != (prev.across > 0) && d.phi - prev.phi < PI / 4) take(prev, d);
            prev = d;
        }
    }

    FamilyEquations& eq_;
    const int& passes_;
    Direction a_, b_;
    double phi0_ = 0;
    bool found_ = false;
    Direction last_[2];  // the last direction with a state on either side
    bool edgeSought_[2] = {false, false};
};

}  // namespace

bool SectionSolver::bracketState(const vec3& LL, const LimitRule& rule, const double* fixed,
                                 double out[3], int& passes, const FamilyPiece* only) {
    if (fibres_.cpX.empty() || !(rule.strain() > 0)) return false;
    FamilyEquations eq(fibres_, k0_, LL, rule, fixed, only, passes);
    if (!eq.loadHasMoment()) return false;
    // Start at the gradient direction of the elastic deformation under the load.
    double e[3] = {0, 0, 0};
    for (std::size_t j = 0; j < 3; ++j)
        for (std::size_t p = 0; p < 3; ++p) e[j] += kinv_[j + 1][p + 1] * LL[p + 1];
    DirectionBracket bracket(eq, passes);
    if (!bracket.start(std::atan2(e[2], e[1])) || !bracket.find(4 * SOLVER_MAX_ITERATIONS))
        return false;
    const Direction &pa = bracket.lower(), &pb = bracket.upper();
    double phi = pa.phi;
    if (pa.phi != pb.phi) {
        phi = rootIn(
            [&](double x) {
                const double h = eq.across(x);
                return std::isfinite(h) ? h : 0.0;
            },
            pa.phi, pa.across, pb.phi, pb.across, {80, 1e-15, 0, 0});
    }
    double f[3];
    return eq.solveT(phi, f, out);
}

}  // namespace qav
