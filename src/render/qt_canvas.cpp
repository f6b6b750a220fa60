#include "render/qt_canvas.h"

#include <QFontMetrics>
#include <QPolygon>

namespace qav {

namespace {
Qt::PenStyle toQt(PenStyle s) {
    switch (s) {
        case PenStyle::Solid:
            return Qt::SolidLine;
        case PenStyle::Dot:
            return Qt::DotLine;
        case PenStyle::Dash:
            return Qt::DashLine;
        case PenStyle::DashDot:
            return Qt::DashDotLine;
        case PenStyle::Clear:
            return Qt::NoPen;
    }
    return Qt::SolidLine;
}
}  // namespace

void QtCanvas::applyPen() {
    QPen p(toQColor(pen.color));
    p.setWidth(pen.width < 1 ? 1 : pen.width);
    p.setStyle(toQt(pen.style));
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(p);
    painter_.setCompositionMode(pen.mode == PenMode::Invert
                                    ? QPainter::RasterOp_SourceXorDestination
                                    : QPainter::CompositionMode_SourceOver);
    if (pen.mode == PenMode::Invert) {
        p.setColor(Qt::white);
        painter_.setPen(p);
    }
}

void QtCanvas::applyBrush() {
    if (brush.style == BrushStyle::Solid)
        painter_.setBrush(QBrush(toQColor(brush.color)));
    else
        painter_.setBrush(Qt::NoBrush);
}

void QtCanvas::applyFont() {
    QFont f(QString::fromStdString(font.name));
    f.setPointSize(font.size < 1 ? 1 : font.size);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    painter_.setFont(f);
}

void QtCanvas::rectangle(int x1, int y1, int x2, int y2) {
    applyPen();
    applyBrush();
    // The rectangle covers x1..x2-1 and y1..y2-1 with the outline inside it.
    painter_.drawRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

void QtCanvas::ellipse(int x1, int y1, int x2, int y2) {
    applyPen();
    applyBrush();
    painter_.drawEllipse(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

void QtCanvas::polygon(const std::vector<Point>& points) {
    applyPen();
    applyBrush();
    QPolygon poly;
    for (const Point& p : points) poly << QPoint(p.x, p.y);
    painter_.drawPolygon(poly);
}

void QtCanvas::line(int x1, int y1, int x2, int y2) {
    applyPen();
    painter_.drawLine(x1, y1, x2, y2);
}

void QtCanvas::textOut(int x, int y, const std::string& text) {
    applyFont();
    const QString s = QString::fromStdString(text);
    const QFontMetrics fm(painter_.font(), painter_.device());
    const QRect cell(x, y, fm.horizontalAdvance(s), fm.height());
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (brush.style == BrushStyle::Solid) painter_.fillRect(cell, toQColor(brush.color));
    painter_.setPen(toQColor(font.color));
    painter_.drawText(QPoint(x, y + fm.ascent()), s);
}

void QtCanvas::rotatedTextOut(int x, int y, const std::string& text, double angle) {
    applyFont();
    const QString s = QString::fromStdString(text);
    const QFontMetrics fm(painter_.font(), painter_.device());
    painter_.save();
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.translate(x, y);
    painter_.rotate(-angle);  // counter-clockwise on screen
    painter_.setPen(toQColor(font.color));
    painter_.drawText(QPoint(0, fm.ascent()), s);
    painter_.restore();
}

TextSize QtCanvas::textExtent(const std::string& text) {
    applyFont();
    const QFontMetrics fm(painter_.font(), painter_.device());
    const QString s = QString::fromStdString(text);
    return {fm.horizontalAdvance(s), fm.height()};
}

}  // namespace qav
