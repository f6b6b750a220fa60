// Commands that used to accept nonsense or end without a word: through the command boundary,
// each now says what was wrong in one box and leaves the model as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include "app/command_map.h"
#include "app/main_window.h"
#include "app/panel_bar.h"
#include "scripted_prompts.h"
#include "widget_lookup.h"

using namespace qav;
using qav::test::button;
using qav::test::child;

namespace {
struct Fixture {
    MainWindow w;
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    Fixture() {
        w.setPrompts(&prompts);
        w.commands().run(cmd::BuildTypical);
        button(child<QDialog>(&w, "TForm2"), "Gen Section")->click();
    }
    SectionModel& m() { return w.model(); }
    QString file(const char* name, const QByteArray& bytes) const {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
};
}  // namespace

TEST(SpokenCommands, FilesWithoutASectionAreRefusedAndTheSectionKept) {
    Fixture f;
    const int bars = f.m().document.NBAR;
    f.prompts.openPath = f.file("letter.sec", "Dear user,\nnothing here.\n");
    f.w.commands().run(cmd::Open);
    ASSERT_EQ(f.prompts.errors.size(), 1);
    EXPECT_TRUE(f.prompts.errors[0].contains("is not a section file"))
        << f.prompts.errors[0].toStdString();
    EXPECT_EQ(f.m().document.NBAR, bars);

    f.prompts.openPath = f.file("letter.dxf", "Dear user,\nnothing here.\n");
    f.w.commands().run(cmd::DxfImport);
    ASSERT_EQ(f.prompts.errors.size(), 2);
    EXPECT_TRUE(f.prompts.errors[1].startsWith("No section found in "))
        << f.prompts.errors[1].toStdString();
    EXPECT_EQ(f.m().document.NBAR, bars);
    EXPECT_GT(f.m().document.NCONC_PT, 0);
}

TEST(SpokenCommands, RebarToolsSayWhatSelectionTheyNeed) {
    Fixture f;
    for (const char* command : {cmd::AssignRebar, cmd::DeleteRebars, cmd::AddAlongLine, cmd::AlignX,
                                cmd::AlignY, cmd::AlignDir}) {
        f.prompts.errors.clear();
        f.w.commands().run(command);
        ASSERT_EQ(f.prompts.errors.size(), 1) << command;
        EXPECT_TRUE(f.prompts.errors[0].startsWith(QStringLiteral("\"%1\" needs").arg(command)))
            << f.prompts.errors[0].toStdString();
    }
    f.prompts.errors.clear();
    const int bars = f.m().document.NBAR;
    SELECT_BAR(f.m(), 1);
    f.w.commands().run(cmd::AlignDir);
    EXPECT_EQ(f.prompts.errors.size(), 1) << "three or more needed";
    EXPECT_EQ(f.m().document.NBAR, bars);

    f.w.commands().run(cmd::AddSingleRebar);
    EXPECT_EQ(f.w.statusBar1()->text(1), "Add Singln Point Rebar");

    // The Delete key edits text boxes too: without a selection it deletes no bar and says nothing.
    f.m().view.NSEL_BAR = 0;
    f.prompts.errors.clear();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(&f.w, &key);
    EXPECT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
    EXPECT_EQ(f.m().document.NBAR, bars);
}

TEST(SpokenCommands, AlignmentReportsBarsThatNowCoincide) {
    Fixture f;
    SectionModel& m = f.m();
    // Two bars on one vertical line, aligned onto the horizontal line of a third at the same x.
    ADD_SINGLE_REBAR(m, 0, 100, 20);
    ADD_SINGLE_REBAR(m, 0, 50, 20);
    SELECT_BAR(m, m.document.NBAR);
    SELECT_BAR(m, m.document.NBAR - 1);
    f.w.commands().run(cmd::AlignX);
    EXPECT_TRUE(f.prompts.errors.isEmpty());
    EXPECT_EQ(f.prompts.informations,
              QStringList{"2 of the aligned bars now stand exactly where another bar stands."});
}

TEST(SpokenCommands, NonPhysicalSettingsAreRefusedNamingTheBox) {
    Fixture f;
    f.w.commands().run(cmd::GeneralSetting);
    auto* general = child<QDialog>(&f.w, "GeneralSettingDialog");
    child<QLineEdit>(general, "Edit1")->setText("0");
    button(general, "Okay")->click();
    ASSERT_EQ(f.prompts.errors.size(), 1);
    EXPECT_EQ(f.prompts.errors[0],
              "\"P-M Analysis Axial Force Num of Steps\" must lie within 2 .. 1000000 (it is 0).");
    EXPECT_EQ(f.m().settings.NPM, 30);
    EXPECT_TRUE(general->isVisible()) << "left open to mend the box";

    f.w.commands().run(cmd::MaterialSetting);
    auto* material = child<QDialog>(&f.w, "MaterialDialog");
    const TMAT before = f.m().document.CONC_MAT[1];
    child<QLineEdit>(material, "Edit2")->setText("0");
    button(material, "Modify")->click();
    ASSERT_EQ(f.prompts.errors.size(), 2);
    EXPECT_EQ(f.prompts.errors[1], "\"Elastic Mudulus E (MPa)\" must be greater than 0 (it is 0).");
    EXPECT_EQ(f.m().document.CONC_MAT[1].EC, before.EC);

    // A builder size beyond the bound.
    f.w.commands().run(cmd::BuildOpening);
    auto* opening = child<QDialog>(&f.w, "TForm20");
    child<QLineEdit>(opening, "KEdit1")->setText("1e308");
    button(opening, "Gen Section Opening")->click();
    ASSERT_EQ(f.prompts.errors.size(), 3);
    EXPECT_TRUE(f.prompts.errors[2].startsWith("Section Dim B must not exceed 1000000 mm"))
        << f.prompts.errors[2].toStdString();
    EXPECT_EQ(f.m().document.NOPEN_SEC, 0);
}
