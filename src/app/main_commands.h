#pragma once
// The commands of the main window itself: New, Open, Save, the view commands, the display,
// general, printer and material settings, the about box, the three deletions of the "Section"
// page and the rebar tools, with the dialogs they show.

namespace qav {

class MainWindow;

void installMainCommands(MainWindow& window);

}  // namespace qav
