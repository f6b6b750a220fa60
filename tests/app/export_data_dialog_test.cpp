// The "Export Data" dialog as a user drives it: the tree, the heading and the grid, the CSV
// file, and the workbooks written and handed to the spreadsheet program.
#include "app/reports/export_data_dialog.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "app/command_map.h"
#include "app/main_window.h"
#include "mesh/mesh_command.h"
#include "model/text_file.h"
#include "scripted_prompts.h"

using namespace qav;

namespace {

QString unzipPart(const QString& zip, const QString& part) {
    QProcess p;
    p.start("unzip", {"-p", zip, part});
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Fixture {
    MainWindow w;
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    ExportDataDialog* dialog = nullptr;
    QStringList opened;
    bool canOpen = true;

    Fixture() {
        w.setPrompts(&prompts);
        w.openSection(QStringLiteral(QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec"));
        w.model().settings.NPM = 4;
        w.model().settings.NMM = 8;
        w.model().document.MESH_SIZE_TEXT = "200";
        NullMessages none;
        FIBER_SECTION_MESH(w.model(), none);
        w.commands().run(cmd::Table);
        dialog = w.findChild<ExportDataDialog*>();
        dialog->setWorkbookOpener([this](const QString& path) {
            opened << path;
            return canOpen;
        });
    }
    QTreeWidgetItem* item(const QString& text) {
        auto items = dialog->findChild<QTreeWidget*>("TreeView1")
                         ->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(items.size(), 1) << text.toStdString();
        return items.value(0);
    }
    void choose(const QString& text) {
        dialog->findChild<QTreeWidget*>("TreeView1")->setCurrentItem(item(text));
    }
    void press(const QString& caption) {
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            if (b->text() == caption) return b->click();
        ADD_FAILURE() << "no button " << caption.toStdString();
    }
    QString heading() const { return dialog->findChild<QLabel*>("Label2")->text(); }
    QString path(const char* name) const { return dir.filePath(name); }
};

}  // namespace

TEST(ExportDataDialog, ShownByTheTableCommandWithItsTree) {
    Fixture f;
    ASSERT_NE(f.dialog, nullptr);
    EXPECT_TRUE(f.dialog->isVisible());
    EXPECT_EQ(f.dialog->windowTitle(), "Export Data");
    EXPECT_EQ(f.heading(), "Information");
    auto* tree = f.dialog->findChild<QTreeWidget*>("TreeView1");
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 6);
    EXPECT_EQ(tree->topLevelItem(1)->childCount(), 4);
    EXPECT_EQ(tree->topLevelItem(2)->child(3)->text(0), "Mx-My Curve");
}

TEST(ExportDataDialog, ChoosingEntriesFillsHeadingAndGrid) {
    struct Case {
        const char* entry;
        int rows, cols;
    };
    const Case cases[] = {
        {"Concrete Section Information", 9, 3},
        {"Rebars Properties", 13, 4},
        {"Material", 1, 3},
        {"P-Mx Curve", 11, 3},
        {"Mx-My Curve", 10, 3},
    };
    Fixture f;
    for (const Case& c : cases) {
        f.choose(c.entry);
        EXPECT_EQ(f.heading(), c.entry);
        EXPECT_EQ(f.dialog->grid().rowCount(), c.rows) << c.entry;
        EXPECT_EQ(f.dialog->grid().colCount(), c.cols) << c.entry;
    }
    EXPECT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
}

TEST(ExportDataDialog, BadAnalysisTextStopsTheTableWithItsMessage) {
    Fixture f;
    f.dialog->setAnalysisTexts([] { return std::pair<std::string, std::string>{"45", "1e3kN"}; });
    f.choose("Concrete Section Information");
    ASSERT_EQ(f.prompts.errors.size(), 1);
    EXPECT_EQ(f.prompts.errors[0], "'1e3kN' is not a valid floating point value");
    EXPECT_EQ(tableCsvLines(f.dialog->grid()), std::vector<std::string>{" , , ,"});
}

TEST(ExportDataDialog, CsvFileAndCancel) {
    Fixture f;
    f.choose("Analysis Result");
    f.prompts.savePath = f.path("blank.csv");
    f.press("Export CSV File");
    EXPECT_EQ(readTextLines(f.path("blank.csv").toStdString()), std::vector<std::string>{" , , ,"});

    f.choose("Cover Line");
    f.prompts.savePath = f.path("cover.csv");
    f.press("Export CSV File");
    const auto lines = readTextLines(f.path("cover.csv").toStdString());
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[1], "0,-365.000,-465.000,");
    const std::string bytes = readTextFile(f.path("cover.csv").toStdString());
    EXPECT_NE(bytes.find("NUM,X,Y,\r\n"), std::string::npos) << "CR LF line ends";

    f.prompts.savePath.clear();
    f.press("Export Selected Table to Excel");
    f.press("Export All Tables to Excel");
    EXPECT_TRUE(f.opened.isEmpty()) << "cancelled: nothing written or opened";
}

TEST(ExportDataDialog, WorkbooksAreWrittenAndOpened) {
    Fixture f;
    f.choose("Steel");
    f.prompts.savePath = f.path("steel");  // the extension is added
    f.press("Export Selected Table to Excel");
    ASSERT_EQ(f.opened, QStringList{f.path("steel.xlsx")})
        << f.prompts.errors.join("|").toStdString();
    QString book = unzipPart(f.opened[0], "xl/workbook.xml");
    EXPECT_TRUE(book.contains("name=\"Steel_Material\"")) << book.toStdString();
    EXPECT_EQ(book.count("<sheet "), 1);
    const QString sheet = unzipPart(f.opened[0], "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(sheet.contains("<c r=\"A2\"><v>1</v></c>")) << sheet.toStdString();

