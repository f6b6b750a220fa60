// The road of a typical check, as a user walks it: build a rectangular column, mesh it, import
// the sample loads, check the member, run the curves with the load marks, export the listing
// and print the figure report to a PDF file.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>

#include "app/analysis/analysis_dialog.h"
#include "app/analysis/load_dialog.h"
#include "app/builders/typical_section_dialog.h"
#include "app/command_map.h"
#include "app/main_window.h"
#include "app/printing.h"
#include "mesh/mesh_command.h"
#include "model/text_file.h"
#include "scripted_prompts.h"

using namespace qav;

namespace {

template <class T>
T* child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void click(QWidget* dialog, const char* name) {
    child<QPushButton>(dialog, name)->click();
}

// The listing qavsec-cli prints for the same file (stdout only).
std::vector<std::string> cliListing(const QStringList& args) {
    QProcess p;
    p.start(QAVSEC_CLI, args);
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return splitLines(p.readAllStandardOutput().toStdString());
}

// Prints to a PDF file instead of asking.
void printTo(const QString& path) {
    setPrinterChooser([path](QPrinter& printer, QWidget*) {
        // As a user accepting the orientation the dialog offers.
        const auto orientation = printer.pageLayout().orientation();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageOrientation(orientation);
        return true;
    });
}

// Saved only when asked for, to look at the dialogs as a user would.
void saveScreenshot(QWidget* w, const char* file) {
    const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w->grab().save(QString::fromUtf8(dir) + "/" + file);
}

// Colours of a picture, to see what a chart drew.
bool hasColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
}

}  // namespace

