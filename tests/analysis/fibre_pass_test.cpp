// The fast solver's fibre pass (four fibres at a time, in lanes) against a plain sum over the
// model's fibres with the laws themselves; and the direct solve of a surface point against the
// search it replaces (which, near pure tension, can stop short of its target).
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/fibre_arrays.h"
#include "analysis/interaction_curves.h"
#include "analysis/material_laws.h"
#include "analysis/section_solver.h"
#include "example_sections.h"
#include "hand_section.h"

using namespace qav;

namespace {

struct PlainSums {
    double ss[3] = {0, 0, 0}, kt[6] = {0, 0, 0, 0, 0, 0}, ks[6] = {0, 0, 0, 0, 0, 0};
};

// Stress, slope and secant modulus of each fibre from the laws, summed one fibre after another.
PlainSums plainSums(const SectionModel& m, const double a[3]) {
    PlainSums p;
    for (int j = 1; j <= m.mesh.NFIB; ++j) {
        const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
        const double eps = a[0] + a[1] * f.X + a[2] * f.Y;
        double sig = 0, et = 0;
        if (f.TY == FIB_REBAR || f.TY == FIB_STEEL) {
            STEEL01(STEEL_LAW_MODULUS, f.FY1, eps, sig);
            et = std::fabs(eps) <= f.FY1 / STEEL_LAW_MODULUS ? STEEL_LAW_MODULUS : 0;
        } else {
            CONCRETE01(f.FC, f.EPS_0, eps, sig);
            et = eps > 0 && eps <= f.EPS_0 ? 2 * f.FC / f.EPS_0 * (1 - eps / f.EPS_0) : 0;
        }
        const double es = eps != 0 ? sig / eps : et;
        const double g[3] = {1, f.X, f.Y};
        for (int i = 0; i < 3; ++i) p.ss[i] += sig * f.AREA * g[i];
        const int pairs[6][2] = {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {1, 2}, {2, 2}};
        for (int k = 0; k < 6; ++k) {
            p.kt[k] += et * f.AREA * g[pairs[k][0]] * g[pairs[k][1]];
            p.ks[k] += es * f.AREA * g[pairs[k][0]] * g[pairs[k][1]];
        }
    }
    return p;
}

void expectSums(const double* got, const double* want, int n, double scale,
                const std::string& what) {
    for (int i = 0; i < n; ++i) EXPECT_NEAR(got[i], want[i], 1e-12 * scale) << what << " sum " << i;
}

}  // namespace

TEST(FibrePass, LanesGiveThePlainSumsForEveryGroupSizeAndState) {
    // Group sizes 1 to 9 (the lanes' short last block) of bars of two grades beside concrete
    // of two grades, at states from elastic to crushed and yielded, in compression and tension.
    for (int bars = 1; bars <= 9; ++bars) {
        test::HandColumn s;
        s.nx = 7;
        s.ny = 5;
        for (int k = 0; k < bars; ++k) s.bars.push_back({-150.0 + 30 * k, -250.0 + 10 * k, 25});
        SectionModel m = test::handRectangle(s);
        // A second grade for every third fibre of concrete and of steel.
        for (int j = 1; j <= m.mesh.NFIB; j += 3) {
            TFIB& f = m.mesh.FIB[static_cast<std::size_t>(j)];
            if (f.TY == FIB_REBAR)
                f.FY1 = 500;
            else
                f.FC = 40;
        }
        const FibreArrays arrays(m);
        for (const auto& a : {std::array<double, 3>{0.0005, 0, 0},
                              {0.001, 1e-5, -2e-5},
                              {-0.003, 2e-6, 1e-5},
                              {0.004, -3e-5, 0},
                              {0, 0, 0}}) {
            const PlainSums want = plainSums(m, a.data());
            double ss[3], kt[6], ks[6], kt2[6], ss2[3];
            sumFibreForcesAndStiffness(arrays, a.data(), ss, kt, ks);
            sumFibreForcesAndStiffness(arrays, a.data(), ss2, kt2, nullptr);
            double fscale = 0, kscale = 0;
            for (int i = 0; i < 3; ++i) fscale = std::fmax(fscale, std::fabs(want.ss[i]));
            for (int i = 0; i < 6; ++i)
                kscale = std::fmax(kscale, std::fabs(want.ks[i]) + std::fabs(want.kt[i]));
            const std::string what = std::to_string(bars) + " bars at " + std::to_string(a[0]);
            expectSums(ss, want.ss, 3, fscale + 1, what + " forces");
            expectSums(kt, want.kt, 6, kscale + 1, what + " tangent");
            expectSums(ks, want.ks, 6, kscale + 1, what + " secant");
            // Without the secant sums the forces and the tangent are the same numbers.
            for (int i = 0; i < 3; ++i) EXPECT_EQ(ss[i], ss2[i]) << what;
            for (int i = 0; i < 6; ++i) EXPECT_EQ(kt[i], kt2[i]) << what;
        }
    }
}

TEST(FibrePass, SurfacePointsStartedAtTheDirectSolveAreThePointsOfTheSearch) {
    for (const char* name : {"rectangular_column", "circular_column", "src_column_cross"}) {
        SectionModel m = test::meshedExample(name, SolverKind::Fast);
        CALC_NMAX(m);
        NullMessages msgs;
        SectionSolver solver(m, msgs);
        for (const double P :
             {0.8 * m.results.PMIN, 0.0, 0.3 * m.results.PMAX, 0.85 * m.results.PMAX}) {
            for (const double deg : {0.0, 30.0, 135.0, 250.0}) {
                const std::string what =
                    std::string(name) + " at " + std::to_string(P) + " kN, " + std::to_string(deg);
                RunStats stats;
                const MmPoint p = mmCurvePoint(solver, 1, P, deg, stats);
                // The search from the far trial moment alone, as the curves ran before.
                const double s = std::sin(deg * M_PI / 180), c = std::cos(deg * M_PI / 180);
                double mx = 1e6 * s, my = 1e6 * c;
                bool searchConverged = true;
                const double l = findUnitLoadFraction(
                    [&](double x, double y) {
                        const SolveResult r = solver.loadFraction(P, x, y, 0, 0, 0, 1);
                        searchConverged = searchConverged && r.converged;
                        return r.loadFraction;
                    },
                    mx, my, FAST_SEARCH_TOLERANCE, 100);
                EXPECT_EQ(stats.notConverged, 0) << what;
                if (!searchConverged) {
                    // Near pure tension the search can stop short on solves that do not
                    // converge; the point solved for directly is a converged state at P.
                    EXPECT_NEAR(p.P, P, 1e-7 * m.results.PMAX) << what;
                    continue;
                }
                EXPECT_NEAR(p.P, P * l, 1e-7 * m.results.PMAX) << what;
                EXPECT_NEAR(p.MX, mx * l, 1e-6 * std::hypot(p.MX, p.MY) + 1e-9) << what;
                EXPECT_NEAR(p.MY, my * l, 1e-6 * std::hypot(p.MX, p.MY) + 1e-9) << what;
            }
        }
    }
}
