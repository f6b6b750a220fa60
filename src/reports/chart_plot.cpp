#include "reports/chart_plot.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/number_text.h"
#include "model/section_model.h"

namespace qav {

void addToRanges(Range& xr, Range& yr, const std::vector<double>& xs, const std::vector<double>& ys,
                 int first, int last) {
    if (!holdsPoints(xs, ys, last)) return;
    for (int i = first; i <= last; ++i) {
        xr.add(xs[static_cast<std::size_t>(i)]);
        yr.add(ys[static_cast<std::size_t>(i)]);
    }
}

AxisSpan roundSpan(double lo, double hi) {
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo)) return {lo, hi};
    lo = std::min(lo, 0.0);
    hi = std::max(hi, 0.0);
    // Up the round sizes from a decade below the step that would just do.
    for (double e = std::floor(std::log10((hi - lo) / 8)) - 1; e <= 308; ++e)
        for (const double k : {1.0, 1.25, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0}) {
            const double s = k * std::pow(10.0, e);
            if (s < 1 || s != std::round(s)) continue;  // whole labels only
            double a = std::floor(lo / s), b = std::ceil(hi / s);
            if (b - a > 8) continue;
            // The spare steps either side of the range, never across 0.
            const double spare = 8 - (b - a);
            a -= a >= 0 ? 0 : b <= 0 ? spare : std::floor(spare / 2);
            b = a + 8;
            return {a * s, b * s};
        }
    return {lo, hi};
}

double roundHalfSpan(double absMax) {
    if (!std::isfinite(absMax) || !(absMax > 0)) return absMax;
    return roundSpan(-absMax, absMax).hi;
}

void setPmScales(Plot& p, const Range& M, const Range& P) {
    const double half = roundHalfSpan(M.absMax());
    const AxisSpan axial = roundSpan(P.lo, P.hi);
    p.setScales(-half, half, axial.lo, axial.hi);
}

GridStyle pmGridStyle(const ChartFrame& f, int G) {
    const int K = f.K;
    GridStyle s{5 * K, 5 * K, "%0.0F", 5 * K};
    s.labelsFrom = f.X0 + G - 18 * K;
    return s;
}

bool Plot::map(double mValue, double pValue, Point& out) const {
    int x = 0, y = 0;
    if (!deviceCoord(G + (mValue - XMIN) * SX, x) ||
        !deviceCoord(f.H - G - (pValue - YMIN) * SY, y))
        return false;
    out = {f.X0 + x, f.Y0 + y};
    return true;
}

