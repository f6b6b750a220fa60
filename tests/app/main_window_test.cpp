#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "app/analysis/analysis_dialog.h"
#include "app/command_map.h"
#include "app/general_setting_dialog.h"
#include "app/help_window.h"
#include "app/panel_bar.h"
#include "app/section_view_widget.h"
#include "app/side_panel.h"
#include "canvas/recording_canvas.h"
#include "model/code_grades.h"
#include "model/errors.h"
#include "model/text_file.h"
#include "scripted_prompts.h"
#include "view/section_view.h"
#include "view/view_mapping.h"
#include "widget_lookup.h"

using namespace qav;
using qav::test::button;
using qav::test::child;

namespace {
const QString kExample = QStringLiteral(QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec");

void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint p) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void drag(QWidget* w, QPoint from, QPoint to) {
    mouse(w, QEvent::MouseButtonPress, Qt::LeftButton, from);
    mouse(w, QEvent::MouseMove, Qt::NoButton, to);
    mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, to);
}

void pressDelete(QWidget* receiver) {
    QKeyEvent e(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(receiver, &e);
}

struct Fixture {
    MainWindow w;
    ScriptedPrompts prompts;
    Fixture() { w.setPrompts(&prompts); }
    QString count(int panel) const { return w.statusBar1()->text(panel); }
    void open(const QString& path = kExample) {
        prompts.openPath = path;
        w.commands().run(cmd::Open);
    }
};

// The section under a design code: "General Setting " with the code and one choice box set.
struct CodeFixture : Fixture {
    QDialog* general = nullptr;
    CodeFixture() { open(); }
    void choose(CodeId code, const char* box = "TiesBox", int index = 0) {
        w.commands().run(cmd::GeneralSetting);
        general = child<QDialog>(&w, "GeneralSettingDialog");
        child<QComboBox>(general, "ComboBox1")->setCurrentIndex(static_cast<int>(code));
        child<QComboBox>(general, box)->setCurrentIndex(index);
        button(general, "Okay")->click();
        EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("|").toStdString();
    }
};

// A picture to look at, saved only when QAVSEC_SCREENSHOT_DIR is set.
void shoot(const QImage& image, const char* name) {
    const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QString::fromUtf8(dir) + "/" + name);
}
}  // namespace

TEST(MainWindow, CaptionControlsAndToolBar) {
    Fixture f;
    EXPECT_EQ(f.w.windowTitle(), "QAV Section v1.0 (2022-03-14)");
    EXPECT_EQ(f.w.sidePanel()->ComboBox2->count(), 17);
    EXPECT_EQ(f.w.sidePanel()->ComboBox2->itemText(0), "C20\t");
    EXPECT_EQ(f.w.sidePanel()->ComboBox4->itemText(16), "C100_Cover");
    EXPECT_EQ(f.w.sidePanel()->ComboBox1->itemText(4), "STEEL5");
    EXPECT_EQ(f.w.sidePanel()->Edit1->text(), "100");
    for (int i = 1; i <= 39; ++i) {
        auto* b = f.w.findChild<QWidget*>(QStringLiteral("ToolButton%1").arg(i));
        ASSERT_NE(b, nullptr) << i;
        EXPECT_FALSE(b->toolTip().isEmpty()) << i;
    }
    EXPECT_EQ(f.w.findChild<QWidget*>("ToolButton40"), nullptr);
    EXPECT_EQ(f.w.findChild<QWidget*>("ToolButton22")->toolTip(), "Import Section From CAD (2016)");
    EXPECT_EQ(f.count(1), "None");
}

