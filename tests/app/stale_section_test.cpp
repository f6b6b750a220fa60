// Whatever command changes the section after it was meshed, nothing analyses the old fibres and
// nothing on screen keeps showing results of a section that is gone: every command runs through
// the window's command boundary, which brings the mesh and the results up to date.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>

#include "app/analysis/analysis_dialog.h"
#include "app/analysis/section_state_dialog.h"
#include "app/command_map.h"
#include "app/main_window.h"
#include "app/panel_bar.h"
#include "app/side_panel.h"
#include "interchange/dxf_export.h"
#include "model/section_file.h"
#include "model/section_state.h"
#include "model/text_file.h"
#include "scripted_prompts.h"
#include "widget_lookup.h"

using namespace qav;
using qav::test::button;
using qav::test::child;

namespace {
// Saved only when asked for, to look at the windows as a user would.
void saveScreenshot(QWidget* w, const QString& file) {
    const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w->grab().save(QString::fromUtf8(dir) + "/" + file);
}

struct Fixture {
    MainWindow w;
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    AnalysisDialog* analysis = nullptr;

    Fixture() {
        w.setPrompts(&prompts);
        w.commands().run(cmd::BuildTypical);
        button(child<QDialog>(&w, "TForm2"), "Gen Section")->click();
        w.commands().run(cmd::Mesh);
        w.commands().run(cmd::Analysis);
        analysis = child<AnalysisDialog>(&w, "AnalysisDialog");
    }
    SectionModel& m() { return w.model(); }
    QString memo() const { return child<QPlainTextEdit>(analysis, "Memo1")->toPlainText(); }
    QString path(const char* name) const { return dir.filePath(name); }
    // A section B written as a file, to be opened or imported.
    QString sectionFileB() {
        SectionModel b;
        writePoints(b, {{-300, -300}, {300, -300}, {300, 300}, {-300, 300}});
        std::vector<std::string> lines;
        SAVE_QAV_SEC_DATA(b, lines);
        writeTextLines(path("b.sec").toStdString(), lines);
        return path("b.sec");
    }
    static void writePoints(SectionModel& b, std::vector<TPOS> corners) {
        corners.push_back(corners.front());
        b.document.CONC_PT = corners;
        b.document.NCONC_PT = static_cast<int32_t>(corners.size()) - 1;
    }
};
}  // namespace

