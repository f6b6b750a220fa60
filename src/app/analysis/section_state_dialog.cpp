#include "app/analysis/section_state_dialog.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "analysis/load_combinations.h"
#include "app/analysis/analysis_widgets.h"
#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "app/user_prompts.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/tables.h"
#include "model/text_file.h"
#include "render/output_files.h"
#include "render/qt_canvas.h"
#include "reports/state_picture.h"

namespace qav {

namespace {
QLineEdit* rowEdit(QWidget* parent, const QString& name, const QString& caption,
                   const QString& text, int y) {
    auto* l = namedLabel(name + "Label", caption, parent);
    l->setGeometry(10, y + 3, 120, 18);
    QLineEdit* e = namedEdit(name, text, parent);
    e->setGeometry(135, y, 110, 21);
    return e;
}
}  // namespace

SectionStateDialog::SectionStateDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), image_(STATE_PICTURE_W, STATE_PICTURE_H, QImage::Format_RGB32) {
    initToolDialog(this, "SectionStateDialog", "Section State");
    setFont(QFont("Tahoma", 8));
    setFixedSize(STATE_PICTURE_W + 300, STATE_PICTURE_H + 24);
    image_.fill(Qt::white);

    picture_ = namedLabel("Picture", "", this);
    picture_->setGeometry(12, 12, STATE_PICTURE_W, STATE_PICTURE_H);
    picture_->setFrameShape(QFrame::Panel);
    picture_->setFrameShadow(QFrame::Sunken);

    const int x = STATE_PICTURE_W + 24, w = 264;
    auto* group = new QGroupBox("Load", this);
    group->setObjectName("LoadGroup");
    group->setGeometry(x, 8, w, 250);
    combRadio_ = new QRadioButton("Load Combination", group);
    combRadio_->setObjectName("CombRadio");
    combRadio_->setGeometry(10, 20, 240, 20);
    combRadio_->setChecked(true);
    combList_ = new QComboBox(group);
    combList_->setObjectName("CombList");
    combList_->setGeometry(10, 42, 235, 22);
    loadRadio_ = new QRadioButton("Load (P compression -)", group);
    loadRadio_->setObjectName("LoadRadio");
    loadRadio_->setGeometry(10, 70, 240, 20);
    loadP_ = rowEdit(group, "LoadP", "P[kN]", "-3000", 92);
    loadMx_ = rowEdit(group, "LoadMx", "Mxx[kNm]", "500", 116);
    loadMy_ = rowEdit(group, "LoadMy", "Myy[kNm]", "0", 140);
    // One set of minimums serves the check and the state of its combinations: the load
    // dialog's.
    auto* minNote = namedLabel("MinLabel",
                               "A combination is shown as the last check listed it: raised to "
                               "the load dialog's minimums where marked *. A typed load and "
                               "the state at the load are never raised.",
                               group);
    minNote->setGeometry(10, 166, 240, 84);
    minNote->setWordWrap(true);
    minNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    group->setFixedHeight(258);

    auto* atLabel = namedLabel("StateAtLabel", "State", this);
    atLabel->setGeometry(x, 275, 60, 18);
    stateAt_ = new QComboBox(this);
    stateAt_->setObjectName("StateAtList");
    stateAt_->addItems({"at capacity", "at the load"});
    stateAt_->setGeometry(x + 64, 272, w - 64, 22);
    auto* show = namedButton("ShowButton", "Show State", this);
    show->setGeometry(x, 300, w, 25);
    summary_ = listingMemo("Summary", this);
    summary_->setGeometry(x, 332, w, 172);
    summary_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto* save = namedButton("SaveImageButton", "Save Image", this);
    save->setGeometry(x, 512, 128, 25);
    auto* csv = namedButton("ExportCsvButton", "Export CSV", this);
    csv->setGeometry(x + 136, 512, 128, 25);

    connect(show, &QPushButton::clicked, this, [this] { showState(); });
    connect(save, &QPushButton::clicked, this, [this] { saveImage(); });
    connect(csv, &QPushButton::clicked, this, [this] { exportCsv(); });
    // The section changed: the state shown is of a mesh that is gone.
    ctx_.onSectionState(this, [this] {
        state_.reset();
        summary_->clear();
        fillCombinations();
        draw();
    });
    draw();
}

