// The section sync runs before and after every command and on every repaint the window asks
// for: its fingerprints must stay cheap next to a repaint, even for the largest bar counts.
#include <benchmark/benchmark.h>

#include "mesh/mesh_command.h"
#include "mesh/section_sync.h"
#include "model/section_state.h"

namespace {
using namespace qav;

SectionModel barField(int bars) {
    SectionModel m;
    m.document.CONC_PT = {
        {-5000, -5000}, {5000, -5000}, {5000, 5000}, {-5000, 5000}, {-5000, -5000}};
    m.document.NCONC_PT = 4;
    for (int i = 0; i < bars; ++i)
        ADD_SINGLE_REBAR(m, -4900 + (i % 300) * 32.0, -4900 + (i / 300) * 32.0, 20);
    return m;
}

void BM_Fingerprints(benchmark::State& state) {
    const SectionModel m = barField(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(geometryFingerprint(m));
        benchmark::DoNotOptimize(materialFingerprint(m));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Fingerprints)->Arg(100)->Arg(10000)->Arg(100000);

// A sync that finds the mesh current: what every repaint of a meshed section costs.
void BM_SyncOfACurrentMesh(benchmark::State& state) {
    SectionModel m = barField(static_cast<int>(state.range(0)));
    m.document.MESH_SIZE_TEXT = "500";
    NullMessages none;
    FIBER_SECTION_MESH(m, none);
    SYNC_SECTION_STATE(m);
    for (auto _ : state) benchmark::DoNotOptimize(SYNC_SECTION_STATE(m).changed());
}
BENCHMARK(BM_SyncOfACurrentMesh)->Arg(100)->Arg(10000);
}  // namespace

BENCHMARK_MAIN();