    // No table: a workbook with one empty sheet.
    f.choose("Analysis Result");
    f.prompts.savePath = f.path("empty.xlsx");
    f.press("Export Selected Table to Excel");
    book = unzipPart(f.path("empty.xlsx"), "xl/workbook.xml");
    EXPECT_TRUE(book.contains("name=\"Sheet1\"")) << book.toStdString();

    // All tables; the grid ends on the first one. Without a spreadsheet program the user is
    // told where the file is.
    f.canOpen = false;
    f.choose("Loading");
    f.prompts.savePath = f.path("all.xlsx");
    f.press("Export All Tables to Excel");
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("|").toStdString();
    book = unzipPart(f.path("all.xlsx"), "xl/workbook.xml");
    EXPECT_EQ(book.count("<sheet "), 14);
    EXPECT_TRUE(book.contains("name=\"Mehs_Information\""));
    EXPECT_EQ(f.heading(), "Concrete Section Information");
    EXPECT_EQ(f.dialog->chosenEntry(), 1);
    EXPECT_EQ(f.dialog->grid().rowCount(), 9);
    ASSERT_EQ(f.prompts.informations.size(), 1);
    EXPECT_TRUE(f.prompts.informations[0].contains(f.path("all.xlsx")));
    // Sheet 14 is the Myy-Mxx curve: NMM + 1 points under the heading.
    const QString mm = unzipPart(f.path("all.xlsx"), "xl/worksheets/sheet14.xml");
    EXPECT_EQ(mm.count("<row "), 10);
}

TEST(ExportDataDialog, StoppedWorkbookLeavesNoFileTablesOrResults) {
    // Cancels after two calls (a run on worker threads moves it at least once and asks at the end).
    struct CancelAfter : Progress {
        mutable int left = 2;
        void setPosition(int) override { --left; }
        bool cancelled() const override { return --left < 0; }
    };
    Fixture f;
    f.w.model().settings.NPM = 100;  // long enough for the progress to move
    f.choose("P-My Curve");
    const std::vector<std::string> shown = tableCsvLines(f.dialog->grid());
    const std::vector<double> results = f.w.model().results.PM_P;
    QStringList labels;
    f.dialog->setProgressMaker([&](QWidget*, const QString& label) -> std::unique_ptr<Progress> {
        labels << label;
        return std::make_unique<CancelAfter>();
    });
    f.prompts.savePath = f.path("stopped.xlsx");
    f.press("Export All Tables to Excel");
    EXPECT_EQ(labels, QStringList{"Making the tables ..."});
    EXPECT_TRUE(f.prompts.errors.isEmpty()) << "a cancelled run is no error";
    EXPECT_FALSE(QFile::exists(f.path("stopped.xlsx")));
    EXPECT_TRUE(f.opened.isEmpty());
    EXPECT_EQ(f.heading(), "P-My Curve");
    EXPECT_EQ(tableCsvLines(f.dialog->grid()), shown);
    EXPECT_EQ(f.w.model().results.PM_P, results);

    // A curve table stopped likewise keeps the results of the last one shown.
    f.choose("P-Mx Curve");
    EXPECT_EQ(labels.size(), 2);
    EXPECT_EQ(labels.back(), "Running the table's analysis ...");
    EXPECT_EQ(f.w.model().results.PM_P, results);
}
