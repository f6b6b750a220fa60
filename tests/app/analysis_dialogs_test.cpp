// The analysis dialogs: their controls, the M-Phi run, refusals, the printed documents through
// the one printer, and the progress their runs report.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/analysis/analysis_dialog.h"
#include "app/analysis/load_dialog.h"
#include "app/analysis/mphi_dialog.h"
#include "app/analysis/pmm_surface_dialog.h"
#include "app/command_map.h"
#include "app/main_window.h"
#include "app/printing.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "model/code_convert.h"
#include "model/text_file.h"
#include "scripted_prompts.h"

using namespace qav;

namespace {

const QString kExample = QStringLiteral(QAVSEC_SOURCE_DIR "/examples/rectangular_column.sec");

struct Fixture {
    MainWindow w;
    ScriptedPrompts prompts;
    Fixture() { w.setPrompts(&prompts); }
    void openMeshed() {
        w.openSection(kExample);
        MessageLog log;
        FIBER_SECTION_MESH(w.model(), log);
    }
    template <class T>
    T* dialog(const char* command, const char* name) {
        w.commands().run(command);
        return w.findChild<T*>(name);
    }
};

template <class T = QWidget>
T* child(QWidget* parent, const QString& name) {
    T* c = parent->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
}

QString textOf(QWidget* parent, const QString& name) {
    QWidget* c = child(parent, name);
    if (auto* l = qobject_cast<QLabel*>(c)) return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(c)) return e->text();
    if (auto* b = qobject_cast<QAbstractButton*>(c)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(c)) return g->title();
    return {};
}

// Pages of a PDF file, by its page objects.
int pdfPages(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = f.readAll();
    return bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
           bytes.count("/Type /Page ") + bytes.count("/Type /Page/") + bytes.count("/Type /Page>");
}

struct PrintToFile {
    explicit PrintToFile(const QString& path, int dpi = 1200) {
        setPrinterChooser([path, dpi](QPrinter& p, QWidget*) {
            const auto orientation = p.pageLayout().orientation();
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(path);
            p.setPageOrientation(orientation);
            p.setResolution(dpi);
            return true;
        });
    }
    ~PrintToFile() { setPrinterChooser({}); }
};

}  // namespace

