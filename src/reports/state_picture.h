#pragma once
// The picture of a section's state at a load: every fibre filled by its stress on one diverging
// colour scale (compression red, tension blue, white at zero), steel drawn with a dark edge so it
// stands apart from concrete, the neutral axis across the section, the control points at the
// limit strain marked, a legend in N/mm2, and beside it the strain profile along the strain
// gradient.
#include "analysis/section_state.h"
#include "canvas/canvas.h"
#include "model/section_model.h"

namespace qav {

// The default size of the picture the dialog shows and the command line saves.
inline constexpr int STATE_PICTURE_W = 900;
inline constexpr int STATE_PICTURE_H = 560;

// The colour of a stress on the scale whose ends are -scale and +scale (N/mm2). The colour's
// strength follows the square root of the stress, so that concrete, some ten times weaker than
// steel, still shows its shades on the one scale.
Color stressColor(double stress, double scale);

// The largest stress magnitude of the state, the end of its colour scale (1 when all are zero).
double stressScale(const SectionState& s);

// The whole picture in the box (0, 0) W x H.
void drawSectionState(Canvas& canvas, const SectionModel& m, const SectionState& s, int W, int H);

}  // namespace qav
