// Sections whose solves once stalled at a kink of the limit rule (where the most compressed
// corner changes near the crushing end, where a steel section's compressed and stretched
// extremes swap) or in a hollow of the residual away from the state (most fibres on a plateau
// or in yield). Every solve now converges, and every point of a curve has its own load
// fraction 1.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/pmm_surface.h"
#include "analysis/section_state.h"
#include "example_sections.h"
#include "interchange/force_csv.h"
#include "model/text_file.h"

using namespace qav;

namespace {

struct KinkCase {
    const char* file;
    bool codeLimit;  // the code's ultimate limit rather than the control strain
    int npm;
    double angle;  // of a P-M curve; negative: the whole PMM surface
};

const KinkCase KINK_CASES[] = {
    {"corner_swap_near_crushing", false, 100, 45},
    {"corner_swap_near_crushing", false, 100, 225},
    {"corner_swap_aci318", true, 100, -1},
    {"steel_i_ec2", true, 100, -1},
    {"steel_i_aci318", true, 100, -1},
    {"steel_channel_ec2", true, 400, -1},
    {"steel_channel_aci318", true, 400, -1},
    {"steel_i_unequal_aci318", true, 30, -1},
    // The residual has a hollow away from the state.
    {"corner_tie_aci318", true, 30, 135},
    {"corner_tie_aci318", true, 30, 315},
    {"steel_only_gap", false, 400, -1},
    // Loads next to the crushing end, whose line meets the limit states' family twice at
    // directions where both ends of its compressed piece lie on one side of the load.
    {"typical_near_axial", false, 30, -1},
    // The reference iteration stalls 1 % beyond the first state along the load.
    {"steel_only_stalled_ec2", true, 30, -1},
};

class KinkSolves : public ::testing::TestWithParam<KinkCase> {};

}  // namespace

TEST_P(KinkSolves, EverySolveConverges) {
    const KinkCase c = GetParam();
    SectionModel m;
    openSectionFile(m, std::string(QAVSEC_TEST_DATA) + "/solver-regressions/" + c.file + ".sec");
    m.settings.STRAIN_LIMIT = c.codeLimit ? StrainLimit::Code : StrainLimit::Control;
    test::meshWith(m, {.npm = c.npm, .threads = 1});
    NullMessages msgs;
    if (c.angle < 0) {
        const PmmResult r = pmmSurfaceAnalysis(m, msgs);
        EXPECT_EQ(r.stats.notConverged, 0);
        for (const auto& curve : r.converged)
            for (std::size_t k = 1; k < curve.size(); ++k) EXPECT_EQ(curve[k], 1) << "point " << k;
        return;
    }
    const PmResult r = pmCurveAnalysis(m, c.angle, msgs);
    EXPECT_EQ(r.curve.stats.notConverged, 0);
    // Each point lies on the surface: the load fraction of the point itself is 1 (of the
    // nominal point, where the code reduces the strength).
    const bool design = !r.curve.nomP.empty();
    const std::vector<double>& P = design ? r.curve.nomP : r.curve.P;
    const std::vector<double>& MX = design ? r.curve.nomMX : r.curve.MX;
    const std::vector<double>& MY = design ? r.curve.nomMY : r.curve.MY;
    SectionSolver solver(m, msgs);
    const int mode = sectionStrainLimitMode(m);
    for (std::size_t k = 1; k < P.size(); ++k) {
        EXPECT_EQ(r.curve.converged[k], 1) << "point " << k;
        if (MX[k] == 0 && MY[k] == 0) continue;  // the axial ends
        const SolveResult s = solver.loadFraction(P[k], MX[k], MY[k], 0, 0, 0, mode);
        EXPECT_TRUE(s.converged) << "point " << k;
        EXPECT_NEAR(s.loadFraction, 1.0, 1e-6) << "point " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Sections, KinkSolves, ::testing::ValuesIn(KINK_CASES),
                         [](const auto& info) {
                             const KinkCase& c = info.param;
                             return std::string(c.file) +
                                    (c.angle < 0 ? std::string("_pmm")
                                                 : "_pm" + std::to_string(int(c.angle)));
                         });

// Combinations whose solves once stalled: every one converges, and has the same state in the
// section state, at the check's load fraction (the nominal one, where phi reduces it).
TEST(KinkSolves, TheStateOfACheckedCombinationIsTheChecks) {
    struct Case {
        const char* file;
        bool codeLimit;
        int npm;
        ForceUnits units;
        double K;  // the minimum magnitudes
    };
    for (const Case& c : {Case{"plain_concrete_pier", false, 100, ForceUnits::N_mm, 1000},
                          Case{"tension_side_aci318", true, 30, ForceUnits::kN_m, 0},
                          // Plain concrete whose forces vanish well before its family's seam.
                          Case{"plain_concrete_hk_code", true, 30, ForceUnits::N_mm, 0}}) {
        SCOPED_TRACE(c.file);
        const std::string base = std::string(QAVSEC_TEST_DATA) + "/solver-regressions/" + c.file;
        SectionModel m;
        openSectionFile(m, base + ".sec");
        m.settings.STRAIN_LIMIT = c.codeLimit ? StrainLimit::Code : StrainLimit::Control;
        test::meshWith(m, {.npm = c.npm, .threads = 1});
        IMPORT_FORCE_CSV(m, readTextLines(base + "-loads.csv"), c.units);
        NullMessages msgs;
        NullProgress progress;
        const CheckResult r = memberCheck(m, c.K, c.K, c.K, msgs, progress);
        ASSERT_TRUE(r.unconverged.empty());
        const std::vector<double>& fraction =
            r.nominalFractions.empty() ? r.fractions : r.nominalFractions;
        for (int i = 1; i <= m.document.NFORCE; ++i) {
            const auto u = static_cast<std::size_t>(i);
            if (fraction[u] == 0) continue;  // a load plain concrete does not carry
            const TFORCE& f = m.document.FORCE[u];
            const SectionState s = SECTION_STATE(m, -f.P, f.MX, f.MY, c.K, c.K, c.K, msgs);
            EXPECT_TRUE(s.converged()) << i;
            EXPECT_NEAR(s.solve.loadFraction, fraction[u], 1e-9 * fraction[u]) << i;
        }
    }
}
