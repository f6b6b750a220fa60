#include "app/interchange/interchange_commands.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "app/interchange/opensees_tcl_dialog.h"
#include "model/text_file.h"

using namespace qav;
using namespace qav::app;

namespace {

// Answers every dialog from a script and records what was asked.
struct ScriptedUi {
    QString answer;
    QStringList asked;  // "open <filter>" / "save <filter>"
    QStringList messages;
    InterchangeUi ui() {
        return {[this](QWidget*, const QString&, const QString& f) {
                    asked << "open " + f;
                    return answer;
                },
                [this](QWidget*, const QString&, const QString& f) {
                    asked << "save " + f;
                    return answer;
                },
                [this](QWidget*, const QString& text) { messages << text; }};
    }
};

QString temp(const char* name) {
    return QString::fromStdString(
        (std::filesystem::temp_directory_path() / (std::string("qavsec_app_") + name)).string());
}

SectionModel squareWithBar() {
    SectionModel m;
    m.NCONC_PT = 4;
    m.CONC_PT = {{-100, -100}, {100, -100}, {100, 100}, {-100, 100}, {}};
    ADD_SINGLE_REBAR(m, -250, 175.5, 25);
    return m;
}

}  // namespace

TEST(InterchangeCommands, DxfExportThenImport) {
    ScriptedUi s;
    s.answer = temp("cmd.dxf");
    QString filter = "SectionModel|*.sec";
    ASSERT_TRUE(exportToDxfFile(squareWithBar(), nullptr, filter, s.ui()));
    EXPECT_EQ(filter, "AutoCAD_DXF|*.dxf");
    SectionModel m;
    EXPECT_TRUE(importFromDxfFile(m, nullptr, s.ui()));
    EXPECT_EQ(s.asked, (QStringList{"save AutoCAD_DXF|*.dxf", "open AutoCAD_DXF|*.dxf"}));
    EXPECT_EQ(m.NCONC_PT, 4);
    EXPECT_EQ(m.NBAR, 1);
    EXPECT_TRUE(s.messages.isEmpty());
    std::filesystem::remove(s.answer.toStdString());
}

TEST(InterchangeCommands, CancelAndFailureChangeNothing) {
    ScriptedUi s;
    SectionModel m = squareWithBar();
    EXPECT_FALSE(importFromDxfFile(m, nullptr, s.ui())) << "cancelled";
    s.answer = temp("not_there.dxf");
    EXPECT_FALSE(importFromDxfFile(m, nullptr, s.ui()));
    EXPECT_EQ(s.messages.size(), 1);
    EXPECT_EQ(m.NBAR, 1);
    EXPECT_EQ(m.NCONC_PT, 4);
}

TEST(InterchangeCommands, CadImportSaysWhatItNeedsAndChangesNothing) {
    ScriptedUi s;
    SectionModel m = squareWithBar();
    EXPECT_FALSE(importSectionFromCad(m, nullptr, s.ui()));
    ASSERT_EQ(s.messages.size(), 1);
    EXPECT_TRUE(s.messages[0].contains("autocad.application.20"));
    EXPECT_TRUE(s.messages[0].contains("unchanged"));
    EXPECT_EQ(m.NBAR, 1);
    EXPECT_EQ(m.NCONC_PT, 4);
}

TEST(InterchangeCommands, XtractUsesTheCurrentFilterThenSec) {
    ScriptedUi s;
    QString filter = "AutoCAD_DXF|*.dxf";
    EXPECT_FALSE(exportXtractFile(squareWithBar(), nullptr, filter, s.ui()));
    EXPECT_EQ(filter, "AutoCAD_DXF|*.dxf") << "a cancelled export leaves the filter";
    s.answer = temp("x.txt");
    ASSERT_TRUE(exportXtractFile(squareWithBar(), nullptr, filter, s.ui()));
    EXPECT_EQ(filter, "*.sec|*.sec");
    EXPECT_EQ(s.asked, (QStringList{"save AutoCAD_DXF|*.dxf", "save AutoCAD_DXF|*.dxf"}));
    EXPECT_EQ(readTextLines(s.answer.toStdString()).back(), "End_Section");
    std::filesystem::remove(s.answer.toStdString());
    EXPECT_EQ(qtFileFilter("AutoCAD_DXF|*.dxf"), "AutoCAD_DXF (*.dxf)");
    EXPECT_EQ(qtFileFilter(""), "");
}

TEST(OpenSeesTclDialogTest, GenerateTwiceAndSave) {
    ScriptedUi s;
    SectionModel m;
    OpenSeesTclDialog d(m, nullptr, s.ui());
    EXPECT_EQ(d.windowTitle(), "Gen OpenSEES Tcl");
    EXPECT_EQ(d.textArea()->toPlainText(), "OpenSEES");
    const QString heading =
        "##Section Gen by QAV-SEC\nset Conc1 1\nset Conc2 2\nset Steel1 3\nset Rebar1 4\nsection "
        "Fiber 1 {\n}";
    d.generateButton()->click();
    EXPECT_EQ(d.textArea()->toPlainText(), heading);
    m.NFIB = 1;
    m.FIB.resize(2);
    m.FIB[1].TY = FIB_REBAR;
    m.FIB[1].X = -250;
    m.FIB[1].Y = 175.5;
    m.FIB[1].AREA = 490.874;
    d.generateButton()->click();
    d.generateButton()->click();
    const QString text = d.textArea()->toPlainText();
    EXPECT_EQ(text.count("section Fiber"), 1) << "the text area is emptied first";
    EXPECT_TRUE(text.contains("\n  fiber -2.50000E+002 1.75500E+002 4.90874E+002 $Rebar1\n}"));

    s.answer = temp("tcl.txt");
    d.textArea()->appendPlainText("# edited");
    ASSERT_TRUE(d.saveText());
    EXPECT_EQ(s.asked.last(), "save ");
    const auto saved = readTextFile(s.answer.toStdString());
    EXPECT_EQ(saved.substr(0, 26), "##Section Gen by QAV-SEC\r\n");
    EXPECT_EQ(saved.substr(saved.size() - 13), "}\r\n# edited\r\n");
    std::filesystem::remove(s.answer.toStdString());
    d.show();
    d.closeButton()->click();
    EXPECT_FALSE(d.isVisible());
}
