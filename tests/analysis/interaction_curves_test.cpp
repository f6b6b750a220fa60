#include "analysis/interaction_curves.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/example_sections.h"
#include "analysis/material_laws.h"
#include "analysis/moment_curvature.h"
#include "analysis/pmm_surface.h"
#include "hand_section.h"
#include "mesh/mesh_command.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/section_file.h"

using namespace qav;
using qav::test::handRectangle;
using qav::test::symmetricColumn;

namespace {

std::size_t u(int i) {
    return static_cast<std::size_t>(i);
}

}  // namespace

TEST(PmCurve, ClosedSymmetricAndOnItsMomentDirection) {
    SectionModel m = handRectangle(symmetricColumn());
    m.settings.NPM = 10;
    NullMessages msgs;
    const RunStats stats = RUN_PM_CURVE_ANALYSIS(m, 0, msgs);
    const int n = m.settings.NPM;
    ASSERT_EQ(m.results.PM_P.size(), u(2 * n + 3));
    EXPECT_EQ(stats.notConverged, 0);
    EXPECT_EQ(m.results.PM_P[u(2 * n + 2)], m.results.PM_P[1]) << "closing point repeats point 1";
    EXPECT_EQ(m.results.PM_M[u(2 * n + 2)], m.results.PM_M[1]);
    EXPECT_NEAR(m.results.PM_P[u(n + 1)], m.results.PM_P[u(n + 2)], 1e-9 * m.results.PMAX)
        << "both branches reach pure compression";
    EXPECT_NEAR(m.results.PM_M[u(n + 1)], 0, 1e-6);
    for (int k = 1; k <= n + 1; ++k)
        EXPECT_EQ(m.results.PM_MX[u(k)], 0) << "angle 0 is a pure MY moment, point " << k;
    for (int k = 2; k <= n + 1; ++k) {
        EXPECT_NEAR(m.results.PM_M[u(k)], -m.results.PM_M[u(2 * n + 3 - k)],
                    1e-6 * std::fabs(m.results.PM_M[2]) + 1e-9)
            << "point " << k;
        EXPECT_NEAR(m.results.PM_P[u(k)], m.results.PM_P[u(2 * n + 3 - k)], 1e-6 * m.results.PMAX)
            << "point " << k;
        EXPECT_GE(m.results.PM_M[u(k)], 0) << "point " << k;
    }
    // The axial range: core concrete at FC plus steel at FY1; the tension end is the steel alone.
    const double steel = 8 * 3.14 * 25 * 25 / 4 * 435;
    EXPECT_NEAR(m.results.PMAX, (400 * 600 * 26.8 + steel) / 1000, 1e-6);
    EXPECT_NEAR(m.results.PMIN, -steel / 1000, 1e-9);
}

TEST(PmCurve, TensionEndIsTheYieldOfAllSteel) {
    SectionModel m = test::meshedExample("rectangular_column");
    NullMessages msgs;
    const int n = m.settings.NPM;
    for (double angle : {0.0, 30.0, 90.0, 225.0}) {
        RUN_PM_CURVE_ANALYSIS(m, angle, msgs);
        double largest = 0;
        for (int k = 1; k <= 2 * n + 2; ++k)
            largest = std::max(largest, std::fabs(m.results.PM_M[u(k)]));
        for (int k : {1, 2 * n + 2}) {
            // The reference's search of the end point closes in on the pointed end of the
            // curve slowly; after its 100 solves it stands within about 1 % of it.
            EXPECT_NEAR(m.results.PM_P[u(k)], m.results.PMIN, 0.015 * -m.results.PMIN)
                << "angle " << angle << ", point " << k;
            EXPECT_GE(m.results.PM_P[u(k)], m.results.PMIN) << "angle " << angle << ", point " << k;
            EXPECT_LT(std::fabs(m.results.PM_M[u(k)]), 0.01 * largest)
                << "angle " << angle << ", point " << k;
        }
    }
}