TEST(MainWindow, OpenNewSelectDeleteAndGeneralSetting) {
    Fixture f;
    SectionModel& m = f.w.model();
    f.open();
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
    EXPECT_EQ(f.count(3), "0");
    EXPECT_EQ(f.count(5), "8");
    EXPECT_EQ(f.count(7), "12");
    EXPECT_EQ(f.count(9), "0");
    EXPECT_EQ(f.count(11), "0");
    EXPECT_EQ(f.w.sidePanel()->ComboBox2->currentIndex(), 2) << "grade from the file";
    EXPECT_EQ(f.w.sidePanel()->ComboBox4->currentIndex(), 2);

    // New: No changes nothing; Yes clears the section but keeps materials, grades and loads.
    m.document.NFORCE = 1;
    resizeTable(m.document.FORCE, 2);
    m.document.FORCE[1].COMB_NAME = "C1";
    f.prompts.answers = {false, true};
    f.w.commands().run(cmd::New);
    EXPECT_EQ(m.document.NBAR, 12);
    f.w.commands().run(cmd::New);
    EXPECT_EQ(f.prompts.confirmations.value(0), "Are You Sure to clear the Section??");
    EXPECT_EQ(m.document.NBAR, 0);
    EXPECT_EQ(m.document.NCONC_PT, 0);
    EXPECT_EQ(m.view.VIEW_SCALE, 1.0);
    EXPECT_EQ(m.document.NCONCMAT, 17);
    EXPECT_EQ(m.document.NFORCE, 1);
    EXPECT_EQ(f.w.sidePanel()->ComboBox2->currentIndex(), 2);
    EXPECT_EQ(m.document.USE_CONC, 2);
    EXPECT_EQ(f.count(7), "0");

    // A band over the bottom row picks its four bars; Delete removes them.
    f.open();
    f.w.commands().run(cmd::SelectRebars);
    EXPECT_EQ(f.count(1), "Select Rebars");
    const Point a = *viewToWindow(m, -400, -300), b = *viewToWindow(m, 400, -500);
    drag(f.w.view(), {a.x, a.y}, {b.x, b.y});
    EXPECT_EQ(m.view.NSEL_BAR, 4);
    EXPECT_EQ(f.count(9), "4");
    pressDelete(&f.w);
    EXPECT_EQ(m.document.NBAR, 8);
    EXPECT_EQ(m.view.NSEL_BAR, 0);
    EXPECT_EQ(f.count(7), "8");
    for (int i = 1; i <= m.document.NBAR; ++i) EXPECT_GT(m.document.BAR[i].Y, -400) << "bar " << i;
    pressDelete(&f.w);  // nothing selected: nothing happens
    EXPECT_EQ(m.document.NBAR, 8);

    // "General Setting ": the design code shows in the title block at the next redraw.
    f.w.commands().run(cmd::GeneralSetting);
    auto* general = child<QDialog>(&f.w, "GeneralSettingDialog");
    EXPECT_TRUE(general->isVisible());
    EXPECT_EQ(general->windowTitle(), "General Setting ");
    EXPECT_EQ(child<QLineEdit>(general, "Edit1")->text(), "30");
    EXPECT_EQ(child<QLineEdit>(general, "Edit2")->text(), "24");
    const QImage before = f.w.view()->grab().toImage().copy(0, 75, 120, 30);
    child<QComboBox>(general, "ComboBox1")->setCurrentIndex(1);
    button(general, "Okay")->click();
    EXPECT_FALSE(general->isVisible());
    EXPECT_EQ(m.settings.DESIGN_CODE, 1);
    f.w.commands().run(cmd::Redraw);
    const QImage after = f.w.view()->grab().toImage().copy(0, 75, 120, 30);
    EXPECT_NE(before, after);
    RecordingCanvas rc;
    DRAW_STRU(m, rc);
    EXPECT_EQ(rc.texts()[1], "BS-8110");
}

TEST(MainWindow, DeleteKeyWorksWhileATextBoxHasTheFocus) {
    Fixture f;
    f.w.show();
    QApplication::setActiveWindow(&f.w);
    f.open();
    SectionModel& m = f.w.model();
    SELECT_BAR(m, 1);
    QLineEdit* box = f.w.sidePanel()->Edit1;
    box->setFocus();
    box->setCursorPosition(0);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), box);
    pressDelete(box);
    EXPECT_EQ(m.document.NBAR, 11);
    EXPECT_EQ(box->text(), "00") << "the box gets the key too";
}

