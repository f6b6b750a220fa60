// Exact integration over the triangles against the centroid rule under EN 1992-1-1: the example
// column (800 x 1000, C30/37, bars of 25) at the file's 100 mm mesh integrated exactly (arg 0),
// at 100 mm by the centroid rule (1) and at 10 mm by the centroid rule (2), the mesh today's
// accuracy needs. One P-M curve (NPM 30, 0 degrees), one Myy-Mzz curve (NMM 24 at 3000 kN),
// 10,000 combinations and the PMM surface, on one thread.
// Counters: fibres, solves, fibre passes per solve, unconverged solves.
#include <benchmark/benchmark.h>

#include "../tests/analysis/code_sections.h"
#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/pmm_surface.h"
#include "sample_combinations.h"
#include "solve_counters.h"

using namespace qav;

namespace {

NullMessages quiet;

SectionModel column(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    const test::ExampleSettings s{
        .meshSize = mode == 2 ? "10" : "100", .npm = 30, .nmm = 24, .threads = 1};
    SectionModel m = test::codeExample("rectangular_column", test::ec2Choice(), s);
    m.settings.INTEGRATION = mode == 0 ? Integration::Exact : Integration::Centroid;
    return m;
}

template <class Run>
void runAll(benchmark::State& state, Run run) {
    SectionModel m = column(state);
    RunStats s;
    for (auto _ : state) s.add(run(m));
    qav::bench::reportSolves(state, m, s);
}

void BM_PmCurve(benchmark::State& state) {
    runAll(state, [](SectionModel& s) { return RUN_PM_CURVE_ANALYSIS(s, 0, quiet); });
}

void BM_MmCurve(benchmark::State& state) {
    runAll(state, [](SectionModel& s) { return RUN_MM_CURVE_ANALYSIS(s, 3000, quiet); });
}

void BM_Check10000(benchmark::State& state) {
    NullProgress progress;
    runAll(state, [&](SectionModel& s) {
        if (s.document.NFORCE != 10000) qav::bench::importSampleCombinations(s, 10000);
        return CHECK_MEMBER(s, 1000, 1000, 1000, quiet, progress).stats;
    });
}

void BM_PmmSurface(benchmark::State& state) {
    runAll(state, [](SectionModel& s) { return RUN_PMM_ANALYSIS(s, quiet); });
}

}  // namespace

BENCHMARK(BM_PmCurve)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MmCurve)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check10000)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PmmSurface)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
