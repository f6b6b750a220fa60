#include "app/printer_setting_dialog.h"

#include <QGridLayout>
#include <QPrintDialog>
#include <QPrinter>

#include "app/dialog_parts.h"

namespace qav {

PrinterSettingDialog::PrinterSettingDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent), printer_(printer) {
    initToolDialog(this, "PrinterSettingDialog", "Printer Setting");
    auto* g = new QGridLayout(this);
    auto* setPrinter = namedButton("Button2", "Set Printer", this);
    auto* set1200 = namedButton("Button3", "Set Resolution = 1200", this);
    Edit1 = namedEdit("Edit1", "", this);
    Edit1->setReadOnly(true);
    auto* check = namedButton("Button4", "Check Printer DPI", this);
    auto* close = namedButton("Button1", "CLOSE", this);
    g->addWidget(namedLabel("Label1", "Set PDF Printer", this), 0, 0);
    g->addWidget(setPrinter, 0, 1, 1, 2);
    g->addWidget(namedLabel("Label2", "Set 1200 dpi", this), 1, 0);
    g->addWidget(set1200, 1, 1, 1, 2);
    g->addWidget(namedLabel("Label3", "DPI", this), 2, 0);
    g->addWidget(Edit1, 2, 1);
    g->addWidget(check, 2, 2);
    g->addWidget(close, 3, 2);
    connect(setPrinter, &QPushButton::clicked, this, [this] {
        QPrintDialog dialog(&printer_, this);
        dialog.exec();
    });
    connect(set1200, &QPushButton::clicked, this, [this] { setResolution1200(); });
    connect(check, &QPushButton::clicked, this, [this] { checkDpi(); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void PrinterSettingDialog::setResolution1200() {
    if (printer_.resolution() != 1200) printer_.setResolution(1200);
}

void PrinterSettingDialog::checkDpi() {
    Edit1->setText(QString::number(printer_.resolution()));
}

}  // namespace qav
