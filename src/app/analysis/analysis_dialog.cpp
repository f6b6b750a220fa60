#include "app/analysis/analysis_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QResizeEvent>

#include "analysis/interaction_curves.h"
#include "analysis/key_points.h"
#include "analysis/load_combinations.h"
#include "app/app_context.h"
#include "app/command_map.h"
#include "app/dialog_parts.h"
#include "app/printing.h"
#include "app/user_prompts.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "reports/code_comparison.h"
#include "reports/export_tables.h"
#include "reports/interaction_charts.h"
#include "reports/key_point_marks.h"
#include "reports/printed_pages.h"
#include "reports/section_picture.h"
#include "reports/text_reports.h"

namespace qav {

namespace {
// A curve's CSV: its table as the table browser shows and exports it.
std::vector<std::string> curveCsv(void (*table)(DataTable&, const SectionModel&,
                                                const SectionResults&),
                                  const SectionModel& m) {
    DataTable grid;
    table(grid, m, m.results);
    return tableCsvLines(grid);
}

// The dialog's own size, and where its right column of boxes and buttons begins.
constexpr int kWidth = 833, kHeight = 614, kRightColumn = 555;
}  // namespace

AnalysisDialog::AnalysisDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), Image1("Image1", this) {
    initToolDialog(this, "AnalysisDialog", "P-M/Myy-Mxx Curve Analysis");
    setFont(QFont("Tahoma", 8));
    setMinimumSize(kWidth, kHeight);
    resize(kWidth, kHeight);

    RadioGroup1 =
        new RadioGroup("RadioGroup1", "P-M Curve Analysis", {"Mxx", "Myy", "M with Angle"}, this);
    RadioGroup1->setGeometry(560, 16, 130, 86);
    placedLabel("Label1", "Moment Angle", this, {700, 26});
    Edit1 = placedEdit("Edit1", "45", this, {700, 44, 120, 21});

    auto* GroupBox1 = new QGroupBox("Myy-Mxx Curve Analysis", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(560, 108, 263, 52);
    Edit2 = labelledEdit(GroupBox1, "Label3", "Axial Force (kN)", "Edit2", "1000", 21, 140, 112);

    auto* Button3 = placedButton("Button3", "Run P-M Analysis", this, {560, 168, 128, 25});
    auto* Button4 = placedButton("Button4", "Run Myy-Mxx Analysis", this, {695, 168, 128, 25});
    auto* Button6 = placedButton("Button6", "Show Section Image", this, {560, 198, 128, 25});
    auto* Button2 = placedButton("Button2", "Export CSV", this, {695, 198, 128, 25});
    auto* Button1 = placedButton("Button1", "Print PMM Report(Fig)", this, {560, 228, 128, 25});
    auto* Button7 = placedButton("Button7", "Print PMM Report(Txt)", this, {695, 228, 128, 25});
    auto* Button5 = placedButton("Button5", "Print Section Data", this, {560, 258, 128, 25});
    auto* compare = placedButton("ButtonCompare", "Compare Codes", this, {695, 258, 128, 25});

    auto* GroupBox2 = new QGroupBox("Load Checking", this);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(560, 292, 263, 310);
    struct Row {
        const char* label;
        const char* caption;
        const char* edit;
        QLineEdit** field;
    };
    const Row rows[] = {
        {"Label4", "Critical LoadComb", "Edit3", &Edit3},
        {"Label8", "Comb Name", "Edit7", &Edit7},
        {"Label9", "Critical Load Fraction", "Edit8", &Edit8},
        {"Label5", "Axial Force P[kN]", "Edit4", &Edit4},
        {"Label6", "Moment Mxx[kNm]", "Edit5", &Edit5},
        {"Label7", "Moment Myy[kNm]", "Edit6", &Edit6},
    };
    int y = 24;
    for (const Row& r : rows) {
        *r.field = labelledEdit(GroupBox2, r.label, r.caption, r.edit, "", y, 140, 112);
        y += 28;
    }
    placedLabel("Label10", "Image Setting", GroupBox2, {10, y + 10});
    CheckBox1 = new QCheckBox("Critical Load Comb", GroupBox2);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setGeometry(10, y + 32, 240, 20);
    CheckBox2 = new QCheckBox("All Load Comb", GroupBox2);
    CheckBox2->setObjectName("CheckBox2");
    CheckBox2->setGeometry(10, y + 56, 240, 20);
    // Beyond the two load marks: the curve's key points on the chart, and the state at a load.
    CheckBox3 = new QCheckBox("Key Points", GroupBox2);
    CheckBox3->setObjectName("CheckBox3");
    CheckBox3->setGeometry(10, y + 80, 120, 20);
    auto* stateButton =
        placedButton("ButtonState", "Section State", GroupBox2, {135, y + 78, 117, 24});
    connect(stateButton, &QPushButton::clicked, this,
            [this] { ctx_.commands().run(cmd::SectionState); });

    placedLabel("Label2", "Text Output", this, {13, 470});
    Memo1 = listingMemo("Memo1", this);
    Memo1->setGeometry(13, 486, 536, 118);

    connect(Button3, &QPushButton::clicked, this, [this] { runPm(); });
    connect(Button4, &QPushButton::clicked, this, [this] { runMm(); });
    connect(Button2, &QPushButton::clicked, this, [this] { exportCsv(); });
    connect(Button6, &QPushButton::clicked, this, [this] { showSectionImage(); });
    connect(Button1, &QPushButton::clicked, this, [this] { printFigureReport(); });
    connect(Button7, &QPushButton::clicked, this, [this] { printTextReport(); });
    connect(Button5, &QPushButton::clicked, this, [this] { printSectionData(); });
    connect(compare, &QPushButton::clicked, this, [this] { compareCodes(); });
    ctx_.onSectionState(this, [this] { clearResults(); });
    places_ =
        std::make_unique<GrowingPlaces>(this, QSize(kWidth, kHeight), Memo1, kRightColumn, kHeight);
}

void AnalysisDialog::resizeEvent(QResizeEvent* event) {
    if (places_) places_->apply(size());
    QDialog::resizeEvent(event);
}

void AnalysisDialog::clearResults() {
    list0_.clear();
    csv_.clear();
    keyPointsCsv_.clear();
    Memo1->clear();
    Image1.clear();
    for (QLineEdit* e : {Edit3, Edit7, Edit8, Edit4, Edit5, Edit6}) e->clear();
}

// The angle runs from the moment about X towards the moment about Y, as on the command line,
// in the module and in the printed reports: "Myy" is 90 and "M with Angle" the angle as typed.
double AnalysisDialog::pmAngle() const {
    switch (RadioGroup1->itemIndex()) {
        case 1:
            return 90;
        case 2:
            return ToFloat(textOf(Edit1));
        default:
            return 0;
    }
}

LoadMarks AnalysisDialog::marks() const {
    return LoadMarks{CheckBox1->isChecked(), CheckBox2->isChecked()};
}

void AnalysisDialog::runCurve(const QString& label,
                              const std::function<void(SectionModel&, Progress&)>& analyse,
                              const std::function<void(Canvas&, const ChartFrame&)>& chart) {
    SectionModel& m = ctx_.model();
    m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
    {
        const std::unique_ptr<Progress> progress = makeProgress(this, label);
        analyse(m, *progress);
    }
    setMemoLines(Memo1, list0_);
    Image1.draw([&](Canvas& c) { chart(c, ChartFrame{0, 0, Image1.width(), Image1.height(), 1}); });
}

void AnalysisDialog::runPm() {
    ctx_.runCommand([this] {
        const double angle = pmAngle();
        const bool keyPoints = CheckBox3->isChecked();
        std::vector<KeyPoint> points;
        runCurve(
            "Running the P-M analysis ...",
            [&](SectionModel& m, Progress& progress) {
                RUN_PM_CURVE_ANALYSIS(m, angle, ctx_.messages(), &progress);
                GEN_PM_CURVE_TEXT(m, list0_);
                csv_ = curveCsv(pmCurveTable, m);
                keyPointsCsv_.clear();
                // The listing stays as it is; the key-point table follows it, as on the
                // command line.
                if (!keyPoints) return;
                points = PM_KEY_POINTS(m, angle, ctx_.messages());
                const std::vector<std::string> table = keyPointsText(points, angle);
                list0_.insert(list0_.end(), table.begin(), table.end());
                keyPointsCsv_ = keyPointsCsv(points);
            },
            [&](Canvas& c, const ChartFrame& f) {
                const ChartMarkers markers = keyPoints ? keyPointMarkers(points) : ChartMarkers{};
                GEN_PM_CURVE_IMAGE(c, ctx_.model(), f, angle, marks(), markers);
            });
    });
}

void AnalysisDialog::runMm() {
    ctx_.runCommand([this] {
        const double axial = ToFloat(textOf(Edit2));
        runCurve(
            "Running the Myy-Mxx analysis ...",
            [&](SectionModel& m, Progress& progress) {
                RUN_MM_CURVE_ANALYSIS(m, axial, ctx_.messages(), &progress);
                GEN_MM_CURVE_TEXT(m, list0_);
                csv_ = curveCsv(mmCurveTable, m);
                keyPointsCsv_.clear();
            },
            [&](Canvas& c, const ChartFrame& f) {
                GEN_MM_CURVE_IMAGE(c, ctx_.model(), f, axial, marks());
            });
    });
}

void AnalysisDialog::compareCodes() {
    ctx_.runCommand([this] {
        const double angle = pmAngle();
        CodeComparison cmp;
        {
            const std::unique_ptr<Progress> progress =
                makeProgress(this, "Comparing the codes ...");
            cmp = qav::compareCodes(ctx_.model(), angle, ctx_.messages(), progress.get());
        }
        list0_.clear();
        csv_.clear();
        keyPointsCsv_.clear();
        for (const CodeCurve& curve : cmp.curves) {
            list0_.push_back(codeName(curve.code));
            for (const std::string& g : curve.grades) list0_.push_back("  " + g);
        }
        setMemoLines(Memo1, list0_);
        Image1.draw([&](Canvas& c) {
            drawCodeComparison(c, cmp, ChartFrame{0, 0, Image1.width(), Image1.height(), 1});
        });
    });
}

void AnalysisDialog::exportCsv() {
    ctx_.runCommand([this] {
        const QString path =
            exportCsvLines(ctx_.prompts(), csv_,
                           "Export CSV writes the P-M or Myy-Mxx curve last run: run one first.");
        if (path.isEmpty() || keyPointsCsv_.empty()) return;
        // The key points are a table of other columns: a file of their own beside the curve's.
        const QFileInfo curve(path);
        const QString points =
            curve.dir().filePath(curve.completeBaseName() + "-key-points." +
                                 (curve.suffix().isEmpty() ? QString("csv") : curve.suffix()));
        writeTextLines(points.toStdString(), keyPointsCsv_);
        ctx_.prompts().information("The key points are in " + points + ".");
    });
}

void AnalysisDialog::showSectionImage() {
    ctx_.runCommand([this] {
        Image1.draw([this](Canvas& c) {
            SHOW_SECTION_IMAGE(c, ctx_.model(), Image1.width(), Image1.height());
        });
    });
}

void AnalysisDialog::printAnalysisReport(PageShape shape, const QString& label,
                                         AnalysisComposition compose) {
    ctx_.runCommand([&] {
        // The fields are read when the composition reaches them.
        const ReportInputs in{marks(), [this] { return ToFloat(textOf(Edit1)); },
                              [this] { return ToFloat(textOf(Edit2)); }};
        printReport(ctx_, shape, [&](PageDocument& doc) {
            const std::unique_ptr<Progress> progress = makeProgress(this, label);
            compose(doc, ctx_.model(), in, ctx_.messages(), *progress);
        });
    });
}

void AnalysisDialog::printFigureReport() {
    printAnalysisReport(PageShape::Landscape, "Printing the figure report ...",
                        qav::printFigureReport);
}

void AnalysisDialog::printTextReport() {
    printAnalysisReport(PageShape::Portrait, "Printing the text report ...", qav::printTextReport);
}

void AnalysisDialog::printSectionData() {
    ctx_.runCommand([this] {
        printReport(ctx_, PageShape::Portrait,
                    [this](PageDocument& doc) { printSectionDataPage(doc, ctx_.model()); });
    });
}

void AnalysisDialog::showCriticalComb() {
    const SectionModel& m = ctx_.model();
    if (m.results.CRITICAL_COMB == 0 || m.document.NFORCE == 0 || !hasCriticalComb(m)) return;
    const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(m.results.CRITICAL_COMB)];
    // The load the check listed (raised where a minimum governs), its fraction cut and marked.
    const ListedLoad L = listedLoad(m, m.results.CRITICAL_COMB);
    const std::string marks = checkMarks(m, m.results.CRITICAL_COMB);
    Edit3->setText(qs(Format("%D", {m.results.CRITICAL_COMB})));
    Edit7->setText(qs(f.COMB_NAME));
    Edit8->setText(qs(LoadFractionText(f.LOAD_FRACTION) + (marks.empty() ? "" : " " + marks)));
    Edit4->setText(qs(Format("%0.3f", {L.P})));
    // "Moment Mxx" bends about X: the solver's MY; "Moment Myy" its MX.
    Edit5->setText(qs(Format("%0.3f", {L.MY})));
    Edit6->setText(qs(Format("%0.3f", {L.MX})));
}

void AnalysisDialog::showEvent(QShowEvent* event) {
    showCriticalComb();
    QDialog::showEvent(event);
}

}  // namespace qav
