// The unsaved-changes mark, the save question, the caption, "Recent Files" and the file named
// on the command line, with every box answered from a script.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>

#include "app/command_map.h"
#include "app/main_window.h"
#include "app/recent_files.h"
#include "app/section_view_widget.h"
#include "app/side_panel.h"
#include "app/user_prompts.h"
#include "model/section_file.h"
#include "model/text_file.h"
#include "scripted_prompts.h"

using namespace qav;

namespace {
const QString kExample = QStringLiteral(QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec");
const QString kDxf = QStringLiteral(QAVSEC_TEST_DATA "/r12_polyline_section.dxf");
const QString kCaption = QStringLiteral("QAV Section v1.0 (2022-03-14)");

struct Fixture {
    QTemporaryDir dir;
    MainWindow w;
    ScriptedPrompts prompts;
    Fixture() {
        w.setPrompts(&prompts);
        w.show();
    }
    QString temp(const QString& name) const { return dir.filePath(name); }
    void open(const QString& path = kExample) {
        prompts.openPath = path;
        w.commands().run(cmd::Open);
    }
    // A change the file holds: one bar more, through the rebar tool's own operation.
    void addBar() {
        w.runCommand([&] { ADD_SINGLE_REBAR(w.model(), 0, 0, 16); });
    }
};
}  // namespace

TEST(UnsavedChanges, CommandsMarkOnlyWhatTheFileHolds) {
    Fixture f;
    EXPECT_FALSE(f.w.isModified());
    EXPECT_EQ(f.w.windowTitle(), kCaption);
    f.open();
    EXPECT_FALSE(f.w.isModified());
    EXPECT_EQ(f.w.windowTitle(), kCaption + " - rectangular_column.sec");

    // Meshing, zooming and deleting the mesh change nothing that saving writes.
    for (const char* c : {cmd::Mesh, cmd::ZoomIn, cmd::Fit, cmd::DeleteMesh}) {
        f.w.commands().run(c);
        EXPECT_FALSE(f.w.isModified()) << c;
    }
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();

    // Typing in the mesh size box is a change; typing the old text back undoes it.
    QLineEdit* box = f.w.sidePanel()->Edit1;
    const QString old = box->text();
    box->setText("37");
    emit box->textEdited("37");
    EXPECT_TRUE(f.w.isModified());
    EXPECT_EQ(f.w.windowTitle(), kCaption + " - rectangular_column.sec*");
    box->setText(old);
    emit box->textEdited(old);
    EXPECT_FALSE(f.w.isModified());

    // A rebar edit is a change; Save writes it and clears the mark; the caption takes the new name.
    f.addBar();
    EXPECT_TRUE(f.w.isModified());
    f.prompts.savePath = f.temp("copy.sec");
    f.w.commands().run(cmd::Save);
    EXPECT_EQ(f.prompts.saveDefaults.value(0), QFileInfo(kExample).absoluteFilePath())
        << "Save offers the open file";
    EXPECT_FALSE(f.w.isModified());
    EXPECT_EQ(f.w.filePath(), f.temp("copy.sec"));
    EXPECT_EQ(f.w.windowTitle(), kCaption + " - copy.sec");

    // "New" asks its own question only, and leaves an untitled section without changes.
    f.addBar();
    f.prompts.answers = {true};
    f.w.commands().run(cmd::New);
    EXPECT_EQ(f.prompts.confirmations, QStringList{"Are You Sure to clear the Section??"});
    EXPECT_TRUE(f.prompts.saveQuestions.isEmpty());
    EXPECT_FALSE(f.w.isModified());
    EXPECT_EQ(f.w.filePath(), "");
    EXPECT_EQ(f.w.windowTitle(), kCaption);
    f.addBar();
    EXPECT_EQ(f.w.windowTitle(), kCaption + " - Untitled*");
}

TEST(UnsavedChanges, ABarPlacedWithTheMouseIsAChange) {
    // The mouse tools change the model outside any command: the view's own notice counts too.
    Fixture f;
    f.open();
    f.w.commands().run(cmd::AddSingleRebar);
    QWidget* view = f.w.view();
    const QPoint p(view->width() / 2, view->height() / 2);
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, QPointF(p), QPointF(view->mapToGlobal(p)), Qt::LeftButton,
                      t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(view, &e);
    }
    EXPECT_EQ(f.w.model().document.NBAR, 13);
    EXPECT_TRUE(f.w.isModified());
}

