#pragma once
// The section view on the main window: paints DRAW_STRU through a QtCanvas and feeds the
// mouse and the wheel to the view navigator. The dotted rubber band is drawn over the picture
// while a band is dragged.
#include <QWidget>
#include <functional>

#include "view/section_view.h"
#include "view/view_navigation.h"

namespace qav {

class SectionViewWidget : public QWidget {
    Q_OBJECT
public:
    explicit SectionViewWidget(SectionModel& model, QWidget* parent = nullptr);

    ViewNavigator& navigator() { return nav_; }
    // Called after every paint with the counts for the status bar, and after every mouse event
    // with what it asks for.
    std::function<void(const ViewCounts&)> onPainted;
    std::function<void(const NavEffect&)> onNavigation;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void apply(const NavEffect& e);
    SectionModel& model_;
    ViewNavigator nav_;
    int wheelRemainder_ = 0;
};

}  // namespace qav
