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
    return std::isfinite(m.view.VIEW_SCALE) && m.view.VIEW_SCALE != 0;
}

std::optional<Point> modelToWindow(const SectionModel& m, double x, double y, double RX,
                                   double RY) {
    return toPoint(m.view.W / 2.0 + (x - RX - m.view.VIEW_DX) * m.view.VIEW_SCALE,
                   m.view.H / 2.0 - (y - RY - m.view.VIEW_DY) * m.view.VIEW_SCALE);
}

std::optional<Point> viewToWindow(const SectionModel& m, double x, double y) {
    return modelToWindow(m, x, y, m.view.VIEW_CX, m.view.VIEW_CY);
}

std::optional<Point> fibreToWindow(const SectionModel& m, double x, double y) {
    return modelToWindow(m, x, y, 0, 0);
}

std::optional<int> lengthToPixels(const SectionModel& m, double r) {
    const double px = r * m.view.VIEW_SCALE;
    if (!FitsInt(px)) return std::nullopt;
    return Round(px);
}

TPOS steelReference(const SectionModel& m) {
    if (m.document.NCONC_PT != 0) return {m.document.CONC_CX, m.document.CONC_CY};
    return {m.document.STEEL_CX, m.document.STEEL_CY};
}

std::optional<TPOS> windowToView(const SectionModel& m, int X, int Y) {
    if (!usableScale(m)) return std::nullopt;
    const double x = (X - m.view.W / 2.0) / m.view.VIEW_SCALE + m.view.VIEW_CX + m.view.VIEW_DX;
    const double y = (m.view.H / 2.0 - Y) / m.view.VIEW_SCALE + m.view.VIEW_CY + m.view.VIEW_DY;
    if (!std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
    return TPOS{x, y};
}

}  // namespace qav
