// The fast solver against the reference iteration on every example: the same load fractions,
// curve points on the reference's surface, no unconverged solve, a handful of fibre passes per
// solve; identical results for any thread count; cancelled runs that change nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/moment_curvature.h"
#include "analysis/pmm_surface.h"
#include "analysis/section_solver.h"
#include "example_sections.h"
#include "hand_section.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "model/section_file.h"

using namespace qav;

namespace {

using test::EXAMPLES;
using test::meshedExample;

// The reference iteration's load fraction of a curve point found by the fast solver: 1 when the
// point lies on the reference's surface. Nothing to say (NaN) where the reference did not
// converge.
struct OnSurface {
    SectionSolver& reference;
    int mode;
    double operator()(double P, double MX, double MY) const {
        const SolveResult r = reference.loadFraction(P, MX, MY, 0, 0, 0, mode);
        return r.converged ? r.loadFraction : NAN;
    }
};

void expectOnSurface(const OnSurface& ref, double P, double MX, double MY,
                     const std::string& what) {
    // A point at the origin (a section without steel at its tension end) carries no load.
    if (std::hypot(P, MX, MY) < 1e-6) return;
    const double l = ref(P, MX, MY);
    if (std::isnan(l)) return;
    // The reference stops at a relative residual of 1e-4 in a norm where the moments (N mm)
    // swamp the axial force (N): near pure bending its "converged" state can miss the axial
    // force by several percent (on the cross-shaped steel column, -142 kN against -150 kN at
    // 1108 kNm), while the fast solver's residual is 1e-9 in a balanced norm. The direct
    // integration decides between the two (interaction_curves_test); here the reference only
    // bounds the fast points.
    EXPECT_NEAR(l, 1.0, 0.06) << what;
}

class FastSolver : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(FastSolver, CurvePointsLieOnTheReferenceSurfaceWithoutUnconvergedSolves) {
    SectionModel m = meshedExample(GetParam(), SolverKind::Fast);
    NullMessages msgs;
    SectionSolver reference(m, msgs, SolverKind::Reference);
    const OnSurface ref{reference, m.results.STRAIN_LIMIT_MODE};
    RunStats all;
    // P-M every 7.5 degrees.
    for (int k = 0; k < 48; ++k) {
        const double angle = 7.5 * k;
        all.add(RUN_PM_CURVE_ANALYSIS(m, angle, msgs));
        for (std::size_t i = 1; i < m.results.PM_P.size(); ++i)
            expectOnSurface(ref, m.results.PM_P[i], m.results.PM_MX[i], m.results.PM_MY[i],
                            std::string(GetParam()) + " P-M " + std::to_string(angle) + " point " +
                                std::to_string(i));
    }
    // Myy-Mxx at nine axial forces from 0.9 PMIN to 0.9 PMAX.
    CALC_NMAX(m);
    const double pmin = m.results.PMIN, pmax = m.results.PMAX;
    for (int k = 0; k < 9; ++k) {
        const double P = 0.9 * pmin + (0.9 * pmax - 0.9 * pmin) * k / 8;
        all.add(RUN_MM_CURVE_ANALYSIS(m, P, msgs));
        for (std::size_t i = 0; i < m.results.MM_MX.size(); ++i) {
            // The point's axial force is the requested one: the search meets its target.
            expectOnSurface(ref, P, m.results.MM_MX[i], m.results.MM_MY[i],
                            std::string(GetParam()) + " Myy-Mxx " + std::to_string(P) + " point " +
                                std::to_string(i));
        }
    }
    std::printf(
        "%s: %lld solves, %lld unconverged, %.2f passes per solve, %lld handed to the reference\n",
        GetParam(), all.solves, all.notConverged,
        static_cast<double>(all.iterations) / static_cast<double>(all.solves), all.fellBack);
    // Solves the fast method cannot finish go to the reference iteration; the few that neither
    // finishes are counted and said, never hidden.
    EXPECT_LE(static_cast<double>(all.notConverged), 0.002 * static_cast<double>(all.solves))
        << GetParam() << ", worst residual " << all.worstResidual;
    // Steel-only sections run the reference iteration first (its passes are counted). A tension
    // whose state is held at a compressed point also looks for a first state on the stretched
    // piece (the cross-shaped column: some 3 passes per solve more).
    if (m.results.STRAIN_LIMIT_MODE == 1) {
        EXPECT_LE(static_cast<double>(all.iterations) / static_cast<double>(all.solves), 11.0)
            << GetParam();
    }
}

TEST_P(FastSolver, LoadFractionsMatchTheReference) {
    SectionModel fast = meshedExample(GetParam(), SolverKind::Fast);
    SectionModel ref = fast;
    ref.settings.SOLVER = SolverKind::Reference;
    for (SectionModel* m : {&fast, &ref})
        IMPORT_FORCE_CSV(*m, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
    NullMessages msgs;
    NullProgress progress;
    const CheckResult f = CHECK_MEMBER(fast, 1000, 1000, 1000, msgs, progress);
    const CheckResult r = CHECK_MEMBER(ref, 1000, 1000, 1000, msgs, progress);
    EXPECT_EQ(f.stats.notConverged, 0) << GetParam();
    EXPECT_TRUE(f.unconverged.empty());
    std::vector<bool> refConverged(static_cast<std::size_t>(ref.document.NFORCE) + 1, true);
    for (int i : r.unconverged) refConverged[static_cast<std::size_t>(i)] = false;
    for (int i = 1; i <= fast.document.NFORCE; ++i) {
        const auto u = static_cast<std::size_t>(i);
        if (!refConverged[u]) continue;
        EXPECT_NEAR(fast.document.FORCE[u].LOAD_FRACTION / ref.document.FORCE[u].LOAD_FRACTION, 1.0,
                    1e-3)
            << GetParam() << " combination " << i;
    }
}

TEST_P(FastSolver, MomentCurvatureMatchesTheReference) {
    for (bool aboutY : {false, true}) {
        SectionModel fast = meshedExample(GetParam(), SolverKind::Fast);
        CALC_NMAX(fast);
        SectionModel ref = fast;
        ref.settings.SOLVER = SolverKind::Reference;
        MphiInput in;
        in.aboutY = aboutY;
        in.axialForce = std::round(0.2 * fast.results.PMAX);
        in.maxStrain = 0.0035;
        in.steps = 20;
        NullMessages msgs;
        const MphiRun f = RUN_MPHI_ANALYSIS(fast, in, msgs);
        RUN_MPHI_ANALYSIS(ref, in, msgs);
        EXPECT_EQ(f.stats.notConverged, 0) << GetParam();
        // The reference stops its search within 1 % of the axial force; its moments and
        // curvatures are within that of the exact ones.
        const double Mscale =
            *std::max_element(ref.results.MPHI_M.begin(), ref.results.MPHI_M.end());
        const double Pscale =
            *std::max_element(ref.results.MPHI_PHI.begin(), ref.results.MPHI_PHI.end());
        for (std::size_t i = 1; i < fast.results.MPHI_M.size(); ++i) {
            EXPECT_NEAR(fast.results.MPHI_M[i], ref.results.MPHI_M[i], 0.02 * Mscale)
                << GetParam() << " step " << i;
            EXPECT_NEAR(fast.results.MPHI_PHI[i], ref.results.MPHI_PHI[i], 0.02 * Pscale)
                << GetParam() << " step " << i;
        }
        // Each fast point is exact: at its own moment and strain the reference finds fraction 1.
        SectionSolver reference(fast, msgs, SolverKind::Reference);
        const double f1 = aboutY ? 1.0 : 0.0, f2 = aboutY ? 0.0 : 1.0;
        for (std::size_t i = 1; i < fast.results.MPHI_M.size(); ++i) {
            const double eps = static_cast<double>(i) * in.maxStrain / in.steps;
            // A strain too small to carry the axial force has no moment to find: both searches
            // shrink the moment towards nothing (the comparison above holds them together).
            if (ref.results.MPHI_M[i] < 1e-3 * Mscale) continue;
            const SolveResult r = reference.loadFractionAtStrain(
                in.axialForce, f1 * fast.results.MPHI_M[i], f2 * fast.results.MPHI_M[i], eps);
            if (r.converged) {
                EXPECT_NEAR(r.loadFraction, 1.0, 1e-3) << GetParam() << " step " << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, FastSolver, ::testing::ValuesIn(EXAMPLES),
                         [](const ::testing::TestParamInfo<const char*>& i) {
                             return std::string(i.param);
                         });

// On the steel I-section the reference iteration stalls short of its tolerance on a few solves
// of the P-M curve at 30 degrees (and so of the PMM surface); the fast solver finishes them from
// the reference's last deformation. The points stay those the reference approaches: at each
// point's load the reference's fraction, converged or not, is close to 1.
// A tension's line can meet the limit states once on each side of the family's seam; the load
// fraction is the first state the load reaches as it grows from zero. The reference iteration
// settles on either, so the fast solver's fraction never exceeds its fraction, and where they
// differ the fast one is the smaller (up to 2.9 % on the cross-shaped column before).
TEST(FastSolver, ATensionTakesTheFirstStateAlongItsLine) {
    for (const char* name : {"src_column_cross", "rectangular_column"}) {
        SectionModel m = meshedExample(name, SolverKind::Fast);
        NullMessages q;
        SectionSolver fast(m, q, SolverKind::Fast), ref(m, q, SolverKind::Reference);
        std::mt19937 rng(3);
        std::uniform_real_distribution<double> P(-3000, 0), M(0, 400), A(0, 2 * M_PI);
        int smaller = 0;
        for (int i = 0; i < 200; ++i) {
            const double p = P(rng), mm = M(rng), a = A(rng);
            const SolveResult f = fast.loadFraction(p, mm * cos(a), mm * sin(a), 0, 0, 0, 1);
            const SolveResult r = ref.loadFraction(p, mm * cos(a), mm * sin(a), 0, 0, 0, 1);
            ASSERT_TRUE(f.converged) << name << " " << p << " " << mm << " " << a;
            if (!r.converged || r.offBalance) continue;
            EXPECT_LE(f.loadFraction, r.loadFraction * (1 + 1e-4))
                << name << " " << p << " " << mm << " " << a;
            smaller += f.loadFraction < r.loadFraction * (1 - 1e-3) ? 1 : 0;
        }
        if (std::string(name) == "rectangular_column") EXPECT_GT(smaller, 0);
    }
}

TEST(FastSolver, SteelSectionFinishesTheSolvesTheReferenceLeavesShort) {
    SectionModel m = meshedExample("steel_i_section", SolverKind::Fast);
    ASSERT_EQ(m.results.STRAIN_LIMIT_MODE, 2);
    NullMessages msgs;
    SectionSolver reference(m, msgs, SolverKind::Reference);
    const RunStats pm = RUN_PM_CURVE_ANALYSIS(m, 30, msgs);
    EXPECT_EQ(pm.notConverged, 0) << "worst residual " << pm.worstResidual;
    int stalled = 0;
    for (std::size_t i = 1; i < m.results.PM_P.size(); ++i) {
        if (std::hypot(m.results.PM_P[i], m.results.PM_MX[i], m.results.PM_MY[i]) < 1e-6) continue;
        const SolveResult r = reference.loadFraction(m.results.PM_P[i], m.results.PM_MX[i],
                                                     m.results.PM_MY[i], 0, 0, 0, 2);
        stalled += r.converged ? 0 : 1;
        EXPECT_NEAR(r.loadFraction, 1.0, 5e-3)
            << "point " << i << (r.converged ? "" : " (reference unconverged)");
    }
    // The case stays covered: the reference still stalls at some of these points.
    EXPECT_GT(stalled, 0);
    SectionModel surface = meshedExample("steel_i_section", SolverKind::Fast);
    const RunStats pmm = RUN_PMM_ANALYSIS(surface, msgs);
    EXPECT_EQ(pmm.notConverged, 0) << "worst residual " << pmm.worstResidual;
}

TEST(FastSolver, ResultsDoNotDependOnTheThreadCount) {
    SectionModel one = meshedExample("rectangular_column", SolverKind::Fast);
    IMPORT_FORCE_CSV(one, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
    // Enough combinations for several blocks.
    for (int k = 0; k < 20; ++k)
        for (int i = 1; i <= 42; ++i)
            one.document.FORCE.push_back(one.document.FORCE[static_cast<std::size_t>(i)]);
    for (auto& f : one.document.FORCE)
        f.P *= 1.0 + 1e-3 * static_cast<double>(&f - one.document.FORCE.data());
    one.document.NFORCE = static_cast<int>(one.document.FORCE.size()) - 1;
    SectionModel four = one;
    one.settings.THREADS = 1;
    four.settings.THREADS = 4;
    MessageLog log1, log4;
    NullProgress progress;
    RUN_PMM_ANALYSIS(one, log1);
    RUN_PMM_ANALYSIS(four, log4);
    EXPECT_EQ(one.results.PMM_P, four.results.PMM_P);
    EXPECT_EQ(one.results.PMM_MX, four.results.PMM_MX);
    EXPECT_EQ(one.results.PMM_MY, four.results.PMM_MY);
    EXPECT_EQ(one.results.PM_P, four.results.PM_P);
    const CheckResult c1 = CHECK_MEMBER(one, 1000, 1000, 1000, log1, progress);
    const CheckResult c4 = CHECK_MEMBER(four, 1000, 1000, 1000, log4, progress);
    for (int i = 1; i <= one.document.NFORCE; ++i)
        EXPECT_EQ(one.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION,
                  four.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION)
            << "combination " << i;
    EXPECT_EQ(c1.critical, c4.critical);
    EXPECT_EQ(c1.stats.iterations, c4.stats.iterations);
    for (int j = 1; j <= one.mesh.NFIB; ++j)
        EXPECT_EQ(one.mesh.FIB[static_cast<std::size_t>(j)].STRESS,
                  four.mesh.FIB[static_cast<std::size_t>(j)].STRESS);
}

namespace {
// Says cancelled once the run has reported a few positions.
struct CancelLater : Progress {
    int calls = 0, after = 3;
    void setPosition(int) override { ++calls; }
    bool cancelled() const override { return calls >= after; }
};
}  // namespace

TEST(FastSolver, ACancelledRunLeavesThePreviousResults) {
    for (int threads : {1, 2}) {
        SectionModel m = qav::test::handRectangle(qav::test::symmetricColumn());
        m.settings.THREADS = threads;
        m.settings.NPM = 10;
        NullMessages msgs;
        RUN_PMM_ANALYSIS(m, msgs);
        IMPORT_FORCE_CSV(m, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
        NullProgress none;
        CHECK_MEMBER(m, 1000, 1000, 1000, msgs, none);
        const SectionModel before = m;
        m.settings.NPM = 20;
        CancelLater cancel;
        // Worker threads may finish before the calling thread first looks.
        cancel.after = threads == 1 ? 3 : 0;
        EXPECT_THROW(RUN_PMM_ANALYSIS(m, msgs, &cancel), RunCancelled) << threads;
        CancelLater cancel2;
        EXPECT_THROW(CHECK_MEMBER(m, 500, 500, 500, msgs, cancel2), RunCancelled) << threads;
        EXPECT_EQ(m.results.PMM_P, before.results.PMM_P);
        EXPECT_EQ(m.results.PMM_MX, before.results.PMM_MX);
        EXPECT_EQ(m.results.PM_P, before.results.PM_P);
        for (int i = 1; i <= m.document.NFORCE; ++i)
            EXPECT_EQ(m.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION,
                      before.document.FORCE[static_cast<std::size_t>(i)].LOAD_FRACTION);
        EXPECT_EQ(m.results.CRITICAL_COMB, before.results.CRITICAL_COMB);
    }
}