TEST(PmCurve, RefusesTooFewStepsAndSectionsWithoutFibres) {
    struct Case {
        const char* name;
        int npm;
        bool fibres;
    };
    const Case cases[] = {{"NPM 1", 1, true},
                          {"NPM 0", 0, true},
                          {"NPM negative", -3, true},
                          {"NPM beyond any table", 2'000'000'000, true},
                          {"no fibres", 30, false}};
    for (const Case& c : cases) {
        SectionModel m = c.fibres ? handRectangle(symmetricColumn()) : SectionModel{};
        m.settings.NPM = c.npm;
        m.results.PM_P = {7, 8, 9};
        NullMessages msgs;
        EXPECT_THROW(RUN_PM_CURVE_ANALYSIS(m, 0, msgs), InputError) << c.name;
        EXPECT_EQ(m.results.PM_P, (std::vector<double>{7, 8, 9})) << c.name << ": nothing changed";
    }
}

TEST(MmCurve, ClosedAndStartingOnTheMyAxis) {
    SectionModel m = handRectangle(symmetricColumn());
    NullMessages msgs;
    RUN_MM_CURVE_ANALYSIS(m, 1000, msgs);
    const int n = m.settings.NMM;
    ASSERT_EQ(m.results.MM_MX.size(), u(n + 1));
    EXPECT_EQ(m.results.MM_MX[0], 0);
    EXPECT_GT(m.results.MM_MY[0], 0);
    EXPECT_NEAR(m.results.MM_MX[u(n)], m.results.MM_MX[0], 1e-6 * m.results.MM_MY[0]);
    EXPECT_NEAR(m.results.MM_MY[u(n)], m.results.MM_MY[0], 1e-6 * m.results.MM_MY[0]);
    // Doubly symmetric: 90 degrees is the pure MX capacity, 180 the negative MY capacity.
    EXPECT_NEAR(m.results.MM_MY[6], 0, 1e-6 * m.results.MM_MY[0]);
    EXPECT_GT(m.results.MM_MX[6], 0);
    EXPECT_NEAR(m.results.MM_MY[12], -m.results.MM_MY[0], 0.02 * m.results.MM_MY[0]);
    EXPECT_LT(m.results.MM_MX[6], m.results.MM_MY[0])
        << "the 400 wide column is weaker about its narrow side";
}

TEST(MmCurve, StrongTensionLeavesASmallButRealCapacity) {
    SectionModel m = handRectangle(symmetricColumn());
    CALC_NMAX(m);
    NullMessages msgs;
    RUN_MM_CURVE_ANALYSIS(m, 0, msgs);
    const double pureBending = m.results.MM_MY[0];
    RUN_MM_CURVE_ANALYSIS(m, 0.8 * m.results.PMIN, msgs);
    const int n = m.settings.NMM;
    EXPECT_GT(m.results.MM_MY[0], 0.05 * pureBending);
    EXPECT_LT(m.results.MM_MY[0], pureBending);
    EXPECT_GT(m.results.MM_MX[u(n / 4)], 0.05 * pureBending) << "90 degrees";
    EXPECT_NEAR(m.results.MM_MY[u(n / 2)], -m.results.MM_MY[0], 0.02 * m.results.MM_MY[0])
        << "doubly symmetric";
}

TEST(MmCurve, RefusesTooFewSteps) {
    for (int nmm : {0, -1, MAX_CURVE_STEPS + 1}) {
        SectionModel m = handRectangle(symmetricColumn());
        m.settings.NMM = nmm;
        NullMessages msgs;
        EXPECT_THROW(RUN_MM_CURVE_ANALYSIS(m, 0, msgs), InputError) << "NMM " << nmm;
        EXPECT_TRUE(m.results.MM_MX.empty());
    }
}

TEST(MmCurve, AnAxialForceBeyondTheCapacityIsRefusedWithBothEnds) {
    SectionModel m = handRectangle(symmetricColumn());
    const AxialCapacity c = axialCapacity(m);
    ASSERT_GT(c.PMAX, 0);
    ASSERT_LT(c.PMIN, 0);
    NullMessages msgs;
    for (double p : {1e11, c.PMAX * 1.001, c.PMIN * 1.001, -1e11, double(NAN)}) {
        try {
            RUN_MM_CURVE_ANALYSIS(m, p, msgs);
            ADD_FAILURE() << p;
        } catch (const InputError& e) {
            const std::string text = e.what();
            const AxialEnds ends = curveAxialEnds(m);
            EXPECT_NE(text.find(Format("%0.3F kN in tension to %0.3F kN in compression",
                                       {ends.tension, ends.compression})),
                      std::string::npos)
                << text;
        }
        EXPECT_TRUE(m.results.MM_MX.empty()) << p;
    }
    try {
        RUN_MM_CURVE_ANALYSIS(m, 1e11, msgs);
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(
                      "The axial force 100000000000 kN lies outside what the section carries", 0),
                  0u)
            << e.what();
    }
    // The ends themselves are within.
    EXPECT_NO_THROW(RUN_MM_CURVE_ANALYSIS(m, 0.99 * c.PMAX, msgs));
}

