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

inline SectionModel meshedExample(const std::string& name, SolverKind solver) {
    SectionModel m;
    openSectionFile(m, std::string(QAVSEC_SOURCE_DIR) + "/examples/" + name + ".sec");
    NullMessages msgs;
    FIBER_SECTION_MESH(m, msgs);
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    m.settings.SOLVER = solver;
    return m;
}

}  // namespace qav::test
