#pragma once
// Default material tables and the edits of the "Concrete and Steel Material" dialog.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

// Builds the 17 concrete, 17 cover and 7 steel grades and sets their counts: five
// reinforcement grades STEEL1 .. STEEL5 (which steel shapes may also take) and the structural
// steels S275 and S355.
constexpr int REBAR_GRADE_ITEMS = STEEL_GRADE_ITEMS;
constexpr int OWN_STEEL_GRADES = REBAR_GRADE_ITEMS + 2;
void GEN_MAT(SectionModel& m);

// The grade a section's selector index (0-based, as USE_CONC and the others hold it) picks from
// a table, null when the table has no such grade.
inline const TMAT* selectedGrade(const std::vector<TMAT>& table, int32_t count, int32_t index) {
    const int32_t grade = index + 1;
    if (grade < 1 || grade > count || grade >= static_cast<int32_t>(table.size())) return nullptr;
    return &table[static_cast<std::size_t>(grade)];
}

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

// What the material dialog and the section file reader both hold a grade's values to.
struct MaterialRule {
    double TMAT::*field;
    const char* key;      // the field's name, as files and listings name it ("FC")
    const char* caption;  // the caption of the dialog's box
    bool positive;        // greater than 0; else any finite number
    bool atMostOne;
};
// The rules of a concrete grade (EC, FC, EPS_0, EPS_CU; core and cover alike) or a steel grade
// (ES, FY, RF), in the order of the dialog's boxes.
const std::vector<MaterialRule>& materialRules(MaterialTable table);
// Why the rule refuses the value ("must be greater than 0 (it is -5)."), or empty when it
// accepts it.
std::string materialFault(const MaterialRule& rule, double value);

// The modulus the steel law takes whatever a grade's ES holds (the analysis's own constant;
// a test keeps the two equal).
constexpr double STEEL_LAW_ES = 200000.0;
// "ES of STEEL1 (210000) is not used: ..." for a steel grade whose ES differs from the modulus
// the steel law takes; empty otherwise.
std::string steelModulusNote(const TMAT& grade);
// The notes of the steel grades the section uses (the rebar grade when it has bars, the steel
// grade when it has steel polygons), each grade once.
std::vector<std::string> materialWarnings(const SectionModel& m);
// "The steel shapes take STEEL1, a reinforcement grade (fy 500, design strength 435 N/mm2); the
// structural steel grades are S275, S355." for a section whose steel shapes take a grade of the
// reinforcement range of its code's table; empty otherwise. One of materialWarnings.
std::string steelShapeGradeNote(const SectionModel& m);

TMAT& materialOf(SectionModel& m, MaterialTable table, int grade);
MaterialBoxes materialBoxes(const SectionModel& m, MaterialTable table, int grade);
// "Modify": stores the box texts into the grade in the dialog's order. A value its rule refuses
// (EC, FC, EPS_0, ES, FY, RF not greater than 0, RF above 1, anything not finite) throws
// InputError naming the box by its caption and changes nothing; a text that is not a number
// throws ConversionError and the fields stored before it keep their new values.
// Returns the new text of Edit4 (FY x RF as "%0.3F" for steel; unchanged for concrete).
std::string modifyMaterial(SectionModel& m, MaterialTable table, int grade,
                           const MaterialBoxes& boxes);

}  // namespace qav
