#pragma once
// The section view: every redraw paints the whole picture again from the model, layer by
// layer, on any canvas (the window, an image, a test recorder).
#include <string>

#include "canvas/canvas.h"
#include "model/section_model.h"

namespace qav {

// The count panels 3, 5, 7, 9, 11 of the main window's lower status bar.
struct ViewCounts {
    std::string NFIB, NCONC_PT, NBAR, NSEL_BAR, NSTEEL_SEC;
};
ViewCounts viewCounts(const SectionModel& m);

// Redraws the view on a canvas whose top-left is the window's and returns the counts for the
// status bar.
ViewCounts DRAW_STRU(const SectionModel& m, Canvas& c);

// The layers, in the order DRAW_STRU calls them.
void DRAW_BLANK(const SectionModel& m, Canvas& c);
void DRAW_FIBER(const SectionModel& m, Canvas& c);
void DRAW_BARS(const SectionModel& m, Canvas& c);
void DRAW_REBAR_FIBER(const SectionModel& m, Canvas& c);
void DRAW_POLYLINE(const SectionModel& m, Canvas& c);
void DRAW_sTEEL_POLYLINE(const SectionModel& m, Canvas& c);
void DRAW_REBAR_POLYLINE(const SectionModel& m, Canvas& c);
void DRAW_OPEN_POLYLINE(const SectionModel& m, Canvas& c);
void DRAW_SEL_FIBER(const SectionModel& m, Canvas& c);
void DRAW_CENTER(const SectionModel& m, Canvas& c);
// The X axis (to the right) and the Y axis (up) through the reference point, the fibres' origin,
// with the moment vectors of positive Mx and My (right-hand rule, Z towards the viewer) and the
// side each compresses. Drawn last, when the switch MOMENT_AXES_FLAG is on.
void DRAW_MOMENT_AXES(const SectionModel& m, Canvas& c);
// The switch of DRAW_MOMENT_AXES: the spare slot 0 of SHOW_FLAG beside the six switches of the
// "Display Setting" dialog; off at start, so the view starts as it always has.
inline constexpr std::size_t MOMENT_AXES_FLAG = 0;

}  // namespace qav
