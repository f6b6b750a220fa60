#include "builders/shape_picture.h"

#include <algorithm>
#include <cmath>

#include "builders/opening_section.h"
#include "builders/steel_section.h"
#include "builders/typical_section.h"
#include "model/number_text.h"

namespace qav {

namespace {

struct Box {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
};

Box extent(const Corners& pts) {
    Box b{pts.front().X, pts.front().X, pts.front().Y, pts.front().Y};
    for (const TPOS& p : pts) {
        b.xmin = std::min(b.xmin, p.X);
        b.xmax = std::max(b.xmax, p.X);
        b.ymin = std::min(b.ymin, p.Y);
        b.ymax = std::max(b.ymax, p.Y);
    }
    return b;
}

DimensionMark horizontal(const std::string& l, double x1, double x2, double y) {
    return {l, {x1, y}, {x2, y}};
}
DimensionMark vertical(const std::string& l, double y1, double y2, double x) {
    return {l, {x, y1}, {x, y2}};
}

// The frame of a shape drawn at its defaults: its extent and a tenth of its larger side, the
// distance of a dimension line from the shape.
PictureFrame frameOf(const Corners& outline) {
    const Box e = extent(outline);
    return {e.xmin, e.xmax, e.ymin, e.ymax, 0.1 * std::max(e.xmax - e.xmin, e.ymax - e.ymin)};
}

template <class Params>
ShapePicture pictureOf(const ShapeDescriptor& d, const Params& p, double d1) {
    const ShapeOutline o = d.geometry(p.dim, d1);
    ShapePicture pic;
    pic.outline = o.outline;
    pic.marks = d.marks(p.dim, frameOf(o.outline));
    return pic;
}
}  // namespace

namespace marks {

std::vector<DimensionMark> outerBH(const Dimensions&, const PictureFrame& f) {
    return {vertical("H", f.ymin, f.ymax, f.xmax + f.gap),
            horizontal("B", f.xmin, f.xmax, f.ymax + f.gap)};
}

std::vector<DimensionMark> outerDW(const Dimensions&, const PictureFrame& f) {
    return {vertical("D", f.ymin, f.ymax, f.xmax + f.gap),
            horizontal("W", f.xmin, f.xmax, f.ymax + f.gap)};
}

std::vector<DimensionMark> diameter(const Dimensions&, const PictureFrame& f) {
    return {horizontal("D", f.xmin, f.xmax, f.ymax + f.gap)};
}

// The I-section's web is T thick.
std::vector<DimensionMark> iSection(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], W = v[1], T = v[2], g = f.gap;
    return {vertical("D", -D / 2, D / 2, W / 2 + g), horizontal("W", -W / 2, W / 2, D / 2 + g),
            vertical("T", D / 2 - T, D / 2, -W / 2 - g), horizontal("T", -T / 2, T / 2, 0)};
}

std::vector<DimensionMark> tSection(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], W = v[1], T = v[2], t = v[3], g = f.gap;
    return {vertical("D", -D / 2, D / 2, W / 2 + g), horizontal("W", -W / 2, W / 2, D / 2 + g),
            vertical("T", D / 2 - T, D / 2, -W / 2 - g), horizontal("t", -t / 2, t / 2, -D / 4)};
}

std::vector<DimensionMark> channel(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], W = v[1], T = v[2], t = v[3], g = f.gap;
    return {vertical("D", -D / 2, D / 2, -W / 2 - g), horizontal("W", -W / 2, W / 2, D / 2 + g),
            vertical("T", D / 2 - T, D / 2, W / 2 + g), horizontal("t", -W / 2, -W / 2 + t, 0)};
}

std::vector<DimensionMark> angle(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], W = v[1], T = v[2], t = v[3], g = f.gap;
    return {vertical("D", -D / 2, D / 2, -W / 2 - g), horizontal("W", -W / 2, W / 2, -D / 2 - g),
            vertical("T", -D / 2, -D / 2 + T, W / 2 + g),
            horizontal("t", -W / 2, -W / 2 + t, D / 2 + g)};
}

std::vector<DimensionMark> taper(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], Wt = v[1], Wb = v[2], g = f.gap;
    return {vertical("D", -D / 2, D / 2, f.xmax + g), horizontal("Wt", -Wt / 2, Wt / 2, D / 2 + g),
            horizontal("Wb", -Wb / 2, Wb / 2, -D / 2 - g)};
}

