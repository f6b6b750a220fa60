#include "view/material_diagram.h"

#include <cmath>

#include "model/number_text.h"

namespace qav {

namespace {
struct Frame {
    int x0, y0, x1, y1;  // origin at (x0, y0): bottom-left; (x1, y1): top-right of the plot
};

Frame drawAxes(Canvas& c, int width, int height) {
    c.pen = Pen{};
    c.brush = Brush{colors::white, BrushStyle::Solid};
    c.rectangle(0, 0, width, height);
    c.font = Font{};
    c.brush.style = BrushStyle::Clear;
    const Frame f{30, height - 22, width - 10, 20};
    c.line(f.x0, f.y0, f.x1 + 5, f.y0);
    c.line(f.x0, f.y0, f.x0, f.y1 - 8);
    c.textOut(f.x0 + 4, 2, "Stress");
    c.textOut(f.x1 - c.textWidth("Strain"), f.y0 + 4, "Strain");
    return f;
}

void dashedTo(Canvas& c, int x1, int y1, int x2, int y2) {
    c.pen.style = PenStyle::Dot;
    c.line(x1, y1, x2, y2);
    c.pen.style = PenStyle::Solid;
}
}  // namespace

void drawConcreteLawDiagram(Canvas& c, int width, int height) {
    const Frame f = drawAxes(c, width, height);
    const int e0 = f.x0 + (f.x1 - f.x0) * 40 / 100;  // eps_0
    const int ecu = f.x1 - 60;                       // eps_cu
    const int top = f.y1 + 15;                       // fc
    c.pen.color = colors::blue;
    c.pen.width = 2;
    c.moveTo(f.x0, f.y0);
    for (int i = 1; i <= 20; ++i) {
        const double t = i / 20.0;  // parabola up to the peak at eps_0
        const int x = f.x0 + Round((e0 - f.x0) * t);
        const int y = f.y0 - Round((f.y0 - top) * (2 * t - t * t));
        c.lineTo(x, y);
    }
    c.lineTo(ecu, top);
    c.pen.width = 1;
    c.pen.color = colors::black;
    dashedTo(c, f.x0, top, e0, top);
    dashedTo(c, e0, top, e0, f.y0);
    dashedTo(c, ecu, top, ecu, f.y0);
    // The initial tangent, labelled Ec.
    c.pen.color = colors::red;
    dashedTo(c, f.x0, f.y0, f.x0 + (e0 - f.x0) / 2, top);
    c.textOut(f.x0 + (e0 - f.x0) / 4 + 10, (f.y0 + top) / 2, "Ec");
    c.textOut(f.x0 - 22, top - 6, "fc");
    c.textOut(e0 - c.textWidth("eps_0") / 2, f.y0 + 4, "eps_0");
    c.textOut(ecu - c.textWidth("eps_cu") / 2, f.y0 + 4, "eps_cu");
}

void drawSteelLawDiagram(Canvas& c, int width, int height) {
    const Frame f = drawAxes(c, width, height);
    const int ey = f.x0 + (f.x1 - f.x0) * 35 / 100;
    const int top = f.y1 + 15;
    c.pen.color = colors::blue;
    c.pen.width = 2;
    c.moveTo(f.x0, f.y0);
    c.lineTo(ey, top);
    c.lineTo(f.x1 - 10, top);
    c.pen.width = 1;
    c.pen.color = colors::black;
    dashedTo(c, f.x0, top, ey, top);
    dashedTo(c, ey, top, ey, f.y0);
    c.pen.color = colors::red;
    c.textOut(f.x0 + (ey - f.x0) / 2 + 8, (f.y0 + top) / 2, "Es");
    c.textOut(f.x0 - 22, top - 6, "fy");
    c.textOut(ey - c.textWidth("eps_0") / 2, f.y0 + 4, "eps_0");
}

}  // namespace qav
