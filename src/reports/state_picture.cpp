#include "reports/state_picture.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/fibre_arrays.h"
#include "analysis/section_solver.h"
#include "model/number_text.h"
#include "model/tables.h"

namespace qav {

namespace {

constexpr Color STEEL_EDGE{60, 60, 60};
constexpr Color LIMIT_MARK{0, 160, 0};
constexpr Color UNSTRESSED{232, 232, 232};

int channel(double v) {
    return std::clamp(Round(v), 0, 255);
}

// The box of the fibres' own outlines (triangle corners, bar circles).
struct Box {
    double x0 = std::numeric_limits<double>::infinity(), y0 = x0;
    double x1 = -x0, y1 = -x0;
    void add(double x, double y) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
    bool empty() const { return !(x1 >= x0 && y1 >= y0); }
};

Box fibreBox(const SectionModel& m) {
    Box b;
    for (const TFIB& f : rows(m.mesh.FIB, m.mesh.NFIB)) {
        if (f.SHAPE == 3) {
            for (int c = 0; c < 3; ++c)
                b.add(f.POS[static_cast<std::size_t>(c)].X, f.POS[static_cast<std::size_t>(c)].Y);
        } else {
            const double r = std::max(f.DB / 2, 1.0);
            b.add(f.X - r, f.Y - r);
            b.add(f.X + r, f.Y + r);
        }
    }
    for (const TCFIB& point : rows(m.mesh.CFIB, m.mesh.NCFIB)) b.add(point.X, point.Y);
    return b;
}

// Section coordinates (mm, Y up) to the device (Y down), the section fitted into a box.
struct Fit {
    double scale = 1, mx = 0, my = 0;
    int cx = 0, cy = 0;
    Fit(const Box& b, int left, int top, int width, int height) {
        const double bw = std::max(b.x1 - b.x0, 1e-9), bh = std::max(b.y1 - b.y0, 1e-9);
        scale = std::min(width / bw, height / bh);
        mx = (b.x0 + b.x1) / 2;
        my = (b.y0 + b.y1) / 2;
        cx = left + width / 2;
        cy = top + height / 2;
    }
    Point at(double x, double y) const {
        return {cx + Round((x - mx) * scale), cy - Round((y - my) * scale)};
    }
    int length(double d) const { return Round(d * scale); }
};

// The zero line of the plane within the box, when it crosses it.
bool zeroLine(const StrainPlane& p, const Box& b, double& xa, double& ya, double& xb, double& yb) {
    const double g2 = p.a2 * p.a2 + p.a3 * p.a3;
    if (!(g2 > 0)) return false;
    const double px = -p.a1 * p.a2 / g2, py = -p.a1 * p.a3 / g2;  // nearest point to the origin
    const double dx = -p.a3, dy = p.a2;                           // along the line
    double t0 = -std::numeric_limits<double>::infinity(),
           t1 = std::numeric_limits<double>::infinity();
    auto clip = [&](double d, double lo, double hi, double origin) {
        if (d == 0) return origin >= lo && origin <= hi;
        double a = (lo - origin) / d, c = (hi - origin) / d;
        if (a > c) std::swap(a, c);
        t0 = std::max(t0, a);
        t1 = std::min(t1, c);
        return t0 <= t1;
    };
    if (!clip(dx, b.x0, b.x1, px) || !clip(dy, b.y0, b.y1, py)) return false;
    xa = px + t0 * dx;
    ya = py + t0 * dy;
    xb = px + t1 * dx;
    yb = py + t1 * dy;
    return true;
}

void drawFibres(Canvas& c, const SectionModel& m, const SectionState& s, const Fit& fit,
                double scale) {
    // Concrete first, steel over it, bars on top.
    for (const int pass : {0, 1, 2}) {
        for (const FibreStateRow& r : s.fibres) {
            // A state outlives no mesh: fibres the model no longer has are not drawn.
            if (r.number < 1 || r.number > m.mesh.NFIB) continue;
            const TFIB& f = m.mesh.FIB[static_cast<std::size_t>(r.number)];
            const bool bar = f.SHAPE != 3;
            const bool steel = r.TY == FIB_STEEL || r.TY == FIB_REBAR;
            const int fibrePass = bar ? 2 : (steel ? 1 : 0);
            if (fibrePass != pass) continue;
            // Unstressed fibres (cracked concrete) in a light grey, so the whole section shows.
            const Color fill = r.stress == 0 ? UNSTRESSED : stressColor(r.stress, scale);
            c.brush = Brush{fill, BrushStyle::Solid};
            if (bar) {
                c.pen = Pen{colors::black, 1, PenStyle::Solid};
                const Point p = fit.at(f.X, f.Y);
                const int rad = std::max(3, fit.length(f.DB / 2));
                c.ellipse(p.x - rad, p.y - rad, p.x + rad, p.y + rad);
                continue;
            }
            c.pen = steel ? Pen{STEEL_EDGE, 1, PenStyle::Solid} : Pen{fill, 1, PenStyle::Solid};
            std::vector<Point> tri;
            for (int k = 0; k < 3; ++k)
                tri.push_back(fit.at(f.POS[static_cast<std::size_t>(k)].X,
                                     f.POS[static_cast<std::size_t>(k)].Y));
            c.polygon(tri);
        }
    }
}

// The section's own outlines over the fibres, about the centre the fibres are measured from.
void drawOutlines(Canvas& c, const SectionModel& m, const Fit& fit) {
    const bool concrete = m.document.NCONC_PT != 0;
    const double cx =
        concrete ? m.document.CONC_CX : (m.document.NSTEEL_SEC > 0 ? m.document.STEEL_CX : 0);
    const double cy =
        concrete ? m.document.CONC_CY : (m.document.NSTEEL_SEC > 0 ? m.document.STEEL_CY : 0);
    auto outline = [&](const std::vector<TPOS>& pts, int n) {
        if (n < 2 || static_cast<std::size_t>(n) > pts.size()) return;
        for (int i = 0; i < n; ++i) {
            const TPOS& a = pts[static_cast<std::size_t>(i)];
            const TPOS& b = pts[static_cast<std::size_t>((i + 1) % n)];
            const Point p = fit.at(a.X - cx, a.Y - cy), q = fit.at(b.X - cx, b.Y - cy);
            c.line(p.x, p.y, q.x, q.y);
        }
    };
    c.pen = Pen{colors::grey, 1, PenStyle::Solid};
    outline(m.document.CONC_PT, m.document.NCONC_PT);
    c.pen = Pen{STEEL_EDGE, 1, PenStyle::Solid};
    for (const TPOLYSHAPE& steel : rows(m.document.STEEL_SEC, m.document.NSTEEL_SEC))
        outline(steel.PT, steel.NPOINT);
}

void drawLegend(Canvas& c, int left, int top, int width, double scale) {
    const int steps = 100, h = 14;
    c.pen = Pen{colors::black, 1, PenStyle::Clear};
    for (int i = 0; i < steps; ++i) {
        const double t = -1 + 2.0 * (i + 0.5) / steps;
        c.brush = Brush{stressColor((t < 0 ? -1 : 1) * t * t * scale, scale), BrushStyle::Solid};
        const int x0 = left + width * i / steps, x1 = left + width * (i + 1) / steps;
        c.rectangle(x0, top, x1 + 1, top + h);
    }
    c.pen = Pen{};
    c.brush.style = BrushStyle::Clear;
    c.rectangle(left, top, left + width, top + h);
    for (const double t : {-1.0, -0.5, 0.0, 0.5, 1.0}) {
        const int x = left + Round(width * (t + 1) / 2);
        c.line(x, top + h, x, top + h + 4);
        const std::string label = Format("%0.1F", {(t < 0 ? -1 : 1) * t * t * scale});
        c.textOut(x - c.textWidth(label) / 2, top + h + 5, label);
    }
    const std::string caption =
        "Stress [N/mm2]: compression red, tension blue, none grey; steel edged dark";
    c.textOut(left, top - c.textHeight(caption) - 3, caption);
    c.brush.style = BrushStyle::Solid;
}

// The code's ultimate strains at capacity, as the solver held the section to them: each concrete
// grade's ultimate strain over the outline and, under EN 1992-1-1, the pivot of a wholly
// compressed section (its strain epsC2 at the fraction pivotDepth of the section's depth from
// the most compressed face). Empty when the control strain rules.
struct CodeMarks {
    bool applies = false;
    std::vector<double> epsCu;  // distinct, ascending
    double epsC2 = 0, pivotCu = 0, pivotDepth = 0;
};

CodeMarks codeMarks(const SectionModel& m, const SectionState& s) {
    CodeMarks k;
    if (s.at != StateAt::Capacity || !codeLimitApplies(m)) return k;
    const std::vector<LimitPoint> points = codeLimitPoints(m);
    if (points.empty()) return k;
    k.applies = true;
    const LimitPoint* top = nullptr;
    for (const LimitPoint& p : points) {
        if (p.epsCu > 0 && std::isfinite(p.epsCu) &&
            std::find(k.epsCu.begin(), k.epsCu.end(), p.epsCu) == k.epsCu.end())
            k.epsCu.push_back(p.epsCu);
        if (!top || s.plane.at(p.x, p.y) > s.plane.at(top->x, top->y)) top = &p;
    }
    std::sort(k.epsCu.begin(), k.epsCu.end());
    if (top->epsC2 > 0 && top->epsCu > top->epsC2) {
        k.epsC2 = top->epsC2;
        k.pivotCu = top->epsCu;
        k.pivotDepth = 1 - top->epsC2 / top->epsCu;
    }
    return k;
}

// A strain with the decimals it needs (at least three): 0.0035, 0.00266.
std::string strainText(double e) {
    for (const char* f : {"%0.3F", "%0.4F", "%0.5F"})
        if (std::fabs(ToFloat(Format(f, {e})) - e) <= 5e-9) return Format(f, {e});
    return Format("%0.6F", {e});
}

// A label beside the vertical line at x, inside the box when it fits on the right.
void labelBeside(Canvas& c, int x, int y, int right, const std::string& text) {
    const int w = c.textWidth(text);
    c.textOut(x + 3 + w <= right - 2 ? x + 3 : x - 3 - w, y, text);
}

// The code's limits in the profile: a line at each concrete ultimate strain and, with a pivot,
// the bound of EN 1992-1-1's strain diagram: from the ultimate strain at the most compressed
// face down to the pivot's strain at its depth, then straight on to the far face.
template <class ToX, class ToY>
void drawCodeLimits(Canvas& c, const CodeMarks& k, ToX X, ToY Y, double u0, double u1, int top,
                    int height, int right) {
    c.pen = Pen{LIMIT_MARK, 1, PenStyle::Dash};
    // The labels at the box's top, clear of the profile's top strain below them.
    const int rowH = c.textHeight("0") + 2;
    int row = 0;
    auto label = [&](double e) {
        labelBeside(c, X(e), top + 2 + rowH * row++, right, strainText(e) + " (ultimate strain)");
    };
    for (const double e : k.epsCu) {
        if (k.epsC2 > 0 && e == k.pivotCu) continue;  // the pivot's bound draws it
        c.line(X(e), top + 5, X(e), top + height - 5);
        label(e);
    }
    if (k.epsC2 > 0) {
        const double eCu = k.pivotCu, uC = u1 - k.pivotDepth * (u1 - u0);
        c.line(X(eCu), top + 5, X(eCu), Y(u1));
        c.line(X(eCu), Y(u1), X(k.epsC2), Y(uC));
        c.line(X(k.epsC2), Y(uC), X(k.epsC2), Y(u0));
        label(eCu);
        c.pen = Pen{colors::black, 1, PenStyle::Solid};
        c.brush = Brush{LIMIT_MARK, BrushStyle::Solid};
        c.ellipse(X(k.epsC2) - 3, Y(uC) - 3, X(k.epsC2) + 3, Y(uC) + 3);
        c.brush = Brush{colors::white, BrushStyle::Clear};
        labelBeside(c, X(k.epsC2) + 3, Y(uC) + 2, right, "pivot " + strainText(k.epsC2));
    }
}

void drawStrainProfile(Canvas& c, const SectionModel& m, const SectionState& s, int left, int top,
                       int width, int height) {
    const StrainPlane& p = s.plane;
    const double g = std::hypot(p.a2, p.a3);
    const double gx = g > 0 ? p.a2 / g : 0, gy = g > 0 ? p.a3 / g : 1;
    double u0 = std::numeric_limits<double>::infinity(), u1 = -u0;
    for (const ControlPointState& cp : s.controlPoints) {
        u0 = std::min(u0, gx * cp.X + gy * cp.Y);
        u1 = std::max(u1, gx * cp.X + gy * cp.Y);
    }
    c.pen = Pen{};
    c.brush = Brush{colors::white, BrushStyle::Clear};
    const std::string title = "Strain along the strain gradient";
    c.textOut(left, top - c.textHeight(title) - 4, title);
    c.rectangle(left, top, left + width, top + height);
    if (!(u1 > u0)) return;
    // Strain at projection u: the plane's value at the point of the gradient line.
    auto strainAt = [&](double u) { return p.a1 + g * u; };
    const double e0 = strainAt(u0), e1 = strainAt(u1);
    // The control strain matters at capacity; at a service load it would squash the profile.
    const bool capacity = s.at == StateAt::Capacity;
    const CodeMarks code = codeMarks(m, s);
    const double limit = code.applies ? (code.epsCu.empty() ? 0.0 : code.epsCu.back()) : EPS_LIMIT;
    double lo = std::min({e0, e1, 0.0}), hi = std::max({e0, e1, 0.0, capacity ? limit : 0.0});
    const double pad = 0.08 * (hi - lo);
    lo -= pad;
    hi += pad;
    const int inner = 30;
    auto X = [&](double e) {
        return left + inner + Round((e - lo) / (hi - lo) * (width - 2 * inner));
    };
    auto Y = [&](double u) {
        return top + height - inner - Round((u - u0) / (u1 - u0) * (height - 2 * inner));
    };
    c.pen = Pen{colors::grey, 1, PenStyle::Solid};
    c.line(X(0), top + 5, X(0), top + height - 5);
    if (code.applies) {
        drawCodeLimits(c, code, X, Y, u0, u1, top, height, left + width);
    } else if (capacity) {
        c.pen = Pen{LIMIT_MARK, 1, PenStyle::Dash};
        c.line(X(EPS_LIMIT), top + 5, X(EPS_LIMIT), top + height - 5);
        // The strain the solver scales the corners to, not the concrete's ultimate strain.
        const std::string limitText = Format("%0.3F (control strain)", {EPS_LIMIT});
        const int limitWidth = c.textWidth(limitText);
        const int limitX = X(EPS_LIMIT) + 3 + limitWidth <= left + width - 2
                               ? X(EPS_LIMIT) + 3
                               : X(EPS_LIMIT) - 3 - limitWidth;
        c.textOut(limitX, top + 6, limitText);
    }
    // The profile, filled by sign.
    c.pen = Pen{colors::black, 2, PenStyle::Solid};
    c.brush = Brush{stressColor(1, 1), BrushStyle::Clear};
    c.line(X(e0), Y(u0), X(e1), Y(u1));
    c.line(X(0), Y(u0), X(e0), Y(u0));
    c.line(X(0), Y(u1), X(e1), Y(u1));
    if (s.axis.exists && g > 0) {
        const double un = -p.a1 / g;
        if (un > u0 && un < u1) {
            c.pen = Pen{colors::black, 1, PenStyle::Dash};
            c.line(left + 5, Y(un), left + width - 5, Y(un));
            c.textOut(left + 6, Y(un) - c.textHeight("N.A.") - 1, "N.A.");
        }
    }
    // Bars and steel fibres at their strains.
    c.pen = Pen{colors::black, 1, PenStyle::Solid};
    for (const FibreStateRow& r : s.fibres) {
        if (r.TY != FIB_REBAR) continue;
        c.brush = Brush{stressColor(r.stress, stressScale(s)), BrushStyle::Solid};
        const int x = X(r.strain), y = Y(gx * r.X + gy * r.Y);
        c.ellipse(x - 3, y - 3, x + 3, y + 3);
    }
    c.brush = Brush{colors::white, BrushStyle::Clear};
    const std::string topText = Format("%0.5F", {e1}), bottomText = Format("%0.5F", {e0});
    c.textOut(std::min(X(e1) + 4, left + width - c.textWidth(topText) - 2),
              Y(u1) - c.textHeight(topText) - 2, topText);
    c.textOut(std::min(X(e0) + 4, left + width - c.textWidth(bottomText) - 2), Y(u0) + 2,
              bottomText);
    const std::string axis = "strain (compression +)";
    c.textOut(left + width - c.textWidth(axis) - 4, top + height + 4, axis);
}

}  // namespace

Color stressColor(double stress, double scale) {
    if (!(scale > 0) || !std::isfinite(stress) || stress == 0) return colors::white;
    const double t = std::sqrt(std::min(std::fabs(stress) / scale, 1.0));
    const int fade = channel(255 * (1 - t));
    // Never quite white, so a stressed fibre always shows its sign.
    const int weak = std::min(fade, 250);
    return stress > 0 ? Color{255, static_cast<uint8_t>(weak), static_cast<uint8_t>(weak)}
                      : Color{static_cast<uint8_t>(weak), static_cast<uint8_t>(weak), 255};
}

double stressScale(const SectionState& s) {
    double m = 0;
    for (const FibreStateRow& r : s.fibres)
        if (std::isfinite(r.stress)) m = std::max(m, std::fabs(r.stress));
    return m > 0 ? m : 1;
}

void drawSectionState(Canvas& c, const SectionModel& m, const SectionState& s, int W, int H) {
    c.font.name = "Arial";
    c.font.size = 9;
    c.pen = Pen{};
    c.brush = Brush{colors::white, BrushStyle::Solid};
    c.rectangle(0, 0, W, H);
    c.brush.style = BrushStyle::Clear;
    const std::string title =
        stateHeading(s) +
        Format("   Load P = %0.1F kN, Mxx = %0.1F kNm, Myy = %0.1F kNm", {s.P, s.MY, s.MX});
    c.textOut(10, 8, title);
    const std::string axisText =
        s.axis.exists
            ? Format("Neutral axis: depth %0.1F mm, angle %0.1F deg", {s.axis.depth, s.axis.angle})
            : std::string("Neutral axis: none (uniform strain)");
    // Where phi reduces the strength, the fraction the member check lists beside the nominal one.
    const std::string designText =
        s.phi > 0 ? Format("   Design: %0.3F × the load (phi %0.3F)", {s.designFraction, s.phi})
                  : std::string();
    c.textOut(10, 8 + c.textHeight(title) + 2, axisText + designText);

    const int secLeft = 20, secTop = 60, secW = W * 62 / 100 - 30, secH = H - 180;
    const Box box = fibreBox(m);
    const double scale = stressScale(s);
    if (!box.empty() && secW > 10 && secH > 10) {
        const Fit fit(box, secLeft, secTop, secW, secH);
        drawFibres(c, m, s, fit, scale);
        drawOutlines(c, m, fit);
        double xa, ya, xb, yb;
        Box wide = box;
        const double grow = 0.04 * std::max(box.x1 - box.x0, box.y1 - box.y0);
        wide.add(box.x0 - grow, box.y0 - grow);
        wide.add(box.x1 + grow, box.y1 + grow);
        if (s.axis.exists && zeroLine(s.plane, wide, xa, ya, xb, yb)) {
            const Point a = fit.at(xa, ya), b = fit.at(xb, yb);
            c.pen = Pen{colors::black, 2, PenStyle::Dash};
            c.line(a.x, a.y, b.x, b.y);
            c.brush = Brush{colors::white, BrushStyle::Solid};
            c.pen = Pen{};
            c.textOut(b.x + 3, b.y - c.textHeight("N.A.") / 2, "N.A.");
        }
        for (const ControlPointState& cp : s.controlPoints) {
            const Point p = fit.at(cp.X, cp.Y);
            const int r = cp.atLimit ? 5 : 2;
            c.pen = Pen{colors::black, 1, PenStyle::Solid};
            c.brush = Brush{cp.atLimit ? LIMIT_MARK : colors::white, BrushStyle::Solid};
            c.ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
        }
    }
    c.brush = Brush{colors::white, BrushStyle::Clear};
    c.pen = Pen{};
    if (s.at == StateAt::Capacity) {
        const std::string limitNote =
            codeMarks(m, s).applies
                ? std::string(
                      "green: control points at their concrete's ultimate strain "
                      "(code limits)")
                : Format("green: control points at the control strain %0.3F", {EPS_LIMIT});
        c.textOut(secLeft, H - 108, limitNote);
    }
    drawLegend(c, secLeft, H - 50, secW, scale);
    drawStrainProfile(c, m, s, W * 62 / 100 + 10, secTop, W - (W * 62 / 100 + 10) - 20, secH);
}

}  // namespace qav
