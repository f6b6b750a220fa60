#include "app/display_setting_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "app/app_context.h"
#include "app/dialog_parts.h"
#include "model/section_model.h"
#include "view/section_view.h"

namespace qav {

DisplaySettingDialog::DisplaySettingDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
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
            for (int k = 1; k <= 6; ++k)
                ctx_.model().view.SHOW_FLAG[static_cast<std::size_t>(k)] = boxes_[k]->isChecked();
        });
    }
    // Not one of the six switches: the axes and moment vectors, off at start.
    axes_ = new QCheckBox("Moment Axes (X, Y, +Mx, +My)", group);
    axes_->setObjectName("MomentAxesBox");
    col->addWidget(axes_);
    connect(axes_, &QCheckBox::clicked, this,
            [this] { ctx_.model().view.SHOW_FLAG[MOMENT_AXES_FLAG] = axes_->isChecked(); });
    top->addWidget(group);
    auto* close = namedButton("Button1", "Close", this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    top->addWidget(close, 0, Qt::AlignRight);
}

void DisplaySettingDialog::showEvent(QShowEvent* event) {
    for (int i = 1; i <= 6; ++i)
        boxes_[i]->setChecked(ctx_.model().view.SHOW_FLAG[static_cast<std::size_t>(i)]);
    axes_->setChecked(ctx_.model().view.SHOW_FLAG[MOMENT_AXES_FLAG]);
    QDialog::showEvent(event);
}

}  // namespace qav