// The same laws integrated directly over a 400 x 600 rectangle with 8 bars, for a neutral-axis
// depth c from the compressed edge and 0.005 at that edge.
namespace {

struct HandPoint {
    double N, M;  // kN, kNm (MY)
};

HandPoint handIntegration(const qav::test::HandColumn& s, double c) {
    const double top = s.h / 2;
    auto strain = [&](double y) { return 0.005 * (y - (top - c)) / c; };
    const int strips = 200000;
    const double dy = s.h / strips;
    double N = 0, M = 0;
    for (int i = 0; i < strips; ++i) {
        const double y = -s.h / 2 + (i + 0.5) * dy;
        const double e = strain(y);
        const double sig =
            e <= 0 ? 0
                   : (e < s.eps0 ? s.fc * (2 * e / s.eps0 - (e / s.eps0) * (e / s.eps0)) : s.fc);
        N += sig * s.b * dy;
        M += sig * s.b * dy * y;
    }
    for (const auto& bar : s.bars) {
        const double e = strain(bar.y);
        const double sig = std::fabs(e) <= s.fy1 / 200000 ? 200000 * e : (e > 0 ? s.fy1 : -s.fy1);
        const double a = 3.14 * bar.db * bar.db / 4;
        N += sig * a;
        M += sig * a * bar.y;
    }
    return {N / 1000, M / 1e6};
}

// Checks that the surface along each hand point's direction, and the stored P-M curve (ANG 0),
// pass within 1 % of the hand points; returns the largest relative difference of the curve.
double checkAgainstHand(SectionModel& m, const qav::test::HandColumn& col,
                        const std::vector<double>& depths, const char* name, double tol) {
    NullMessages msgs;
    RUN_PM_CURVE_ANALYSIS(m, 0, msgs);
    const int n = m.settings.NPM;
    const double Ns = m.results.PMAX, Ms = m.results.PM_M[2] > 0 ? m.results.PM_M[2] : 1;
    double worst = 0;
    for (double c : depths) {
        const HandPoint h = handIntegration(col, c);
        double lf = 0;
        CALC_LOAD_FRACTION_TYPE1(m, h.N, 0, h.M, lf, 0, 0, 0, msgs);
        EXPECT_NEAR(lf, 1.0, tol) << name << ", c = " << c;
        // The polyline segment of the stored curve crossed by the ray through the hand point.
        const double ph = std::atan2(h.M / Ms, h.N / Ns), rh = std::hypot(h.M / Ms, h.N / Ns);
        bool found = false;
        for (int k = 1; k <= n && !found; ++k) {
            const double n0 = m.results.PM_P[u(k)] / Ns, m0 = m.results.PM_M[u(k)] / Ms;
            const double n1 = m.results.PM_P[u(k + 1)] / Ns, m1 = m.results.PM_M[u(k + 1)] / Ms;
            if ((n0 == 0 && m0 == 0) || (n1 == 0 && m1 == 0))
                continue;  // a tension end at the origin
            const double p0 = std::atan2(m0, n0), p1 = std::atan2(m1, n1);
            if ((ph - p0) * (ph - p1) > 0) continue;
            const double dx = n1 - n0, dy = m1 - m0, cx = std::cos(ph), cy = std::sin(ph);
            const double t = (n0 * dy - m0 * dx) / (cx * dy - cy * dx);
            EXPECT_NEAR(t / rh, 1.0, tol) << name << ", c = " << c;
            worst = std::max(worst, std::fabs(t / rh - 1));
            found = true;
        }
        EXPECT_TRUE(found) << name << ", c = " << c;
    }
    return worst;
}

}  // namespace

