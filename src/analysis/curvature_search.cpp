#include "analysis/curvature_search.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "analysis/roots.h"

namespace qav {

namespace {

// The largest tilt tried: beyond it the asked moment is a small part of the state's.
constexpr double MAX_TILT = 1.5;

class StepSearch {
public:
    StepSearch(const FibreArrays& f, double N, double ux, double uy, double eps)
        : f_(f), N_(N), ux_(ux), uy_(uy), eps_(eps), radius_(fibreRadius(f)) {}
    int passes() const { return passes_; }

    // The cross moment (N mm) of the state at the tilt t; false where no curvature carries N.
    bool crossMoment(double t, CurvatureState& s) {
        if (!curvatureAt(t, s)) return false;
        s.tilt = t;
        return true;
    }
    double cross(const CurvatureState& s) const { return -uy_ * s.ss[1] + ux_ * s.ss[2]; }

    double residual(const CurvatureState& s) const {
        const double dn = s.ss[0] - N_, dm = cross(s) / radius_;
        const double size = std::sqrt(s.ss[0] * s.ss[0] + (s.ss[1] * s.ss[1] + s.ss[2] * s.ss[2]) /
                                                              (radius_ * radius_));
        return std::sqrt(dn * dn + dm * dm) / size;
    }

private:
    // The plane of curvature k along the tilted direction (dx, dy) with the compressed edge at
    // eps, and its forces.
    void evaluate(double k, double dx, double dy, double top, CurvatureState& s) {
        s.abc[0] = eps_ - k * top;
        s.abc[1] = k * dx;
        s.abc[2] = k * dy;
        sumFibreForces(f_, s.abc, s.ss);
        ++passes_;
    }

    // Halves the curvature between none (the uniform strain eps, carrying at least N) and one
    // that carries at most N.
    bool curvatureAt(double t, CurvatureState& s) {
        const double c = std::cos(t), sn = std::sin(t);
        const double dx = c * ux_ - sn * uy_, dy = c * uy_ + sn * ux_;
        double top = -INFINITY, bottom = INFINITY;
        for (std::size_t i = 0; i < f_.cpX.size(); ++i) {
            const double d = dx * f_.cpX[i] + dy * f_.cpY[i];
            top = std::max(top, d);
            bottom = std::min(bottom, d);
        }
        const double depth = top - bottom;
        if (!(depth > 0) || !std::isfinite(depth)) return false;
        evaluate(0, dx, dy, top, s);
        if (s.ss[0] < N_) return false;  // even the uniform strain carries less
        if (s.ss[0] == N_) return true;
        // A strain difference of 1e3 over the depth strains every fibre beyond any yield.
        double lo = 0, hi = std::max(std::fabs(eps_), 1e-4) / depth;
        for (;;) {
            evaluate(hi, dx, dy, top, s);
            if (s.ss[0] <= N_) break;
            lo = hi;
            hi *= 4;
            if (hi * depth > 1e3) return false;
        }
        // The axial force falls as the curvature grows: the curvature that carries N, and the
        // state of all those tried that comes nearest to it.
        CurvatureState best = s;
        auto excess = [&](double k) {
            evaluate(k, dx, dy, top, s);
            if (std::fabs(s.ss[0] - N_) < std::fabs(best.ss[0] - N_)) best = s;
            return s.ss[0] - N_;
        };
        const double excessHi = s.ss[0] - N_;
        rootIn(excess, lo, excess(lo), hi, excessHi, {200, 0, 1e-15, 0});
        s = best;
        return true;
    }

    const FibreArrays& f_;
    double N_, ux_, uy_, eps_;
    double radius_ = 1;
    int passes_ = 0;
};

// Brackets the tilt at which the cross moment changes sign from ga at t0, widening on both
// sides: b and gb the other end. everyTilt is cleared where a tilt tried has no state.
bool bracketTilt(StepSearch& search, double t0, double ga, CurvatureState& b, double& gb,
                 bool& everyTilt) {
    for (double step = 0.01; step < 2 * MAX_TILT; step *= 2) {
        for (const double t : {t0 + step, t0 - step}) {
            if (std::fabs(t) > MAX_TILT) continue;
            CurvatureState s;
            if (!search.crossMoment(t, s)) {
                everyTilt = false;
                continue;
            }
            const double g = search.cross(s);
            if ((g < 0) != (ga < 0) || g == 0) {
                b = s;
                gb = g;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

double fibreRadius(const FibreArrays& f) {
    double a = 0, s = 0;
    for (std::size_t i = 0; i < f.x.size(); ++i) {
        a += std::fabs(f.area[i]);
        s += std::fabs(f.area[i]) * (f.x[i] * f.x[i] + f.y[i] * f.y[i]);
    }
    return a > 0 && s > 0 ? std::sqrt(s / a) : 1;
}

CurvatureState searchCurvatureState(const FibreArrays& f, double N, double ux, double uy,
                                    double eps, double tiltStart) {
    StepSearch search(f, N, ux, uy, eps);
    auto finish = [&search](CurvatureState s, bool found) {
        s.passes = search.passes();
        s.residual = found ? search.residual(s) : INFINITY;
        s.found = found && std::isfinite(s.residual);
        return s;
    };
    const double t0 = std::clamp(std::isfinite(tiltStart) ? tiltStart : 0.0, -MAX_TILT, MAX_TILT);
    CurvatureState a;
    if (!search.crossMoment(t0, a)) return finish(CurvatureState{}, false);
    double ga = search.cross(a);
    if (ga == 0) return finish(a, true);
    CurvatureState b;
    double gb = 0;
    bool everyTilt = true;
    const bool bracketed = bracketTilt(search, t0, ga, b, gb, everyTilt);
    if (!bracketed) {
        // Every tilt tried carries the force with a cross moment of one sign.
        CurvatureState none = finish(CurvatureState{}, false);
        none.noState = everyTilt;
        return none;
    }
    // The tilt of no cross moment, and the state of all those tried that comes nearest to it;
    // a state whose forces meet the target to 1e-13 ends the search.
    CurvatureState best = std::fabs(ga) < std::fabs(gb) ? a : b;
    auto cross = [&](double t) -> std::optional<double> {
        CurvatureState s;
        if (!search.crossMoment(t, s)) return std::nullopt;
        const double g = search.cross(s);
        if (std::fabs(g) < std::fabs(search.cross(best))) best = s;
        return search.residual(best) < 1e-13 ? 0.0 : g;
    };
    if (gb != 0) rootIn(cross, a.tilt, ga, b.tilt, gb, {100, 1e-15, 0, 0});
    return finish(best, true);
}

}  // namespace qav
