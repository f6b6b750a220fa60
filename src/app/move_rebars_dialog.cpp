#include "app/move_rebars_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "model/number_text.h"
#include "view/rebar_tools.h"

namespace qav {

namespace {
QGroupBox* pairGroup(const QString& title, QLineEdit* x, QLineEdit* y, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    auto* g = new QGridLayout(group);
    g->addWidget(new QLabel("X-Dir(mm)", group), 0, 0);
    g->addWidget(x, 0, 1);
    g->addWidget(new QLabel("Y-Dir(mm)", group), 1, 0);
    g->addWidget(y, 1, 1);
    return group;
}
}  // namespace

MoveRebarsDialog::MoveRebarsDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    initToolDialog(this, "MoveRebarsDialog", "Move Rebars");
    auto* top = new QVBoxLayout(this);
    Edit5 = namedEdit("Edit5", "", this);
    Edit6 = namedEdit("Edit6", "", this);
    Edit5->setEnabled(false);
    Edit6->setEnabled(false);
    top->addWidget(pairGroup("Co-ordinate", Edit5, Edit6, this));
    Edit1 = namedEdit("Edit1", "0", this);
    Edit2 = namedEdit("Edit2", "0", this);
    top->addWidget(pairGroup("Transition", Edit1, Edit2, this));

    auto* to = new QGroupBox("Move to Co-ordinate", this);
    auto* g = new QGridLayout(to);
    Edit3 = namedEdit("Edit3", "0", to);
    Edit4 = namedEdit("Edit4", "0", to);
    auto* toX = namedButton("Button4", "Move to X", to);
    auto* toY = namedButton("Button5", "Move to Y", to);
    g->addWidget(new QLabel("X-Dir(mm)", to), 0, 0);
    g->addWidget(Edit3, 0, 1);
    g->addWidget(toX, 0, 2);
    g->addWidget(new QLabel("Y-Dir(mm)", to), 1, 0);
    g->addWidget(Edit4, 1, 1);
    g->addWidget(toY, 1, 2);
    top->addWidget(to);

    auto* row = new QHBoxLayout;
    auto* moveButton = namedButton("Button1", "Move", this);
    auto* replicateButton = namedButton("Button2", "Replicate", this);
    auto* close = namedButton("Button3", "Close", this);
    row->addWidget(moveButton);
    row->addWidget(replicateButton);
    row->addStretch(1);
    row->addWidget(close);
    top->addLayout(row);

    connect(moveButton, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { move(); }); });
    connect(replicateButton, &QPushButton::clicked, this,
            [this] { ctx_.runCommand([this] { replicate(); }); });
    connect(toX, &QPushButton::clicked, this, [this] { ctx_.runCommand([this] { moveToX(); }); });
    connect(toY, &QPushButton::clicked, this, [this] { ctx_.runCommand([this] { moveToY(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void MoveRebarsDialog::showEvent(QShowEvent* event) {
    // Empty boxes when no bar is selected (the dialog may be opened without a selection).
    const MoveDialogCoordinates c = moveDialogCoordinates(ctx_.model());
    Edit5->setText(qs(c.Edit5));
    Edit6->setText(qs(c.Edit6));
    QDialog::showEvent(event);
}

void MoveRebarsDialog::done() {
    close();
    ctx_.modelChanged();
}

void MoveRebarsDialog::move() {
    requireSelectedBars(ctx_.model(), 1, -1, "Move/Replicate Rebars");
    const double dx = ToFloat(textOf(Edit1));
    const double dy = ToFloat(textOf(Edit2));
    MOVE_REBARS(ctx_.model(), dx, dy);
    done();
}

void MoveRebarsDialog::replicate() {
    requireSelectedBars(ctx_.model(), 1, -1, "Move/Replicate Rebars");
    const double dx = ToFloat(textOf(Edit1));
    const double dy = ToFloat(textOf(Edit2));
    REPLICATE_REBARS(ctx_.model(), dx, dy);
    done();
}

void MoveRebarsDialog::moveToX() {
    requireSelectedBars(ctx_.model(), 1, -1, "Move/Replicate Rebars");
    MOVE_REBARS_TO_X(ctx_.model(), ToFloat(textOf(Edit3)));
    done();
}

void MoveRebarsDialog::moveToY() {
    requireSelectedBars(ctx_.model(), 1, -1, "Move/Replicate Rebars");
    MOVE_REBARS_TO_Y(ctx_.model(), ToFloat(textOf(Edit4)));
    done();
}

}  // namespace qav
