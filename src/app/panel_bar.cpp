#include "app/panel_bar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace qav {

PanelBar::PanelBar(const QString& name, const std::vector<std::pair<QString, int>>& panels,
                   QWidget* parent)
    : QFrame(parent) {
    setObjectName(name);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(2);
    for (std::size_t i = 0; i < panels.size(); ++i) {
        auto* l = new QLabel(panels[i].first, this);
        l->setObjectName(QStringLiteral("Panel%1").arg(i));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setFixedWidth(panels[i].second);
        l->setMinimumHeight(19);
        labels_.push_back(l);
        row->addWidget(l);
    }
    row->addStretch(1);
}

void PanelBar::setText(int panel, const QString& text) {
    if (panel >= 0 && panel < count()) labels_[static_cast<std::size_t>(panel)]->setText(text);
}

QString PanelBar::text(int panel) const {
    if (panel < 0 || panel >= count()) return {};
    return labels_[static_cast<std::size_t>(panel)]->text();
}

}  // namespace qav