TEST(StaleSection, SectionBAfterMeshingAShowsBOrRefusesNeverA) {
    struct Case {
        const char* name;
        std::function<void(Fixture&)> change;
        bool geometry;  // else only grades or materials changed: the fibres are refreshed
    };
    const Case cases[] = {
        {"File Open",
         [](Fixture& f) {
             f.prompts.openPath = f.sectionFileB();
             f.w.commands().run(cmd::Open);
         },
         true},
        {"New",
         [](Fixture& f) {
             f.prompts.answers = {true};
             f.w.commands().run(cmd::New);
         },
         true},
        {"steel builder",
         [](Fixture& f) {
             f.w.commands().run(cmd::BuildSteel);
             button(child<QDialog>(&f.w, "TForm13"), "Gen Section")->click();
         },
         true},
        {"Rec SRC Column over the old fibres",
         [](Fixture& f) {
             f.w.commands().run(cmd::BuildComposite);
             auto* d = child<QDialog>(&f.w, "TForm18");
             child<QComboBox>(d, "ComboBox1")->setCurrentIndex(3);
             button(d, "Input Data")->click();
             button(d, "Gen Section")->click();
         },
         true},
        {"opening",
         [](Fixture& f) {
             f.w.commands().run(cmd::BuildOpening);
             button(child<QDialog>(&f.w, "TForm20"), "Gen Section Opening")->click();
         },
         true},
        {"DXF import",
         [](Fixture& f) {
             SectionModel b;
             Fixture::writePoints(b, {{-200, -200}, {200, -200}, {200, 200}, {-200, 200}});
             exportDxfFile(b, f.path("b.dxf").toStdString());
             f.prompts.openPath = f.path("b.dxf");
             f.w.commands().run(cmd::DxfImport);
         },
         true},
        {"Delete Selected Rebars",
         [](Fixture& f) {
             SELECT_BAR(f.m(), 1);
             f.w.commands().run(cmd::DeleteRebars);
         },
         true},
        {"Aligning Rebars along X",
         [](Fixture& f) {
             SELECT_BAR(f.m(), 1);
             SELECT_BAR(f.m(), 6);
             f.w.commands().run(cmd::AlignX);
         },
         true},
        {"Concrete Grade list",
         [](Fixture& f) {
             QComboBox* grade = f.w.sidePanel()->ComboBox2;
             grade->setCurrentIndex(12);
             emit grade->activated(12);  // as the user's pick
         },
         false},
        {"Concrete and Steel Material",
         [](Fixture& f) {
             f.w.commands().run(cmd::MaterialSetting);
             auto* d = child<QDialog>(&f.w, "MaterialDialog");
             const int grade = f.m().document.USE_CONC;
             child<QComboBox>(d, "ComboBox2")->setCurrentIndex(grade);
             emit child<QComboBox>(d, "ComboBox2")->activated(grade);
             child<QLineEdit>(d, "Edit3")->setText("50");  // Fc of the grade in use
             button(d, "Modify")->click();
             d->hide();
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.analysis->runPm();
        ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
        const QString curveA = f.memo();
        ASSERT_FALSE(curveA.isEmpty());
        const double pmaxA = f.m().results.PMAX;
        const QString shot = QString(c.name).replace(' ', '_');
        saveScreenshot(f.analysis, "stale_before_" + shot + ".png");

        c.change(f);
        saveScreenshot(f.analysis, "stale_after_" + shot + ".png");
        saveScreenshot(&f.w, "stale_window_" + shot + ".png");
        EXPECT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
        EXPECT_TRUE(f.memo().isEmpty()) << "the listing of the old section stays on screen";
        EXPECT_TRUE(f.m().results.PM_P.empty());

        f.analysis->runPm();
        if (c.geometry) {
            EXPECT_EQ(f.m().mesh.NFIB, 0);
            EXPECT_EQ(f.w.statusBar1()->text(3), "0") << "the view still counts the old fibres";
            EXPECT_EQ(f.w.sidePanel()->Edit2->text(), "")
                << "Section Properties of the old section";
            ASSERT_EQ(f.prompts.errors.size(), 1);
            EXPECT_TRUE(f.prompts.errors.front().contains("mesh the section"))
                << f.prompts.errors.front().toStdString();
            EXPECT_TRUE(f.memo().isEmpty());
            continue;
        }
        ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
        EXPECT_EQ(meshState(f.m()), MeshState::Current);
        EXPECT_NE(f.memo(), curveA);
        EXPECT_GT(f.m().results.PMAX, pmaxA) << "a stronger concrete carries more";
        // The refreshed fibres give what meshing again gives.
        const QString refreshed = f.memo();
        f.w.commands().run(cmd::Mesh);
        f.analysis->runPm();
        EXPECT_EQ(f.memo(), refreshed);
    }
}

TEST(StaleSection, ViewEditsAndTheMeshCommandClearOnlyWhatIsStale) {
    Fixture f;
    f.analysis->runPm();
    const QString curve = f.memo();
    // Commands that change no section keep the mesh and the results.
    for (const char* command : {cmd::Redraw, cmd::Fit, cmd::ZoomIn, cmd::Save}) {
        f.prompts.savePath = f.path("a.sec");
        f.w.commands().run(command);
        EXPECT_EQ(f.memo(), curve) << command;
        EXPECT_GT(f.m().mesh.NFIB, 0) << command;
    }
    // Meshing again makes another mesh: the curve of the earlier one goes.
    f.w.commands().run(cmd::Mesh);
    EXPECT_TRUE(f.memo().isEmpty());
    EXPECT_GT(f.m().mesh.NFIB, 0);
    f.analysis->runPm();
    EXPECT_EQ(f.memo(), curve);
    // A grade of a kind the section does not have changes nothing.
    QComboBox* steel = f.w.sidePanel()->ComboBox1;
    steel->setCurrentIndex(3);
    emit steel->activated(3);
    EXPECT_EQ(f.memo(), curve);

    // The state of a typed load goes with the mesh it was found on.
    f.w.commands().run(cmd::SectionState);
    auto* state = child<SectionStateDialog>(&f.w, "SectionStateDialog");
    child<QPushButton>(state, "ShowButton")->click();
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
    ASSERT_TRUE(state->state().has_value());
    ADD_SINGLE_REBAR(f.m(), 0, 0, 32);
    f.w.modelChanged();  // as the view reports a bar placed with the mouse
    EXPECT_FALSE(state->state().has_value());
    EXPECT_TRUE(f.memo().isEmpty());
    EXPECT_EQ(f.m().mesh.NFIB, 0);
}
