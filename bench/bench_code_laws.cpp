// What the code laws cost per fibre beside the program's parabola: the parabola-rectangle with
// an exponent of 2 and of 1.75 (stress and tangent), and the stress block integrated exactly
// over a triangle fibre, with and without its derivative. 10,000 fibres per iteration, strains
// spread over tension, the parabola and the plateau; the block's edge crosses a part of them.
// Then what they cost in a whole P-M curve under each code.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "../tests/analysis/code_sections.h"
#include "analysis/code_laws.h"
#include "analysis/interaction_curves.h"
#include "analysis/material_laws.h"
#include "analysis/triangle_integral.h"
#include "solve_counters.h"

using namespace qav;

namespace {

constexpr int FIBRES = 10000;

std::vector<double> strains() {
    std::vector<double> e(FIBRES);
    for (int i = 0; i < FIBRES; ++i) e[static_cast<std::size_t>(i)] = -0.002 + 0.0055 * i / FIBRES;
    return e;
}

// A 100 x 100 grid of right triangles over 1000 x 1000 mm, the block edge across it.
std::vector<std::array<Point2, 3>> triangles() {
    std::vector<std::array<Point2, 3>> t;
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 50; ++j) {
            const double x = 10.0 * i, y = 20.0 * j;
            t.push_back({Point2{x, y}, Point2{x + 10, y}, Point2{x, y + 20}});
            t.push_back({Point2{x + 10, y}, Point2{x + 10, y + 20}, Point2{x, y + 20}});
        }
    return t;
}

void BM_ProgramParabola(benchmark::State& state) {
    const std::vector<double> e = strains();
    for (auto _ : state) {
        double sum = 0;
        for (const double v : e) {
            double s = 0;
            CONCRETE01(20.0, 0.002, v, s);
            sum += s;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * FIBRES);
}
BENCHMARK(BM_ProgramParabola);

void BM_ParabolaRectangle(benchmark::State& state) {
    const std::vector<double> e = strains();
    const double n = state.range(0) / 100.0;
    for (auto _ : state) {
        double sum = 0;
        for (const double v : e) {
            const LawPoint p = parabolaRectangle(36.7, 0.0022, n, v);
            sum += p.stress + p.tangent;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * FIBRES);
}
BENCHMARK(BM_ParabolaRectangle)->Arg(200)->Arg(175);

void BM_BlockOnTriangle(benchmark::State& state) {
    const auto t = triangles();
    const std::array<double, 3> plane{0, 0, 3e-6};  // 0.003 at the top, the edge at y = 200
    const bool derivative = state.range(0) != 0;
    std::array<std::array<double, 3>, 3> d{};
    for (auto _ : state) {
        double sum = 0;
        for (const auto& tri : t)
            sum += blockForceOnTriangle(tri, plane, 0.003, 0.8, 35, derivative ? &d : nullptr).N;
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(d);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(t.size()));
}
BENCHMARK(BM_BlockOnTriangle)->Arg(0)->Arg(1);

// The parabola (C30/37-like, n = 2; C70/85-like, n = 1.44) integrated exactly over 10,000
// triangles: arg 1 the grid above, a breakpoint cutting a few of them as in an analysis; arg 0
// one row of 10 x 20 mm triangles along the line of zero strain, every one of them cut.
void BM_ExactTriangles(benchmark::State& state) {
    const bool everyCut = state.range(0) == 0;
    std::vector<std::array<Point2, 3>> grid = triangles();
    if (everyCut)
        for (std::size_t i = 0; i < grid.size(); ++i) {
            const double x = 10.0 * static_cast<double>(i - i % 2) / 2;
            grid[i] =
                i % 2 == 0
                    ? std::array<Point2, 3>{Point2{x, 0}, Point2{x + 10, 0}, Point2{x, 20}}
                    : std::array<Point2, 3>{Point2{x + 10, 0}, Point2{x + 10, 20}, Point2{x, 20}};
        }
    TriangleArrays t;
    t.resize(grid.size());
    for (std::size_t i = 0; i < grid.size(); ++i) {
        const double c[6] = {grid[i][0].x, grid[i][0].y, grid[i][1].x,
                             grid[i][1].y, grid[i][2].x, grid[i][2].y};
        t.set(i, c);
    }
    const bool integer = state.range(1) == 0;
    const TriangleLaw law{TriangleLaw::Kind::Concrete, 20, integer ? 0.002 : 0.0025,
                          integer ? 2.0 : 1.44, 0};
    // Zero strain at y = 10 (every cut), or at y = 167 with 0.0025 at y = 1000.
    const double plane[3] = {everyCut ? -0.001 : -0.0005, 0, everyCut ? 1e-4 : 3e-6};
    for (auto _ : state) {
        const TriangleIntegral r = integrateTriangles(t, 0, grid.size(), plane, law, true);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(grid.size()));
}
BENCHMARK(BM_ExactTriangles)->ArgsProduct({{0, 1}, {0, 1}});

// A whole P-M curve (NPM 30, 0 degrees) of the rectangular column example meshed at 25 mm
// (2,442 fibres) and 12.5 mm: as it stands (arg 0: HK-COP 2013, control strain), under
// EN 1992-1-1 (1: parabola-rectangle, pivot, bars displacing concrete) and under ACI 318-19
// (2: the block integrated over every triangle), both at the code's limit.
void BM_PmCurveUnderCode(benchmark::State& state) {
    const std::string mesh = state.range(1) == 0 ? "25" : "12.5";
    const test::ExampleSettings settings{.meshSize = mesh, .npm = 30};
    SectionModel m =
        state.range(0) == 0
            ? test::meshedExample("rectangular_column", settings)
            : test::codeExample("rectangular_column",
                                state.range(0) == 1 ? test::ec2Choice() : test::aciChoice(),
                                settings);
    NullMessages msgs;
    RunStats stats;
    for (auto _ : state) {
        const PmResult r = pmCurveAnalysis(m, 0, msgs);
        stats = r.curve.stats;
        benchmark::DoNotOptimize(r.curve.M.data());
    }
    qav::bench::reportSolves(state, m, stats);
}
BENCHMARK(BM_PmCurveUnderCode)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
