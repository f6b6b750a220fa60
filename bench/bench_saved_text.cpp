// The unsaved-changes check: the section file text is made and compared after every command, so
// its cost on a large section bounds what a command's end costs the user.
#include <benchmark/benchmark.h>

#include "model/saved_text.h"
#include "model/section_properties.h"

using namespace qav;

namespace {
SectionModel barsSection(int bars) {
    SectionModel m;
    m.document.NCONC_PT = 4;
    m.document.CONC_PT = {
        {-2000, -2000}, {2000, -2000}, {2000, 2000}, {-2000, 2000}, {-2000, -2000}};
    for (int i = 0; i < bars; ++i)
        ADD_SINGLE_REBAR(m, -1900 + (i % 100) * 38, -1900 + (i / 100) * 38, 20);
    return m;
}
}  // namespace

static void BM_SavedTextDiffers(benchmark::State& state) {
    const SectionModel m = barsSection(static_cast<int>(state.range(0)));
    SavedText saved;
    saved.markSaved(m);
    for (auto _ : state) benchmark::DoNotOptimize(saved.differs(m));
}
BENCHMARK(BM_SavedTextDiffers)->Arg(12)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
