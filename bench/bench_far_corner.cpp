// Meshing a 1000 x 1000 column whose cover line has one corner moved far out, to (d, d) for
// d = 1e4, 1e5, 1e6 and 4e6 mm. The readers refuse coordinates beyond 1e6 mm, so the last one
// is built in memory: it shows that the node buckets and the triangulator's circle filing keep
// their cells fine-grained whatever the extent (the time grows with the nodes along the long
// cover edge, not with their square).
#include <benchmark/benchmark.h>

#include "mesh/mesh_command.h"
#include "model/section_properties.h"

namespace {
using namespace qav;

SectionModel farCorner(double d) {
    const double B = 1000, H = 1000, c = 35;
    SectionModel m;
    m.document.NCONC_PT = 4;
    m.document.CONC_PT = {
        {-B / 2, -H / 2}, {B / 2, -H / 2}, {B / 2, H / 2}, {-B / 2, H / 2}, {-B / 2, -H / 2}};
    m.document.NCOVER_PT = 4;
    m.document.COVER_PT = {{-B / 2 + c, -H / 2 + c},
                           {B / 2 - c, -H / 2 + c},
                           {d, d},
                           {-B / 2 + c, H / 2 - c},
                           {-B / 2 + c, -H / 2 + c}};
    for (double x : {-400.0, 400.0})
        for (double y : {-400.0, 400.0}) ADD_SINGLE_REBAR(m, x, y, 25);
    CALC_POLY_CENTER_POINT(m);
    CALC_POLY_ZONE(m);
    m.document.MESH_SIZE_TEXT = "100";
    return m;
}

void BM_FarCoverCorner(benchmark::State& state) {
    const double d = static_cast<double>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        SectionModel m = farCorner(d);
        NullMessages none;
        state.ResumeTiming();
        try {
            FIBER_SECTION_MESH(m, none);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
        state.counters["nodes"] = m.mesh.NMESH_NODE;
        state.counters["triangles"] = m.mesh.NSHELL;
    }
}
}  // namespace

BENCHMARK(BM_FarCoverCorner)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(4000000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
