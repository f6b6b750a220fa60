#include "analysis/limit_rule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "analysis/roots.h"
#include "code_sections.h"

namespace qav {
namespace {

// Every state of a rule's family is at the limit (the rule scales it by 1), and its axial force
// falls along t within each piece, ends included: the property the bracketing searches rely on.
// (At a piece's end the top strain may be a rounding zero, which the rule cannot place.)
void expectFamilyAtLimitAndFalling(const FibreArrays& f, const LimitRule& rule,
                                   const std::string& what) {
    for (int k = 0; k < 8; ++k) {
        const double phi = 0.3 + k * std::numbers::pi / 4;
        for (const FamilyPiece& piece : rule.pieces()) {
            double lastN = INFINITY;
            for (int i = 0; i <= 20; ++i) {
                const double t = piece.t0 + (piece.t1 - piece.t0) * i / 20.0;
                double a[3], ss[3];
                rule.plane(phi, t, a);
                if (i > 0 && i < 20) {
                    const Limit lim = rule.limit(a);
                    ASSERT_TRUE(lim.ok()) << what << " phi " << phi << " t " << t;
                    EXPECT_NEAR(lim.factor, 1, 1e-6) << what << " phi " << phi << " t " << t;
                }
                sumFibreForces(f, a, ss);
                EXPECT_LE(ss[0], lastN + 1e-9 * std::fabs(lastN)) << what << " t " << t;
                lastN = ss[0];
            }
        }
    }
}

TEST(LimitRule, EveryFamilyLiesOnItsRuleWithTheAxialForceFalling) {
    for (const char* name : {"rectangular_column", "circular_column", "steel_i_section"}) {
        const SectionModel m = test::meshedExample(name);
        const FibreArrays f(m);
        for (const int mode : {1, 2, 3})
            expectFamilyAtLimitAndFalling(f, LimitRule::ofMode(f, mode),
                                          std::string(name) + " mode " + std::to_string(mode));
        expectFamilyAtLimitAndFalling(f, LimitRule::atStrain(f, 0.0035), std::string(name));
    }
    for (const test::CodeChoice& c : {test::ec2Choice(), test::aciChoice()}) {
        SectionModel m = test::openedExample("rectangular_column");
        test::putUnderCode(m, c);
        test::meshWith(m, {});
        const FibreArrays f(m);
        const LimitRule rule = LimitRule::ofMode(f, 1);
        ASSERT_EQ(rule.mode(), LimitMode::Code);
        expectFamilyAtLimitAndFalling(f, rule, "code rule");
    }
}

TEST(Roots, ClosesInWithinItsBracketOnSmoothSteepAndBrokenFunctions) {
    struct Case {
        double (*g)(double);
        double a, b, root;
    };
    const Case cases[] = {
        {[](double x) { return x * x * x - 2; }, 0, 3, std::cbrt(2.0)},
        {[](double x) { return std::exp(40 * x) - 1e10; }, 0, 1, std::log(1e10) / 40},
        {[](double x) { return x < 0.3 ? 1.0 : -2.0; }, 0, 1, 0.3},  // a jump: its position
    };
    for (const Case& c : cases) {
        int calls = 0;
        auto g = [&](double x) {
            ++calls;
            EXPECT_GT(x, c.a);
            EXPECT_LT(x, c.b);
            return c.g(x);
        };
        const double x = rootIn(g, c.a, c.g(c.a), c.b, c.g(c.b), {200, 0, 1e-14, 0});
        EXPECT_NEAR(x, c.root, 1e-12 * (1 + c.root));
        EXPECT_LT(calls, 200);
    }
    // A value within the tolerance ends the search there; a point that cannot be evaluated
    // ends it at the nearer end.
    const double hit = rootIn([](double x) { return x - 0.5; }, 0, -0.5, 2, 1.5, {100, 0, 0, 1e-3});
    EXPECT_NEAR(hit, 0.5, 1e-3);
    const double stopped = rootIn([](double) { return std::optional<double>(); }, 0, -1, 1, 3);
    EXPECT_EQ(stopped, 0);

    double lo = 0, hi = 1;
    halveTo([](double x) { return x * x < 0.5; }, lo, hi, 100, 1e-12);
    EXPECT_LE(lo * lo, 0.5);
    EXPECT_GT(hi * hi, 0.5);
    EXPECT_LE(hi - lo, 1e-12);
}

}  // namespace
}  // namespace qav