TEST(AnalysisDialogs, CaptionsNamesAndDefaults) {
    Fixture f;
    struct Case {
        const char* command;
        const char* dialog;
        const char* caption;
        QSize size;
        std::vector<std::pair<const char*, const char*>> controls;
    };
    const Case cases[] = {
        {cmd::Analysis,
         "AnalysisDialog",
         "P-M/Myy-Mxx Curve Analysis",
         {833, 614},
         {{"RadioGroup1", "P-M Curve Analysis"},
          {"Label1", "Moment Angle"},
          {"Edit1", "45"},
          {"GroupBox1", "Myy-Mxx Curve Analysis"},
          {"Label3", "Axial Force (kN)"},
          {"Edit2", "1000"},
          {"Label2", "Text Output"},
          {"Button2", "Export CSV"},
          {"Button6", "Show Section Image"},
          {"Button3", "Run P-M Analysis"},
          {"Button4", "Run Myy-Mxx Analysis"},
          {"Button1", "Print PMM Report(Fig)"},
          {"Button5", "Print Section Data"},
          {"Button7", "Print PMM Report(Txt)"},
          {"GroupBox2", "Load Checking"},
          {"Label4", "Critical LoadComb"},
          {"Label8", "Comb Name"},
          {"Label9", "Critical Load Fraction"},
          {"Label5", "Axial Force P[kN]"},
          {"Label6", "Moment Mxx[kNm]"},
          {"Label7", "Moment Myy[kNm]"},
          {"Label10", "Image Setting"},
          {"CheckBox1", "Critical Load Comb"},
          {"CheckBox2", "All Load Comb"},
          {"RadioGroup1_0", "Mxx"},
          {"RadioGroup1_1", "Myy"},
          {"RadioGroup1_2", "M with Angle"}}},
        {cmd::Loading,
         "LoadDialog",
         "Import Column internal Force",
         {779, 514},
         {{"Label1", "Number of Load Comb"},
          {"Edit1", "0"},
          {"Label11", "Unit System"},
          {"Label12", "P(Negative Value) is Compression Force"},
          {"Button1", "Import CSV File"},
          {"Button2", "Clear Table"},
          {"Button3", "Refresh"},
          {"Button4", "Check Member"},
          {"Button5", "Close"},
          {"Button6", "Export CSV File"},
          {"Button7", "Modify"},
          {"Button8", "Print Report"},
          {"Button9", "Export Sample CSV"},
          {"GroupBox1", "Critical Load Comb"},
          {"Label4", "Critical Load Comb"},
          {"Label2", "Comb Name"},
          {"Label3", "Min Load Fraction"},
          {"GroupBox2", "Min Axial  and Moment(for Iteration)"},
          {"Label10", " P_min[kN]"},
          {"Edit10", "0"},
          {"Label8", "Min Mxx[kNm]"},
          {"Edit9", "0"},
          {"Label9", "Min Myy[kNm]"},
          {"Edit8", "0"}}},
        {cmd::MPhi,
         "MphiDialog",
         "Section M-Phi Analysis",
         {842, 553},
         {{"RadioGroup1", "M-Phi Analysis"},
          {"RadioGroup1_1", "Myy aoubt Y Axis"},
          {"RadioGroup2", "Moment"},
          {"RadioGroup2_1", "Negative"},
          {"GroupBox1", "M-Phi Analysis"},
          {"Label3", "Axial Force (kN)"},
          {"Edit2", "1000"},
          {"Label1", "Max Comp strain"},
          {"Edit1", "0.0035"},
          {"Label4", "Num of Steps"},
          {"Edit3", "20"},
          {"Button2", "Export CSV"},
          {"Button3", "Run M-Phi Analysis"}}},
    };
    for (const Case& c : cases) {
        QWidget* d = f.dialog<QWidget>(c.command, c.dialog);
        ASSERT_NE(d, nullptr) << c.dialog;
        EXPECT_TRUE(d->isVisible()) << c.dialog;
        EXPECT_FALSE(d->isModal()) << c.dialog;
        EXPECT_EQ(d->windowTitle(), c.caption) << c.dialog;
        EXPECT_EQ(d->size(), c.size) << c.dialog;
        for (const auto& [name, text] : c.controls)
            EXPECT_EQ(textOf(d, name), text) << c.dialog << " " << name;
        d->close();
        EXPECT_TRUE(d->isHidden());
    }
    auto* a = f.w.findChild<AnalysisDialog*>("AnalysisDialog");
    EXPECT_TRUE(child<QRadioButton>(a, "RadioGroup1_0")->isChecked()) << "Mxx selected";
    EXPECT_FALSE(child<QCheckBox>(a, "CheckBox1")->isChecked());
    EXPECT_EQ(child<QWidget>(a, "Image1")->size(), QSize(534, 439));
}

TEST(AnalysisDialogs, CriticalFieldsOnShowOnlyForAStoredCombination) {
    struct Case {
        const char* name;
        int nforce, critical;
        QString edit3;
    };
    const Case cases[] = {{"no check", 2, 0, ""}, {"stale index", 2, 5, ""}, {"second", 2, 2, "2"}};
    for (const Case& c : cases) {
        Fixture f;
        SectionModel& m = f.w.model();
        m.document.FORCE.assign(static_cast<std::size_t>(c.nforce) + 1,
                                TFORCE{-1234.5, 1, 2, "DCON9", 0.75});
        m.document.NFORCE = c.nforce;
        m.results.CRITICAL_COMB = c.critical;
        auto* d = f.dialog<AnalysisDialog>(cmd::Analysis, "AnalysisDialog");
        EXPECT_EQ(textOf(d, "Edit3"), c.edit3) << c.name;
        if (!c.edit3.isEmpty()) {
            EXPECT_EQ(textOf(d, "Edit4"), "-1234.500") << c.name << ": P as stored";
            EXPECT_EQ(textOf(d, "Edit8"), "0.750 <1") << c.name << ": cut, marked below 1";
            EXPECT_EQ(textOf(d, "Edit7"), "DCON9") << c.name;
            // "Moment Mxx" is the moment about X, the solver's MY (2); "Moment Myy" its MX (1).
            EXPECT_EQ(textOf(d, "Edit5"), "2.000") << c.name;
            EXPECT_EQ(textOf(d, "Edit6"), "1.000") << c.name;
        }
    }
}

