#include "app/assign_rebar_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "model/number_text.h"
#include "view/rebar_tools.h"

namespace qav {

AssignRebarDialog::AssignRebarDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    initToolDialog(this, "AssignRebarDialog", "Assign Rebar Diameter");
    auto* top = new QVBoxLayout(this);
    auto* group = new QGroupBox("Rebar Properties", this);
    auto* g = new QGridLayout(group);
    Edit1 = namedEdit("Edit1", "", group);
    g->addWidget(namedLabel("Label1", "Rebar Diameter (mm)", group), 0, 0);
    g->addWidget(Edit1, 0, 1);
    top->addWidget(group);
    auto* assignButton = namedButton("Button1", "Assign", this);
    auto* close = namedButton("Button2", "Close", this);
    top->addLayout(buttonRow({assignButton, close}));
    connect(assignButton, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { assign(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void AssignRebarDialog::showEvent(QShowEvent* event) {
    // Empty when no bar is selected, rather than the diameter of a bar picked long ago.
    Edit1->setText(qs(assignDialogDiameterText(ctx_.model())));
    QDialog::showEvent(event);
}

void AssignRebarDialog::assign() {
    requireSelectedBars(ctx_.model(), 1, -1, "Assign Rebar Properties");
    const double d = ToFloat(textOf(Edit1));
    ASSIGN_REBAR_DIAMETER(ctx_.model(), d);
    ctx_.modelChanged();
    close();
}

}  // namespace qav
