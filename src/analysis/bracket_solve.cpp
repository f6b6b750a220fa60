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

}  // namespace

bool SectionSolver::bracketState(const vec3& LL, const LimitRule& rule, const double* fixed,
                                 double out[3], int& passes, const FamilyPiece* only) {
    if (fibres_.cpX.empty() || !(rule.strain() > 0)) return false;
    double D[3];
    balanceWeights(k0_, D);
    const double F0 = fixed ? fixed[0] : 0.0;
    // The load's moment direction, in balanced units.
    const double lm1 = D[1] * LL[2], lm2 = D[2] * LL[3];
    const double lmn = std::hypot(lm1, lm2);
    if (!(lmn > 0) || !std::isfinite(lmn)) return false;
    const double u1 = lm1 / lmn, u2 = lm2 / lmn;
    const double l0 = D[0] * LL[1];
    const int budget = 4 * SOLVER_MAX_ITERATIONS;
    const std::vector<FamilyPiece> pieces =
        only != nullptr ? std::vector<FamilyPiece>{*only} : rule.pieces();

    // Balanced forces at (phi, t).
    auto forces = [&](double phi, double t, double f[3], double a[3]) {
        rule.plane(phi, t, a);
        double ss[3];
        sumFibreForces(fibres_, a, ss);
        ++passes;
        f[0] = D[0] * (ss[0] - F0);
        f[1] = D[1] * ss[1];
        f[2] = D[2] * ss[2];
    };
    // The in-plane equation: the axial force held (fixed) or the forces on the load's ray.
    auto inPlane = [&](const double f[3]) {
        if (fixed != nullptr) return f[0];
        return lmn * f[0] - l0 * (u1 * f[1] + u2 * f[2]);
    };
    // For the direction phi: the root in t of the in-plane equation, and the balanced forces
    // there; false where no piece of the family brackets one.
    auto solveT = [&](double phi, double f[3], double a[3]) {
        for (const FamilyPiece& piece : pieces) {
            const double t0 = piece.t0, t1 = piece.t1;
            double f0[3], f1[3];
            forces(phi, t0, f0, a);
            const double g0 = inPlane(f0);
            forces(phi, t1, f1, a);
            const double g1 = inPlane(f1);
            if (!std::isfinite(g0) || !std::isfinite(g1) || (g0 > 0) == (g1 > 0)) continue;
            const double t = rootIn(
                [&](double x) {
                    double ff[3];
                    forces(phi, x, ff, a);
                    return inPlane(ff);
                },
                t0, g0, t1, g1, {80, 1e-15, 0, 0});
            forces(phi, t, f, a);
            return true;
        }
        return false;
    };
    // The out-of-plane equation: the moment's component across the load's moment direction;
    // NaN where the direction has no state or its moment points against the load's.
    double a[3];
    auto across = [&](double phi) {
        double f[3];
        if (!solveT(phi, f, a)) return static_cast<double>(NAN);
        if (!(u1 * f[1] + u2 * f[2] > 0)) return static_cast<double>(NAN);
        return -u2 * f[1] + u1 * f[2];
    };

    // Start at the gradient direction of the elastic deformation under the load.
    double e[3] = {0, 0, 0};
    for (std::size_t j = 0; j < 3; ++j)
        for (std::size_t p = 0; p < 3; ++p) e[j] += kinv_[j + 1][p + 1] * LL[p + 1];
    double phi0 = std::atan2(e[2], e[1]);
    double ha = across(phi0);
    // Where that direction has no state along the load (a section far stiffer about one axis
    // than the other turns the elastic gradient away from the moment), the nearest of a round
    // of directions that has one.
    for (int k = 1; k <= 16 && !std::isfinite(ha); ++k) {
        for (const double sgn : {1.0, -1.0}) {
            const double q = phi0 + sgn * k * PI / 16, hq = across(q);
            if (std::isfinite(hq)) {
                phi0 = q;
                ha = hq;
                break;
            }
        }
    }
    if (!std::isfinite(ha)) return false;
    double pa = phi0, pb = phi0, hb = ha;
    bool bracketed = ha == 0;
    // The directions whose states lie along the load can end within a doubling step (the
    // in-plane equation has no root on the piece beyond): stepping from the last direction with
    // a state towards the first without one closes in on that edge, where the cross moment may
    // change sign first.
    auto towardsEdge = [&](double inside, double hInside, double outside) {
        for (int k = 0; k < 40 && !bracketed; ++k) {
            const double q = 0.5 * (inside + outside), hq = across(q);
            if (!std::isfinite(hq)) {
                outside = q;
            } else if ((hq > 0) != (hInside > 0)) {
                pa = inside;
                ha = hInside;
                pb = q;
                hb = hq;
                bracketed = true;
            } else {
                inside = q;
                hInside = hq;
            }
        }
    };
    double lastQ[2] = {phi0, phi0}, lastH[2] = {ha, ha};
    bool edgeSought[2] = {false, false};
    for (double step = 0.01; !bracketed && step < PI && passes < budget; step *= 2) {
        for (int side = 0; side < 2 && !bracketed; ++side) {
            const double q = phi0 + (side == 0 ? step : -step), hq = across(q);
            if (!std::isfinite(hq)) {
                if (!edgeSought[side]) towardsEdge(lastQ[side], lastH[side], q);
                edgeSought[side] = true;
                continue;
            }
            lastQ[side] = q;
            lastH[side] = hq;
            if ((hq > 0) != (ha > 0)) {
                pb = q;
                hb = hq;
                bracketed = true;
                break;
            }
            // Keep the nearer side's value as the other end's start.
            if (std::fabs(hq) < std::fabs(ha)) {
                pa = q;
                ha = hq;
            }
        }
    }
    // The doubling steps can leap over a narrow stretch of directions whose states do lie
    // along the load: a round of directions finds the first change of sign.
    if (!bracketed) {
        const int n = 48;
        double qPrev = phi0, hPrev = ha;
        for (int k = 1; k <= n && !bracketed; ++k) {
            const double q = phi0 + 2 * PI * k / n, hq = across(q);
            if (!std::isfinite(hq)) continue;
            if ((hq > 0) != (hPrev > 0) && q - qPrev < PI / 4) {
                pa = qPrev;
                ha = hPrev;
                pb = q;
                hb = hq;
                bracketed = true;
            }
            qPrev = q;
            hPrev = hq;
        }
    }
    if (!bracketed) return false;
    double phi = pa;
    if (pa != pb) {
        phi = rootIn(
            [&](double x) {
                const double h = across(x);
                return std::isfinite(h) ? h : 0.0;
            },
            pa, ha, pb, hb, {80, 1e-15, 0, 0});
    }
    double f[3];
    if (!solveT(phi, f, a)) return false;
    for (int i = 0; i < 3; ++i) out[i] = a[i];
    return true;
}

}  // namespace qav
