// Myy-Mzz curves a hair inside the axial ends. Near pure tension the limit states come in two
// pieces that meet at a seam (the most compressed point at zero strain): a curve there has every
// point a limit state at the asked axial force, winding once around zero; a force whose curve
// would not surround zero moment, or whose rays cross a fold of the two pieces, is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "analysis/fibre_arrays.h"
#include "analysis/interaction_curves.h"
#include "mesh/mesh_command.h"
#include "model/errors.h"
#include "model/section_file.h"

namespace qav {
namespace {

struct NearTensionCase {
    const char* file;
    double axial;  // kN, within a thousandth of PMIN (a design force under ACI 318-19)
    double phi;    // the tension-controlled phi under ACI 318-19, else 1
    bool refused;  // zero moment lies outside the curve at the force
};

const NearTensionCase CASES[] = {
    {"mm_hk_near_tension.sec", -1402.06, 1, false},
    {"mm_ec2_opening_near_tension.sec", -5891.87, 1, false},
    {"mm_aci_opening_near_tension.sec", -6707.86, 0.9, false},
    {"mm_ec2_tension_off_centre.sec", -523.722, 1, true},
    {"mm_aci_design_tension.sec", -402.874, 0.9, true},
    {"mm_steel_near_ends.sec", -8944.15, 1, false},
    {"mm_steel_near_ends.sec", 8944.15, 1, false},
    {"mm_steel_fold_near_tension.sec", -17177.3, 1, true},
};

SectionModel meshedRegression(const std::string& file) {
    SectionModel m;
    openSectionFile(m, std::string(QAVSEC_TEST_DATA) + "/solver-regressions/" + file);
    // Under the codes the curves run at the code's limit, as the sweep ran them.
    if (sectionCode(m) != CodeId::HkCop2013) m.settings.STRAIN_LIMIT = StrainLimit::Code;
    NullMessages msgs;
    FIBER_SECTION_MESH(m, msgs);
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    return m;
}

// The limit rule's factor for the deformation a: 1 where a is at the section's limit in mode.
double limitFactor(const FibreArrays& f, const double a[3], int mode) {
    if (f.codeRule && mode == 1) return codeRuleLimit(f, a).factor;
    double hi = -INFINITY, lo = INFINITY;
    for (std::size_t c = 0; c < f.cpX.size(); ++c) {
        const double e = a[0] + a[1] * f.cpX[c] + a[2] * f.cpY[c];
        hi = std::fmax(hi, e);
        lo = std::fmin(lo, e);
    }
    // Mode 1 the compressed extreme where there is one, mode 2 the smaller extreme magnitude
    // of a section in both, mode 3 the larger.
    const double compressed = hi > 0 ? hi : 0, stretched = lo < 0 ? -lo : 0;
    const double governing = mode == 1   ? (hi > 0 ? hi : stretched)
                             : mode == 2 ? (hi > 0 && lo < 0 ? std::fmin(compressed, stretched)
                                                             : std::fmax(compressed, stretched))
                                         : std::fmax(compressed, stretched);
    return EPS_LIMIT / governing;
}

TEST(MmNearTension, PointsAreLimitStatesAtTheForceOrTheForceIsRefused) {
    for (const NearTensionCase& c : CASES) {
        SCOPED_TRACE(c.file);
        const SectionModel m = meshedRegression(c.file);
        NullMessages msgs;
        if (c.refused) {
            EXPECT_THROW(mmCurveAnalysis(m, c.axial, msgs), InputError);
            continue;
        }
        const MmResult r = mmCurveAnalysis(m, c.axial, msgs);
        EXPECT_EQ(r.stats.notConverged, 0);
        // Each point, found afresh at the nominal force, is the state of its last solve: that
        // state is at the limit and its forces are the force asked for and the point's moment.
        const double P = c.axial / c.phi;
        const FibreArrays fibres(m);
        SectionSolver solver(m, msgs);
        const std::size_t n = r.MX.size();
        for (std::size_t i = 0; i < n; ++i) {
            RunStats stats;
            const double theta = 360.0 * static_cast<double>(i) / static_cast<double>(n - 1);
            const MmPoint p = mmCurvePoint(solver, m.results.STRAIN_LIMIT_MODE, P, theta, stats);
            // The state's forces are the point's load to the solver's own tolerance (in the
            // solver's units, N and N mm). Where the point is the state found directly at the
            // force (its load's own solve ends on the seam), that state once more.
            auto offLoad = [&](const SolverState& st) {
                double ss[3];
                sumFibreForces(fibres, st.fibreAbc, ss);
                const double d[3] = {ss[0] - 1000 * P, ss[1] - 1e6 * p.MX, ss[2] - 1e6 * p.MY};
                return std::hypot(d[0], d[1], d[2]) / std::hypot(ss[0], ss[1], ss[2]);
            };
            SolverState s = solver.lastState();
            if (!(offLoad(s) < SOLVER_TOLERANCE)) {
                solver.momentScaleAt(P, p.MX, p.MY, m.results.STRAIN_LIMIT_MODE);
                s = solver.lastState();
            }
            EXPECT_LT(offLoad(s), SOLVER_TOLERANCE) << i;
            EXPECT_NEAR(limitFactor(fibres, s.fibreAbc, m.results.STRAIN_LIMIT_MODE), 1, 1e-9) << i;
            EXPECT_NEAR(p.MX * c.phi, r.MX[i], 1e-9 * std::fabs(P)) << i;
            EXPECT_TRUE(r.converged[i]) << i;
        }
        // Each point between its neighbours: the curve turns one way, once round.
        double turn = 0;
        for (std::size_t i = 0; i + 1 < n; ++i) {
            const double cross = r.MX[i] * r.MY[i + 1] - r.MY[i] * r.MX[i + 1];
            const double dot = r.MX[i] * r.MX[i + 1] + r.MY[i] * r.MY[i + 1];
            EXPECT_LT(cross, 0) << i;
            turn += std::atan2(cross, dot);
        }
        EXPECT_NEAR(std::fabs(turn), 2 * std::numbers::pi, 1e-6);
    }
}

}  // namespace
}  // namespace qav
