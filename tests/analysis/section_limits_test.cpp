// Sections at the edge of what the laws serve: steel that would yield only beyond the limit
// strain (held at the stress of that strain), concrete stronger than any made (refused), and a
// load that no state carries (refused rather than solved).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/interaction_curves.h"
#include "analysis/material_laws.h"
#include "analysis/section_state.h"
#include "example_sections.h"
#include "hand_section.h"
#include "model/errors.h"
#include "model/value_checks.h"

using namespace qav;

namespace {

void setSteelStrength(SectionModel& m, double fy1) {
    for (TFIB& f : m.mesh.FIB)
        if (f.TY == FIB_STEEL || f.TY == FIB_REBAR) f.FY1 = fy1;
}

bool said(const MessageLog& log, const std::string& text) {
    for (const auto& e : log.entries())
        if (e.text.find(text) != std::string::npos) return true;
    return false;
}

struct StrandCase {
    const char* example;
    double angle;
};
const StrandCase STRAND_CASES[] = {{"rectangular_column", 0},      {"rectangular_column", 37},
                                   {"circular_column", 0},         {"column_with_opening", 90},
                                   {"cft_rectangular_column", 45}, {"src_column_cross", 0},
                                   {"steel_i_section", 30}};

}  // namespace

TEST(StrandSteel, CurveIsThatOfTheCapClosedAndOnItsOwnSurface) {
    for (const StrandCase& c : STRAND_CASES) {
        SCOPED_TRACE(std::string(c.example) + " at " + std::to_string(c.angle));
        SectionModel capped = test::meshedExample(c.example);
        capped.settings.NPM = 30;
        setSteelStrength(capped, STEEL_STRESS_CAP);
        MessageLog none;
        RUN_PM_CURVE_ANALYSIS(capped, c.angle, none);
        EXPECT_FALSE(said(none, "control strain")) << "a steel at the cap is not capped";
        for (double fy1 : {1860.0, 1e9}) {
            SectionModel m = capped;
            setSteelStrength(m, fy1);
            MessageLog log;
            EXPECT_EQ(RUN_PM_CURVE_ANALYSIS(m, c.angle, log).notConverged, 0) << fy1;
            EXPECT_TRUE(said(log, "yields beyond the control strain")) << fy1;
            EXPECT_EQ(m.results.PM_P, capped.results.PM_P) << fy1;
            EXPECT_EQ(m.results.PM_M, capped.results.PM_M) << fy1;
            EXPECT_EQ(m.results.PMIN, capped.results.PMIN) << fy1;
        }
        const std::vector<double>&P = capped.results.PM_P, &MX = capped.results.PM_MX,
              &MY = capped.results.PM_MY;
        const std::size_t last = P.size() - 1;
        EXPECT_EQ(P[1], P[last]);
        EXPECT_EQ(capped.results.PM_M[1], capped.results.PM_M[last]);
        // No point below the tension end (PMAX leaves the cover out, the curve does not).
        const double span = capped.results.PMAX - capped.results.PMIN;
        SectionSolver solver(capped, none);
        for (std::size_t k = 1; k <= last; ++k) {
            EXPECT_TRUE(std::isfinite(P[k]) && std::isfinite(MX[k]) && std::isfinite(MY[k])) << k;
            EXPECT_GE(P[k], capped.results.PMIN - 1e-9 * span) << k;
            if (P[k] == 0 && MX[k] == 0 && MY[k] == 0) continue;
            const SolveResult r =
                solver.loadFraction(P[k], MX[k], MY[k], 0, 0, 0, capped.results.STRAIN_LIMIT_MODE);
            EXPECT_TRUE(r.converged) << k;
            EXPECT_NEAR(r.loadFraction, 1.0, 1e-6) << k;
        }
    }
}

TEST(ConcreteStrength, AGradeStrongerThanAnyConcreteIsRefusedAtTheMesh) {
    struct Case {
        bool cover;
        double fc;
        bool refused;
    };
    const Case cases[] = {{false, 1e9, true},
                          {false, MAX_CONCRETE_FC * 1.001, true},
                          {false, MAX_CONCRETE_FC, false},
                          {true, 1e9, true},
                          {true, MAX_CONCRETE_FC, false}};
    for (const Case& c : cases) {
        SectionModel m;
        openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/rectangular_column.sec");
        TMAT& grade = c.cover ? m.document.COVER_MAT[std::size_t(m.document.USE_COVER + 1)]
                              : m.document.CONC_MAT[std::size_t(m.document.USE_CONC + 1)];
        grade.FC = c.fc;
        NullMessages msgs;
        if (c.refused)
            EXPECT_THROW(FIBER_SECTION_MESH(m, msgs), InputError) << c.cover << " " << c.fc;
        else
            EXPECT_NO_THROW(FIBER_SECTION_MESH(m, msgs)) << c.cover << " " << c.fc;
    }
}

TEST(SectionStateOfALoad, ALoadThatNoStateCarriesIsRefusedAsNotCarried) {
    // Plain concrete: a tension or a pure moment has no state; a compression inside does.
    SectionModel plain = test::handRectangle(test::HandColumn{});
    struct Case {
        double P, MX, MY;
        bool carried;
    };
    for (const Case& c :
         {Case{-500, 0, 0, false}, Case{0, 100, 0, false}, Case{500, 0, 50, true}}) {
        NullMessages msgs;
        try {
            const SectionState s = SECTION_STATE(plain, c.P, c.MX, c.MY, 0, 0, 0, msgs);
            EXPECT_TRUE(c.carried) << c.P << " " << c.MX;
            EXPECT_TRUE(s.solve.converged) << c.P << " " << c.MX;
        } catch (const InputError& e) {
            EXPECT_FALSE(c.carried) << c.P << " " << c.MX;
            EXPECT_EQ(std::string(e.what()), notCarriedStateText());
        }
    }
}

TEST(PlainConcrete, CurveNearTheEdgeIsConvergedAndSymmetric) {
    // Plain concrete at small axial forces: the points lie close to the section's edge, where
    // the surface is steep along the load.
    for (const char* mesh : {"40", "100"}) {
        SectionModel m;
        openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/rectangular_column.sec");
        m.document.NBAR = 0;
        m.document.MESH_SIZE_TEXT = mesh;
        m.settings.NPM = 400;
        NullMessages msgs;
        FIBER_SECTION_MESH(m, msgs);
        m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
        EXPECT_EQ(RUN_PM_CURVE_ANALYSIS(m, 0, msgs).notConverged, 0) << mesh;
        const std::vector<double>& P = m.results.PM_P;
        const std::vector<double>& M = m.results.PM_M;
        const std::size_t last = P.size() - 1;
        for (std::size_t k = 1; k <= last; ++k) {
            EXPECT_NEAR(P[k], P[last + 1 - k], 1e-6 * P[last / 2]) << mesh << " " << k;
            EXPECT_NEAR(M[k], -M[last + 1 - k], 1e-3 * std::fabs(M[last / 4])) << mesh << " " << k;
        }
    }
}
