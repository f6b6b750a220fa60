#pragma once
// Where every command of the program gets its handler and every dialog is created, once, at
// start. A subsystem plugs its commands in by adding one call to installAllCommands, e.g.
//     installBuilderCommands(window);   // takes AppContext&; creates its dialogs and calls
//                                       // ctx.commands().set(cmd::BuildTypical, [..] {
//                                       showDialog(d); })
// A command left without a handler tells the user that it is not available yet.

namespace qav {

class MainWindow;

void installAllCommands(MainWindow& window);

}  // namespace qav
