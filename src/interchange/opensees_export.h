#pragma once
// The meshed section as a fibre-section command in Tcl: one "fiber" line per fibre with its
// coordinates (relative to the section centre), its area and a material variable by kind.
// The model that sources the text defines the materials with tags 1 to 4.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

// The lines "Generate" appends: six heading lines, one line per fibre 1..NFIB, then "}".
std::vector<std::string> GEN_OPENSEES_TCL(const SectionModel& m);

}  // namespace qav
