#include "app/settings_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "app/tool_icons.h"
#include "model/number_text.h"
#include "model/section_model.h"

namespace qav {

DisplaySettingDialog::DisplaySettingDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    initToolDialog(this, "DisplaySettingDialog", "Display Setting");
    auto* top = new QVBoxLayout(this);
    auto* group = new QGroupBox("Display Setting", this);
    auto* col = new QVBoxLayout(group);
    const char* captions[] = {"Section Polyline",     "Steel Rebar",          "Section Fiber Mesh",
                              "Section Fiber Center", "Steel Rebar Diameter", "Section Center"};
    for (int i = 1; i <= 6; ++i) {
        boxes_[i] = new QCheckBox(captions[i - 1], group);
        boxes_[i]->setObjectName(QStringLiteral("CheckBox%1").arg(i));
        col->addWidget(boxes_[i]);
        // Any click copies all six; the picture changes at the next redraw.
        connect(boxes_[i], &QCheckBox::clicked, this, [this] {
            for (int k = 1; k <= 6; ++k) ctx_.model().SHOW_FLAG[static_cast<std::size_t>(k)] = boxes_[k]->isChecked();
        });
    }
    top->addWidget(group);
    auto* close = namedButton("Button1", "Close", this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    top->addWidget(close, 0, Qt::AlignRight);
}

void DisplaySettingDialog::showEvent(QShowEvent* event) {
    for (int i = 1; i <= 6; ++i) boxes_[i]->setChecked(ctx_.model().SHOW_FLAG[static_cast<std::size_t>(i)]);
    QDialog::showEvent(event);
}

GeneralSettingDialog::GeneralSettingDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    initToolDialog(this, "GeneralSettingDialog", "General Setting ");
    auto* top = new QVBoxLayout(this);
    auto* pm = new QGroupBox("PM/MM Analysis Setting", this);
    pm->setObjectName("GroupBox1");
    auto* g1 = new QGridLayout(pm);
    Edit1 = namedEdit("Edit1", "30", pm);
    Edit2 = namedEdit("Edit2", "24", pm);
    g1->addWidget(namedLabel("Label1", "P-M Analysis Axial Force Num of Steps", pm), 0, 0);
    g1->addWidget(Edit1, 0, 1);
    g1->addWidget(namedLabel("Label2", "Myy-Mzz Analysis Angle Num of Steps", pm), 1, 0);
    g1->addWidget(Edit2, 1, 1);
    top->addWidget(pm);
    auto* code = new QGroupBox("Design Code", this);
    code->setObjectName("GroupBox2");
    auto* g2 = new QGridLayout(code);
    ComboBox1 = new QComboBox(code);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({"HK-COP-2013", "BS-8110"});
    g2->addWidget(namedLabel("Label3", "Concrete Design Code", code), 0, 0);
    g2->addWidget(ComboBox1, 0, 1);
    top->addWidget(code);
    auto* okay = namedButton("Button1", "Okay", this);
    connect(okay, &QPushButton::clicked, this, [this] { ctx_.runCommand([this] { this->okay(); }); });
    top->addWidget(okay, 0, Qt::AlignRight);
}

void GeneralSettingDialog::showEvent(QShowEvent* event) {
    // The code list keeps the selection it had when the dialog was last closed.
    Edit1->setText(qs(Format("%D", {ctx_.model().NPM})));
    Edit2->setText(qs(Format("%D", {ctx_.model().NMM})));
    QDialog::showEvent(event);
}

void GeneralSettingDialog::okay() {
    SectionModel& m = ctx_.model();
    m.NPM = ToInt(textOf(Edit1));
    m.NMM = ToInt(textOf(Edit2));
    m.DESIGN_CODE = ComboBox1->currentIndex();
    close();
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    initToolDialog(this, "AboutDialog", "About QAV Section");
    auto* top = new QVBoxLayout(this);
    auto* group = new QGroupBox("About QAV Section", this);
    auto* g = new QGridLayout(group);
    auto* picture = namedLabel("Image1", "", group);
    picture->setPixmap(aboutPicture());
    picture->setFixedSize(100, 100);
    auto* name = namedLabel("Label1", "qav section v1.0", group);
    QFont big("Georgia");
    big.setPointSize(22);
    big.setItalic(true);
    name->setFont(big);
    g->addWidget(picture, 0, 0, 2, 1);
    g->addWidget(name, 0, 1);
    g->addWidget(namedLabel("Label2", "version 2022-03-14", group), 1, 1);
    top->addWidget(group);
    auto* close = namedButton("Button1", "Close", this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    top->addWidget(close, 0, Qt::AlignRight);
}

SectionPropertiesWindow::SectionPropertiesWindow(QWidget* parent) : QDialog(parent) {
    initToolDialog(this, "SectionPropertiesWindow", "Section Properties");
    auto* top = new QVBoxLayout(this);
    auto* close = namedButton("Button1", "Close", this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    top->addWidget(close);
}

}  // namespace qav
