#include "app/analysis/pmm_surface_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "analysis/pmm_surface.h"
#include "app/analysis/pmm_surface_view.h"
#include "app/app_context.h"
#include "app/command_map.h"
#include "app/dialog_parts.h"
#include "app/user_prompts.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/text_file.h"
#include "render/output_files.h"
#include "reports/text_reports.h"

namespace qav {

namespace {

// A scale field: a finite number, or the conversion message with the field's text; then a
// scale greater than 0 and at most PMM_MAX_SCALE, else a refusal naming the box.
double scaleField(const QLineEdit* e, const char* caption) {
    const double v = ToFloat(textOf(e));
    if (!std::isfinite(v))
        throw ConversionError("'" + textOf(e) + "' is not a valid floating point value");
    requirePmmScale(v, caption);
    return v;
}

QString withSuffix(QString path, const char* suffix) {
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += suffix;
    return path;
}

}  // namespace

PmmSurfaceDialog::PmmSurfaceDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    initToolDialog(this, "PmmSurfaceDialog", "Gen PMM Surface");
    setFont(QFont("Tahoma", 8));
    resize(845, 581);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel2");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumSize(609, 521);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    view_ = new PmmSurfaceView(panel);
    view_->setObjectName("PmmSurfaceView");
    panelLayout->addWidget(view_);

    auto* scaleBox = new QGroupBox("View Scale", this);
    scaleBox->setObjectName("GroupBox1");
    auto* g1 = new QGridLayout(scaleBox);
    Edit1 = namedEdit("Edit1", "1.0", scaleBox);
    Edit2 = namedEdit("Edit2", "1.0", scaleBox);
    Edit3 = namedEdit("Edit3", "1.0", scaleBox);
    g1->addWidget(namedLabel("Label1", "Scale in X-Dir", scaleBox), 0, 0);
    g1->addWidget(Edit1, 0, 1);
    g1->addWidget(namedLabel("Label2", "Scale in Y-Dir", scaleBox), 1, 0);
    g1->addWidget(Edit2, 1, 1);
    g1->addWidget(namedLabel("Label3", "Scale in Z-Dir", scaleBox), 2, 0);
    g1->addWidget(Edit3, 2, 1);
    CheckBox2 = new QCheckBox("Auto Scale 3 Dimension", scaleBox);
    CheckBox2->setObjectName("CheckBox2");
    CheckBox2->setChecked(true);
    g1->addWidget(CheckBox2, 3, 0, 1, 2);

    auto* displayBox = new QGroupBox("Display Setting", this);
    displayBox->setObjectName("GroupBox2");
    auto* g2 = new QVBoxLayout(displayBox);
    CheckBox1 = new QCheckBox("PMM Load Comb", displayBox);
    CheckBox1->setObjectName("CheckBox1");
    g2->addWidget(CheckBox1);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setFont(QFont("Courier New", 8));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* runButton = namedButton("Button1", "Run", this);
    auto* drawButton = namedButton("Button2", "Draw", this);
    auto* imageButton = namedButton("Button3", "Save Image", this);
    auto* textButton = namedButton("Button4", "Save Text", this);
    auto* fitButton = namedButton("Button6", "Fit Center", this);
    auto* xyButton = namedButton("Button7", "X-Y View", this);
    auto* xzButton = namedButton("Button8", "X-Z View", this);
    auto* yzButton = namedButton("Button9", "Y-Z View", this);
    connect(runButton, &QPushButton::clicked, this, [this] { ctx_.runCommand([this] { run(); }); });
    connect(drawButton, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { draw(); }); });
    connect(imageButton, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { saveImage(); }); });
    connect(textButton, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { saveText(); }); });
    connect(fitButton, &QPushButton::clicked, this, [this] { viewButton(pmmFitCenter); });
    connect(xyButton, &QPushButton::clicked, this, [this] { viewButton(pmmXYView); });
    connect(xzButton, &QPushButton::clicked, this, [this] { viewButton(pmmXZView); });
    connect(yzButton, &QPushButton::clicked, this, [this] { viewButton(pmmYZView); });
    // The section changed: the surface and its listing are of a section that is gone.
    ctx_.onSectionState(this, [this] {
        Memo1->clear();
        view_->clearModel();
    });

    auto* side = new QVBoxLayout;
    side->addWidget(scaleBox);
    side->addWidget(displayBox);
    side->addWidget(namedLabel("Label4", "Text Output", this));
    side->addWidget(Memo1, 1);
    auto* sideButtons = new QGridLayout;
    sideButtons->addWidget(runButton, 0, 0);
    sideButtons->addWidget(drawButton, 0, 1);
    sideButtons->addWidget(textButton, 1, 0);
    sideButtons->addWidget(imageButton, 1, 1);
    side->addLayout(sideButtons);

    auto* left = new QVBoxLayout;
    left->addWidget(panel, 1);
    auto* viewButtons = new QHBoxLayout;
    for (QPushButton* b : {fitButton, xyButton, xzButton, yzButton}) viewButtons->addWidget(b);
    viewButtons->addStretch(1);
    left->addLayout(viewButtons);

    auto* top = new QHBoxLayout(this);
    top->setContentsMargins(8, 8, 8, 8);
    top->addLayout(left, 3);
    top->addLayout(side, 1);
}

