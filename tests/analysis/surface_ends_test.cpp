// The fast solver near the ends of the surface, where most fibres sit on a plateau (steel
// yielded, concrete cracked): every solve converges, every curve point's own load fraction is
// 1, and a doubly symmetric section gives a symmetric curve.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/interaction_curves.h"
#include "example_sections.h"

using namespace qav;

namespace {

struct EndCase {
    const char* example;
    double ofEnd;  // the axial force as a part of PMIN (< 0) or PMAX (> 0)
    bool doublySymmetric;
};

const EndCase END_CASES[] = {
    {"rectangular_column", -0.999, true},
    {"rectangular_column", 0.999, true},
    {"circular_column", -0.999, false},
    {"column_with_opening", -0.999, false},
    // The tube's fibres are not laid out symmetrically: its curves differ by some 0.5 %.
    {"cft_rectangular_column", -0.999, false},
    {"cft_rectangular_column", 0.999, false},
    {"src_column_cross", -0.999, false},
    // Steel alone: the limit rule's states jump where a point goes into tension.
    {"steel_i_section", -0.999, false},
    {"steel_i_section", 0.999, false},
};

class SurfaceEnds : public ::testing::TestWithParam<EndCase> {};

}  // namespace

TEST_P(SurfaceEnds, MmCurveConvergesOnItsOwnSurfaceAndKeepsTheSymmetry) {
    const EndCase c = GetParam();
    SectionModel m = test::meshedExample(c.example, SolverKind::Fast);
    m.settings.NMM = 24;
    const AxialCapacity cap = axialCapacity(m);
    const double P = c.ofEnd < 0 ? -c.ofEnd * cap.PMIN : c.ofEnd * cap.PMAX;
    NullMessages msgs;
    const RunStats s = RUN_MM_CURVE_ANALYSIS(m, P, msgs);
    EXPECT_EQ(s.notConverged, 0);
    SectionSolver solver(m, msgs);
    double largest = 0;
    for (int i = 0; i <= m.settings.NMM; ++i) {
        const auto k = static_cast<std::size_t>(i);
        EXPECT_EQ(m.results.MM_CONVERGED[k], 1) << "point " << i;
        const SolveResult r = solver.loadFraction(P, m.results.MM_MX[k], m.results.MM_MY[k], 0, 0,
                                                  0, m.results.STRAIN_LIMIT_MODE);
        EXPECT_TRUE(r.converged) << "point " << i;
        EXPECT_NEAR(r.loadFraction, 1.0, 1e-6) << "point " << i;
        largest = std::fmax(largest, std::hypot(m.results.MM_MX[k], m.results.MM_MY[k]));
    }
    if (!c.doublySymmetric) return;
    // The angle -theta mirrors theta about the MY axis (to the mesh's own asymmetry, some
    // 1e-4 of the capacity at the compression end).
    for (int i = 0; i <= m.settings.NMM; ++i) {
        const auto k = static_cast<std::size_t>(i),
                   j = static_cast<std::size_t>(m.settings.NMM - i);
        EXPECT_NEAR(m.results.MM_MX[k], -m.results.MM_MX[j], 1e-3 * largest) << "point " << i;
        EXPECT_NEAR(m.results.MM_MY[k], m.results.MM_MY[j], 1e-3 * largest) << "point " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, SurfaceEnds, ::testing::ValuesIn(END_CASES),
                         [](const auto& info) {
                             return std::string(info.param.example) +
                                    (info.param.ofEnd < 0 ? "_tension" : "_compression");
                         });

TEST(SurfaceEnds, EccentricTensionHasAConvergedState) {
    // A load well inside the surface on its tension side, whose state keeps a corner at the
    // limit with nearly all bars yielded.
    SectionModel m = test::meshedExample("rectangular_column", SolverKind::Fast);
    NullMessages msgs;
    SectionSolver solver(m, msgs);
    const SolveResult r = solver.loadFraction(-500, 50, 50, 0, 0, 0, m.results.STRAIN_LIMIT_MODE);
    EXPECT_TRUE(r.converged);
    EXPECT_GT(r.loadFraction, 1.0);
}

TEST(SurfaceEnds, SteelSectionPmCurvesAtFineSettingsLieOnTheirSurface) {
    // The steel section's limit rule jumps where a point goes into tension: the curve points
    // next to the ends lie on the piece beyond the jump.
    struct Setting {
        const char* meshSize;
        int npm;
        double angle;
    };
    for (const Setting& c : {Setting{"10", 400, 37}, Setting{"100", 2000, 0}}) {
        SectionModel m;
        openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/steel_i_section.sec");
        m.document.MESH_SIZE_TEXT = c.meshSize;
        NullMessages msgs;
        FIBER_SECTION_MESH(m, msgs);
        m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
        m.settings.NPM = c.npm;
        const RunStats s = RUN_PM_CURVE_ANALYSIS(m, c.angle, msgs);
        EXPECT_EQ(s.notConverged, 0) << c.meshSize << " " << c.npm;
        SectionSolver solver(m, msgs);
        for (std::size_t k = 2; k + 2 < m.results.PM_P.size(); k += 7) {
            const SolveResult r = solver.loadFraction(m.results.PM_P[k], m.results.PM_MX[k],
                                                      m.results.PM_MY[k], 0, 0, 0, 2);
            EXPECT_TRUE(r.converged) << "point " << k;
            EXPECT_NEAR(r.loadFraction, 1.0, 1e-6) << "point " << k;
        }
    }
}
