#include "view/section_view.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "model/design_code.h"
#include "model/number_text.h"
#include "model/tables.h"
#include "view/view_mapping.h"

namespace qav {

namespace {

// Corners 0..n-1 of a point list mapped with the given reference point; empty when any corner
// cannot be mapped (a polygon with a missing corner would be a different shape).
std::vector<Point> mapCorners(const SectionModel& m, const std::vector<TPOS>& pt, int32_t n,
                              TPOS ref) {
    std::vector<Point> out;
    const auto corner = corners(pt, n);
    out.reserve(corner.size());
    for (const TPOS& q : corner) {
        const auto p = modelToWindow(m, q.X, q.Y, ref.X, ref.Y);
        if (!p) return {};
        out.push_back(*p);
    }
    return out;
}

// A circle of radius r pixels about a centre; skipped when either cannot be mapped.
void circle(Canvas& c, std::optional<Point> centre, std::optional<int> r) {
    if (!centre || !r) return;
    c.ellipse(centre->x - *r, centre->y - *r, centre->x + *r, centre->y + *r);
}

// The concrete outline or the cover line, unfilled; leaves the brush solid and the pen 1 wide.
void outlineAboutViewCentre(const SectionModel& m, Canvas& c, const std::vector<TPOS>& pt,
                            int32_t n) {
    c.brush.style = BrushStyle::Clear;
    if (n != 0) {
        const auto pts = mapCorners(m, pt, n, {m.view.VIEW_CX, m.view.VIEW_CY});
        if (!pts.empty()) c.polygon(pts);
    }
    c.brush.style = BrushStyle::Solid;
    c.pen.width = 1;
}

void drawPolygonList(const SectionModel& m, Canvas& c, const std::vector<TPOLYSHAPE>& list,
                     int32_t count, Color colour) {
    c.pen.width = 2;
    const TPOS ref = steelReference(m);
    for (const TPOLYSHAPE& s : rows(list, count)) {
        if (s.NPOINT == 0) continue;
        c.pen.color = colour;
        c.brush.style = BrushStyle::Clear;
        const auto pts = mapCorners(m, s.PT, s.NPOINT, ref);
        if (!pts.empty()) c.polygon(pts);
    }
    c.brush.style = BrushStyle::Solid;
    c.pen.width = 1;
}

}  // namespace

ViewCounts viewCounts(const SectionModel& m) {
    return {Format("%D", {m.mesh.NFIB}), Format("%D", {m.document.NCONC_PT}),
            Format("%D", {m.document.NBAR}), Format("%D", {m.view.NSEL_BAR}),
            Format("%D", {m.document.NSTEEL_SEC})};
}

void DRAW_BLANK(const SectionModel& m, Canvas& c) {
    c.pen = Pen{};
    c.pen.color = colors::white;
    c.brush = Brush{colors::white, BrushStyle::Solid};
    c.rectangle(0, 0, m.view.W, m.view.H);
    c.font = Font{};
    c.font.name = "Comic Sans MS";
    c.font.size = 12;
    c.font.bold = true;
    c.font.color = colors::black;
    c.brush.style = BrushStyle::Clear;
    c.textOut(10, 35, "QAV-Section");
    c.font.size = 8;
    c.font.bold = false;
    // The title block names a known code only: a code's own grades name their code.
    if (codeHasOwnTables(m.document.CODE))
        c.textOut(10, 80, codeName(m.document.CODE));
    else if (m.settings.DESIGN_CODE == 0 || m.settings.DESIGN_CODE == 1)
        c.textOut(10, 80, designCodeName(m.settings.DESIGN_CODE));
    c.font.name = "Arial";
    c.brush.style = BrushStyle::Solid;
}

void DRAW_FIBER(const SectionModel& m, Canvas& c) {
    const auto fibres = rows(m.mesh.FIB, m.mesh.NFIB);
    if (m.view.SHOW_FLAG[3]) {
        c.pen.color = colors::midGrey;
        for (const TFIB& f : fibres) {
            if (f.SHAPE != 3) continue;
            if (f.TY == FIB_CORE_CONCRETE)
                c.brush.color = colors::lightGrey;
            else if (f.TY == FIB_COVER_CONCRETE)
                c.brush.color = colors::darkGrey;
            else if (f.TY == FIB_STEEL)
                c.brush.color = colors::cyan;
            std::vector<Point> pts;
            for (int k = 0; k < 3; ++k) {
                const auto p = fibreToWindow(m, f.POS[static_cast<std::size_t>(k)].X,
                                             f.POS[static_cast<std::size_t>(k)].Y);
                if (!p) break;
                pts.push_back(*p);
            }
            if (pts.size() == 3) c.polygon(pts);
        }
    }
    if (m.view.SHOW_FLAG[4]) {
        c.pen.color = colors::yellow;
        c.brush.color = colors::yellow;
        for (const TFIB& f : fibres) {
            if (f.SHAPE == 3) circle(c, fibreToWindow(m, f.X, f.Y), 2);
        }
    }
}

void DRAW_BARS(const SectionModel& m, Canvas& c) {
    for (const TBAR& b : rows(m.document.BAR, m.document.NBAR)) {
        c.pen.color = colors::magenta;
        c.brush.color = colors::magenta;
        const auto p = viewToWindow(m, b.X, b.Y);
        const auto r = lengthToPixels(m, b.DB / 2);
        circle(c, p, r);
        c.brush.color = colors::yellow;
        if (m.view.SHOW_FLAG[5] && p && r) c.textOut(p->x + *r, p->y + *r, Format("%0.0F", {b.DB}));
    }
}

void DRAW_REBAR_FIBER(const SectionModel& m, Canvas& c) {
    c.pen.color = colors::black;
    c.brush.color = colors::red;
    const auto fibres = rows(m.mesh.FIB, m.mesh.NFIB);
    for (const TFIB& f : fibres) {
        if (f.SHAPE == 2) circle(c, fibreToWindow(m, f.X, f.Y), lengthToPixels(m, f.DB / 2));
    }
}

void DRAW_POLYLINE(const SectionModel& m, Canvas& c) {
    c.pen.width = 2;
    c.pen.color = colors::black;
    outlineAboutViewCentre(m, c, m.document.CONC_PT, m.document.NCONC_PT);
}

void DRAW_sTEEL_POLYLINE(const SectionModel& m, Canvas& c) {
    drawPolygonList(m, c, m.document.STEEL_SEC, m.document.NSTEEL_SEC, colors::blue);
}

void DRAW_REBAR_POLYLINE(const SectionModel& m, Canvas& c) {
    c.pen.width = 1;
    c.pen.color = colors::red;
    c.pen.style = PenStyle::Dot;
    outlineAboutViewCentre(m, c, m.document.COVER_PT, m.document.NCOVER_PT);
    c.pen.style = PenStyle::Solid;
}

void DRAW_OPEN_POLYLINE(const SectionModel& m, Canvas& c) {
    drawPolygonList(m, c, m.document.OPEN_SEC, m.document.NOPEN_SEC, colors::green);
}

void DRAW_SEL_FIBER(const SectionModel& m, Canvas& c) {
    c.pen.color = colors::blue;
    c.brush.color = colors::blue;
    c.brush.style = BrushStyle::Solid;
    const auto bars = rows(m.document.BAR, m.document.NBAR);
    for (const int32_t i : rows(m.view.SEL_BAR, m.view.NSEL_BAR)) {
        if (i < 1 || i > m.document.NBAR) continue;  // stale entry
        const TBAR& b = bars[static_cast<std::size_t>(i - 1)];
        circle(c, viewToWindow(m, b.X, b.Y), 4);
    }
}

void DRAW_CENTER(const SectionModel& m, Canvas& c) {
    c.pen.color = colors::red;
    const auto p = fibreToWindow(m, 0, 0);
    if (!p) return;
    c.line(p->x - 10, p->y, p->x + 10, p->y);
    c.line(p->x, p->y - 10, p->x, p->y + 10);
}

namespace {

// An arrow head at (x, y) pointing along the unit direction (dx, dy), legs of 8 pixels.
void arrowHead(Canvas& c, int x, int y, int dx, int dy) {
    const int back = 8, side = 4;
    c.line(x, y, x - back * dx + side * dy, y - back * dy - side * dx);
    c.line(x, y, x - back * dx - side * dy, y - back * dy + side * dx);
}

// A line from (x, y) along (dx, dy) for length pixels, ending in one or two heads.
void arrow(Canvas& c, Point from, int dx, int dy, int length, int heads) {
    const int x = from.x + dx * length, y = from.y + dy * length;
    c.line(from.x, from.y, x, y);
    for (int k = 0; k < heads; ++k) arrowHead(c, x - dx * 6 * k, y - dy * 6 * k, dx, dy);
}

}  // namespace

void DRAW_MOMENT_AXES(const SectionModel& m, Canvas& c) {
    const auto o = fibreToWindow(m, 0, 0);
    if (!o) return;
    const int axis = 90, vector = 55;
    c.pen = Pen{};
    c.brush.style = BrushStyle::Clear;
    c.font = Font{};
    // The axes: X to the right, Y up (window y grows downwards).
    arrow(c, *o, 1, 0, axis, 1);
    arrow(c, *o, 0, -1, axis, 1);
    c.textOut(o->x + axis + 4, o->y - 7, "X");
    c.textOut(o->x - 4, o->y - axis - 18, "Y");
    // Positive Mx compresses the side above X, positive My the side right of Y. On the face
    // towards the viewer the compressive stresses point away from the viewer, so by the
    // right-hand rule the vector of +Mx points along -X and that of +My along +Y.
    c.pen.color = colors::blue;
    c.pen.width = 2;
    c.font.color = colors::blue;
    arrow(c, *o, -1, 0, vector, 2);
    arrow(c, Point{o->x + 6, o->y}, 0, -1, vector, 2);
    c.textOut(o->x - vector - 26, o->y - 18, "+Mx");
    c.textOut(o->x + 12, o->y - vector, "+My");
    c.textOut(o->x + 8, o->y + 8, "+Mx: compression above X");
    c.textOut(o->x + 8, o->y + 22, "+My: compression right of Y");
    c.pen = Pen{};
    c.font = Font{};
    c.brush.style = BrushStyle::Solid;
}

ViewCounts DRAW_STRU(const SectionModel& m, Canvas& c) {
    DRAW_BLANK(m, c);
    if (m.mesh.NFIB > 0) DRAW_FIBER(m, c);
    if (m.view.SHOW_FLAG[2]) DRAW_BARS(m, c);
    if (m.view.SHOW_FLAG[3]) DRAW_REBAR_FIBER(m, c);
    if (m.view.SHOW_FLAG[1]) {
        DRAW_POLYLINE(m, c);
        DRAW_sTEEL_POLYLINE(m, c);
        DRAW_REBAR_POLYLINE(m, c);
        DRAW_OPEN_POLYLINE(m, c);
    }
    DRAW_SEL_FIBER(m, c);
    const ViewCounts counts = viewCounts(m);
    DRAW_CENTER(m, c);
    if (m.view.SHOW_FLAG[MOMENT_AXES_FLAG]) DRAW_MOMENT_AXES(m, c);
    return counts;
}

}  // namespace qav