void PmmSurfaceDialog::run() {
    {
        const std::unique_ptr<Progress> progress =
            makeProgress(this, "Running the PMM analysis ...");
        RUN_PMM_ANALYSIS(ctx_.model(), ctx_.messages(), progress.get());
    }
    std::vector<std::string> lines;
    GEN_PMM_CURVE_TEXT(ctx_.model(), lines);
    QString text;
    for (const auto& l : lines) {
        text += qs(l);
        text += '\n';
    }
    text.chop(1);
    Memo1->setPlainText(text);
    draw();
}

void PmmSurfaceDialog::draw() {
    const std::array<double, 3> scale{scaleField(Edit1, "Scale in X-Dir"),
                                      scaleField(Edit2, "Scale in Y-Dir"),
                                      scaleField(Edit3, "Scale in Z-Dir")};
    // The frame alone is still drawn, but not without a word on why there is no surface.
    if (ctx_.model().results.PMM_P.empty())
        ctx_.messages().message("There is no PMM surface to draw yet: press \"Run\" first.");
    PmmWireModel w = BUILD_PMM_WIRE_MODEL(ctx_.model());
    PmmSceneOptions options;
    options.stretch = pmmStretch(w, CheckBox2->isChecked(), scale);
    options.showLoads = CheckBox1->isChecked();
    options.nominal = pmmNominalCurves(ctx_.model());
    view_->setModel(std::move(w), options);
}

void PmmSurfaceDialog::viewButton(void (*operation)(PmmViewState&)) {
    operation(view_->state());
    view_->redraw();
}

void PmmSurfaceDialog::saveImage() {
    const QImage image = view_->grabImage();
    if (image.isNull())
        throw FileError("There is no picture to save: OpenGL is not available on this display.");
    const QString path =
        withSuffix(ctx_.prompts().saveFileName("Bitmap Picture (*.bmp)", "Gant.bmp"), ".bmp");
    if (path.isEmpty()) return;
    writeImageFile(image, QFile::encodeName(path).toStdString(), "BMP");
}

void PmmSurfaceDialog::saveText() {
    const QString path = ctx_.prompts().saveFileName("TextFile (*.txt)");
    if (path.isEmpty()) return;
    std::vector<std::string> lines;
    const QString text = Memo1->toPlainText();
    if (!text.isEmpty())
        for (const QString& l : text.split('\n')) lines.push_back(l.toStdString());
    writeTextLines(path.toStdString(), lines);
}

void PmmSurfaceDialog::wheelEvent(QWheelEvent* e) {
    const int dy = e->angleDelta().y();
    if (dy == 0) return QDialog::wheelEvent(e);
    pmmWheel(view_->state(), dy < 0);
    view_->redraw();
    e->accept();
}

void installPmmSurfaceCommands(AppContext& ctx) {
    auto* dialog = new PmmSurfaceDialog(ctx, ctx.mainWidget());
    ctx.commands().set(cmd::PmmSurface, [dialog] { showDialog(dialog); });
}

}  // namespace qav
