#pragma once
// The moment-curvature chart of the "Section M-Phi Analysis" dialog.
#include <string>

#include "canvas/canvas.h"
#include "model/section_model.h"

namespace qav {

// Draws MPHI_PHI / MPHI_M points 0 .. NSTEP on a W x H picture with margins of 80; SANG is the
// moment angle of the caption. No curvature or moment range draws the frame, title and a note.
void GEN_M_fai_CURVE_IMAGE(Canvas& canvas, const SectionModel& m, int W, int H, int NSTEP,
                           double SANG);

// The concrete law a moment-curvature run takes where it differs from the ultimate one (ACI
// 318-19: the stress block serves the ultimate state only); empty under the other codes and for
// a section without concrete. The chart writes it under its title (the run says it in full in
// its messages).
std::string mphiConcreteNote(const SectionModel& m);

}  // namespace qav
