#include "app/builders/typical_section_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/builders/builder_widgets.h"
#include "builders/shape_picture.h"
#include "builders/typical_section.h"
#include "model/errors.h"

namespace qav {

TypicalSectionDialog::TypicalSectionDialog(SectionModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("TForm2");
    setWindowTitle("Build Typical Section");
    setFont(QFont("Tahoma", 8));
    setModal(false);

    auto* root = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    root->addLayout(left, 1);
    root->addLayout(right, 0);

    auto* shapeRow = new QHBoxLayout;
    shapeRow->addWidget(makeLabel(this, "Label1", "Section Shape"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    for (const auto& s : typicalShapes()) ComboBox1->addItem(QString::fromStdString(s.name));
    shapeRow->addWidget(ComboBox1, 1);
    left->addLayout(shapeRow);

    auto* GroupBox1 = new QGroupBox("Section Dimension", this);
    GroupBox1->setObjectName("GroupBox1");
    auto* dims = new QGridLayout(GroupBox1);
    const char* defaults[7] = {"800", "1200", "800", "1200", "800", "1200", "1200"};
    for (int i = 0; i < 7; ++i) {
        const std::string n = std::to_string(i + 1);
        KLabel[i] = makeLabel(GroupBox1, ("KLabel" + n).c_str(), "");
        KEdit[i] = makeEdit(GroupBox1, ("KEdit" + n).c_str(), defaults[i]);
        dims->addWidget(KLabel[i], i, 0);
        dims->addWidget(KEdit[i], i, 1);
    }
    left->addWidget(GroupBox1);

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

    QFrame* panel = nullptr;
    Image1 = makePicture(this, 222, 172, &panel);
    right->addWidget(panel, 0, Qt::AlignHCenter);

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

    auto* buttons = new QHBoxLayout;
    auto* Button1 = new QPushButton("Gen Section", this);
    Button1->setObjectName("Button1");
    auto* Button2 = new QPushButton("Close", this);
    Button2->setObjectName("Button2");
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    right->addLayout(buttons);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { shapeChanged(); });
    connect(Button1, &QPushButton::clicked, this, [this] { generate(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::hide);

    shapeChanged();
    resize(553, 480);
}

void TypicalSectionDialog::showEvent(QShowEvent* event) {
    shapeChanged();
    QDialog::showEvent(event);
}

void TypicalSectionDialog::shapeChanged() {
    const int shape = ComboBox1->currentIndex();
    if (shape < 0) return;
    BoxTexts texts = collectBoxTexts(this);
    typicalShapeChange(texts, shape);
    applyBoxTexts(this, texts);

    const auto& rows = typicalShapes()[static_cast<std::size_t>(shape)].rows;
    for (std::size_t i = 0; i < KEdit.size(); ++i) {
        const bool used = i < rows.size();
        KLabel[i]->setText(used ? QString::fromStdString(rows[i].label) : QString());
        KEdit[i]->setVisible(used);
    }
    GroupBox2->setVisible(shape <= 2);
    if (shape <= 2) {
        const BarGroupCaptions g = typicalBarGroups(shape);
        Label5->setText(QString::fromStdString(g.first));
        Label6->setText(QString::fromStdString(g.second));
        Label7->setText(QString::fromStdString(g.third));
        for (const char* name : {"Edit7", "Edit8", "Edit9"})
            findChild<QLineEdit*>(name)->setVisible(shape != 2);
    }
    paintPicture(Image1, 222, 172,
                 [shape](Canvas& c) { drawShapePicture(c, 222, 172, typicalPicture(shape)); });
}

void TypicalSectionDialog::generate() {
    try {
        buildTypicalSection(model_, ComboBox1->currentIndex(), collectBoxTexts(this));
    } catch (const ConversionError& e) {
        // The build had already emptied the model; the view must show that.
        emit sectionChanged();
        emit errorOccurred(QString::fromStdString(e.what()));
        return;
    } catch (const InputError& e) {
        emit errorOccurred(QString::fromStdString(e.what()));
        return;
    }
    emit sectionChanged();
    hide();
}

}  // namespace qav