TEST(MainWindow, GeneralSettingStopsAtABadBox) {
    Fixture f;
    SectionModel& m = f.w.model();
    f.w.commands().run(cmd::GeneralSetting);
    auto* general = child<QDialog>(&f.w, "GeneralSettingDialog");
    child<QLineEdit>(general, "Edit1")->setText("40");
    child<QLineEdit>(general, "Edit2")->setText("abc");
    child<QComboBox>(general, "ComboBox1")->setCurrentIndex(1);
    button(general, "Okay")->click();
    EXPECT_EQ(m.settings.NPM, 40);
    EXPECT_EQ(m.settings.NMM, 24);
    EXPECT_EQ(m.settings.DESIGN_CODE, 0);
    EXPECT_EQ(f.prompts.errors, QStringList{"'abc' is not a valid integer value"});
    EXPECT_TRUE(general->isVisible());
}

// The integration is kept with the program's settings and read back; curves of the other rule
// are not this section's any more.
TEST(MainWindow, GeneralSettingKeepsTheIntegration) {
    Fixture f;
    SectionModel& m = f.w.model();
    m.results.PM_P = {0, 1, 2};
    f.w.commands().run(cmd::GeneralSetting);
    auto* general = child<QDialog>(&f.w, "GeneralSettingDialog");
    child<QComboBox>(general, "IntegrationBox")->setCurrentIndex(1);
    button(general, "Okay")->click();
    EXPECT_EQ(m.settings.INTEGRATION, Integration::Exact);
    EXPECT_EQ(QSettings().value("analysis/integration").toString(), "exact");
    EXPECT_TRUE(m.results.PM_P.empty());
    SectionModel read;
    loadProgramSettings(read);
    EXPECT_EQ(read.settings.INTEGRATION, Integration::Exact);
}

TEST(MainWindow, OpenAndSaveReportFileErrors) {
    Fixture f;
    QTemporaryDir dir;
    const QString bad = dir.filePath("bad.sec");
    writeTextLines(bad.toStdString(), {"GEN START", "USE_CONC,x1", "GEN END"});
    f.open(bad);
    EXPECT_EQ(f.prompts.errors, QStringList{bad + ", line 2: 'x1' is not a valid integer value"});
    f.prompts.errors.clear();
    f.open(dir.filePath("missing.sec"));
    EXPECT_EQ(f.prompts.errors.size(), 1);
    f.prompts.errors.clear();
    f.open("");  // cancelled: nothing happens
    EXPECT_TRUE(f.prompts.errors.isEmpty());

    f.open();
    f.w.sidePanel()->Edit1->setText("75");
    f.prompts.savePath = dir.filePath("out");
    f.w.commands().run(cmd::Save);
    const auto lines = readTextLines(dir.filePath("out").toStdString());
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[5], "MESH_SIZE,75") << "the box is read before saving; no extension added";
    f.prompts.savePath = dir.filePath("no/such/dir/x.sec");
    f.w.commands().run(cmd::Save);
    EXPECT_EQ(f.prompts.errors.size(), 1);
}

TEST(MainWindow, LaterCommandsSayTheyAreNotAvailableYet) {
    Fixture f;
    // Whatever is not wired yet says so; wired commands are left to their own tests.
    for (const char* name :
         {cmd::Mesh, cmd::BuildTypical, cmd::DxfImport, cmd::Analysis, cmd::Table, cmd::CadImport,
          cmd::PmmSurface, cmd::MPhi, cmd::Loading, "A Command Of Tomorrow"}) {
        if (f.w.commands().hasHandler(name)) continue;
        f.prompts.informations.clear();
        f.w.commands().run(name);
        EXPECT_EQ(f.prompts.informations, QStringList{CommandMap::notAvailableText(name)}) << name;
    }
    f.prompts.informations.clear();
    f.w.commands().run(cmd::Close);
    EXPECT_TRUE(f.prompts.informations.isEmpty()) << "Close does nothing";
    f.w.commands().set(cmd::Mesh, [&f] { f.w.model().settings.NPM = 3; });
    f.w.commands().run(cmd::Mesh);
    EXPECT_EQ(f.w.model().settings.NPM, 3) << "a rewired command runs its new handler";
}

