#pragma once
// What the solver benchmarks report beside their times: the section's fibres, the solves of one
// run, the fibre passes per solve and the solves that did not converge.
#include <benchmark/benchmark.h>

#include "analysis/section_solver.h"
#include "model/section_model.h"

namespace qav::bench {

inline void reportSolves(benchmark::State& state, const SectionModel& m, const RunStats& s) {
    state.counters["fibres"] = m.mesh.NFIB;
    state.counters["solves"] = static_cast<double>(s.solves);
    state.counters["passes/solve"] =
        s.solves ? static_cast<double>(s.iterations) / static_cast<double>(s.solves) : 0;
    state.counters["not_conv"] = static_cast<double>(s.notConverged);
}

}  // namespace qav::bench
