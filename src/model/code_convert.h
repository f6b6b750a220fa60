#pragma once
// Puts a section document under another design code: its grade tables, the selected grades and
// the code, so that one section can be checked (and compared) under each code.
#include <string>
#include <vector>

#include "model/design_code.h"
#include "model/section_model.h"

namespace qav {

// Grades to select by name after a conversion; an empty name takes the grade of the same name,
// else the strongest grade of the new tables not above the one selected now (a conversion never
// makes a section stronger). An empty cover name follows the concrete grade where the cover
// had the concrete's grade or the concrete is named.
struct GradeNames {
    std::string concrete, cover, rebar, steel;
};

struct CodeConversion {
    bool ok = true;
    std::string error;                  // why the conversion was refused (ok false)
    std::vector<std::string> messages;  // the grade chosen for each kind, and why
};

// Puts the document under `code`: its grade tables (a code's own from codeGradeTables(code,
// m.document.ALPHA_CC), or the program's own GEN_MAT tables for HK-COP-2013 / BS-8110), the
// selected grades as GradeNames says (each choice said in `messages`), CODE, and N_EXP/BETA1 of
// every concrete grade. Converting to HK-COP-2013 or BS-8110 also sets the general setting's
// DESIGN_CODE, which labels such documents; a document already on the program's own tables keeps
// them (and any edited values). Refuses (ok false, model untouched) a name the new tables do not
// hold, and a grade the new tables hold none at or below (naming the nearest). The mesh is not
// touched here: the section's sync (mesh/section_sync.h) refreshes the fibres' grades as after any
// grade change.
CodeConversion convertSectionCode(SectionModel& m, CodeId code, const GradeNames& names = {});

// Sets N_EXP and BETA1 of every concrete and cover grade from the document's CODE and each
// grade's strength: the parabola's exponent of EN 1992-1-1, the block factor of ACI 318-19, and
// today's parabola (2, no block) under the program's own tables. Under a code's own tables FCU
// (which the section file does not hold) comes first: the code's grade of the same name, else
// the strength the grade's FC stands for. Readers call it after loading the tables.
void deriveCodeLawFields(SectionDocument& d);

// A section file holds each grade value to five decimals (model/section_file.h). A grade of the
// name of one of its code's grades (a code's own tables, or the program's own for HK-COP-2013
// and BS-8110) whose value reads as that grade's value so written takes the grade's value to the
// last bit again: a section read back analyses exactly as the section that was written, files
// written before included. A value that differs (an edited grade) stays as the file says.
// Readers call it after loading the tables.
void restoreCodeGradeValues(SectionDocument& d);

// EN 1992-1-1's alpha_cc: 1.0 recommended, down to 0.8 allowed.
bool acceptedAlphaCC(double alphaCC);

// The ranges of slots of the steel table that hold reinforcement and structural steel: a
// code's own table lists its bars first; of the program's own, the five reinforcement grades
// serve both and the structural steels (S275, S355) only steel shapes.
struct SteelRanges {
    int rebarFirst = 1, rebarLast = 0, steelFirst = 1, steelLast = 0;
};
SteelRanges steelRanges(CodeId code, int count);

}  // namespace qav
