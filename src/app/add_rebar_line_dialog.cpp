#include "app/add_rebar_line_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "model/number_text.h"
#include "view/rebar_tools.h"

namespace qav {

AddRebarLineDialog::AddRebarLineDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    initToolDialog(this, "AddRebarLineDialog", "Add Rebar From Start Point to End Point");
    auto* top = new QVBoxLayout(this);
    auto* group = new QGroupBox("Add New Rebar", this);
    auto* g = new QGridLayout(group);
    Edit1 = namedEdit("Edit1", "3", group);
    Edit2 = namedEdit("Edit2", "20", group);
    g->addWidget(namedLabel("Label1", "Number of New Rebars", group), 0, 0);
    g->addWidget(Edit1, 0, 1);
    g->addWidget(namedLabel("Label2", "Rebar Diameter(mm)", group), 1, 0);
    g->addWidget(Edit2, 1, 1);
    top->addWidget(group);
    auto* add = namedButton("Button1", "Add Rebar", this);
    auto* close = namedButton("Button2", "Close", this);
    top->addLayout(buttonRow({add, close}));
    connect(add, &QPushButton::clicked, this, [this] { ctx_.runCommand([this] { addRebar(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void AddRebarLineDialog::addRebar() {
    requireSelectedBars(ctx_.model(), 2, 2, "Add Along Line Rebars");
    const double d = ToFloat(textOf(Edit2));
    const int n = ToInt(textOf(Edit1));
    ADD_ALONG_LINE_REBARS(ctx_.model(), n, d);
    ctx_.modelChanged();
    close();
}

}  // namespace qav