TEST(AnalysisRoad, TypicalCheckFromBuildToPrintedReport) {
    QTemporaryDir dir;
    MainWindow w;
    ScriptedPrompts prompts;
    w.setPrompts(&prompts);
    SectionModel& m = w.model();

    // 1. "Build Typical Section": a rectangular column with the default dimensions and bars.
    TypicalSectionDialog build(m);
    child<QComboBox>(&build, "ComboBox1")->setCurrentIndex(0);
    click(&build, "Button1");
    ASSERT_GT(m.document.NCONC_PT, 0);
    ASSERT_GT(m.document.NBAR, 0);

    // Saved and opened again, so the command line reads the very section the window analyses
    // (the file keeps coordinates to its own precision).
    const QString sec = dir.filePath("section.sec");
    prompts.savePath = sec;
    w.commands().run(cmd::Save);
    prompts.openPath = sec;
    w.commands().run(cmd::Open);
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();

    // 2. Mesh with the main window's grades and mesh size.
    w.applyControlsToModel();
    MessageLog meshLog;
    FIBER_SECTION_MESH(m, meshLog);
    w.modelChanged();
    ASSERT_GT(m.mesh.NFIB, 0);

    // 3. "Import Column internal Force": the sample in N and mm, then "Check Member".
    w.commands().run(cmd::Loading);
    auto* loads = w.findChild<LoadDialog*>("LoadDialog");
    ASSERT_NE(loads, nullptr);
    EXPECT_TRUE(loads->isVisible());
    prompts.savePath = dir.filePath("sample.csv");
    click(loads, "Button9");
    prompts.openPath = prompts.savePath;
    EXPECT_EQ(child<QComboBox>(loads, "ComboBox1")->currentText(), "N,mm");
    click(loads, "Button1");
    EXPECT_EQ(m.document.NFORCE, 42);
    EXPECT_EQ(child<QLineEdit>(loads, "Edit1")->text(), "42");
    EXPECT_EQ(child<QTableWidget>(loads, "StringGrid1")->item(2, 3)->text(), "-42.136");
    QList<int> positions;
    auto* bar = child<QProgressBar>(loads, "ProgressBar1");
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { positions << v; });
    click(loads, "Button4");
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_GT(positions.size(), 10) << "the bar moves during the check";
    EXPECT_EQ(positions.back(), 0);
    EXPECT_EQ(bar->value(), 0);
    ASSERT_GE(m.results.CRITICAL_COMB, 1);
    EXPECT_EQ(child<QLineEdit>(loads, "Edit2")->text(), QString::number(m.results.CRITICAL_COMB));

    // 4. "Run PMM Analysis": the critical combination on show; P-M with both marks; Myy-Mxx.
    w.commands().run(cmd::Analysis);
    auto* analysis = w.findChild<AnalysisDialog*>("AnalysisDialog");
    ASSERT_NE(analysis, nullptr);
    EXPECT_EQ(child<QLineEdit>(analysis, "Edit3")->text(),
              QString::number(m.results.CRITICAL_COMB));
    EXPECT_EQ(child<QLineEdit>(analysis, "Edit7")->text(),
              QString::fromStdString(
                  m.document.FORCE[static_cast<std::size_t>(m.results.CRITICAL_COMB)].COMB_NAME));
    child<QCheckBox>(analysis, "CheckBox1")->setChecked(true);
    child<QCheckBox>(analysis, "CheckBox2")->setChecked(true);
    click(analysis, "Button3");
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    EXPECT_TRUE(hasColour(analysis->picture(), qRgb(255, 0, 0))) << "the red curve";
    EXPECT_TRUE(hasColour(analysis->picture(), qRgb(0, 0, 255)))
        << "blue: the critical combination";

    // The curve exported as CSV is its table as the table browser exports it: a numbered row
    // per point holding the numbers of the command line's listing of the same section.
    auto sameNumbers = [](const std::vector<std::string>& csv,
                          const std::vector<std::string>& listing, const std::string& header) {
        auto fields = [](const std::string& line) {
            return QString::fromStdString(line).split(QRegularExpression("[,\\s]+"),
                                                      Qt::SkipEmptyParts);
        };
        ASSERT_EQ(csv.size(), listing.size());
        EXPECT_EQ(csv[0], header);
        for (std::size_t i = 1; i < csv.size(); ++i) {
            const QStringList row = fields(csv[i]);
            ASSERT_EQ(row.size(), 3) << csv[i];
            EXPECT_EQ(row.mid(1), fields(listing[i])) << csv[i];
        }
    };
    prompts.savePath = dir.filePath("pm.csv");
    click(analysis, "Button2");
    sameNumbers(readTextLines(prompts.savePath.toStdString()),
                cliListing({"pm", sec, "--angle", "0"}), "NUM,Axial(P),Moment(M),");

    click(analysis, "Button4");
    prompts.savePath = dir.filePath("mm.csv");
    click(analysis, "Button2");
    sameNumbers(readTextLines(prompts.savePath.toStdString()),
                cliListing({"mm", sec, "--axial", "1000"}), "NUM,Moment(My),Moment(Mx),");

    saveScreenshot(loads, "load_dialog.png");
    saveScreenshot(analysis, "analysis_dialog_mm.png");
    click(analysis, "Button3");
    saveScreenshot(analysis, "analysis_dialog_pm.png");
    click(analysis, "Button6");
    saveScreenshot(analysis, "analysis_dialog_section.png");

    // "Print PMM Report(Fig)" to a PDF file.
    const QString pdf = dir.filePath("figure.pdf");
    printTo(pdf);
    click(analysis, "Button1");
    ASSERT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join("\n").toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(4) == "%PDF");
    EXPECT_GT(file.size(), 10000);
    const QByteArray shots = qgetenv("QAVSEC_SCREENSHOT_DIR");
    if (!shots.isEmpty()) QFile::copy(pdf, QString::fromUtf8(shots) + "/figure_report.pdf");

    // A field that is not a number stops the document: no file, and the message.
    const QString stopped = dir.filePath("stopped.pdf");
    printTo(stopped);
    child<QLineEdit>(analysis, "Edit2")->setText("abc");
    click(analysis, "Button1");
    EXPECT_EQ(prompts.errors, QStringList{"'abc' is not a valid floating point value"});
    EXPECT_FALSE(QFile::exists(stopped));
    setPrinterChooser({});

    // With key points the curve's CSV stays one table; the points go to a file of their own.
    child<QCheckBox>(analysis, "CheckBox3")->setChecked(true);
    click(analysis, "Button3");
    prompts.savePath = dir.filePath("pmk.csv");
    prompts.informations.clear();
    click(analysis, "Button2");
    const auto curve = readTextLines(prompts.savePath.toStdString());
    const auto points = readTextLines(dir.filePath("pmk-key-points.csv").toStdString());
    EXPECT_EQ(curve.size(), cliListing({"pm", sec, "--angle", "0"}).size());
    ASSERT_EQ(points.size(), 9u);
    EXPECT_EQ(points[0], "Point,P [kN],M [kNm],NA Depth [mm],Note");
    EXPECT_EQ(prompts.informations.size(), 1);
}
