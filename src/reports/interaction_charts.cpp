#include "reports/interaction_charts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "analysis/fibre_arrays.h"
#include "model/design_code.h"
#include "model/number_text.h"
#include "model/tables.h"
#include "reports/chart_plot.h"

namespace qav {

namespace {

constexpr int PRINT_K = 7;

void drawLoadCircle(Canvas& c, const Plot& p, double mValue, double pValue, int R) {
    Point pt;
    if (p.map(mValue, pValue, pt)) c.ellipse(pt.x - R, pt.y - R, pt.x + R, pt.y + R);
}

void drawLoadCross(Canvas& c, const Plot& p, double mValue, double pValue, int R) {
    Point pt;
    if (!p.map(mValue, pValue, pt)) return;
    c.line(pt.x - R, pt.y - R, pt.x + R + 1, pt.y + R + 1);
    c.line(pt.x - R, pt.y + R, pt.x + R + 1, pt.y - R - 1);
}

// The curve's ranges widened by the loads the chart marks, so that each is drawn inside the
// plot; a load more than ten times the curve's extent away widens nothing (the curve would
// shrink to a dot) and is left out of the chart.
constexpr double LOAD_REACH = 10;
template <class Place>
void addLoadsToRanges(Range& xr, Range& yr, const SectionModel& m, const SectionResults& r,
                      LoadMarks marks, Place place) {
    const double xReach = LOAD_REACH * xr.absMax(), yReach = LOAD_REACH * yr.absMax();
    auto add = [&](const TFORCE& load) {
        const auto [mv, pv] = place(load);
        if (!(std::fabs(mv) <= xReach && std::fabs(pv) <= yReach)) return;
        xr.add(mv);
        yr.add(pv);
    };
    if (marks.all)
        for (const TFORCE& load : rows(m.document.FORCE, m.document.NFORCE)) add(load);
    if (marks.critical && hasCriticalComb(m))
        add(m.document.FORCE[static_cast<std::size_t>(r.CRITICAL_COMB)]);
}

// All combinations in grey (red where the check found a load fraction below 1), then the
// critical one in blue. A load that does not belong to the chart's plane (another moment angle,
// another axial force) is drawn as a cross where its projection falls, never as a point of the
// plane, and a legend line at the bottom says what the marks mean. A critical combination that
// no check has found is not drawn (entry 0 is no combination); the chart says so instead.
// Returns the legend's top and right edge (the frame's bottom and left edge for no legend).
struct LegendBox {
    int top, right;
};
template <class Place, class Belongs>
LegendBox drawLoads(Canvas& c, const Plot& p, const SectionModel& m, const SectionResults& r,
                    LoadMarks marks, Place place, Belongs belongs, const char* outsideLegend) {
    const int R = 4 * p.f.K;
    c.brush.style = BrushStyle::Clear;
    bool anyOutside = false, anyBelow = false;
    int beyond = 0;
    auto draw = [&](const TFORCE& load, Color color) {
        const auto [mv, pv] = place(load);
        if (!(mv >= p.XMIN && mv <= p.XMAX && pv >= p.YMIN && pv <= p.YMAX)) {
            ++beyond;
            return false;
        }
        c.pen = Pen{color, 1, PenStyle::Solid};
        if (belongs(load)) {
            drawLoadCircle(c, p, mv, pv, R);
        } else {
            anyOutside = true;
            drawLoadCross(c, p, mv, pv, R);
        }
        return true;
    };
    if (marks.all)
        for (const TFORCE& load : rows(m.document.FORCE, m.document.NFORCE)) {
            const bool below = isChecked(load) && load.LOAD_FRACTION < 1;
            if (draw(load, below ? colors::red : colors::grey) && below) anyBelow = true;
        }
    std::vector<std::string> legend;
    if (marks.critical) {
        if (hasCriticalComb(m))
            draw(m.document.FORCE[static_cast<std::size_t>(r.CRITICAL_COMB)], colors::blue);
        else
            legend.push_back(NO_CRITICAL_NOTE);
    }
    if (anyOutside) legend.push_back(outsideLegend);
    if (anyBelow) legend.push_back("red  load fraction below 1: not carried");
    if (beyond > 0)
        legend.push_back(Format("%D %s beyond ten times the curve: not drawn",
                                {beyond, std::string(beyond == 1 ? "load" : "loads")}));
    c.pen = Pen{colors::black, 1, PenStyle::Solid};
    const Font font = c.font;
    useLegendSize(c, p.f);
    const int x = p.f.X0 + 10 * p.f.K;
    LegendBox box{legend.empty() ? p.f.Y0 + p.f.H : p.f.Y0 + p.f.H - 10 * p.f.K, p.f.X0};
    for (auto it = legend.rbegin(); it != legend.rend(); ++it) {
        box.top -= c.textHeight(*it);
        c.textOut(x, box.top, *it);
        box.right = std::max(box.right, x + c.textWidth(*it));
    }
    c.brush.style = BrushStyle::Solid;
    c.font = font;
    return box;
}

// The horizontal axis' title, centred one line below the plot; where the loads' legend beneath
// would meet it (the margin of a printed chart holds one line below the title), it stands right
// of the legend, or above it where the frame is too narrow for that.
void drawAxisTitle(Canvas& c, const ChartFrame& f, int G, const std::string& title,
                   LegendBox legend) {
    const int w = c.textWidth(title), h = c.textHeight(title);
    int x = f.X0 + Round(f.W / 2.0) - half(w);
    int y = f.Y0 + (f.H - G) + h;
    if (legend.right > x && y + h > legend.top) {
        if (legend.right + 5 * f.K + w <= f.X0 + f.W - 10 * f.K)
            x = legend.right + 5 * f.K;
        else
            y = legend.top - f.K - h;
    }
    c.textOut(x, y, title);
}

// Small filled squares with their labels beside, and the legend under the title.
void drawMarkers(Canvas& c, const Plot& p, const ChartMarkers& markers) {
    const int K = p.f.K, r = 3 * K;
    c.pen = Pen{colors::black, 1, PenStyle::Solid};
    for (const ChartMarker& mk : markers.points) {
        Point pt;
        if (!p.map(mk.m, mk.p, pt)) continue;
        c.brush = Brush{colors::green, BrushStyle::Solid};
        c.rectangle(pt.x - r, pt.y - r, pt.x + r + 1, pt.y + r + 1);
        c.brush.style = BrushStyle::Clear;
        c.textOut(pt.x + r + 2 * K, pt.y - r - c.textHeight(mk.label) / 2, mk.label);
    }
    c.brush.style = BrushStyle::Clear;
    // The third line from the top: the design and nominal legend takes two lines at the right.
    const int h = c.textHeight(markers.legend);
    c.textOut(p.f.X0 + 10 * K, p.f.Y0 + 12 * K + 2 * (h + K), markers.legend);
    c.brush.style = BrushStyle::Solid;
}

// The number of the last stored curve point, -1 when a table is missing.
int lastIndex(const std::vector<double>& a, const std::vector<double>& b) {
    return static_cast<int>(std::min(a.size(), b.size())) - 1;
}

// Under ACI 318-19 the stored curve is the design strength and the nominal one lies beside it:
// drawn dashed (and held in the scales) when its tables reach as far as the design curve's.
bool drawsNominal(const SectionModel& m, const std::vector<double>& xs,
                  const std::vector<double>& ys, int last) {
    return codeReducesStrength(sectionCode(m)) && holdsPoints(xs, ys, last);
}

}  // namespace

std::string pmChartTitle(int designCode) {
    return "P-M Curve [" + designCodeName(designCode) + "]";
}
std::string mmChartTitle(int designCode) {
    return "Myy-Mxx Curve [" + designCodeName(designCode) + "]";
}
namespace {
// The code's name and the ultimate limit the curve was computed at.
std::string chartCodeTag(const SectionModel& m) {
    return std::string("[") + codeName(sectionCode(m)) + ", " +
           strainLimitCaption(strainLimitInForce(m)) + "]";
}
}  // namespace
std::string pmChartTitle(const SectionModel& m) {
    return "P-M Curve " + chartCodeTag(m);
}
std::string mmChartTitle(const SectionModel& m) {
    return "Myy-Mxx Curve " + chartCodeTag(m);
}

void GEN_PM_CURVE_IMAGE(Canvas& c, const SectionModel& m, const SectionResults& r,
                        const ChartFrame& f, double SANG, LoadMarks marks,
                        const ChartMarkers& markers) {
    const int K = f.K;
    c.font.name = "Courier New";
    c.font.size = 8;
    c.pen = Pen{};
    c.brush = Brush{colors::white, BrushStyle::Solid};
    const int last = lastIndex(r.PM_P, r.PM_M);
    const double rad = std::numbers::pi / 180.0;
    // A load's point: its moment projected on the chart's angle, its compression up.
    auto place = [&](const TFORCE& F) {
        const double M0 = std::sqrt(F.MX * F.MX + F.MY * F.MY);
        const double mv = M0 == 0 ? 0.0
                                  : (F.MX / M0) * std::cos((90 - SANG) * rad) * M0 +
                                        (F.MY / M0) * std::sin((90 - SANG) * rad) * M0;
        return std::pair{mv, -F.P};
    };
    Range P, M;
    const bool nominal = drawsNominal(m, r.PM_NOM_M, r.PM_NOM_P, last);
    addToRanges(M, P, r.PM_M, r.PM_P, 1, last);
    if (nominal) addToRanges(M, P, r.PM_NOM_M, r.PM_NOM_P, 1, last);
    Plot p{f};
    setPmScales(p, M, P);
    const std::string title = pmChartTitle(m);
    if (!P.any || !M.any || !p.usable()) {
        const char* note = last < 1           ? "No P-M curve to draw: run the P-M analysis."
                           : !P.any || !M.any ? "No P-M curve to draw: the curve holds no numbers."
                           : !p.spanFinite()
                               ? "No P-M curve to draw: the curve is too large to plot."
                           : p.XMAX == 0 ? "No P-M curve to draw: all moments are zero."
                                         : "No P-M curve to draw: the axial forces span no range.";
        drawEmptyChart(c, f.X0, f.Y0, f.W, f.H, f.X0 + 10 * K, f.Y0 + 10 * K, title, note);
        return;
    }
    addLoadsToRanges(M, P, m, r, marks, place);
    setPmScales(p, M, P);
    c.rectangle(f.X0, f.Y0, f.X0 + f.W, f.Y0 + f.H);
    const int G = p.G;

    c.font.size = 8;
    c.brush.style = BrushStyle::Clear;
    c.textOut(f.X0 + 10 * K, f.Y0 + 10 * K, title);
    const std::string angle = "Moment angle = " + AngleText(SANG);
    const int angleTop = f.Y0 + G - c.textHeight(angle) - 5 * K;
    c.textOut(f.X0 + (f.W - G) - c.textWidth(angle), angleTop, angle);
    const std::string yTitle = "Axial Force[kN]";
    DRAW_ROTATED_TEXT(c, yTitle, f.X0 + G - c.textHeight(yTitle) - 20 * K,
                      f.Y0 + Round(f.H / 2.0) + half(c.textWidth(yTitle)), 90, 8);

    drawGrid(c, p, pmGridStyle(f, G));
    drawCurve(c, p, r.PM_M, r.PM_P, 1, last);
    if (nominal) {
        drawNominalCurve(c, p, r.PM_NOM_M, r.PM_NOM_P, 1, last);
        drawDesignNominalLegend(c, p, angleTop);
    }
    markUnconverged(c, p, r.PM_M, r.PM_P, r.PM_CONVERGED, 1, last);

    // A load belongs to the chart when its moment lies within 5 degrees of the chart's angle or
    // of the opposite one (the curve's other branch); a load without a moment belongs to every
    // angle.
    auto belongs = [&](const TFORCE& F) {
        if (F.MX == 0 && F.MY == 0) return true;
        const double loadAngle = std::atan2(F.MX, F.MY) / rad;
        const double off = std::remainder(loadAngle - SANG, 180.0);
        return std::fabs(off) <= PM_LOAD_BAND;
    };
    const LegendBox legend = drawLoads(c, p, m, r, marks, place, belongs,
                                       "x  other moment angle (beyond 5 degrees): its projection");
    drawAxisTitle(c, f, G, "Moment[kNm]", legend);
    if (!markers.points.empty()) drawMarkers(c, p, markers);
}

void GEN_MM_CURVE_IMAGE(Canvas& c, const SectionModel& m, const SectionResults& r,
                        const ChartFrame& f, double axialLoad, LoadMarks marks, bool printed) {
    c.pen = Pen{};
    c.brush = Brush{colors::white, BrushStyle::Solid};
    const int last = lastIndex(r.MM_MX, r.MM_MY);
    auto place = [](const TFORCE& F) { return std::pair{F.MX, F.MY}; };
    Range X, Y;
    const bool nominal = drawsNominal(m, r.MM_NOM_MX, r.MM_NOM_MY, last);
    addToRanges(X, Y, r.MM_MX, r.MM_MY, 0, last);
    if (nominal) addToRanges(X, Y, r.MM_NOM_MX, r.MM_NOM_MY, 0, last);
    Plot p{f};
    auto setScales = [&] {
        const double XMAX = roundHalfSpan(X.absMax()), YMAX = roundHalfSpan(Y.absMax());
        p.setScales(-XMAX, XMAX, -YMAX, YMAX);
    };
    setScales();
    const std::string title = mmChartTitle(m);
    c.font.size = 8;
    if (!X.any || !Y.any || !p.usable()) {
        const char* note =
            last < 0           ? "No Myy-Mxx curve to draw: run the Myy-Mxx analysis."
            : !X.any || !Y.any ? "No Myy-Mxx curve to draw: the curve holds no numbers."
            : !p.spanFinite()  ? "No Myy-Mxx curve to draw: the curve is too large to plot."
                               : "No Myy-Mxx curve to draw: all moments are zero.";
        drawEmptyChart(c, f.X0, f.Y0, f.W, f.H, f.X0 + 10, f.Y0 + 10, title, note);
        return;
    }
    addLoadsToRanges(X, Y, m, r, marks, place);
    setScales();
    c.rectangle(f.X0, f.Y0, f.X0 + f.W, f.Y0 + f.H);
    const int G = p.G;
    const int K = f.K;

    // The brush stays solid white: title and labels are written on white.
    c.textOut(f.X0 + 10, f.Y0 + 10, title);
    const std::string axial = Format("Axial Load = %0.2F kN", {axialLoad});
    const int axialTop = f.Y0 + G - c.textHeight(axial) - 5;
    c.textOut(f.X0 + (f.W - G) - c.textWidth(axial), axialTop, axial);
    const std::string yTitle = "Moment Mxx[kNm]";
    const int offset = printed ? 20 * K : 20;
    DRAW_ROTATED_TEXT(c, yTitle, f.X0 + G - c.textHeight(yTitle) - offset,
                      f.Y0 + Round(f.H / 2.0) + half(c.textWidth(yTitle)), 90, printed ? 8 : 8 * K);

    GridStyle grid{5, 0, "%0.0F  ", 5};
    grid.labelsFrom = f.X0 + G - offset + 2 * K;  // clear of the axis title
    drawGrid(c, p, grid);
    drawCurve(c, p, r.MM_MX, r.MM_MY, 0, last);
    if (nominal) {
        drawNominalCurve(c, p, r.MM_NOM_MX, r.MM_NOM_MY, 0, last);
        drawDesignNominalLegend(c, p, axialTop);
    }
    markUnconverged(c, p, r.MM_MX, r.MM_MY, r.MM_CONVERGED, 0, last);
    // A load belongs to the chart when its compression lies within 5 % of the chart's axial force
    // (at least 10 kN).
    auto belongs = [&](const TFORCE& F) {
        return std::fabs(-F.P - axialLoad) <=
               std::max(MM_LOAD_BAND * std::fabs(axialLoad), MM_LOAD_BAND_MIN);
    };
    const LegendBox legend = drawLoads(c, p, m, r, marks, place, belongs,
                                       "x  other axial force (beyond 5 %): its moments");
    c.brush.style = BrushStyle::Solid;
    drawAxisTitle(c, f, G, "Moment Myy[kNm]", legend);
}

void PRINT_PM_CURVE_IMAGE_PDF(Canvas& c, const SectionModel& m, const SectionResults& r, int SX,
                              int SY, int WX, int WY, double SANG, LoadMarks marks) {
    GEN_PM_CURVE_IMAGE(c, m, r, ChartFrame{SX, SY, WX, WY, PRINT_K}, SANG, marks);
}

void PRINT_MM_CURVE_IMAGE_PDF(Canvas& c, const SectionModel& m, const SectionResults& r, int SX,
                              int SY, int WX, int WY, double axialLoad, LoadMarks marks) {
    GEN_MM_CURVE_IMAGE(c, m, r, ChartFrame{SX, SY, WX, WY, PRINT_K}, axialLoad, marks, true);
}

}  // namespace qav