TEST(PmCurve, MatchesADirectIntegrationOnAFineGrid) {
    qav::test::HandColumn col = symmetricColumn();
    col.nx = 100;
    col.ny = 150;
    SectionModel m = handRectangle(col);
    m.settings.NPM = 60;
    // The reference iteration within 1 %, the fast solver within 0.2 %.
    m.settings.SOLVER = SolverKind::Reference;
    checkAgainstHand(m, col, {120.0, 200.0, 300.0, 450.0, 700.0}, "400 x 600 grid, reference",
                     0.01);
    m.settings.SOLVER = SolverKind::Fast;
    checkAgainstHand(m, col, {120.0, 200.0, 300.0, 450.0, 700.0}, "400 x 600 grid, fast", 0.002);
}

TEST(PmCurve, MatchesADirectIntegrationOnAFineMesh) {
    SectionModel m = test::meshedExample("rectangular_column", {.meshSize = "20", .npm = 60});
    NullMessages msgs;
    // Core and cover concrete are both C30 in the example.
    const TMAT& c30 = m.document.CONC_MAT[static_cast<std::size_t>(m.document.USE_CONC + 1)];
    ASSERT_EQ(c30.NAME, "C30");
    qav::test::HandColumn col;
    col.b = 800;
    col.h = 1000;
    col.fc = c30.FC;
    col.eps0 = c30.EPS_0;
    col.fy1 = m.document.STEEL_MAT[1].FY * m.document.STEEL_MAT[1].RF;
    for (int i = 1; i <= m.document.NBAR; ++i)
        col.bars.push_back({m.document.BAR[u(i)].X - m.document.CONC_CX,
                            m.document.BAR[u(i)].Y - m.document.CONC_CY, m.document.BAR[u(i)].DB});
    m.settings.SOLVER = SolverKind::Reference;
    checkAgainstHand(m, col, {150.0, 300.0, 500.0, 800.0, 1200.0}, "800 x 1000 mesh, reference",
                     0.01);
    m.settings.SOLVER = SolverKind::Fast;
    checkAgainstHand(m, col, {150.0, 300.0, 500.0, 800.0, 1200.0}, "800 x 1000 mesh, fast", 0.002);
}

TEST(PmCurve, PlainConcreteFollowsItsCompressionZone) {
    // No bars: the tension end is the origin, the curve stands on the compression side only.
    qav::test::HandColumn col;
    col.nx = 100;
    col.ny = 150;
    SectionModel m = handRectangle(col);
    m.settings.NPM = 60;
    EXPECT_GT(checkAgainstHand(m, col, {60.0, 120.0, 200.0, 300.0, 450.0, 700.0}, "plain 400 x 600",
                               0.004),
              0);
    const int n = m.settings.NPM;
    for (int k : {1, 2, 2 * n + 1, 2 * n + 2})
        EXPECT_EQ(std::hypot(m.results.PM_P[u(k)], m.results.PM_M[u(k)]), 0) << k;
    NullMessages msgs;
    RUN_MM_CURVE_ANALYSIS(m, 0, msgs);
    for (std::size_t i = 0; i < m.results.MM_MX.size(); ++i)
        EXPECT_EQ(std::hypot(m.results.MM_MX[i], m.results.MM_MY[i]), 0) << i;
}

