#pragma once
// The section picture of the printed figure report and of the analysis dialog's "Show Section
// Image": outline, cover line, steel polygons, openings and bars fitted into a box.
#include <optional>

#include "canvas/canvas.h"
#include "model/section_model.h"

namespace qav {

// Device units per millimetre and the centre (mm) of the fit.
struct ImageFit {
    double SCR = 0;
    double MIDX = 0, MIDY = 0;
};

// Fits the outline (else the steel polygons) into WX x WY. Empty when the section has neither,
// or when their extent gives no finite scale.
std::optional<ImageFit> CALC_POLY_ZONE_IMAGE(const SectionModel& m, int WX, int WY);

// The printed picture in the box (SX, SY) WX x WY, the section filling three quarters of it.
void PRINT_DESIGN_SECTION(Canvas& canvas, const SectionModel& m, int SX, int SY, int WX, int WY);

// The picture of "Show Section Image" on a W x H picture: the outline only when there is one,
// and the cover line filled cream like the outline.
void SHOW_SECTION_IMAGE(Canvas& canvas, const SectionModel& m, int W, int H);

inline constexpr Color CREAM{255, 251, 240};

}  // namespace qav
