#pragma once
// The plot of a curve chart: scales from value ranges, the grid with its labels, ticks and axes,
// and the curve. The P-M, Myy-Mxx and M-Phi charts draw with it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "model/number_text.h"
#include "reports/chart_frame.h"

namespace qav {

// Smallest and largest of the finite values; a point that is not a number gives no range.
struct Range {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool any = false;
    void add(double v) {
        if (!std::isfinite(v)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        any = true;
    }
    double absMax() const { return std::max(std::fabs(lo), std::fabs(hi)); }
};

// Widens xr and yr by the points first .. last of the curve (xs, ys); nothing where the tables
// do not reach last.
void addToRanges(Range& xr, Range& yr, const std::vector<double>& xs, const std::vector<double>& ys,
                 int first, int last);

// The scales of one chart and the road from a value pair to the device.
struct Plot {
    ChartFrame f;
    double XMIN = 0, XMAX = 0, YMIN = 0, YMAX = 0;
    double SX = 0, SY = 0, DX = 0, DY = 0;
    int G = 0;

    void setScales(double xmin, double xmax, double ymin, double ymax) {
        XMIN = xmin;
        XMAX = xmax;
        YMIN = ymin;
        YMAX = ymax;
        G = f.G();
        SX = (f.W - 2.0 * G) / (XMAX - XMIN);
        SY = (f.H - 2.0 * G) / (YMAX - YMIN);
        DX = (XMAX - XMIN) / 8;
        DY = (YMAX - YMIN) / 8;
    }
    // Only scales built from finite, non-empty ranges draw a chart.
    bool usable() const {
        return std::isfinite(SX) && std::isfinite(SY) && XMAX > XMIN && YMAX > YMIN &&
               std::isfinite(XMAX) && std::isfinite(YMAX) && std::isfinite(XMIN) &&
               std::isfinite(YMIN) && spanFinite();
    }
    // Ends so far apart that their distance overflows leave no grid step to draw.
    bool spanFinite() const { return std::isfinite(DX) && std::isfinite(DY); }
    // The device point of a value pair; false when it cannot be drawn.
    bool map(double mValue, double pValue, Point& out) const;
    int xAxis() const { return f.X0 + Round(G + (0 - XMIN) * SX); }        // column of M = 0
    int yAxis() const { return Round(f.Y0 + f.H - G - (0 - YMIN) * SY); }  // row of P = 0
    int xGrid(double i) const { return Round(f.X0 + G + i * DX * SX); }
    int yGrid(double i) const { return Round(f.Y0 + f.H - G - i * DY * SY); }
};

// A chart axis from lo to hi in 8 grid steps of a round size: 1, 2, 3, 4, 5, 6 or 8 times a power
// of ten, or 125, 250 and their multiples by powers of ten (every label a whole number), the
// smallest whose grid holds the range with 0 on a grid line. The spare steps go to both sides,
// never across 0. Values that are not finite, or a range of no size, are returned as they are.
struct AxisSpan {
    double lo = 0, hi = 0;
};
AxisSpan roundSpan(double lo, double hi);
// The same, symmetric about 0 (four steps either side): the half span.
double roundHalfSpan(double absMax);

// How charts differ in their grid: the P-M chart scales its offsets by K, the Myy-Mxx chart
// keeps them fixed and pads its axial labels, the M-Phi chart draws every second vertical line
// with labels in exponent form and writes its vertical labels at the left edge.
struct GridStyle {
    int labelGap;       // horizontal-axis labels below the horizontal axis
    int axialLabelGap;  // vertical-axis labels left of their column
    const char* axialFormat;
    int tick;        // minor tick length
    int xEvery = 1;  // a vertical line every xEvery grid steps
    const char* xFormat = "%0.0F";
    int labelColumn = 4;  // grid step whose line the vertical-axis labels end at
    // The leftmost x a horizontal-axis label may start at (right of the rotated axis title): a
    // label that would start further left is moved right to it.
    int labelsFrom = std::numeric_limits<int>::min();
};

// The scales of a P-M chart: moments symmetric about 0, axial forces in round steps.
void setPmScales(Plot& p, const Range& M, const Range& P);
// The grid of a P-M chart: its offsets scaled by K, its labels clear of the rotated axis title.
GridStyle pmGridStyle(const ChartFrame& f, int G);

// Grid lines with their labels, minor ticks left of the vertical axis and below the horizontal
// one, then the two axes in black. Where labels of the horizontal axis would stand less than a
// character apart, only every second one is written (the one at 0 among them).
void drawGrid(Canvas& c, const Plot& p, const GridStyle& s);

// The points first .. last of (xs, ys) joined in order in the canvas's pen; a point that cannot
// be drawn breaks the line.
void drawPolyline(Canvas& c, const Plot& p, const std::vector<double>& xs,
                  const std::vector<double>& ys, int first, int last);
// The same curve in red.
void drawCurve(Canvas& c, const Plot& p, const std::vector<double>& xs,
               const std::vector<double>& ys, int first, int last);

// The nominal strength beside the design strength (ACI 318-19): the curve of (xs, ys) in red
// dashes, points first .. last; nothing when the tables do not reach last.
void drawNominalCurve(Canvas& c, const Plot& p, const std::vector<double>& xs,
                      const std::vector<double>& ys, int first, int last);
// Whether the result tables (xs, ys) hold points 0 .. last.
inline bool holdsPoints(const std::vector<double>& xs, const std::vector<double>& ys, int last) {
    return last >= 0 && xs.size() > static_cast<std::size_t>(last) &&
           ys.size() > static_cast<std::size_t>(last);
}
// The font size of a chart's legends: the chart's own on screen, 6 points on paper, whose
// margins hold fewer lines of the chart's 8 points.
inline void useLegendSize(Canvas& c, const ChartFrame& f) {
    if (f.K > 1) c.font.size = 6;
}

// The legend of a chart with design and nominal curves, above the plot's top right corner: on
// screen level with the title; on paper, whose margin holds no two more lines of the chart's
// font between the title and the line above the plot, in 6 points ending above that line (the
// top of that line's text is `lineAbovePlot`).
void drawDesignNominalLegend(Canvas& c, const Plot& p, int lineAbovePlot);

// A hollow circle in red over each point first .. last whose flag says it did not converge;
// nothing at all when every point converged.
void markUnconverged(Canvas& c, const Plot& p, const std::vector<double>& xs,
                     const std::vector<double>& ys, const std::vector<uint8_t>& converged,
                     int first, int last);

}  // namespace qav
