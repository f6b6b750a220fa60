// Myy-Mzz curves a hair inside the tension end. There the limit states come in two pieces that
// meet at a seam (the most compressed point at zero strain): a curve that surrounds zero moment
// has every point at the asked axial force with a load fraction of 1, winding once around zero;
// one that does not is refused.
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

// The limit rule's factor for the deformation a: 1 where a is at the section's limit.
double limitFactor(const FibreArrays& f, const double a[3]) {
    if (f.codeRule) return codeRuleLimit(f, a).factor;
    double hi = -INFINITY, lo = INFINITY;
    for (std::size_t c = 0; c < f.cpX.size(); ++c) {
        const double e = a[0] + a[1] * f.cpX[c] + a[2] * f.cpY[c];
        hi = std::fmax(hi, e);
        lo = std::fmin(lo, e);
    }
    return hi > 0 ? EPS_LIMIT / hi : -EPS_LIMIT / lo;
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
            // Where the point is the state found directly at the force (its load's own solve
            // ends on the seam), that state once more.
            SolverState s = solver.lastState();
            double ss[3];
            sumFibreForces(fibres, s.fibreAbc, ss);
            if (std::fabs(ss[0] / 1000 - P) > std::fabs(P) * 1e-6) {
                solver.momentScaleAt(P, p.MX, p.MY, m.results.STRAIN_LIMIT_MODE);
                s = solver.lastState();
                sumFibreForces(fibres, s.fibreAbc, ss);
            }
            const double scale = std::fabs(P) * 1e-6;
            EXPECT_NEAR(limitFactor(fibres, s.fibreAbc), 1, 1e-9) << i;
            EXPECT_NEAR(ss[0] / 1000, P, scale) << i;
            EXPECT_NEAR(ss[1] / 1e6, p.MX, scale * 1e-3) << i;
            EXPECT_NEAR(ss[2] / 1e6, p.MY, scale * 1e-3) << i;
            EXPECT_NEAR(p.MX * c.phi, r.MX[i], 1e-9 * scale) << i;
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
