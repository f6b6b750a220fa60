// A section with nothing to carry tension: loads whose resultant it cannot hold at any fraction
// have no state and are said to be not carried; the others converge.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "analysis/moment_curvature.h"
#include "analysis/section_solver.h"
#include "hand_section.h"

using namespace qav;

namespace {

struct PlainLoad {
    double P, MX, MY;  // kN, kNm (compression positive)
    bool carried;
};

// A 400 x 600 rectangle: fibre centres within 190 mm across and 290 mm up.
const PlainLoad PLAIN_LOADS[] = {
    {-100, 0, 0, false},     // tension
    {0, 10, 0, false},       // a moment alone
    {1000, 200, 0, false},   // resultant 200 mm across, outside
    {1000, 0, -300, false},  // 300 mm up, outside
    {1000, 100, 0, true},   {1000, 0, 250, true}, {3000, -50, 120, true}, {500, 0, 0, true},
};

}  // namespace

TEST(PlainConcrete, LoadsOutsideTheSectionAreNotCarriedAndTheOthersConverge) {
    // Bars of diameter 0 carry nothing either.
    test::HandColumn plain;
    plain.bars = {{0, 250, 0}, {0, -250, 0}};
    SectionModel m = test::handRectangle(plain);
    NullMessages msgs;
    SectionSolver solver(m, msgs);
    for (const PlainLoad& l : PLAIN_LOADS) {
        EXPECT_EQ(solver.carries(l.P, l.MX, l.MY, 0, 0, 0), l.carried) << l.P << " " << l.MX;
        if (!l.carried) continue;
        const SolveResult r = solver.loadFraction(l.P, l.MX, l.MY, 0, 0, 0, 1);
        EXPECT_TRUE(r.converged) << l.P << " " << l.MX << " " << l.MY;
        EXPECT_GT(r.loadFraction, 0);
    }
    // With bars every load has a state.
    SectionModel reinforced = test::handRectangle(test::symmetricColumn());
    SectionSolver withBars(reinforced, msgs);
    for (const PlainLoad& l : PLAIN_LOADS) EXPECT_TRUE(withBars.carries(l.P, l.MX, l.MY, 0, 0, 0));
}

TEST(PlainConcrete, MomentCurvatureStartsFromTheUniformStateAndConverges) {
    test::HandColumn plain;
    plain.bars = {{0, 250, 0}, {0, -250, 0}};
    SectionModel m = test::handRectangle(plain);
    MessageLog log;
    MphiInput in;
    in.axialForce = 3000;
    in.maxStrain = 0.004;
    in.steps = 20;
    const MphiResult r = mphiAnalysis(m, in, log);
    EXPECT_EQ(r.run.stats.notConverged, 0);
    // Steps below the uniform strain under 3000 kN are the uniform state; past it the moment
    // rises from zero.
    int uniform = 0;
    for (int i = 1; i <= in.steps; ++i) {
        const auto u = static_cast<std::size_t>(i);
        if (r.PHI[u] == 0 && r.M[u] == 0) {
            EXPECT_EQ(i, ++uniform) << "the uniform steps come first";
            continue;
        }
        EXPECT_GT(r.M[u], 0) << i;
        EXPECT_GT(r.PHI[u], r.PHI[u - 1]) << i;
    }
    EXPECT_GT(uniform, 0);
    EXPECT_LT(uniform, in.steps);
    // The run past the concrete's 0.0035 says so first, then the uniform steps.
    ASSERT_EQ(log.entries().size(), 2u);
    EXPECT_NE(log.entries()[0].text.find("beyond the ultimate strain 0.0035"), std::string::npos);
    EXPECT_NE(log.entries()[1].text.find("first " + std::to_string(uniform) + " strain steps"),
              std::string::npos);
}

// A fibre of another kind keeps its stored stress: its force counts once in the uniform state,
// Ac sigma(eps) + F = N with the parabola sigma = fc (2 c - c^2), c = eps / eps0.
TEST(PlainConcrete, UniformStrainCountsAFixedFibreOnce) {
    test::HandColumn plain;
    SectionModel m = test::handRectangle(plain);
    TFIB other;
    other.TY = 5;
    other.AREA = 1000;
    other.STRESS = 500;  // 500 kN of compression
    test::addFibre(m, other);
    stampMesh(m);
    MessageLog log;
    mphiAnalysis(m, MphiInput{false, false, 3000, 0.004, 20}, log);
    const double share = (3000e3 - 500e3) / (plain.b * plain.h) / plain.fc;
    const double eps = (1 - std::sqrt(1 - share)) * plain.eps0;
    char text[32];
    std::snprintf(text, sizeof text, "uniform %.6f", eps);
    ASSERT_FALSE(log.entries().empty());
    EXPECT_NE(log.entries().back().text.find(text), std::string::npos)
        << log.entries().back().text << " / " << text;
}
