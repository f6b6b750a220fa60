#include "view/view_mapping.h"

#include <cmath>

#include "model/number_text.h"

namespace qav {

namespace {
std::optional<Point> toPoint(double X, double Y) {
    if (!FitsInt(X) || !FitsInt(Y)) return std::nullopt;
    return Point{Round(X), Round(Y)};
}
}  // namespace

bool usableScale(const SectionModel& m) {
    return std::isfinite(m.VIEW_SCALE) && m.VIEW_SCALE != 0;
}

std::optional<Point> modelToWindow(const SectionModel& m, double x, double y, double RX,
                                   double RY) {
    return toPoint(m.W / 2.0 + (x - RX - m.VIEW_DX) * m.VIEW_SCALE,
                   m.H / 2.0 - (y - RY - m.VIEW_DY) * m.VIEW_SCALE);
}

std::optional<Point> viewToWindow(const SectionModel& m, double x, double y) {
    return modelToWindow(m, x, y, m.VIEW_CX, m.VIEW_CY);
}

std::optional<Point> fibreToWindow(const SectionModel& m, double x, double y) {
    return modelToWindow(m, x, y, 0, 0);
}

std::optional<int> lengthToPixels(const SectionModel& m, double r) {
    const double px = r * m.VIEW_SCALE;
    if (!FitsInt(px)) return std::nullopt;
    return Round(px);
}

TPOS steelReference(const SectionModel& m) {
    if (m.NCONC_PT != 0) return {m.CONC_CX, m.CONC_CY};
    return {m.STEEL_CX, m.STEEL_CY};
}

std::optional<TPOS> windowToView(const SectionModel& m, int X, int Y) {
    if (!usableScale(m)) return std::nullopt;
    const double x = (X - m.W / 2.0) / m.VIEW_SCALE + m.VIEW_CX + m.VIEW_DX;
    const double y = (m.H / 2.0 - Y) / m.VIEW_SCALE + m.VIEW_CY + m.VIEW_DY;
    if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    return TPOS{x, y};
}

}  // namespace qav