namespace {
// The depth, the two flange widths and the two flange thicknesses of an I with its own flanges.
std::vector<DimensionMark> flangedI(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], Wt = v[1], Wb = v[2], Tt = v[3], Tb = v[4], g = f.gap;
    const double left = f.xmin - g;
    return {vertical("D", -D / 2, D / 2, f.xmax + g), horizontal("Wt", -Wt / 2, Wt / 2, D / 2 + g),
            horizontal("Wb", -Wb / 2, Wb / 2, -D / 2 - g), vertical("Tt", D / 2 - Tt, D / 2, left),
            vertical("Tb", -D / 2, -D / 2 + Tb, left)};
}
}  // namespace

std::vector<DimensionMark> generalI(const Dimensions& v, const PictureFrame& f) {
    std::vector<DimensionMark> m = flangedI(v, f);
    m.push_back(horizontal("t", -v[5] / 2, v[5] / 2, 0));
    return m;
}

std::vector<DimensionMark> taperI(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], Tt = v[3], Tb = v[4], g = f.gap;
    std::vector<DimensionMark> m = flangedI(v, f);
    m.push_back(horizontal("tt", -v[5] / 2, v[5] / 2, D / 2 - Tt - g));
    m.push_back(horizontal("tb", -v[6] / 2, v[6] / 2, -D / 2 + Tb + g));
    return m;
}

std::vector<DimensionMark> taperT(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], W = v[1], T = v[2], tt = v[3], tb = v[4], g = f.gap;
    return {vertical("D", -D / 2, D / 2, W / 2 + g), horizontal("W", -W / 2, W / 2, D / 2 + g),
            vertical("T", D / 2 - T, D / 2, -W / 2 - g),
            horizontal("tt", -tt / 2, tt / 2, D / 2 - T - g),
            horizontal("tb", -tb / 2, tb / 2, -D / 2 - g)};
}

std::vector<DimensionMark> taperAngle(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], W = v[1], T = v[2], tt = v[3], tb = v[4], g = f.gap;
    return {vertical("D", -D / 2, D / 2, -W / 2 - g), horizontal("W", -W / 2, W / 2, -D / 2 - g),
            vertical("T", -D / 2, -D / 2 + T, W / 2 + g),
            horizontal("tt", -W / 2, -W / 2 + tt, D / 2 + g),
            horizontal("tb", -W / 2, -W / 2 + tb, -D / 2 + T + g)};
}

std::vector<DimensionMark> rectoEllipse(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], d = v[1], W = v[2], w = v[3], g = f.gap;
    return {vertical("D", -D / 2, D / 2, W / 2 + g), horizontal("W", -W / 2, W / 2, D / 2 + g),
            vertical("d", -d / 2, d / 2, -W / 2 - g), horizontal("w", -w / 2, w / 2, -D / 2 - g)};
}

std::vector<DimensionMark> hollow(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], W = v[1], T = v[2], t = v[3], g = f.gap;
    return {vertical("D", -D / 2, D / 2, W / 2 + g), horizontal("W", -W / 2, W / 2, D / 2 + g),
            vertical("T", D / 2 - T, D / 2, 0), horizontal("t", -W / 2, -W / 2 + t, 0)};
}

std::vector<DimensionMark> cross(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], W = v[1], T = v[2], t = v[3], g = f.gap;
    return {vertical("D", -D / 2, D / 2, W / 2 + g), horizontal("W", -W / 2, W / 2, -D / 2 - g),
            vertical("T", -T / 2, T / 2, -W / 2 - g), horizontal("t", -t / 2, t / 2, D / 2 + g)};
}

std::vector<DimensionMark> tube(const Dimensions& v, const PictureFrame& f) {
    const double D = v[0], T = v[1];
    return {horizontal("D", -D / 2, D / 2, D / 2 + f.gap), horizontal("T", D / 2 - T, D / 2, 0)};
}

// The opening's rectangle takes its first box (B) along y.
std::vector<DimensionMark> openingBH(const Dimensions&, const PictureFrame& f) {
    return {vertical("B", f.ymin, f.ymax, f.xmax + f.gap),
            horizontal("H", f.xmin, f.xmax, f.ymax + f.gap)};
}

}  // namespace marks

ShapePicture typicalPicture(int shape) {
    BoxTexts texts = typicalDialogTexts();
    typicalShapeChange(texts, shape);
    const TypicalParams p = readTypicalParams(shape, texts);
    const SectionGeometry geo = typicalGeometry(p);
    ShapePicture pic = pictureOf(typicalShape(shape), p, p.d1);
    pic.cover = geo.cover;
    for (const TBAR& b : geo.bars) pic.bars.push_back({b.X, b.Y});
    return pic;
}

