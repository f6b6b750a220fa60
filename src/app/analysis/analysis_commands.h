#pragma once
// The analysis subsystem's dialogs and commands: "Run PMM Analysis" (page button, menu
// "P-M Curve Analysis", tool button Analysis), "Import Loading" (menu, tool button Loading)
// and the M-Phi tool button.

namespace qav {

class AppContext;

// Creates the three dialogs, once, and gives the commands their handlers.
void installAnalysisCommands(AppContext& ctx);

}  // namespace qav
