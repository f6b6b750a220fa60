#pragma once
// The mouse on the section view: the operation mode (OP_MODE), panning, zooming, the cursor
// read-out, the rubber band that picks bars and the click that adds a bar. The navigator only
// changes the model and tells its caller what to show; it draws nothing itself.
#include <optional>
#include <string>

#include "model/section_model.h"

namespace qav {

enum class MouseButton { Left, Right, Middle };

// Operation modes.
inline constexpr int OP_NONE = 0;
inline constexpr int OP_PANNING = 1;
inline constexpr int OP_MOVE_VIEW = 2;
inline constexpr int OP_SELECT = 12;
inline constexpr int OP_BAND = 13;
inline constexpr int OP_ADD_BAR = 22;

// What the caller should do after an event.
struct NavEffect {
    bool redraw = false;                   // repaint the view (DRAW_STRU)
    std::optional<std::string> operation;  // new text of the lower status bar's panel 1
    std::optional<std::string> readout;    // new text of the upper status bar's panel 1
    bool selectionFull = false;            // a band met more bars than the selection holds
};

struct BandRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class ViewNavigator {
public:
    int OP_MODE = OP_NONE;
    int SX = 0, SY = 0;  // band start corner
    int CX = 0, CY = 0;  // band current corner
    int LX = 0, LY = 0;  // last mouse position

    // Commands that arm a mode.
    NavEffect startMoveView();
    NavEffect startSelectRebars(SectionModel& m);
    NavEffect startAddSingleRebar();

    NavEffect press(SectionModel& m, MouseButton button, int X, int Y);
    NavEffect move(SectionModel& m, int X, int Y);
    NavEffect release(SectionModel& m, MouseButton button, int X, int Y);
    // steps > 0: wheel turned up (zoom in), < 0: down (zoom out), one step per notch.
    NavEffect wheel(SectionModel& m, int steps);

    // The band is shown (dotted) while one is being dragged.
    bool bandVisible() const { return OP_MODE == OP_BAND; }
    BandRect band() const;
};

// Zoom about the window centre.
void zoomIn(SectionModel& m);
void zoomOut(SectionModel& m);

// "X=%0.2F,Y=%0.2F[mm]" of the whole millimetres under a window point, relative to the view
// centre; empty while the scale is 0 or not finite.
std::optional<std::string> cursorReadout(const SectionModel& m, int X, int Y);

// Appends every bar drawn inside the band (left and top inclusive, right and bottom exclusive)
// that is not selected yet. Returns false when the selection was full and a bar was left out.
bool selectBarsInBand(SectionModel& m, const BandRect& band);

}  // namespace qav
