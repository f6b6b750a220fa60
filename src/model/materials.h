#pragma once
// Default material tables and the edits of the "Concrete and Steel Material" dialog.
#include <string>

#include "model/section_model.h"

namespace qav {

// Builds the 17 concrete, 17 cover and 5 steel grades and sets their counts.
void GEN_MAT(SectionModel& m);

// Which table the material dialog shows (its "Material Type" list index).
enum class MaterialTable { CoreConcrete = 0, Steel = 1, CoverConcrete = 2 };

// The four value boxes of the material dialog for grade n (1-based) of a table.
struct MaterialBoxes {
    std::string Edit1;  // name (read-only)
    std::string Edit2;
    std::string Edit3;
    std::string Edit4;
    std::string Edit5;
};

TMAT& materialOf(SectionModel& m, MaterialTable table, int grade);
MaterialBoxes materialBoxes(const SectionModel& m, MaterialTable table, int grade);
// "Modify": stores the box texts into the grade in the dialog's order. A value out of range
// (EC, FC, EPS_0, ES, FY not greater than 0, RF above 1, anything not finite) throws InputError
// naming the box by its caption and changes nothing; a text that is not a
// number throws ConversionError and the fields stored before it keep their new values.
// Returns the new text of Edit4 (FY x RF as "%0.3F" for steel; unchanged for concrete).
std::string modifyMaterial(SectionModel& m, MaterialTable table, int grade, const MaterialBoxes& boxes);

}  // namespace qav
