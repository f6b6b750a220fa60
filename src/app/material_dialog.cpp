#include "app/material_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "app/user_prompts.h"
#include "model/materials.h"
#include "render/qt_canvas.h"
#include "view/material_diagram.h"

namespace qav {

namespace {
QPixmap diagram(void (*draw)(Canvas&, int, int)) {
    QPixmap pm(220, 160);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QtCanvas c(p);
    draw(c, pm.width(), pm.height());
    return pm;
}

MaterialTable tableOf(int index) {
    if (index == 1) return MaterialTable::Steel;
    if (index == 2) return MaterialTable::CoverConcrete;
    return MaterialTable::CoreConcrete;
}
}  // namespace

MaterialDialog::MaterialDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    initToolDialog(this, "MaterialDialog", "Concrete and Steel Material");
    auto* top = new QVBoxLayout(this);
    auto* pick = new QGridLayout;
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({"Core Concrete", "Steel", "Cover Concrete"});
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName("ComboBox2");
    ComboBox2->addItems({"Concrete", "Steel"});
    pick->addWidget(namedLabel("Label1", "Material Type", this), 0, 0);
    pick->addWidget(ComboBox1, 0, 1);
    pick->addWidget(namedLabel("Label2", "Material Name", this), 1, 0);
    pick->addWidget(ComboBox2, 1, 1);
    top->addLayout(pick);

    auto* row = new QHBoxLayout;
    auto* group = new QGroupBox("Material Setting", this);
    group->setObjectName("GroupBox1");
    auto* g = new QGridLayout(group);
    Edit1 = namedEdit("Edit1", "", group);
    Edit1->setEnabled(false);
    Edit2 = namedEdit("Edit2", "", group);
    Edit3 = namedEdit("Edit3", "", group);
    Edit4 = namedEdit("Edit4", "", group);
    Edit5 = namedEdit("Edit5", "", group);
    Label5 = namedLabel("Label5", "Yield Stress Fc(MPa)", group);
    Label6 = namedLabel("Label6", "Yield Strain eps_0", group);
    Label7 = namedLabel("Label7", "Ultimate Strain eps_cu", group);
    g->addWidget(namedLabel("Label3", "Material Name", group), 0, 0);
    g->addWidget(Edit1, 0, 1);
    g->addWidget(namedLabel("Label4", "Elastic Mudulus E (MPa)", group), 1, 0);
    g->addWidget(Edit2, 1, 1);
    g->addWidget(Label5, 2, 0);
    g->addWidget(Edit3, 2, 1);
    g->addWidget(Label6, 3, 0);
    g->addWidget(Edit4, 3, 1);
    g->addWidget(Label7, 4, 0);
    g->addWidget(Edit5, 4, 1);
    row->addWidget(group);
    Image1 = namedLabel("Image1", "", this);
    Image1->setPixmap(diagram(drawConcreteLawDiagram));
    Image2 = namedLabel("Image2", "", this);
    Image2->setPixmap(diagram(drawSteelLawDiagram));
    row->addWidget(Image1);
    row->addWidget(Image2);
    top->addLayout(row);

    auto* modifyButton = namedButton("Button2", "Modify", this);
    auto* closeButton = namedButton("Button1", "Close", this);
    top->addLayout(buttonRow({modifyButton, closeButton}));

    connect(ComboBox1, &QComboBox::activated, this, [this] { typeChanged(); });
    connect(ComboBox2, &QComboBox::activated, this, [this] { nameChanged(); });
    connect(modifyButton, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { modify(); }); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
}

void MaterialDialog::showEvent(QShowEvent* event) {
    typeChanged();
    QDialog::showEvent(event);
}

void MaterialDialog::typeChanged() {
    const MaterialTable t = tableOf(ComboBox1->currentIndex());
    SectionModel& m = ctx_.model();
    const std::vector<TMAT>& table =
        t == MaterialTable::Steel
            ? m.document.STEEL_MAT
            : (t == MaterialTable::CoverConcrete ? m.document.COVER_MAT : m.document.CONC_MAT);
    const int fixed = t == MaterialTable::Steel ? OWN_STEEL_GRADES : CONC_GRADE_ITEMS;
    // The list has a fixed length, but a file may have brought a shorter table.
    const int n = std::min<int>(fixed, static_cast<int>(table.size()) - 1);
    ComboBox2->clear();
    for (int i = 1; i <= n; ++i) ComboBox2->addItem(qs(table[static_cast<std::size_t>(i)].NAME));
    ComboBox2->setCurrentIndex(n > 0 ? 0 : -1);
    nameChanged();
    Image1->setVisible(t != MaterialTable::Steel);
    Image2->setVisible(t == MaterialTable::Steel);
}

void MaterialDialog::nameChanged() {
    const MaterialTable t = tableOf(ComboBox1->currentIndex());
    const int grade = ComboBox2->currentIndex() + 1;
    if (grade < 1) return;
    const MaterialBoxes b = materialBoxes(ctx_.model(), t, grade);
    Edit1->setText(qs(b.Edit1));
    Edit2->setText(qs(b.Edit2));
    Edit3->setText(qs(b.Edit3));
    Edit4->setText(qs(b.Edit4));
    Edit5->setText(qs(b.Edit5));
    const bool steel = t == MaterialTable::Steel;
    Edit4->setEnabled(!steel);
    Label5->setText(steel ? "Yield Stress Fy(MPa)" : "Yield Stress Fc(MPa)");
    Label6->setText(steel ? "Yield Stress Fy1(MPa)" : "Yield Strain eps_0");
    Label7->setText(steel ? "ay Reduct. Factor" : "Ultimate Strain eps_cu");
}

void MaterialDialog::modify() {
    const int grade = ComboBox2->currentIndex() + 1;
    if (grade < 1) return;
    const MaterialTable table = tableOf(ComboBox1->currentIndex());
    const MaterialBoxes boxes{textOf(Edit1), textOf(Edit2), textOf(Edit3), textOf(Edit4),
                              textOf(Edit5)};
    const double esBefore = materialOf(ctx_.model(), table, grade).ES;
    const std::string edit4 = modifyMaterial(ctx_.model(), table, grade, boxes);
    Edit4->setText(qs(edit4));
    // Said when a new ES is applied, not at every later Modify of the same grade.
    const TMAT& stored = materialOf(ctx_.model(), table, grade);
    if (table == MaterialTable::Steel && stored.ES != esBefore) {
        const std::string note = steelModulusNote(stored);
        if (!note.empty()) ctx_.prompts().information(qs(note));
    }
}

}  // namespace qav
