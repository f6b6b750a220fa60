#pragma once
// The four section builders in the main window: each dialog is created once and shown by its
// command (page button, menu item and tool button alike).
namespace qav {

class AppContext;

// Creates the typical, steel, composite and opening dialogs, parented to the main window, and
// sets cmd::BuildTypical, BuildSteel, BuildComposite and BuildOpening to show them. A build
// redraws the window and refills its counts; a refused box text is shown as an error box.
void installBuilderCommands(AppContext& ctx);

}  // namespace qav
