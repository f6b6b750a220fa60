#include "app/section_view_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "render/qt_canvas.h"

namespace qav {

namespace {
MouseButton toButton(Qt::MouseButton b) {
    if (b == Qt::RightButton) return MouseButton::Right;
    if (b == Qt::MiddleButton) return MouseButton::Middle;
    return MouseButton::Left;
}
}  // namespace

SectionViewWidget::SectionViewWidget(SectionModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    setObjectName("SectionView");
    setMouseTracking(true);  // the read-out follows the mouse without a button held
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::CrossCursor);
}

void SectionViewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The model's W x H may be smaller than the widget: the rest stays white.
    painter.fillRect(rect(), Qt::white);
    QtCanvas canvas(painter);
    const ViewCounts counts = DRAW_STRU(model_, canvas);
    if (nav_.bandVisible()) {
        const BandRect b = nav_.band();
        canvas.pen = Pen{colors::black, 1, PenStyle::Dot, PenMode::Invert};
        canvas.brush.style = BrushStyle::Clear;
        canvas.rectangle(b.left, b.top, b.right, b.bottom);
    }
    if (onPainted) onPainted(counts);
}

void SectionViewWidget::apply(const NavEffect& e) {
    if (e.redraw) update();
    if (onNavigation) onNavigation(e);
}

void SectionViewWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    apply(nav_.press(model_, toButton(event->button()), p.x(), p.y()));
}

void SectionViewWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    apply(nav_.move(model_, p.x(), p.y()));
}

void SectionViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    apply(nav_.release(model_, toButton(event->button()), p.x(), p.y()));
}

void SectionViewWidget::wheelEvent(QWheelEvent* event) {
    // One zoom step per notch of 120; finer wheels add up until a notch is reached.
    wheelRemainder_ += event->angleDelta().y();
    const int steps = wheelRemainder_ / 120;
    wheelRemainder_ -= steps * 120;
    if (steps != 0) apply(nav_.wheel(model_, steps));
    event->accept();
}

}  // namespace qav
