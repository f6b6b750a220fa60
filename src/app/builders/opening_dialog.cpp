#include "app/builders/opening_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/builders/builder_widgets.h"
#include "builders/opening_section.h"
#include "builders/shape_picture.h"
#include "model/errors.h"

namespace qav {

OpeningDialog::OpeningDialog(SectionModel& model, QWidget* parent) : QDialog(parent), model_(model) {
    setObjectName("TForm20");
    setWindowTitle("Build Section Openning");
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
    for (const auto& s : openingShapeNames()) ComboBox1->addItem(QString::fromStdString(s));
    shapeRow->addWidget(ComboBox1, 1);
    left->addLayout(shapeRow);

    auto* GroupBox1 = new QGroupBox("Section Dimension", this);
    GroupBox1->setObjectName("GroupBox1");
    auto* dims = new QGridLayout(GroupBox1);
    const struct {
        const char *caption, *text;
    } rows[] = {{"Opening Dim B(mm)", "300"}, {"Opening Dim H(mm)", "400"}, {"Location X(mm)", "0"},
                {"Location Y(mm)", "0"}};
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i + 1);
        KLabel[i] = makeLabel(GroupBox1, ("KLabel" + n).c_str(), rows[i].caption);
        KEdit[i] = makeEdit(GroupBox1, ("KEdit" + n).c_str(), rows[i].text);
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
    auto* Button1 = new QPushButton("Gen Section Opening", this);
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
    resize(503, 340);
}

void OpeningDialog::showEvent(QShowEvent* event) {
    shapeChanged();
    QDialog::showEvent(event);
}

void OpeningDialog::shapeChanged() {
    const int shape = ComboBox1->currentIndex();
    if (shape < 0) return;
    // The boxes keep their texts; only the captions and the height row change.
    KLabel[0]->setText(shape == 0 ? "Section Dim B" : "Section Dim D");
    KLabel[1]->setText("Section Dim H");
    KLabel[1]->setVisible(shape == 0);
    KEdit[1]->setVisible(shape == 0);
    paintPicture(Image1, 222, 172,
                 [shape](Canvas& c) { drawShapePicture(c, 222, 172, openingPicture(shape)); });
}

void OpeningDialog::generate() {
    if (ComboBox1->currentIndex() < 0) return;
    try {
        buildOpening(model_, ComboBox1->currentIndex(), collectBoxTexts(this));
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
