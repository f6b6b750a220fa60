#include "app/builders/steel_section_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/builders/builder_widgets.h"
#include "builders/shape_picture.h"
#include "builders/steel_section.h"
#include "model/errors.h"

namespace qav {

SteelSectionDialog::SteelSectionDialog(SectionModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("TForm13");
    setWindowTitle("Build Steel Section");
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
    for (const auto& s : steelShapes()) ComboBox1->addItem(QString::fromStdString(s.name));
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
    left->addStretch(1);

    QFrame* panel = nullptr;
    Image1 = makePicture(this, 222, 172, &panel);
    right->addWidget(panel, 0, Qt::AlignHCenter);
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
    // Closes like the other builders' Close buttons.
    connect(Button2, &QPushButton::clicked, this, &QDialog::hide);

    shapeChanged();
    resize(499, 354);
}

void SteelSectionDialog::showEvent(QShowEvent* event) {
    shapeChanged();
    QDialog::showEvent(event);
}

void SteelSectionDialog::shapeChanged() {
    const int shape = ComboBox1->currentIndex();
    if (shape < 0) return;
    BoxTexts texts = collectBoxTexts(this);
    steelShapeChange(texts, shape);
    applyBoxTexts(this, texts);
    const auto& rows = steelShapes()[static_cast<std::size_t>(shape)].rows;
    for (std::size_t i = 0; i < KEdit.size(); ++i) {
        const bool used = i < rows.size();
        KLabel[i]->setText(used ? QString::fromStdString(rows[i].label) : QString());
        KEdit[i]->setVisible(used);
    }
    paintPicture(Image1, 222, 172,
                 [shape](Canvas& c) { drawShapePicture(c, 222, 172, steelPicture(shape)); });
}

void SteelSectionDialog::generate() {
    if (ComboBox1->currentIndex() < 0) return;
    try {
        buildSteelSection(model_, ComboBox1->currentIndex(), collectBoxTexts(this));
    } catch (const ConversionError& e) {
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
