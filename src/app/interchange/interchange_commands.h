#pragma once
// The interchange commands of the main window ("CAD" page, "CAD" menu and tool bar). Each asks
// for its file, runs the core operation and shows a failure in a message box. The import
// commands return true when the model changed (also when a failure stopped them half way): the
// caller then redraws the section view. The geometry is recomputed already.
#include <QString>

#include "app/interchange/interchange_ui.h"
#include "model/section_model.h"

class QWidget;

namespace qav::app {

// "Import From DXF File" (menu "Import DXF File").
bool importFromDxfFile(SectionModel& m, QWidget* parent,
                       const InterchangeUi& ui = standardInterchangeUi());

// "Export to DXF File" (menu "Export DXF File"). `saveFilter` is the filter of the main window's
// save-file dialog, shared with Save Section and the XTRACT export: set to "AutoCAD_DXF|*.dxf"
// here. Returns true when a file was written.
bool exportToDxfFile(const SectionModel& m, QWidget* parent, QString& saveFilter,
                     const InterchangeUi& ui = standardInterchangeUi());

// "Import Section From CAD (2016)" (menu "Import From AutoCAD"). On a platform without a CAD
// application offering the automation it needs, it says so and changes nothing.
bool importSectionFromCad(SectionModel& m, QWidget* parent,
                          const InterchangeUi& ui = standardInterchangeUi());

// The XTRACT tool button: the save dialog opens with the filter it has (`saveFilter`), which is
// "*.sec|*.sec" afterwards. Returns true when a file was written.
bool exportXtractFile(const SectionModel& m, QWidget* parent, QString& saveFilter,
                      const InterchangeUi& ui = standardInterchangeUi());

// The text shown when no CAD application can be reached.
QString noCadApplicationMessage();

}  // namespace qav::app
