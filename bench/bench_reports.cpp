// Speed of the documents that run several curves: the text report (P-M at 0, 90 and 30
// degrees, Myy-Mzz at 2000 kN) and every table of the workbook, on the 800 x 1000 example
// meshed at 20 mm (3,990 fibres) and at 10 mm, on one and on two threads.
#include <benchmark/benchmark.h>

#include "mesh/mesh_command.h"
#include "model/section_file.h"
#include "reports/export_tables.h"
#include "reports/printed_pages.h"

using namespace qav;

namespace {

SectionModel example(const char* meshSize, int threads) {
    SectionModel m;
    openSectionFile(m, QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec");
    m.document.MESH_SIZE_TEXT = meshSize;
    m.settings.NPM = 30;
    m.settings.NMM = 24;
    m.settings.THREADS = threads;
    NullMessages quiet;
    FIBER_SECTION_MESH(m, quiet);
    return m;
}

const char* meshOf(int64_t arg) {
    return arg == 20 ? "20" : "10";
}

void BM_TextReport(benchmark::State& state) {
    SectionModel m = example(meshOf(state.range(0)), static_cast<int>(state.range(1)));
    const ReportInputs in{{}, [] { return 30.0; }, [] { return 2000.0; }};
    NullMessages quiet;
    NullProgress progress;
    for (auto _ : state) {
        RecordedDocument doc;
        printTextReport(doc, m, in, quiet, progress);
        benchmark::DoNotOptimize(doc.pageCount());
    }
    state.counters["fibres"] = m.mesh.NFIB;
}

void BM_AllTables(benchmark::State& state) {
    SectionModel m = example(meshOf(state.range(0)), static_cast<int>(state.range(1)));
    NullMessages quiet;
    for (auto _ : state) benchmark::DoNotOptimize(makeAllTables(m, "30", "2000", quiet).size());
    state.counters["fibres"] = m.mesh.NFIB;
}

}  // namespace

// Arguments: mesh size (mm), threads.
BENCHMARK(BM_TextReport)
    ->ArgsProduct({{20, 10}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_AllTables)
    ->ArgsProduct({{20, 10}, {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