TEST(UnsavedChanges, CloseAsksAndCancelKeepsEverything) {
    Fixture f;
    f.open();
    f.addBar();
    const int bars = f.w.model().document.NBAR;

    f.prompts.saveAnswers = {SaveAnswer::Cancel};
    EXPECT_FALSE(f.w.close());
    EXPECT_EQ(f.prompts.saveQuestions, QStringList{"rectangular_column.sec"});
    EXPECT_TRUE(f.w.isVisible());
    EXPECT_EQ(f.w.model().document.NBAR, bars);
    EXPECT_TRUE(f.w.isModified());

    // Save on a section without a file asks for a name; cancelling that dialog cancels the close.
    f.prompts.answers = {true};
    f.w.commands().run(cmd::New);
    f.addBar();
    f.prompts.saveAnswers = {SaveAnswer::Save};
    f.prompts.savePath.clear();
    EXPECT_FALSE(f.w.close());
    EXPECT_EQ(f.prompts.saveQuestions.value(1), "Untitled");

    // Save with a name writes the file, then the window closes.
    f.prompts.saveAnswers = {SaveAnswer::Save};
    f.prompts.savePath = f.temp("saved.sec");
    EXPECT_TRUE(f.w.close());
    SectionModel back;
    openSectionFile(back, f.temp("saved.sec").toStdString());
    EXPECT_EQ(back.document.NBAR, 1);
}

TEST(UnsavedChanges, ExitAndDiscard) {
    Fixture f;
    f.addBar();
    QAction* exit = f.w.findChild<QAction*>("ExitAction");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), "Exit");
    f.prompts.saveAnswers = {SaveAnswer::Cancel};
    exit->trigger();
    EXPECT_TRUE(f.w.isVisible());
    f.prompts.saveAnswers = {SaveAnswer::Discard};
    exit->trigger();
    EXPECT_FALSE(f.w.isVisible());
    EXPECT_EQ(f.prompts.saveQuestions.size(), 2);

    // Without changes nothing is asked.
    Fixture g;
    EXPECT_TRUE(g.w.close());
    EXPECT_TRUE(g.prompts.saveQuestions.isEmpty());
}

TEST(UnsavedChanges, OpenAndDxfImportAskFirst) {
    Fixture f;
    f.open();
    f.addBar();
    const int bars = f.w.model().document.NBAR;

    // Cancel: nothing is opened or imported, the section and its file stay.
    f.prompts.saveAnswers = {SaveAnswer::Cancel, SaveAnswer::Cancel};
    f.open(f.temp("missing.sec"));
    f.prompts.openPath = kDxf;
    f.w.commands().run(cmd::DxfImport);
    EXPECT_EQ(f.prompts.saveQuestions.size(), 2);
    EXPECT_TRUE(f.prompts.errors.isEmpty());
    EXPECT_EQ(f.w.model().document.NBAR, bars);
    EXPECT_EQ(f.w.filePath(), QFileInfo(kExample).absoluteFilePath());

    // Discard: the DXF replaces the section, which now belongs to no file and is unsaved.
    f.prompts.saveAnswers = {SaveAnswer::Discard};
    f.w.commands().run(cmd::DxfImport);
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
    EXPECT_EQ(f.w.filePath(), "");
    EXPECT_TRUE(f.w.isModified());
    EXPECT_EQ(f.w.windowTitle(), kCaption + " - Untitled*");

    // Save: written to the file last used, then the other file opens.
    f.open();
    f.addBar();
    const QString copy = f.temp("copy.sec");
    QFile::copy(kExample, copy);
    f.open(copy);
    f.addBar();
    f.prompts.saveAnswers = {SaveAnswer::Save};
    f.open(kExample);
    SectionModel back;
    openSectionFile(back, copy.toStdString());
    EXPECT_EQ(back.document.NBAR, bars) << "the copy was saved with its extra bar";
    EXPECT_EQ(f.w.filePath(), QFileInfo(kExample).absoluteFilePath());
    EXPECT_FALSE(f.w.isModified());
}

