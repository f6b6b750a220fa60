#pragma once
// The map from command names to what they do. Menu items, tool buttons and page buttons all
// trigger the command's QAction; the action runs the handler inside the command boundary. A
// command without a handler says that it "is not available yet".
//
// To plug a command in (see command_wiring.cpp):
//     commands.set(cmd::Mesh, [&ctx] { ...; ctx.modelChanged(); });
#include <QAction>
#include <QString>
#include <functional>
#include <map>

namespace qav {

class CommandBoundary;
class UserPrompts;

// Command names. Each is one entry of the menus, the tool bar and the page buttons.
namespace cmd {
inline constexpr const char* New = "New Section";
inline constexpr const char* Open = "Open Section";
inline constexpr const char* Save = "Save Section";
inline constexpr const char* Close = "Close";
inline constexpr const char* XtractExport = "XTRACT Export";
inline constexpr const char* BuildComposite = "Build Composite Section";
inline constexpr const char* GeneralSetting = "General Setting";
inline constexpr const char* MaterialSetting = "Material Setting";
inline constexpr const char* PrinterSetting = "Printer Setting";
inline constexpr const char* MoveView = "Move View";
inline constexpr const char* Fit = "Fit View";
inline constexpr const char* ZoomIn = "Zoom In";
inline constexpr const char* ZoomOut = "Zoom Out";
inline constexpr const char* Redraw = "Redraw";
inline constexpr const char* DisplaySetting = "Display Setting";
inline constexpr const char* BuildTypical = "Build Typical Section";
inline constexpr const char* BuildSteel = "Build Steel Section";
inline constexpr const char* BuildOpening = "Build Section Opening";
inline constexpr const char* Mesh = "Fiber Section Mesh";
inline constexpr const char* DeleteSection = "Delete All Section";
inline constexpr const char* DeleteMesh = "Delete All Mesh";
inline constexpr const char* DeleteSteel = "Delete Steel Section";
inline constexpr const char* CadImport = "Import Section From CAD (2016)";
inline constexpr const char* DxfImport = "Import From DXF File";
inline constexpr const char* DxfExport = "Export to DXF File";
inline constexpr const char* OpenSees = "Gen OpenSEES Tcl";
inline constexpr const char* Analysis = "Run PMM Analysis";
inline constexpr const char* MPhi = "Section M-Phi Analysis";
inline constexpr const char* SectionState = "Section State";
inline constexpr const char* PmmSurface = "Gen PMM Surface";
inline constexpr const char* Loading = "Import Column internal Force";
inline constexpr const char* Table = "Export Data";
inline constexpr const char* SelectRebars = "Select the Rebars";
inline constexpr const char* AssignRebar = "Assign Rebar Properties";
inline constexpr const char* DeleteRebars = "Delete Selected Rebars";
inline constexpr const char* AddSingleRebar = "Add Singln Point Rebar";
inline constexpr const char* AddAlongLine = "Add Along Line Rebars";
inline constexpr const char* AlignX = "Aligning Rebars along X";
inline constexpr const char* AlignY = "Aligning Rebars along Y";
inline constexpr const char* AlignDir = "Aligning Rebar along Dir";
inline constexpr const char* MoveRebars = "Move/Replicate Rebars";
inline constexpr const char* About = "About QAV-Section";
inline constexpr const char* Help = "Help";
}  // namespace cmd

class CommandMap : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    CommandMap(CommandBoundary& boundary, UserPrompts*& prompts, QObject* parent = nullptr);

    // The command's action (created on first use, text = the command name).
    QAction* action(const QString& name);
    // Sets or replaces what a command does.
    void set(const QString& name, Handler handler);
    // Marks a command that deliberately does nothing (File "Close", Help "Help").
    void setNoAction(const QString& name);
    bool hasHandler(const QString& name) const;
    // Runs the command as if its action were triggered.
    void run(const QString& name);

    // The one message of a command whose feature is not built yet.
    static QString notAvailableText(const QString& name);

private:
    struct Entry {
        QAction* action = nullptr;
        Handler handler;
        bool noAction = false;
    };
    Entry& entry(const QString& name);
    void notAvailable(const QString& name);
    CommandBoundary& boundary_;
    UserPrompts*& prompts_;
    std::map<QString, Entry> entries_;
};

}  // namespace qav
