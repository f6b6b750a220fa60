// The ultimate limit in force for a section, the axial range of the curves that start from it and
// the moment-curvature run's limits.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/fibre_arrays.h"
#include "analysis/interaction_curves.h"
#include "analysis/material_laws.h"
#include "analysis/moment_curvature.h"
#include "code_sections.h"
#include "hand_section.h"
#include "model/errors.h"
#include "model/number_text.h"

using namespace qav;
using qav::test::codeExample;
using qav::test::HandColumn;
using qav::test::handRectangle;

TEST(StrainLimit, CodesWithTheirOwnTablesAlwaysTakeTheirLimits) {
    struct Case {
        test::CodeChoice choice;
        StrainLimit setting, inForce;
    };
    const Case cases[] = {
        {test::hkChoice(), StrainLimit::Control, StrainLimit::Control},
        {test::hkChoice(), StrainLimit::Code, StrainLimit::Code},
        {test::ec2Choice(), StrainLimit::Control, StrainLimit::Code},
        {test::aciChoice(), StrainLimit::Control, StrainLimit::Code},
    };
    for (const Case& c : cases) {
        SectionModel m = codeExample("rectangular_column", c.choice);
        m.settings.STRAIN_LIMIT = c.setting;
        EXPECT_EQ(strainLimitInForce(m), c.inForce) << codeName(c.choice.code);
        m.settings.DESIGN_CODE = 1;  // BS-8110 follows the setting as HK-COP-2013 does
        EXPECT_EQ(strainLimitInForce(m), c.inForce) << codeName(c.choice.code);
    }
    // Without a concrete outline there is no concrete limit to take.
    SectionModel bare = codeExample("rectangular_column", test::ec2Choice());
    bare.document.NCONC_PT = 0;
    EXPECT_EQ(strainLimitInForce(bare), StrainLimit::Control);
}

// The curves' axial range is the P-M curve's own: its top includes the cover concrete that PMAX
// leaves out, and a force copied from a listing at 3 decimals is the end itself.
TEST(StrainLimit, AxialRangeIsTheEndsOfTheCurve) {
    SectionModel m = test::meshedExample("rectangular_column", {.npm = 10, .nmm = 8});
    NullMessages msgs;
    const PmResult pm = pmCurveAnalysis(m, 0, msgs);
    double top = -INFINITY, bottom = INFINITY;
    for (std::size_t i = 1; i < pm.curve.P.size() - 1; ++i) {
        top = std::max(top, pm.curve.P[i]);
        bottom = std::min(bottom, pm.curve.P[i]);
    }
    const AxialEnds ends = curveAxialEnds(m);
    EXPECT_NEAR(ends.compression, top, 1e-6 * top);
    EXPECT_NEAR(ends.tension, bottom, 1e-6 * std::fabs(bottom));
    EXPECT_GT(ends.compression, pm.PMAX * 1.05) << "the cover concrete counts";
    const double listed = std::ceil(ends.compression * 1000) / 1000;
    EXPECT_EQ(mmCurveAnalysis(m, listed, msgs).stats.notConverged, 0);
    EXPECT_EQ(mmCurveAnalysis(m, 0.5 * (pm.PMAX + ends.compression), msgs).stats.notConverged, 0);
    EXPECT_THROW(mmCurveAnalysis(m, ends.compression + 1, msgs), InputError);
    EXPECT_THROW(mphiAnalysis(m, {false, false, ends.tension - 1, 0.0035, 4}, msgs), InputError);

    EXPECT_EQ(withinAxialRange(100.0004, -50, 100), 100.0);
    EXPECT_EQ(withinAxialRange(-50.0004, -50, 100), -50.0);
    EXPECT_EQ(withinAxialRange(20, -50, 100), 20.0);
    EXPECT_FALSE(withinAxialRange(100.001, -50, 100).has_value());
}

namespace {
// A 400 x 600 column with bars at its left side only: bent about X its strain plane tilts.
HandColumn leftBars() {
    HandColumn s;
    for (double y : {-250.0, -85.0, 85.0, 250.0}) s.bars.push_back({-150, y, 32});
    return s;
}
}  // namespace

