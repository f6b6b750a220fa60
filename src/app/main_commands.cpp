#include "app/main_commands.h"

#include <QPrinter>

#include "app/about_dialog.h"
#include "app/add_rebar_line_dialog.h"
#include "app/assign_rebar_dialog.h"
#include "app/command_map.h"
#include "app/display_setting_dialog.h"
#include "app/general_setting_dialog.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/material_dialog.h"
#include "app/move_rebars_dialog.h"
#include "app/printer_setting_dialog.h"
#include "app/section_properties_window.h"
#include "app/section_view_widget.h"
#include "app/user_prompts.h"
#include "model/section_properties.h"
#include "view/rebar_tools.h"

namespace qav {

namespace {
const QString kSectionFilter = QStringLiteral("SectionModel (*.sec)");

void showNavEffect(MainWindow& w, const NavEffect& e) {
    if (e.operation) w.setOperationText(QString::fromStdString(*e.operation));
    w.modelChanged();
}

// An alignment, then the bars that now stand where another bar stands, in one message.
void alignAndReport(MainWindow& w, SectionModel& m, void (*align)(SectionModel&)) {
    const std::vector<int32_t> aligned = selectedBars(m);
    align(m);
    const int n = coincidentBarCount(m, aligned);
    if (n > 0) w.messages().message(coincidentBarsText(n));
    w.modelChanged();
}

void installFileCommands(MainWindow& w, CommandMap& c) {
    SectionModel& m = w.model();
    c.set(cmd::New, [&w, &m] {
        if (!w.prompts().confirm("Are You Sure to clear the Section??")) return;
        CLEAR_MODEL(m);
        w.startNewSection();
        w.modelChanged();
    });
    c.set(cmd::Open, [&w] {
        if (!w.saveChangesFirst()) return;
        const QString path = w.prompts().openFileName(kSectionFilter);
        if (!path.isEmpty()) w.openSection(path);
    });
    c.set(cmd::Save, [&w] {
        const QString path = w.prompts().saveFileName(kSectionFilter, w.filePath());
        if (!path.isEmpty()) w.saveSection(path);
    });
    c.setNoAction(cmd::Close);
}

void installViewCommands(MainWindow& w, CommandMap& c) {
    SectionModel& m = w.model();
    ViewNavigator& nav = w.view()->navigator();
    c.set(cmd::MoveView, [&w, &nav] { showNavEffect(w, nav.startMoveView()); });
    c.set(cmd::Fit, [&w, &m] {
        CALC_STEEL_SECTION_AREA(m);
        CALC_POLY_ZONE(m);
        w.modelChanged();
    });
    c.set(cmd::ZoomIn, [&w, &m] {
        zoomIn(m);
        w.modelChanged();
    });
    c.set(cmd::ZoomOut, [&w, &m] {
        zoomOut(m);
        w.modelChanged();
    });
    c.set(cmd::Redraw, [&w] { w.modelChanged(); });
}

void installDeleteCommands(MainWindow& w, CommandMap& c) {
    SectionModel& m = w.model();
    c.set(cmd::DeleteSection, [&w, &m] {
        if (!w.prompts().confirm("Are You Sure to delete Section??")) return;
        CLEAR_MODEL(m);
        w.modelChanged();
    });
    c.set(cmd::DeleteMesh, [&w, &m] {
        CLEAR_MESH(m);
        CALC_POLY_ZONE(m);
        w.modelChanged();
    });
    c.set(cmd::DeleteSteel, [&w, &m] {
        if (!w.prompts().confirm("Are You Sure to delete Steel Section??")) return;
        DELETE_STEEL_SECTION(m);
        w.modelChanged();
    });
}

void installRebarCommands(MainWindow& w, CommandMap& c, QWidget* assign, QWidget* move,
                          QWidget* addLine) {
    SectionModel& m = w.model();
    ViewNavigator& nav = w.view()->navigator();
    c.set(cmd::SelectRebars, [&w, &m, &nav] { showNavEffect(w, nav.startSelectRebars(m)); });
    c.set(cmd::AddSingleRebar, [&w, &nav] { showNavEffect(w, nav.startAddSingleRebar()); });
    // A tool without the selection it needs says so (captions of the "Rebar" page).
    c.set(cmd::AssignRebar, [&m, assign] {
        requireSelectedBars(m, 1, -1, "Assign Rebar Properties");
        showDialog(assign);
    });
    c.set(cmd::DeleteRebars, [&w, &m] {
        requireSelectedBars(m, 1, -1, "Delete Selected Rebars");
        DELETE_REBARS(m);
        w.modelChanged();
    });
    c.set(cmd::AddAlongLine, [&m, addLine] {
        requireSelectedBars(m, 2, 2, "Add Along Line Rebars");
        showDialog(addLine);
    });
    c.set(cmd::AlignX, [&w, &m] {
        requireSelectedBars(m, 1, -1, "Aligning Rebars along X");
        alignAndReport(w, m, ALIGN_REBARS_X);
    });
    c.set(cmd::AlignY, [&w, &m] {
        requireSelectedBars(m, 1, -1, "Aligning Rebars along Y");
        alignAndReport(w, m, ALIGN_REBARS_Y);
    });
    c.set(cmd::AlignDir, [&w, &m] {
        requireSelectedBars(m, 3, -1, "Aligning Rebar along Dir");
        ALIGN_REBARS_DIR(m);
        w.modelChanged();
    });
    c.set(cmd::MoveRebars, [move] { showDialog(move); });
}
}  // namespace

void installMainCommands(MainWindow& w) {
    CommandMap& c = w.commands();
    // Created once, in start-up order; closing one only hides it.
    auto* material = new MaterialDialog(w, &w);
    auto* display = new DisplaySettingDialog(w, &w);
    auto* assign = new AssignRebarDialog(w, &w);
    auto* move = new MoveRebarsDialog(w, &w);
    auto* general = new GeneralSettingDialog(w, &w);
    auto* printer = new PrinterSettingDialog(w.printer(), &w);
    auto* addLine = new AddRebarLineDialog(w, &w);
    auto* about = new AboutDialog(&w);
    new SectionPropertiesWindow(&w);  // created like the others, never shown

    installFileCommands(w, c);
    installViewCommands(w, c);
    installDeleteCommands(w, c);
    installRebarCommands(w, c, assign, move, addLine);
    c.set(cmd::MaterialSetting, [material] { showDialog(material); });
    c.set(cmd::DisplaySetting, [display] { showDialog(display); });
    c.set(cmd::GeneralSetting, [general] { showDialog(general); });
    c.set(cmd::PrinterSetting, [printer] { showDialog(printer); });
    c.set(cmd::About, [about] { showDialog(about); });
    auto* help = new HelpWindow(&w);
    c.set(cmd::Help, [&w, help] {
        const QString path = userGuidePath();
        if (path.isEmpty()) {
            w.prompts().information("The user guide is not installed: it is looked for at " +
                                    userGuideCandidates().join(" and ") + ".");
            return;
        }
        help->showGuide(path);
        showDialog(help);
    });
}

}  // namespace qav
