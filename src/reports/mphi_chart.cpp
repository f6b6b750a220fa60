#include "reports/mphi_chart.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"
#include "reports/chart_frame.h"

namespace qav {

void GEN_M_fai_CURVE_IMAGE(Canvas& c, const SectionModel& m, int W, int H, int NSTEP, double SANG) {
    c.font.name = "Courier New";
    c.font.size = 8;
    c.pen = Pen{};
    c.brush = Brush{colors::white, BrushStyle::Solid};
    const int last = std::min<int>(NSTEP, static_cast<int>(std::min(m.MPHI_M.size(), m.MPHI_PHI.size())) - 1);
    auto M = [&](int i) { return m.MPHI_M[static_cast<std::size_t>(i)]; };
    auto PHI = [&](int i) { return m.MPHI_PHI[static_cast<std::size_t>(i)]; };
    double Mmax = 0, PHImax = 0;
    bool numbers = true;
    for (int i = 1; i <= last; ++i) {
        numbers = numbers && std::isfinite(M(i)) && std::isfinite(PHI(i));
        if (i == 1 || M(i) > Mmax) Mmax = M(i);
        if (i == 1 || PHI(i) > PHImax) PHImax = PHI(i);
    }
    const double ymax = std::ceil(Mmax / 200) * 200;
    const double sx = (W - 160) / PHImax, sy = (H - 160) / ymax;
    const double dx = PHImax / 8, dy = ymax / 8;
    const std::string title = "M-Phi Curve";
    // Extremes so near zero or so large that a grid step overflows give no scale to draw with.
    const bool scalable = std::isfinite(dx * sx) && std::isfinite(dy * sy);
    if (last < 1 || !numbers || !(PHImax > 0) || !(ymax > 0) || !scalable) {
        const char* note = last < 1        ? "No M-Phi curve to draw: run the M-Phi analysis."
                           : !numbers      ? "No M-Phi curve to draw: the curve holds no numbers."
                           : !(PHImax > 0) ? "No M-Phi curve to draw: the curvatures are all zero."
                           : !(ymax > 0)   ? "No M-Phi curve to draw: the moments are all zero."
                                           : "No M-Phi curve to draw: the curve cannot be scaled to the chart.";
        drawEmptyChart(c, 0, 0, W, H, 10, 10, title, note);
        return;
    }
    c.rectangle(0, 0, W, H);

    c.brush.style = BrushStyle::Clear;
    c.textOut(10, 10, title);
    const std::string xTitle = "Curvature[1/m]";
    c.textOut(Round(W / 2.0) - half(c.textWidth(xTitle)), Round(H - 80.0) + c.textHeight(xTitle) + 5, xTitle);
    const std::string angle = Format("Moment angle = %0.0F", {SANG});
    c.textOut(W - 80 - c.textWidth(angle), 80 - c.textHeight(angle) - 5, angle);
    const std::string yTitle = "Moment[kNm]";
    DRAW_ROTATED_TEXT(c, yTitle, 80 - c.textHeight(yTitle) - 40, Round(H / 2.0) + half(c.textWidth(yTitle)), 90, 8);

    c.pen = Pen{colors::grey, 1, PenStyle::Dot};
    c.brush = Brush{colors::white, BrushStyle::Solid};
    for (int k = 0; k <= 4; ++k) {
        const int x = Round(k * 2 * dx * sx + 80);
        c.line(x, 80, x, H - 80);
        const std::string label = Format("%0.3e", {k * 2 * dx});
        c.textOut(x - half(c.textWidth(label)), H - 80 + 5, label);
    }
    for (int k = 0; k <= 8; ++k) {
        const int y = Round(H - 80 - k * dy * sy);
        c.line(80, y, W - 80, y);
        const std::string label = Format("%0.0F", {k * dy});
        c.textOut(75 - c.textWidth(label), y - half(c.textHeight(label)), label);
    }
    c.pen.color = colors::blue;
    for (int k = 0; k <= 40; ++k) {
        const int y = Round(H - 80 - k / 5.0 * dy * sy);
        c.line(80, y, 75, y);
    }
    for (int k = 0; k <= 40; ++k) {
        const int x = Round(80 + k / 5.0 * dx * sx);
        c.line(x, H - 80, x, H - 75);
    }
    c.pen = Pen{colors::black, 1, PenStyle::Solid};
    c.line(80, 80, 80, H - 80);
    c.line(80, H - 80, W - 80, H - 80);

    c.pen = Pen{colors::red, 2, PenStyle::Solid};
    bool drawing = false;
    for (int i = 0; i <= last; ++i) {
        int x = 0, y = 0;
        if (!deviceCoord(80 + PHI(i) * sx, x) || !deviceCoord(H - 80 - M(i) * sy, y)) {
            drawing = false;
            continue;
        }
        if (drawing) c.lineTo(x, y);
        else c.moveTo(x, y);
        drawing = true;
    }
    c.pen.width = 1;
}

}  // namespace qav
