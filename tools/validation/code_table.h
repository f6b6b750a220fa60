#pragma once
// The validation rows under the design codes: the rectangle, the circle and the encased
// I-section under HK-COP 2013 (with its code limits), EN 1992-1-1 and ACI 318-19, each with P-M
// points at two angles, the moment at zero axial force, the pure compression and tension ends
// and the load fractions of ten combinations, the program's value beside the code reference's.
// Under ACI 318-19 the values are design strengths (phi and the axial cap applied).
#include <string>

#include "model/section_model.h"
#include "validation_table.h"

namespace qav::validation {

int codeTableCount();
// The section of table `index`, converted to its code with the grades the page names, meshed,
// its analyses under the code's ultimate limit.
SectionModel buildCodeSection(int index, SectionTable& t);
// The program's values of a code table (no reference yet).
SectionTable codeProgramValues(int index);
// Adds the code reference's values to every row.
void addCodeReference(SectionTable& t, const SectionModel& m);

}  // namespace qav::validation