TEST(AnalysisDialogs, RunsRefuseFieldsThatAreNotNumbers) {
    Fixture f;
    f.openMeshed();
    auto* a = f.dialog<AnalysisDialog>(cmd::Analysis, "AnalysisDialog");
    auto* mphi = f.dialog<MphiDialog>(cmd::MPhi, "MphiDialog");
    struct Case {
        const char* name;
        QWidget* dialog;
        const char* field;
        const char* text;
        const char* button;
        QString message;
    };
    const Case cases[] = {
        {"angle", a, "Edit1", "4 5", "Button3", "'4 5' is not a valid floating point value"},
        {"axial", a, "Edit2", "x", "Button4", "'x' is not a valid floating point value"},
        {"steps", mphi, "Edit3", "2.5", "Button3", "'2.5' is not a valid integer value"},
        {"strain", mphi, "Edit1", "", "Button3", "'' is not a valid floating point value"},
    };
    child<QRadioButton>(a, "RadioGroup1_2")->setChecked(true);
    for (const Case& c : cases) {
        f.prompts.errors.clear();
        const QString before = child<QLineEdit>(c.dialog, c.field)->text();
        child<QLineEdit>(c.dialog, c.field)->setText(c.text);
        child<QPushButton>(c.dialog, c.button)->click();
        EXPECT_EQ(f.prompts.errors, QStringList{c.message}) << c.name;
        child<QLineEdit>(c.dialog, c.field)->setText(before);
    }
    EXPECT_TRUE(f.w.model().results.PM_P.empty()) << "no analysis ran";
}

// The analysis dialog grows: its text output takes the room, the right column keeps to the edge.
TEST(AnalysisDialogs, AnalysisDialogGrowsWithItsWindow) {
    Fixture f;
    auto* d = f.dialog<AnalysisDialog>(cmd::Analysis, "AnalysisDialog");
    const QRect memo = child<QPlainTextEdit>(d, "Memo1")->geometry();
    const QRect button = child<QPushButton>(d, "Button2")->geometry();
    const QRect chart = d->findChild<QWidget*>("Image1Panel")->geometry();
    d->resize(d->width() + 200, d->height() + 300);
    EXPECT_EQ(child<QPlainTextEdit>(d, "Memo1")->geometry(), memo.adjusted(0, 0, 200, 300));
    EXPECT_EQ(child<QPushButton>(d, "Button2")->geometry(), button.translated(200, 0));
    EXPECT_EQ(d->findChild<QWidget*>("Image1Panel")->geometry(), chart);
    d->resize(100, 100);
    EXPECT_EQ(child<QPlainTextEdit>(d, "Memo1")->geometry(), memo) << "never below its own size";

    // The load dialog likewise: its table grows, the row under it keeps to the bottom.
    auto* loads = f.dialog<LoadDialog>(cmd::Loading, "LoadDialog");
    const QRect grid = child<QTableWidget>(loads, "StringGrid1")->geometry();
    const QRect check = child<QPushButton>(loads, "Button4")->geometry();
    const QRect bar = child<QProgressBar>(loads, "ProgressBar1")->geometry();
    loads->resize(loads->width() + 200, loads->height() + 300);
    EXPECT_EQ(child<QTableWidget>(loads, "StringGrid1")->geometry(), grid.adjusted(0, 0, 200, 300));
    EXPECT_EQ(child<QPushButton>(loads, "Button4")->geometry(), check.translated(200, 0));
    EXPECT_EQ(child<QProgressBar>(loads, "ProgressBar1")->geometry(),
              bar.translated(0, 300).adjusted(0, 0, 200, 0));
}

