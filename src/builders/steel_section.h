#pragma once
// "Build Steel Section": one structural steel polygon from ten parametric shapes. The rest of the
// model (outline, cover line, bars, openings) is kept, so a steel shape added to a concrete
// section makes it composite.
#include <array>

#include "builders/box_texts.h"
#include "builders/shape_catalog.h"
#include "builders/shape_forms.h"
#include "model/section_model.h"

namespace qav {

constexpr int STEEL_SHAPES = 10;

// The shapes in the dialog's list order; index i is shape i.
const std::array<ShapeDescriptor, STEEL_SHAPES>& steelShapes();
// Shape `shape`; InputError when there is none.
const ShapeDescriptor& steelShape(int shape);

BoxTexts steelDialogTexts();
// Every dimension box "0", then the shape's defaults.
void steelShapeChange(BoxTexts& texts, int shape);

struct SteelParams {
    int shape = 0;
    Dimensions dim{};  // KEdit1.. in the shape's row order
};

// The caption of every dimension box the shape reads.
BoxCaptions steelCaptions(int shape);
// ConversionError naming the box by its caption on a text that is not a number.
SteelParams readSteelParams(int shape, const BoxTexts& texts);
// Every dimension greater than 0, and each plate thinner than the depth or width it sits in.
void checkSteelParams(const SteelParams& p);
Corners steelCorners(const SteelParams& p);

// Makes one polygon the section's only steel polygon and recomputes its centroid.
void FORM_STEEL_POLYGON(SectionModel& m, const Corners& corners);

// "Gen Section": reads and checks before anything changes, then replaces the steel polygons and
// recomputes the areas and the zone.
void buildSteelSection(SectionModel& m, int shape, const BoxTexts& texts);

}  // namespace qav
