#pragma once
// The root finders every search of the analyses uses: one for a root held in a bracket, one for
// the edge of a monotone condition. Both keep a bracket whatever the function does between its
// ends, so a search never leaves the range its caller proved.
#include <cmath>
#include <optional>
#include <type_traits>

namespace qav {

// When rootIn stops: after steps evaluations, once the bracket is no wider than width (absolute)
// or relative x the larger magnitude of its ends, or at a value within value of zero.
struct RootStop {
    int steps = 100;
    double width = 0;
    double relative = 1e-15;
    double value = 0;
};

// The root of g between a and b, where ga = g(a) and gb = g(b) lie on opposite sides of zero, by
// regula falsi with the Illinois rule (an end that stays twice in a row has its weight halved,
// so the bracket shrinks from both sides): superlinear where g is smooth, and never outside the
// bracket. g returns a double, or a std::optional<double> whose empty value (a point it cannot
// evaluate) ends the search, as a value that is not a number does. Returns the point with the value
// nearest zero: the last one evaluated when it met stop.value, otherwise the nearer end.
template <class G>
double rootIn(G&& g, double a, double ga, double b, double gb, const RootStop& stop = {}) {
    if (ga == 0) return a;
    if (gb == 0) return b;
    double wa = ga, wb = gb;  // the ends' values as the next guess weighs them
    int kept = 0;             // which end stayed at the last step: -1 a, +1 b
    for (int k = 0; k < stop.steps; ++k) {
        const double span = std::fabs(b - a);
        if (span <= stop.width || span <= stop.relative * std::fmax(std::fabs(a), std::fabs(b)))
            break;
        double x = a + (b - a) * wa / (wa - wb);
        if (!(x > std::fmin(a, b) && x < std::fmax(a, b))) x = 0.5 * (a + b);
        if (!(x > std::fmin(a, b) && x < std::fmax(a, b))) break;
        double gx = 0;
        if constexpr (std::is_same_v<std::invoke_result_t<G&, double>, std::optional<double>>) {
            const std::optional<double> v = g(x);
            if (!v) break;
            gx = *v;
        } else {
            gx = g(x);
        }
        if (!std::isfinite(gx)) break;
        if (std::fabs(gx) <= stop.value) return x;
        if ((gx > 0) == (ga > 0)) {
            a = x;
            ga = wa = gx;
            if (kept == 1) wb *= 0.5;
            kept = 1;
        } else {
            b = x;
            gb = wb = gx;
            if (kept == -1) wa *= 0.5;
            kept = -1;
        }
    }
    return std::fabs(ga) < std::fabs(gb) ? a : b;
}

// The edge of a condition that holds at lo and not at hi (and, along the way, holds up to some
// point and not beyond it), by halving at most steps times or until the bracket is no wider than
// width. Leaves lo at the last point found to hold and hi at the first found not to.
template <class Holds>
void halveTo(Holds&& holds, double& lo, double& hi, int steps, double width) {
    for (int i = 0; i < steps && hi - lo > width; ++i) {
        const double mid = 0.5 * (lo + hi);
        (holds(mid) ? lo : hi) = mid;
    }
}

}  // namespace qav
