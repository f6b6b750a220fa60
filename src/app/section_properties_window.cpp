#include "app/section_properties_window.h"

#include <QVBoxLayout>

#include "app/dialog_parts.h"

namespace qav {

SectionPropertiesWindow::SectionPropertiesWindow(QWidget* parent) : QDialog(parent) {
    initToolDialog(this, "SectionPropertiesWindow", "Section Properties");
    auto* top = new QVBoxLayout(this);
    auto* close = namedButton("Button1", "Close", this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    top->addWidget(close);
}

}  // namespace qav