TEST(PmCurve, SteelThatDoesNotYieldByTheLimitGivesAFiniteClosedCurve) {
    // Ordinary bars, a strand, a steel that never yields: the bending capacity grows with the
    // strength up to the stress of the limit strain, which the solvers hold for any steel
    // stronger.
    double previous = 0;
    for (double fy1 : {300.0, 435.0, 1000.0, 1618.2, 1e5, 1e9}) {
        qav::test::HandColumn col = symmetricColumn();
        col.fy1 = fy1;
        SectionModel m = handRectangle(col);
        NullMessages msgs;
        EXPECT_EQ(RUN_PM_CURVE_ANALYSIS(m, 0, msgs).notConverged, 0) << fy1;
        EXPECT_NEAR(m.results.PMIN, -8 * 3.14 * 25 * 25 / 4 * std::min(fy1, 1000.0) / 1000, 1e-9)
            << fy1;
        EXPECT_EQ(m.results.PM_P[u(2 * m.settings.NPM + 2)], m.results.PM_P[1]) << fy1;
        EXPECT_EQ(m.results.PM_P[1], m.results.PMIN) << fy1;
        RUN_MM_CURVE_ANALYSIS(m, 0, msgs);
        EXPECT_GE(m.results.MM_MY[0], previous * (1 - 1e-6)) << fy1;
        EXPECT_TRUE(fy1 <= 1e5 || std::fabs(m.results.MM_MY[0] - previous) <= 1e-6 * previous)
            << "elastic at the limit";
        previous = m.results.MM_MY[0];
    }
}

namespace {
// Bars without an outline: no corners, the bars are the control points.
SectionModel barsOnly(const std::vector<qav::test::Bar>& bars) {
    qav::test::HandColumn col;
    col.nx = col.ny = 0;
    col.bars = bars;
    SectionModel m = handRectangle(col);
    m.mesh.NCFIB = m.document.NCONC_PT = 0;
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    stampMesh(m);
    return m;
}
}  // namespace

TEST(Curves, BarsWithoutAnOutlineGiveFiniteConvergedCurves) {
    for (SolverKind solver : {SolverKind::Fast, SolverKind::Reference}) {
        SectionModel m = barsOnly(symmetricColumn().bars);
        EXPECT_EQ(m.results.STRAIN_LIMIT_MODE, 3);
        m.settings.SOLVER = solver;
        NullMessages msgs;
        // Results that are not finite would be refused (ResultError): converged runs are the test.
        for (double angle : {0.0, 30.0, 90.0})
            EXPECT_EQ(RUN_PM_CURVE_ANALYSIS(m, angle, msgs).notConverged, 0) << angle;
        for (double axial : {0.0, 0.5 * m.results.PMIN, 0.5 * m.results.PMAX})
            EXPECT_EQ(RUN_MM_CURVE_ANALYSIS(m, axial, msgs).notConverged, 0) << axial;
        for (bool aboutY : {false, true})
            EXPECT_EQ(RUN_MPHI_ANALYSIS(m, MphiInput{aboutY, false, 100, 0.0035, 10}, msgs)
                          .stats.notConverged,
                      0);
    }
}

TEST(Curves, RefusedWhereThereIsNoFiniteAnswer) {
    // Bars on one line: the section stiffness is singular and every solve gives no number.
    SectionModel m = barsOnly({{-200, 0, 25}, {0, 0, 25}, {200, 0, 25}});
    m.results.PM_P = {7, 8, 9};
    MessageLog msgs;
    EXPECT_THROW(RUN_PM_CURVE_ANALYSIS(m, 0, msgs), ResultError);
    EXPECT_THROW(RUN_MM_CURVE_ANALYSIS(m, 100, msgs), ResultError);
    EXPECT_THROW(RUN_PMM_ANALYSIS(m, msgs), ResultError);
    EXPECT_THROW(RUN_MPHI_ANALYSIS(m, MphiInput{false, false, 100, 0.0035, 5}, msgs), ResultError);
    EXPECT_TRUE(msgs.entries().empty()) << "the refusal is the one message";
    EXPECT_EQ(m.results.PM_P, (std::vector<double>{7, 8, 9}));
    const std::vector<double> table{NAN, 1, 2};
    EXPECT_NO_THROW(requireFiniteResult("test", {&table}, true));
    EXPECT_THROW(requireFiniteResult("test", {&table}, false), ResultError);
    SectionModel column = handRectangle(symmetricColumn()),
                 plain = handRectangle(qav::test::HandColumn{});
    EXPECT_THROW(RUN_MPHI_ANALYSIS(column, MphiInput{false, false, 1e12, 0.0035, 5}, msgs),
                 InputError);
    EXPECT_THROW(RUN_MPHI_ANALYSIS(plain, MphiInput{false, false, 0, 0.0035, 5}, msgs), InputError);
}
