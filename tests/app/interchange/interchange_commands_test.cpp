#include "app/interchange/interchange_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "../scripted_prompts.h"
#include "app/command_map.h"
#include "app/interchange/opensees_tcl_dialog.h"
#include "app/main_window.h"
#include "interchange/opensees_export.h"
#include "model/section_state.h"
#include "model/text_file.h"

using namespace qav;

namespace {

const QString kExample = QStringLiteral(QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec");

// Records the filter of every file dialog besides answering it.
struct FilterPrompts : ScriptedPrompts {
    QStringList filters;
    QString openFileName(const QString& f) override {
        filters << f;
        return openPath;
    }
    QString saveFileName(const QString& f, const QString& defaultName = QString()) override {
        filters << f;
        saveDefaults << defaultName;
        return savePath;
    }
};

struct Fixture {
    MainWindow w;
    FilterPrompts prompts;
    QTemporaryDir dir;
    Fixture() {
        w.setPrompts(&prompts);
        installInterchangeCommands(w);
    }
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    void open() {
        prompts.openPath = kExample;
        w.commands().run(cmd::Open);
    }
    OpenSeesTclDialog* opensees() const {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<OpenSeesTclDialog*>(t); d && d->isVisible()) return d;
        return nullptr;
    }
};

}  // namespace

TEST(InterchangeCommands, DxfExportThenImport) {
    Fixture f;
    f.open();
    f.prompts.savePath = QString::fromStdString(f.path("s.dxf"));
    f.w.commands().run(cmd::DxfExport);
    CLEAR_MODEL(f.w.model());
    f.prompts.openPath = f.prompts.savePath;
    f.w.commands().run(cmd::DxfImport);
    EXPECT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("\n").toStdString();
    EXPECT_EQ(f.prompts.filters.mid(1),
              (QStringList{"AutoCAD_DXF (*.dxf)", "AutoCAD_DXF (*.dxf)"}));
    EXPECT_EQ(f.w.model().document.NCONC_PT, 8);
    EXPECT_EQ(f.w.model().document.NCOVER_PT, 8);
    EXPECT_EQ(f.w.model().document.NBAR, 12);
}

TEST(InterchangeCommands, FailedImportsSayWhyAndKeepTheModel) {
    Fixture f;
    f.open();
    f.prompts.openPath.clear();
    f.w.commands().run(cmd::DxfImport);  // cancelled
    f.prompts.openPath = QString::fromStdString(f.path("missing.dxf"));
    f.w.commands().run(cmd::DxfImport);
    f.w.commands().run(cmd::CadImport);
    ASSERT_EQ(f.prompts.errors.size(), 2);
    EXPECT_TRUE(f.prompts.errors[1].contains("autocad.application.20"));
    EXPECT_EQ(f.prompts.errors[1], noCadApplicationMessage());
    EXPECT_EQ(f.w.model().document.NBAR, 12);
    EXPECT_EQ(f.w.model().document.NCONC_PT, 8);
}

TEST(InterchangeCommands, XtractOpensWithTheLastFilterThenSec) {
    Fixture f;
    f.open();
    f.w.commands().run(cmd::XtractExport);  // cancelled: the filter stays
    f.w.commands().run(cmd::DxfExport);     // cancelled, but the filter is set
    f.prompts.savePath = QString::fromStdString(f.path("x.txt"));
    f.w.commands().run(cmd::XtractExport);
    f.w.commands().run(cmd::XtractExport);
    EXPECT_EQ(f.prompts.filters.mid(1), (QStringList{"SectionModel (*.sec)", "AutoCAD_DXF (*.dxf)",
                                                     "AutoCAD_DXF (*.dxf)", "*.sec (*.sec)"}));
    EXPECT_EQ(readTextLines(f.path("x.txt")).back(), "End_Section");
}

TEST(InterchangeCommands, OpenSeesDialogGeneratesTwiceAndSaves) {
    Fixture f;
    f.w.commands().run(cmd::OpenSees);
    OpenSeesTclDialog* d = f.opensees();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Gen OpenSEES Tcl");
    EXPECT_FALSE(d->isModal());
    EXPECT_EQ(d->textArea()->toPlainText(), "OpenSEES");
    d->generateButton()->click();
    // The lines the export makes, one to a text line.
    QStringList generated;
    for (const std::string& l : GEN_OPENSEES_TCL(f.w.model()))
        generated << QString::fromStdString(l);
    EXPECT_EQ(d->textArea()->toPlainText(), generated.join("\n"));
    SectionModel& m = f.w.model();
    m.mesh.NFIB = 1;
    m.mesh.FIB.resize(2);
    m.mesh.FIB[1].TY = FIB_REBAR;
    m.mesh.FIB[1].X = -250;
    m.mesh.FIB[1].Y = 175.5;
    m.mesh.FIB[1].AREA = 490.874;
    stampMesh(m);  // as though the mesh command had made the fibre
    d->generateButton()->click();
    d->generateButton()->click();
    const QString text = d->textArea()->toPlainText();
    EXPECT_EQ(text.count("section Fiber"), 1) << "the text area is emptied first";
    EXPECT_TRUE(text.contains("\n  fiber -2.50000E+002 1.75500E+002 4.90874E+002 $Rebar1\n}"));

    // "Torsional stiffness GJ" puts its value on the section line.
    d->gjCheck()->setChecked(true);
    d->gjEdit()->setText("2.5e12");
    d->generateButton()->click();
    EXPECT_TRUE(d->textArea()->toPlainText().contains("section Fiber 1 -GJ 2.50000E+012 {\n"));
    d->gjCheck()->setChecked(false);
    d->generateButton()->click();

    d->textArea()->appendPlainText("# edited");
    f.prompts.savePath = QString::fromStdString(f.path("tcl.txt"));
    d->saveButton()->click();
    EXPECT_EQ(f.prompts.filters.last(), "");
    const std::string saved = readTextFile(f.path("tcl.txt"));
    EXPECT_EQ(saved.substr(0, 26), "##Section Gen by QAV-SEC\r\n");
    EXPECT_EQ(saved.substr(saved.size() - 13), "}\r\n# edited\r\n");
    f.prompts.savePath = QString::fromStdString(f.path("no/such/dir/tcl.txt"));
    d->saveButton()->click();
    EXPECT_EQ(f.prompts.errors.size(), 1) << "a file error is shown";
    d->closeButton()->click();
    EXPECT_FALSE(d->isVisible());
}
