// A section scaled by s carries forces scaled by s^2 and moments by s^3: its curves must be the
// original's so scaled, and every point must lie on its own surface, whatever the size.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/interaction_curves.h"
#include "hand_section.h"
#include "mesh/mesh_command.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_file.h"

using namespace qav;
using qav::test::HandColumn;
using qav::test::handRectangle;
using qav::test::symmetricColumn;

namespace {

constexpr double SCALES[] = {0.001, 0.01, 1, 100, 1000};

// The column with an unsymmetric bar, so that no curve point lies on an axis of symmetry.
SectionModel scaledColumn(double s) {
    HandColumn c = symmetricColumn();
    c.bars.push_back({100, 150, 32});
    c.b *= s;
    c.h *= s;
    for (auto& bar : c.bars) bar = {bar.x * s, bar.y * s, bar.db * s};
    SectionModel m = handRectangle(c);
    m.SOLVER = SolverKind::Fast;
    m.NPM = 12;
    m.NMM = 12;
    return m;
}

// Each point (P kN, MX, MY kNm) is a load whose load fraction is 1.
void expectOnSurface(const SectionModel& m, double P, double MX, double MY, const char* what, std::size_t k) {
    if (P == 0 && MX == 0 && MY == 0) return;
    NullMessages msgs;
    SectionSolver solver(m, msgs);
    const SolveResult r = solver.loadFraction(P, MX, MY, 0, 0, 0, m.STRAIN_LIMIT_MODE);
    EXPECT_TRUE(r.converged) << what << " point " << k;
    EXPECT_NEAR(r.loadFraction, 1, 1e-6) << what << " point " << k;
}

// a / s^power equals b to 1e-6 of the curve's largest magnitude.
void expectScaled(const std::vector<double>& a, const std::vector<double>& b, double s, int power,
                  const char* what) {
    ASSERT_EQ(a.size(), b.size());
    double big = 0;
    for (double v : b) big = std::fmax(big, std::fabs(v));
    const double f = std::pow(s, power);
    for (std::size_t k = 0; k < a.size(); ++k) EXPECT_NEAR(a[k] / f, b[k], 1e-6 * big) << what << " point " << k;
}

}  // namespace

TEST(CurveScale, ScaledSectionsGiveScaledCurvesOnTheirSurfaces) {
    SectionModel base = scaledColumn(1);
    NullMessages msgs;
    RUN_PM_CURVE_ANALYSIS(base, 30, msgs);
    const double axial = 0.3 * base.PMAX;
    RUN_MM_CURVE_ANALYSIS(base, axial, msgs);
    for (const double s : SCALES) {
        SCOPED_TRACE(s);
        SectionModel m = scaledColumn(s);
        const RunStats pm = RUN_PM_CURVE_ANALYSIS(m, 30, msgs);
        EXPECT_EQ(pm.notConverged, 0);
        expectScaled(m.PM_P, base.PM_P, s, 2, "P");
        expectScaled(m.PM_MX, base.PM_MX, s, 3, "MX");
        expectScaled(m.PM_MY, base.PM_MY, s, 3, "MY");
        for (std::size_t k = 1; k < m.PM_P.size(); ++k) expectOnSurface(m, m.PM_P[k], m.PM_MX[k], m.PM_MY[k], "P-M", k);

        const RunStats mm = RUN_MM_CURVE_ANALYSIS(m, axial * s * s, msgs);
        EXPECT_EQ(mm.notConverged, 0);
        expectScaled(m.MM_MX, base.MM_MX, s, 3, "Myy-Mzz MX");
        expectScaled(m.MM_MY, base.MM_MY, s, 3, "Myy-Mzz MY");
        for (std::size_t k = 0; k < m.MM_MX.size(); ++k)
            expectOnSurface(m, axial * s * s, m.MM_MX[k], m.MM_MY[k], "Myy-Mzz", k);
    }
}

TEST(CurveScale, SectionsBelowTheSmallestSizeAreRefusedWhenMeshed) {
    for (const double s : {1e-3, 1e-5}) {
        SectionModel m;
        openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/steel_i_section.sec");
        for (TPOS& p : m.STEEL_SEC[1].PT) p = {p.X * s, p.Y * s};
        m.MESH_SIZE_TEXT = Format("%g", {100 * s});
        NullMessages msgs;
        if (s * 700 >= MIN_SECTION_SIZE_MM) {
            FIBER_SECTION_MESH(m, msgs);
            EXPECT_GT(m.NFIB, 0);
        } else {
            EXPECT_THROW(FIBER_SECTION_MESH(m, msgs), InputError);
        }
    }
}

TEST(CurveScale, ReferenceCurvesOfLargeAndSmallSectionsScaleToItsTolerance) {
    SectionModel base = scaledColumn(1);
    base.SOLVER = SolverKind::Reference;
    NullMessages msgs;
    RUN_PM_CURVE_ANALYSIS(base, 30, msgs);
    for (const double s : {0.001, 1000.0}) {
        SCOPED_TRACE(s);
        SectionModel m = scaledColumn(s);
        m.SOLVER = SolverKind::Reference;
        RUN_PM_CURVE_ANALYSIS(m, 30, msgs);
        double big = 0;
        for (double v : base.PM_M) big = std::fmax(big, std::fabs(v));
        for (std::size_t k = 1; k < m.PM_M.size(); ++k)
            EXPECT_NEAR(m.PM_M[k] / (s * s * s), base.PM_M[k], 1e-3 * big) << "point " << k;
    }
}
