#include "analysis/compiled_section.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <utility>

#include "analysis/design_strength.h"
#include "analysis/interaction_curves.h"
#include "analysis/limit_rule.h"
#include "analysis/section_solver.h"

namespace qav {

namespace {

// Stand-in for the message sink while the inverse is formed once for many solves.
class RecordMessages : public Messages {
public:
    explicit RecordMessages(std::vector<std::string>& out) : out_(out) {}
    void message(const std::string& text) override { out_.push_back(text); }

private:
    std::vector<std::string>& out_;
};

// The convex hull of the points (x[i], y[i]), counterclockwise, as x, y pairs.
std::vector<double> convexHull(const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<std::pair<double, double>> p;
    for (std::size_t i = 0; i < x.size(); ++i) p.emplace_back(x[i], y[i]);
    std::sort(p.begin(), p.end());
    p.erase(std::unique(p.begin(), p.end()), p.end());
    if (p.size() < 3) return {};
    auto turn = [](const std::pair<double, double>& o, const std::pair<double, double>& a,
                   const std::pair<double, double>& b) {
        return (a.first - o.first) * (b.second - o.second) -
               (a.second - o.second) * (b.first - o.first);
    };
    std::vector<std::pair<double, double>> h(2 * p.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && turn(h[k - 2], h[k - 1], p[i]) <= 0) --k;
        h[k++] = p[i];
    }
    for (std::size_t i = p.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && turn(h[k - 2], h[k - 1], p[i]) <= 0) --k;
        h[k++] = p[i];
    }
    std::vector<double> out;
    for (std::size_t i = 0; i + 1 < k; ++i) {
        out.push_back(h[i].first);
        out.push_back(h[i].second);
    }
    return out;
}

}  // namespace

CompiledSection::CompiledSection(const SectionModel& m, FibreLaws laws) : fibres_(m, laws) {
    // The fibres' moduli never change, so one inverse serves every solve.
    FORM_SECTION_STIFF_MATRIX(m, k0_);
    kinv_ = k0_;
    vec3 unused{};
    RecordMessages record(singular_);
    GAUSSJ(kinv_, 3, unused, record);
    // Steel fibres of no area (bars of diameter 0) carry nothing either.
    compressionOnly_ = fibres_.otherCount == 0 && !fibres_.x.empty();
    for (const FibreGroup& g : fibres_.groups)
        for (std::size_t i = g.begin; i < g.end && !g.concrete; ++i)
            if (fibres_.area[i] != 0) compressionOnly_ = false;
    if (compressionOnly_) hull_ = convexHull(fibres_.x, fibres_.y);
    axial_ = laws == FibreLaws::Ultimate ? qav::axialCapacity(m, fibres_) : qav::axialCapacity(m);
    said_ = cappedSteelMessages(m);
    if (std::string bare = bareSteelRefusal(m); !bare.empty()) said_.push_back(std::move(bare));
}

double CompiledSection::seamAxialForce() const {
    std::call_once(seamOnce_, [this] {
        const LimitRule rule = LimitRule::ofMode(fibres_, 1);
        auto axial = [&](double phi) {
            double a[3], ss[3];
            rule.plane(phi, 1, a);
            sumFibreForces(fibres_, a, ss);
            return ss[0];
        };
        constexpr int STEPS = 36;
        constexpr double STEP = 2 * std::numbers::pi / STEPS;
        int best = 0;
        double top = -INFINITY;
        for (int k = 0; k < STEPS; ++k)
            if (const double n = axial(k * STEP); n > top) {
                top = n;
                best = k;
            }
        // The largest lies within a step of the best direction scanned: a golden-section
        // search there closes in on it to a hundredth of a degree.
        const double g = (std::sqrt(5.0) - 1) / 2;
        double lo = (best - 1) * STEP, hi = (best + 1) * STEP;
        double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
        double n1 = axial(x1), n2 = axial(x2);
        for (int k = 0; k < 16; ++k) {
            if (n1 > n2) {
                hi = x2, x2 = x1, n2 = n1;
                x1 = hi - g * (hi - lo), n1 = axial(x1);
            } else {
                lo = x1, x1 = x2, n1 = n2;
                x2 = lo + g * (hi - lo), n2 = axial(x2);
            }
        }
        top = std::fmax(top, std::fmax(n1, n2));
        seam_ = top;
    });
    return seam_;
}

}  // namespace qav
