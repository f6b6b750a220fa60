#include "view/view_navigation.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"
#include "model/tables.h"
#include "view/view_mapping.h"

namespace qav {

NavEffect ViewNavigator::startMoveView() {
    OP_MODE = OP_MOVE_VIEW;
    NavEffect e;
    e.operation = "Move View";
    return e;
}

NavEffect ViewNavigator::startSelectRebars(SectionModel& m) {
    OP_MODE = OP_SELECT;
    m.view.NSEL_BAR = 0;
    NavEffect e;
    e.operation = "Select Rebars";
    e.redraw = true;  // the old selection's dots go
    return e;
}

NavEffect ViewNavigator::startAddSingleRebar() {
    OP_MODE = OP_ADD_BAR;
    NavEffect e;
    e.operation = "Add Singln Point Rebar";  // the mode shows, as the others' do
    return e;
}

BandRect ViewNavigator::band() const {
    return {std::min(SX, CX), std::min(SY, CY), std::max(SX, CX), std::max(SY, CY)};
}

NavEffect ViewNavigator::press(SectionModel& m, MouseButton button, int X, int Y) {
    NavEffect e;
    if (OP_MODE == OP_MOVE_VIEW) OP_MODE = OP_PANNING;
    if (button == MouseButton::Middle) OP_MODE = OP_PANNING;
    if (button == MouseButton::Right) {
        OP_MODE = OP_NONE;
        m.view.NSEL_BAR = 0;
        e.operation = "None";
        e.redraw = true;  // the selection's dots go
    }
    if (OP_MODE == OP_SELECT) {
        SX = CX = X;
        SY = CY = Y;
        OP_MODE = OP_BAND;
        e.redraw = true;
    }
    LX = X;
    LY = Y;
    return e;
}

NavEffect ViewNavigator::move(SectionModel& m, int X, int Y) {
    NavEffect e;
    e.readout = cursorReadout(m, X, Y);
    if (usableScale(m) && OP_MODE == OP_PANNING) {
        m.view.VIEW_DX -= (X - LX) / m.view.VIEW_SCALE;
        m.view.VIEW_DY += (Y - LY) / m.view.VIEW_SCALE;
        e.redraw = true;
    }
    if (OP_MODE == OP_BAND) {
        CX = X;
        CY = Y;
        e.redraw = true;
    }
    LX = X;
    LY = Y;
    return e;
}

NavEffect ViewNavigator::release(SectionModel& m, MouseButton, int X, int Y) {
    NavEffect e;
    if (OP_MODE == OP_PANNING) OP_MODE = OP_MOVE_VIEW;
    if (OP_MODE == OP_BAND) {
        e.selectionFull = !selectBarsInBand(m, band());
        OP_MODE = OP_SELECT;
    }
    if (OP_MODE == OP_ADD_BAR) {
        if (const auto p = windowToView(m, X, Y)) ADD_SINGLE_REBAR(m, p->X, p->Y, 20.0);
    }
    e.redraw = true;
    LX = X;
    LY = Y;
    return e;
}

NavEffect ViewNavigator::wheel(SectionModel& m, int steps) {
    NavEffect e;
    for (; steps > 0; --steps) zoomIn(m);
    for (; steps < 0; ++steps) zoomOut(m);
    e.redraw = true;
    return e;
}

void zoomIn(SectionModel& m) {
    m.view.VIEW_SCALE = m.view.VIEW_SCALE * 1.1;
}
void zoomOut(SectionModel& m) {
    m.view.VIEW_SCALE = m.view.VIEW_SCALE / 1.1;
}

std::optional<std::string> cursorReadout(const SectionModel& m, int X, int Y) {
    if (!usableScale(m)) return std::nullopt;
    const double x = (X - m.view.W / 2.0) / m.view.VIEW_SCALE + m.view.VIEW_DX;
    const double y = (m.view.H / 2.0 - Y) / m.view.VIEW_SCALE + m.view.VIEW_DY;
    if (!FitsInt(x) || !FitsInt(y)) return std::nullopt;
    return Format("X=%0.2F,Y=%0.2F[mm]",
                  {static_cast<double>(Round(x)), static_cast<double>(Round(y))});
}

bool selectBarsInBand(SectionModel& m, const BandRect& b) {
    bool complete = true;
    const auto bars = rows(m.document.BAR, m.document.NBAR);
    for (const TBAR& bar : bars) {
        const auto p = viewToWindow(m, bar.X, bar.Y);
        if (!p) continue;
        if (b.left <= p->x && p->x < b.right && b.top <= p->y && p->y < b.bottom) {
            if (!SELECT_BAR(m, rowNumber(bars, bar))) complete = false;
        }
    }
    return complete;
}

}  // namespace qav