void drawGrid(Canvas& c, const Plot& p, const GridStyle& s) {
    c.pen = Pen{colors::grey, 1, PenStyle::Dot};
    c.brush = Brush{colors::white, BrushStyle::Solid};
    const int yAxis = p.yAxis();
    // The boxes of the labels along the horizontal axis: a label of the vertical one that would
    // cover one of them (next to the origin) is left out, its grid line drawn all the same.
    struct Box {
        int x0, y0, x1, y1;
    };
    std::vector<Box> xLabels;
    for (int i = 0; i <= 8; i += s.xEvery) {
        const std::string label = Format(s.xFormat, {p.XMIN + i * p.DX});
        const int left = std::max(p.xGrid(i) - half(c.textWidth(label)), s.labelsFrom);
        const int top = yAxis + s.labelGap;
        xLabels.push_back({left, top, left + c.textWidth(label), top + c.textHeight(label)});
    }
    const int space = c.textWidth("0");
    bool crowded = false;
    for (std::size_t k = 1; k < xLabels.size(); ++k)
        crowded = crowded || xLabels[k].x0 - xLabels[k - 1].x1 < space;
    // The labels kept when crowded: those whose grid step has the parity of 0's.
    const int zeroParity = std::fmod(std::fabs(std::round(-p.XMIN / p.DX)), 2.0) == 0 ? 0 : 1;
    for (int i = 0; i <= 8; i += s.xEvery) {
        const int x = p.xGrid(i);
        c.line(x, p.f.Y0 + p.G, x, p.f.Y0 + p.f.H - p.G);
        Box& b = xLabels[static_cast<std::size_t>(i / s.xEvery)];
        if (crowded && i % 2 != zeroParity) {
            b = Box{0, 0, 0, 0};
            continue;
        }
        c.textOut(b.x0, b.y0, Format(s.xFormat, {p.XMIN + i * p.DX}));
    }
    const int labelRight = Round(p.f.X0 + p.G + s.labelColumn * p.DX * p.SX);
    for (int i = 0; i <= 8; ++i) {
        const int y = p.yGrid(i);
        c.line(p.f.X0 + p.G, y, p.f.X0 + p.f.W - p.G, y);
        const std::string label = Format(s.axialFormat, {p.YMIN + i * p.DY});
        const Box b{labelRight - c.textWidth(label) - s.axialLabelGap,
                    y - half(c.textHeight(label)), labelRight - s.axialLabelGap,
                    y - half(c.textHeight(label)) + c.textHeight(label)};
        const bool covers = std::any_of(xLabels.begin(), xLabels.end(), [&](const Box& o) {
            return b.x0 < o.x1 && o.x0 < b.x1 && b.y0 < o.y1 && o.y0 < b.y1;
        });
        if (!covers) c.textOut(b.x0, b.y0, label);
    }
    // Minor ticks, five per grid step, left of the M = 0 axis and below the P = 0 axis.
    c.pen.color = colors::blue;
    const int xAxis = Round(p.f.X0 + p.G + (0 - p.XMIN) * p.SX);
    for (int i = 0; i <= 40; ++i) {
        const int y = Round(p.f.Y0 + p.f.H - p.G - (i / 5.0) * p.DY * p.SY);
        c.line(xAxis, y, xAxis - s.tick, y);
    }
    for (int i = 0; i <= 40; ++i) {
        const int x = Round(p.f.X0 + p.G + (i / 5.0) * p.DX * p.SX);
        c.line(x, yAxis, x, yAxis + s.tick);
    }
    c.pen = Pen{colors::black, 1, PenStyle::Solid};
    const int x0 = p.xAxis();
    c.line(x0, p.f.Y0 + p.G, x0, p.f.Y0 + p.f.H - p.G);
    c.line(p.f.X0 + p.G, yAxis, p.f.X0 + p.f.W - p.G, yAxis);
}

void drawCurve(Canvas& c, const Plot& p, const std::vector<double>& xs,
               const std::vector<double>& ys, int first, int last) {
    c.pen.color = colors::red;
    drawPolyline(c, p, xs, ys, first, last);
}

namespace {
// Calls each(pt, joined) for the points first .. last of (xs, ys) the plot can map: joined is
// false where the line starts afresh (at its first point and after a point it cannot map).
template <class Each>
void forMappedPoints(const Plot& p, const std::vector<double>& xs, const std::vector<double>& ys,
                     int first, int last, Each each) {
    bool joined = false;
    for (int i = first; i <= last; ++i) {
        Point pt;
        if (!p.map(xs[static_cast<std::size_t>(i)], ys[static_cast<std::size_t>(i)], pt)) {
            joined = false;
            continue;
        }
        each(pt, joined);
        joined = true;
    }
}
}  // namespace

void drawPolyline(Canvas& c, const Plot& p, const std::vector<double>& xs,
                  const std::vector<double>& ys, int first, int last) {
    forMappedPoints(p, xs, ys, first, last, [&](Point pt, bool joined) {
        if (joined)
            c.lineTo(pt.x, pt.y);
        else
            c.moveTo(pt.x, pt.y);
    });
}

