#include "reports/chart_frame.h"

#include <cmath>

#include "model/number_text.h"
#include "model/section_model.h"

namespace qav {

namespace {
// Beyond this a point is off every page and every screen by far; QPainter's fixed-point
// arithmetic would not hold it either.
constexpr double COORD_LIMIT = 1e6;
}  // namespace

void DRAW_ROTATED_TEXT(Canvas& canvas, const std::string& text, int X, int Y, int angle, int size) {
    const Font saved = canvas.font;
    canvas.font.size = size;
    canvas.rotatedTextOut(X, Y, text, angle);
    canvas.font = saved;
}

bool deviceCoord(double v, int& out) {
    if (!std::isfinite(v) || std::fabs(v) > COORD_LIMIT) return false;
    out = Round(v);
    return true;
}

void drawEmptyChart(Canvas& canvas, int X0, int Y0, int W, int H, int titleX, int titleY,
                    const std::string& title, const std::string& note) {
    canvas.pen = Pen{};
    canvas.brush = Brush{colors::white, BrushStyle::Solid};
    canvas.rectangle(X0, Y0, X0 + W, Y0 + H);
    canvas.brush.style = BrushStyle::Clear;
    canvas.textOut(titleX, titleY, title);
    canvas.textOut(titleX, titleY + 2 * canvas.textHeight(title), note);
    canvas.brush.style = BrushStyle::Solid;
}

bool hasCriticalComb(const SectionModel& m) {
    return m.results.CRITICAL_COMB >= 1 && m.results.CRITICAL_COMB <= m.document.NFORCE &&
           static_cast<std::size_t>(m.results.CRITICAL_COMB) < m.document.FORCE.size();
}

}  // namespace qav