ShapePicture steelPicture(int shape) {
    BoxTexts texts = steelDialogTexts();
    steelShapeChange(texts, shape);
    ShapePicture pic = pictureOf(steelShape(shape), readSteelParams(shape, texts), 0);
    pic.fill = {176, 196, 222};
    return pic;
}

ShapePicture openingPicture(int shape) {
    const OpeningParams p = readOpeningParams(shape, openingDialogTexts());
    ShapePicture pic;
    pic.outline = openingCorners(p);
    pic.fill = colors::white;
    pic.marks = openingShape(shape).marks({}, frameOf(pic.outline));
    // The centre the location boxes give.
    pic.marks.push_back({"X,Y", {p.X, p.Y}, {p.X, p.Y}});
    return pic;
}

void drawShapePicture(Canvas& c, int w, int h, const ShapePicture& pic) {
    c.pen = {colors::white, 1, PenStyle::Solid, PenMode::Copy};
    c.brush = {colors::white, BrushStyle::Solid};
    c.rectangle(0, 0, w, h);
    if (pic.outline.empty()) return;

    Corners all = pic.outline;
    for (const auto& m : pic.marks) {
        all.push_back(m.a);
        all.push_back(m.b);
    }
    const Box e = extent(all);
    const double margin = 22;  // room for the letters
    const double S = std::min((w - 2 * margin) / std::max(e.xmax - e.xmin, 1e-9),
                              (h - 2 * margin) / std::max(e.ymax - e.ymin, 1e-9));
    const double cx = (e.xmin + e.xmax) / 2, cy = (e.ymin + e.ymax) / 2;
    auto px = [&](const TPOS& p) {
        return Point{Round(w / 2.0 + (p.X - cx) * S), Round(h / 2.0 - (p.Y - cy) * S)};
    };

    std::vector<Point> outline;
    for (const TPOS& p : pic.outline) outline.push_back(px(p));
    c.pen = {colors::black, 2, PenStyle::Solid, PenMode::Copy};
    c.brush = {pic.fill, BrushStyle::Solid};
    c.polygon(outline);

    if (!pic.cover.empty()) {
        std::vector<Point> cover;
        for (const TPOS& p : pic.cover) cover.push_back(px(p));
        c.pen = {colors::grey, 1, PenStyle::Dash, PenMode::Copy};
        for (std::size_t i = 0; i < cover.size(); ++i) {
            const Point& a = cover[i];
            const Point& b = cover[(i + 1) % cover.size()];
            c.line(a.x, a.y, b.x, b.y);
        }
    }
    c.pen = {colors::red, 1, PenStyle::Solid, PenMode::Copy};
    c.brush = {colors::red, BrushStyle::Solid};
    for (const TPOS& b : pic.bars) {
        const Point p = px(b);
        c.ellipse(p.x - 3, p.y - 3, p.x + 3, p.y + 3);
    }

    c.font = Font{};
    c.font.name = "Arial";
    c.font.size = 9;
    c.font.bold = true;
    c.font.color = colors::blue;
    c.brush = {colors::white, BrushStyle::Clear};
    for (const auto& m : pic.marks) {
        const Point a = px(m.a), b = px(m.b);
        const TextSize ts = c.textExtent(m.letter);
        if (a == b) {
            // A point mark: a small cross with its letter.
            c.pen = {colors::blue, 1, PenStyle::Solid, PenMode::Copy};
            c.line(a.x - 4, a.y, a.x + 5, a.y);
            c.line(a.x, a.y - 4, a.x, a.y + 5);
            c.textOut(a.x + 4, a.y + 2, m.letter);
            continue;
        }
        c.pen = {colors::blue, 1, PenStyle::Solid, PenMode::Copy};
        c.line(a.x, a.y, b.x, b.y);
        const bool isVertical = a.x == b.x;
        // End ticks across the line.
        for (const Point& p : {a, b}) {
            if (isVertical)
                c.line(p.x - 3, p.y, p.x + 4, p.y);
            else
                c.line(p.x, p.y - 3, p.x, p.y + 4);
        }
        // The letter goes on the side of the line away from the middle of the picture, so it
        // stays clear of the shape.
        const int mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
        if (isVertical)
            c.textOut(mx < w / 2 ? mx - 4 - ts.width : mx + 5, my - ts.height / 2, m.letter);
        else
            c.textOut(mx - ts.width / 2, my > h * 3 / 4 ? my + 3 : my - ts.height - 1, m.letter);
    }
}

}  // namespace qav
