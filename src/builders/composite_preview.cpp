#include "builders/composite_preview.h"

#include <algorithm>
#include <cmath>

#include "builders/bar_layouts.h"
#include "builders/shape_forms.h"
#include "model/number_text.h"

namespace qav {

namespace {

// Maps model lengths into the picture; refuses positions that are not pixels.
struct Mapping {
    int w, h;
    double S;
    bool point(double x, double y, int& px, int& py) const {
        const double fx = w / 2.0 + x * S, fy = h / 2.0 + y * S;
        if (!FitsInt(fx) || !FitsInt(fy)) return false;
        px = Round(fx);
        py = Round(fy);
        return true;
    }
    void rectangle(Canvas& c, double x1, double y1, double x2, double y2) const {
        int a, b, d, e;
        if (point(x1, y1, a, b) && point(x2, y2, d, e)) c.rectangle(a, b, d, e);
    }
    void circle(Canvas& c, double radius) const {
        int a, b, d, e;
        if (point(-radius, -radius, a, b) && point(radius, radius, d, e)) c.ellipse(a, b, d, e);
    }
};

int rebarKind(int type) {
    switch (type) {
        case 0:
        case 3:
        case 8:
            return 1;
        case 1:
        case 4:
        case 9:
            return 2;
        case 2:
        case 5:
            return 3;
        default:
            return 0;
    }
}

void drawI(Canvas& c, const Mapping& m, double W, double H, double F, double T) {
    m.rectangle(c, -W / 2, H / 2 - F, W / 2, H / 2);
    m.rectangle(c, -W / 2, -H / 2, W / 2, -H / 2 + F);
    m.rectangle(c, -T / 2, -H / 2 + F, T / 2, H / 2 - F);
}

// The second I-section lies on its side: depth along x, flanges upright at x = +-H/2.
void drawLyingI(Canvas& c, const Mapping& m, double W, double H, double F, double T) {
    m.rectangle(c, H / 2 - F, -W / 2, H / 2, W / 2);
    m.rectangle(c, -H / 2, -W / 2, -H / 2 + F, W / 2);
    m.rectangle(c, -H / 2 + F, -T / 2, H / 2 - F, T / 2);
}

}  // namespace

std::vector<TGBAR> GEN_RC_REBAR(int TY, const CompositeParams& p) {
    std::vector<TGBAR> out;
    const double B = p.SW, H = p.SH, c = p.c, s = p.s;
    // The preview follows the boxes as typed: a layout too large to build draws no bars.
    const double nx = barsOf({p.LX, p.NX, 0}), ny = barsOf({p.LY, p.NY, 0});
    if ((TY == 1 ? 2 * nx + 2 * ny + 4 : TY == 3 ? nx + ny : nx) > MAX_LAYOUT_BARS) return out;
    if (TY == 1) {
        for (int r = 1; r <= p.LX; ++r)
            for (int j = 1; j <= p.NX; ++j) {
                const double x = -B / 2 + c + j * (B - 2 * c) / (p.NX + 1);
                out.push_back({x, H / 2 - c - (r - 1) * s});
                out.push_back({x, -H / 2 + c + (r - 1) * s});
            }
        for (int r = 1; r <= p.LY; ++r)
            for (int j = 1; j <= p.NY; ++j) {
                out.push_back({-B / 2 + c + (r - 1) * s, H / 2 - c - j * (H - 2 * c) / (p.NY + 1)});
                out.push_back({B / 2 - c - (r - 1) * s, -H / 2 + c + j * (H - 2 * c) / (p.NY + 1)});
            }
        out.push_back({-B / 2 + c, -H / 2 + c});
        out.push_back({B / 2 - c, -H / 2 + c});
        out.push_back({B / 2 - c, H / 2 - c});
        out.push_back({-B / 2 + c, H / 2 - c});
    } else if (TY == 2) {
        for (int r = 1; r <= p.LX; ++r) {
            const double rho = H / 2 - c - (r - 1) * s;
            for (int j = 0; j < p.NX; ++j) {
                const double a = degToRad(j * 360.0 / p.NX);
                out.push_back({std::sin(a) * rho, std::cos(a) * rho});
            }
        }
    } else if (TY == 3) {
        for (int r = 1; r <= p.LX; ++r)
            for (int j = 1; j <= p.NX; ++j)
                out.push_back(
                    {-B / 2 + c + (j - 1) * (B - 2 * c) / (p.NX - 1), -H / 2 + c + (r - 1) * s});
        for (int r = 1; r <= p.LY; ++r)
            for (int j = 1; j <= p.NY; ++j)
                out.push_back(
                    {-B / 2 + c + (j - 1) * (B - 2 * c) / (p.NY - 1), H / 2 - c - (r - 1) * s});
    }
    return out;
}

void drawCompositePreview(Canvas& c, int w, int h, const CompositeParams& p) {
    // DRAW_BLANK
    c.brush = {colors::white, BrushStyle::Solid};
    c.pen = {colors::black, 1, PenStyle::Solid, PenMode::Copy};
    c.rectangle(0, 0, w, h);

    const int t = p.TYPE;
    const bool circle = t == 1 || t == 4 || t == 7 || t == 9;
    const double S = circle ? std::min(0.7 * h / p.SH, 0.7 * w / p.SH)
                            : std::min(0.7 * h / p.SH, 0.7 * w / p.SW);
    if (!std::isfinite(S)) return;
    const Mapping m{w, h, S};

    // DRAW_RC_SECTION
    c.pen = {colors::black, 2, PenStyle::Solid, PenMode::Copy};
    c.brush = {colors::white, BrushStyle::Solid};
    if (circle) {
        m.circle(c, p.SH / 2);
    } else {
        m.rectangle(c, -p.SW / 2, -p.SH / 2, p.SW / 2, p.SH / 2);
    }

    // DRAW_RC_REBAR
    if (const int ty = rebarKind(t); ty != 0) {
        c.pen = {colors::red, 1, PenStyle::Solid, PenMode::Copy};
        c.brush = {colors::red, BrushStyle::Solid};
        for (const TGBAR& b : GEN_RC_REBAR(ty, p)) {
            int x, y;
            if (m.point(b.PX, b.PY, x, y)) c.ellipse(x - 3, y - 3, x + 3, y + 3);
        }
    }

    // DRAW_STEEL_SEC
    c.pen = {colors::blue, 2, PenStyle::Solid, PenMode::Copy};
    c.brush = {colors::white, BrushStyle::Clear};
    switch (t) {
        case 3:
        case 4:
            drawI(c, m, p.W1, p.H1, p.F1, p.T1);
            drawLyingI(c, m, p.W2, p.H2, p.F2, p.T2);
            break;
        case 5:
            drawI(c, m, p.W1, p.H1, p.F1, p.T1);
            break;
        case 6:
            m.rectangle(c, -p.SW / 2, p.SH / 2 - p.F1, p.SW / 2, p.SH / 2);
            m.rectangle(c, -p.SW / 2, -p.SH / 2, p.SW / 2, -p.SH / 2 + p.F1);
            m.rectangle(c, -p.SW / 2, -p.SH / 2 + p.F1, -p.SW / 2 + p.T1, p.SH / 2 - p.F1);
            m.rectangle(c, p.SW / 2 - p.T1, -p.SH / 2 + p.F1, p.SW / 2, p.SH / 2 - p.F1);
            break;
        case 7:
            m.circle(c, p.SH / 2);
            m.circle(c, p.SH / 2 - p.F1);
            break;
        case 8:
        case 9:
            m.circle(c, p.W1 / 2);
            m.circle(c, p.W1 / 2 - p.F1);
            break;
        default:
            break;
    }
}

}  // namespace qav
