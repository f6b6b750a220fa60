// Myy-Mxx curves a hair inside the axial ends, where the limit states near pure tension come in
// two pieces meeting at a seam: each point is a limit state at the asked force and the curve
// winds once round zero, or the force is refused (zero moment outside the curve, or a fold).
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

struct NearEndCase {
    const char* file;
    double axial, phi;  // kN, a thousandth inside PMIN or PMAX; ACI 318-19's tension phi
    bool refused;
};

TEST(MmNearTension, PointsAreLimitStatesAtTheForceOrTheForceIsRefused) {
    for (const NearEndCase& c : {NearEndCase{"mm_hk_near_tension.sec", -1402.06, 1, false},
                                 {"mm_ec2_opening_near_tension.sec", -5891.87, 1, false},
                                 {"mm_aci_opening_near_tension.sec", -6707.86, 0.9, false},
                                 {"mm_steel_near_ends.sec", -8944.15, 1, false},
                                 {"mm_steel_near_ends.sec", 8944.15, 1, false},
                                 {"mm_ec2_tension_off_centre.sec", -523.722, 1, true},
                                 {"mm_aci_design_tension.sec", -402.874, 0.9, true},
                                 {"mm_steel_fold_near_tension.sec", -17177.3, 1, false}}) {
        SCOPED_TRACE(c.file);
        SectionModel m;
        openSectionFile(m, std::string(QAVSEC_TEST_DATA) + "/solver-regressions/" + c.file);
        if (sectionCode(m) != CodeId::HkCop2013) m.settings.STRAIN_LIMIT = StrainLimit::Code;
        NullMessages msgs;
        FIBER_SECTION_MESH(m, msgs);
        const int mode = m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
        if (c.refused) {
            EXPECT_THROW(mmCurveAnalysis(m, c.axial, msgs), InputError);
            continue;
        }
        const MmResult r = mmCurveAnalysis(m, c.axial, msgs);
        EXPECT_EQ(r.stats.notConverged, 0);
        // Found afresh at the nominal force, each point is the state of its last solve (or the
        // state found directly at the force): its forces are the force asked for and the point's
        // moment, to the solver's tolerance.
        const FibreArrays fibres(m);
        SectionSolver solver(m, msgs);
        const double P = c.axial / c.phi;
        const std::size_t n = r.MX.size();
        double turn = 0;
        for (std::size_t i = 0; i < n; ++i) {
            RunStats stats;
            const MmPoint p =
                mmCurvePoint(solver, mode, P, 360.0 * double(i) / double(n - 1), stats);
            auto offLoad = [&] {
                double s[3];
                sumFibreForces(fibres, solver.lastState().fibreAbc, s);
                return std::hypot(s[0] - 1e3 * P, s[1] - 1e6 * p.MX, s[2] - 1e6 * p.MY) /
                       std::hypot(s[0], s[1], s[2]);
            };
            if (!(offLoad() < SOLVER_TOLERANCE)) solver.momentScaleAt(P, p.MX, p.MY, mode);
            EXPECT_LT(offLoad(), SOLVER_TOLERANCE) << i;
            EXPECT_NEAR(p.MX * c.phi, r.MX[i], 1e-9 * std::fabs(P)) << i;
            // Each point between its neighbours: the curve turns one way, once round.
            const std::size_t j = (i + 1) % n;
            const double cross = r.MX[i] * r.MY[j] - r.MY[i] * r.MX[j];
            if (j != 0) EXPECT_LT(cross, 0) << i;
            if (j != 0) turn += std::atan2(cross, r.MX[i] * r.MX[j] + r.MY[i] * r.MY[j]);
        }
        EXPECT_NEAR(std::fabs(turn), 2 * std::numbers::pi, 1e-6);
    }
}

}  // namespace
}  // namespace qav
