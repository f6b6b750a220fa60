#include "app/tool_icons.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "app/command_map.h"

namespace qav {

namespace {

const QColor kConcrete(200, 200, 200);
const QColor kSteel(40, 90, 200);
const QColor kBar(255, 0, 255);
const QColor kRed(220, 0, 0);
const QColor kGreen(0, 128, 0);

void label(QPainter& p, const QString& text, const QColor& colour, int size = 6) {
    QFont f("Arial");
    f.setPixelSize(size + 1);
    f.setBold(true);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, text);
}

void bar(QPainter& p, double x, double y, double r = 2.5, QColor c = kBar) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(x, y), r, r);
}

void columnSection(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(kConcrete);
    p.drawRect(3, 3, 14, 14);
    for (double x : {6.0, 14.0})
        for (double y : {6.0, 14.0}) bar(p, x, y, 1.6);
}

void ibeam(QPainter& p, QColor c = kSteel) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(3, 3, 14, 3);
    p.drawRect(3, 14, 14, 3);
    p.drawRect(8, 6, 4, 8);
}

void cross(QPainter& p) {
    p.setPen(QPen(kRed, 2));
    p.drawLine(11, 11, 18, 18);
    p.drawLine(18, 11, 11, 18);
}

void arrow(QPainter& p, QPointF from, QPointF to, QColor c = Qt::black) {
    p.setPen(QPen(c, 1.5));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    p.setBrush(c);
    p.drawPolygon(QPolygonF({to, to - d * 4 + n * 2.5, to - d * 4 - n * 2.5}));
}

void page(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{4, 2}, {13, 2}, {16, 5}, {16, 18}, {4, 18}}));
}

void magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(220, 240, 255));
    p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(12, 12, 18, 18);
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(5, 8, 11, 8);
    if (plus) p.drawLine(8, 5, 8, 11);
}

void barRow(QPainter& p) {
    for (double x : {4.0, 10.0, 16.0}) bar(p, x, 10);
}

void meshPicture(QPainter& p) {
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(QColor(245, 245, 245));
    p.drawRect(2, 2, 16, 16);
    p.drawLine(2, 2, 18, 18);
    p.drawLine(10, 2, 18, 10);
    p.drawLine(2, 10, 10, 18);
    p.drawLine(2, 10, 18, 10);
    p.drawLine(10, 2, 10, 18);
}

// Each tool button's picture, by the name of its command: the tool bar may be reordered without
// a button showing another's picture.
struct ToolPicture {
    const char* command;
    void (*draw)(QPainter&);
};

