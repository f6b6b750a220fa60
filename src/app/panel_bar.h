#pragma once
// A status bar of fixed-width text panels, numbered from 0.
#include <QFrame>
#include <QString>
#include <utility>
#include <vector>

class QLabel;

namespace qav {

class PanelBar : public QFrame {
    Q_OBJECT
public:
    // (initial text, width in pixels) per panel.
    PanelBar(const QString& name, const std::vector<std::pair<QString, int>>& panels,
             QWidget* parent = nullptr);
    void setText(int panel, const QString& text);
    QString text(int panel) const;
    int count() const { return static_cast<int>(labels_.size()); }

private:
    std::vector<QLabel*> labels_;
};

}  // namespace qav
