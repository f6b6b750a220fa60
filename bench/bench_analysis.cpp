// Speed of the section analysis on a column gridded finer and finer: one solve, a P-M curve
// (NPM 30), a Myy-Mzz curve (NMM 24), the PMM surface and a 10,000-combination check.
// Counters: iterations per solve and fibre evaluations per second.
#include <benchmark/benchmark.h>

#include <cmath>

#include "analysis/interaction_curves.h"
#include "analysis/load_combinations.h"
#include "analysis/pmm_surface.h"
#include "analysis/section_solver.h"
#include "model/section_model.h"

using namespace qav;

namespace {

// 800 x 1000 column, C30 concrete in square fibres, 12 bars of 25; about `fibres` fibres.
SectionModel column(int fibres) {
    const double b = 800, h = 1000;
    const int nx = static_cast<int>(std::lround(std::sqrt(fibres * b / h)));
    const int ny = static_cast<int>(std::lround(static_cast<double>(fibres) / nx));
    SectionModel m;
    m.FIB.assign(1, TFIB{});
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            TFIB f;
            f.X = -b / 2 + (i + 0.5) * b / nx;
            f.Y = -h / 2 + (j + 0.5) * h / ny;
            f.AREA = b / nx * h / ny;
            f.TY = FIB_CORE_CONCRETE;
            f.E = 21997;
            f.FC = 13.4;
            f.EPS_0 = 0.001218;
            m.FIB.push_back(f);
        }
    const double bx[] = {-365, -121.67, 121.67, 365};
    const double by[] = {-465, -155, 155, 465};
    for (double x : bx)
        for (double y : by) {
            if (std::fabs(x) < 300 && std::fabs(y) < 400) continue;  // bars on the perimeter only
            TFIB f;
            f.X = x;
            f.Y = y;
            f.DB = 25;
            f.AREA = 3.14 * 25 * 25 / 4;
            f.TY = FIB_REBAR;
            f.E = 205000;
            f.FY1 = 435;
            m.FIB.push_back(f);
        }
    m.NFIB = static_cast<int>(m.FIB.size()) - 1;
    m.CFIB = {TCFIB{}, {-b / 2, -h / 2, 0}, {b / 2, -h / 2, 0}, {b / 2, h / 2, 0}, {-b / 2, h / 2, 0}};
    m.NCFIB = 4;
    m.NCONC_PT = 4;
    m.STRAIN_LIMIT_MODE = 1;
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
    state.counters["fibres"] = m.NFIB;
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
    m.NPM = 30;
    runAll(state, m, [](SectionModel& s) { return RUN_PM_CURVE_ANALYSIS(s, 30, quiet); });
}

void BM_MmCurve(benchmark::State& state) {
    SectionModel m = column(static_cast<int>(state.range(0)));
    m.NMM = 24;
    runAll(state, m, [](SectionModel& s) { return RUN_MM_CURVE_ANALYSIS(s, 3000, quiet); });
}

void BM_PmmSurface(benchmark::State& state) {
    SectionModel m = column(static_cast<int>(state.range(0)));
    m.NPM = 30;
    runAll(state, m, [](SectionModel& s) { return RUN_PMM_ANALYSIS(s, quiet); });
}

void BM_Check10000(benchmark::State& state) {
    SectionModel m = column(static_cast<int>(state.range(0)));
    // The 42 sample rows over and over, each combination a little different.
    std::vector<std::string> lines{"no.,Load,P,M2,M3"};
    const auto& sample = SAMPLE_FORCE_CSV();
    for (int i = 0; i < 10000; ++i) lines.push_back(sample[1 + static_cast<std::size_t>(i % 42)]);
    IMPORT_FORCE_CSV(m, lines, ForceUnits::N_mm);
    for (int i = 1; i <= m.NFORCE; ++i) m.FORCE[static_cast<std::size_t>(i)].P *= 1 + i * 1e-5;
    NullProgress progress;
    runAll(state, m, [&](SectionModel& s) { return CHECK_MEMBER(s, 1000, 1000, 1000, quiet, progress).stats; });
}

}  // namespace

BENCHMARK(BM_Solve)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PmCurve)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MmCurve)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PmmSurface)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Check10000)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
