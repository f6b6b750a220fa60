#pragma once
// The section files under examples/, opened and meshed as the command line does, for the tests
// that run every analysis on every example.
#include <string>

#include "analysis/section_solver.h"
#include "mesh/mesh_command.h"
#include "model/section_file.h"

namespace qav::test {

inline const char* const EXAMPLES[] = {"cft_rectangular_column", "circular_column",
                                       "column_with_opening",    "rectangular_column",
                                       "src_column_cross",       "steel_i_section"};

// What a test sets before the example is meshed (unset: the file's and the program's values).
struct ExampleSettings {
    std::string meshSize;
    int npm = 0, nmm = 0, threads = -1;
    SolverKind solver = SolverKind::Fast;
};

inline SectionModel openedExample(const std::string& name) {
    SectionModel m;
    openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/" + name + ".sec");
    return m;
}

// Applies the settings and meshes the section, with its strain limit mode as a run takes it.
inline void meshWith(SectionModel& m, const ExampleSettings& s) {
    if (!s.meshSize.empty()) m.document.MESH_SIZE_TEXT = s.meshSize;
    if (s.npm > 0) m.settings.NPM = s.npm;
    if (s.nmm > 0) m.settings.NMM = s.nmm;
    if (s.threads >= 0) m.settings.THREADS = s.threads;
    m.settings.SOLVER = s.solver;
    NullMessages msgs;
    FIBER_SECTION_MESH(m, msgs);
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
}

inline SectionModel meshedExample(const std::string& name, const ExampleSettings& s = {}) {
    SectionModel m = openedExample(name);
    meshWith(m, s);
    return m;
}

inline SectionModel meshedExample(const std::string& name, SolverKind solver) {
    return meshedExample(name, ExampleSettings{.solver = solver});
}

}  // namespace qav::test
