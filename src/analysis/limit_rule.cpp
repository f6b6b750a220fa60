#include "analysis/limit_rule.h"

#include <cmath>

namespace qav {

LimitRule LimitRule::ofMode(const FibreArrays& f, int mode) {
    if (mode == 2) return {f, LimitMode::Smaller, EPS_LIMIT};
    if (mode == 3) return {f, LimitMode::Larger, EPS_LIMIT};
    return {f, f.codeRule ? LimitMode::Code : LimitMode::Compressed, EPS_LIMIT};
}

LimitRule LimitRule::atStrain(const FibreArrays& f, double epsMax) {
    return {f, LimitMode::Prescribed, epsMax};
}

Limit codeRuleLimit(const FibreArrays& f, const double a[3]) {
    const Limit c = codeLimitScale(f.limitPoints, {a[0], a[1], a[2]}, EPS_LIMIT);
    if (c.ok()) return c;
    std::vector<LimitPoint> own;
    for (std::size_t i = 0; i < f.cpX.size(); ++i)
        own.push_back({f.cpX[i], f.cpY[i], EPS_LIMIT, 0});
    return codeLimitScale(own, {a[0], a[1], a[2]}, EPS_LIMIT);
}

namespace {

// The extreme control-point strains of a plane and their points (n, the number of points, where
// a side has none).
struct Extremes {
    double emax = 0, emin = 0;
    std::size_t imax = 0, imin = 0;
};

// The prescribed strain reads the extremes from the first point; the other rules from 0, so that
// a point counts as compressed or stretched only with a strain of that sign.
Extremes extremesOf(const FibreArrays& f, const double a[3], bool fromFirst) {
    const std::size_t n = f.cpX.size();
    auto strain = [&](std::size_t c) { return a[0] + a[1] * f.cpX[c] + a[2] * f.cpY[c]; };
    Extremes x{0, 0, n, n};
    if (fromFirst) x = {strain(0), strain(0), 0, 0};
    for (std::size_t c = 0; c < n; ++c) {
        const double e = strain(c);
        if (e > x.emax) {
            x.emax = e;
            x.imax = c;
        }
        if (e < x.emin) {
            x.emin = e;
            x.imin = c;
        }
    }
    return x;
}

// Which extreme the rule puts at its limit strain: +1 the most compressed point, -1 the most
// stretched one, 0 neither.
int limitSide(LimitMode mode, double strain, const Extremes& x, std::size_t n) {
    const bool compressed = x.imax < n && x.emax > 0, stretched = x.imin < n && x.emin < 0;
    const int other = stretched ? -1 : 0;
    switch (mode) {
        case LimitMode::Code:  // the code's own rule
            return 0;
        case LimitMode::Prescribed:
            return x.emax > 0 && strain > 0 ? 1 : 0;
        case LimitMode::Compressed:
            // The most compressed point; with none in compression, the most stretched one (the
            // section in pure tension).
            return compressed ? 1 : other;
        case LimitMode::Larger:
            // The larger of the two extreme magnitudes (the smaller ratio).
            return compressed && (!stretched || x.emax >= -x.emin) ? 1 : other;
        case LimitMode::Smaller: {
            // The smaller of the two extreme magnitudes (the larger ratio).
            const double s1 = compressed ? strain / x.emax : 0;
            const double s2 = stretched ? strain / -x.emin : 0;
            return compressed && (!stretched || s1 > s2) ? 1 : other;
        }
    }
    return 0;
}

}  // namespace

Limit LimitRule::limit(const double a[3]) const {
    if (mode_ == LimitMode::Code) return codeRuleLimit(*f_, a);
    Limit lim;
    const std::size_t n = f_->cpX.size();
    if (n == 0) return lim;
    const Extremes x = extremesOf(*f_, a, mode_ == LimitMode::Prescribed);
    const int side = limitSide(mode_, strain_, x, n);
    if (side == 0) return lim;
    const std::size_t c = side > 0 ? x.imax : x.imin;
    const double target = side > 0 ? strain_ : -strain_;
    const double factor = target / (side > 0 ? x.emax : x.emin);
    if (!(std::isfinite(factor) && factor > 0)) return lim;
    lim.kind = target > 0 ? LimitKind::Control : LimitKind::Tension;
    lim.factor = factor;
    lim.point = c;
    lim.target = target;
    lim.row = {1, f_->cpX[c], f_->cpY[c]};
    return lim;
}

void LimitRule::extremes(double t, double& hi, double& lo) const {
    const double top = strain_;
    hi = top;
    lo = top;
    if (mode_ == LimitMode::Larger) {
        if (t <= 1) {
            lo = top - 2 * top * t;
        } else {
            lo = -top;
            hi = top - 2 * top * (t - 1);
        }
    } else if (mode_ == LimitMode::Smaller) {
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
}

void LimitRule::plane(double phi, double t, double a[3]) const {
    const double c = std::cos(phi), s = std::sin(phi);
    double uc = -INFINITY, ut = INFINITY;
    for (std::size_t k = 0; k < f_->cpX.size(); ++k) {
        const double u = c * f_->cpX[k] + s * f_->cpY[k];
        uc = std::fmax(uc, u);
        ut = std::fmin(ut, u);
    }
    const double w = uc - ut;
    double hi = strain_, lo = strain_;
    extremes(t, hi, lo);
    const double k = w > 0 ? (hi - lo) / w : 0.0;
    a[0] = lo - k * ut;
    a[1] = k * c;
    a[2] = k * s;
    // Under the code's rule the compressed states are brought to the code's limits; a section
    // wholly in tension is at the code's limit as it stands (the most stretched point at
    // -EPS_LIMIT), and bringing it there again would read the rounding of its top strain,
    // zero at the seam, as a compression to be scaled up without bound.
    if (mode_ == LimitMode::Code && hi > 0) {
        const Limit lim = codeRuleLimit(*f_, a);
        if (lim.ok())
            for (int i = 0; i < 3; ++i) a[i] *= lim.factor;
    }
}

std::vector<FamilyPiece> LimitRule::pieces() const {
    switch (mode_) {
        case LimitMode::Larger:
            return {{0, 2}};
        case LimitMode::Smaller:
            return {{0, 1 - 1e-9}, {1 + 1e-9, 3 - 1e-9}, {3, 4}};
        case LimitMode::Prescribed:
            return {{0, 1 - 1e-9}};
        case LimitMode::Compressed:
        case LimitMode::Code:
            break;
    }
    return {{0, 1 - 1e-9}, {1, 2}};
}

}  // namespace qav