TEST(MainWindow, HelpShowsTheUserGuide) {
    Fixture f;
    f.w.commands().run(cmd::Help);
    EXPECT_TRUE(f.prompts.informations.isEmpty())
        << f.prompts.informations.join("\n").toStdString();
    auto* help = f.w.findChild<HelpWindow*>("HelpWindow");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    const QString text = help->browser()->toPlainText();
    EXPECT_TRUE(text.startsWith("QAV Section — user guide")) << text.left(80).toStdString();
    EXPECT_TRUE(text.contains("Check Member")) << "the whole guide, not its title alone";
}

TEST(MainWindow, EveryToolBarAnalysisAndExportIsInTheMenus) {
    Fixture f;
    auto inMenu = [&](const QString& menu, const char* command) {
        for (QAction* top : f.w.menuBar()->actions())
            if (top->text() == menu && top->menu())
                for (QAction* a : top->menu()->actions())
                    if (a == f.w.commands().action(command)) return true;
        return false;
    };
    EXPECT_TRUE(inMenu("Analysis", cmd::MPhi));
    EXPECT_TRUE(inMenu("Analysis", cmd::PmmSurface));
    EXPECT_TRUE(inMenu("CAD", cmd::OpenSees));
    EXPECT_EQ(f.w.commands().action(cmd::Help)->shortcut(),
              QKeySequence(QKeySequence::HelpContents));
}

// What a command says comes in one box: each text once with its count, a paragraph each.
TEST(MainWindow, MessagesAreShownOncePerTextWithACount) {
    Fixture f;
    f.w.runCommand([&f] {
        for (int i = 0; i < 300; ++i) f.w.messages().message("Singular matrix.");
        f.w.messages().message("case Error: 3");
    });
    EXPECT_EQ(f.prompts.informations,
              (QStringList{"Singular matrix.\n\n(300 times)\n\ncase Error: 3"}));
    f.prompts.informations.clear();
    f.w.runCommand([&f] {
        f.w.messages().message("before");
        throw InputError("stopped");
    });
    EXPECT_EQ(f.prompts.informations, QStringList{"before"});
    EXPECT_EQ(f.prompts.errors, QStringList{"stopped"});
}

TEST(MainWindow, RebarDialogsAndTheirPreconditions) {
    Fixture f;
    SectionModel& m = f.w.model();
    f.open();
    auto* assign = child<QDialog>(&f.w, "AssignRebarDialog");
    auto* move = child<QDialog>(&f.w, "MoveRebarsDialog");
    auto* line = child<QDialog>(&f.w, "AddRebarLineDialog");
    f.w.commands().run(cmd::AssignRebar);
    EXPECT_FALSE(assign->isVisible()) << "no selection: no dialog, but a word on what it needs";
    EXPECT_EQ(f.prompts.errors,
              QStringList{"\"Assign Rebar Properties\" needs one or more selected bars (none is "
                          "selected): select them with \"Select the Rebars\" first."});
    f.prompts.errors.clear();
    f.w.commands().run(cmd::MoveRebars);
    EXPECT_TRUE(move->isVisible());
    EXPECT_EQ(child<QLineEdit>(move, "Edit5")->text(), "") << "no stale bar shown";
    button(move, "Move")->click();
    EXPECT_TRUE(move->isVisible()) << "Move with no selection moves nothing";
    EXPECT_EQ(f.prompts.errors.size(), 1);
    f.prompts.errors.clear();
    move->close();

    SELECT_BAR(m, 10);  // (365, -465)
    SELECT_BAR(m, 9);   // (-365, -465)
    f.w.commands().run(cmd::AddAlongLine);
    ASSERT_TRUE(line->isVisible());
    button(line, "Add Rebar")->click();
    EXPECT_FALSE(line->isVisible());
    EXPECT_EQ(m.document.NBAR, 15);
    EXPECT_DOUBLE_EQ(m.document.BAR[13].X, 365 - 182.5);

    SELECT_BAR(m, 2);
    f.w.commands().run(cmd::AssignRebar);
    ASSERT_TRUE(assign->isVisible());
    EXPECT_EQ(child<QLineEdit>(assign, "Edit1")->text(), "25.00");
    child<QLineEdit>(assign, "Edit1")->setText("32");
    button(assign, "Assign")->click();
    EXPECT_EQ(m.document.BAR[2].DB, 32);
    EXPECT_EQ(m.view.NSEL_BAR, 0);

    SELECT_BAR(m, 5);
    f.w.commands().run(cmd::MoveRebars);
    EXPECT_EQ(child<QLineEdit>(move, "Edit5")->text(), "-365.000");
    child<QLineEdit>(move, "Edit1")->setText("zz");
    button(move, "Move")->click();
    EXPECT_EQ(f.prompts.errors, QStringList{"'zz' is not a valid floating point value"});
    EXPECT_TRUE(move->isVisible()) << "the dialog stays open";
    EXPECT_EQ(m.document.BAR[5].X, -365);
}

