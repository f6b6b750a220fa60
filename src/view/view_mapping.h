#pragma once
// Millimetres <-> view pixels. W and H are the main window's outer size; the view centre
// (W/2, H/2) shows the point VIEW_C + VIEW_D. A mapping that meets a non-finite number yields
// no point, so nothing is ever drawn or picked from NaN or infinity.
#include <optional>

#include "canvas/canvas.h"
#include "model/section_model.h"

namespace qav {

// Model mapping with the reference point (RX, RY).
std::optional<Point> modelToWindow(const SectionModel& m, double x, double y, double RX, double RY);
// Model mapping with the view centre: outline, cover line, bars, selection.
std::optional<Point> viewToWindow(const SectionModel& m, double x, double y);
// Fibre mapping: fibre coordinates are already relative to the section centre.
std::optional<Point> fibreToWindow(const SectionModel& m, double x, double y);
// A length in millimetres as pixels.
std::optional<int> lengthToPixels(const SectionModel& m, double r);
// The reference point of the steel polygons and the openings.
TPOS steelReference(const SectionModel& m);
// The model point under a window point (inverse of viewToWindow); empty while the scale is 0
// or not finite.
std::optional<TPOS> windowToView(const SectionModel& m, int X, int Y);
// True when VIEW_SCALE can be divided by and multiplied with.
bool usableScale(const SectionModel& m);

}  // namespace qav