void SectionStateDialog::fillCombinations() {
    const SectionModel& m = ctx_.model();
    combList_->clear();
    const auto forceRows = rows(m.document.FORCE, m.document.NFORCE);
    for (const TFORCE& f : forceRows) {
        const int32_t i = rowNumber(forceRows, f);
        const std::string critical = i == m.results.CRITICAL_COMB ? "  (critical)" : "";
        const ListedLoad L = listedLoad(m, i);
        combList_->addItem(
            qs(Format("%D  %s  P %0.1F  Mxx %0.1F  Myy %0.1F", {i, f.COMB_NAME, L.P, L.MY, L.MX}) +
               (L.raised ? " *" : "") + critical));
    }
    if (m.results.CRITICAL_COMB >= 1 && m.results.CRITICAL_COMB <= combList_->count())
        combList_->setCurrentIndex(m.results.CRITICAL_COMB - 1);
    if (combList_->count() == 0) loadRadio_->setChecked(true);
}

void SectionStateDialog::showState() {
    ctx_.runCommand([this] {
        SectionModel& m = ctx_.model();
        if (m.mesh.NFIB <= 0)
            throw InputError(
                "The section has no fibres: mesh the section before showing its state.");
        m.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m);
        double P = 0, MX = 0, MY = 0;
        if (combRadio_->isChecked()) {
            const int i = combList_->currentIndex() + 1;
            if (i < 1 || i > m.document.NFORCE)
                throw InputError(
                    "There is no load combination to show: import the loading or type a load.");
            // At capacity the load the check listed; at the load the load as given.
            const TFORCE& f = m.document.FORCE[static_cast<std::size_t>(i)];
            const bool given = stateAt_->currentIndex() == 1;
            const ListedLoad L = given ? ListedLoad{f.P, f.MX, f.MY, false} : listedLoad(m, i);
            P = L.P;
            MX = L.MX;
            MY = L.MY;
        } else {
            P = ToFloat(textOf(loadP_));
            MX = ToFloat(textOf(loadMy_));
            MY = ToFloat(textOf(loadMx_));
        }
        // Loads count compression negative; the solver counts it positive.
        const StateAt at = stateAt_->currentIndex() == 1 ? StateAt::Load : StateAt::Capacity;
        state_ = SECTION_STATE(m, -P, MX, MY, 0, 0, 0, ctx_.messages(), at);
        reportStateUnconverged(*state_, ctx_.messages());
        std::vector<std::string> lines{stateHeading(*state_)};
        for (std::string& l : sectionStateSummary(*state_)) lines.push_back(std::move(l));
        setMemoLines(summary_, lines);
        draw();
    });
}

void SectionStateDialog::draw() {
    image_.fill(Qt::white);
    if (state_) {
        QPainter painter(&image_);
        QtCanvas canvas(painter);
        drawSectionState(canvas, ctx_.model(), *state_, image_.width(), image_.height());
    }
    picture_->setPixmap(QPixmap::fromImage(image_));
}

void SectionStateDialog::saveImage() {
    ctx_.runCommand([this] {
        if (!state_) throw InputError("Show a state first.");
        const QString path = ctx_.prompts().saveFileName("PNG Image (*.png)", "section_state.png");
        if (path.isEmpty()) return;
        writeImageFile(image_, QFile::encodeName(path).toStdString(), "PNG");
    });
}

void SectionStateDialog::exportCsv() {
    ctx_.runCommand([this] {
        if (!state_) throw InputError("Show a state first.");
        const QString path = ctx_.prompts().saveFileName("csv_File (*.csv)", "section_state.csv");
        if (path.isEmpty()) return;
        writeTextLines(path.toStdString(), sectionStateCsv(ctx_.model(), *state_, true));
    });
}

void SectionStateDialog::showEvent(QShowEvent* event) {
    fillCombinations();
    QDialog::showEvent(event);
}

}  // namespace qav
