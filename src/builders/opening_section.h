#pragma once
// "Build Section Openning": one rectangular or circular opening, which replaces any earlier
// opening. Outline, cover line, bars and steel stay.
#include <array>
#include <string>

#include "builders/box_texts.h"
#include "builders/shape_catalog.h"
#include "builders/shape_forms.h"
#include "model/section_model.h"

namespace qav {

constexpr int OPENING_SHAPES = 2;

// The shapes in the dialog's list order; index i is shape i.
const std::array<ShapeDescriptor, OPENING_SHAPES>& openingShapes();
// Shape `shape`; InputError when there is none.
const ShapeDescriptor& openingShape(int shape);

BoxTexts openingDialogTexts();

struct OpeningParams {
    int shape = 0;
    double B = 0;  // extent along y (rectangle) or diameter (circle)
    double H = 0;  // extent along x (rectangle)
    double X = 0, Y = 0;
};

// The captions the shape gives its boxes ("Section Dim B", "Location X(mm)", ...).
BoxCaptions openingCaptions(int shape);
OpeningParams readOpeningParams(int shape, const BoxTexts& texts);
// Sizes greater than 0; a centre that keeps every corner within MAX_LENGTH_MM of the origin.
// The opening need not lie inside the concrete (one outside it removes nothing).
void checkOpeningParams(const OpeningParams& p);
Corners openingCorners(const OpeningParams& p);

// Reads and checks before anything changes, writes the opening (PT and NPOINT only), then
// recomputes the steel areas and the zone.
void buildOpening(SectionModel& m, int shape, const BoxTexts& texts);

}  // namespace qav
