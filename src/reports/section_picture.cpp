#include "reports/section_picture.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/number_text.h"
#include "model/tables.h"
#include "reports/chart_frame.h"

namespace qav {

namespace {

struct Extent {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    bool any = false;
    void add(const TPOS& p) {
        if (!any) {
            xmin = xmax = p.X;
            ymin = ymax = p.Y;
            any = true;
            return;
        }
        xmin = std::min(xmin, p.X);
        xmax = std::max(xmax, p.X);
        ymin = std::min(ymin, p.Y);
        ymax = std::max(ymax, p.Y);
    }
};

void addPoints(Extent& e, const std::vector<TPOS>& pts, int n) {
    for (int i = 0; i < n && static_cast<std::size_t>(i) < pts.size(); ++i)
        e.add(pts[static_cast<std::size_t>(i)]);
}

enum class Variant { Printed, Screen };

class Picture {
public:
    Picture(const ImageFit& fit, int SX, int SY, int WX, int WY)
        : fit_(fit), SX_(SX), SY_(SY), WX_(WX), WY_(WY) {}

    // The offset from the centre is rounded to a whole millimetre before it is scaled.
    bool map(double x, double y, Point& out) const {
        const double dx = x - fit_.MIDX, dy = y - fit_.MIDY;
        if (!FitsInt(dx) || !FitsInt(dy)) return false;
        return deviceCoord(Round(dx) * fit_.SCR + WX_ / 2.0 + SX_, out.x) &&
               deviceCoord(WY_ / 2.0 + SY_ - Round(dy) * fit_.SCR, out.y);
    }

    // A polygon with a corner that cannot be placed is left out whole.
    void polygon(Canvas& c, const std::vector<TPOS>& pts, int n) const {
        std::vector<Point> dev;
        for (int i = 0; i < n && static_cast<std::size_t>(i) < pts.size(); ++i) {
            Point p;
            if (!map(pts[static_cast<std::size_t>(i)].X, pts[static_cast<std::size_t>(i)].Y, p))
                return;
            dev.push_back(p);
        }
        if (!dev.empty()) c.polygon(dev);
    }

    void bar(Canvas& c, const TBAR& b) const {
        Point p;
        int r = 0;
        if (!map(b.X, b.Y, p) || !deviceCoord(b.DB / 2 * fit_.SCR, r)) return;
        c.ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
    }

private:
    ImageFit fit_;
    int SX_, SY_, WX_, WY_;
};

void drawSection(Canvas& c, const SectionModel& m, int SX, int SY, int WX, int WY, Variant v) {
    const auto fit = CALC_POLY_ZONE_IMAGE(m, Round(0.75 * WX), Round(0.75 * WY));
    c.brush = Brush{colors::white, BrushStyle::Solid};
    c.pen = Pen{};
    c.rectangle(SX, SY, SX + WX, SY + WY);
    if (!fit) {
        // Nothing to fit the picture on: the box says so instead of drawing at a made-up scale.
        c.brush.style = BrushStyle::Clear;
        c.textOut(SX + 10, SY + 10, "No section outline or steel section to draw.");
        c.brush.style = BrushStyle::Solid;
        return;
    }
    const Picture pic(*fit, SX, SY, WX, WY);
    c.pen = Pen{colors::black, 1, PenStyle::Solid};
    c.brush = Brush{CREAM, BrushStyle::Solid};
    if (v == Variant::Printed || m.document.NCONC_PT > 0)
        pic.polygon(c, m.document.CONC_PT, m.document.NCONC_PT);
    if (m.document.NCOVER_PT > 0) {
        c.pen = Pen{colors::red, 1, PenStyle::Dash};
        if (v == Variant::Printed) c.brush.style = BrushStyle::Clear;
        pic.polygon(c, m.document.COVER_PT, m.document.NCOVER_PT);
        c.pen.style = PenStyle::Solid;
    }
    c.pen = Pen{};
    c.brush = Brush{colors::cyan, BrushStyle::Solid};
    for (const TPOLYSHAPE& steel : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC))
        pic.polygon(c, steel.PT, steel.NPOINT);
    c.brush.color = colors::white;
    for (const TPOLYSHAPE& opening : rows(m.document.OPEN_SEC, m.document.NOPEN_SEC))
        pic.polygon(c, opening.PT, opening.NPOINT);
    c.pen = Pen{colors::black, 1, PenStyle::Solid};
    c.brush.color = colors::red;
    for (const TBAR& bar : rows(m.document.BAR, m.document.NBAR)) pic.bar(c, bar);
    c.brush = Brush{colors::white, BrushStyle::Solid};
}

}  // namespace

std::optional<ImageFit> CALC_POLY_ZONE_IMAGE(const SectionModel& m, int WX, int WY) {
    Extent e;
    if (m.document.NCONC_PT != 0) {
        addPoints(e, m.document.CONC_PT, m.document.NCONC_PT);
    } else {
        for (const TPOLYSHAPE& steel : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC))
            addPoints(e, steel.PT, steel.NPOINT);
    }
    if (!e.any) return std::nullopt;
    ImageFit fit;
    fit.MIDX = (e.xmin + e.xmax) / 2;
    fit.MIDY = (e.ymin + e.ymax) / 2;
    fit.SCR = std::min(WY / (e.ymax - e.ymin), WX / (e.xmax - e.xmin));
    // A single point or a section of no extent has no scale.
    if (!std::isfinite(fit.SCR) || !(fit.SCR > 0) || !std::isfinite(fit.MIDX) ||
        !std::isfinite(fit.MIDY))
        return std::nullopt;
    return fit;
}

void PRINT_DESIGN_SECTION(Canvas& c, const SectionModel& m, int SX, int SY, int WX, int WY) {
    drawSection(c, m, SX, SY, WX, WY, Variant::Printed);
}

void SHOW_SECTION_IMAGE(Canvas& c, const SectionModel& m, int W, int H) {
    drawSection(c, m, 0, 0, W, H, Variant::Screen);
}

}  // namespace qav
