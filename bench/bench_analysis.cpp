// Speed of the section analysis on a column meshed finer and finer: one solve, a P-M curve
// (NPM 30), a Myy-Mzz curve (NMM 24), the PMM surface, a 10,000-combination check and the key
// points of a P-M curve at an angle.
// Counters: iterations per solve and fibre evaluations per second.
#include <benchmark/benchmark.h>

#include <cmath>

#include "analysis/interaction_curves.h"
#include "analysis/key_points.h"
#include "analysis/load_combinations.h"
#include "analysis/pmm_surface.h"
#include "analysis/section_solver.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "model/section_model.h"
#include "model/section_properties.h"
#include "sample_combinations.h"

using namespace qav;

namespace {

// The 800 x 1000 column (cover line at 35, 12 bars of 25, C30) meshed finer and finer: about
// 1,000, 10,000 and 50,000 fibres (40 mm gives 1,094, 12.6 mm 9,988 and 5.65 mm 50,570).
SectionModel column(int fibres) {
    SectionModel m;
    const double b = 800, h = 1000, d = 35;
    m.document.CONC_PT = {
        {-b / 2, -h / 2}, {b / 2, -h / 2}, {b / 2, h / 2}, {-b / 2, h / 2}, {-b / 2, -h / 2}};
    m.document.NCONC_PT = 4;
    const double cx = b / 2 - d, cy = h / 2 - d;
    m.document.COVER_PT = {{-cx, -cy}, {cx, -cy}, {cx, cy}, {-cx, cy}, {-cx, -cy}};
    m.document.NCOVER_PT = 4;
    m.document.BAR.assign(1, TBAR{});
    for (double x : {-cx, -cx / 3, cx / 3, cx})
        for (double y : {-cy, cy}) m.document.BAR.push_back({x, y, 25, 0, 0});
    for (double x : {-cx, cx})
        for (double y : {-cy / 3, cy / 3}) m.document.BAR.push_back({x, y, 25, 0, 0});
    m.document.NBAR = static_cast<int>(m.document.BAR.size()) - 1;
    m.document.USE_CONC = 2;
    m.document.USE_COVER = 2;
    CALC_POLY_CENTER_POINT(m);
    m.document.MESH_SIZE_TEXT = fibres <= 1000 ? "40" : fibres <= 10000 ? "12.6" : "5.65";
    NullMessages msgs;
    FIBER_SECTION_MESH(m, msgs);
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    return m;
}

void report(benchmark::State& state, const RunStats& s) {
    state.counters["solves"] = static_cast<double>(s.solves);
    state.counters["iter/solve"] = s.solves ? static_cast<double>(s.iterations) / s.solves : 0;
    state.counters["not_conv"] = static_cast<double>(s.notConverged);
    state.counters["fibre_evals/s"] =
        benchmark::Counter(static_cast<double>(s.fibreEvaluations), benchmark::Counter::kIsRate);
}

void BM_Solve(benchmark::State& state) {
    SectionModel m = column(static_cast<int>(state.range(0)));
    NullMessages msgs;
    SectionSolver solver(m, msgs);
    RunStats s;
    for (auto _ : state) {
        const SolveResult r = solver.loadFraction(3000, 300, 500, 0, 0, 0, 1);
        s.add(r, solver.fibreCount());
        benchmark::DoNotOptimize(r.loadFraction);
    }
    report(state, s);
    state.counters["fibres"] = m.mesh.NFIB;
}

// Runs `run` on the model once per benchmark iteration and reports the summed counts.
template <class Run>
void runAll(benchmark::State& state, SectionModel& m, Run run) {
    RunStats s;
    for (auto _ : state) s.add(run(m));
    report(state, s);
}

NullMessages quiet;

void BM_PmCurve(benchmark::State& state) {
    SectionModel m = column(static_cast<int>(state.range(0)));
    m.settings.NPM = 30;
    runAll(state, m, [](SectionModel& s) { return RUN_PM_CURVE_ANALYSIS(s, 30, quiet); });
}

void BM_MmCurve(benchmark::State& state) {
    SectionModel m = column(static_cast<int>(state.range(0)));
    m.settings.NMM = 24;
    runAll(state, m, [](SectionModel& s) { return RUN_MM_CURVE_ANALYSIS(s, 3000, quiet); });
}

void BM_PmmSurface(benchmark::State& state) {
    SectionModel m = column(static_cast<int>(state.range(0)));
    m.settings.NPM = 30;
    runAll(state, m, [](SectionModel& s) { return RUN_PMM_ANALYSIS(s, quiet); });
}

void BM_Check10000(benchmark::State& state) {
    SectionModel m = column(static_cast<int>(state.range(0)));
    qav::bench::importSampleCombinations(m, 10000);
    NullProgress progress;
    runAll(state, m, [&](SectionModel& s) {
        return CHECK_MEMBER(s, 1000, 1000, 1000, quiet, progress).stats;
    });
}

// At 37 degrees the decompression, balanced and pure-bending planes are turned to the angle,
// each turn a search of fibre sums (pure bending a search within each).
void BM_KeyPoints(benchmark::State& state) {
    SectionModel m = column(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(PM_KEY_POINTS(m, 37, quiet).size());
    state.counters["fibres"] = m.mesh.NFIB;
}

}  // namespace

BENCHMARK(BM_Solve)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PmCurve)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MmCurve)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PmmSurface)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_Check10000)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK(BM_KeyPoints)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
