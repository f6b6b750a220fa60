// A section scaled by s carries forces scaled by s^2 and moments by s^3: its curves must be the
// original's so scaled, every point on its own surface, whatever the size.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/interaction_curves.h"
#include "analysis/moment_curvature.h"
#include "hand_section.h"
#include "mesh/mesh_command.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_file.h"

using namespace qav;

namespace {

// The column with an unsymmetric bar, so that no curve point lies on an axis of symmetry.
SectionModel scaledColumn(double s, SolverKind solver) {
    test::HandColumn c = test::symmetricColumn();
    c.bars.push_back({100, 150, 32});
    c.b *= s;
    c.h *= s;
    for (auto& bar : c.bars) bar = {bar.x * s, bar.y * s, bar.db * s};
    SectionModel m = test::handRectangle(c);
    m.settings.SOLVER = solver;
    m.settings.NPM = m.settings.NMM = 12;
    return m;
}

// a / f equals b to tol of b's largest magnitude.
void expectScaled(const std::vector<double>& a, const std::vector<double>& b, double f,
                  double tol) {
    ASSERT_EQ(a.size(), b.size());
    double big = 0;
    for (double v : b) big = std::fmax(big, std::fabs(v));
    for (std::size_t k = 0; k < a.size(); ++k)
        EXPECT_NEAR(a[k] / f, b[k], tol * big) << "point " << k;
}

}  // namespace

TEST(CurveScale, ScaledSectionsGiveScaledCurvesOnTheirSurfaces) {
    NullMessages msgs;
    for (const SolverKind solver : {SolverKind::Fast, SolverKind::Reference}) {
        // The reference searches stop within 0.01 of the load fraction 1.
        const double tol = solver == SolverKind::Fast ? 1e-6 : 1e-2;
        SectionModel base = scaledColumn(1, solver);
        RUN_PM_CURVE_ANALYSIS(base, 30, msgs);
        const double axial = 0.3 * base.results.PMAX;
        RUN_MM_CURVE_ANALYSIS(base, axial, msgs);
        for (const double s : {0.001, 0.01, 1.0, 100.0, 1000.0}) {
            SCOPED_TRACE(s);
            SectionModel m = scaledColumn(s, solver);
            RUN_PM_CURVE_ANALYSIS(m, 30, msgs);
            RUN_MM_CURVE_ANALYSIS(m, axial * s * s, msgs);
            expectScaled(m.results.PM_P, base.results.PM_P, s * s, tol);
            for (const auto& [a, b] : {std::pair{&m.results.PM_MX, &base.results.PM_MX},
                                       {&m.results.PM_MY, &base.results.PM_MY},
                                       {&m.results.MM_MX, &base.results.MM_MX},
                                       {&m.results.MM_MY, &base.results.MM_MY}})
                expectScaled(*a, *b, s * s * s, tol);
            if (solver == SolverKind::Reference) continue;
            SectionSolver check(m, msgs);
            auto onSurface = [&](double P, double MX, double MY) {
                const SolveResult r =
                    check.loadFraction(P, MX, MY, 0, 0, 0, m.results.STRAIN_LIMIT_MODE);
                EXPECT_TRUE(r.converged && std::fabs(r.loadFraction - 1) < 1e-6)
                    << P << " " << MX << " " << MY;
            };
            for (std::size_t k = 1; k < m.results.PM_P.size(); ++k)
                onSurface(m.results.PM_P[k], m.results.PM_MX[k], m.results.PM_MY[k]);
            for (std::size_t k = 0; k < m.results.MM_MX.size(); ++k)
                onSurface(axial * s * s, m.results.MM_MX[k], m.results.MM_MY[k]);
        }
    }
}

TEST(CurveScale, ScaledSectionsGiveScaledMomentCurvatureCurves) {
    NullMessages msgs;
    SectionModel base = scaledColumn(1, SolverKind::Fast);
    const double axial = 0.3 * axialCapacity(base).PMAX;
    const MphiInput in{false, false, axial, 0.01, 8};
    RUN_MPHI_ANALYSIS(base, in, msgs);
    for (const double s : {0.01, 1000.0}) {
        SCOPED_TRACE(s);
        SectionModel m = scaledColumn(s, SolverKind::Fast);
        MphiInput scaled = in;
        scaled.axialForce = axial * s * s;
        EXPECT_EQ(RUN_MPHI_ANALYSIS(m, scaled, msgs).stats.notConverged, 0);
        expectScaled(m.results.MPHI_M, base.results.MPHI_M, s * s * s, 1e-6);
        expectScaled(m.results.MPHI_PHI, base.results.MPHI_PHI, 1 / s, 1e-6);
    }
}

TEST(CurveScale, SectionsBelowTheSmallestSizeAreRefusedWhenMeshed) {
    for (const double s : {1e-3, 1e-5}) {  // 0.7 mm and 0.007 mm deep
        SectionModel m;
        openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/steel_i_section.sec");
        for (TPOS& p : m.document.STEEL_SEC[1].PT) p = {p.X * s, p.Y * s};
        m.document.MESH_SIZE_TEXT = Format("%g", {100 * s});
        NullMessages msgs;
        if (s == 1e-3)
            EXPECT_GT(FIBER_SECTION_MESH(m, msgs).NFIB, 0);
        else
            EXPECT_THROW(FIBER_SECTION_MESH(m, msgs), InputError);
    }
}