TEST(AnalysisDialogs, MphiRunListingAndChart) {
    Fixture f;
    f.openMeshed();
    auto* d = f.dialog<MphiDialog>(cmd::MPhi, "MphiDialog");
    child<QLineEdit>(d, "Edit3")->setText("5");
    child<QRadioButton>(d, "RadioGroup1_1")->setChecked(true);
    child<QPushButton>(d, "Button3")->click();
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("\n").toStdString();
    const QStringList lines = child<QPlainTextEdit>(d, "Memo1")->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "   Moment_M,  Curvature,");
    EXPECT_EQ(f.w.model().results.MPHI_M.size(), 6u);
    const QImage& picture = d->picture();
    int red = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            red += (picture.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
    EXPECT_GT(red, 100) << "the curve, two pixels wide";
    if (const QByteArray dir = qgetenv("QAVSEC_SCREENSHOT_DIR"); !dir.isEmpty())
        d->grab().save(QString::fromUtf8(dir) + "/mphi_dialog.png");
    // "Export CSV" writes the curve as a spreadsheet reads it: a header, then moment and
    // curvature of each step, the numbers of the listing.
    QTemporaryDir dir;
    f.prompts.savePath = dir.filePath("mphi.csv");
    child<QPushButton>(d, "Button2")->click();
    const auto csv = splitLines(readTextFile(f.prompts.savePath.toStdString()));
    ASSERT_EQ(csv.size(), 7u);
    EXPECT_EQ(csv[0], "Moment_M [kNm],Curvature [1/m]");
    for (std::size_t i = 1; i < csv.size(); ++i)
        EXPECT_EQ(
            lines[static_cast<qsizetype>(i)].simplified().remove(' ').chopped(1).toStdString(),
            csv[i]);
    f.prompts.errors.clear();
    child<QLineEdit>(d, "Edit3")->setText("0");
    child<QPushButton>(d, "Button3")->click();
    ASSERT_EQ(f.prompts.errors.size(), 1);
    EXPECT_TRUE(f.prompts.errors[0].contains("at least 1 strain step"))
        << f.prompts.errors[0].toStdString();
}

// Under a code's limits "Max Comp strain" starts at the concrete's ultimate strain, as the
// command line's default does; a value the user typed stays.
TEST(AnalysisDialogs, MphiStrainStartsAtTheSectionsUltimateStrain) {
    Fixture f;
    f.openMeshed();
    auto* d = f.dialog<MphiDialog>(cmd::MPhi, "MphiDialog");
    QLineEdit* strain = child<QLineEdit>(d, "Edit1");
    EXPECT_EQ(strain->text(), "0.0035");
    GradeNames fc25;
    fc25.concrete = "FC25";
    ASSERT_TRUE(convertSectionCode(f.w.model(), CodeId::Aci318, fc25).ok);
    d->hide();
    d->show();
    EXPECT_EQ(strain->text(), "0.003");
    strain->setText("0.004");
    d->hide();
    d->show();
    EXPECT_EQ(strain->text(), "0.004");
}

TEST(AnalysisDialogs, SectionImageAndPrintedDocuments) {
    Fixture f;
    f.openMeshed();
    QTemporaryDir dir;
    auto* a = f.dialog<AnalysisDialog>(cmd::Analysis, "AnalysisDialog");
    child<QPushButton>(a, "Button6")->click();
    EXPECT_EQ(a->picture().pixel(267, 220) & 0xFFFFFF, 0xFFFBF0u) << "cream section in the middle";

    struct Case {
        const char* name;
        QWidget* dialog;
        const char* button;
        int pages;
        int dpi;
    };
    auto* loads = f.dialog<LoadDialog>(cmd::Loading, "LoadDialog");
    SectionModel& m = f.w.model();
    m.document.FORCE.assign(179, TFORCE{-1000, 10, 20, "C", 0.5});
    m.document.NFORCE = 178;
    const Case cases[] = {
        {"text report", a, "Button7", 2, 1200},
        {"section data", a, "Button5", 1, 1200},
        {"section data at 300 dpi", a, "Button5", 1, 300},
        {"load report of 181 lines", loads, "Button8", 2, 1200},
    };
    for (const Case& c : cases) {
        const QString pdf = dir.filePath(QString(c.name) + ".pdf");
        PrintToFile to(pdf, c.dpi);
        f.prompts.errors.clear();
        child<QPushButton>(c.dialog, c.button)->click();
        EXPECT_TRUE(f.prompts.errors.isEmpty())
            << c.name << ": " << f.prompts.errors.join("\n").toStdString();
        EXPECT_EQ(pdfPages(pdf), c.pages) << c.name;
        if (const QByteArray shots = qgetenv("QAVSEC_SCREENSHOT_DIR"); !shots.isEmpty())
            QFile::copy(
                pdf, QString::fromUtf8(shots) + "/" + QString(c.name).replace(' ', '_') + ".pdf");
    }

    // Cancelling the print dialog prints nothing and runs nothing.
    m.results.PM_P.clear();
    setPrinterChooser([](QPrinter&, QWidget*) { return false; });
    child<QPushButton>(a, "Button7")->click();
    EXPECT_TRUE(m.results.PM_P.empty());
    setPrinterChooser({});
}