const ToolPicture kToolPictures[] = {
    {cmd::New, page},
    {cmd::Open,
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1));
         p.setBrush(QColor(240, 200, 80));
         p.drawPolygon(QPolygonF({{1, 5}, {7, 5}, {9, 7}, {17, 7}, {17, 17}, {1, 17}}));
         p.setBrush(QColor(255, 225, 120));
         p.drawPolygon(QPolygonF({{4, 10}, {19, 10}, {17, 17}, {1, 17}}));
     }},
    {cmd::Save,
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1));
         p.setBrush(QColor(60, 90, 170));
         p.drawRect(2, 2, 16, 16);
         p.setBrush(Qt::white);
         p.drawRect(5, 2, 10, 6);
         p.setBrush(QColor(200, 200, 200));
         p.drawRect(5, 11, 10, 7);
     }},
    {cmd::XtractExport, [](QPainter& p) { label(p, "XT", QColor(120, 0, 120), 9); }},
    {cmd::BuildComposite,
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1));
         p.setBrush(kConcrete);
         p.drawRect(1, 1, 18, 18);
         ibeam(p);
     }},
    {cmd::GeneralSetting,
     [](QPainter& p) {
         p.setPen(QPen(Qt::darkGray, 3));
         for (int a = 0; a < 180; a += 45) {
             p.save();
             p.translate(10, 10);
             p.rotate(a);
             p.drawLine(-8, 0, 8, 0);
             p.restore();
         }
         p.setPen(QPen(Qt::black, 1));
         p.setBrush(Qt::lightGray);
         p.drawEllipse(QPointF(10, 10), 5, 5);
         p.setBrush(Qt::white);
         p.drawEllipse(QPointF(10, 10), 2, 2);
     }},
    {cmd::MaterialSetting,  // a stress-strain curve
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1));
         p.drawLine(2, 18, 19, 18);
         p.drawLine(2, 18, 2, 1);
         p.setPen(QPen(Qt::blue, 2));
         p.drawPolyline(QPolygonF({{2, 18}, {5, 10}, {9, 5}, {18, 5}}));
     }},
    {cmd::PrinterSetting,
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1));
         p.setBrush(Qt::white);
         p.drawRect(5, 2, 10, 7);
         p.setBrush(QColor(150, 150, 150));
         p.drawRect(1, 8, 18, 7);
         p.setBrush(Qt::white);
         p.drawRect(5, 13, 10, 5);
     }},
    {cmd::MoveView,  // four arrows
     [](QPainter& p) {
         arrow(p, {10, 10}, {10, 1});
         arrow(p, {10, 10}, {10, 19});
         arrow(p, {10, 10}, {1, 10});
         arrow(p, {10, 10}, {19, 10});
     }},
    {cmd::Fit,
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1.5));
         p.drawPolyline(QPolygonF({{1, 6}, {1, 1}, {6, 1}}));
         p.drawPolyline(QPolygonF({{14, 1}, {19, 1}, {19, 6}}));
         p.drawPolyline(QPolygonF({{19, 14}, {19, 19}, {14, 19}}));
         p.drawPolyline(QPolygonF({{6, 19}, {1, 19}, {1, 14}}));
         p.setBrush(kConcrete);
         p.drawRect(5, 5, 10, 10);
     }},
    {cmd::ZoomIn, [](QPainter& p) { magnifier(p, true); }},
    {cmd::ZoomOut, [](QPainter& p) { magnifier(p, false); }},
    {cmd::Redraw,  // a circular arrow
     [](QPainter& p) {
         p.setPen(QPen(kGreen, 2));
         p.setBrush(Qt::NoBrush);
         p.drawArc(QRectF(3, 3, 14, 14), 60 * 16, 280 * 16);
         p.setBrush(kGreen);
         p.setPen(Qt::NoPen);
         p.drawPolygon(QPolygonF({{12, 0}, {18, 4}, {12, 8}}));
     }},
    {cmd::DisplaySetting,  // an eye
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1.2));
         p.setBrush(Qt::white);
         p.drawEllipse(QRectF(1, 5, 18, 10));
         p.setBrush(QColor(30, 120, 200));
         p.drawEllipse(QPointF(10, 10), 4, 4);
     }},
    {cmd::BuildTypical, columnSection},
    {cmd::BuildSteel, [](QPainter& p) { ibeam(p); }},
    {cmd::Mesh, meshPicture},
    {cmd::BuildOpening,
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1));
         p.setBrush(kConcrete);
         p.drawRect(2, 2, 16, 16);
         p.setPen(QPen(kGreen, 1.5));
         p.setBrush(Qt::white);
         p.drawEllipse(QPointF(10, 10), 4.5, 4.5);
     }},
    {cmd::DeleteSection,
     [](QPainter& p) {
         columnSection(p);
         cross(p);
     }},
    {cmd::DeleteSteel,
     [](QPainter& p) {
         ibeam(p);
         cross(p);
     }},
    {cmd::DeleteMesh,
     [](QPainter& p) {
         meshPicture(p);
         cross(p);
     }},
    {cmd::CadImport,  // a drawing triangle and a pencil
     [](QPainter& p) {
         p.setPen(QPen(kRed, 1.5));
         p.setBrush(Qt::NoBrush);
         p.drawPolygon(QPolygonF({{2, 18}, {2, 4}, {16, 18}}));
         p.setPen(QPen(Qt::black, 2.5));
         p.drawLine(8, 12, 18, 2);
     }},
    {cmd::DxfExport,
     [](QPainter& p) {
         label(p, "DXF", kSteel);
         arrow(p, {10, 15}, {18, 15}, kSteel);
     }},
    {cmd::DxfImport,
     [](QPainter& p) {
         label(p, "DXF", kGreen);
         arrow(p, {10, 15}, {2, 15}, kGreen);
     }},
    {cmd::OpenSees, [](QPainter& p) { label(p, "Tcl", QColor(150, 60, 0), 9); }},
    {cmd::Analysis,  // interaction curve
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1));
         p.drawLine(1, 10, 19, 10);
         p.drawLine(10, 1, 10, 19);
         p.setPen(QPen(kRed, 1.8));
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QRectF(3, 2, 14, 16));
     }},
    {cmd::MPhi,
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1));
         p.drawLine(2, 18, 19, 18);
         p.drawLine(2, 18, 2, 1);
         p.setPen(QPen(kRed, 2));
         p.drawPolyline(QPolygonF({{2, 18}, {6, 8}, {11, 5}, {18, 4}}));
     }},
    {cmd::PmmSurface,  // a wire ball
     [](QPainter& p) {
         p.setPen(QPen(kSteel, 1));
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QRectF(2, 2, 16, 16));
         p.drawEllipse(QRectF(6, 2, 8, 16));
         p.drawEllipse(QRectF(2, 7, 16, 6));
     }},
    {cmd::Loading,  // a downward force on a column
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1));
         p.setBrush(kConcrete);
         p.drawRect(6, 10, 8, 9);
         arrow(p, {10, 0}, {10, 9}, kRed);
     }},
    {cmd::Table,
     [](QPainter& p) {
         p.setPen(QPen(Qt::black, 1));
         p.setBrush(Qt::white);
         p.drawRect(1, 3, 18, 14);
         for (int y : {7, 11}) p.drawLine(1, y, 19, y);
         for (int x : {7, 13}) p.drawLine(x, 3, x, 17);
     }},
    {cmd::SelectRebars,  // a dotted band
     [](QPainter& p) {
         barRow(p);
         QPen pen(Qt::black, 1, Qt::DotLine);
         p.setPen(pen);
         p.setBrush(Qt::NoBrush);
         p.drawRect(1, 5, 18, 10);
     }},
    {cmd::AddSingleRebar,
     [](QPainter& p) {
         bar(p, 8, 12, 4);
         p.setPen(QPen(kGreen, 2));
         p.drawLine(15, 1, 15, 9);
         p.drawLine(11, 5, 19, 5);
     }},
    {cmd::AddAlongLine,
     [](QPainter& p) {
         p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
         p.drawLine(2, 10, 18, 10);
         bar(p, 3, 10, 2.5, Qt::blue);
         bar(p, 17, 10, 2.5, Qt::blue);
         bar(p, 8, 10, 2);
         bar(p, 12.5, 10, 2);
     }},
    {cmd::AssignRebar,
     [](QPainter& p) {
         bar(p, 10, 10, 7);
         label(p, "D", Qt::white, 9);
     }},
    {cmd::DeleteRebars,
     [](QPainter& p) {
         barRow(p);
         cross(p);
     }},
    {cmd::MoveRebars,
     [](QPainter& p) {
         bar(p, 5, 15, 3, Qt::blue);
         bar(p, 15, 5, 3);
         arrow(p, {7, 13}, {12, 8});
     }},
    {cmd::AlignX,
     [](QPainter& p) {
         p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
         p.drawLine(1, 10, 19, 10);
         barRow(p);
     }},
    {cmd::AlignY,
     [](QPainter& p) {
         p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
         p.drawLine(10, 1, 10, 19);
         for (double y : {4.0, 10.0, 16.0}) bar(p, 10, y);
     }},
    {cmd::AlignDir,
     [](QPainter& p) {
         p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
         p.drawLine(1, 19, 19, 1);
         for (double t : {4.0, 10.0, 16.0}) bar(p, t, 20 - t);
     }},
};

}  // namespace