TEST(MainWindow, MaterialDialogModifiesSteel) {
    Fixture f;
    SectionModel& m = f.w.model();
    f.w.commands().run(cmd::MaterialSetting);
    auto* d = child<QDialog>(&f.w, "MaterialDialog");
    ASSERT_TRUE(d->isVisible());
    EXPECT_EQ(child<QLineEdit>(d, "Edit1")->text(), "C20");
    auto* type = child<QComboBox>(d, "ComboBox1");
    type->setCurrentIndex(1);
    emit type->activated(1);
    EXPECT_EQ(child<QComboBox>(d, "ComboBox2")->count(), 7);  // with S275, S355
    EXPECT_FALSE(child<QLineEdit>(d, "Edit4")->isEnabled());
    EXPECT_EQ(child<QLabel>(d, "Label7")->text(), "ay Reduct. Factor");
    child<QLineEdit>(d, "Edit3")->setText("460");
    child<QLineEdit>(d, "Edit5")->setText("0.9");
    button(d, "Modify")->click();
    EXPECT_EQ(child<QLineEdit>(d, "Edit4")->text(), "414.000");
    EXPECT_DOUBLE_EQ(m.document.STEEL_MAT[1].FY1, 460 * 0.9);
    EXPECT_TRUE(d->isVisible());
    // A new ES that the steel law does not use is said once, when it is applied.
    for (const char* fy : {"450", "440"}) {
        child<QLineEdit>(d, "Edit2")->setText("210000");
        child<QLineEdit>(d, "Edit3")->setText(fy);
        button(d, "Modify")->click();
    }
    EXPECT_EQ(
        f.prompts.informations,
        QStringList{QString::fromUtf8(
            "ES of STEEL1 (210000) is not used: the steel law takes Es = 200000 N/mm\u00b2.")});

    resizeTable(m.document.COVER_MAT,
                4);  // a file brought a shorter table: no grade beyond it is listed
    type->setCurrentIndex(2);
    emit type->activated(2);
    EXPECT_EQ(child<QComboBox>(d, "ComboBox2")->count(), 3);
}

TEST(MainWindow, CommandsSeeTheCurrentGradeListsAndMeshSize) {
    Fixture f;
    f.w.sidePanel()->ComboBox3->setCurrentIndex(4);
    f.w.sidePanel()->Edit1->setText("55");
    int rebar = -1;
    std::string mesh;
    f.w.commands().set(cmd::Mesh, [&] {
        rebar = f.w.model().document.USE_REBAR;
        mesh = f.w.model().document.MESH_SIZE_TEXT;
    });
    f.w.commands().run(cmd::Mesh);
    EXPECT_EQ(rebar, 4);
    EXPECT_EQ(mesh, "55");
}

TEST(MainWindow, PrinterResolution) {
    Fixture f;
    f.w.commands().run(cmd::PrinterSetting);
    auto* d = child<QDialog>(&f.w, "PrinterSettingDialog");
    ASSERT_TRUE(d->isVisible());
    button(d, "Set Resolution = 1200")->click();
    button(d, "Check Printer DPI")->click();
    EXPECT_EQ(child<QLineEdit>(d, "Edit1")->text(), "1200");
    EXPECT_EQ(f.w.printer().resolution(), 1200);
}

