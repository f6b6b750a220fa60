// What the design strength of ACI 318-19 costs beside the nominal strength: the P-M curve (phi
// read from each point's own state) and the Myy-Mzz curve at a design axial force (a bracketed
// search on phi per point), on the rectangular column example under the code's laws and limits.
#include <benchmark/benchmark.h>

#include <string>

#include "analysis/design_strength.h"
#include "analysis/interaction_curves.h"
#include "mesh/mesh_command.h"
#include "model/code_convert.h"
#include "model/code_grades.h"
#include "model/section_file.h"
#include "model/section_model.h"

using namespace qav;

namespace {

// The example under ACI 318-19 (FC40, GR420), or under its own code for the nominal runs.
SectionModel column(bool aci) {
    SectionModel m;
    openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/rectangular_column.sec");
    if (aci) {
        convertSectionCode(m, CodeId::Aci318, {"FC40", "FC40_Cover", "GR420", ""});
        m.settings.STRAIN_LIMIT = StrainLimit::Code;
    }
    NullMessages msgs;
    FIBER_SECTION_MESH(m, msgs);
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    return m;
}

void BM_PmCurve(benchmark::State& state) {
    const SectionModel m = column(state.range(0) != 0);
    NullMessages msgs;
    long long solves = 0;
    for (auto _ : state) solves = pmCurveAnalysis(m, 30, msgs).curve.stats.solves;
    state.counters["solves"] = static_cast<double>(solves);
}
BENCHMARK(BM_PmCurve)->ArgName("aci")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// At 30 % of the design cap phi Pn,max of the ACI section, both ways.
void BM_MmCurve(benchmark::State& state) {
    const SectionModel m = column(state.range(0) != 0);
    const double P = 0.3 * designStrength(column(true)).cap;
    NullMessages msgs;
    long long solves = 0;
    for (auto _ : state) solves = mmCurveAnalysis(m, P, msgs).stats.solves;
    state.counters["solves"] = static_cast<double>(solves);
}
BENCHMARK(BM_MmCurve)->ArgName("aci")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
