#include "app/builders/composite_section_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/builders/builder_widgets.h"
#include "builders/composite_preview.h"

namespace qav {

namespace {
constexpr int kPreviewW = 607, kPreviewH = 500;

// One steel section group: Sec Width, Sec Height, Flange Thick, Web Thick.
QGroupBox* steelGroup(QWidget* parent, const char* title, const char* name, int firstEdit) {
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(name);
    auto* grid = new QGridLayout(g);
    const char* captions[4] = {"Sec Width", "Sec Height", "Flange Thick", "Web Thick"};
    const char* defaults[4] = {"400", "600", "25", "20"};
    for (int i = 0; i < 4; ++i) {
        const std::string edit = "Edit" + std::to_string(firstEdit + i);
        auto* label = makeLabel(g, ("Label" + edit).c_str(), captions[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(makeEdit(g, edit.c_str(), defaults[i]), i, 1);
    }
    return g;
}
}  // namespace

CompositeSectionDialog::CompositeSectionDialog(SectionModel& model, QWidget* parent)
    : BuilderDialog(model, "TForm18", "Build Composite Section", parent) {
    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    root->addLayout(left, 0);
    root->addLayout(right, 1);

    auto* typeGroup = new QGroupBox("SRC Section", this);
    typeGroup->setObjectName("GroupBoxType");
    auto* typeRow = new QHBoxLayout(typeGroup);
    typeRow->addWidget(makeLabel(typeGroup, nullptr, "Type"));
    ComboBox1 = new QComboBox(typeGroup);
    ComboBox1->setObjectName("ComboBox1");
    for (const auto& t : compositeTypes()) ComboBox1->addItem(QString::fromStdString(t.name));
    typeRow->addWidget(ComboBox1, 1);
    left->addWidget(typeGroup);

    auto* concrete = new QGroupBox("Concrete Section and Rebar", this);
    concrete->setObjectName("GroupBoxConcrete");
    auto* cg = new QGridLayout(concrete);
    cg->addWidget(makeLabel(concrete, nullptr, "Sec Width"), 0, 0);
    cg->addWidget(makeEdit(concrete, "Edit1", "1000"), 0, 1, 1, 2);
    cg->addWidget(makeLabel(concrete, nullptr, "Sec Height"), 1, 0);
    cg->addWidget(makeEdit(concrete, "Edit2", "800"), 1, 1, 1, 2);
    cg->addWidget(makeLabel(concrete, nullptr, "Layer"), 2, 1);
    cg->addWidget(makeLabel(concrete, nullptr, "Num"), 2, 2);
    cg->addWidget(makeLabel(concrete, nullptr, "Dia"), 2, 3);
    cg->addWidget(makeLabel(concrete, nullptr, "X-Dir Rebar"), 3, 0);
    cg->addWidget(makeEdit(concrete, "Edit3", "1"), 3, 1);
    cg->addWidget(makeEdit(concrete, "Edit4", "4"), 3, 2);
    cg->addWidget(makeEdit(concrete, "Edit5", "25"), 3, 3);
    cg->addWidget(makeLabel(concrete, nullptr, "Y-Dir Rebar"), 4, 0);
    cg->addWidget(makeEdit(concrete, "Edit6", "1"), 4, 1);
    cg->addWidget(makeEdit(concrete, "Edit7", "4"), 4, 2);
    cg->addWidget(makeEdit(concrete, "Edit8", "25"), 4, 3);
    cg->addWidget(makeLabel(concrete, nullptr, "Corner Rebar"), 5, 0);
    cg->addWidget(makeEdit(concrete, "Edit19", "1"), 5, 2);
    cg->addWidget(makeEdit(concrete, "Edit20", "25"), 5, 3);
    cg->addWidget(makeLabel(concrete, nullptr, "Cover Thk"), 6, 0);
    cg->addWidget(makeEdit(concrete, "Edit17", "35"), 6, 1, 1, 2);
    cg->addWidget(makeLabel(concrete, nullptr, "Spacer"), 7, 0);
    cg->addWidget(makeEdit(concrete, "Edit18", "30"), 7, 1, 1, 2);
    left->addWidget(concrete);

    steel1_ = steelGroup(this, "Steel Section 1", "GroupBoxSteel1", 9);
    steel2_ = steelGroup(this, "Steel Section 2", "GroupBoxSteel2", 13);
    left->addWidget(steel1_);
    left->addWidget(steel2_);
    left->addStretch(1);

    addButtons(left, {{"Button3", "Input Data"}, {"Button2", "Gen Section"}, {"Button1", "Close"}},
               {[this] { inputData(); }, [this] { generate(); }, [this] { hide(); }}, false);

    right->addWidget(makeLabel(this, "Label17", "Image"));
    QFrame* panel = nullptr;
    Image1 = makePicture(this, kPreviewW, kPreviewH, &panel);
    right->addWidget(panel);
    right->addStretch(1);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { typeChanged(); });

    // Every parameter is 0 until the first "Input Data": the preview starts blank.
    showTypeControls();
    drawPreview();
    resize(869, 662);
}

void CompositeSectionDialog::typeChanged() {
    showTypeControls();
    inputData();
}

void CompositeSectionDialog::showTypeControls() {
    const int type = ComboBox1->currentIndex();
    if (type < 0) return;
    const CompositeVisibility v = compositeVisibility(type);
    steel1_->setVisible(v.steel1);
    steel2_->setVisible(v.steel2);
    const struct {
        const char* edit;
        bool shown;
    } rows[] = {
        {"Edit9", v.width1}, {"Edit10", v.height1}, {"Edit11", v.flange1}, {"Edit12", v.web1}};
    for (const auto& r : rows) {
        steel1_->findChild<QLineEdit*>(r.edit)->setVisible(r.shown);
        steel1_->findChild<QLabel*>(QString("Label") + r.edit)->setVisible(r.shown);
    }
}

void CompositeSectionDialog::inputData() {
    const BoxTexts texts = collectBoxTexts(this);
    if (reportErrors([&] { INPUT_DATA(params_, ComboBox1->currentIndex(), texts); })) drawPreview();
}

void CompositeSectionDialog::drawPreview() {
    const CompositeParams p = params_;
    paintPicture(
        Image1, kPreviewW, kPreviewH,
        [p](Canvas& c) { drawCompositePreview(c, kPreviewW, kPreviewH, p); }, false);
}

void CompositeSectionDialog::generate() {
    attempt([this] { buildCompositeSection(model_, params_); });
}

}  // namespace qav