// The curvature about X is the slope of the strain plane along Y, read here from the strains
// the last step left in the fibres; the spread of the corner strains over the depth would
// count the tilt across the section too.
TEST(StrainLimit, MphiCurvatureIsTheSlopeAboutTheBendingAxis) {
    SectionModel m = handRectangle(leftBars());
    NullMessages msgs;
    RUN_MPHI_ANALYSIS(m, MphiInput{false, false, 500, 0.0035, 6}, msgs);
    const std::vector<double> abc = test::fibrePlane(m, 1, 20, 581);
    const double phi = m.results.MPHI_PHI.back();
    EXPECT_NEAR(phi, std::fabs(abc[2]) * 1000, 1e-9 * phi);
    const double spread = (std::fabs(abc[1]) * 400 + std::fabs(abc[2]) * 600) / 0.6;
    EXPECT_GT(spread, 1.01 * phi) << "the section tilts: the old measure would differ";
}

// Below the uniform strain that carries the axial force no state exists: those steps are the
// uniform state, with a message, whether the section has bars or not.
TEST(StrainLimit, MphiStepsBelowTheUniformStrainAreThatState) {
    HandColumn s{.b = 300, .h = 300, .nx = 15, .ny = 15};
    for (double x : {-110.0, 110.0})
        for (double y : {-110.0, 110.0}) s.bars.push_back({x, y, 20});
    SectionModel m = handRectangle(s);
    // The uniform strain of 1000 kN by halving over the fibres' own laws.
    auto force = [&](double e) {
        double sum = 0;
        for (int j = 1; j <= m.mesh.NFIB; ++j) {
            const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
            double sig = 0;
            if (f.TY == FIB_REBAR)
                STEEL01(STEEL_LAW_MODULUS, f.FY1, e, sig);
            else
                CONCRETE01(f.FC, f.EPS_0, e, sig);
            sum += sig * f.AREA;
        }
        return sum;
    };
    double lo = 0, hi = 0.0035;
    for (int i = 0; i < 100; ++i) (force(0.5 * (lo + hi)) < 1e6 ? lo : hi) = 0.5 * (lo + hi);
    const int uniformSteps = static_cast<int>(std::floor(lo / (0.0035 / 20)));
    ASSERT_GE(uniformSteps, 1);
    MessageLog log;
    RUN_MPHI_ANALYSIS(m, MphiInput{false, false, 1000, 0.0035, 20}, log);
    for (int i = 1; i <= 20; ++i) {
        const auto u = static_cast<std::size_t>(i);
        if (i <= uniformSteps) {
            EXPECT_EQ(m.results.MPHI_M[u], 0) << i;
            EXPECT_EQ(m.results.MPHI_PHI[u], 0) << i;
        } else {
            EXPECT_GT(m.results.MPHI_M[u], 0) << i;
        }
    }
    bool said = false;
    for (const auto& e : log.entries())
        said = said || e.text.find(Format("the first %D strain steps", {uniformSteps})) !=
                           std::string::npos;
    EXPECT_TRUE(said);
}

// EN 1992-1-1 C90/105: eps_cu2 = 2.6 + 35 ((90 - 90) / 100)^4 per mille; HK-COP C30 under the
// control strain keeps the program's 0.0035.
TEST(StrainLimit, MphiDefaultStrainIsTheLeastUltimateUnderTheCodesLimits) {
    test::CodeChoice c90 = test::ec2Choice();
    c90.concrete = "C90/105";
    EXPECT_DOUBLE_EQ(mphiDefaultMaxStrain(codeExample("rectangular_column", c90)), 0.0026);
    EXPECT_DOUBLE_EQ(mphiDefaultMaxStrain(codeExample("rectangular_column", test::aciChoice())),
                     0.003);
    EXPECT_DOUBLE_EQ(mphiDefaultMaxStrain(test::meshedExample("rectangular_column")), 0.0035);
}
