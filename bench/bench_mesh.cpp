// Meshing a 1000 x 1000 column with 12 bars of 25 at mesh sizes 100, 20, 10 and 5 mm: the
// mesh command against the plain reference mesher of the tests. Counters: mesh nodes,
// triangles, and the peak of heap memory in use during one run (MB above what was in use
// before it). Then a 600 x 600 column at fine sizes down to 0.43 mm (about 2 million nodes), and
// the example sections at 100, 37 and 20 mm.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "mesh/mesh_command.h"
#include "model/section_file.h"
#include "model/section_properties.h"
// The plain mesher lives with the tests; it is compiled into this program as it is.
#include "../tests/mesh/reference_mesh.cpp"

namespace {
std::atomic<long long> inUse{0}, peak{0};

void note(long long delta) {
    const long long now = inUse += delta;
    long long p = peak.load();
    while (now > p && !peak.compare_exchange_weak(p, now)) {
    }
}
}  // namespace

void* operator new(std::size_t n) {
    void* p = std::malloc(n + 16);
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = n;
    note(static_cast<long long>(n));
    return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    char* base = static_cast<char*>(p) - 16;
    note(-static_cast<long long>(*reinterpret_cast<std::size_t*>(base)));
    std::free(base);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {
using namespace qav;

SectionModel column(const std::string& meshSize) {
    const double B = 1000, H = 1000, d1 = 35, db = 25;
    SectionModel m;
    m.document.NCONC_PT = 8;
    m.document.CONC_PT = {{-B / 2, -H / 2}, {-B / 2, 0},    {-B / 2, H / 2},
                          {0, H / 2},       {B / 2, H / 2}, {B / 2, 0},
                          {B / 2, -H / 2},  {0, -H / 2},    {-B / 2, -H / 2}};
    m.document.NCOVER_PT = 8;
    m.document.COVER_PT = {
        {-B / 2 + d1, -H / 2 + d1}, {0, -H / 2 + d1}, {B / 2 - d1, -H / 2 + d1}, {B / 2 - d1, 0},
        {B / 2 - d1, H / 2 - d1},   {0, H / 2 - d1},  {-B / 2 + d1, H / 2 - d1}, {-B / 2 + d1, 0},
        {-B / 2 + d1, -H / 2 + d1}};
    for (int j = 1; j <= 2; ++j) {
        const double t = -B / 2 + d1 + j * (B - 2 * d1) / 3;
        ADD_SINGLE_REBAR(m, t, H / 2 - d1, db);
        ADD_SINGLE_REBAR(m, t, -H / 2 + d1, db);
        ADD_SINGLE_REBAR(m, -B / 2 + d1, t, db);
        ADD_SINGLE_REBAR(m, B / 2 - d1, t, db);
    }
    for (const TPOS& c : {TPOS{-1, -1}, TPOS{1, -1}, TPOS{1, 1}, TPOS{-1, 1}})
        ADD_SINGLE_REBAR(m, c.X * (B / 2 - d1), c.Y * (H / 2 - d1), db);
    CALC_POLY_CENTER_POINT(m);
    CALC_POLY_ZONE(m);
    m.document.MESH_SIZE_TEXT = meshSize;
    return m;
}

template <class Mesh>
void run(benchmark::State& state, Mesh&& mesh) {
    const std::string size = std::to_string(state.range(0));
    double peakMB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SectionModel m = column(size);
        NullMessages none;
        const long long before = inUse.load();
        peak.store(before);
        state.ResumeTiming();
        mesh(m, none);
        state.PauseTiming();
        peakMB = static_cast<double>(peak.load() - before) / (1024.0 * 1024.0);
        state.counters["nodes"] = m.mesh.NMESH_NODE;
        state.counters["triangles"] = m.mesh.NSHELL;
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMB;
}

void BM_MeshCommand(benchmark::State& state) {
    run(state, [](SectionModel& m, Messages& msg) { FIBER_SECTION_MESH(m, msg); });
}

// A 600 x 600 column with its cover line meshed at fine sizes (the argument in micrometres), as
// the window meshes it: with a progress to report to. Counter: seconds per million mesh nodes.
void BM_FineMesh(benchmark::State& state) {
    struct Quiet : Progress {
        void setPosition(int) override {}
    } progress;
    const std::string size = std::to_string(static_cast<double>(state.range(0)) / 1000);
    double seconds = 0, nodes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SectionModel m;
        m.document.NCONC_PT = 4;
        m.document.CONC_PT = {{-300, -300}, {300, -300}, {300, 300}, {-300, 300}, {-300, -300}};
        m.document.NCOVER_PT = 4;
        m.document.COVER_PT = {{-265, -265}, {265, -265}, {265, 265}, {-265, 265}, {-265, -265}};
        CALC_POLY_CENTER_POINT(m);
        CALC_POLY_ZONE(m);
        m.document.MESH_SIZE_TEXT = size;
        NullMessages none;
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        FIBER_SECTION_MESH(m, none, &progress);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        nodes += m.mesh.NMESH_NODE;
        state.counters["nodes"] = m.mesh.NMESH_NODE;
    }
    state.counters["s_per_M_nodes"] = nodes > 0 ? seconds / (nodes / 1e6) : 0;
}

// Every example section meshed once at the argument's mesh size (mm), as read from its file.
// Counter: triangles of all of them together.
void BM_MeshExamples(benchmark::State& state) {
    std::vector<SectionModel> sections;
    for (const char* name : {"cft_rectangular_column", "circular_column", "column_with_opening",
                             "rectangular_column", "src_column_cross", "steel_i_section"}) {
        SectionModel m;
        openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/" + name + ".sec");
        m.document.MESH_SIZE_TEXT = std::to_string(state.range(0));
        sections.push_back(m);
    }
    double triangles = 0;
    for (auto _ : state) {
        triangles = 0;
        for (const SectionModel& section : sections) {
            state.PauseTiming();
            SectionModel m = section;
            NullMessages none;
            state.ResumeTiming();
            FIBER_SECTION_MESH(m, none);
            triangles += m.mesh.NSHELL;
        }
    }
    state.counters["triangles"] = triangles;
}

void BM_PlainMesher(benchmark::State& state) {
    run(state, [](SectionModel& m, Messages& msg) {
        reference::meshSection(m, msg, {.fixedStores = true});
    });
}
}  // namespace

BENCHMARK(BM_MeshCommand)->Arg(100)->Arg(20)->Arg(10)->Arg(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeshExamples)->Arg(100)->Arg(37)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMesher)->Arg(100)->Arg(20)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainMesher)->Arg(5)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_FineMesh)
    ->Arg(2000)
    ->Arg(1000)
    ->Arg(600)
    ->Arg(430)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
