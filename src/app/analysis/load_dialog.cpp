#include "app/analysis/load_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QProgressBar>
#include <QResizeEvent>
#include <QTableWidget>

#include "analysis/load_combinations.h"
#include "app/analysis/analysis_widgets.h"
#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "app/general_setting_dialog.h"
#include "app/printing.h"
#include "app/user_prompts.h"
#include "interchange/force_csv.h"
#include "model/number_text.h"
#include "model/tables.h"
#include "model/text_file.h"
#include "reports/load_report.h"

namespace qav {

namespace {
const QString kCsvFilter = QStringLiteral("CSV File (*.csv)");
// The table shows kN and kNm whatever the unit system of the files imported and exported.
const char* const kHeader[] = {"No.", "LoadComb", "P[kN]", "Myy[kNm]", "Mxx[kNm]", "LoadFraction"};

// The dialog's own size, where its right column begins and where the row under the table does.
constexpr int kWidth = 779, kHeight = 514, kRightColumn = 515, kBelowTable = 452;

}  // namespace

LoadDialog::LoadDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    initToolDialog(this, "LoadDialog", "Import Column internal Force");
    setFont(QFont("Tahoma", 8));
    setMinimumSize(kWidth, kHeight);
    resize(kWidth, kHeight);

    // The top row: each control right after the text before it.
    int x = 16;
    auto place = [&x](QWidget* w, int width) {
        w->setGeometry(x, 14, width, 21);
        x += width + 8;
    };
    auto label = [&](const char* name, const char* text) {
        QLabel* l = namedLabel(name, text, this);
        place(l, l->sizeHint().width());
    };
    label("Label1", "Number of Load Comb");
    Edit1 = namedEdit("Edit1", "0", this);
    Edit1->setReadOnly(true);
    place(Edit1, 50);
    label("Label11", "Unit System");
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setToolTip(
        "The units of the CSV files imported and exported; the table shows kN "
        "and kNm.");
    ComboBox1->addItems({"N,mm", "kN,m"});
    place(ComboBox1, 80);
    label("Label12", "P(Negative Value) is Compression Force");

