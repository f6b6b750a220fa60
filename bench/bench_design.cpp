// What the design strength of ACI 318-19 costs beside the nominal strength: the P-M curve (phi
// read from each point's own state) and the Myy-Mzz curve at a design axial force (a bracketed
// search on phi per point), on the rectangular column example under the code's laws and limits.
#include <benchmark/benchmark.h>

#include <string>

#include "analysis/design_strength.h"
#include "analysis/interaction_curves.h"
#include "mesh/mesh_command.h"
#include "model/code_grades.h"
#include "model/section_file.h"
#include "model/section_model.h"

using namespace qav;

namespace {

int32_t gradeIndex(const std::vector<TMAT>& t, const std::string& name) {
    for (std::size_t i = 1; i < t.size(); ++i)
        if (t[i].NAME == name) return static_cast<int32_t>(i) - 1;
    return 0;
}

// The example under ACI 318-19 (FC40, GR420), or under its own code for the nominal runs.
SectionModel column(bool aci) {
    SectionModel m;
    openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/rectangular_column.sec");
    if (aci) {
        CodeGradeTables t = codeGradeTables(CodeId::Aci318);
        for (std::size_t i = 1; i < t.law.size(); ++i)
            for (TMAT* g : {&t.concrete[i], &t.cover[i]}) g->BETA1 = t.law[i].beta1;
        SectionDocument& d = m.document;
        d.CODE = CodeId::Aci318;
        d.CONC_MAT = t.concrete;
        d.COVER_MAT = t.cover;
        d.STEEL_MAT = t.steel;
        d.NCONCMAT = static_cast<int32_t>(t.concrete.size()) - 1;
        d.NCOVERMAT = static_cast<int32_t>(t.cover.size()) - 1;
        d.NSTEELMAT = static_cast<int32_t>(t.steel.size()) - 1;
        d.USE_CONC = gradeIndex(t.concrete, "FC40");
        d.USE_COVER = gradeIndex(t.cover, "FC40_Cover");
        d.USE_REBAR = gradeIndex(t.steel, "GR420");
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
