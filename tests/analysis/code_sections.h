#pragma once
// Example sections put under EN 1992-1-1 or ACI 318-19 for the tests: the code's grade tables
// in the document (with each concrete grade's parabola exponent and block factor), grades
// chosen by name, the strain limit set, then meshed.
#include <stdexcept>
#include <string>

#include "analysis/code_laws.h"
#include "example_sections.h"
#include "model/code_convert.h"
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

inline CodeChoice hkChoice() {
    return {CodeId::HkCop2013, "", "", "", StrainLimit::Code};
}

// The program's own codes keep the file's grades; only the strain limit is set. The others take
// the program's own conversion with the grades named.
inline void putUnderCode(SectionModel& m, const CodeChoice& c) {
    m.settings.STRAIN_LIMIT = c.limit;
    if (!codeHasOwnTables(c.code)) return;
    const CodeConversion r =
        convertSectionCode(m, c.code, {c.concrete, c.concrete + "_Cover", c.rebar, c.steel});
    if (!r.ok) throw std::runtime_error(r.error);
}

inline SectionModel codeExample(const std::string& name, const CodeChoice& c,
                                const ExampleSettings& s = {}) {
    SectionModel m = openedExample(name);
    putUnderCode(m, c);
    meshWith(m, s);
    return m;
}

}  // namespace qav::test