namespace {
// Dashes drawn as short solid lines, their lengths in the chart's own unit: a pen's dash
// pattern is counted in pen widths, and a printed chart's hairline would make its dashes too
// fine to tell from a solid line.
class Dashes {
public:
    Dashes(Canvas& c, int unit) : c_(c), on_(6.0 * unit), off_(4.0 * unit) {}
    // The stroke from (x0, y0) to (x1, y1), its dashes going on from the last stroke's.
    void stroke(double x0, double y0, double x1, double y1) {
        const double length = std::hypot(x1 - x0, y1 - y0);
        double done = 0;
        while (done < length) {
            const double step = std::min(length - done, (drawing_ ? on_ : off_) - phase_);
            if (drawing_ && length > 0) {
                const double t0 = done / length, t1 = (done + step) / length;
                c_.line(Round(x0 + t0 * (x1 - x0)), Round(y0 + t0 * (y1 - y0)),
                        Round(x0 + t1 * (x1 - x0)), Round(y0 + t1 * (y1 - y0)));
            }
            done += step;
            phase_ += step;
            if (phase_ >= (drawing_ ? on_ : off_)) {
                phase_ = 0;
                drawing_ = !drawing_;
            }
        }
    }

private:
    Canvas& c_;
    double on_, off_;
    double phase_ = 0;
    bool drawing_ = true;
};
}  // namespace

void drawNominalCurve(Canvas& c, const Plot& p, const std::vector<double>& xs,
                      const std::vector<double>& ys, int first, int last) {
    if (!holdsPoints(xs, ys, last)) return;
    const Pen pen = c.pen;
    c.pen.color = colors::red;
    Dashes dashes(c, p.f.K);
    Point prev;
    forMappedPoints(p, xs, ys, first, last, [&](Point pt, bool joined) {
        if (joined) dashes.stroke(prev.x, prev.y, pt.x, pt.y);
        prev = pt;
    });
    c.pen = pen;
}

void drawDesignNominalLegend(Canvas& c, const Plot& p, int lineAbovePlot) {
    const int K = p.f.K;
    const Pen pen = c.pen;
    const Brush brush = c.brush;
    const Font font = c.font;
    c.brush.style = BrushStyle::Clear;
    useLegendSize(c, p.f);
    const char* const texts[] = {"design strength (phi)", "nominal strength"};
    const int sample = 30 * K, gap = 5 * K;
    int width = 0;
    for (const char* t : texts) width = std::max(width, c.textWidth(t));
    const int x = p.f.X0 + p.f.W - p.G - gap - width - gap - sample;
    // Above the plot: the curves fill the plot's corners.
    const int lines = c.textHeight(texts[0]) + c.textHeight(texts[1]) + 2 * K;
    int y = K > 1 ? lineAbovePlot - lines : p.f.Y0 + 10 * K;
    for (int k = 0; k < 2; ++k) {
        const int h = c.textHeight(texts[k]);
        c.pen = Pen{colors::red, 1, PenStyle::Solid};
        if (k == 0)
            c.line(x, y + h / 2, x + sample, y + h / 2);
        else
            Dashes(c, K).stroke(x, y + h / 2, x + sample, y + h / 2);
        c.textOut(x + sample + gap, y, texts[k]);
        y += h + K;
    }
    c.pen = pen;
    c.brush = brush;
    c.font = font;
}

void markUnconverged(Canvas& c, const Plot& p, const std::vector<double>& xs,
                     const std::vector<double>& ys, const std::vector<uint8_t>& converged,
                     int first, int last) {
    if (last < first || !anyUnconverged(converged, static_cast<std::size_t>(last))) return;
    const Pen pen = c.pen;
    const Brush brush = c.brush;
    const int R = 3 * p.f.K;
    c.pen = Pen{colors::red, 1, PenStyle::Solid};
    c.brush.style = BrushStyle::Clear;
    for (int i = first; i <= last; ++i) {
        const auto u = static_cast<std::size_t>(i);
        Point pt;
        if (pointConverged(converged, u) || u >= xs.size() || u >= ys.size() ||
            !p.map(xs[u], ys[u], pt))
            continue;
        c.ellipse(pt.x - R, pt.y - R, pt.x + R, pt.y + R);
    }
    c.pen = pen;
    c.brush = brush;
}

}  // namespace qav
