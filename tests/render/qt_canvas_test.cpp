#include "render/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>

using namespace qav;

TEST(QtCanvas, PaintsShapesWithThePenAndBrushInForce) {
    QImage img(100, 60, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        QtCanvas c(p);
        c.pen.color = colors::blue;
        c.brush.color = colors::red;
        c.rectangle(10, 10, 30, 30);
        c.brush.style = BrushStyle::Clear;
        c.ellipse(40, 10, 60, 30);
        c.brush.style = BrushStyle::Solid;
        c.brush.color = colors::yellow;
        c.textOut(5, 35, "QAV");
        EXPECT_GT(c.textWidth("QAV"), 0);
        EXPECT_GT(c.textHeight("QAV"), 0);
    }
    EXPECT_EQ(img.pixelColor(20, 20), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(10, 20), QColor(0, 0, 255));
    EXPECT_EQ(img.pixelColor(50, 20), QColor(255, 255, 255)) << "a clear brush leaves the inside";
    EXPECT_EQ(img.pixelColor(6, 36), QColor(255, 255, 0))
        << "text background takes the solid brush";
}