TEST(AnalysisDialogs, RunsReportTheirProgress) {
    struct Recorder : Progress {
        std::vector<int>* positions;
        explicit Recorder(std::vector<int>* p) : positions(p) {}
        void setPosition(int percent) override { positions->push_back(percent); }
    };
    Fixture f;
    f.openMeshed();
    f.w.model().settings.NPM = 4;
    f.w.model().settings.NMM = 8;
    // One thread: the progress then moves with every step (worker threads report it coarser).
    f.w.model().settings.THREADS = 1;
    QTemporaryDir dir;
    PrintToFile to(dir.filePath("figures.pdf"));
    struct Case {
        const char* name;
        const char* command;
        const char* dialog;
        const char* button;
        const char* label;
        std::size_t minPositions;  // at least this many distinct positions
    };
    const Case cases[] = {
        {"P-M", cmd::Analysis, "AnalysisDialog", "Button3", "Running the P-M analysis ...", 10},
        {"Myy-Mxx", cmd::Analysis, "AnalysisDialog", "Button4", "Running the Myy-Mxx analysis ...",
         9},
        {"figure report", cmd::Analysis, "AnalysisDialog", "Button1",
         "Printing the figure report ...", 20},
        {"M-Phi", cmd::MPhi, "MphiDialog", "Button3", "Running the M-Phi analysis ...", 20},
        {"PMM surface", cmd::PmmSurface, "PmmSurfaceDialog", "Button1",
         "Running the PMM analysis ...", 30},
    };
    for (const Case& c : cases) {
        auto* d = f.dialog<QDialog>(c.command, c.dialog);
        ASSERT_NE(d, nullptr) << c.name;
        auto* source = dynamic_cast<ProgressSource*>(d);
        ASSERT_NE(source, nullptr) << c.name;
        QStringList labels;
        std::vector<int> positions;
        source->setProgressMaker(
            [&](QWidget* parent, const QString& label) -> std::unique_ptr<Progress> {
                EXPECT_EQ(parent, d) << c.name;
                labels << label;
                return std::make_unique<Recorder>(&positions);
            });
        f.prompts.errors.clear();
        child<QPushButton>(d, c.button)->click();
        EXPECT_TRUE(f.prompts.errors.isEmpty())
            << c.name << ": " << f.prompts.errors.join("\n").toStdString();
        EXPECT_EQ(labels, QStringList{c.label}) << c.name << ": one progress per run";
        ASSERT_FALSE(positions.empty()) << c.name;
        EXPECT_EQ(positions.front(), 0) << c.name;
        EXPECT_EQ(positions.back(), 100) << c.name;
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << c.name;
        positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
        EXPECT_GE(positions.size(), c.minPositions) << c.name;
        source->setProgressMaker({});
    }

    // The real progress: the run ends with its progress dialog gone.
    auto* a = f.dialog<AnalysisDialog>(cmd::Analysis, "AnalysisDialog");
    child<QPushButton>(a, "Button3")->click();
    EXPECT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("\n").toStdString();
    EXPECT_EQ(a->findChild<QWidget*>("RunProgress"), nullptr);
    EXPECT_EQ(f.w.model().results.PM_P.size(), 11u);
}

