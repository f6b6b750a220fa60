#pragma once
// "Import Section From CAD (2016)": the section from objects the user picks in a running CAD
// application, through exactly the automation calls listed in CadSession. The logic is here;
// a real session (where a CAD application offers that automation) lives in the application.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

// The document of a running CAD application and its one working selection set. A call the
// application rejects throws; the import stops there and keeps what it wrote.
class CadSession {
public:
    virtual ~CadSession() = default;
    // The document's collection of selection sets.
    virtual int selectionSetCount() = 0;
    virtual void deleteSelectionSet(int index) = 0;  // item(index).Delete
    // Adds a named set, then calls "clear" on it; the calls below work on that set.
    virtual void addSelectionSet(const std::string& name) = 0;
    virtual void prompt(const std::string& text) = 0;  // the document's utility object
    virtual void selectOnScreen() = 0;
    // The set's "count" and, for item i, "objectname", "LAYER", "Coordinates", "Center" and
    // "Diameter".
    virtual int count() = 0;
    virtual std::string objectName(int i) = 0;
    virtual std::string layer(int i) = 0;
    virtual std::vector<double> coordinates(int i) = 0;
    virtual std::vector<double> center(int i) = 0;
    virtual double diameter(int i) = 0;
};

// The programmatic identifier under which the running application is looked for.
inline constexpr const char* CAD_APPLICATION_ID = "autocad.application.20";
inline constexpr const char* CAD_SELECTION_PROMPT = "SELECT THE PILE TEXT ... ... ...";

// Runs the import on a connected session: picks, then outline (clears the model; the last one
// wins), cover line, steel polygons, openings and bars in selection order, then CALC_POLY_ZONE.
void IMPORT_SECTION_FROM_CAD(SectionModel& m, CadSession& cad);

}  // namespace qav
