#pragma once
// The drawing interface over a QPainter: a widget in paintEvent, a QImage, or a printer page.
#include <QPainter>

#include "canvas/canvas.h"

namespace qav {

class QtCanvas : public Canvas {
public:
    // The painter must outlive the canvas. Pen, brush and font are applied at every call, so
    // the painter's own state may be changed between calls.
    explicit QtCanvas(QPainter& painter) : painter_(painter) {}

    void rectangle(int x1, int y1, int x2, int y2) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void polygon(const std::vector<Point>& points) override;
    void line(int x1, int y1, int x2, int y2) override;
    void textOut(int x, int y, const std::string& text) override;
    void rotatedTextOut(int x, int y, const std::string& text, double angle) override;
    TextSize textExtent(const std::string& text) override;

    static QColor toQColor(const Color& c) { return QColor(c.r, c.g, c.b); }

private:
    void applyPen();
    void applyBrush();
    void applyFont();
    QPainter& painter_;
};

}  // namespace qav
