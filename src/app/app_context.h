#pragma once
// What a command or a dialog needs from the main window. The main window implements it; the
// commands and dialogs of every subsystem take an AppContext& and nothing else of it.
//
//   ctx.model()                 the one SectionModel of the run
//   ctx.applyControlsToModel()  grade lists and "Mesh Size" box -> document.USE_CONC, USE_COVER,
//                               USE_REBAR, USE_STEEL, MESH_SIZE_TEXT (done on every user change
//                               and at the start of every command run through the command map
//                               or runCommand, so a handler finds them current)
//   ctx.showModelInControls()   the same fields -> the grade lists and the box (after a file
//                               or an import set them)
//   ctx.modelChanged()          after a command changed the model: bring the mesh and the
//                               results up to date with it (see onSectionState), repaint the
//                               view, refresh the status-bar counts and "Section Properties"
//   ctx.onSectionState(r, f)    runs f (while r lives) whenever the mesh or the stored results
//                               were brought up to date with a changed section: a dialog then
//                               clears or refreshes what it shows
//   ctx.runCommand(body)        runs body inside the command boundary: ConversionError,
//                               FileError, InputError, NumericError become one message box
//   ctx.messages()              the Messages sink of the running command: each distinct text
//                               is shown once, with its count, when the command ends
//   ctx.prompts()               confirmation and message boxes, file dialogs
//   ctx.printer()               the one printer of the printed reports ("Printer Setting")
//   ctx.commands()              the command map, to run or rewire a command
//   ctx.saveChangesFirst()      the unsaved-changes question before a section is replaced
//   ctx.sectionImported()       an import replaced the section (it has no file now)
//   showDialog(w)               shows a dialog without blocking, or brings it to the front
#include <functional>

class QObject;
class QPrinter;
class QWidget;

namespace qav {

struct SectionModel;
class Messages;
class UserPrompts;
class CommandMap;

class AppContext {
public:
    virtual ~AppContext() = default;
    virtual SectionModel& model() = 0;
    virtual void applyControlsToModel() = 0;
    virtual void showModelInControls() = 0;
    virtual void modelChanged() = 0;
    virtual void runCommand(const std::function<void()>& body) = 0;
    virtual void onSectionState(QObject* receiver, const std::function<void()>& refresh) = 0;
    virtual Messages& messages() = 0;
    virtual UserPrompts& prompts() = 0;
    virtual QPrinter& printer() = 0;
    virtual CommandMap& commands() = 0;
    // The main window, as parent of dialogs and boxes.
    virtual QWidget* mainWidget() = 0;
    // Before a command replaces the whole section (Open, DXF or CAD import): when the model
    // holds unsaved changes, asks "Save changes to NAME?" and saves if told to. False when the
    // user cancelled (or the save failed): the command then leaves everything as it was.
    virtual bool saveChangesFirst() { return true; }
    // After an import replaced the section: it belongs to no file any more.
    virtual void sectionImported() {}
};

// Makes a dialog visible and brings it to the front; one already visible is only raised (its
// show handler does not run again). Never modal.
void showDialog(QWidget* dialog);

}  // namespace qav