TEST(RecentFiles, NewestFirstEightAtMostKeptWithTheSettings) {
    RecentFiles r;
    for (int i = 1; i <= 9; ++i) r.add(QStringLiteral("/tmp/s%1.sec").arg(i));
    ASSERT_EQ(r.paths().size(), RecentFiles::kMaxFiles);
    EXPECT_EQ(r.paths().front(), "/tmp/s9.sec");
    EXPECT_EQ(r.paths().back(), "/tmp/s2.sec");
    r.add("/tmp/s5.sec");
    EXPECT_EQ(r.paths().front(), "/tmp/s5.sec");
    EXPECT_EQ(r.paths().count("/tmp/s5.sec"), 1);
    r.add("relative.sec");
    EXPECT_TRUE(QFileInfo(r.paths().front()).isAbsolute());

    QSettings settings;
    r.store(settings);
    RecentFiles back;
    back.load(settings);
    EXPECT_EQ(back.paths(), r.paths());
    settings.setValue("RecentFiles", QStringList{"/a.sec", "", "/a.sec", "/b.sec"});
    back.load(settings);
    EXPECT_EQ(back.paths(), (QStringList{"/a.sec", "/b.sec"})) << "blanks and repeats dropped";
}

TEST(RecentFiles, MenuOpensAndDropsAMissingFileWithAMessage) {
    QStringList listed;
    {
        Fixture f;
        const QString gone = f.temp("gone.sec");
        QFile::copy(kExample, gone);
        f.open(gone);
        f.open(kExample);
        QMenu* menu = f.w.recentFilesMenu();
        ASSERT_NE(menu, nullptr);
        emit menu->aboutToShow();
        ASSERT_GE(menu->actions().size(), 2);
        EXPECT_EQ(menu->actions()[0]->text(), "&1 rectangular_column.sec");
        EXPECT_EQ(menu->actions()[1]->text(), "&2 gone.sec");

        QFile::remove(gone);
        menu->actions()[1]->trigger();
        EXPECT_EQ(f.prompts.informations.value(0),
                  QStringLiteral(
                      "The file %1 no longer exists; it was removed from the Recent Files list.")
                      .arg(gone));
        EXPECT_FALSE(f.w.recentFiles().paths().contains(gone));
        EXPECT_EQ(f.w.filePath(), QFileInfo(kExample).absoluteFilePath());

        // An entry that exists opens (after the save question when there are changes).
        f.addBar();
        f.prompts.saveAnswers = {SaveAnswer::Discard};
        menu->actions()[0]->trigger();
        EXPECT_EQ(f.prompts.saveQuestions.size(), 1);
        EXPECT_FALSE(f.w.isModified());
        listed = f.w.recentFiles().paths();
    }
    MainWindow next;  // the next run starts with the same list
    EXPECT_EQ(next.recentFiles().paths(), listed);
}

TEST(StartupFile, OpensOrLeavesTheWindowEmpty) {
    Fixture f;
    const QString bad = f.temp("bad.sec");
    writeTextLines(bad.toStdString(),
                   {"GEN START", "USE_CONC,2", "GEN END", "POLY START", "NPOINT,4", "PT,0,abc,0",
                    "PT,1,0,0", "PT,2,0,0", "PT,3,0,0", "PT,4,0,0", "POLY END"});
    f.w.openStartupFile(bad);
    EXPECT_EQ(f.prompts.errors,
              QStringList{bad + ", line 6: 'abc' is not a valid floating point value"});
    EXPECT_EQ(f.w.model().document.USE_CONC, 0) << "nothing of the file was kept";
    EXPECT_FALSE(f.w.isModified());
    EXPECT_EQ(f.w.windowTitle(), kCaption);

    f.w.openStartupFile(kExample);
    EXPECT_EQ(f.prompts.errors.size(), 1);
    EXPECT_EQ(f.w.model().document.NBAR, 12);
    EXPECT_EQ(f.w.windowTitle(), kCaption + " - rectangular_column.sec");
}

TEST(FileDialogs, StartInTheFolderLastUsed) {
    QTemporaryDir dir;
    const QString inner = dir.filePath("inner");
    ASSERT_TRUE(QDir().mkpath(inner));
    rememberFileFolder(inner + "/column.sec");
    EXPECT_EQ(lastFileFolder(), QFileInfo(inner).absoluteFilePath());
    rememberFileFolder("");  // a cancelled dialog
    EXPECT_EQ(lastFileFolder(), QFileInfo(inner).absoluteFilePath());
    // A folder that has gone since is not offered.
    ASSERT_TRUE(QDir(inner).removeRecursively());
    EXPECT_EQ(lastFileFolder(), "");
}
