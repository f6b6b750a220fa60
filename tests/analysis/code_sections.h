#pragma once
// Example sections put under EN 1992-1-1 or ACI 318-19 for the tests: the code's grade tables
// in the document (with each concrete grade's parabola exponent and block factor), grades
// chosen by name, the strain limit set, then meshed.
#include <string>

#include "analysis/code_laws.h"
#include "example_sections.h"
#include "model/code_grades.h"

namespace qav::test {

struct CodeChoice {
    CodeId code = CodeId::Ec2;
    std::string concrete = "C30/37", rebar = "B500B", steel = "S355";
    StrainLimit limit = StrainLimit::Code;
};

inline CodeChoice ec2Choice(StrainLimit limit = StrainLimit::Code) {
    return {CodeId::Ec2, "C30/37", "B500B", "S355", limit};
}
inline CodeChoice aciChoice(StrainLimit limit = StrainLimit::Code) {
    return {CodeId::Aci318, "FC40", "GR420", "A992", limit};
}

// The 0-based list index of the grade named name (the first grade when there is none).
inline int32_t gradeIndex(const std::vector<TMAT>& t, const std::string& name) {
    for (std::size_t i = 1; i < t.size(); ++i)
        if (t[i].NAME == name) return static_cast<int32_t>(i) - 1;
    return 0;
}

inline CodeChoice hkChoice() {
    return {CodeId::HkCop2013, "", "", "", StrainLimit::Code};
}

// The program's own codes keep the file's grades; only the strain limit is set.
inline void putUnderCode(SectionModel& m, const CodeChoice& c) {
    m.settings.STRAIN_LIMIT = c.limit;
    if (!codeHasOwnTables(c.code)) return;
    CodeGradeTables t = codeGradeTables(c.code);
    for (std::size_t i = 1; i < t.law.size(); ++i)
        for (TMAT* g : {&t.concrete[i], &t.cover[i]}) {
            g->N_EXP = t.law[i].n;
            g->BETA1 = t.law[i].beta1;
        }
    SectionDocument& d = m.document;
    d.CODE = c.code;
    d.CONC_MAT = t.concrete;
    d.COVER_MAT = t.cover;
    d.STEEL_MAT = t.steel;
    d.NCONCMAT = static_cast<int32_t>(t.concrete.size()) - 1;
    d.NCOVERMAT = static_cast<int32_t>(t.cover.size()) - 1;
    d.NSTEELMAT = static_cast<int32_t>(t.steel.size()) - 1;
    d.USE_CONC = gradeIndex(t.concrete, c.concrete);
    d.USE_COVER = gradeIndex(t.cover, c.concrete + "_Cover");
    d.USE_REBAR = gradeIndex(t.steel, c.rebar);
    d.USE_STEEL = gradeIndex(t.steel, c.steel);
    m.settings.STRAIN_LIMIT = c.limit;
}

inline SectionModel codeExample(const std::string& name, const CodeChoice& c,
                                const ExampleSettings& s = {}) {
    SectionModel m;
    openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/" + name + ".sec");
    putUnderCode(m, c);
    if (!s.meshSize.empty()) m.document.MESH_SIZE_TEXT = s.meshSize;
    if (s.npm > 0) m.settings.NPM = s.npm;
    if (s.nmm > 0) m.settings.NMM = s.nmm;
    if (s.threads >= 0) m.settings.THREADS = s.threads;
    m.settings.SOLVER = s.solver;
    NullMessages msgs;
    FIBER_SECTION_MESH(m, msgs);
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    return m;
}

}  // namespace qav::test
