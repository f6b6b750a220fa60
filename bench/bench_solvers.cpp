// The fast solver against the reference iteration on the example column (800 x 1000, C30,
// meshed at 20 mm: 3,990 fibres) and on 50,000 fibres: one P-M curve (NPM 30, 62 points) at 0
// and 30 degrees, one Myy-Mzz curve (NMM 24, 25 points), the PMM surface, 10,000
// combinations; the PMM surface on 50,000 fibres on one and on two threads. The first argument
// is the solver (0 fast, 1 reference), the second the thread count.
// Counters: solves, fibre passes per solve, unconverged solves.
#include <benchmark/benchmark.h>

#include <string>

#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/pmm_surface.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "model/section_file.h"
#include "sample_combinations.h"
#include "solve_counters.h"

using namespace qav;

namespace {

SectionModel example(const char* meshSize, SolverKind solver, int threads) {
    SectionModel m;
    openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/rectangular_column.sec");
    m.document.MESH_SIZE_TEXT = meshSize;
    NullMessages msgs;
    FIBER_SECTION_MESH(m, msgs);
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    m.settings.SOLVER = solver;
    m.settings.THREADS = threads;
    m.settings.NPM = 30;
    m.settings.NMM = 24;
    return m;
}

SectionModel fromArgs(benchmark::State& state, const char* meshSize) {
    return example(meshSize, state.range(0) == 0 ? SolverKind::Fast : SolverKind::Reference,
                   static_cast<int>(state.range(1)));
}

NullMessages quiet;

template <class Run>
void runAll(benchmark::State& state, SectionModel& m, Run run) {
    RunStats s;
    for (auto _ : state) s.add(run(m));
    qav::bench::reportSolves(state, m, s);
}

void BM_PmCurve0(benchmark::State& state) {
    SectionModel m = fromArgs(state, "20");
    runAll(state, m, [](SectionModel& s) { return RUN_PM_CURVE_ANALYSIS(s, 0, quiet); });
}

void BM_PmCurve30(benchmark::State& state) {
    SectionModel m = fromArgs(state, "20");
    runAll(state, m, [](SectionModel& s) { return RUN_PM_CURVE_ANALYSIS(s, 30, quiet); });
}

void BM_MmCurve(benchmark::State& state) {
    SectionModel m = fromArgs(state, "20");
    runAll(state, m, [](SectionModel& s) { return RUN_MM_CURVE_ANALYSIS(s, 3000, quiet); });
}

void BM_PmmSurface(benchmark::State& state) {
    SectionModel m = fromArgs(state, "20");
    runAll(state, m, [](SectionModel& s) { return RUN_PMM_ANALYSIS(s, quiet); });
}

void BM_Check10000(benchmark::State& state) {
    SectionModel m = fromArgs(state, "20");
    qav::bench::importSampleCombinations(m, 10000);
    NullProgress progress;
    runAll(state, m, [&](SectionModel& s) {
        return CHECK_MEMBER(s, 1000, 1000, 1000, quiet, progress).stats;
    });
}

// 50,000 fibres: the same column meshed at 5.65 mm.
void BM_PmmSurface50k(benchmark::State& state) {
    SectionModel m = fromArgs(state, "5.65");
    runAll(state, m, [](SectionModel& s) { return RUN_PMM_ANALYSIS(s, quiet); });
}

}  // namespace

BENCHMARK(BM_PmCurve0)->Args({0, 1})->Args({1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PmCurve30)->Args({0, 1})->Args({1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MmCurve)->Args({0, 1})->Args({1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PmmSurface)->Args({0, 1})->Args({0, 2})->Args({1, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check10000)
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_PmmSurface50k)
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