    StringGrid1 = new QTableWidget(1, 6, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setGeometry(16, 44, 490, 408);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(75);
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHeaderRow();
    // What the marks beside a load fraction mean, when the table shows any.
    Legend = namedLabel("LegendLabel", "", this);
    Legend->setGeometry(16, 454, 490, 22);
    Legend->setWordWrap(true);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setGeometry(16, 478, 490, 18);

    auto* GroupBox2 = new QGroupBox("Min Axial  and Moment(for Iteration)", this);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(520, 40, 247, 104);
    // 0 checks every load as given; a minimum given can only lower a load fraction.
    GroupBox2->setToolTip(
        "0 checks each load as given. A minimum raises a smaller component, and the raised "
        "load's fraction is listed (marked *) where it is the smaller one.");
    Edit10 = labelledEdit(GroupBox2, "Label10", " P_min[kN]", "Edit10", "0", 20, 130, 105);
    Edit9 = labelledEdit(GroupBox2, "Label8", "Min Mxx[kNm]", "Edit9", "0", 47, 130, 105);
    Edit8 = labelledEdit(GroupBox2, "Label9", "Min Myy[kNm]", "Edit8", "0", 74, 130, 105);

    auto* GroupBox1 = new QGroupBox("Critical Load Comb", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(520, 150, 247, 184);
    Edit2 = labelledEdit(GroupBox1, "Label4", "Critical Load Comb", "Edit2", "", 20, 130, 105);
    Edit4 = labelledEdit(GroupBox1, "Label2", "Comb Name", "Edit4", "", 47, 130, 105);
    Edit3 = labelledEdit(GroupBox1, "Label3", "Min Load Fraction", "Edit3", "", 74, 130, 105);
    Edit5 = labelledEdit(GroupBox1, "Label5", "Axial Force P[kN]", "Edit5", "", 101, 130, 105);
    Edit6 = labelledEdit(GroupBox1, "Label6", "Moment Mxx[kNm]", "Edit6", "", 128, 130, 105);
    Edit7 = labelledEdit(GroupBox1, "Label7", "Moment Myy[kNm]", "Edit7", "", 155, 130, 105);

    // Buttons two to a row below the result fields.
    auto button = [this](const char* name, const char* text, int slot) {
        return placedButton(name, text, this,
                            {520 + (slot % 2) * 125, 344 + (slot / 2) * 30, 122, 25});
    };
    auto* Button1 = button("Button1", "Import CSV File", 0);
    auto* Button6 = button("Button6", "Export CSV File", 1);
    auto* Button9 = button("Button9", "Export Sample CSV", 2);
    auto* Button3 = button("Button3", "Refresh", 3);
    auto* Button2 = button("Button2", "Clear Table", 4);
    button("Button7", "Modify", 5);  // no action
    auto* Button4 = button("Button4", "Check Member", 6);
    auto* Button8 = button("Button8", "Print Report", 7);
    auto* Button5 = button("Button5", "Close", 9);
    // Moments raised to the axial force times the code's minimum eccentricity instead of the
    // fixed minimum magnitudes; kept with the program's settings.
    // Two lines: the free button slot left of "Close" is narrower than the caption.
    MinEccBox = new QCheckBox("Code minimum\neccentricity", this);
    MinEccBox->setObjectName("MinEccBox");
    MinEccBox->setGeometry(520, 461, 122, 31);
    MinEccBox->setToolTip(
        "Also check a compression with each moment in turn raised to at least P x e_min about "
        "its axis (e_min from the section's code; under ACI 318-19 the minimum moment of its "
        "slenderness rules), the smaller fraction governing, instead of the minimum magnitudes");
    connect(MinEccBox, &QCheckBox::toggled, this, [this](bool on) {
        ctx_.model().settings.CODE_MIN_ECC = on;
        storeProgramSettings(ctx_.model());
        showMinimumBoxes();
    });

    connect(Button1, &QPushButton::clicked, this, [this] { importCsv(); });
    connect(Button6, &QPushButton::clicked, this, [this] { exportCsv(); });
    connect(Button9, &QPushButton::clicked, this, [this] { exportSample(); });
    connect(Button2, &QPushButton::clicked, this, [this] { UPDATE_FORCE_TABLE(); });
    connect(Button3, &QPushButton::clicked, this, [this] { UPDATE_FORCE_TABLE(); });
    connect(Button4, &QPushButton::clicked, this, [this] { checkMember(); });
    connect(Button8, &QPushButton::clicked, this, [this] { printReport(); });
    connect(Button5, &QPushButton::clicked, this, &QDialog::close);
    // The section changed: the load fractions were emptied with the other results.
    ctx_.onSectionState(this, [this] {
        UPDATE_FORCE_TABLE();
        for (QLineEdit* e : {Edit2, Edit4, Edit3, Edit5, Edit6, Edit7}) e->clear();
    });
    places_ = std::make_unique<GrowingPlaces>(this, QSize(kWidth, kHeight), StringGrid1,
                                              kRightColumn, kBelowTable);
}

void LoadDialog::resizeEvent(QResizeEvent* event) {
    if (places_) places_->apply(size());
    QDialog::resizeEvent(event);
}

void LoadDialog::setHeaderRow() {
    StringGrid1->setColumnWidth(0, 35);
    StringGrid1->setColumnWidth(1, 110);
    StringGrid1->setColumnWidth(5, 95);  // "LoadFraction" whole, and a fraction with its marks
    for (int c = 0; c < 6; ++c) {
        auto* item = new QTableWidgetItem(kHeader[c]);
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(palette().button());
        StringGrid1->setItem(0, c, item);
    }
}

void LoadDialog::UPDATE_FORCE_TABLE() {
    const SectionModel& m = ctx_.model();
    Edit1->setText(QString::number(m.document.NFORCE));
    const auto loads = rows(m.document.FORCE, m.document.NFORCE);
    StringGrid1->setRowCount(static_cast<int>(loads.size()) + 1);
    StringGrid1->setColumnCount(6);
    setHeaderRow();
    for (const TFORCE& f : loads) {
        const int i = rowNumber(loads, f);
        // The load whose fraction is listed, the fraction cut at its decimals and marked.
        const ListedLoad L = listedLoad(m, i);
        const std::string marks = checkMarks(m, i);
        const std::string cells[] = {
            Format("%D", {i}), f.COMB_NAME, Format("%0.3F", {L.P}), Format("%0.3F", {L.MX}),
            Format("%0.3F", {L.MY}),
            // Blank until the combination is checked: no fraction is known yet.
            isChecked(f) ? LoadFractionText(f.LOAD_FRACTION) + (marks.empty() ? "" : " " + marks)
                         : std::string()};
        for (int c = 0; c < 6; ++c) StringGrid1->setItem(i, c, new QTableWidgetItem(qs(cells[c])));
        markRow(i, f, L, marks);
    }
    const std::vector<std::string> legend = checkLegend(m);
    std::string text;
    for (const std::string& l : legend) text += (text.empty() ? "" : "\n") + l;
    Legend->setText(qs(text));
}

// A raised combination's row tinted, with the load as given in its tool tip; a fraction below 1
// in red.
void LoadDialog::markRow(int i, const TFORCE& f, const ListedLoad& L, const std::string& marks) {
    if (L.raised) {
        const QString tip =
            qs(Format("Checked with the load raised to the minimum; as given: "
                      "P %0.3F, Myy %0.3F, Mxx %0.3F",
                      {f.P, f.MX, f.MY}));
        for (int c = 0; c < 6; ++c) {
            QTableWidgetItem* item = StringGrid1->item(i, c);
            item->setToolTip(tip);
            item->setBackground(QColor(255, 250, 205));
        }
    }
    if (marks.find("<1") != std::string::npos)
        StringGrid1->item(i, 5)->setForeground(QColor(192, 0, 0));
}

void LoadDialog::importCsv() {
    ctx_.runCommand([this] {
        const QString path = ctx_.prompts().openFileName(kCsvFilter);
        if (path.isEmpty()) return;
        FORCE_LINES = readTextLines(path.toStdString());
        // Messages about a row name the file as the user knows it: by its name, not its folder.
        IMPORT_FORCE_CSV(ctx_.model(), FORCE_LINES,
                         ComboBox1->currentIndex() == 0 ? ForceUnits::N_mm : ForceUnits::kN_m,
                         QFileInfo(path).fileName().toStdString());
        UPDATE_FORCE_TABLE();
    });
}

void LoadDialog::exportCsv() {
    ctx_.runCommand([this] {
        const QString path = ctx_.prompts().saveFileName(kCsvFilter);
        if (path.isEmpty()) return;
        FORCE_LINES = EXPORT_FORCE_CSV(ctx_.model());
        writeTextLines(path.toStdString(), FORCE_LINES);
    });
}

void LoadDialog::exportSample() {
    ctx_.runCommand([this] {
        // A file to be written is asked for with the save dialog (an open dialog wants a file
        // that exists already).
        const QString path = ctx_.prompts().saveFileName(kCsvFilter);
        if (path.isEmpty()) return;
        writeTextLines(path.toStdString(), SAMPLE_FORCE_CSV());
    });
}

void LoadDialog::checkMember() {
    ctx_.runCommand([this] {
        const double K_P = ToFloat(textOf(Edit10));
        // "Min Mxx" (Edit9) bounds the moment about X, the solver's MY; "Min Myy" (Edit8) its MX.
        const double K_MX = ToFloat(textOf(Edit8));
        const double K_MY = ToFloat(textOf(Edit9));
        // The dialog's bar moves with the run's progress, whose "Cancel" stops the check before
        // the fractions, the critical combination or the table change.
        const std::unique_ptr<Progress> run =
            makeProgress(this, "Checking the load combinations ...");
        BarAndRunProgress progress(ProgressBar1, *run);
        // The bar goes back to 0 however the check ends.
        struct Reset {
            QProgressBar* bar;
            ~Reset() { bar->setValue(0); }
        } reset{ProgressBar1};
        const CheckResult r =
            CHECK_MEMBER(ctx_.model(), K_P, K_MX, K_MY, ctx_.messages(), progress);
        UPDATE_FORCE_TABLE();
        showCriticalComb(r.critical);
    });
}

void LoadDialog::showCriticalComb(int c) {
    const SectionModel& m = ctx_.model();
    if (c < 1 || static_cast<std::size_t>(c) >= m.document.FORCE.size()) return;
    const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(c)];
    const ListedLoad L = listedLoad(m, c);
    const std::string marks = checkMarks(m, c);
    Edit2->setText(qs(Format("%D", {c})));
    Edit4->setText(qs(f.COMB_NAME));
    Edit3->setText(qs(LoadFractionText(f.LOAD_FRACTION) + (marks.empty() ? "" : " " + marks)));
    Edit5->setText(qs(Format("%0.3f", {L.P})));
    // "Moment Mxx" bends about X: the solver's MY; "Moment Myy" its MX.
    Edit6->setText(qs(Format("%0.3f", {L.MY})));
    Edit7->setText(qs(Format("%0.3f", {L.MX})));
}

void LoadDialog::printReport() {
    ctx_.runCommand([this] {
        FORCE_LINES = LOAD_REPORT_LINES(ctx_.model());
        qav::printReport(ctx_, PageShape::Landscape, [this](PageDocument& doc) {
            PRINT_OUT_REPORT(doc, FORCE_LINES, sectionCode(ctx_.model()));
        });
    });
}

// The fixed minimum magnitudes apply unless the code's minimum eccentricity replaces them.
void LoadDialog::showMinimumBoxes() {
    for (QLineEdit* e : {Edit10, Edit9, Edit8}) e->setEnabled(!MinEccBox->isChecked());
}

void LoadDialog::showEvent(QShowEvent* event) {
    MinEccBox->setChecked(ctx_.model().settings.CODE_MIN_ECC);
    showMinimumBoxes();
    if (ctx_.model().document.NFORCE > 0) UPDATE_FORCE_TABLE();
    QDialog::showEvent(event);
}

}  // namespace qav
