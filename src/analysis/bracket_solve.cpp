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

#include "analysis/section_solver.h"

namespace qav {

namespace {

constexpr double PI = 3.14159265358979323846;

// Root of a continuous g on [a, b] with g(a) and g(b) of opposite signs (the Illinois variant
// of the false position method: a bracket always, superlinear where g is smooth).
template <class G>
double illinois(G&& g, double a, double fa, double b, double fb, int maxSteps, double width) {
    int side = 0;
    for (int k = 0; k < maxSteps && std::fabs(b - a) > width; ++k) {
        double c = (a * fb - b * fa) / (fb - fa);
        if (!(c > std::fmin(a, b) && c < std::fmax(a, b))) c = 0.5 * (a + b);
        const double fc = g(c);
        if (fc == 0 || !std::isfinite(fc)) return c;
        if ((fc > 0) == (fb > 0)) {
            b = c;
            fb = fc;
            if (side == -1) fa *= 0.5;
            side = -1;
        } else {
            a = c;
            fa = fc;
            if (side == 1) fb *= 0.5;
            side = 1;
        }
    }
    return std::fabs(fa) < std::fabs(fb) ? a : b;
}

}  // namespace

bool SectionSolver::bracketState(const vec3& LL, Scaling scaling, double epsMax,
                                 const double* fixed, double out[3], int& passes) {
    const std::size_t np = fibres_.cpX.size();
    if (np == 0) return false;
    const double top = scaling == Scaling::Prescribed ? epsMax : EPS_LIMIT;
    if (!(top > 0)) return false;
    double D[3];
    for (std::size_t i = 0; i < 3; ++i) D[i] = 1 / std::sqrt(k0_[i + 1][i + 1]);
    const double F0 = fixed ? fixed[0] : 0.0;
    // The load's moment direction, in balanced units.
    const double lm1 = D[1] * LL[2], lm2 = D[2] * LL[3];
    const double lmn = std::hypot(lm1, lm2);
    if (!(lmn > 0) || !std::isfinite(lmn)) return false;
    const double u1 = lm1 / lmn, u2 = lm2 / lmn;
    const double l0 = D[0] * LL[1];
    const int budget = 4 * SOLVER_MAX_ITERATIONS;
    const bool codeRule = fibres_.codeRule && scaling == Scaling::Mode1;

    // The deformation of the rule's family at (phi, t). Mode 1: t in [0, 1) keeps the most
    // compressed point at the limit while the opposite extreme falls without bound; t in
    // [1, 2] holds the most stretched point at the limit in tension while the other rises
    // from 0 to the limit (the section in tension). Mode 3 and the prescribed strain: the
    // same with a continuous family (the larger magnitude at the limit; the largest strain
    // prescribed, t in [0, 1) only). Mode 2 (the smaller magnitude at the limit) jumps where
    // the first point goes into tension, so its family has three pieces: t in [0, 1) the
    // section in compression, the other extreme falling from the limit to 0; t in (1, 3) both
    // extremes beyond the limit, from the compressed one without bound down to the limit and
    // then the stretched one out to no bound; t in [3, 4] the section in tension.
    auto extremes = [&](double t, double& hi, double& lo) {
        hi = top;
        lo = top;
        if (scaling == Scaling::Mode3) {
            if (t <= 1) {
                lo = top - 2 * top * t;
            } else {
                lo = -top;
                hi = top - 2 * top * (t - 1);
            }
        } else if (scaling == Scaling::Mode2) {
            if (t < 1) {
                lo = top * (1 - t);
            } else if (t < 2) {
                hi = top / (t - 1);
                lo = -top;
            } else if (t < 3) {
                lo = -top / (3 - t);
            } else {
                lo = -top;
                hi = -top * (t - 3);
            }
        } else if (t < 1) {
            lo = top - 2 * top * t / (1 - t);
        } else {
            lo = -top;
            hi = top * (1 - t);
        }
    };
    auto plane = [&](double phi, double t, double a[3]) {
        const double c = std::cos(phi), s = std::sin(phi);
        double uc = -INFINITY, ut = INFINITY;
        for (std::size_t k = 0; k < np; ++k) {
            const double u = c * fibres_.cpX[k] + s * fibres_.cpY[k];
            uc = std::fmax(uc, u);
            ut = std::fmin(ut, u);
        }
        const double w = uc - ut;
        double hi = top, lo = top;
        extremes(t, hi, lo);
        const double k = w > 0 ? (hi - lo) / w : 0.0;
        a[0] = lo - k * ut;
        a[1] = k * c;
        a[2] = k * s;
        // Under the code's limit the same directions, each brought to the code's rule.
        if (codeRule) {
            const CodeLimit lim = codeRuleLimit(fibres_, a);
            if (lim.ok())
                for (int i = 0; i < 3; ++i) a[i] *= lim.factor;
        }
    };
    // Balanced forces at (phi, t).
    auto forces = [&](double phi, double t, double f[3], double a[3]) {
        plane(phi, t, a);
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
    // The family's pieces in t, each searched for a sign change in turn.
    const double pieces[3][2] = {{0, 1 - 1e-9}, {1, 2}, {2, 2}};
    const double pieces2[3][2] = {{0, 1 - 1e-9}, {1 + 1e-9, 3 - 1e-9}, {3, 4}};
    const int nPieces = scaling == Scaling::Mode2 ? 3 : scaling == Scaling::Mode1 ? 2 : 1;
    // For the direction phi: the root in t of the in-plane equation, and the balanced forces
    // there; false where no piece brackets one.
    auto solveT = [&](double phi, double f[3], double a[3]) {
        for (int p = 0; p < nPieces; ++p) {
            const double(&range)[2] = scaling == Scaling::Mode2 ? pieces2[p] : pieces[p];
            double t0 = range[0], t1 = scaling == Scaling::Mode3 ? 2.0 : range[1];
            double f0[3], f1[3];
            forces(phi, t0, f0, a);
            const double g0 = inPlane(f0);
            forces(phi, t1, f1, a);
            const double g1 = inPlane(f1);
            if (!std::isfinite(g0) || !std::isfinite(g1) || (g0 > 0) == (g1 > 0)) continue;
            const double t = illinois(
                [&](double x) {
                    double ff[3];
                    forces(phi, x, ff, a);
                    return inPlane(ff);
                },
                t0, g0, t1, g1, 80, 1e-15);
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
    for (double step = 0.01; !bracketed && step < PI && passes < budget; step *= 2) {
        for (const double sgn : {1.0, -1.0}) {
            const double q = phi0 + sgn * step, hq = across(q);
            if (!std::isfinite(hq)) continue;
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
        phi = illinois(
            [&](double x) {
                const double h = across(x);
                return std::isfinite(h) ? h : 0.0;
            },
            pa, ha, pb, hb, 80, 1e-15);
    }
    double f[3];
    if (!solveT(phi, f, a)) return false;
    for (int i = 0; i < 3; ++i) out[i] = a[i];
    return true;
}

}  // namespace qav
