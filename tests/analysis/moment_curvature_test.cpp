#include "analysis/moment_curvature.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "analysis/curvature_search.h"
#include "analysis/interaction_curves.h"
#include "analysis/material_laws.h"
#include "hand_section.h"
#include "model/errors.h"
#include "reports/text_reports.h"

using namespace qav;
using qav::test::HandColumn;
using qav::test::handRectangle;
using qav::test::symmetricColumn;

TEST(MomentCurvature, NegativeEqualsPositiveForASymmetricSection) {
    struct Case {
        const char* name;
        bool aboutY;
    };
    for (const Case c : {Case{"about X", false}, Case{"about Y", true}}) {
        NullMessages msgs;
        SectionModel pos = handRectangle(symmetricColumn());
        SectionModel neg = pos;
        MphiInput in{c.aboutY, false, 1000, 0.0035, 10};
        RUN_MPHI_ANALYSIS(pos, in, msgs);
        in.negative = true;
        RUN_MPHI_ANALYSIS(neg, in, msgs);
        ASSERT_EQ(pos.results.MPHI_M.size(), 11u) << c.name;
        EXPECT_EQ(pos.results.MPHI_M[0], 0) << c.name;
        EXPECT_EQ(pos.results.MPHI_PHI[0], 0) << c.name;
        for (std::size_t i = 1; i <= 10; ++i) {
            EXPECT_NEAR(neg.results.MPHI_M[i], pos.results.MPHI_M[i], 1e-6 * pos.results.MPHI_M[i])
                << c.name << " step " << i;
            EXPECT_NEAR(neg.results.MPHI_PHI[i], pos.results.MPHI_PHI[i],
                        1e-6 * pos.results.MPHI_PHI[i])
                << c.name << " step " << i;
            EXPECT_GT(pos.results.MPHI_M[i], 0) << c.name << " step " << i;
        }
    }
}

TEST(MomentCurvature, CurvatureIsTheStrainDifferenceOverTheDepth) {
    SectionModel m = handRectangle(symmetricColumn());  // 400 wide, 600 high
    NullMessages msgs;
    const MphiRun run = RUN_MPHI_ANALYSIS(m, MphiInput{false, false, 500, 0.0035, 20}, msgs);
    EXPECT_EQ(run.angle, 0);
    EXPECT_EQ(m.mesh.FIB_ZONE_WIDTH, 400);
    EXPECT_EQ(m.mesh.FIB_ZONE_HEIGHT, 600);
    // The control points hold the extremes of the last solve of the last step.
    double emax = m.mesh.CFIB[1].EPS, emin = emax;
    for (int j = 2; j <= m.mesh.NCFIB; ++j) {
        emax = std::max(emax, m.mesh.CFIB[static_cast<std::size_t>(j)].EPS);
        emin = std::min(emin, m.mesh.CFIB[static_cast<std::size_t>(j)].EPS);
    }
    EXPECT_DOUBLE_EQ(m.results.MPHI_PHI[20], (emax - emin) / 0.6);
    EXPECT_NEAR(emax, 0.0035, 1e-6);
    // Curvature grows with the strain.
    for (std::size_t i = 1; i < 20; ++i)
        EXPECT_LT(m.results.MPHI_PHI[i], m.results.MPHI_PHI[i + 1]) << "step " << i;
}

TEST(MomentCurvature, AnElasticStepCarriesTheAxialForceExactly) {
    // The rectangle in steel only: at the first step (strain 0.0035 / 20, below yield) the
    // state is elastic, so with the axial force held exactly the mean strain is P / (E A),
    // the curvature 2 (0.000175 - P / (E A)) / h and the moment E I times the curvature.
    SectionModel m = handRectangle(symmetricColumn());  // 400 wide, 600 high
    double A = 0, I = 0;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        f.TY = FIB_STEEL;
        f.FY1 = 355;
        A += f.AREA;
        I += f.AREA * f.Y * f.Y;
    }
    stampMesh(m);
    NullMessages msgs;
    const double P = 5000;  // kN
    RUN_MPHI_ANALYSIS(m, MphiInput{false, false, P, 0.0035, 20}, msgs);
    const double a0 = P * 1000 / (STEEL_LAW_MODULUS * A);
    const double kappa = 2 * (0.0035 / 20 - a0) / 600;  // 1/mm
    EXPECT_NEAR(m.results.MPHI_PHI[1], kappa * 1000, 1e-9 * kappa * 1000);
    EXPECT_NEAR(m.results.MPHI_M[1], STEEL_LAW_MODULUS * I * kappa / 1e6,
                1e-8 * STEEL_LAW_MODULUS * I * kappa / 1e6);
}

