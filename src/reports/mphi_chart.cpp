#include "reports/mphi_chart.h"

#include <algorithm>
#include <cmath>

#include "model/design_code.h"
#include "model/number_text.h"
#include "reports/chart_frame.h"
#include "reports/chart_plot.h"

namespace qav {

std::string mphiConcreteNote(const SectionModel& m) {
    if (m.document.NCONC_PT == 0) return {};
    return designCode(sectionCode(m)).mphiConcreteNote;
}

void GEN_M_fai_CURVE_IMAGE(Canvas& c, const SectionModel& m, int W, int H, int NSTEP, double SANG) {
    c.font.name = "Courier New";
    c.font.size = 8;
    c.pen = Pen{};
    c.brush = Brush{colors::white, BrushStyle::Solid};
    const int last = std::min<int>(
        NSTEP, static_cast<int>(std::min(m.results.MPHI_M.size(), m.results.MPHI_PHI.size())) - 1);
    auto M = [&](int i) { return m.results.MPHI_M[static_cast<std::size_t>(i)]; };
    auto PHI = [&](int i) { return m.results.MPHI_PHI[static_cast<std::size_t>(i)]; };
    double Mmax = 0, PHImax = 0;
    bool numbers = true;
    for (int i = 1; i <= last; ++i) {
        numbers = numbers && std::isfinite(M(i)) && std::isfinite(PHI(i));
        if (i == 1 || M(i) > Mmax) Mmax = M(i);
        if (i == 1 || PHI(i) > PHImax) PHImax = PHI(i);
    }
    const double ymax = std::ceil(Mmax / 200) * 200;
    Plot p{ChartFrame{0, 0, W, H, 1}};
    p.setScales(0, PHImax, 0, ymax);
    const std::string title = "M-Phi Curve";
    // Extremes so near zero or so large that a grid step overflows give no scale to draw with.
    const bool scalable = std::isfinite(p.DX * p.SX) && std::isfinite(p.DY * p.SY);
    if (last < 1 || !numbers || !(PHImax > 0) || !(ymax > 0) || !scalable) {
        const char* note = last < 1        ? "No M-Phi curve to draw: run the M-Phi analysis."
                           : !numbers      ? "No M-Phi curve to draw: the curve holds no numbers."
                           : !(PHImax > 0) ? "No M-Phi curve to draw: the curvatures are all zero."
                           : !(ymax > 0)
                               ? "No M-Phi curve to draw: the moments are all zero."
                               : "No M-Phi curve to draw: the curve cannot be scaled to the chart.";
        drawEmptyChart(c, 0, 0, W, H, 10, 10, title, note);
        return;
    }
    c.rectangle(0, 0, W, H);

    c.brush.style = BrushStyle::Clear;
    c.textOut(10, 10, title);
    if (const std::string note = mphiConcreteNote(m); !note.empty())
        c.textOut(10, 12 + c.textHeight(title), note);
    const std::string xTitle = "Curvature[1/m]";
    c.textOut(Round(W / 2.0) - half(c.textWidth(xTitle)),
              Round(H - 80.0) + c.textHeight(xTitle) + 5, xTitle);
    const std::string angle = "Moment angle = " + AngleText(SANG);
    c.textOut(W - 80 - c.textWidth(angle), 80 - c.textHeight(angle) - 5, angle);
    const std::string yTitle = "Moment[kNm]";
    DRAW_ROTATED_TEXT(c, yTitle, 80 - c.textHeight(yTitle) - 40,
                      Round(H / 2.0) + half(c.textWidth(yTitle)), 90, 8);

    // Every second vertical line, labels in exponent form; the moment labels at the left edge.
    drawGrid(c, p, GridStyle{5, 5, "%0.0F", 5, 2, "%0.3e", 0});
    c.pen.width = 2;
    drawCurve(c, p, m.results.MPHI_PHI, m.results.MPHI_M, 0, last);
    c.pen.width = 1;
    markUnconverged(c, p, m.results.MPHI_PHI, m.results.MPHI_M, m.results.MPHI_CONVERGED, 0, last);
}

}  // namespace qav
