#pragma once
// What the curve charts share: the frame a chart is drawn into, the load-combination marks,
// rotated text, and the guarded road from a chart value to a device coordinate.
#include <string>

#include "canvas/canvas.h"

namespace qav {

// A chart's box on its canvas: origin, size and the scale factor K of margins, offsets and
// circle radius (1 on screen, 7 on the printed page).
struct ChartFrame {
    int X0 = 0, Y0 = 0;
    int W = 0, H = 0;
    int K = 1;
    int G() const { return 80 * K; }  // margin on every side
};

// The size of the dialogs' picture, where charts are drawn with K = 1.
inline constexpr int CHART_PICTURE_W = 534;
inline constexpr int CHART_PICTURE_H = 439;

// The two "Image Setting" check boxes of the analysis dialog.
struct LoadMarks {
    bool critical = false;  // "Critical Load Comb"
    bool all = false;       // "All Load Comb"
};

// The text starting at (X, Y), turned anticlockwise by angle degrees, in a copy of the canvas
// font at size points, on a transparent background; the canvas font is unchanged afterwards.
void DRAW_ROTATED_TEXT(Canvas& canvas, const std::string& text, int X, int Y, int angle, int size);

// Rounds v (halves to even) into out. False, leaving out alone, when v is not finite or lies so
// far off any page that drawing it would mean nothing (a load far outside the chart).
bool deviceCoord(double v, int& out);

// Half of a text's width or height, as the charts centre their labels.
inline int half(int measure) {
    return measure / 2;
}

// Frame, title and a short note in place of a chart whose scales cannot be formed.
void drawEmptyChart(Canvas& canvas, int X0, int Y0, int W, int H, int titleX, int titleY,
                    const std::string& title, const std::string& note);

// The note shown when the critical combination is asked for but no check has found one.
inline constexpr const char* NO_CRITICAL_NOTE =
    "No critical load combination: run Check Member first.";

// True when CRITICAL_COMB names a stored combination (1 .. NFORCE).
struct SectionModel;
bool hasCriticalComb(const SectionModel& m);

}  // namespace qav