TEST(MomentCurvature, RefusesTooFewStepsAndNoFibres) {
    NullMessages msgs;
    SectionModel m = handRectangle(symmetricColumn());
    EXPECT_THROW(RUN_MPHI_ANALYSIS(m, MphiInput{false, false, 0, 0.0035, 0}, msgs), InputError);
    EXPECT_TRUE(m.results.MPHI_M.empty());
    SectionModel empty;
    EXPECT_THROW(RUN_MPHI_ANALYSIS(empty, MphiInput{false, false, 0, 0.0035, 5}, msgs), InputError);
}

TEST(MomentCurvature, Listing) {
    SectionModel m;
    m.results.MPHI_M = {0, 123.4567};
    m.results.MPHI_PHI = {0, 0.01234567};
    std::vector<std::string> lines;
    GEN_M_fai_CURVE_TEXT(m, 1, lines);
    const std::vector<std::string> expected{
        "   Moment_M,  Curvature,", "      0.000,  0.0000E+000,", "    123.457,  1.2346E-002,"};
    EXPECT_EQ(lines, expected);
}

// Near pure tension a curve is traced only where each step has a state along the axis: tension
// steel off the reference point needs a moment (refused as the Myy-Mxx curve refuses it), and
// bars at the compressed edge cap its strain at 0.5 fy / E under half the tension end, when the
// middle bars match them. Within those bounds every step converges.
TEST(MomentCurvature, NearPureTensionRefusesForcesAndStrainsWithoutAState) {
    HandColumn offCentre, edge;
    for (double x : {-150.0, 150.0})
        for (double y : {-250.0, -85.0}) offCentre.bars.push_back({x, y, 25});
    for (double y : {-300.0, 0.0, 300.0})
        for (double x : {-200.0, 200.0}) edge.bars.push_back({x, y, 25});
    SectionModel barsAlone = handRectangle(edge);
    std::erase_if(barsAlone.mesh.FIB, [](const TFIB& f) { return f.TY == FIB_CORE_CONCRETE; });
    barsAlone.mesh.NFIB = static_cast<int32_t>(barsAlone.mesh.FIB.size()) - 1;
    stampMesh(barsAlone);
    const double reach = 0.5 * edge.fy1 / STEEL_LAW_MODULUS;
    const std::tuple<SectionModel, bool, double, double, bool> cases[] = {
        {handRectangle(offCentre), true, 0.999, 0.0035, true},
        {handRectangle(offCentre), true, 0, 0.0035, false},
        {barsAlone, false, 0.5, 0.95 * reach, false},
        {barsAlone, false, 0.5, 1.05 * reach, true},
    };
    for (const auto& [section, aboutY, share, maxStrain, refused] : cases) {
        SectionModel m = section;
        NullMessages msgs;
        const MphiInput in{aboutY, false, share * axialCapacity(m).PMIN, maxStrain, 10};
        if (refused) {
            EXPECT_THROW(RUN_MPHI_ANALYSIS(m, in, msgs), InputError) << share << " " << maxStrain;
            continue;
        }
        EXPECT_EQ(RUN_MPHI_ANALYSIS(m, in, msgs).stats.notConverged, 0)
            << share << " " << maxStrain;
        EXPECT_GT(*std::min_element(m.results.MPHI_PHI.begin() + 1, m.results.MPHI_PHI.end()), 0);
    }
}

// The nested search of a step finds the state the fast solver finds where both reach it, and
// under a tension a state that carries the axial force exactly with no moment across the axis.
TEST(MomentCurvature, SearchedStepStatesCarryTheAxialForceAboutTheAxis) {
    SectionModel m = handRectangle(symmetricColumn());
    NullMessages msgs;
    SectionSolver solver(m, msgs);
    const FibreArrays& f = solver.fibres();
    const double cap = axialCapacity(m).PMIN;
    for (const double P : {1000.0, 0.0, 0.5 * cap}) {
        for (const double eps : {0.0005, 0.002}) {
            const CurvatureState s = searchCurvatureState(f, 1000 * P, 0, 1, eps, 0.3);
            ASSERT_TRUE(s.found) << P << " " << eps;
            EXPECT_NEAR(s.ss[0], 1000 * P, 1e-9 * std::fabs(s.ss[2]) / 300) << P << " " << eps;
            EXPECT_NEAR(s.ss[1], 0, 1e-9 * std::fabs(s.ss[2])) << P << " " << eps;
            const SolveResult r = solver.momentScaleAtStrain(P, 0, 1000, eps);
            if (r.converged)
                EXPECT_NEAR(s.ss[2] / 1e6, 1000 * r.loadFraction, 1e-6 * s.ss[2] / 1e6)
                    << P << " " << eps;
        }
    }
}
