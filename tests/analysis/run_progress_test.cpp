// The positions the long analysis runs report, and that reporting leaves their results alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "analysis/interaction_curves.h"
#include "analysis/moment_curvature.h"
#include "analysis/pmm_surface.h"
#include "hand_section.h"

using namespace qav;

namespace {

struct RecordingProgress : Progress {
    std::vector<int> positions;
    void setPosition(int percent) override { positions.push_back(percent); }
};

// Every result table a run may fill, flattened.
std::vector<double> results(const SectionModel& m) {
    std::vector<double> all;
    for (const auto* v :
         {&m.results.PM_P, &m.results.PM_MX, &m.results.PM_MY, &m.results.PM_M, &m.results.MM_MX,
          &m.results.MM_MY, &m.results.MPHI_M, &m.results.MPHI_PHI})
        all.insert(all.end(), v->begin(), v->end());
    for (const auto* t : {&m.results.PMM_P, &m.results.PMM_MX, &m.results.PMM_MY})
        for (const auto& v : *t) all.insert(all.end(), v.begin(), v.end());
    all.push_back(m.results.PMAX);
    all.push_back(m.results.PMIN);
    return all;
}

}  // namespace

TEST(RunProgress, RisesTo100AndLeavesTheResultsAlone) {
    using Run = std::function<void(SectionModel&, Messages&, Progress*)>;
    struct Case {
        const char* name;
        Run run;
        std::size_t minPositions;  // at least this many distinct positions
    };
    MphiInput mphi;
    mphi.axialForce = 500;
    mphi.maxStrain = 0.0035;
    mphi.steps = 8;
    const Case cases[] = {
        {"P-M",
         [](SectionModel& m, Messages& g, Progress* p) { RUN_PM_CURVE_ANALYSIS(m, 30, g, p); }, 10},
        {"Myy-Mxx",
         [](SectionModel& m, Messages& g, Progress* p) { RUN_MM_CURVE_ANALYSIS(m, 500, g, p); }, 9},
        {"M-Phi",
         [&](SectionModel& m, Messages& g, Progress* p) { RUN_MPHI_ANALYSIS(m, mphi, g, p); }, 9},
        {"PMM", [](SectionModel& m, Messages& g, Progress* p) { RUN_PMM_ANALYSIS(m, g, p); }, 30},
    };
    SectionModel base = qav::test::handRectangle(qav::test::symmetricColumn());
    base.settings.NPM = 4;
    base.settings.NMM = 8;
    base.results.STRAIN_LIMIT_MODE = 1;
    // One thread: the progress then moves with every step (worker threads report it coarser).
    base.settings.THREADS = 1;
    for (const Case& c : cases) {
        NullMessages msgs;
        SectionModel quiet = base, watched = base;
        c.run(quiet, msgs, nullptr);
        RecordingProgress progress;
        c.run(watched, msgs, &progress);
        EXPECT_EQ(results(watched), results(quiet)) << c.name;

        const std::vector<int>& p = progress.positions;
        ASSERT_FALSE(p.empty()) << c.name;
        EXPECT_EQ(p.front(), 0) << c.name;
        EXPECT_EQ(p.back(), 100) << c.name;
        for (std::size_t i = 1; i < p.size(); ++i)
            EXPECT_LE(p[i - 1], p[i]) << c.name << ": position " << i << " goes back";
        std::vector<int> distinct = p;
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        EXPECT_GE(distinct.size(), c.minPositions) << c.name;
    }
}

TEST(RunProgress, StepsReportOnlyWhenThePercentageMoves) {
    struct Case {
        const char* name;
        long long total;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"three steps", 3, {0, 33, 66, 100}},
        {"no steps", 0, {0, 100}},
        {"steps beyond the total", 2, {0, 50, 100}},
    };
    for (const Case& c : cases) {
        RecordingProgress progress;
        StepProgress steps(&progress, c.total);
        for (long long i = 0; i < std::max(c.total, 1LL) + 1; ++i) steps.step();
        EXPECT_EQ(progress.positions, c.expected) << c.name;
    }
    RecordingProgress whole;
    StepProgress many(&whole, 1'000'000);
    for (int i = 0; i < 1'000'000; ++i) many.step();
    EXPECT_EQ(whole.positions.size(), 101u) << "one report per percent";
    StepProgress none(nullptr, 5);
    none.step();  // no progress to tell: nothing happens

    RecordingProgress outer;
    PartProgress part(outer, 50, 75);
    for (int percent : {-5, 0, 40, 100, 120}) part.setPosition(percent);
    EXPECT_EQ(outer.positions, (std::vector<int>{50, 50, 60, 75, 75}));
}