QIcon toolIcon(const std::string& command) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    for (const ToolPicture& t : kToolPictures)
        if (command == t.command) t.draw(p);
    p.end();
    return QIcon(pm);
}

QIcon windowIcon() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(1.6, 1.6);
    columnSection(p);
    p.end();
    return QIcon(pm);
}

namespace {
// A column section with its bars, the cover line and the centre cross, in a box.
void sectionSketch(QPainter& p, const QRectF& box) {
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(box);
    const double c = box.width() * 0.09;
    const QRectF cover = box.adjusted(c, c, -c, -c);
    p.setPen(QPen(Qt::red, 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(cover);
    const double r = box.width() * 0.045;
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j <= 3; ++j) {
            if (i != 0 && i != 3 && j != 0 && j != 3) continue;
            bar(p, cover.left() + cover.width() * i / 3, cover.top() + cover.height() * j / 3, r);
        }
    const QPointF m = box.center();
    p.setPen(QPen(Qt::red, 1));
    p.drawLine(m + QPointF(-8, 0), m + QPointF(8, 0));
    p.drawLine(m + QPointF(0, -8), m + QPointF(0, 8));
}
}  // namespace

QPixmap splashPicture() {
    QPixmap pm(665, 274);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 665, 274);
    g.setColorAt(0, QColor(20, 50, 110));
    g.setColorAt(1, QColor(70, 130, 190));
    p.fillRect(pm.rect(), g);
    sectionSketch(p, QRectF(40, 37, 200, 200));
    // An interaction curve beside the section.
    p.setPen(QPen(QColor(255, 255, 255, 160), 1));
    p.drawLine(300, 210, 620, 210);
    p.drawLine(460, 40, 460, 240);
    QPainterPath curve;
    curve.moveTo(460, 45);
    curve.cubicTo(640, 70, 640, 190, 460, 235);
    curve.cubicTo(280, 190, 280, 70, 460, 45);
    p.setPen(QPen(QColor(255, 210, 80), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    QFont f("Arial");
    f.setPixelSize(44);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(270, 70, 380, 60), Qt::AlignCenter, "QAV Section");
    f.setPixelSize(16);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(270, 135, 380, 30), Qt::AlignCenter, "v1.0 (2022-03-14)");
    p.drawText(QRect(270, 165, 380, 30), Qt::AlignCenter, "Fibre section analysis of columns");
    p.end();
    return pm;
}

QPixmap aboutPicture() {
    QPixmap pm(100, 100);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    sectionSketch(p, QRectF(10, 10, 80, 80));
    p.end();
    return pm;
}

}  // namespace qav
