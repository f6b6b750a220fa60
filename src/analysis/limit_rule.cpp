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

Limit LimitRule::limit(const double a[3]) const {
    if (mode_ == LimitMode::Code) return codeRuleLimit(*f_, a);
    Limit lim;
    const std::vector<double>& X = f_->cpX;
    const std::vector<double>& Y = f_->cpY;
    const std::size_t n = X.size();
    if (n == 0) return lim;
    auto strain = [&](std::size_t c) { return a[0] + a[1] * X[c] + a[2] * Y[c]; };
    // The prescribed strain reads the extremes from the first point; the other rules from 0, so
    // that a point counts as compressed or stretched only with a strain of that sign.
    double emax = 0, emin = 0;
    std::size_t imax = n, imin = n;
    if (mode_ == LimitMode::Prescribed) {
        emax = emin = strain(0);
        imax = imin = 0;
    }
    for (std::size_t c = 0; c < n; ++c) {
        const double e = strain(c);
        if (e > emax) {
            emax = e;
            imax = c;
        }
        if (e < emin) {
            emin = e;
            imin = c;
        }
    }
    const bool compressed = imax < n && emax > 0, stretched = imin < n && emin < 0;
    auto take = [&](std::size_t c, double e, double target) {
        const double factor = target / e;
        if (!(std::isfinite(factor) && factor > 0)) return;
        lim.kind = target > 0 ? LimitKind::Control : LimitKind::Tension;
        lim.factor = factor;
        lim.point = c;
        lim.target = target;
        lim.row = {1, X[c], Y[c]};
    };
    switch (mode_) {
        case LimitMode::Code:  // answered above
            break;
        case LimitMode::Prescribed:
            if (emax > 0 && strain_ > 0) take(imax, emax, strain_);
            break;
        case LimitMode::Compressed:
            // The most compressed point takes the limit; with none in compression, the most
            // stretched one (the section in pure tension).
            if (compressed)
                take(imax, emax, strain_);
            else if (stretched)
                take(imin, emin, -strain_);
            break;
        case LimitMode::Larger:
            // The larger of the two extreme magnitudes takes the limit (the smaller ratio).
            if (compressed && (!stretched || emax >= -emin))
                take(imax, emax, strain_);
            else if (stretched)
                take(imin, emin, -strain_);
            break;
        case LimitMode::Smaller: {
            // The smaller of the two extreme magnitudes takes the limit (the larger ratio).
            const double s1 = compressed ? strain_ / emax : 0, s2 = stretched ? strain_ / -emin : 0;
            if (compressed && (!stretched || s1 > s2))
                take(imax, emax, strain_);
            else if (stretched)
                take(imin, emin, -strain_);
            break;
        }
    }
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
