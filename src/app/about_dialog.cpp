#include "app/about_dialog.h"

#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "app/dialog_parts.h"
#include "app/tool_icons.h"

namespace qav {

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

}  // namespace qav
