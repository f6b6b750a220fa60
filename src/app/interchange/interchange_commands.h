#pragma once
// The interchange commands of the "CAD" page, the "CAD" menu and the tool bar:
//   "Import From DXF File", "Export to DXF File", "Import Section From CAD (2016)",
//   "XTRACT Export" and "Gen OpenSEES Tcl" (whose dialog is created here, once).
// Plugged in with one call from installAllCommands.
#include <QString>

namespace qav {

class AppContext;

void installInterchangeCommands(AppContext& ctx);

// The message of "Import Section From CAD (2016)" where no CAD application can be reached.
QString noCadApplicationMessage();

}  // namespace qav
