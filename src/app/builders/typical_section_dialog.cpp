#include "app/builders/typical_section_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/builders/builder_widgets.h"
#include "builders/shape_picture.h"
#include "builders/typical_section.h"

namespace qav {

TypicalSectionDialog::TypicalSectionDialog(SectionModel& model, QWidget* parent)
    : BuilderDialog(model, "TForm2", "Build Typical Section", parent) {
    QStringList names;
    for (const auto& s : typicalShapes()) names << QString::fromStdString(s.name);
    const auto [left, right] =
        addShapeFrame(names, {}, {"800", "1200", "800", "1200", "800", "1200", "1200"});

    auto* GroupBox3 = new QGroupBox("Section Properties", this);
    GroupBox3->setObjectName("GroupBox3");
    auto* props = new QGridLayout(GroupBox3);
    const struct {
        const char *label, *caption, *edit, *text;
    } propRows[] = {{"Label4", "Rebar Distance d1(mm)", "Edit3", "35"},
                    {"Label12", "Circle Section Mesh Num", "Edit13", "24"},
                    {"Label13", "Typical Rebar Diameter", "Edit14", "25"},
                    {"Label14", "Rotation Angle", "Edit15", "0"}};
    int row = 0;
    for (const auto& r : propRows) {
        props->addWidget(makeLabel(GroupBox3, r.label, r.caption), row, 0);
        props->addWidget(makeEdit(GroupBox3, r.edit, r.text), row++, 1);
    }
    left->addWidget(GroupBox3);
    left->addStretch(1);

    GroupBox2 = new QGroupBox("Reinforcement ", this);
    GroupBox2->setObjectName("GroupBox2");
    auto* bars = new QGridLayout(GroupBox2);
    bars->addWidget(makeLabel(GroupBox2, "Label8", "Row"), 0, 1);
    bars->addWidget(makeLabel(GroupBox2, "Label9", "Number"), 0, 2);
    bars->addWidget(makeLabel(GroupBox2, "Label10", "Diameter"), 0, 3);
    Label5 = makeLabel(GroupBox2, "Label5", "");
    Label6 = makeLabel(GroupBox2, "Label6", "");
    Label7 = makeLabel(GroupBox2, "Label7", "");
    bars->addWidget(Label5, 1, 0);
    bars->addWidget(makeEdit(GroupBox2, "Edit4", "1"), 1, 1);
    bars->addWidget(makeEdit(GroupBox2, "Edit5", "2"), 1, 2);
    bars->addWidget(makeEdit(GroupBox2, "Edit6", "25"), 1, 3);
    bars->addWidget(Label6, 2, 0);
    bars->addWidget(makeEdit(GroupBox2, "Edit7", "1"), 2, 1);
    bars->addWidget(makeEdit(GroupBox2, "Edit8", "2"), 2, 2);
    bars->addWidget(makeEdit(GroupBox2, "Edit9", "25"), 2, 3);
    // The third group has no row box: number and diameter only.
    bars->addWidget(Label7, 3, 0);
    bars->addWidget(makeEdit(GroupBox2, "Edit10", "1"), 3, 2);
    bars->addWidget(makeEdit(GroupBox2, "Edit11", "25"), 3, 3);
    bars->addWidget(makeLabel(GroupBox2, "Label11", "Row Spacer"), 4, 0);
    bars->addWidget(makeEdit(GroupBox2, "Edit12", "25"), 4, 1);
    right->addWidget(GroupBox2);
    right->addStretch(1);
    addButtons(right, {{"Button1", "Gen Section"}, {"Button2", "Close"}},
               {[this] { generate(); }, [this] { hide(); }});
    shapeChanged();
    resize(553, 480);
}

void TypicalSectionDialog::shapeChanged() {
    const int shape = ComboBox1->currentIndex();
    if (shape < 0) return;
    BoxTexts texts = collectBoxTexts(this);
    typicalShapeChange(texts, shape);
    applyBoxTexts(this, texts);

    const ShapeDescriptor& d = typicalShape(shape);
    showDimensionRows(d.rows);
    const bool rows = d.bars != BarLayout::OnCoverPoints;
    GroupBox2->setVisible(rows);
    if (rows) {
        const BarGroupCaptions g = typicalBarGroups(shape);
        Label5->setText(QString::fromStdString(g.first));
        Label6->setText(QString::fromStdString(g.second));
        Label7->setText(QString::fromStdString(g.third));
        for (const char* name : {"Edit7", "Edit8", "Edit9"})
            findChild<QLineEdit*>(name)->setVisible(d.bars != BarLayout::Ring);
    }
    showPicture(typicalPicture(shape));
}

void TypicalSectionDialog::generate() {
    const int shape = ComboBox1->currentIndex();
    const BoxTexts texts = collectBoxTexts(this);
    attempt([&] { buildTypicalSection(model_, shape, texts); });
}

}  // namespace qav