TEST(MainWindow, DisplaySwitchesAndViewCommands) {
    Fixture f;
    SectionModel& m = f.w.model();
    f.open();
    f.w.commands().run(cmd::DisplaySetting);
    auto* d = child<QDialog>(&f.w, "DisplaySettingDialog");
    auto* box = child<QCheckBox>(d, "CheckBox2");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isChecked());
    box->click();
    EXPECT_FALSE(m.view.SHOW_FLAG[2]);
    EXPECT_TRUE(m.view.SHOW_FLAG[1]);

    const double s = m.view.VIEW_SCALE;
    f.w.commands().run(cmd::ZoomIn);
    EXPECT_DOUBLE_EQ(m.view.VIEW_SCALE, s * 1.1);
    f.w.commands().run(cmd::Fit);
    EXPECT_DOUBLE_EQ(m.view.VIEW_SCALE, s);
    f.w.commands().run(cmd::MoveView);
    EXPECT_EQ(f.count(1), "Move View");
    mouse(f.w.view(), QEvent::MouseButtonPress, Qt::LeftButton, {100, 100});
    mouse(f.w.view(), QEvent::MouseMove, Qt::LeftButton, {110, 100});
    mouse(f.w.view(), QEvent::MouseButtonRelease, Qt::LeftButton, {110, 100});
    EXPECT_DOUBLE_EQ(m.view.VIEW_DX, -10 / s);
    EXPECT_FALSE(f.w.statusBar2()->text(1).isEmpty()) << "read-out";
    mouse(f.w.view(), QEvent::MouseButtonPress, Qt::RightButton, {10, 10});
    EXPECT_EQ(f.count(1), "None");
}

TEST(MainWindow, SteelGridSettingRemeshesSteelOnlySections) {
    Fixture f;
    SectionModel& m = f.w.model();
    f.open(QStringLiteral(QAVSEC_SOURCE_DIR "/examples/steel_i_section.sec"));
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
    f.w.sidePanel()->Edit1->setText("10");  // finer than the 50 mm plates
    f.w.commands().run(cmd::Mesh);
    const int plain = m.mesh.NFIB;
    ASSERT_GT(plain, 0);

    f.w.commands().run(cmd::GeneralSetting);
    auto* general = child<QDialog>(&f.w, "GeneralSettingDialog");
    auto* box = child<QCheckBox>(general, "SteelGridBox");
    EXPECT_FALSE(box->isChecked()) << "off unless asked for";
    box->setChecked(true);
    const QByteArray shots = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!shots.isEmpty()) general->grab().save(QString::fromUtf8(shots) + "/general_setting.png");
    button(general, "Okay")->click();
    EXPECT_TRUE(m.settings.STEEL_GRID);
    EXPECT_TRUE(QSettings().value("mesh/steelGrid").toBool());
    EXPECT_EQ(m.mesh.NFIB, 0) << "the mesh of the other setting is gone";
    f.w.commands().run(cmd::Mesh);
    EXPECT_GT(m.mesh.NFIB, plain) << "plates get fibres through their thickness";
    if (!shots.isEmpty()) f.w.grab().save(QString::fromUtf8(shots) + "/steel_grid_mesh.png");

    // A new window starts with the kept setting; turned off, the plain mesh comes back.
    Fixture g;
    EXPECT_TRUE(g.w.model().settings.STEEL_GRID);
    f.w.commands().run(cmd::GeneralSetting);
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
    button(general, "Okay")->click();
    EXPECT_FALSE(QSettings().value("mesh/steelGrid").toBool());
    f.w.commands().run(cmd::Mesh);
    EXPECT_EQ(m.mesh.NFIB, plain);
}

