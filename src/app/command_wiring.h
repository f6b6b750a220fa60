#pragma once
// Where every command of the program gets its handler and every dialog is created, once, at
// start. A subsystem plugs its commands in by adding one call to installAllCommands, e.g.
//     installBuilderCommands(ctx);   // ctx.commands().set(cmd::BuildTypical, ...)
// A command left without a handler tells the user that it is not available yet.

namespace qav {

class MainWindow;

void installAllCommands(MainWindow& window);

// The commands of the main window itself: file, view, display and general settings, printer,
// materials, about, the deletions and the rebar tools.
void installMainCommands(MainWindow& window);

}  // namespace qav