TEST(AnalysisDialogs, CancelledCheckLeavesFractionsCriticalAndTable) {
    // Cancels once the run has moved `steps` times; records the label it was made with.
    struct CancelAfter : Progress {
        int left;
        explicit CancelAfter(int steps) : left(steps) {}
        void setPosition(int) override { --left; }
        bool cancelled() const override { return left <= 0; }
    };
    Fixture f;
    f.openMeshed();
    SectionModel& m = f.w.model();
    IMPORT_FORCE_CSV(m, SAMPLE_FORCE_CSV(), ForceUnits::N_mm);
    auto* loads = f.dialog<LoadDialog>(cmd::Loading, "LoadDialog");
    loads->UPDATE_FORCE_TABLE();
    // No fraction before the check: the column is blank, not 0.000.
    EXPECT_EQ(child<QTableWidget>(loads, "StringGrid1")->item(1, 5)->text(), "");
    child<QPushButton>(loads, "Button4")->click();
    ASSERT_TRUE(f.prompts.errors.isEmpty()) << f.prompts.errors.join("\n").toStdString();
    ASSERT_GT(m.results.CRITICAL_COMB, 0);
    EXPECT_NE(child<QTableWidget>(loads, "StringGrid1")->item(1, 5)->text(), "");

    auto snapshot = [&] {
        QStringList s;
        for (const char* e : {"Edit2", "Edit4", "Edit3", "Edit5", "Edit6", "Edit7"})
            s << textOf(loads, e);
        auto* grid = child<QTableWidget>(loads, "StringGrid1");
        for (int r = 0; r < grid->rowCount(); ++r) s << grid->item(r, 5)->text();
        for (const TFORCE& c : m.document.FORCE) s << QString::number(c.LOAD_FRACTION, 'g', 17);
        s << QString::number(m.results.CRITICAL_COMB);
        return s;
    };
    const QStringList before = snapshot();
    // Other minimum magnitudes would change every fraction, had the check completed.
    child<QLineEdit>(loads, "Edit10")->setText("20000");
    QStringList labels;
    loads->setProgressMaker(
        [&](QWidget* parent, const QString& label) -> std::unique_ptr<Progress> {
            EXPECT_EQ(parent, loads);
            labels << label;
            return std::make_unique<CancelAfter>(10);
        });
    child<QPushButton>(loads, "Button4")->click();
    EXPECT_EQ(labels, QStringList{"Checking the load combinations ..."});
    EXPECT_TRUE(f.prompts.errors.isEmpty()) << "a cancelled check is no error";
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(child<QProgressBar>(loads, "ProgressBar1")->value(), 0);

    // Completed with the new magnitudes, the check does change them.
    loads->setProgressMaker({});
    child<QPushButton>(loads, "Button4")->click();
    EXPECT_NE(snapshot(), before);
    EXPECT_EQ(loads->findChild<QWidget*>("RunProgress"), nullptr);
}

TEST(AnalysisDialogs, CancelledReportPrintsNothingAndKeepsTheResults) {
    struct CancelAfter : Progress {
        mutable int left = 2;  // a run on worker threads moves it at least once and asks at the end
        void setPosition(int) override { --left; }
        bool cancelled() const override { return --left < 0; }
    };
    Fixture f;
    f.openMeshed();
    SectionModel& m = f.w.model();
    m.settings.NPM = 6;
    m.settings.NMM = 8;
    auto* a = f.dialog<AnalysisDialog>(cmd::Analysis, "AnalysisDialog");
    child<QPushButton>(a, "Button3")->click();  // a P-M curve whose results must stay
    const std::vector<double> P = m.results.PM_P, M = m.results.PM_M, MX = m.results.MM_MX;
    const std::string memo = child<QPlainTextEdit>(a, "Memo1")->toPlainText().toStdString();
    ASSERT_FALSE(memo.empty());
    QTemporaryDir dir;
    for (const char* button : {"Button1", "Button7"}) {
        const QString pdf = dir.filePath(QString(button) + ".pdf");
        PrintToFile to(pdf);
        a->setProgressMaker([](QWidget*, const QString&) -> std::unique_ptr<Progress> {
            return std::make_unique<CancelAfter>();
        });
        child<QPushButton>(a, button)->click();
        EXPECT_TRUE(f.prompts.errors.isEmpty())
            << button << ": " << f.prompts.errors.join("\n").toStdString();
        EXPECT_FALSE(QFile::exists(pdf)) << button;
        EXPECT_EQ(m.results.PM_P, P) << button;
        EXPECT_EQ(m.results.PM_M, M) << button;
        EXPECT_EQ(m.results.MM_MX, MX) << button;
        EXPECT_EQ(child<QPlainTextEdit>(a, "Memo1")->toPlainText().toStdString(), memo) << button;
    }
    a->setProgressMaker({});
}