TEST(DesignCode, ChoosingACodeConvertsTheSectionItsGradeListsAndBack) {
    CodeFixture f;
    SectionModel& m = f.w.model();
    QComboBox* concrete = f.w.sidePanel()->ComboBox2;
    const QString ownFirst = concrete->itemText(0);
    f.choose(CodeId::Ec2, "AlphaCcBox", 1);
    EXPECT_EQ(sectionCode(m), CodeId::Ec2);
    EXPECT_EQ(concrete->itemText(0), "C12/15");
    EXPECT_EQ(concrete->count(), m.document.NCONCMAT);
    const TMAT& c = m.document.CONC_MAT[static_cast<std::size_t>(m.document.USE_CONC) + 1];
    EXPECT_EQ(concrete->currentText().toStdString(), c.NAME);
    EXPECT_NEAR(c.FC, 0.85 * c.FCU / EC2_GAMMA_C, 1e-9) << "fcd follows alpha_cc";
    EXPECT_EQ(f.prompts.informations.size(), 1) << "the grades chosen, in one message";

    f.choose(CodeId::Aci318, "TiesBox", 1);
    EXPECT_EQ(concrete->itemText(0), "FC20");
    EXPECT_EQ(m.document.TIES, Ties::Spiral);
    f.w.commands().run(cmd::GeneralSetting);
    EXPECT_EQ(child<QComboBox>(f.general, "ComboBox1")->currentIndex(), 3) << "the section's";
    EXPECT_FALSE(child<QComboBox>(f.general, "AlphaCcBox")->isEnabled());
    shoot(f.general->grab().toImage(), "general_setting_codes.png");
    f.w.commands().run(cmd::Mesh);
    f.w.commands().run(cmd::Analysis);
    auto* analysis = child<AnalysisDialog>(&f.w, "AnalysisDialog");
    analysis->runPm();
    shoot(analysis->picture(), "aci_pm_chart.png");
    analysis->compareCodes();  // the three codes' curves on one chart
    EXPECT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
    shoot(analysis->picture(), "code_comparison.png");

    // GR420 bars: every bar grade of BS-8110 is stronger; GR550 ones take STEEL1.
    m.document.USE_REBAR = 1;
    f.w.sidePanel()->ComboBox3->setCurrentIndex(1);
    f.choose(CodeId::Bs8110);
    EXPECT_EQ(sectionCode(m), CodeId::Bs8110);
    EXPECT_EQ(concrete->itemText(0), ownFirst) << "the program's own lists again";
}

TEST(DesignCode, StrainLimitAndMinimumEccentricityAreKeptAndMarkRaisedLoads) {
    CodeFixture f;
    SectionModel& m = f.w.model();
    EXPECT_EQ(m.settings.STRAIN_LIMIT, StrainLimit::Control) << "the default";
    f.choose(CodeId::HkCop2013, "StrainLimitBox", 1);
    EXPECT_EQ(m.settings.STRAIN_LIMIT, StrainLimit::Code);
    f.w.commands().run(cmd::Loading);
    auto* load = child<QDialog>(&f.w, "LoadDialog");
    child<QCheckBox>(load, "MinEccBox")->setChecked(true);
    EXPECT_TRUE(m.settings.CODE_MIN_ECC);
    {
        CodeFixture g;  // a new window starts with both
        EXPECT_EQ(g.w.model().settings.STRAIN_LIMIT, StrainLimit::Code);
        EXPECT_TRUE(g.w.model().settings.CODE_MIN_ECC);
    }
    // The check marks the combination the code's minimum raised (a small moment).
    m.document.FORCE = {TFORCE{}, TFORCE{-3000, 1, 0, "SMALL", 0},
                        TFORCE{-3000, 900, 900, "BIG", 0}};
    m.document.NFORCE = 2;
    f.w.commands().run(cmd::Mesh);
    button(load, "Check Member")->click();
    auto* table = child<QTableWidget>(load, "StringGrid1");
    EXPECT_FALSE(table->item(1, 1)->toolTip().isEmpty());
    EXPECT_TRUE(table->item(2, 1)->toolTip().isEmpty());
    shoot(load->grab().toImage(), "load_dialog_min_ecc.png");
    QSettings().remove("analysis/strainLimit");  // later tests start from the defaults
    QSettings().remove("check/codeMinEccentricity");
}
